#include "level.h"

#include <cmath>

namespace tovrel::measurement {

double amplitudeOfDb(double db) {
    return std::pow(10.0, db / 20.0);
}

double dbOfAmplitude(double amplitude) {
    const double magnitude = std::fabs(amplitude);
    if (!(magnitude > 0.0)) return kFloorDb;
    return std::max(kFloorDb, 20.0 * std::log10(magnitude));
}

}  // namespace tovrel::measurement
