// The floating-point control state the signal path needs for the whole of a processing call:
// round to nearest, subnormals kept (no flush-to-zero, no denormals-are-zero), no traps. Hosts
// often switch flushing on for their audio threads; the guard takes their state aside and puts
// it back on the way out.
#pragma once

#include <cstdint>

namespace tovrel::dsp {

class FpEnvironmentGuard {
  public:
    FpEnvironmentGuard();
    ~FpEnvironmentGuard();
    FpEnvironmentGuard(const FpEnvironmentGuard&) = delete;
    FpEnvironmentGuard& operator=(const FpEnvironmentGuard&) = delete;

  private:
    std::uint64_t saved_;  // the host's control register image
};

}  // namespace tovrel::dsp
