// Planar buffers shaped exactly like the plug-in's record, and the mapping between them and
// interleaved file frames: a mono source feeds every input; inputs beyond a wider source's
// channels get silence.
#pragma once

#include <algorithm>
#include <vector>

namespace tovrel {

template <typename T>
class ChannelBuffers {
  public:
    ChannelBuffers(int inputs, int outputs, int maxFrames)
        : inputs_(inputs),
          outputs_(outputs),
          maxFrames_(maxFrames),
          storage_(static_cast<std::size_t>(inputs + outputs) * maxFrames),
          // A plug-in without inputs still gets a valid (empty) pointer array.
          inputPointers_(static_cast<std::size_t>(std::max(inputs, 1)), nullptr),
          outputPointers_(static_cast<std::size_t>(std::max(outputs, 1)), nullptr) {
        for (int c = 0; c < inputs; ++c) inputPointers_[c] = channel(c);
        for (int c = 0; c < outputs; ++c) outputPointers_[c] = channel(inputs + c);
    }

    T** inputs() { return inputPointers_.data(); }
    T** outputs() { return outputPointers_.data(); }
    int outputCount() const { return outputs_; }
    int maxFrames() const { return maxFrames_; }

    // interleaved holds sourceChannels values per frame; null means silence.
    void scatter(const T* interleaved, int sourceChannels, int frames) {
        for (int c = 0; c < inputs_; ++c) {
            T* to = inputPointers_[c];
            const int from = sourceChannels == 1 ? 0 : c;
            if (interleaved == nullptr || from >= sourceChannels) {
                std::fill(to, to + frames, T(0));
                continue;
            }
            for (int i = 0; i < frames; ++i) to[i] = interleaved[i * sourceChannels + from];
        }
    }

    void clearOutputs(int frames) {
        for (int c = 0; c < outputs_; ++c)
            std::fill(outputPointers_[c], outputPointers_[c] + frames, T(0));
    }

    // Writes outputCount() values per frame.
    void gather(T* interleaved, int frames) const {
        for (int c = 0; c < outputs_; ++c) {
            const T* from = outputPointers_[c];
            for (int i = 0; i < frames; ++i) interleaved[i * outputs_ + c] = from[i];
        }
    }

  private:
    T* channel(int index) { return storage_.data() + static_cast<std::size_t>(index) * maxFrames_; }

    int inputs_;
    int outputs_;
    int maxFrames_;
    std::vector<T> storage_;
    std::vector<T*> inputPointers_;
    std::vector<T*> outputPointers_;
};

}  // namespace tovrel
