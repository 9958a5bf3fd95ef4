// Requests 25 to 79: one virtual call each; every other number goes to the base dispatcher
// with its arguments unchanged.
#include "frame/audio_effect_x.h"
#include "frame/editor.h"
#include "frame/opcodes.h"
#include "frame/truncate.h"

namespace {

// Built on our stack for the duration of one editor call.
VstKeyCode keyCodeOf(VstInt32 index, VstIntPtr value, float opt) {
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value & 0xFF);
    key.modifier = static_cast<unsigned char>(truncateToInt32(opt) & 0xFF);
    return key;
}

}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    const auto intValue = static_cast<VstInt32>(value);
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effProcessEvents:
            return processEvents(static_cast<VstEvents*>(ptr));
        case effCanBeAutomated:
            return canParameterBeAutomated(index);
        case effString2Parameter:
            return string2parameter(index, text);
        case effGetNumProgramCategories:
            return getNumCategories();
        case effGetProgramNameIndexed:
            return getProgramNameIndexed(intValue, index, text);
        case effCopyProgram:
            return copyProgram(index);
        case effConnectInput:
            inputConnected(index, value != 0);
            return 1;
        case effConnectOutput:
            outputConnected(index, value != 0);
            return 1;
        case effGetInputProperties:
            return getInputProperties(index, static_cast<VstPinProperties*>(ptr));
        case effGetOutputProperties:
            return getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
        case effGetPlugCategory:
            return getPlugCategory();
        case effGetCurrentPosition:
            return reportCurrentPosition();
        case effGetDestinationBuffer:
            return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
        case effOfflineNotify:
            return offlineNotify(static_cast<VstAudioFile*>(ptr), intValue, index != 0);
        case effOfflinePrepare:
            return offlinePrepare(static_cast<VstOfflineTask*>(ptr), intValue);
        case effOfflineRun:
            return offlineRun(static_cast<VstOfflineTask*>(ptr), intValue);
        case effProcessVarIo:
            return processVariableIo(static_cast<VstVariableIo*>(ptr));
        case effSetSpeakerArrangement:
            return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                         static_cast<VstSpeakerArrangement*>(ptr));
        case effSetBlockSizeAndSampleRate:
            setBlockSizeAndSampleRate(intValue, opt);
            return 1;
        case effSetBypass:
            return setBypass(value != 0);
        case effGetEffectName:
            return getEffectName(text);
        case effGetErrorText:
            return getErrorText(text);
        case effGetVendorString:
            return getVendorString(text);
        case effGetProductString:
            return getProductString(text);
        case effGetVendorVersion:
            return getVendorVersion();
        case effVendorSpecific:
            return vendorSpecific(index, value, ptr, opt);
        case effCanDo:
            return canDo(text);
        case effGetTailSize:
            return getGetTailSize();
        case effIdle:
            return fxIdle();
        case effGetIcon:
            return reinterpret_cast<VstIntPtr>(getIcon());
        case effSetViewPosition:
            return setViewPosition(index, intValue);
        case effGetParameterProperties:
            return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr));
        case effKeysRequired:
            return keysRequired() ? 0 : 1;
        case effGetVstVersion:
            return getVstVersion();
        case effEditKeyDown: {
            if (editor == nullptr) return 0;
            VstKeyCode key = keyCodeOf(index, value, opt);
            return editor->onKeyDown(key);
        }
        case effEditKeyUp: {
            if (editor == nullptr) return 0;
            VstKeyCode key = keyCodeOf(index, value, opt);
            return editor->onKeyUp(key);
        }
        case effSetEditKnobMode:
            return editor ? editor->setKnobMode(intValue) : 0;
        case effGetMidiProgramName:
            return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
        case effGetCurrentMidiProgram:
            return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
        case effHasMidiProgramsChanged:
            return hasMidiProgramsChanged(index);
        case effGetMidiKeyName:
            return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr));
        case effBeginSetProgram:
            return beginSetProgram();
        case effEndSetProgram:
            return endSetProgram();
        case effGetSpeakerArrangement:
            return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                         static_cast<VstSpeakerArrangement**>(ptr));
        case effShellGetNextPlugin:
            return getNextShellPlugin(text);
        case effStartProcess:
            return startProcess();
        case effStopProcess:
            return stopProcess();
        case effSetTotalSampleToProcess:
            return setTotalSampleToProcess(intValue);
        case effSetPanLaw:
            return setPanLaw(intValue, opt);
        case effBeginLoadBank:
            return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
        case effBeginLoadProgram:
            return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
        case effSetProcessPrecision:
            return setProcessPrecision(intValue);
        case effGetNumMidiInputChannels:
            return getNumMidiInputChannels();
        case effGetNumMidiOutputChannels:
            return getNumMidiOutputChannels();
        default:
            return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}
