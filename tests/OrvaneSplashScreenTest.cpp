#include "OrvaneSplashScreen.h"
#include "EmbeddedImages.h"
#include "Orvane4StateButton3PDT.h"
#include "PedalGeometry.h"
#include "support/EditorTestSupport.h"
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
    EXPECT_EQ (panel.getBounds(), PedalGeometry::aboutPanel);

    auto& label = versionLabelOf (panel);
    EXPECT_TRUE (label.isVisible());
    EXPECT_EQ (label.getText(), "");
    // Restated on purpose, not read from PedalGeometry: the picture leaves exactly this space.
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

TEST (OrvaneSplashScreen, ShownItCoversItsSiblingsWithoutModalStateAndAPressOutsideTheLabelHidesIt)
{
    juce::Component pedal;
    pedal.setBounds (PedalGeometry::pedal);
    pedal.setVisible (true);
    OrvaneSplashScreen panel ("aboutContainer_");
    pedal.addChildComponent (panel);
    Orvane4StateButton3PDT footswitch ("bypassButton_");
    pedal.addAndMakeVisible (footswitch);
    footswitch.setBounds (PedalGeometry::footswitch.bounds);

    // Shown twice, even with a sibling added after it: on top, visible, never modal.
    panel.showPanel();
    panel.showPanel();
    EXPECT_TRUE (panel.isVisible());
    EXPECT_EQ (pedal.getComponentAt (260, 300), &panel);
    EXPECT_FALSE (panel.isCurrentlyModal (false));
    EXPECT_EQ (numModalComponents(), 0);

    // A press in the label's rectangle reaches the label, which ignores it.
    auto& label = versionLabelOf (panel);
    const auto area = label.getBounds();
    EXPECT_EQ (panel.getComponentAt (area.getTopLeft()), &label);
    EXPECT_EQ (panel.getComponentAt (area.getRight() - 1, area.getBottom() - 1), &label);
    EXPECT_EQ (panel.getComponentAt (area.getRight(), area.getBottom() - 1), &panel);
    static_cast<juce::Component&> (label).mouseDown (mouseEvent (label, { 10.0f, 8.0f }));
    EXPECT_TRUE (panel.isVisible());

    // Keys are not the panel's business.
    EXPECT_FALSE (panel.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
    EXPECT_TRUE (panel.isVisible());

    // Any press on the panel itself, whatever the button, hides it; the footswitch is
    // reachable again.
    panel.mouseDown (mouseEvent (panel, { 5.0f, 300.0f }, juce::ModifierKeys::rightButtonModifier | juce::ModifierKeys::shiftModifier));
    EXPECT_FALSE (panel.isVisible());
    EXPECT_EQ (pedal.getComponentAt (260, 300), &footswitch);

    panel.hidePanel();
    EXPECT_FALSE (panel.isVisible());

    // It can be shown again after being dismissed, above a sibling added since.
    Orvane4StateButton3PDT later ("later");
    pedal.addAndMakeVisible (later);
    later.setBounds (0, 0, 50, 50);
    panel.showPanel();
    EXPECT_EQ (pedal.getComponentAt (10, 10), &panel);
    panel.hidePanel();
}

TEST (OrvaneSplashScreen, RealPointerAndKeysOnAWindow)
{
    if (const auto why = EditorTestSupport::whyDisplayCannotShowPixels(); why.isNotEmpty())
        GTEST_SKIP() << why;

    const RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());

    // The panel over part of a window, as over an editor that holds the keyboard focus
    // itself: one footswitch under the panel, one beside it.
    juce::Component window;
    window.setWantsKeyboardFocus (true);
    OrvaneSplashScreen panel ("aboutContainer_");
    Orvane4StateButton3PDT covered ("covered");
    Orvane4StateButton3PDT beside ("beside");
    covered.setImage (EmbeddedImages::decodeFootswitch());
    beside.setImage (EmbeddedImages::decodeFootswitch());
    window.addAndMakeVisible (covered);
    window.addAndMakeVisible (beside);
    window.addChildComponent (panel);
    covered.setBounds (PedalGeometry::footswitch.bounds);
    beside.setBounds (PedalGeometry::footswitch.bounds.withPosition (360, 40));
    panel.setVersionText (juce::String ("1.0.0") + " (64bit)");

    struct Clicks : juce::Button::Listener
    {
        void buttonClicked (juce::Button* button) override { ++(button->getName() == "covered" ? onCovered : onBeside); }
        int onCovered = 0, onBeside = 0;
    } clicks;
    covered.addListener (&clicks);
    beside.addListener (&clicks);
    KeyCounter keys;
    window.addKeyListener (&keys);

    window.setBounds (20, 20, 480, 380);
    window.addToDesktop (0);
    window.setVisible (true);
    panel.showPanel();

    // The card, where it is opaque, on the display.
    const juce::Rectangle<int> card (12, 8, 300, 50);
    EXPECT_EQ (EditorTestSupport::differencesAfterWaiting (card + window.getScreenPosition(), EmbeddedImages::decodeAbout().getClippedImage (card)), 0);
    screenshotIfRequested ("about-panel-shown");

    // A press on the version text leaves the panel up; so do keys, which pass it by.
    ASSERT_TRUE (movePointerTo (panel, { 200, 74 }));
    ASSERT_TRUE (xdotool ("click 1 key Escape key Return key space"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return keys.keys == 3; }))
        << keys.keys << " keys";
    EXPECT_TRUE (panel.isVisible());

    // The panel keeps the pointer from what it covers only: the rest of the window works.
    ASSERT_TRUE (movePointerTo (beside, { 45, 50 }));
    ASSERT_TRUE (xdotool ("click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return clicks.onBeside == 1; }));
    EXPECT_TRUE (panel.isVisible());

    // A press anywhere else on the panel dismisses it and clicks nothing under it (the next
    // click beside it, handled after that press, shows that it is done with).
    ASSERT_TRUE (movePointerTo (covered, { 45, 50 }));
    ASSERT_TRUE (xdotool ("click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return ! panel.isVisible(); }));
    ASSERT_TRUE (movePointerTo (beside, { 45, 50 }));
    ASSERT_TRUE (xdotool ("click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return clicks.onBeside == 2; }));
    EXPECT_EQ (clicks.onCovered, 0);
    EXPECT_EQ (numModalComponents(), 0);

    // Now the footswitch it covered works.
    ASSERT_TRUE (movePointerTo (covered, { 45, 50 }));
    ASSERT_TRUE (xdotool ("click 1"));
    ASSERT_TRUE (pumpUntil ([&]
                            { return clicks.onCovered == 1; }));
    EXPECT_TRUE (covered.getToggleState());

    window.removeKeyListener (&keys);
    covered.removeListener (&clicks);
    beside.removeListener (&clicks);
}
