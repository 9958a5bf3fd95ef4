// Levels: dBFS of a peak amplitude (full scale is 1.0), and back.
#pragma once

namespace tovrel::measurement {

// The quietest level reported; silence and exact zeros read as this rather than minus infinity,
// so every number stays finite in tables and files.
inline constexpr double kFloorDb = -240.0;

double amplitudeOfDb(double db);
// 20 log10, floored at kFloorDb.
double dbOfAmplitude(double amplitude);

}  // namespace tovrel::measurement
