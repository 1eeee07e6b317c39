// The widgets on a real window, worked by the real pointer: xdotool moves and clicks the X
// server's pointer, and the framework's own event path (peer, mouse source, hit testing,
// button states, double-click timing, the slider's desktop pop-up) turns that into calls.
#include "Orvane2StateButton.h"
#include "Orvane2StateKickButton.h"
#include "Orvane4StateButton3PDT.h"
#include "TacetorThresholdKnob.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace WidgetTestSupport;

namespace
{
struct Counter : juce::Button::Listener, juce::Slider::Listener
{
    void buttonClicked (juce::Button*) override { ++clicks; }
    void sliderValueChanged (juce::Slider*) override { ++valueChanges; }

    int clicks = 0;
    int valueChanges = 0;
};

/** A borderless desktop window with one widget of each kind on synthetic strips, placed as
    the editor places them: each widget one frame in size. */
struct PedalWindow : juce::Component
{
    PedalWindow()
    {
        knob.setImage (makeStrip (OrvaneKnob::numFrames, 96, 73));
        footswitch.setImage (makeStrip (4, 90, 99));
        dualMono.setImage (makeStrip (2, 113, 125));

        addAndMakeVisible (knob);
        addAndMakeVisible (footswitch);
        addAndMakeVisible (dualMono);
        addAndMakeVisible (clickArea);
        knob.setBounds (20, 250, 96, 73);
        footswitch.setBounds (300, 150, 90, 99);
        dualMono.setBounds (150, 140, 113, 125);
        clickArea.setBounds (20, 20, 223, 40);

        // As the editor gives it: reset on double-click, pop-up with no parent (so the
        // framework opens it as its own desktop window).
        knob.setDoubleClickReturnValue (true, 0.25);
        knob.setPopupDisplayEnabled (true, false, nullptr);

        knob.addListener (&counter);
        footswitch.addListener (&counter);
        dualMono.addListener (&counter);
        clickArea.addListener (&counter);

        setBounds (30, 30, 420, 360);
        addToDesktop (0);
        setVisible (true);
    }

    ~PedalWindow() override
    {
        knob.removeListener (&counter);
        footswitch.removeListener (&counter);
        dualMono.removeListener (&counter);
        clickArea.removeListener (&counter);
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::darkslategrey); }

    Counter counter;
    TacetorThresholdKnob knob { "thresholdKnob_" };
    Orvane4StateButton3PDT footswitch { "bypassButton_" };
    Orvane2StateButton dualMono { "dualMonoOnButton_" };
    Orvane2StateKickButton clickArea { "aboutShowButton_" };
};

int frameOf (juce::Component& widget, int numFrames) { return shownFrame (snapshot (widget), numFrames); }

bool press() { return xdotool ("mousedown 1"); }
bool release() { return xdotool ("mouseup 1"); }
} // namespace

TEST (WidgetWindow, RealPointerWorksTheSwitchesKnobAndClickArea)
{
    if (! hasDisplay())
        GTEST_SKIP() << "DISPLAY is not set: this test needs an X server (run it under xvfb-run)";

    const RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());
    PedalWindow window;
    ASSERT_TRUE (pumpUntil ([&]
                            { return window.isShowing() && window.getPeer() != nullptr; }));
    auto& counter = window.counter;
    auto& footswitch = window.footswitch;

    // Footswitch, toggle off: hovering changes nothing, holding shows the pressed pose, the
    // completed click lights the LED (the pointer still over it) and notifies once.
    ASSERT_TRUE (movePointerTo (footswitch, { 45, 50 }));
    ASSERT_TRUE (pumpUntil ([&]
                            { return footswitch.isOver(); }));
    EXPECT_EQ (frameOf (footswitch, 4), 0);
    ASSERT_TRUE (press());
    ASSERT_TRUE (pumpUntil ([&]
                            { return footswitch.isDown(); }));
    EXPECT_EQ (frameOf (footswitch, 4), 1);
    ASSERT_TRUE (release());
    ASSERT_TRUE (pumpUntil ([&]
                            { return counter.clicks == 1; }));
    EXPECT_TRUE (footswitch.getToggleState());
    EXPECT_TRUE (footswitch.isOver());
    EXPECT_EQ (frameOf (footswitch, 4), 2);

    ASSERT_TRUE (press());
    ASSERT_TRUE (pumpUntil ([&]
                            { return footswitch.isDown(); }));
    EXPECT_EQ (frameOf (footswitch, 4), 3);
    screenshotIfRequested ("footswitch-held-on");
    ASSERT_TRUE (release());
    ASSERT_TRUE (pumpUntil ([&]
                            { return counter.clicks == 2; }));
    EXPECT_FALSE (footswitch.getToggleState());
    EXPECT_EQ (frameOf (footswitch, 4), 0);

    // Pressed, dragged off the switch and released there: frame 0 as soon as the pointer
    // leaves, nothing flips, nobody is told.
    ASSERT_TRUE (press());
    ASSERT_TRUE (pumpUntil ([&]
                            { return footswitch.isDown(); }));
    ASSERT_TRUE (movePointerTo (footswitch, { 45, 160 }));
    ASSERT_TRUE (pumpUntil ([&]
                            { return ! footswitch.isOver(); }));
    EXPECT_EQ (frameOf (footswitch, 4), 0);
    ASSERT_TRUE (release());
    ASSERT_TRUE (pumpUntil ([]
                            { return ! juce::Desktop::getInstance().getMainMouseSource().isDragging(); }));
    EXPECT_FALSE (footswitch.getToggleState());
    EXPECT_EQ (counter.clicks, 2);

    // Dual-mono switch: holding changes nothing; the picture flips when the click completes.
    auto& dualMono = window.dualMono;
    ASSERT_TRUE (movePointerTo (dualMono, { 56, 60 }));
    ASSERT_TRUE (press());
    ASSERT_TRUE (pumpUntil ([&]
                            { return dualMono.isDown(); }));
    EXPECT_EQ (frameOf (dualMono, 2), 0);
    ASSERT_TRUE (release());
    ASSERT_TRUE (pumpUntil ([&]
                            { return counter.clicks == 3; }));
    EXPECT_EQ (frameOf (dualMono, 2), 1);

    // Click area: one notification per completed click, never a picture.
    auto& clickArea = window.clickArea;
    ASSERT_TRUE (movePointerTo (clickArea, { 100, 20 }));
    ASSERT_TRUE (xdotool ("click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return counter.clicks == 4; }));
    // Two single clicks, not a double click: the X server stamps the second at least 600 ms
    // after the first, more than the double-click time, and a busy machine only adds to that.
    ASSERT_TRUE (xdotool ("sleep 0.6 click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return counter.clicks == 5; }));
    pump (100);
    EXPECT_EQ (counter.clicks, 5);
    EXPECT_FALSE (clickArea.getToggleState());
    EXPECT_TRUE (isBlank (snapshot (clickArea)));

    // Knob: 125 pixels up from 0 is half way, with the value pop-up open on the desktop.
    auto& knob = window.knob;
    ASSERT_TRUE (movePointerTo (knob, { 48, 36 }));
    ASSERT_TRUE (press());
    ASSERT_TRUE (movePointerTo (knob, { 48, 36 - 125 }));
    ASSERT_TRUE (pumpUntil ([&]
                            { return knob.getValue() == 0.5; }));
    EXPECT_EQ (frameOf (knob, OrvaneKnob::numFrames), 50);
    auto* popup = knob.getCurrentPopupDisplay();
    ASSERT_NE (popup, nullptr);
    EXPECT_TRUE (popup->isOnDesktop());
    EXPECT_TRUE (popup->isVisible());
    pump (100);
    screenshotIfRequested ("knob-dragged-with-popup");

    ASSERT_TRUE (movePointerTo (knob, { 48, 36 - 300 }));
    ASSERT_TRUE (pumpUntil ([&]
                            { return knob.getValue() == 1.0; }));
    ASSERT_TRUE (release());
    ASSERT_TRUE (pumpUntil ([&]
                            { return knob.getCurrentPopupDisplay() == nullptr; }));
    EXPECT_GT (counter.valueChanges, 0);

    // Double-click resets to the default and notifies.
    ASSERT_TRUE (movePointerTo (knob, { 48, 36 }));
    ASSERT_TRUE (pumpUntil ([&]
                            { return knob.isMouseOver(); }));
    counter.valueChanges = 0;
    // Both clicks from one xdotool run without pauses, so that they lie well within the
    // double-click time of each other however busy the machine.
    ASSERT_TRUE (xdotool ("mousedown 1 mouseup 1 mousedown 1 mouseup 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return knob.getValue() == 0.25; }));
    EXPECT_EQ (counter.valueChanges, 1);
    EXPECT_EQ (frameOf (knob, OrvaneKnob::numFrames), 25);
}
