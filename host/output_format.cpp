#include "output_format.h"

#include <sndfile.h>

#include <cctype>

#include "host_error.h"

namespace tovrel {
namespace {

struct Container {
    const char* extension;
    int major;
    int preferredSubtype;  // for containers whose sample format never follows the input
};

const Container kContainers[] = {
    {"wav", SF_FORMAT_WAV, 0},
    {"wave", SF_FORMAT_WAV, 0},
    {"aif", SF_FORMAT_AIFF, 0},
    {"aiff", SF_FORMAT_AIFF, 0},
    {"aifc", SF_FORMAT_AIFF, 0},
    {"flac", SF_FORMAT_FLAC, 0},
    {"ogg", SF_FORMAT_OGG, SF_FORMAT_VORBIS},
    {"oga", SF_FORMAT_OGG, SF_FORMAT_VORBIS},
    {"opus", SF_FORMAT_OGG, SF_FORMAT_OPUS},
    {"au", SF_FORMAT_AU, 0},
    {"snd", SF_FORMAT_AU, 0},
    {"caf", SF_FORMAT_CAF, 0},
    {"w64", SF_FORMAT_W64, 0},
    {"rf64", SF_FORMAT_RF64, 0},
    {"mp3", SF_FORMAT_MPEG, SF_FORMAT_MPEG_LAYER_III},
};

// Tried in order when the input's sample format does not fit the output container.
const int kFallbackSubtypes[] = {SF_FORMAT_FLOAT, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16};

std::string extensionOf(const std::string& path) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

const Container& containerFor(const std::string& path) {
    const std::string extension = extensionOf(path);
    for (const Container& container : kContainers) {
        if (extension == container.extension) return container;
    }
    throw HostError("cannot tell the output format from '" + path +
                    "': use an extension such as .wav, .flac, .aiff or .ogg");
}

bool valid(int format, int channels, int sampleRate) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    return sf_format_check(&info) == SF_TRUE;
}

int subtypeFor(SampleBits bits) {
    switch (bits) {
        case SampleBits::Pcm16:
            return SF_FORMAT_PCM_16;
        case SampleBits::Pcm24:
            return SF_FORMAT_PCM_24;
        case SampleBits::Float32:
            return SF_FORMAT_FLOAT;
        case SampleBits::Float64:
            return SF_FORMAT_DOUBLE;
        case SampleBits::FollowInput:
            break;
    }
    return 0;
}

std::string majorName(int format) {
    SF_FORMAT_INFO info{};
    info.format = format & SF_FORMAT_TYPEMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0) return "unknown";
    return info.name;
}

std::string subtypeName(int format) {
    SF_FORMAT_INFO info{};
    info.format = format & SF_FORMAT_SUBMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0) return "unknown";
    return info.name;
}

}  // namespace

SampleBits parseSampleBits(const std::string& text) {
    if (text == "16") return SampleBits::Pcm16;
    if (text == "24") return SampleBits::Pcm24;
    if (text == "32f") return SampleBits::Float32;
    if (text == "64f") return SampleBits::Float64;
    throw HostError("unknown sample format '" + text + "': use 16, 24, 32f or 64f");
}

int chooseOutputFormat(const std::string& path, int inputFormat, SampleBits bits, int channels,
                       int sampleRate) {
    const Container& container = containerFor(path);
    if (bits != SampleBits::FollowInput) {
        const int format = container.major | subtypeFor(bits);
        if (!valid(format, channels, sampleRate)) {
            throw HostError("the " + majorName(container.major) + " format cannot hold " +
                            subtypeName(format) + " samples");
        }
        return format;
    }
    if (container.preferredSubtype != 0) {
        const int format = container.major | container.preferredSubtype;
        if (valid(format, channels, sampleRate)) return format;
    }
    const int same = container.major | (inputFormat & SF_FORMAT_SUBMASK);
    if (valid(same, channels, sampleRate)) return same;
    for (int subtype : kFallbackSubtypes) {
        if (valid(container.major | subtype, channels, sampleRate))
            return container.major | subtype;
    }
    throw HostError("the " + majorName(container.major) + " format cannot hold this audio (" +
                    std::to_string(channels) + " channels at " + std::to_string(sampleRate) +
                    " Hz)");
}

bool isIntegerFormat(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_FLOAT:
        case SF_FORMAT_DOUBLE:
        case SF_FORMAT_VORBIS:
        case SF_FORMAT_OPUS:
        case SF_FORMAT_MPEG_LAYER_I:
        case SF_FORMAT_MPEG_LAYER_II:
        case SF_FORMAT_MPEG_LAYER_III:
            return false;
        default:
            return true;
    }
}

std::string describeFormat(int format) {
    return majorName(format) + ", " + subtypeName(format);
}

}  // namespace tovrel
