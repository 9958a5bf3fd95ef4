// The libsndfile format of an output file: the container from the file name's extension, the
// sample format from the input unless the user asks for another.
#pragma once

#include <string>

namespace tovrel {

enum class SampleBits { FollowInput, Pcm16, Pcm24, Float32, Float64 };

// "16", "24", "32f", "64f"; throws HostError for anything else.
SampleBits parseSampleBits(const std::string& text);

// Throws HostError for an unknown extension or a sample format the container cannot hold.
int chooseOutputFormat(const std::string& path, int inputFormat, SampleBits bits, int channels,
                       int sampleRate);

// Integer formats clip overs; floating ones keep them.
bool isIntegerFormat(int format);

// "WAV, 24-bit PCM" and the like.
std::string describeFormat(int format);

}  // namespace tovrel
