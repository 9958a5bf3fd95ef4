// Speaker-arrangement blocks an effect owns: one array allocation of the header plus one
// speaker record per channel, released with the matching array release.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/audio_effect_x.h"
#include "frame/bounded_copy.h"

namespace {

constexpr std::size_t kHeaderBytes = offsetof(VstSpeakerArrangement, speakers);
constexpr std::size_t kSpeakerBytes = sizeof(VstSpeakerProperties);
constexpr std::size_t kNameCharacters = sizeof(VstSpeakerProperties::name) - 1;

// The declared speaker array is only nominal; blocks hold their real channel count, so
// speakers are reached by byte offset rather than by indexing past the declared length.
VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, VstInt32 channel) {
    auto* bytes = reinterpret_cast<unsigned char*>(arrangement);
    return reinterpret_cast<VstSpeakerProperties*>(
        bytes + kHeaderBytes + kSpeakerBytes * static_cast<std::size_t>(channel));
}

void release(VstSpeakerArrangement*& arrangement) {
    delete[] reinterpret_cast<unsigned char*>(arrangement);
    arrangement = nullptr;
}

}  // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 channels) {
    if (arrangement == nullptr) return false;
    // The old block goes first, and the pointer is cleared before anything can fail, so a
    // refused or failed call never leaves the caller holding freed memory.
    release(*arrangement);
    if (channels < 0) return false;
    const auto count = static_cast<std::size_t>(channels);
    if (count > (SIZE_MAX - kHeaderBytes) / kSpeakerBytes) return false;
    const std::size_t bytes = kHeaderBytes + kSpeakerBytes * count;
    auto* block = new unsigned char[bytes];
    std::memset(block, 0, bytes);
    *arrangement = reinterpret_cast<VstSpeakerArrangement*>(block);
    (*arrangement)->numChannels = channels;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (arrangement != nullptr) release(*arrangement);
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (to == nullptr || from == nullptr) return false;
    if (to != from) boundedCopy(to->name, from->name, kNameCharacters);
    to->name[kNameCharacters] = '\0';
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memmove(to->future, from->future, sizeof to->future);
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (from == nullptr) return false;
    // Matching a block to itself would free the source before copying it; it already is a
    // full copy.
    if (to != nullptr && *to == from) return true;
    if (!deallocateArrangement(to)) return false;
    if (!allocateArrangement(to, from->numChannels)) return false;
    (*to)->type = from->type;
    for (VstInt32 channel = 0; channel < (*to)->numChannels; ++channel) {
        if (!copySpeaker(speakerAt(*to, channel), speakerAt(from, channel))) return false;
    }
    return true;
}
