// The VST 2.4 library, loaded the way a VST2 host loads it: dlopen, VSTPluginMain, dispatcher.
#include "PelmoraTacetorAudioProcessor.h"
#include "support/Vst2TestHost.h"
#include "support/Vst3Factory.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <type_traits>
#include <vector>

namespace
{
constexpr Vst2::VstInt32 otct = 0x4F746374;

struct Vst2Plugin : ::testing::Test
{
    Vst2TestHost host { TACETOR_VST2_PLUGIN };
};

/** Gives the effect and the in-process processor the same settings, with the gate working. */
void setSameGate (Vst2::AEffect* effect, PelmoraTacetorAudioProcessor& reference)
{
    const float settings[] = { 1.0f, 0.0f, 0.45f, 0.05f, 0.1f };

    for (int i = 0; i < 5; ++i)
    {
        effect->setParameter (effect, i, settings[i]);
        reference.setParameter (i, settings[i]);
    }
}
} // namespace

TEST_F (Vst2Plugin, EffectRecordCarriesTheProductIdentity)
{
    ASSERT_TRUE (host.isLoaded());
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);

    EXPECT_EQ (effect->magic, Vst2::kEffectMagic);
    EXPECT_EQ (effect->uniqueID, otct);
    EXPECT_EQ (effect->version, 100);
    EXPECT_EQ (effect->numPrograms, 12);
    EXPECT_EQ (effect->numParams, 5);
    EXPECT_EQ (effect->numInputs, 2);
    EXPECT_EQ (effect->numOutputs, 2);
    EXPECT_EQ (effect->initialDelay, 0);
    EXPECT_EQ (effect->flags, Vst2::effFlagsHasEditor | Vst2::effFlagsCanReplacing | Vst2::effFlagsProgramChunks);
    EXPECT_NE (effect->processReplacing, nullptr);

    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetEffectName), "Pelmora Tacetor");
    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetProductString), "Pelmora Tacetor");
    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetVendorString), "Orvane");
    EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effGetVendorVersion), 100);
    EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effGetVstVersion), 2400);
    EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effGetPlugCategory), Vst2::kPlugCategEffect);
    Vst2TestHost::resume (effect, 48000.0f, 256);
    EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effGetTailSize), 0);

    const char* names[] = { "bypass", "dualmono", "threshold", "attack", "decay" };
    const char* texts[] = { "On", "Off", "-oo", "2.00 ms", "100.42 ms" };

    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetParamName, i), names[i]);
        EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetParamDisplay, i), texts[i]);
        EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effCanBeAutomated, i), 1);
    }

    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetProgramNameIndexed, i), "Init");

    Vst2::VstPinProperties pin {};
    EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effGetInputProperties, 1, 0, &pin), 1);
    EXPECT_EQ (pin.arrangementType, Vst2::kSpeakerArrStereo);
}

TEST_F (Vst2Plugin, AnswersCapabilityQueriesFromItsTable)
{
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);
    const auto canDo = [effect] (const char* text)
    { return Vst2TestHost::dispatch (effect, Vst2::effCanDo, 0, 0, const_cast<char*> (text)); };

    for (auto* text : { "receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents", "sendVstEvents",
                        "sendVstMidiEvent", "sendVstMidiEvents", "openCloseAnyThread" })
        EXPECT_EQ (canDo (text), -1) << text;

    for (auto* text : { "receiveVstTimeInfo", "conformsToWindowRules", "bypass" })
        EXPECT_EQ (canDo (text), 1) << text;

    for (auto* text : { "", "offline", "supportsViewDpiScaling", "hasCockosExtensions", "MPE", "Bypass" })
        EXPECT_EQ (canDo (text), 0) << text;

    EXPECT_EQ (canDo (nullptr), 0);
}

TEST_F (Vst2Plugin, BankChunkCarriesEveryProgramIntoAnotherInstance)
{
    auto* source = host.open();
    auto* target = host.open();
    ASSERT_NE (source, nullptr);
    ASSERT_NE (target, nullptr);

    source->setParameter (source, 2, 0.5f);
    Vst2TestHost::dispatch (source, Vst2::effSetProgram, 0, 3);
    source->setParameter (source, 4, 0.25f);
    char name[] = "Tight";
    Vst2TestHost::dispatch (source, Vst2::effSetProgramName, 0, 0, name);

    const auto bank = Vst2TestHost::chunk (source);

    if (bank.empty())
        GTEST_SKIP() << "this build writes no settings chunk";

    ASSERT_GT (bank.size(), 9u);
    EXPECT_EQ (std::memcmp (bank.data(), "VC2!", 4), 0);
    EXPECT_EQ (Vst2TestHost::chunk (source, true), bank); // the program chunk is the whole table too

    Vst2TestHost::dispatch (target, Vst2::effSetChunk, 0, static_cast<Vst2::VstIntPtr> (bank.size()),
                            const_cast<char*> (bank.data()));
    EXPECT_EQ (Vst2TestHost::dispatch (target, Vst2::effGetProgram), 3);
    EXPECT_EQ (target->getParameter (target, 4), 0.25f);
    EXPECT_EQ (Vst2TestHost::text (target, Vst2::effGetProgramName), "Tight");
    Vst2TestHost::dispatch (target, Vst2::effSetProgram, 0, 0);
    EXPECT_EQ (target->getParameter (target, 2), 0.5f);
    Vst2TestHost::dispatch (target, Vst2::effSetProgram, 0, 3);
    EXPECT_EQ (Vst2TestHost::chunk (target), bank);

    // A truncated or foreign chunk changes nothing.
    Vst2TestHost::dispatch (target, Vst2::effSetChunk, 0, 8, const_cast<char*> (bank.data()));
    Vst2TestHost::dispatch (target, Vst2::effSetChunk, 0, 0, nullptr);
    EXPECT_EQ (Vst2TestHost::chunk (target), bank);
}

TEST_F (Vst2Plugin, HostReadsBackTheProgramNameItWrote)
{
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);
    Vst2TestHost::dispatch (effect, Vst2::effSetProgram, 0, 4);

    // A UTF-8 name comes back byte for byte, and the bank carries it into a project.
    char utf8[] = "Gr\xc3\xbc\xc3\x9f"
                  "e \xe2\x9c\x93";
    Vst2TestHost::dispatch (effect, Vst2::effSetProgramName, 0, 0, utf8);
    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetProgramName), utf8);
    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetProgramNameIndexed, 4), utf8);

    const auto bank = Vst2TestHost::chunk (effect);
    PelmoraTacetorAudioProcessor restored;
    restored.setStateInformation (bank.data(), static_cast<int> (bank.size()));
    EXPECT_EQ (restored.getProgramName (4), juce::String (juce::CharPointer_UTF8 (utf8)));

    // Bytes that are not UTF-8 are 8-bit text, as before: nothing is dropped.
    char latin1[] = "Caf\xe9 \xb0";
    Vst2TestHost::dispatch (effect, Vst2::effSetProgramName, 0, 0, latin1);
    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetProgramName), "Caf\xc3\xa9 \xc2\xb0");

    // Other vendor-specific calls still find nothing to answer.
    char text[] = "name";
    EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effVendorSpecific, 1, 2, text), 0);
    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetProgramName), "Caf\xc3\xa9 \xc2\xb0");
}

TEST_F (Vst2Plugin, AsksTheHostToShowProgramNamesAgainAfterARestoreOrARename)
{
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);

    // The update comes asynchronously, from JUCE's message thread inside the plug-in.
    const auto waitForDisplayUpdates = [effect] (int count)
    {
        for (int attempt = 0; attempt < 2000 && Vst2TestHost::callsOf (effect).displayUpdates < count; ++attempt)
            juce::Thread::sleep (10);

        return Vst2TestHost::callsOf (effect).displayUpdates;
    };

    PelmoraTacetorAudioProcessor source;
    source.changeProgramName (7, "Seven");
    juce::MemoryBlock bank;
    source.getStateInformation (bank);
    Vst2TestHost::dispatch (effect, Vst2::effSetChunk, 0, static_cast<Vst2::VstIntPtr> (bank.getSize()), bank.getData());
    EXPECT_GE (waitForDisplayUpdates (1), 1);
    EXPECT_EQ (Vst2TestHost::text (effect, Vst2::effGetProgramNameIndexed, 7), "Seven");

    const auto before = Vst2TestHost::callsOf (effect).displayUpdates;
    char name[] = "Eight";
    Vst2TestHost::dispatch (effect, Vst2::effSetProgramName, 0, 0, name);
    EXPECT_GT (waitForDisplayUpdates (before + 1), before);
}

// JUCE's VST2 wrapper judges a speaker arrangement by its channel count; the plug-in keeps that.
TEST_F (Vst2Plugin, TakesEveryArrangementOfOneOrTwoChannelsPairedAlike)
{
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);

    const auto arrange = [effect] (Vst2::VstInt32 type, Vst2::VstInt32 inputs, Vst2::VstInt32 outputs)
    {
        Vst2::VstSpeakerArrangement in {}, out {};
        in.type = out.type = type;
        in.numChannels = inputs;
        out.numChannels = outputs;
        return Vst2TestHost::dispatch (effect, Vst2::effSetSpeakerArrangement, 0, reinterpret_cast<Vst2::VstIntPtr> (&in), &out);
    };

    EXPECT_EQ (arrange (Vst2::kSpeakerArrStereo, 2, 2), 1);
    EXPECT_EQ (arrange (Vst2::kSpeakerArrStereoSide, 2, 2), 1);
    EXPECT_EQ (arrange (Vst2::kSpeakerArrStereoCLfe, 2, 2), 1);
    EXPECT_EQ (arrange (Vst2::kSpeakerArrMono, 1, 1), 1);
    EXPECT_EQ (arrange (Vst2::kSpeakerArr51, 6, 6), 0);
}

// JUCE's wrapper declares its dispatcher with its own pointer-sized integer; ours must be the
// same type, or every call through the effect record is undefined behaviour.
TEST (Vst2Interface, PointerSizedIntegerIsJucesOwn)
{
    EXPECT_TRUE ((std::is_same_v<Vst2::VstIntPtr, juce::pointer_sized_int>));
}

TEST_F (Vst2Plugin, VendorQueryAnswersTheVst3ComponentClassId)
{
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);
    const auto factory = Vst3Factory::read (TACETOR_VST3_BUNDLE);
    ASSERT_FALSE (factory.classes.empty());

    for (auto* index : { "stCA", "stCa" })
    {
        std::array<unsigned char, 16> classId {};
        const auto fourCC = [] (const char* c)
        { return static_cast<Vst2::VstInt32> (static_cast<unsigned> (c[0]) << 24 | static_cast<unsigned> (c[1]) << 16 | static_cast<unsigned> (c[2]) << 8 | static_cast<unsigned> (c[3])); };
        EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effVendorSpecific, fourCC (index), fourCC ("FUID"), classId.data()), 1);
        EXPECT_EQ (classId, factory.classes[0].classId) << index;
    }
}

TEST_F (Vst2Plugin, ProcessesBitForBitLikeTheProcessorInProcess)
{
    constexpr int blockSize = 256, numBlocks = 40;
    constexpr float sampleRate = 48000.0f;
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);

    PelmoraTacetorAudioProcessor reference;
    setSameGate (effect, reference);

    Vst2TestHost::resume (effect, sampleRate, blockSize);
    reference.prepareToPlay (sampleRate, blockSize);

    juce::AudioBuffer<float> viaPlugin (2, blockSize), inProcess (2, blockSize);
    juce::MidiBuffer midi;
    double phase = 0.0;
    int differing = 0;

    for (int block = 0; block < numBlocks; ++block)
    {
        // Bursts above and below the threshold, so the gate opens and closes.
        const float level = (block / 5) % 2 == 0 ? 0.8f : 0.01f;

        for (int n = 0; n < blockSize; ++n, phase += 0.05)
        {
            const auto left = level * static_cast<float> (std::sin (phase));
            const auto right = level * static_cast<float> (std::sin (phase * 1.3));
            inProcess.setSample (0, n, left);
            inProcess.setSample (1, n, right);
        }

        viaPlugin.makeCopyOf (inProcess);
        float* channels[] = { viaPlugin.getWritePointer (0), viaPlugin.getWritePointer (1) };
        effect->processReplacing (effect, channels, channels, blockSize);
        reference.processBlock (inProcess, midi);

        for (int channel = 0; channel < 2; ++channel)
            differing += std::memcmp (viaPlugin.getReadPointer (channel), inProcess.getReadPointer (channel),
                                      sizeof (float) * blockSize) != 0;
    }

    EXPECT_EQ (differing, 0);
    EXPECT_LT (inProcess.getMagnitude (0, blockSize), 0.005f); // the last quiet burst was gated down
}

// Hosts hand a disabled output over as no buffer at all or as the same buffer given to two
// channels, and JUCE's wrapper then gates through scratch channels sized from the announced block
// size; blocks of any other length, and announcements made while running, must still be safe.
TEST_F (Vst2Plugin, DisabledOutputsGiveTheProcessorsResultForBlocksOfAnyLength)
{
    constexpr float sampleRate = 48000.0f;
    constexpr int announced = 64, longest = 4096;

    for (const bool shared : { false, true })
    {
        SCOPED_TRACE (shared ? "one buffer for both outputs" : "no buffer for the left output");
        auto* effect = host.open();
        ASSERT_NE (effect, nullptr);
        PelmoraTacetorAudioProcessor reference;
        setSameGate (effect, reference);

        juce::AudioBuffer<float> input (2, longest), expected (2, longest), output (1, longest + 1);
        float* inputs[] = { input.getWritePointer (0), input.getWritePointer (1) };
        float* const right = output.getWritePointer (0);
        float* outputs[] = { shared ? right : nullptr, right };
        juce::MidiBuffer midi;
        int block = 0;

        const auto start = [&] (Vst2::VstIntPtr blockSize)
        {
            Vst2TestHost::dispatch (effect, Vst2::effMainsChanged, 0, 0);
            Vst2TestHost::dispatch (effect, Vst2::effSetSampleRate, 0, 0, nullptr, sampleRate);
            Vst2TestHost::dispatch (effect, Vst2::effSetBlockSize, 0, blockSize);
            Vst2TestHost::dispatch (effect, Vst2::effMainsChanged, 0, 1);
            reference.prepareToPlay (sampleRate, announced);
        };

        // The right output must hold the processor's right channel, and nothing past the block
        // may be touched.
        const auto check = [&] (int length)
        {
            const float level = block++ % 2 == 0 ? 0.8f : 0.01f;

            for (int n = 0; n < length; ++n)
            {
                input.setSample (0, n, level * std::sin (0.05f * static_cast<float> (n)));
                input.setSample (1, n, level * std::sin (0.065f * static_cast<float> (n)));
            }

            expected.makeCopyOf (input);
            output.clear();
            right[length] = 42.0f;
            effect->processReplacing (effect, inputs, outputs, length);
            juce::AudioBuffer<float> view (expected.getArrayOfWritePointers(), 2, length);
            reference.processBlock (view, midi);

            EXPECT_EQ (std::memcmp (right, expected.getReadPointer (1), sizeof (float) * static_cast<size_t> (length)), 0)
                << "block of " << length;
            EXPECT_EQ (right[length], 42.0f) << "block of " << length;
        };

        start (announced);

        for (const int length : { 200, 129, 0, 1, 64, 63, 1000, 65, 2, 128, 3001 })
            check (length);

        // More announced while running: the scratch channels are still the old size.
        Vst2TestHost::dispatch (effect, Vst2::effSetBlockSize, 0, longest);
        check (longest);

        // Nonsense announcements change nothing.
        for (const Vst2::VstIntPtr nonsense : { Vst2::VstIntPtr { 0 }, Vst2::VstIntPtr { -8 }, Vst2::VstIntPtr { 1 } << 40 })
        {
            start (nonsense);
            check (777);
        }

        // Negative lengths touch nothing.
        for (const int length : { -1, -announced, std::numeric_limits<int>::min() })
        {
            output.clear();
            effect->processReplacing (effect, inputs, outputs, length);
            EXPECT_EQ (output.getMagnitude (0, longest + 1), 0.0f) << "block of " << length;
        }

        // A float-only processor leaves double blocks as they came; they are split the same way.
        std::vector<double> doubleInput (2 * longest), doubleOutput (longest + 1, 0.0);

        for (size_t n = 0; n < doubleInput.size(); ++n)
            doubleInput[n] = static_cast<double> (n);

        double* doubleInputs[] = { doubleInput.data(), doubleInput.data() + longest };
        double* doubleOutputs[] = { shared ? doubleOutput.data() : nullptr, doubleOutput.data() };
        effect->processDoubleReplacing (effect, doubleInputs, doubleOutputs, longest);
        EXPECT_TRUE (std::equal (doubleOutput.begin(), doubleOutput.end() - 1, doubleInputs[1]));
        EXPECT_EQ (doubleOutput.back(), 0.0);

        host.close (effect);
    }
}

// Hosts send blocks before switching processing on, after switching it off, and with no channel
// array at all; none of that may crash, and the plug-in must gate like the processor afterwards.
TEST_F (Vst2Plugin, SurvivesBlocksWhileSwitchedOffOrWithoutChannelArrays)
{
    constexpr int blockSize = 256;
    constexpr float sampleRate = 48000.0f;
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);
    PelmoraTacetorAudioProcessor reference;
    setSameGate (effect, reference);

    juce::AudioBuffer<float> input (2, blockSize), expected (2, blockSize), output (2, blockSize);
    float* inputs[] = { input.getWritePointer (0), input.getWritePointer (1) };
    float* outputs[] = { output.getWritePointer (0), output.getWritePointer (1) };
    juce::MidiBuffer midi;
    int block = 0;

    const auto fill = [&]
    {
        const float level = block++ % 3 == 0 ? 0.01f : 0.8f;

        for (int n = 0; n < blockSize; ++n)
        {
            const auto t = static_cast<float> (block * blockSize + n);
            input.setSample (0, n, level * std::sin (0.05f * t));
            input.setSample (1, n, level * std::sin (0.065f * t));
        }

        for (int channel = 0; channel < 2; ++channel)
            juce::FloatVectorOperations::fill (outputs[channel], 1.0f, blockSize);
    };

    const auto processBoth = [&]
    {
        fill();
        expected.makeCopyOf (input);
        effect->processReplacing (effect, inputs, outputs, blockSize);
        reference.processBlock (expected, midi);

        for (int channel = 0; channel < 2; ++channel)
            EXPECT_EQ (std::memcmp (outputs[channel], expected.getReadPointer (channel), sizeof (float) * blockSize), 0)
                << "block " << block << ", channel " << channel;
    };

    // Never switched on: JUCE's wrapper switches itself on at the first block, with the rate and
    // size announced so far, and some hosts rely on that.
    Vst2TestHost::dispatch (effect, Vst2::effSetSampleRate, 0, 0, nullptr, sampleRate);
    Vst2TestHost::dispatch (effect, Vst2::effSetBlockSize, 0, blockSize);
    reference.prepareToPlay (sampleRate, blockSize);
    processBoth();
    processBoth();

    // Switched off: silence in every output the host gave, nothing written elsewhere.
    Vst2TestHost::dispatch (effect, Vst2::effMainsChanged, 0, 0);
    fill();
    float* rightOnly[] = { nullptr, outputs[1] };
    effect->processReplacing (effect, inputs, rightOnly, blockSize);
    EXPECT_EQ (output.findMinMax (0, 0, blockSize), juce::Range<float> (1.0f, 1.0f));
    EXPECT_EQ (output.getMagnitude (1, 0, blockSize), 0.0f);

    std::vector<double> doubleOutput (blockSize, 1.0);
    double* doubleOutputs[] = { doubleOutput.data(), nullptr };
    double* doubleInputs[] = { doubleOutput.data(), doubleOutput.data() };
    effect->processDoubleReplacing (effect, doubleInputs, doubleOutputs, blockSize);
    EXPECT_EQ (std::count (doubleOutput.begin(), doubleOutput.end(), 0.0), blockSize);

    Vst2TestHost::resume (effect, sampleRate, blockSize);
    reference.prepareToPlay (sampleRate, blockSize);
    processBoth();

    // No output array leaves nowhere to write; no input array is silence, which the gate passes.
    fill();
    effect->processReplacing (effect, inputs, nullptr, blockSize);
    effect->processReplacing (effect, inputs, nullptr, 0);
    effect->processDoubleReplacing (effect, nullptr, nullptr, blockSize);
    EXPECT_EQ (output.findMinMax (0, 0, blockSize), juce::Range<float> (1.0f, 1.0f));
    effect->processReplacing (effect, nullptr, outputs, 0);
    effect->processReplacing (effect, nullptr, outputs, blockSize);
    EXPECT_EQ (output.getMagnitude (0, blockSize), 0.0f);

    for (int i = 0; i < 6; ++i)
        processBoth();
}

TEST_F (Vst2Plugin, RefusesHostsWithoutCallbackOrVersion)
{
    EXPECT_EQ (host.openWithoutCallback(), nullptr);
    EXPECT_EQ (host.open (0), nullptr);
}

TEST_F (Vst2Plugin, OpensItsEditorInsideTheHostsWindow)
{
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        GTEST_SKIP() << "no X display";

    // Like the toolkits hosts are built on, log X errors instead of letting Xlib exit.
    static int xErrors = 0;
    xErrors = 0;
    const auto previousHandler = XSetErrorHandler ([] (Display*, XErrorEvent*)
                                                   { return ++xErrors, 0; });

    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);

    Vst2::ERect* rect = nullptr;
    ASSERT_NE (Vst2TestHost::dispatch (effect, Vst2::effEditGetRect, 0, 0, &rect), 0);
    ASSERT_NE (rect, nullptr);
    const auto width = rect->right - rect->left, height = rect->bottom - rect->top;
    EXPECT_GT (width, 0);
    EXPECT_GT (height, 0);

    const auto parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, static_cast<unsigned> (width),
                                             static_cast<unsigned> (height), 0, 0, 0);
    XMapWindow (display, parent);
    XSync (display, False);

    EXPECT_EQ (Vst2TestHost::dispatch (effect, Vst2::effEditOpen, 0, 0, reinterpret_cast<void*> (parent)), 1);

    for (int i = 0; i < 20; ++i)
        Vst2TestHost::dispatch (effect, Vst2::effEditIdle);

    XSync (display, False);
    Window root = 0, ownParent = 0;
    Window* children = nullptr;
    unsigned numChildren = 0;
    XQueryTree (display, parent, &root, &ownParent, &children, &numChildren);
    EXPECT_EQ (numChildren, 1u); // the editor's window, re-parented into ours

    if (children != nullptr)
        XFree (children);

    Vst2TestHost::dispatch (effect, Vst2::effEditClose);
    XDestroyWindow (display, parent);
    XSync (display, False);
    XSetErrorHandler (previousHandler);
    XCloseDisplay (display);
    std::cout << "X errors while the editor was open: " << xErrors << std::endl;
}
