// The VST 2.4 entry point of the plug-in library (built into the VST2 target only).
//
// JUCE's VST2 wrapper does the work: it creates the processor and fills the effect record. Its
// own entry is renamed at build time, and this one sits in front of it so that VST2 hosts see
// the same identity as they did before JUCE 7 changed some of its answers:
//  - version and vendor version in the decimal form 100 * major + 10 * minor + patch;
//  - no "no sound in stop" flag: the pedal gates live inputs, which a host may stop processing
//    while the transport stands when that flag is set;
//  - program names in UTF-8: JUCE's wrapper reads a new name one byte per character, which
//    garbles every name beyond ASCII that a current host sends, so the name goes to the
//    processor (Vst2ProgramNameRequest), which reads it as UTF-8 when it is;
//  - can-do answers only for the capabilities we know to be true or false, 0 ("don't know")
//    for the rest, and no crash when a host asks with a null text.

namespace Vst2
{
#include "pluginterfaces/vst2.x/aeffectx.h"
}

#include "Vst2ProgramNameRequest.h"

#include <atomic>
#include <cstring>

extern "C" Vst2::AEffect* tacetorJuceVSTPluginMain (Vst2::audioMasterCallback host);

namespace
{
constexpr Vst2::VstInt32 decimalVersion (unsigned hexVersion)
{
    return static_cast<Vst2::VstInt32> (((hexVersion >> 16) & 0xffu) * 100u + ((hexVersion >> 8) & 0xffu) * 10u + (hexVersion & 0xffu));
}

constexpr Vst2::VstInt32 pluginVersion = decimalVersion (JucePlugin_VersionCode);
static_assert (pluginVersion == 100, "version 1.0.0 is 100 for VST2 hosts");

struct CanDoAnswer
{
    const char* text;
    Vst2::VstIntPtr answer;
};

constexpr CanDoAnswer canDoAnswers[] = {
    {"receiveVstEvents", -1},
    {"receiveVstMidiEvent", -1},
    {"receiveVstMidiEvents", -1},
    {"sendVstEvents", -1},
    {"sendVstMidiEvent", -1},
    {"sendVstMidiEvents", -1},
    {"receiveVstTimeInfo", 1},
    {"conformsToWindowRules", 1},
    {"bypass", 1},
    {"openCloseAnyThread", -1},
};

Vst2::VstIntPtr canDo (const char* text)
{
    if (text == nullptr)
        return 0;

    for (const auto& entry : canDoAnswers)
        if (std::strcmp (text, entry.text) == 0)
            return entry.answer;

    return 0;
}

// JUCE's dispatcher is one static function shared by every instance it creates.
std::atomic<Vst2::AEffectDispatcherProc> juceDispatcher{nullptr};

Vst2::VstIntPtr dispatch (Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index,
                          Vst2::VstIntPtr value, void* ptr, float opt)
{
    switch (opcode)
    {
        case Vst2::effGetVendorVersion:
            return pluginVersion;
        case Vst2::effCanDo:
            return canDo (static_cast<const char*> (ptr));
        case Vst2::effSetProgramName:
            if (juceDispatcher.load() (effect, Vst2::effVendorSpecific, Vst2ProgramNameRequest::index,
                                       Vst2ProgramNameRequest::value, ptr, 0.0f) != 0)
                return 0;
            return juceDispatcher.load() (effect, opcode, index, value, ptr, opt);
        default:
            return juceDispatcher.load() (effect, opcode, index, value, ptr, opt);
    }
}
} // namespace

#if defined(_WIN32)
#define TACETOR_VST2_EXPORT extern "C" __declspec(dllexport)
#else
#define TACETOR_VST2_EXPORT extern "C" __attribute__ ((visibility ("default")))
#endif

TACETOR_VST2_EXPORT Vst2::AEffect* VSTPluginMain (Vst2::audioMasterCallback host);

/** Called by a VST 2.4 host, on its main thread, with its callback; returns the effect record
    (owned by the plug-in until the host sends effClose), or null when the host has no callback
    or reports interface version 0. */
TACETOR_VST2_EXPORT Vst2::AEffect* VSTPluginMain (Vst2::audioMasterCallback host)
{
    if (host == nullptr)
        return nullptr;

    auto* effect = tacetorJuceVSTPluginMain (host);

    if (effect == nullptr)
        return nullptr;

    juceDispatcher.store (effect->dispatcher);
    effect->dispatcher = dispatch;
    effect->version = pluginVersion;
    effect->flags &= ~Vst2::effFlagsNoSoundInStop;
    return effect;
}
