// Records exchanged through requests. Only the speaker records and the key code are read by
// the frame; every other type is passed through unread and so stays incomplete here.
#pragma once

#include <cstddef>

#include "aeffect.h"

struct VstTimeInfo;
struct VstEvents;
struct VstPinProperties;
struct VstParameterProperties;
struct VstPatchChunkInfo;
struct VstVariableIo;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
struct VstAudioFile;
struct VstOfflineTask;
struct VstWindow;
struct VstFileSelect;
struct ERect;

enum VstOfflineOption : VstInt32 {
    kVstOfflineAudio = 0,
    kVstOfflinePeaks,
    kVstOfflineParameter,
    kVstOfflineMarker,
    kVstOfflineCursor,
    kVstOfflineSelection,
    kVstOfflineQueryFiles,
};

struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;
    unsigned char modifier;
};

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    VstInt32 type;
    char future[28];
};
static_assert(sizeof(VstSpeakerProperties) == 112, "speaker record size");
static_assert(offsetof(VstSpeakerProperties, name) == 16 &&
                  offsetof(VstSpeakerProperties, type) == 80 &&
                  offsetof(VstSpeakerProperties, future) == 84,
              "speaker record layout");

// An 8-byte header followed by one speaker record per channel; the declared array length is
// the published one, but blocks are allocated for their real channel count.
struct VstSpeakerArrangement {
    VstInt32 type;
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];
};
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8, "arrangement header size");
