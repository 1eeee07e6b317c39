// The pedal editor in this process: what it builds, how it follows the processor, what the
// user's gestures write and announce, and how it goes away.
#include "EmbeddedImages.h"
#include "PedalGeometry.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "PelmoraTacetorAudioProcessorEditor.h"
#include "support/EditorTestSupport.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <thread>

using namespace EditorTestSupport;

namespace
{
// A snapshot of the editor taken at scale shows, pixel for pixel, the frames selected for the
// three knobs, the footswitch and the dual-mono switch, and the background where no control
// is: above the knobs, the logo, between the switches.
void expectPedalShows (const juce::Image& snapshot, int scale, const std::array<int, 5>& frames)
{
    const auto decodeAt = [scale] (EmbeddedImages::Picture picture)
    { return scale == 1 ? EmbeddedImages::decode (EmbeddedImages::stored (picture)) : EmbeddedImages::decodeDoubleSize (picture); };

    for (size_t i = 0; i < frames.size(); ++i)
    {
        const auto& control = PedalGeometry::strips[i];
        EXPECT_EQ (countDifferences (snapshot, control.bounds * scale, stripFrame (decodeAt (control.picture), control.numFrames, frames[i])), 0) << control.fileName;
    }

    const auto background = decodeAt (EmbeddedImages::Picture::background);
    for (const auto area : { juce::Rectangle<int> (0, 0, 325, 40), juce::Rectangle<int> (0, 300, 222, 66), juce::Rectangle<int> (130, 120, 195, 140) })
        EXPECT_EQ (countDifferences (snapshot, area * scale, background.getClippedImage (area * scale)), 0) << area.toString();
}

template <typename Widget>
Widget& child (juce::Component& editor, const juce::String& name)
{
    auto* widget = dynamic_cast<Widget*> (findChild (editor, name));

    if (widget == nullptr)
        throw std::runtime_error ("the editor has no " + name.toStdString() + " of the expected class");

    return *widget;
}

/** A processor with an editor open on it, as a host has it, and a listener in the host's place. */
struct OpenEditor : testing::Test
{
    OpenEditor() { processor.addListener (&log); }

    ~OpenEditor() override
    {
        close();
        processor.removeListener (&log);
    }

    void open()
    {
        opened.emplace (processor);
        editor = dynamic_cast<PelmoraTacetorAudioProcessorEditor*> (opened->get());
        ASSERT_NE (editor, nullptr);
    }

    void close()
    {
        editor = nullptr;
        opened.reset();
    }

    /** Runs the message loop until the editor has taken in the processor's changes. */
    void refresh()
    {
        ASSERT_TRUE (WidgetTestSupport::pumpUntil ([this]
                                                   { return ! processor.parametersChanged_.load(); }));
    }

    juce::Button& button (const juce::String& name) { return child<juce::Button> (*editor, name); }
    OrvaneKnob& knob (const juce::String& name) { return child<OrvaneKnob> (*editor, name); }

    /** A completed click, delivered through the button's own click handling. */
    void click (const juce::String& name)
    {
        struct Counter : juce::Button::Listener
        {
            void buttonClicked (juce::Button*) override { ++clicks; }
            int clicks = 0;
        } counter;

        auto& target = button (name);
        target.addListener (&counter);
        target.triggerClick();
        EXPECT_TRUE (WidgetTestSupport::pumpUntil ([&]
                                                   { return counter.clicks == 1; }));
        target.removeListener (&counter);
    }

    PelmoraTacetorAudioProcessor processor;
    ParameterLog log;
    std::optional<HostOpenedEditor> opened;
    PelmoraTacetorAudioProcessorEditor* editor = nullptr;
};

/** Hands out the values a host wrote last; on one chosen read, a host thread's write lands
    in the middle of the editor's refresh. */
struct InterruptedProcessor : PelmoraTacetorAudioProcessor
{
    float getParameter (int index) override
    {
        const float value = PelmoraTacetorAudioProcessor::getParameter (index);

        if (index == 4 && interruptNextDecayRead)
        {
            interruptNextDecayRead = false;
            std::thread host ([this]
                              { setParameter (2, 0.9f); });
            host.join();
        }

        return value;
    }

    bool interruptNextDecayRead = false;
};
} // namespace

TEST_F (OpenEditor, BuildsThePedalFromTheProcessorsValues)
{
    // A switch of exactly 0 is off, anything above is on; knobs snap to 0.001.
    const Values values { 0.0f, 0.0001f, 1.0f / 3.0f, 0.07f, 1.0f };
    for (int index = 0; index < 5; ++index)
        processor.setParameter (index, values[static_cast<size_t> (index)]);
    processor.parametersChanged_ = false;

    open();

    // The layout is restated on purpose, not read from PedalGeometry: this pins it.
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 325, 366));
    EXPECT_TRUE (processor.parametersChanged_.load());
    EXPECT_TRUE (editor->isTimerRunning());
    EXPECT_EQ (editor->getTimerInterval(), 50);
    EXPECT_EQ (processor.getActiveEditor(), editor);
    EXPECT_NE (dynamic_cast<juce::LookAndFeel_V3*> (&editor->getLookAndFeel()), nullptr);

    // Children bottom to top, each where its picture's frame fits it.
    struct Expected
    {
        const char* name;
        juce::Rectangle<int> bounds;
        bool visible;
    };
    const Expected expected[] = {
        { "bypassButton_", { 222, 266, 90, 99 }, true },
        { "dualMonoOnButton_", { 12, 167, 113, 125 }, true },
        { "thresholdKnob_", { 17, 40, 96, 73 }, true },
        { "attackKnob_", { 113, 40, 96, 73 }, true },
        { "decayKnob_", { 209, 40, 96, 73 }, true },
        { "aboutShowButton_", { 15, 313, 223, 40 }, true },
        { "aboutContainer_", { 0, 0, 325, 365 }, false },
    };
    ASSERT_EQ (editor->getNumChildComponents(), 7);
    for (int i = 0; i < 7; ++i)
    {
        const auto& want = expected[i];
        auto* widget = editor->getChildComponent (i);
        EXPECT_EQ (widget->getName(), want.name);
        EXPECT_EQ (widget->getBounds(), want.bounds) << want.name;
        EXPECT_EQ (widget->isVisible(), want.visible) << want.name;
        EXPECT_EQ (&widget->getLookAndFeel(), &editor->getLookAndFeel()) << want.name;
    }

    EXPECT_FALSE (button ("bypassButton_").getToggleState());
    EXPECT_TRUE (button ("dualMonoOnButton_").getToggleState());
    EXPECT_EQ (knob ("thresholdKnob_").getValue(), 0.333);
    EXPECT_EQ (knob ("attackKnob_").getValue(), 0.07);
    EXPECT_EQ (knob ("decayKnob_").getValue(), 1.0);

    // A double-click returns each knob to the processor's default for its parameter.
    for (const auto& [name, index] : { std::pair ("thresholdKnob_", 2), std::pair ("attackKnob_", 3), std::pair ("decayKnob_", 4) })
    {
        EXPECT_TRUE (knob (name).isDoubleClickReturnEnabled()) << name;
        EXPECT_EQ (knob (name).getDoubleClickReturnValue(), static_cast<double> (processor.getParameterDefaultValue (index))) << name;
    }

    // What shows: the background, with each widget's frame copied pixel for pixel over it.
    const auto pedal = editor->createComponentSnapshot (editor->getLocalBounds(), true);
    expectPedalShows (pedal, 1, { 34, 8, 100, 0, 1 });

    EXPECT_TRUE (log.changes.empty());
}

TEST_F (OpenEditor, AtTwiceTheScaleDrawsTheDoubleSizePicturesPixelForPixel)
{
    const Values values { 1.0f, 1.0f, 0.5f, 1.0f, 0.0f };
    for (int index = 0; index < 5; ++index)
        processor.setParameter (index, values[static_cast<size_t> (index)]);

    open();
    using EmbeddedImages::Picture;
    const auto twice = [] (juce::Rectangle<int> area)
    { return area * 2; };

    // As a display at 200 % or a host's scale factor of 2 paints it: still 325 × 366 units.
    const auto pedal = editor->createComponentSnapshot (editor->getLocalBounds(), true, 2.0f);
    EXPECT_EQ (editor->getBounds(), PedalGeometry::pedal);
    ASSERT_EQ (pedal.getBounds(), twice (PedalGeometry::pedal));

    expectPedalShows (pedal, 2, { 50, 100, 0, 2, 1 });

    // The card too, where it is opaque, above and below the version label.
    click ("aboutShowButton_");
    const auto withCard = editor->createComponentSnapshot (editor->getLocalBounds(), true, 2.0f);
    const auto about = EmbeddedImages::decodeDoubleSize (Picture::about);
    const auto& card = PedalGeometry::aboutCard;
    for (const auto area : { card.withBottom (PedalGeometry::versionLabel.getY()), card.withTop (PedalGeometry::versionLabel.getBottom()) })
        EXPECT_EQ (countDifferences (withCard, twice (area), about.getClippedImage (twice (area))), 0) << area.toString();
}

TEST_F (OpenEditor, TheLookAndFeelOutlivesEveryChildAndChildrenGoInOrder)
{
    open();

    struct DeletionWatcher : juce::ComponentListener
    {
        void componentBeingDeleted (juce::Component& component) override
        {
            order.add (component.getName());
            lookAndFeelStillV3 = lookAndFeelStillV3 && dynamic_cast<juce::LookAndFeel_V3*> (&component.getLookAndFeel()) != nullptr;
        }

        juce::StringArray order;
        bool lookAndFeelStillV3 = true;
    } watcher;

    for (auto* widget : editor->getChildren())
        widget->addComponentListener (&watcher);

    // Closed while the about panel is up.
    button ("aboutShowButton_").triggerClick();
    ASSERT_TRUE (WidgetTestSupport::pumpUntil ([&]
                                               { return findChild (*editor, "aboutContainer_")->isVisible(); }));

    close();

    EXPECT_EQ (watcher.order.joinIntoString (" "),
               "bypassButton_ dualMonoOnButton_ thresholdKnob_ attackKnob_ decayKnob_ aboutShowButton_ aboutContainer_");
    EXPECT_TRUE (watcher.lookAndFeelStillV3);
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);
    EXPECT_EQ (processor.getActiveEditor(), nullptr);
}

TEST_F (OpenEditor, FollowsHostChangesWithinOneTickAndWritesNothingBack)
{
    open();
    EXPECT_TRUE (editor->isTimerRunning());
    EXPECT_EQ (editor->getTimerInterval(), 50);

    // From here the test is the timer: each tick() is one period, however loaded the machine.
    editor->stopTimer();
    const auto tick = [this]
    { editor->timerCallback(); };
    tick();

    // Automation from a host thread: stored, flagged, and shown by the next tick.
    std::thread host ([this]
                      {
        processor.setParameter (2, 1.0f / 3.0f);
        processor.setParameter (0, 0.0f);
        processor.setParameter (1, 0.0001f); });
    host.join();
    tick();
    EXPECT_EQ (knob ("thresholdKnob_").getValue(), 0.333);
    EXPECT_FALSE (button ("bypassButton_").getToggleState());
    EXPECT_TRUE (button ("dualMonoOnButton_").getToggleState());
    EXPECT_FALSE (processor.parametersChanged_.load());

    // The knob shows 0.333 but the processor keeps exactly what the host wrote.
    EXPECT_EQ (processor.getParameter (2), 1.0f / 3.0f);
    EXPECT_TRUE (log.changes.empty());

    // A program change brings all five values of the other program.
    processor.setCurrentProgram (5);
    for (const auto& [index, value] : { std::pair (0, 1.0f), std::pair (1, 1.0f), std::pair (2, 0.25f), std::pair (3, 0.5f), std::pair (4, 0.75f) })
        processor.setParameter (index, value);
    tick();
    EXPECT_EQ (knob ("decayKnob_").getValue(), 0.75);

    processor.setCurrentProgram (0);
    const auto announcedByTheProgramChange = log.changes.size();
    tick();
    EXPECT_FALSE (button ("bypassButton_").getToggleState());
    EXPECT_TRUE (button ("dualMonoOnButton_").getToggleState());
    EXPECT_EQ (knob ("thresholdKnob_").getValue(), 0.333);
    EXPECT_EQ (knob ("attackKnob_").getValue(), 0.134);
    EXPECT_EQ (knob ("decayKnob_").getValue(), 0.367);
    tick();
    EXPECT_EQ (log.changes.size(), announcedByTheProgramChange);
    EXPECT_EQ (processor.getParameter (2), 1.0f / 3.0f);
}

TEST (Editor, AHostWriteDuringARefreshIsShownByTheNextTick)
{
    InterruptedProcessor processor;
    const HostOpenedEditor opened (processor);
    auto& editor = dynamic_cast<PelmoraTacetorAudioProcessorEditor&> (*opened.get());
    editor.stopTimer();
    auto& threshold = child<OrvaneKnob> (editor, "thresholdKnob_");

    processor.setParameter (2, 0.5f);
    processor.interruptNextDecayRead = true;
    editor.timerCallback();
    EXPECT_EQ (threshold.getValue(), 0.5);

    // The threshold arrived after it had been read: the flag must still say so.
    EXPECT_TRUE (processor.parametersChanged_.load());
    editor.timerCallback();
    EXPECT_EQ (threshold.getValue(), 0.9);
    EXPECT_FALSE (processor.parametersChanged_.load());
}

TEST_F (OpenEditor, GesturesWriteAndAnnounceTheirValues)
{
    open();
    refresh();

    // A knob turned by the user: the slider's own synchronous change, as a drag makes it.
    knob ("thresholdKnob_").setValue (0.5, juce::sendNotificationSync);
    knob ("decayKnob_").setValue (0.2504, juce::sendNotificationSync);
    EXPECT_EQ (processor.getParameter (2), 0.5f);
    EXPECT_EQ (processor.getParameter (4), 0.25f);

    // A double-click puts back the default, written and announced like any other move.
    knob ("attackKnob_").setValue (0.9, juce::sendNotificationSync);
    knob ("attackKnob_").mouseDoubleClick (WidgetTestSupport::mouseEvent (knob ("attackKnob_"), { 48.0f, 36.0f }, {}, 2));
    EXPECT_EQ (processor.getParameter (3), processor.getParameterDefaultValue (3));

    // The switches write the state the click left them in.
    click ("bypassButton_");
    click ("dualMonoOnButton_");
    click ("bypassButton_");

    using Change = std::pair<int, float>;
    const std::vector<Change> expected { { 2, 0.5f }, { 4, 0.25f }, { 3, 0.9f }, { 3, 0.134f }, { 0, 0.0f }, { 1, 1.0f }, { 0, 1.0f } };
    EXPECT_EQ (log.changes, expected);
    EXPECT_EQ (log.gestures, 0);
    EXPECT_EQ (processor.getParameter (0), 1.0f);
    EXPECT_EQ (processor.getParameter (1), 1.0f);

    // Writing raised the flag; the refresh it causes shows the same values and says nothing.
    EXPECT_TRUE (processor.parametersChanged_.load());
    refresh();
    EXPECT_EQ (log.changes, expected);
}

TEST_F (OpenEditor, TheLogoOpensTheAboutPanelEvenWhereItOverlapsTheFootswitch)
{
    open();
    refresh();
    auto& panel = child<OrvaneSplashScreen> (*editor, "aboutContainer_");
    auto& footswitch = button ("bypassButton_");

    // The overlap: the click area was added later, so it takes the press.
    editor->setVisible (true);
    EXPECT_TRUE (footswitch.getBounds().contains (230, 330));
    auto* pressed = editor->getComponentAt (230, 330);
    ASSERT_EQ (pressed, &button ("aboutShowButton_"));

    for (int opening = 0; opening < 2; ++opening)
    {
        click ("aboutShowButton_");
        EXPECT_TRUE (panel.isVisible());
        EXPECT_EQ (child<juce::Label> (panel, "versionLabel_").getText(), "1.0.0 (64bit)");

        // The card takes every press over the pedal but its bottom row, without the
        // framework's modal state (which would hold up every other window of the process).
        EXPECT_EQ (editor->getComponentAt (230, 330), &panel);
        EXPECT_EQ (editor->getComponentAt (324, 364), &panel);
        EXPECT_EQ (editor->getComponentAt (200, 74), &child<juce::Label> (panel, "versionLabel_"));
        EXPECT_EQ (editor->getComponentAt (160, 365), editor);
        EXPECT_FALSE (panel.isCurrentlyModal (false));
        panel.hidePanel();
    }

    EXPECT_TRUE (footswitch.getToggleState());
    EXPECT_EQ (processor.getParameter (0), 1.0f);
    EXPECT_TRUE (log.changes.empty());
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);
}

TEST (Editor, OpensAndClosesTwoHundredTimes)
{
    // Run in a sanitizer build, the leak checker reports anything left behind at exit; here
    // the visible traces of an editor must be gone each time.
    PelmoraTacetorAudioProcessor processor;
    const int desktopWindows = juce::Desktop::getInstance().getNumComponents();

    for (int opening = 0; opening < 200; ++opening)
    {
        HostOpenedEditor editor (processor);
        ASSERT_NE (editor.get(), nullptr);

        // Every tenth time the about panel is up when the host closes the window.
        if (opening % 10 == 0)
            dynamic_cast<PelmoraTacetorAudioProcessorEditor&> (*editor.get()).buttonClicked (&child<juce::Button> (*editor.get(), "aboutShowButton_"));

        editor.close();
        ASSERT_EQ (processor.getActiveEditor(), nullptr);
    }

    WidgetTestSupport::pump (20);
    EXPECT_EQ (juce::Desktop::getInstance().getNumComponents(), desktopWindows);
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);
}
