// pow(x, 5.0) for the portable signal path as one out-of-line call. On x86-64 built for any
// processor (with the vector kernel) it runs the processor's FMA instruction when there is one
// (chosen once, at load) and the portable fusedMultiplyAdd otherwise; the results are the same
// bits either way.
#pragma once

namespace tovrel::dsp::maths {

double powFiveScalar(double x);

}  // namespace tovrel::dsp::maths
