#include "OrvaneSplashScreen.h"
#include "EmbeddedImages.h"
#include "Orvane4StateButton3PDT.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace WidgetTestSupport;

namespace
{
juce::Label& versionLabelOf (OrvaneSplashScreen& panel)
{
    for (auto* child : panel.getChildren())
        if (child->getName() == "versionLabel_")
            if (auto* label = dynamic_cast<juce::Label*> (child))
                return *label;

    throw std::runtime_error ("the panel has no versionLabel_");
}

int numModalComponents() { return juce::ModalComponentManager::getInstance()->getNumModalComponents(); }

struct KeyCounter : juce::KeyListener
{
    bool keyPressed (const juce::KeyPress&, juce::Component*) override
    {
        ++keys;
        return false;
    }

    int keys = 0;
};
} // namespace

TEST (OrvaneSplashScreen, StartsHiddenAtThePictureSizeWithAnEmptyVersionLabel)
{
    OrvaneSplashScreen panel ("aboutContainer_");
    EXPECT_FALSE (panel.isVisible());
    EXPECT_FALSE (panel.isCurrentlyModal (false));
    EXPECT_EQ (panel.getBounds(), juce::Rectangle<int> (0, 0, 325, 365));

    auto& label = versionLabelOf (panel);
    EXPECT_TRUE (label.isVisible());
    EXPECT_EQ (label.getText(), "");
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (150, 66, 100, 16));
    EXPECT_EQ (label.getJustificationType(), juce::Justification (juce::Justification::bottomLeft));
    EXPECT_EQ (label.findColour (juce::Label::textColourId), juce::Colour (0xFFD3D3D3));
    EXPECT_EQ (label.getFont().getHeight(), 15.0f);
    EXPECT_EQ (label.getFont().getStyleFlags(), juce::Font::plain);
    EXPECT_FALSE (label.isEditable());

    // With no version yet, the panel is the about picture pixel for pixel.
    const auto picture = EmbeddedImages::decodeAbout();
    const auto painted = snapshot (panel);
    int differing = 0;
    for (int y = 0; y < picture.getHeight(); ++y)
        for (int x = 0; x < picture.getWidth(); ++x)
            differing += painted.getPixelAt (x, y) != picture.getPixelAt (x, y) ? 1 : 0;
    EXPECT_EQ (differing, 0);

    panel.setVersionText (juce::String ("1.0.0") + " (64bit)");
    EXPECT_EQ (label.getText(), "1.0.0 (64bit)");
}

TEST (OrvaneSplashScreen, ShowingTwiceIsModalOnceAndAPressOutsideTheLabelHidesIt)
{
    juce::Component pedal;
    pedal.setSize (325, 366);
    OrvaneSplashScreen panel ("aboutContainer_");
    pedal.addChildComponent (panel);
    Orvane4StateButton3PDT footswitch ("bypassButton_");
    pedal.addAndMakeVisible (footswitch);

    ASSERT_EQ (numModalComponents(), 0);
    panel.showPanel();
    panel.showPanel();
    EXPECT_TRUE (panel.isVisible());
    EXPECT_TRUE (panel.isCurrentlyModal (false));
    EXPECT_EQ (numModalComponents(), 1);
    EXPECT_TRUE (footswitch.isCurrentlyBlockedByAnotherModalComponent());

    // A press in the label's rectangle reaches the label, which ignores it.
    auto& label = versionLabelOf (panel);
    EXPECT_EQ (panel.getComponentAt (150, 66), &label);
    EXPECT_EQ (panel.getComponentAt (249, 81), &label);
    EXPECT_EQ (panel.getComponentAt (250, 81), &panel);
    static_cast<juce::Component&> (label).mouseDown (mouseEvent (label, {10.0f, 8.0f}));
    EXPECT_TRUE (panel.isVisible());

    // Keys are not the panel's business.
    EXPECT_FALSE (panel.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
    EXPECT_TRUE (panel.isVisible());

    // Any press on the panel itself, whatever the button, hides it and ends the modal state.
    panel.mouseDown (mouseEvent (panel, {5.0f, 300.0f}, juce::ModifierKeys::rightButtonModifier | juce::ModifierKeys::shiftModifier));
    EXPECT_FALSE (panel.isVisible());
    EXPECT_FALSE (panel.isCurrentlyModal (false));
    EXPECT_EQ (numModalComponents(), 0);
    EXPECT_FALSE (footswitch.isCurrentlyBlockedByAnotherModalComponent());

    panel.hidePanel();
    EXPECT_FALSE (panel.isVisible());

    // It can be shown again after being dismissed.
    panel.showPanel();
    EXPECT_EQ (numModalComponents(), 1);
    panel.hidePanel();
    pump (20);
}

TEST (OrvaneSplashScreen, RealPointerAndKeysOnAWindow)
{
    if (! hasDisplay())
        GTEST_SKIP() << "DISPLAY is not set: this test needs an X server (run it under xvfb-run)";

    const RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());

    // The panel over part of a window, a footswitch beside it so the modal block is visible.
    juce::Component window;
    OrvaneSplashScreen panel ("aboutContainer_");
    Orvane4StateButton3PDT footswitch ("bypassButton_");
    footswitch.setImage (EmbeddedImages::decodeFootswitch());
    window.addAndMakeVisible (footswitch);
    window.addChildComponent (panel);
    footswitch.setBounds (360, 40, 90, 99);
    panel.setVersionText (juce::String ("1.0.0") + " (64bit)");

    struct Clicks : juce::Button::Listener
    {
        void buttonClicked (juce::Button*) override { ++count; }
        int count = 0;
    } clicks;
    footswitch.addListener (&clicks);
    KeyCounter keys;
    panel.addKeyListener (&keys);

    window.setBounds (20, 20, 480, 380);
    window.addToDesktop (0);
    window.setVisible (true);
    ASSERT_TRUE (pumpUntil ([&]
                            { return window.isShowing(); }));
    pump (200);

    panel.showPanel();
    pump (100);
    screenshotIfRequested ("about-panel-shown");

    // The modal panel keeps the pointer away from the rest of the window.
    ASSERT_TRUE (movePointerTo (footswitch, {45, 50}));
    ASSERT_TRUE (xdotool ("click 1"));
    pump (200);
    EXPECT_EQ (clicks.count, 0);

    // A press on the version text leaves the panel up; so do keys.
    ASSERT_TRUE (movePointerTo (panel, {200, 74}));
    ASSERT_TRUE (xdotool ("click 1"));
    pump (200);
    EXPECT_TRUE (panel.isVisible());
    ASSERT_TRUE (xdotool ("key Escape key Return key space"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return keys.keys == 3; }));
    EXPECT_TRUE (panel.isVisible());
    EXPECT_TRUE (panel.isCurrentlyModal (false));

    // A press anywhere else on the panel dismisses it; the footswitch works again.
    ASSERT_TRUE (movePointerTo (panel, {160, 300}));
    ASSERT_TRUE (xdotool ("click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return ! panel.isVisible(); }));
    EXPECT_FALSE (panel.isCurrentlyModal (false));
    ASSERT_TRUE (movePointerTo (footswitch, {45, 50}));
    ASSERT_TRUE (xdotool ("click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return clicks.count == 1; }));
    EXPECT_TRUE (footswitch.getToggleState());

    panel.removeKeyListener (&keys);
    footswitch.removeListener (&clicks);
}
