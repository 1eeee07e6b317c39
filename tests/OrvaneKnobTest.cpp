#include "ParameterText.h"
#include "TacetorAttackKnob.h"
#include "TacetorDecayKnob.h"
#include "TacetorThresholdKnob.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace WidgetTestSupport;

namespace
{
constexpr int frameWidth = 12;
constexpr int frameHeight = 9;

/** Counts value changes and remembers the value each one saw. */
struct ValueRecorder : juce::Slider::Listener
{
    void sliderValueChanged (juce::Slider* slider) override
    {
        ++calls;
        lastValue = slider->getValue();
    }

    int calls = 0;
    double lastValue = -1.0;
};

/** A threshold knob one synthetic frame in size, listened to. */
struct KnobFixture : testing::Test
{
    KnobFixture()
    {
        knob.setImage (makeStrip (OrvaneKnob::numFrames, frameWidth, frameHeight));
        knob.setBounds (0, 0, frameWidth, frameHeight);
        knob.addListener (&recorder);
    }

    ~KnobFixture() override { knob.removeListener (&recorder); }

    int frameFor (double value)
    {
        knob.setValue (value, juce::dontSendNotification);
        return shownFrame (snapshot (knob), OrvaneKnob::numFrames);
    }

    TacetorThresholdKnob knob { "thresholdKnob_" };
    ValueRecorder recorder;
};
} // namespace

TEST_F (KnobFixture, ShowsTheCeilingFrameOfTheSnappedValue)
{
    struct Case
    {
        double value;
        int frame;
    };

    // Values just above a frame position show the next frame; so do step values whose
    // double product with 100 lands a hair above a whole number (0.07, 0.14, ...).
    const Case cases[] = {
        { 0.0, 0 },
        { 0.001, 1 },
        { 0.01, 1 },
        { 0.011, 2 },
        { 0.07, 8 },
        { 0.14, 15 },
        { 0.28, 29 },
        { 0.5, 50 },
        { 0.55, 56 },
        { 0.56, 57 },
        { 0.57, 58 },
        { 0.999, 100 },
        { 1.0, 100 },
        { 1.0 / 3.0, 34 },
        { 0.0004, 0 },
        { -0.5, 0 },
        { 7.0, 100 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (frameFor (c.value), c.frame) << "value " << c.value;

    knob.setValue (1.0 / 3.0, juce::dontSendNotification);
    EXPECT_EQ (knob.getValue(), 0.333);
    EXPECT_EQ (recorder.calls, 0);
}

TEST_F (KnobFixture, DrawsNothingWithoutAPictureAndStretchesToItsBounds)
{
    TacetorDecayKnob bare ("decayKnob_");
    bare.setBounds (0, 0, frameWidth, frameHeight);
    EXPECT_TRUE (isBlank (snapshot (bare)));

    // Strip rows below the last whole frame are never shown.
    knob.setImage (makeStrip (OrvaneKnob::numFrames, frameWidth, frameHeight, frameHeight - 1));
    EXPECT_EQ (frameFor (1.0), 100);

    knob.setBounds (0, 0, frameWidth * 4, frameHeight * 4);
    knob.setValue (0.42, juce::dontSendNotification);
    const auto stretched = snapshot (knob);
    EXPECT_EQ (frameAt (stretched, 0, 0), 42);
    EXPECT_EQ (frameAt (stretched, knob.getWidth() - 3, knob.getHeight() - 3), 42);

    knob.setImage (juce::Image());
    EXPECT_TRUE (isBlank (snapshot (knob)));
}

TEST (OrvaneKnob, ProductSizedStripShowsItsLastFrameFromRow7300)
{
    TacetorAttackKnob knob ("attackKnob_");
    knob.setImage (makeStrip (OrvaneKnob::numFrames, 96, 73));
    ASSERT_EQ (knob.getHeight(), 0);
    knob.setBounds (0, 0, 96, 73);

    knob.setValue (1.0, juce::dontSendNotification);
    EXPECT_EQ (shownFrame (snapshot (knob), OrvaneKnob::numFrames), 100);
    knob.setValue (0.0, juce::dontSendNotification);
    EXPECT_EQ (shownFrame (snapshot (knob), OrvaneKnob::numFrames), 0);
}

TEST_F (KnobFixture, NotANumberShowsTheFirstFrameInsteadOfReadingOutsideTheStrip)
{
    // The slider stores NaN as given; the frame index must still land inside the strip.
    EXPECT_EQ (frameFor (std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_TRUE (std::isnan (knob.getValue()));
}

TEST_F (KnobFixture, VerticalDragCoversTheRangeIn250PixelsAndStopsAtTheEnd)
{
    knob.setBounds (0, 0, 96, 73);
    const juce::Point<float> start (48.0f, 36.0f);

    knob.mouseDown (mouseEvent (knob, start, juce::ModifierKeys::leftButtonModifier, 1, start));
    knob.mouseDrag (mouseEvent (knob, start.translated (0.0f, -125.0f), juce::ModifierKeys::leftButtonModifier, 1, start));
    EXPECT_EQ (knob.getValue(), 0.5);
    EXPECT_EQ (recorder.lastValue, 0.5) << "a drag notifies synchronously";

    knob.mouseDrag (mouseEvent (knob, start.translated (30.0f, -400.0f), juce::ModifierKeys::leftButtonModifier, 1, start));
    EXPECT_EQ (knob.getValue(), 1.0);

    knob.mouseDrag (mouseEvent (knob, start.translated (0.0f, -25.0f), juce::ModifierKeys::leftButtonModifier, 1, start));
    EXPECT_EQ (knob.getValue(), 0.1) << "the drag is absolute: back down to 25 pixels above the start";
    knob.mouseUp (mouseEvent (knob, start.translated (0.0f, -25.0f), juce::ModifierKeys(), 1, start));
}

TEST_F (KnobFixture, VelocityModeOnlyWhileCtrlIsHeld)
{
    knob.setBounds (0, 0, 96, 73);
    const juce::Point<float> start (48.0f, 36.0f);
    const auto ctrl = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::ctrlModifier);

    // One 125-pixel move in velocity mode advances by the mode's top speed, 0.2 of the range,
    // where an absolute drag would reach 0.5.
    knob.mouseDown (mouseEvent (knob, start, ctrl, 1, start));
    knob.mouseDrag (mouseEvent (knob, start.translated (0.0f, -125.0f), ctrl, 1, start));
    EXPECT_NEAR (knob.getValue(), 0.2, 0.0005);
    knob.mouseUp (mouseEvent (knob, start.translated (0.0f, -125.0f), juce::ModifierKeys(), 1, start));
}

TEST_F (KnobFixture, DoubleClickAndAltClickResetWithASynchronousNotification)
{
    knob.setDoubleClickReturnValue (true, 0.25);
    const juce::Point<float> centre (6.0f, 4.0f);

    knob.setValue (0.8, juce::dontSendNotification);
    knob.mouseDoubleClick (mouseEvent (knob, centre, juce::ModifierKeys::leftButtonModifier, 2, centre));
    EXPECT_EQ (knob.getValue(), 0.25);
    EXPECT_EQ (recorder.calls, 1) << "the listener runs before the double-click returns";

    const auto alt = juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::altModifier;
    for (const int extra : { 0, static_cast<int> (juce::ModifierKeys::ctrlModifier), static_cast<int> (juce::ModifierKeys::shiftModifier) })
    {
        knob.setValue (0.8, juce::dontSendNotification);
        recorder.calls = 0;
        knob.mouseDown (mouseEvent (knob, centre, juce::ModifierKeys (alt | extra), 1, centre));
        knob.mouseUp (mouseEvent (knob, centre, juce::ModifierKeys(), 1, centre));
        EXPECT_EQ (knob.getValue(), 0.25) << "modifiers " << (alt | extra);
        EXPECT_EQ (recorder.calls, 1);
    }

    // A plain click is no reset, and a knob without a reset value ignores Alt.
    knob.setValue (0.8, juce::dontSendNotification);
    knob.mouseDown (mouseEvent (knob, centre, juce::ModifierKeys::leftButtonModifier, 1, centre));
    knob.mouseUp (mouseEvent (knob, centre, juce::ModifierKeys(), 1, centre));
    EXPECT_EQ (knob.getValue(), 0.8);

    knob.setDoubleClickReturnValue (false, 0.25);
    knob.mouseDown (mouseEvent (knob, centre, juce::ModifierKeys (alt), 1, centre));
    knob.mouseUp (mouseEvent (knob, centre, juce::ModifierKeys(), 1, centre));
    EXPECT_EQ (knob.getValue(), 0.8);
}

TEST_F (KnobFixture, ProgrammaticValuesReachNoListener)
{
    knob.setValue (0.123, juce::dontSendNotification);
    knob.setValue (0.9, juce::dontSendNotification);
    ASSERT_TRUE (deliverPending());
    EXPECT_EQ (recorder.calls, 0);
    EXPECT_EQ (frameFor (0.9), 90);
}

TEST_F (KnobFixture, KeysTurnItFrameByFrameAndDeliverEachChangeLikeADrag)
{
    struct Gestures : juce::Slider::Listener
    {
        void sliderValueChanged (juce::Slider*) override { log += "v"; }
        void sliderDragStarted (juce::Slider*) override { log += "("; }
        void sliderDragEnded (juce::Slider*) override { log += ")"; }
        juce::String log;
    } gestures;
    knob.addListener (&gestures);

    const auto press = [this] (int key, int modifiers = 0)
    { return knob.keyPressed (juce::KeyPress (key, juce::ModifierKeys (modifiers), 0)); };
    const auto shown = [this]
    { return shownFrame (snapshot (knob), OrvaneKnob::numFrames); };

    // One step is one frame of the strip; Shift gives the slider's own interval.
    knob.setValue (0.134, juce::dontSendNotification);
    ASSERT_EQ (shown(), 14);
    const struct
    {
        int key, modifiers;
        double value;
        int frame;
    } steps[] = {
        { juce::KeyPress::upKey, 0, 0.144, 15 },
        { juce::KeyPress::rightKey, 0, 0.154, 16 },
        { juce::KeyPress::downKey, 0, 0.144, 15 },
        { juce::KeyPress::upKey, juce::ModifierKeys::shiftModifier, 0.145, 15 },
        { juce::KeyPress::leftKey, juce::ModifierKeys::shiftModifier, 0.144, 15 },
        { juce::KeyPress::pageUpKey, 0, 0.244, 25 },
        { juce::KeyPress::pageDownKey, 0, 0.144, 15 },
        { juce::KeyPress::endKey, 0, 1.0, 100 },
        { juce::KeyPress::upKey, 0, 1.0, 100 },
        { juce::KeyPress::homeKey, 0, 0.0, 0 },
        { juce::KeyPress::pageDownKey, 0, 0.0, 0 },
    };
    for (const auto& step : steps)
    {
        EXPECT_TRUE (press (step.key, step.modifiers));
        EXPECT_NEAR (knob.getValue(), step.value, 1.0e-9) << step.key;
        EXPECT_EQ (shown(), step.frame) << step.key;
    }

    // A drag notification around every key, a value change wherever the value moved.
    EXPECT_EQ (gestures.log, "(v)(v)(v)(v)(v)(v)(v)(v)()(v)()");

    // Host shortcuts and the keys of other controls are left alone.
    knob.setValue (0.5, juce::dontSendNotification);
    for (const auto& key : { juce::KeyPress (juce::KeyPress::upKey, juce::ModifierKeys::ctrlModifier, 0),
                             juce::KeyPress (juce::KeyPress::upKey, juce::ModifierKeys::altModifier, 0),
                             juce::KeyPress (juce::KeyPress::spaceKey), juce::KeyPress (juce::KeyPress::returnKey),
                             juce::KeyPress (juce::KeyPress::tabKey) })
        EXPECT_FALSE (knob.keyPressed (key)) << key.getTextDescription();
    EXPECT_EQ (knob.getValue(), 0.5);

    knob.removeListener (&gestures);
}

TEST_F (KnobFixture, AboveOneItDrawsTheDoubleSizeTwinDecodedOnceWhenFirstNeeded)
{
    int decodes = 0;
    knob.setDoubleSizeImage ([&decodes]
                             {
                                 ++decodes;
                                 return makeStrip (OrvaneKnob::numFrames, 2 * frameWidth, 2 * frameHeight); });
    knob.setValue (0.42, juce::dontSendNotification);

    EXPECT_EQ (shownFrame (snapshot (knob), OrvaneKnob::numFrames), 42);
    EXPECT_EQ (decodes, 0) << "nothing drawn at 1x needs the twin";

    // Each pixel of the twin lands on one pixel of the image: its frame, unscaled.
    for (int time = 0; time < 2; ++time)
        EXPECT_EQ (shownFrame (knob.createComponentSnapshot (knob.getLocalBounds(), true, 2.0f), OrvaneKnob::numFrames), 42);
    EXPECT_EQ (decodes, 1);

    // A twin that is not exactly twice the strip is never drawn: the strip, stretched, serves.
    knob.setDoubleSizeImage ([]
                             { return makeStrip (OrvaneKnob::numFrames, 2 * frameWidth + 1, 2 * frameHeight); });
    const auto stretched = knob.createComponentSnapshot (knob.getLocalBounds(), true, 2.0f);
    EXPECT_EQ (frameAt (stretched, 0, 0), 42);
    EXPECT_EQ (shownFrame (stretched, OrvaneKnob::numFrames), noFrame);
}

TEST (OrvaneKnob, EachKnobShowsItsOwnParameterText)
{
    TacetorThresholdKnob threshold ("thresholdKnob_");
    TacetorAttackKnob attack ("attackKnob_");
    TacetorDecayKnob decay ("decayKnob_");

    for (const double value : { 0.0, 0.25, 1.0 })
    {
        EXPECT_EQ (threshold.getTextFromValue (value), ParameterText::thresholdKnobText (value));
        EXPECT_EQ (attack.getTextFromValue (value), ParameterText::attackKnobText (value));
        EXPECT_EQ (decay.getTextFromValue (value), ParameterText::decayKnobText (value));
    }
}
