// Marks the few symbols a host may look up in the plug-in binary; everything else is built
// hidden.
#pragma once

#define TOVREL_EXPORT __attribute__((visibility("default")))
