// One run of processing, as a DAW brackets it: rate and block size set, precision declared,
// mains switched on and processing started; undone in reverse order on the way out.
#pragma once

#include "plugin.h"

namespace tovrel {

enum class Precision { Single, Double };

class ProcessingSession {
  public:
    // Throws HostError when the plug-in cannot process in the requested precision.
    ProcessingSession(Plugin& plugin, double sampleRate, int blockSize, Precision precision);
    ~ProcessingSession();
    ProcessingSession(const ProcessingSession&) = delete;
    ProcessingSession& operator=(const ProcessingSession&) = delete;

  private:
    Plugin& plugin_;
};

// Refuses a precision the plug-in does not declare, with the reason.
void requirePrecision(const Plugin& plugin, Precision precision);

}  // namespace tovrel
