// A fresh Tovrel instance without a host, as the unit tests see it.
#pragma once

#include <memory>

#include "effect/tovrel.h"

namespace tovrel::testing {

inline std::unique_ptr<Tovrel> makeTovrel() {
    return std::make_unique<Tovrel>(nullptr);
}

}  // namespace tovrel::testing
