#include "processing_session.h"

#include "frame/opcodes.h"
#include "host_error.h"

namespace tovrel {
namespace {

constexpr VstIntPtr kPrecision32 = 0;  // effSetProcessPrecision values
constexpr VstIntPtr kPrecision64 = 1;

}  // namespace

void requirePrecision(const Plugin& plugin, Precision precision) {
    const AEffect& record = plugin.record();
    if (precision == Precision::Double) {
        if (!plugin.hasFlag(effFlagsCanDoubleReplacing) ||
            record.processDoubleReplacing == nullptr) {
            throw HostError("the plug-in does not support double precision processing");
        }
    } else if (!plugin.hasFlag(effFlagsCanReplacing) || record.processReplacing == nullptr) {
        throw HostError("the plug-in does not support replacing processing (VST 2.4)");
    }
    if (record.numOutputs < 1) throw HostError("the plug-in has no audio outputs");
}

ProcessingSession::ProcessingSession(Plugin& plugin, double sampleRate, int blockSize,
                                     Precision precision)
    : plugin_(plugin) {
    requirePrecision(plugin, precision);
    plugin.hostState().sampleRate = static_cast<float>(sampleRate);
    plugin.hostState().blockSize = blockSize;
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    plugin.dispatch(effSetBlockSize, 0, blockSize);
    plugin.dispatch(effSetProcessPrecision, 0,
                    precision == Precision::Double ? kPrecision64 : kPrecision32);
    plugin.dispatch(effMainsChanged, 0, 1);
    plugin.dispatch(effStartProcess);
}

ProcessingSession::~ProcessingSession() {
    plugin_.dispatch(effStopProcess);
    plugin_.dispatch(effMainsChanged, 0, 0);
}

}  // namespace tovrel
