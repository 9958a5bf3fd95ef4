#include "interrupt.h"

#include <csignal>

namespace tovrel {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int) {
    stopRequested = 1;
}

}  // namespace

void catchInterrupts() {
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGHUP, requestStop);
}

bool interrupted() {
    return stopRequested != 0;
}

}  // namespace tovrel
