// Marks the few symbols a host may look up in the plug-in binary; everything else is built
// hidden.
#pragma once

#if defined(_WIN32)
#define TOVREL_EXPORT __declspec(dllexport)
#else
#define TOVREL_EXPORT __attribute__((visibility("default")))
#endif
