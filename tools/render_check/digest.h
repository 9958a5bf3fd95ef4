// The text digest of one rendered case: output hashes per chunk of frames, then the final
// signal state word for word. Both builds print it; a plain text diff finds what differs.
//
//   case NAME frames=N chunk=C
//   chunk K HASH            one per C frames (the last may be shorter)
//   state FIELD HIGH LOW    every long double of the state, as bit patterns
//   noise FPDL FPDR
//   end NAME
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "effect/dsp/signal_state.h"
#include "tools/render_check/fnv.h"

namespace tovrel::render {

// Receives each rendered frame as the bit patterns of its two output samples.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    virtual void frame(std::uint64_t left, std::uint64_t right) = 0;
};

class ChunkDigest : public FrameSink {
  public:
    ChunkDigest(std::FILE* out, const std::string& name, int frames, int chunkFrames);
    void frame(std::uint64_t left, std::uint64_t right) override;
    // Closes the case; the state lines are left out when no state is given.
    void finish(const dsp::SignalState* state);

  private:
    void closeChunk();

    std::FILE* out_;
    std::string name_;
    int chunkFrames_;
    int inChunk_ = 0;
    int chunkIndex_ = 0;
    Fnv64 hash_;
};

// Prints every frame in [first, first + count) as "frame N LEFT RIGHT".
class FrameDump : public FrameSink {
  public:
    FrameDump(std::FILE* out, long first, long count) : out_(out), first_(first), count_(count) {}
    void frame(std::uint64_t left, std::uint64_t right) override;

  private:
    std::FILE* out_;
    long first_, count_;
    long index_ = 0;
};

void printState(std::FILE* out, const dsp::SignalState& state);

}  // namespace tovrel::render
