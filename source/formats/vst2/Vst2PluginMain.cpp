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
// It also guards the block length. When a host hands over no buffer or one buffer twice for its
// outputs (as hosts do for disabled ones), the wrapper processes through scratch channels of
// twice the announced block size, made on first use, so a longer block overran them. Longer
// blocks are processed in pieces of the announced size instead, blocks of negative length not
// at all, and announcements of no size or of one beyond 32 bits are ignored.
// Blocks JUCE's wrapper would crash on never reach it: after the host switched processing off
// the wrapper has freed its channel list, so such blocks get silence, as the wrapper gives them
// while its processor is suspended; blocks with no output array are dropped and blocks with no
// input array get silence.

namespace Vst2
{
#include "pluginterfaces/vst2.x/aeffectx.h"
}

#include "Vst2ProgramNameRequest.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

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
    { "receiveVstEvents", -1 },
    { "receiveVstMidiEvent", -1 },
    { "receiveVstMidiEvents", -1 },
    { "sendVstEvents", -1 },
    { "sendVstMidiEvent", -1 },
    { "sendVstMidiEvents", -1 },
    { "receiveVstTimeInfo", 1 },
    { "conformsToWindowRules", 1 },
    { "bypass", 1 },
    { "openCloseAnyThread", -1 },
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

/** What we keep for one effect the entry point handed out. Records are made on the main thread
    and reused after effClose, never freed while the library is loaded, so an audio thread can
    look one up at any time without locks. */
struct Instance
{
    // JUCE processes before any announcement with this block size.
    static constexpr Vst2::VstInt32 juceBlockSize = 1024;

    std::atomic<bool> inUse { false };
    std::atomic<Vst2::AEffect*> effect { nullptr }; // set last, once the rest is ready
    Instance* next = nullptr;                       // fixed once the record is listed

    // The announced block size, and the smallest one announced since the wrapper last dropped
    // its scratch channels (which it does whenever processing is switched on or off): no
    // scratch channel is shorter than twice that.
    std::atomic<Vst2::VstInt32> announced { juceBlockSize };
    std::atomic<Vst2::VstInt32> longestPiece { juceBlockSize };

    // Whether the host's last effMainsChanged switched processing off. Before the first one the
    // wrapper switches itself on at the first block, which some hosts rely on, so that passes.
    std::atomic<bool> switchedOff { false };

    // Used by the process calls alone, on the audio thread: the host's channel pointers moved to
    // the start of the current piece, inputs first.
    int numInputs = 0, numOutputs = 0;
    std::vector<float*> floatPieces;
    std::vector<double*> doublePieces;

    /** Main thread: readies the record for a new effect, then publishes it. */
    void start (Vst2::AEffect* newEffect)
    {
        numInputs = std::max (0, newEffect->numInputs);
        numOutputs = std::max (0, newEffect->numOutputs);
        floatPieces.assign (static_cast<size_t> (numInputs + numOutputs), nullptr);
        doublePieces.assign (floatPieces.size(), nullptr);
        announced = juceBlockSize;
        longestPiece = juceBlockSize;
        switchedOff = false;
        effect.store (newEffect, std::memory_order_release);
    }

    /** Main thread, before the wrapper takes the size (1 to 2^31 - 1 samples). */
    void announce (Vst2::VstInt32 blockSize)
    {
        announced = blockSize;
        longestPiece = std::min (longestPiece.load(), blockSize);
    }

    /** Main thread, after the wrapper has switched processing on (on = true) or off. */
    void restart (bool on)
    {
        longestPiece = announced.load();
        switchedOff = ! on;
    }
};

/** Every record made, newest first. */
class Instances
{
public:
    ~Instances()
    {
        for (auto* instance = head.load(); instance != nullptr;)
            delete std::exchange (instance, instance->next);
    }

    /** Main thread: a record for a new effect, reusing a released one if there is one. */
    void add (Vst2::AEffect* effect)
    {
        for (auto* instance = head.load(); instance != nullptr; instance = instance->next)
        {
            if (! instance->inUse.exchange (true))
            {
                instance->start (effect);
                return;
            }
        }

        auto* instance = new Instance;
        instance->inUse = true;
        instance->start (effect);
        instance->next = head.load();

        while (! head.compare_exchange_weak (instance->next, instance))
        {
        }
    }

    /** Any thread, lock-free: the effect's record, or null for an effect not handed out. */
    Instance* find (const Vst2::AEffect* effect) const noexcept
    {
        for (auto* instance = head.load (std::memory_order_acquire); instance != nullptr; instance = instance->next)
            if (instance->effect.load (std::memory_order_acquire) == effect)
                return instance;

        return nullptr;
    }

    /** Main thread, when the host closes the effect: the record may serve another one. */
    void remove (const Vst2::AEffect* effect) noexcept
    {
        if (auto* instance = find (effect))
        {
            instance->effect = nullptr;
            instance->inUse = false;
        }
    }

private:
    std::atomic<Instance*> head { nullptr };
};

Instances instances;

// JUCE's callbacks are static functions shared by every instance it creates.
std::atomic<Vst2::AEffectDispatcherProc> juceDispatcher { nullptr };
std::atomic<Vst2::AEffectProcessProc> juceProcessReplacing { nullptr };
std::atomic<Vst2::AEffectProcessDoubleProc> juceProcessDoubleReplacing { nullptr };

Vst2::VstIntPtr dispatch (Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index,
                          Vst2::VstIntPtr value, void* ptr, float opt)
{
    const auto forward = [&]
    { return juceDispatcher.load() (effect, opcode, index, value, ptr, opt); };

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
            return forward();
        case Vst2::effSetBlockSize:
            // JUCE answers 0 whatever the size; a nonsense size must not reach its scratch channels.
            if (value <= 0 || value > std::numeric_limits<Vst2::VstInt32>::max())
                return 0;

            // Ours first: a piece must never be longer than half a scratch channel made since.
            if (auto* instance = instances.find (effect))
                instance->announce (static_cast<Vst2::VstInt32> (value));

            return forward();
        case Vst2::effMainsChanged:
        {
            const auto result = forward();

            if (auto* instance = instances.find (effect))
                instance->restart (value != 0);

            return result;
        }
        case Vst2::effClose:
            instances.remove (effect); // JUCE frees the effect, and the next one may get its address
            return forward();
        default:
            return forward();
    }
}

/** Hands the block to JUCE's process call in pieces no longer than the announced block size;
    the pointers of each piece keep the host's nulls and repeats. Audio thread. */
template <typename Sample>
void processInPieces (Vst2::AEffect* effect, Sample** inputs, Sample** outputs, Vst2::VstInt32 numSamples,
                      void (*juceProcess) (Vst2::AEffect*, Sample**, Sample**, Vst2::VstInt32),
                      std::vector<Sample*> Instance::*pieces)
{
    // JUCE would copy a negative number of samples, and there is nowhere to write without outputs.
    if (numSamples < 0 || outputs == nullptr)
        return;

    auto* instance = instances.find (effect);

    // Switched off, the wrapper has no channel list to process with: the outputs get the silence
    // it gives while suspended. Without inputs (the wrapper copies every input channel, so null
    // ones would not do either) the gate, bypassed or not, makes silence of silence: the same
    // result needs no processing, nor a silent input buffer as long as any block a host may send.
    if (instance != nullptr && (inputs == nullptr || instance->switchedOff.load()))
    {
        for (int channel = 0; channel < instance->numOutputs; ++channel)
            if (outputs[channel] != nullptr)
                std::fill_n (outputs[channel], numSamples, Sample {});

        return;
    }

    const auto longest = instance != nullptr ? instance->longestPiece.load() : numSamples;

    if (numSamples <= longest)
    {
        juceProcess (effect, inputs, outputs, numSamples);
        return;
    }

    auto& moved = instance->*pieces;
    Sample** const pieceInputs = moved.data();
    Sample** const pieceOutputs = pieceInputs + instance->numInputs;

    for (Vst2::VstInt32 done = 0, piece = 0; done < numSamples; done += piece)
    {
        piece = std::min (longest, numSamples - done); // so done never passes numSamples
        for (int channel = 0; channel < instance->numInputs; ++channel)
            pieceInputs[channel] = inputs[channel] != nullptr ? inputs[channel] + done : nullptr;

        for (int channel = 0; channel < instance->numOutputs; ++channel)
            pieceOutputs[channel] = outputs[channel] != nullptr ? outputs[channel] + done : nullptr;

        juceProcess (effect, pieceInputs, pieceOutputs, piece);
    }
}

void processReplacing (Vst2::AEffect* effect, float** inputs, float** outputs, Vst2::VstInt32 numSamples)
{
    processInPieces (effect, inputs, outputs, numSamples, juceProcessReplacing.load(), &Instance::floatPieces);
}

void processDoubleReplacing (Vst2::AEffect* effect, double** inputs, double** outputs, Vst2::VstInt32 numSamples)
{
    processInPieces (effect, inputs, outputs, numSamples, juceProcessDoubleReplacing.load(), &Instance::doublePieces);
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

    // JUCE leaves the accumulating process call of old hosts null, so there is none to guard.
    instances.add (effect);
    juceDispatcher.store (effect->dispatcher);
    juceProcessReplacing.store (effect->processReplacing);
    juceProcessDoubleReplacing.store (effect->processDoubleReplacing);
    effect->dispatcher = dispatch;
    effect->processReplacing = processReplacing;
    effect->processDoubleReplacing = processDoubleReplacing;
    effect->version = pluginVersion;
    effect->flags &= ~Vst2::effFlagsNoSoundInStop;
    return effect;
}
