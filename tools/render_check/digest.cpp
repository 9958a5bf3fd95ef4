#include "tools/render_check/digest.h"

#include <cinttypes>
#include <cstring>

#include "tools/render_check/bits.h"

namespace tovrel::render {
namespace {

void printWord(std::FILE* out, const char* field, int element, dsp::DoubleDouble value) {
    if (element < 0) {
        std::fprintf(out, "state %s", field);
    } else {
        std::fprintf(out, "state %s[%d]", field, element);
    }
    std::fprintf(out, " %016" PRIx64 " %016" PRIx64 "\n", bitsOf(dsp::highWord(value)),
                 bitsOf(dsp::lowWord(value)));
}

}  // namespace

ChunkDigest::ChunkDigest(std::FILE* out, const std::string& name, int frames, int chunkFrames)
    : out_(out), name_(name), chunkFrames_(chunkFrames) {
    std::fprintf(out_, "case %s frames=%d chunk=%d\n", name.c_str(), frames, chunkFrames);
}

void ChunkDigest::frame(std::uint64_t left, std::uint64_t right) {
    hash_.add(left);
    hash_.add(right);
    if (++inChunk_ == chunkFrames_) closeChunk();
}

void ChunkDigest::closeChunk() {
    std::fprintf(out_, "chunk %d %016" PRIx64 "\n", chunkIndex_++, hash_.value());
    hash_ = Fnv64();
    inChunk_ = 0;
}

void ChunkDigest::finish(const dsp::SignalState* state) {
    if (inChunk_ > 0) closeChunk();
    if (state != nullptr) printState(out_, *state);
    std::fprintf(out_, "end %s\n", name_.c_str());
    std::fflush(out_);
}

void FrameDump::frame(std::uint64_t left, std::uint64_t right) {
    if (index_ >= first_ && index_ - first_ < count_) {
        std::fprintf(out_, "frame %ld %016" PRIx64 " %016" PRIx64 "\n", index_, left, right);
    }
    ++index_;
}

void printState(std::FILE* out, const dsp::SignalState& state) {
    const struct {
        const char* name;
        const dsp::DoubleDouble& value;
    } onePoles[] = {
        {"inHighpassL", state.inHighpassL}, {"midHighpassL", state.midHighpassL},
        {"loBandL", state.loBandL},         {"loSmoothL", state.loSmoothL},
        {"midBandL", state.midBandL},       {"hiHighpassL", state.hiHighpassL},
        {"inHighpassR", state.inHighpassR}, {"midHighpassR", state.midHighpassR},
        {"loBandR", state.loBandR},         {"loSmoothR", state.loSmoothR},
        {"midBandR", state.midBandR},       {"hiHighpassR", state.hiHighpassR},
    };
    for (const auto& field : onePoles) printWord(out, field.name, -1, field.value);
    const struct {
        const char* name;
        const dsp::DoubleDouble* elements;
    } sections[] = {{"lowpassA", state.lowpassA},
                    {"lowpassB", state.lowpassB},
                    {"lowpassC", state.lowpassC},
                    {"lowpassD", state.lowpassD}};
    for (const auto& section : sections) {
        for (int e = 0; e < dsp::kSectionSize; ++e) {
            printWord(out, section.name, e, section.elements[e]);
        }
    }
    std::fprintf(out, "noise %08" PRIx32 " %08" PRIx32 "\n", state.fpdL, state.fpdR);
}

}  // namespace tovrel::render
