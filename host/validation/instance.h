// Plug-in instances as the validator meets them: through the record only, with a host callback
// that either answers like tovrel's or answers nothing, and that notes what it was asked.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "frame/aeffect.h"
#include "host/host_callback.h"
#include "host/plugin_module.h"

namespace tovrel::validation {

enum class HostKind { Answering, Silent };

// What the plug-in asked the host in this process (each check runs in a process of its own).
struct HostLog {
    std::atomic<int> versionQuestions{0};
};
HostLog& hostLog();

class Instance {
  public:
    // Calls the entry point and checks the record; a missing or damaged record is a
    // CheckFailure. Sends effOpen.
    explicit Instance(VstPluginMainProc entry, HostKind host = HostKind::Answering);
    ~Instance();  // effClose
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    AEffect& record() { return *effect_; }
    VstInt32 numParams() const { return effect_->numParams; }
    VstInt32 numPrograms() const { return effect_->numPrograms; }
    VstInt32 numInputs() const { return effect_->numInputs; }
    VstInt32 numOutputs() const { return effect_->numOutputs; }
    bool hasFlag(VstInt32 flag) const { return (effect_->flags & flag) != 0; }
    bool offersDouble() const;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    float parameter(VstInt32 index);
    void setParameter(VstInt32 index, float value);

    // Rate, block size, resume and start, as a host does before processing.
    void start(double sampleRate, VstInt32 blockSize);
    void stop();  // stop and suspend

    // Asks for the vendor's noise-seed request; true when the plug-in answered it.
    bool seedNoise(std::uint32_t seed);

  private:
    std::unique_ptr<HostState> state_;
    AEffect* effect_ = nullptr;
    bool running_ = false;
};

// The loaded module of the plug-in under test; loaded once per check process.
class PluginUnderTest {
  public:
    explicit PluginUnderTest(const std::string& path);
    VstPluginMainProc entry() const { return module_.entry(); }
    // A fresh instance; rand() is seeded first, as tovrel does with --seed, so plug-ins that
    // draw their noise from it start the same way each time.
    std::unique_ptr<Instance> create(std::uint32_t seed, HostKind host = HostKind::Answering);

  private:
    PluginModule module_;
};

// The vendor request for noise seeds: index 'tvSd', ptr to two 32-bit seeds.
constexpr VstInt32 kSeedRequest = fourCharCode('t', 'v', 'S', 'd');

}  // namespace tovrel::validation
