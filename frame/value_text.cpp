// The base class's value-to-text operations. The unit conversions go through the virtual
// float2string, so an effect that overrides it changes them too.
#include <cmath>

#include "frame/audio_effect.h"
#include "frame/bounded_copy.h"
#include "frame/number_text.h"

namespace {

// The caller's buffer holds maxLen + 1 bytes; a null buffer or a negative limit leaves no
// room at all, so nothing is written.
void copyText(char* text, const char* source, VstInt32 maxLen) {
    if (text == nullptr || maxLen < 0) return;
    boundedCopy(text, source, static_cast<std::size_t>(maxLen));
}

}  // namespace

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f) {
        copyText(text, "-oo", maxLen);
        return;
    }
    float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    const float rate = getSampleRate();
    float2string(samples == 0.0f ? 0.0f : rate / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    const double rate = getSampleRate();
    float2string(static_cast<float>((static_cast<double>(samples) * 1000.0) / rate), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    char scratch[kNumberTextSize];
    formatFloatText(value, scratch);
    copyText(text, scratch, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    char scratch[kNumberTextSize];
    formatIntText(value, scratch);
    copyText(text, scratch, maxLen);
}
