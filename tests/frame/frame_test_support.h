// Test doubles for the frame. Every double writes what it is asked into one journal of
// "name(arg,arg)" entries, so a test reads routing, arguments and order as one string.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "request_routes.h"

// An address the doubles recognise: logged as "P".
inline char kPointer[8];
template <typename T>
T* sentinel() {
    return static_cast<T*>(static_cast<void*>(kPointer));
}

// Pointers read "P", "E" (a record with the effect magic), a text, or their address as a
// number; bytes (of a key record) read as numbers.
template <typename T>
std::string describe(T v) {
    if constexpr (std::is_pointer_v<T>) {
        if constexpr (std::is_same_v<T, AEffect*>)
            if (v != nullptr && v->magic == kEffectMagic) return "E";
        if constexpr (std::is_same_v<T, char*>)
            if (v != nullptr && v != kPointer) return v;
        const void* p = v;
        return p == kPointer ? "P" : std::to_string(reinterpret_cast<std::uintptr_t>(p));
    } else {
        std::ostringstream out;
        out << +v;
        return out.str();
    }
}

// note("name")(a, b) adds "name(a,b)" to the journal; takeJournal() hands back all entries
// joined by ";" and starts afresh.
inline std::vector<std::string> journal;
inline auto note(std::string name) {
    return [name](auto... args) {
        std::string list;
        ((list += "," + describe(args)), ...);
        journal.push_back(name + "(" + list.erase(0, 1) + ")");
    };
}
inline std::string takeJournal() {
    std::string joined;
    for (const std::string& entry : journal) joined += ";" + entry;
    journal.clear();
    return joined.erase(0, 1);
}

// A host callback is a plain function pointer, so what it answers is a global.
inline VstIntPtr hostAnswer = 0;
inline VstIntPtr recordingHost(AEffect* e, VstInt32 op, VstInt32 i, VstIntPtr v, void* p, float o) {
    note("host")(e, op, i, v, p, o);
    return hostAnswer;
}

// What the test factory does when the entry point asks it for an instance.
enum class FactoryMode { Build, ReturnNull, Throw };
inline FactoryMode factoryMode = FactoryMode::Build;

// The smallest concrete effect: host h, n programs, 5 parameters.
class BareEffect : public AudioEffectX {
  public:
    explicit BareEffect(audioMasterCallback h = nullptr, int n = 0) : AudioEffectX(h, n, 5) {}
    ~BareEffect() override { note("~effect")(); }
    void processReplacing(float**, float**, VstInt32) override {}
};

// One operation from a route entry: logs its arguments, then answers the effect's reply, or
// throws to show that nothing an effect throws reaches the host.
#define TOVREL_RECORD(opcode, R, name, params, args, logged, answer) \
    R name params override {                                         \
        note(#name) args;                                            \
        if (throwing) throw 42;                                      \
        return R(reply);                                             \
    }

class RecordingEffect : public BareEffect {
  public:
    explicit RecordingEffect(audioMasterCallback host = nullptr) : BareEffect(host, 6) {}
    double reply = 7;
    bool throwing = false;
    TOVREL_EFFECT_ROUTES(TOVREL_RECORD)
    TOVREL_OTHER_OPERATIONS(TOVREL_RECORD)
};
