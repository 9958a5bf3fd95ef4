// tan(x) with the reference runtime's rounding on the arguments the block setup forms:
// x = pi * cutoff for every sample rate above 38320 Hz (and the 44100 Hz design below that),
// so 0 <= x <= pi/2. Correct rounding would not do: the reference's tan is one step off it at
// 140,352 of those rates, so this follows the reference's own steps on that range.
#pragma once

namespace tovrel::dsp::maths {

// The reference's tan(x) for 0 <= x <= 0x1.921fb54442d18p0 (the double nearest pi/2). Any
// other argument, NaN included, gives a quiet NaN: it is outside what the steps cover.
double tangentOnSetupRange(double x);

}  // namespace tovrel::dsp::maths
