#include "recording_host.h"

#include "frame/opcodes.h"

namespace tovrel::abi {

std::vector<HostCall> RecordingHost::calls;
VstIntPtr RecordingHost::versionAnswer = 2400;

void RecordingHost::reset(VstIntPtr version) {
    calls.clear();
    versionAnswer = version;
}

VstIntPtr VSTCALLBACK RecordingHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt) {
    calls.push_back({effect, opcode, index, value, ptr, opt});
    if (opcode == audioMasterVersion) return versionAnswer;
    if (opcode == audioMasterGetSampleRate) return 44100;
    return 0;
}

}  // namespace tovrel::abi
