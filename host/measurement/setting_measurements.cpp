#include "setting_measurements.h"

namespace tovrel::measurement {

SettingMeasurements measureSetting(const std::string& label, const InstanceFactory& factory,
                                   const MeasureOptions& options) {
    SettingMeasurements result;
    result.label = label;
    if (options.response) {
        result.response = measureResponse(factory, options.probe, options.responseOptions);
    }
    if (options.transfer) {
        result.transfer = measureTransfer(factory, options.probe, options.transferOptions);
    }
    if (options.harmonics) {
        result.harmonics = measureHarmonics(factory, options.probe, options.harmonicsOptions);
    }
    return result;
}

}  // namespace tovrel::measurement
