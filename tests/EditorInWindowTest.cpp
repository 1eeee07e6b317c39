// The pedal in real windows on the display, worked with the real pointer and real keys as a
// musician works it inside a host: two editors of one process side by side, the keyboard, and
// what a screen reader finds through the framework's accessibility layer.
#include "PedalGeometry.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "support/EditorTestSupport.h"
#include "support/HostWindow.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace HostWindowSupport;
using EditorTestSupport::ParameterLog;

namespace
{
// Points on the pedal: the logo lettering, the middle of each switch's rectangle.
const juce::Point<int> logo { 100, 330 };
const juce::Point<int> footswitch { 267, 316 };
const juce::Point<int> dualMono { 68, 230 };

/** A processor and its editor in a window of the display, with a host's listener on it. */
struct Pedal
{
    explicit Pedal (juce::Point<int> topLeft, float hostScale = 1.0f)
        : window (processor, topLeft, hostScale)
    {
        processor.addListener (&log);
    }

    ~Pedal() { processor.removeListener (&log); }

    float value (int index) { return processor.getParameter (index); }
    bool cardShown() const { return window.child ("aboutContainer_").isVisible(); }
    juce::String focusedName() const
    {
        auto* focused = juce::Component::getCurrentlyFocusedComponent();
        return focused == nullptr ? "nothing" : focused == &window.getEditor() ? "the editor"
                                                                               : focused->getName();
    }
    juce::String describe()
    {
        juce::StringArray values;

        for (int index = 0; index < 5; ++index)
            values.add (juce::String (value (index)));

        return "parameters " + values.joinIntoString (" ") + ", focus on " + focusedName() + (cardShown() ? ", card shown" : "") + ", " + juce::String (window.getKeysForHost()) + " keys for the host";
    }

    /** Waits for condition; the failure describes the pedal as last seen. */
    testing::AssertionResult until (const std::function<bool()>& condition)
    {
        return eventually (condition, [this]
                           { return describe(); });
    }

    PelmoraTacetorAudioProcessor processor;
    ParameterLog log;
    HostWindow window;
};

/** How many pixels of component's painting have the focus ring's light blue, which nothing
    in the artwork has. */
int ringPixels (juce::Component& component)
{
    const auto image = component.createComponentSnapshot (component.getLocalBounds());
    int count = 0;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (const auto c = image.getPixelAt (x, y); c.getBlue() > 200 && c.getGreen() > 150 && c.getRed() < 150)
                ++count;

    return count;
}

bool keys (const juce::String& names) { return WidgetTestSupport::xdotool ("key --delay 30 " + names); }
} // namespace

TEST (EditorInWindow, TheAboutCardInOneEditorLeavesAnotherEditorWorking)
{
    if (const auto why = EditorTestSupport::whyDisplayCannotShowPixels(); why.isNotEmpty())
        GTEST_SKIP() << why;

    const WidgetTestSupport::RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());
    Pedal a ({ 40, 420 }), b ({ 420, 420 });
    ASSERT_TRUE (showsOnScreen (a.window));
    ASSERT_TRUE (showsOnScreen (b.window));

    ASSERT_TRUE (clickAt (a.window, logo));
    ASSERT_TRUE (a.until ([&]
                          { return a.cardShown(); }));

    // The card belongs to one editor: the other one's switches answer the pointer.
    ASSERT_TRUE (clickAt (b.window, footswitch));
    EXPECT_TRUE (b.until ([&]
                          { return b.value (0) == 0.0f; }));
    ASSERT_TRUE (clickAt (b.window, dualMono));
    EXPECT_TRUE (b.until ([&]
                          { return b.value (1) == 1.0f; }));
    EXPECT_EQ (b.log.changes, (std::vector<std::pair<int, float>> { { 0, 0.0f }, { 1, 1.0f } }));
    EXPECT_TRUE (a.cardShown());
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);

    // Over its own editor the card takes the press: it closes, and the footswitch it covered
    // stays as it was. B's next click, handled after A's, shows that A's press is done with.
    ASSERT_TRUE (clickAt (a.window, footswitch));
    EXPECT_TRUE (a.until ([&]
                          { return ! a.cardShown(); }));
    ASSERT_TRUE (clickAt (b.window, footswitch));
    ASSERT_TRUE (b.until ([&]
                          { return b.value (0) == 1.0f; }));
    EXPECT_EQ (a.value (0), 1.0f);
    EXPECT_TRUE (a.log.changes.empty());

    // And with the card gone, A's footswitch works again.
    ASSERT_TRUE (clickAt (a.window, footswitch));
    EXPECT_TRUE (a.until ([&]
                          { return a.value (0) == 0.0f; }));
}

TEST (EditorInWindow, KeysReachThePedalOnlyAfterTab)
{
    if (const auto why = EditorTestSupport::whyDisplayCannotShowPixels(); why.isNotEmpty())
        GTEST_SKIP() << why;

    const WidgetTestSupport::RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());
    Pedal pedal ({ 40, 420 });
    ASSERT_TRUE (showsOnScreen (pedal.window));
    const auto focusOn = [&] (const juce::String& name)
    {
        return pedal.until ([&]
                            { return pedal.focusedName() == name; });
    };

    // A click works the footswitch but leaves it without the focus: Return and Space are
    // the host's (its transport), not the gate's.
    ASSERT_TRUE (clickAt (pedal.window, footswitch));
    ASSERT_TRUE (pedal.until ([&]
                              { return pedal.value (0) == 0.0f; }));
    ASSERT_TRUE (keys ("Return space"));
    ASSERT_TRUE (pedal.until ([&]
                              { return pedal.window.getKeysForHost() == 2; }));
    EXPECT_EQ (pedal.value (0), 0.0f);
    EXPECT_EQ (pedal.focusedName(), "the editor");

    // Tab reaches the threshold knob, and a ring shows where the focus is.
    ASSERT_TRUE (keys ("Tab"));
    ASSERT_TRUE (focusOn ("thresholdKnob_"));
    EXPECT_GT (ringPixels (pedal.window.child ("thresholdKnob_")), 150);
    EXPECT_EQ (ringPixels (pedal.window.child ("attackKnob_")), 0);
    EditorTestSupport::saveIfRequested (EditorTestSupport::screenshot(), pedal.window.getScreenBounds(), "pedal-keyboard-focus");

    // Up Arrow: one step, a hundredth of the range, written and announced like a drag's.
    pedal.log.changes.clear();
    ASSERT_TRUE (keys ("Up"));
    ASSERT_TRUE (pedal.until ([&]
                              { return pedal.log.changes.size() == 1; }));
    EXPECT_EQ (pedal.log.changes.front(), (std::pair<int, float> (2, 0.01f)));
    EXPECT_EQ (pedal.value (2), 0.01f);
    EXPECT_EQ (pedal.log.gestures, 0);

    // Round the controls in their order, both ways; Space works the switch that has the focus.
    ASSERT_TRUE (keys ("Tab"));
    ASSERT_TRUE (focusOn ("attackKnob_"));
    ASSERT_TRUE (keys ("Tab Tab Tab"));
    ASSERT_TRUE (focusOn ("bypassButton_"));
    ASSERT_TRUE (keys ("space"));
    EXPECT_TRUE (pedal.until ([&]
                              { return pedal.value (0) == 1.0f; }));
    ASSERT_TRUE (keys ("Tab"));
    ASSERT_TRUE (focusOn ("thresholdKnob_"));
    ASSERT_TRUE (keys ("shift+Tab shift+Tab"));
    ASSERT_TRUE (focusOn ("dualMonoOnButton_"));

    // Escape gives the keys back to the host.
    ASSERT_TRUE (keys ("Escape"));
    ASSERT_TRUE (focusOn ("the editor"));
    const auto keysBefore = pedal.window.getKeysForHost();
    ASSERT_TRUE (keys ("space"));
    ASSERT_TRUE (pedal.until ([&]
                              { return pedal.window.getKeysForHost() == keysBefore + 1; }));
    EXPECT_EQ (pedal.value (1), 0.0f);

    // The about card takes the focus from what it covers, keeps Tab from reaching anything
    // under it and stays up whatever the keys.
    ASSERT_TRUE (keys ("Tab"));
    ASSERT_TRUE (focusOn ("thresholdKnob_"));
    ASSERT_TRUE (clickAt (pedal.window, logo));
    ASSERT_TRUE (pedal.until ([&]
                              { return pedal.cardShown(); }));
    EXPECT_EQ (pedal.focusedName(), "the editor");
    const auto keysWithCard = pedal.window.getKeysForHost();
    ASSERT_TRUE (keys ("Tab Up Escape Return"));
    ASSERT_TRUE (pedal.until ([&]
                              { return pedal.window.getKeysForHost() == keysWithCard + 3; }));
    EXPECT_EQ (pedal.focusedName(), "the editor");
    EXPECT_EQ (pedal.value (2), 0.01f);
    EXPECT_TRUE (pedal.cardShown());
}

TEST (EditorInWindow, ScreenReadersFindTheControlsByNameWithTheHostsTexts)
{
    if (! WidgetTestSupport::hasDisplay())
        GTEST_SKIP() << "DISPLAY is not set: the framework only gives components in a window to screen readers";

    const WidgetTestSupport::RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());
    Pedal pedal ({ 40, 420 });
    // Values where the knobs' own texts and the host's differ.
    pedal.processor.setParameter (2, 0.001f);
    pedal.processor.setParameter (3, 1.0f / 3.0f);
    auto& editor = pedal.window.getEditor();
    ASSERT_TRUE (pedal.until ([&]
                              { return ! pedal.processor.parametersChanged_.load() && editor.getAccessibilityHandler() != nullptr; }));

    auto* pedalHandler = editor.getAccessibilityHandler();
    EXPECT_EQ (pedalHandler->getTitle(), "Pelmora Tacetor");
    EXPECT_EQ (pedalHandler->getDescription(), "Noise gate pedal by Orvane, version 1.0.0");

    // The five controls, in Tab order, each with the text the host shows for its parameter.
    struct Expected
    {
        const char* title;
        juce::AccessibilityRole role;
        int parameter;
    };
    const Expected expected[] = {
        { "Threshold", juce::AccessibilityRole::slider, 2 },
        { "Attack", juce::AccessibilityRole::slider, 3 },
        { "Decay", juce::AccessibilityRole::slider, 4 },
        { "Dual mono", juce::AccessibilityRole::toggleButton, 1 },
        { "Gate on", juce::AccessibilityRole::toggleButton, 0 },
    };
    const auto children = pedalHandler->getChildren();
    ASSERT_EQ (children.size(), std::size (expected));

    for (size_t i = 0; i < children.size(); ++i)
    {
        const auto& want = expected[i];
        auto* handler = children[i];
        SCOPED_TRACE (want.title);
        EXPECT_EQ (handler->getTitle(), want.title);
        EXPECT_EQ (handler->getRole(), want.role);
        ASSERT_NE (handler->getValueInterface(), nullptr);
        EXPECT_EQ (handler->getValueInterface()->getCurrentValueAsString(), pedal.processor.getParameterText (want.parameter));
        EXPECT_TRUE (handler->getCurrentState().isFocusable());
    }

    EXPECT_TRUE (children[4]->getCurrentState().isChecked());
    EXPECT_FALSE (children[3]->getCurrentState().isChecked());
    EXPECT_EQ (children[0]->getValueInterface()->getRange().getInterval(), 0.01);

    // A value set through the screen reader is written and announced like the mouse's.
    children[0]->getValueInterface()->setValue (0.5);
    EXPECT_EQ (pedal.log.changes, (std::vector<std::pair<int, float>> { { 2, 0.5f } }));
    EXPECT_EQ (pedal.log.gestures, 0);
    EXPECT_EQ (children[0]->getValueInterface()->getCurrentValueAsString(), "-32.04 dB");

    ASSERT_NE (children[4]->getActions().invoke (juce::AccessibilityActionType::toggle), false);
    EXPECT_TRUE (pedal.until ([&]
                              { return pedal.value (0) == 0.0f; }));
    EXPECT_EQ (pedal.log.changes.back(), (std::pair<int, float> (0, 0.0f)));
    EXPECT_EQ (children[4]->getValueInterface()->getCurrentValueAsString(), "Off");

    // The about card, once shown, says whose pedal it is.
    dynamic_cast<juce::Button&> (pedal.window.child ("aboutShowButton_")).triggerClick();
    ASSERT_TRUE (pedal.until ([&]
                              { return pedal.cardShown(); }));
    auto* card = pedal.window.child ("aboutContainer_").getAccessibilityHandler();
    ASSERT_NE (card, nullptr);
    EXPECT_EQ (card->getRole(), juce::AccessibilityRole::dialogWindow);
    EXPECT_EQ (card->getTitle(), "About Pelmora Tacetor");
    EXPECT_EQ (card->getDescription(), "Orvane Pelmora Tacetor, version 1.0.0 (64bit)");
}

TEST (EditorInWindow, AtAHostsScaleOfTwoTheWindowShowsTheDoubleSizePictures)
{
    if (const auto why = EditorTestSupport::whyDisplayCannotShowPixels(); why.isNotEmpty())
        GTEST_SKIP() << why;

    const WidgetTestSupport::RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());
    Pedal pedal ({ 40, 40 }, 2.0f);
    pedal.processor.setParameter (2, 0.5f);
    pedal.processor.setParameter (1, 1.0f);
    auto& editor = pedal.window.getEditor();
    ASSERT_TRUE (pedal.until ([&]
                              { return ! pedal.processor.parametersChanged_.load(); }));

    // The host's factor of 2 on a display at 100 %: twice the pixels in the window, each the
    // twin's own (as the editor paints itself at scale 2), the editor still 325 x 366 units.
    ASSERT_EQ (pedal.window.getScreenBounds(), PedalGeometry::pedal * 2 + juce::Point<int> (40, 40));
    EXPECT_EQ (editor.getLocalBounds(), PedalGeometry::pedal);
    const auto expected = editor.createComponentSnapshot (editor.getLocalBounds(), true, 2.0f);
    juce::Image screen;
    EXPECT_EQ (EditorTestSupport::differencesAfterWaiting (pedal.window.getScreenBounds(), expected, &screen, waitLimitMs), 0);
    EditorTestSupport::saveIfRequested (screen, pedal.window.getScreenBounds(), "pedal-200-percent");
}
