// The one exception type of the host: its message is the single line shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace tovrel {

class HostError : public std::runtime_error {
  public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tovrel
