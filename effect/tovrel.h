// The Tovrel effect: identity, five parameters, the parameter chunk, and the hand-over of
// both processing entries to the signal path. All of it is in tovrel.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <string>

#include "effect/chunk_codec.h"
#include "effect/dsp/signal_state.h"
#include "effect/dsp/workspace.h"
#include "effect/parameter_table.h"
#include "effect/seed_pair.h"
#include "frame/audio_effect_x.h"
#include "frame/opcodes.h"

namespace tovrel {

class Tovrel : public AudioEffectX {
  public:
    explicit Tovrel(audioMasterCallback audioMaster);
    ~Tovrel() override;

    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset = false) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstInt32 canDo(char* text) override;
    VstPlugCategory getPlugCategory() override;
    // Vendor requests 'tvSd' (set the two noise seeds from ptr -> {left, right}, value 0) and
    // 'tvSg' (write them to ptr), so that renders can match across systems whose rand() differs.
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // For tests and the render check, which read the filters and noise states after a render.
    const dsp::SignalState& signalState() const { return signalState_; }

  private:
    dsp::ParameterSnapshot readParameters() const;
    void takeRequestedSeeds();
    void publishSeeds();

    char programName[kVstMaxProgNameLen + 1];
    std::set<std::string> canDoStrings;
    dsp::SignalState signalState_{};
    dsp::Workspace workspace_;
    // Written by the host's UI thread, read once per block by the audio thread: relaxed atomics
    // keep the single 32-bit store and load without a data race.
    std::atomic<float> parameters_[kNumParameters];
    // A request waits in requestedSeeds_ until the next processing call takes it (its version is
    // then takenRequest_); each call publishes the noise states it ends with in currentSeeds_.
    SeedPair requestedSeeds_;
    std::atomic<std::uint32_t> takenRequest_{0};
    SeedPair currentSeeds_;
    // getChunk hands out this block: it lives as long as the instance, so the host's pointer
    // never dangles and saving never allocates.
    unsigned char chunkBlock[kChunkBytes];
};

}  // namespace tovrel
