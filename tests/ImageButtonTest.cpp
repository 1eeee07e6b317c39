#include "Orvane2StateButton.h"
#include "Orvane2StateKickButton.h"
#include "Orvane4StateButton3PDT.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace WidgetTestSupport;

namespace
{
constexpr int frameWidth = 10;
constexpr int frameHeight = 7;

/** The flag pairs the framework passes: normal, over, down (down implies over). */
struct Flags
{
    bool over, down;
};

constexpr Flags normal { false, false }, over { true, false }, down { true, true };

/** Lets a test call paintButton with the two flags the framework would pass. */
template <class ButtonClass>
struct Exposed : ButtonClass
{
    explicit Exposed (int frames)
        : ButtonClass ("button")
    {
        this->setBounds (0, 0, frameWidth, frameHeight);
        this->setImage (makeStrip (frames, frameWidth, frameHeight));
    }

    /** The frame painted with the flags; blank when nothing was drawn. */
    int frameWith (Flags state, int frames)
    {
        juce::Image image (juce::Image::ARGB, frameWidth, frameHeight, true);
        juce::Graphics g (image);
        this->paintButton (g, state.over, state.down);
        return shownFrame (image, frames);
    }
};

struct ClickCounter : juce::Button::Listener
{
    void buttonClicked (juce::Button*) override { ++clicks; }
    int clicks = 0;
};

} // namespace

TEST (ImageButtons, TwoStateSwitchFollowsTheToggleOnlyWhenToggling)
{
    Exposed<Orvane2StateButton> button (2);
    EXPECT_TRUE (button.getClickingTogglesState());

    for (const bool on : { false, true })
    {
        button.setToggleState (on, juce::dontSendNotification);
        for (const auto flags : { normal, over, down })
            EXPECT_EQ (button.frameWith (flags, 2), on ? 1 : 0);
    }

    button.setClickingTogglesState (false);
    EXPECT_EQ (button.frameWith (normal, 2), 0);
    EXPECT_EQ (button.frameWith (over, 2), 0);
    EXPECT_EQ (button.frameWith (down, 2), 1);
}

TEST (ImageButtons, FourStateButtonFrameTable)
{
    Exposed<Orvane4StateButton> button (4);

    button.setToggleState (false, juce::dontSendNotification);
    EXPECT_EQ (button.frameWith (normal, 4), 0);
    EXPECT_EQ (button.frameWith (over, 4), 1);
    EXPECT_EQ (button.frameWith (down, 4), 1);

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_EQ (button.frameWith (normal, 4), 3);
    EXPECT_EQ (button.frameWith (over, 4), 2);
    EXPECT_EQ (button.frameWith (down, 4), 2);

    button.setClickingTogglesState (false);
    for (const bool on : { false, true })
    {
        button.setToggleState (on, juce::dontSendNotification);
        EXPECT_EQ (button.frameWith (normal, 4), 0);
        EXPECT_EQ (button.frameWith (over, 4), 1);
        EXPECT_EQ (button.frameWith (down, 4), 2);
    }
}

TEST (ImageButtons, FootswitchShowsTheLedByToggleAndThePoseByPress)
{
    Exposed<Orvane4StateButton3PDT> button (4);

    for (const bool on : { false, true })
    {
        button.setToggleState (on, juce::dontSendNotification);
        const int led = on ? 2 : 0;
        EXPECT_EQ (button.frameWith (normal, 4), led);
        EXPECT_EQ (button.frameWith (over, 4), led);
        EXPECT_EQ (button.frameWith (down, 4), led + 1);
    }

    button.setClickingTogglesState (false);
    for (const auto flags : { normal, over, down })
        EXPECT_EQ (button.frameWith (flags, 4), 0);
}

TEST (ImageButtons, KickButtonDrawsItsPressedPictureOnlyWhileDown)
{
    Exposed<Orvane2StateKickButton> strip (2);
    EXPECT_FALSE (strip.getClickingTogglesState());
    EXPECT_EQ (strip.frameWith (normal, 2), 0);
    EXPECT_EQ (strip.frameWith (over, 2), 0);
    EXPECT_EQ (strip.frameWith (down, 2), 1);

    // Two separate pictures: frame 3 of a synthetic strip stands for the pressed picture.
    const auto pictures = makeStrip (4, frameWidth, frameHeight);
    const auto released = pictures.getClippedImage ({ 0, 0, frameWidth, frameHeight });
    const auto pressed = pictures.getClippedImage ({ 0, 3 * frameHeight, frameWidth, frameHeight });

    strip.setImages (released, pressed);
    EXPECT_EQ (strip.frameWith (over, 4), 0);
    EXPECT_NE (strip.frameWith (down, 4), blank);

    strip.setImages (released, juce::Image());
    for (const auto flags : { normal, over, down })
        EXPECT_EQ (strip.frameWith (flags, 4), blank);
}

TEST (ImageButtons, OnlyTheFourStateButtonsDimWhenDisabled)
{
    juce::Component parent;
    Orvane4StateButton3PDT footswitch ("bypassButton_");
    Orvane2StateButton dualMono ("dualMonoOnButton_");

    for (juce::Button* button : std::initializer_list<juce::Button*> { &footswitch, &dualMono })
    {
        parent.addAndMakeVisible (button);
        button->setBounds (0, 0, frameWidth, frameHeight);
    }

    footswitch.setImage (makeStrip (4, frameWidth, frameHeight));
    dualMono.setImage (makeStrip (2, frameWidth, frameHeight));
    footswitch.setToggleState (true, juce::dontSendNotification);

    const auto expectAlpha = [] (juce::Button& button, int alpha, int frame)
    {
        const auto pixel = snapshot (button).getPixelAt (3, 2);
        EXPECT_NEAR (pixel.getAlpha(), alpha, 1) << button.getName();
        EXPECT_NEAR (pixel.getRed(), stripPixel (frame, 3, 2).getRed(), 2) << button.getName();
    };

    expectAlpha (footswitch, 255, 2);

    footswitch.setEnabled (false);
    dualMono.setEnabled (false);
    expectAlpha (footswitch, 102, 2);
    expectAlpha (dualMono, 255, 0);

    // A disabled parent disables the switch it holds.
    footswitch.setEnabled (true);
    parent.setEnabled (false);
    expectAlpha (footswitch, 102, 2);
}

TEST (ImageButtons, FrameGeometryComesFromTheStrip)
{
    Orvane4StateButton3PDT footswitch ("bypassButton_");
    EXPECT_EQ (footswitch.getFrameHeight(), 0);
    EXPECT_EQ (footswitch.getFrameWidth(), 0);

    footswitch.setImage (juce::Image (juce::Image::RGB, 90, 396, true));
    EXPECT_EQ (footswitch.getFrameHeight(), 99);
    EXPECT_EQ (footswitch.getFrameWidth(), 90);

    // A two-state strip of 113 × 250 holds two frames of 113 × 125.
    Orvane2StateButton dualMono ("dualMonoOnButton_");
    dualMono.setImage (makeStrip (2, 113, 125));
    dualMono.setBounds (0, 0, 113, 125);
    dualMono.setToggleState (true, juce::dontSendNotification);
    EXPECT_EQ (shownFrame (snapshot (dualMono), 2), 1);
}

TEST (ImageButtons, FootswitchClickSequenceFlipsOnReleaseAndNotifiesOnce)
{
    // Without a window the framework's pointer is over nothing, so events are handed to the
    // button directly: a press counts as over the button, a drag as having left it.
    Orvane4StateButton3PDT footswitch ("bypassButton_");
    footswitch.setImage (makeStrip (4, frameWidth, frameHeight));
    footswitch.setBounds (0, 0, frameWidth, frameHeight);
    footswitch.setVisible (true);
    juce::Component& handlers = footswitch;
    ClickCounter counter;
    footswitch.addListener (&counter);

    const juce::Point<float> inside (5.0f, 3.0f);
    const auto frame = [&]
    { return shownFrame (snapshot (footswitch), 4); };

    handlers.mouseEnter (mouseEvent (footswitch, inside, {}));
    EXPECT_EQ (frame(), 0);
    handlers.mouseDown (mouseEvent (footswitch, inside));
    EXPECT_EQ (frame(), 1);
    handlers.mouseUp (mouseEvent (footswitch, inside, {}));
    EXPECT_TRUE (footswitch.getToggleState());
    EXPECT_EQ (counter.clicks, 1);
    EXPECT_EQ (frame(), 2);

    handlers.mouseDown (mouseEvent (footswitch, inside));
    EXPECT_EQ (frame(), 3);
    handlers.mouseUp (mouseEvent (footswitch, inside, {}));
    EXPECT_FALSE (footswitch.getToggleState());
    EXPECT_EQ (counter.clicks, 2);
    EXPECT_EQ (frame(), 0);

    // Pressed, dragged away and released there: back to frame 0, nothing flips.
    handlers.mouseDown (mouseEvent (footswitch, inside));
    handlers.mouseDrag (mouseEvent (footswitch, { 50.0f, 50.0f }, juce::ModifierKeys::leftButtonModifier, 1, inside));
    EXPECT_EQ (frame(), 0);
    handlers.mouseUp (mouseEvent (footswitch, { 50.0f, 50.0f }, {}, 1, inside));
    EXPECT_FALSE (footswitch.getToggleState());
    EXPECT_EQ (counter.clicks, 2);

    footswitch.setToggleState (true, juce::dontSendNotification);
    EXPECT_EQ (frame(), 2);
    EXPECT_EQ (counter.clicks, 2);

    footswitch.removeListener (&counter);
}

TEST (ImageButtons, ClickAreaDrawsNothingAndClicksOncePerClick)
{
    Orvane2StateKickButton area ("aboutShowButton_");
    area.setBounds (0, 0, 223, 40);
    area.setVisible (true);
    juce::Component& handlers = area;
    ClickCounter counter;
    area.addListener (&counter);

    const juce::Point<float> inside (100.0f, 20.0f);
    EXPECT_TRUE (isBlank (snapshot (area)));

    for (int click = 1; click <= 3; ++click)
    {
        handlers.mouseEnter (mouseEvent (area, inside, {}));
        handlers.mouseDown (mouseEvent (area, inside));
        EXPECT_TRUE (area.isDown());
        EXPECT_TRUE (isBlank (snapshot (area)));
        handlers.mouseUp (mouseEvent (area, inside, {}));
        ASSERT_TRUE (deliverPending());
        EXPECT_EQ (counter.clicks, click);
        EXPECT_FALSE (area.getToggleState());
        EXPECT_TRUE (isBlank (snapshot (area)));
    }

    area.removeListener (&counter);
}

TEST (ImageButtons, SpaceOrReturnOnAFocusedSwitchClicksItAsTheMouseDoes)
{
    Orvane2StateButton dualMono ("dualMonoOnButton_");
    dualMono.setImage (makeStrip (2, frameWidth, frameHeight));
    dualMono.setBounds (0, 0, frameWidth, frameHeight);
    dualMono.setVisible (true);
    ClickCounter counter;
    dualMono.addListener (&counter);

    EXPECT_TRUE (dualMono.keyPressed (juce::KeyPress (juce::KeyPress::spaceKey)));
    ASSERT_TRUE (pumpUntil ([&]
                            { return counter.clicks == 1; }));
    EXPECT_TRUE (dualMono.getToggleState());
    EXPECT_TRUE (dualMono.keyPressed (juce::KeyPress (juce::KeyPress::returnKey)));
    ASSERT_TRUE (pumpUntil ([&]
                            { return counter.clicks == 2; }));
    EXPECT_FALSE (dualMono.getToggleState());

    // Space with a modifier, arrows and Tab are not the switch's.
    for (const auto& key : { juce::KeyPress (juce::KeyPress::spaceKey, juce::ModifierKeys::ctrlModifier, 0),
                             juce::KeyPress (juce::KeyPress::upKey), juce::KeyPress (juce::KeyPress::tabKey) })
        EXPECT_FALSE (dualMono.keyPressed (key)) << key.getTextDescription();

    // Disabled, it takes no keys at all.
    dualMono.setEnabled (false);
    EXPECT_FALSE (dualMono.keyPressed (juce::KeyPress (juce::KeyPress::spaceKey)));

    dualMono.removeListener (&counter);
}
