// The render suite: a union of cases, each varying a few things against a plain host run.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tools/render_check/signals.h"

namespace tovrel::render {

enum class Precision { Float, Double, Alternate };  // Alternate: float and double blocks in turn

using ParameterSet = std::array<float, 5>;  // Trim, Hi, Lo, Gain, Dry/Wet

struct ParameterStep {
    int index;
    float value;
};

struct RenderCase {
    std::string name;
    float sampleRate = 44100.0f;
    std::optional<ParameterSet> parameters;  // none: the instance keeps its own defaults
    Precision precision = Precision::Float;
    SignalSpec signal;
    int frames = 0;
    std::vector<int> blocks{512};  // block sizes, used in turn
    // Between blocks: one parameter step each time, in turn; a new sample rate every
    // rateEvery blocks, in turn.
    std::vector<ParameterStep> parameterSteps;
    std::vector<float> rateSteps;
    int rateEvery = 1;
};

const std::vector<RenderCase>& renderSuite();
const RenderCase* findCase(const std::string& name);

}  // namespace tovrel::render
