// The pedal opened by real host code: JUCE's VST3 hosting loads the built bundle, opens its
// editor in a window of the virtual display, automates it and works it with the X pointer;
// what the display shows is compared with the pictures pixel for pixel.
#include "EmbeddedImages.h"
#include "PedalGeometry.h"
#include "PluginBundleHost.h"
#include "support/EditorTestSupport.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace EditorTestSupport;
using namespace WidgetTestSupport;

namespace
{
/** A host's plug-in window: the hosted editor filling a borderless desktop window, placed at
    the display's lower right, where no other test opens a window. */
struct HostWindow : juce::Component
{
    explicit HostWindow (juce::AudioProcessorEditor& editor)
    {
        setName ("Tacetor VST3 host test");
        addAndMakeVisible (editor);
        setBounds (900, 620, editor.getWidth(), editor.getHeight());
        addToDesktop (0);
        setVisible (true);
    }
};

juce::AudioProcessorParameter* parameterNamed (juce::AudioProcessor& instance, const juce::String& name)
{
    for (auto* parameter : instance.getParameters())
        if (parameter->getName (64) == name)
            return parameter;

    return nullptr;
}
} // namespace

TEST (EditorInHost, Vst3EditorFollowsAutomationAndAnnouncesGestures)
{
    if (const auto why = whyDisplayCannotShowPixels(); why.isNotEmpty())
        GTEST_SKIP() << why;

    const RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());

    juce::String error;
    auto instance = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error);
    ASSERT_NE (instance, nullptr) << error;
    ParameterLog host;
    instance->addListener (&host);

    auto* threshold = parameterNamed (*instance, "threshold");
    auto* attack = parameterNamed (*instance, "attack");
    auto* bypass = parameterNamed (*instance, "bypass");
    ASSERT_TRUE (threshold != nullptr && attack != nullptr && bypass != nullptr);

    HostOpenedEditor opened (*instance);
    auto* editor = opened.get();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getLocalBounds(), PedalGeometry::pedal);

    {
        HostWindow window (*editor);
        ASSERT_TRUE (pumpUntil ([&]
                                { return window.isShowing(); }));

        // The plug-in draws into its own X window inside the host's, so only the display
        // itself shows what the user sees.
        const auto found = waitForPedal (window.getScreenBounds().expanded (4));
        ASSERT_TRUE (found.has_value()) << "the pedal never showed in the host's window";
        const auto pedal = *found;
        const auto pedalArea = PedalGeometry::pedal + pedal;
        juce::Image screen;
        Values shown = defaultValues;
        EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (shown), &screen), 0);
        saveIfRequested (screen, pedalArea, "vst3-editor-opened");

        // Host automation: the knob turns on the display, and nothing comes back to the host.
        threshold->setValue (0.5f);
        const auto& knob = PedalGeometry::knobs[0];
        const auto thresholdArea = knob.bounds + pedal;
        const auto frame50 = stripFrame (EmbeddedImages::decodeThresholdKnob(), knob.numFrames, 50);
        EXPECT_EQ (differencesAfterWaiting (thresholdArea, frame50, &screen), 0);
        shown[2] = 0.5f;
        EXPECT_EQ (countDifferences (screen, pedalArea, referencePedal (shown)), 0);
        saveIfRequested (screen, pedalArea, "vst3-editor-automated");
        pump (150);
        EXPECT_TRUE (host.changes.empty());

        // A drag on the attack knob, 100 pixels up from its default: the host hears each
        // value as the knob takes it.
        ASSERT_TRUE (pointerAt (pedal, 161, 76, "mousedown 1"));
        ASSERT_TRUE (pointerAt (pedal, 161, 56));
        ASSERT_TRUE (pointerAt (pedal, 161, -24));
        ASSERT_TRUE (pumpUntil ([&]
                                { return ! host.valuesOf (3).empty() && host.valuesOf (3).back() == 0.534f; }));
        ASSERT_TRUE (xdotool ("mouseup 1"));
        EXPECT_EQ (host.valuesOf (3).front(), 0.214f);
        EXPECT_EQ (attack->getValue(), 0.534f);
        shown[3] = 0.534f;
        EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (shown), &screen), 0);

        // The footswitch: off, announced as 0.
        ASSERT_TRUE (pointerAt (pedal, 267, 300, "click 1"));
        ASSERT_TRUE (pumpUntil ([&]
                                { return host.valuesOf (0) == std::vector<float> { 0.0f }; }));
        EXPECT_EQ (bypass->getValue(), 0.0f);
        shown[0] = 0.0f;
        EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (shown), &screen), 0);

        // Where the logo's click area overlaps the footswitch, the about card opens and the
        // footswitch stays as it was.
        const auto changesBefore = host.changes.size();
        ASSERT_TRUE (pointerAt (pedal, 230, 330, "click 1"));
        EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (shown, true), &screen), 0);
        saveIfRequested (screen, pedalArea, "vst3-editor-about");

        // A press on the card closes it again.
        ASSERT_TRUE (pointerAt (pedal, 160, 300, "click 1"));
        EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (shown), &screen), 0);
        EXPECT_EQ (host.changes.size(), changesBefore);
        EXPECT_EQ (bypass->getValue(), 0.0f);

        // Values go to the host as plain edits: no gesture messages, and JUCE's host takes
        // them all the same.
        EXPECT_EQ (host.gestures, 0);
    }

    opened.close();
    instance->removeListener (&host);
    instance.reset();
    pump (50);
}
