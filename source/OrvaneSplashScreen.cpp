#include "OrvaneSplashScreen.h"

#include "EmbeddedImages.h"
#include "PedalGeometry.h"

OrvaneSplashScreen::OrvaneSplashScreen (const juce::String& name)
    : juce::Component (name)
{
    splashImage_.setImage (EmbeddedImages::decodeAbout());
    splashImage_.setDoubleSizeImage ([]
                                     { return EmbeddedImages::decodeDoubleSize (EmbeddedImages::Picture::about); });
    setSize (splashImage_.getFrameWidth(), splashImage_.getFrameHeight());

    // Screen readers find the version inside the card.
    setFocusContainerType (FocusContainerType::focusContainer);
    setMouseClickGrabsKeyboardFocus (false);

    versionLabel_ = std::make_unique<juce::Label> ("versionLabel_", juce::String());
    addAndMakeVisible (versionLabel_.get());

    // The label's rectangle sits right of the colon after the picture's "Version" caption.
    versionLabel_->setBounds (PedalGeometry::versionLabel);
    versionLabel_->setJustificationType (juce::Justification::bottomLeft);
    versionLabel_->setColour (juce::Label::textColourId, juce::Colour (0xFFD3D3D3));
    versionLabel_->setMouseClickGrabsKeyboardFocus (false);

    setVisible (false);
}

OrvaneSplashScreen::~OrvaneSplashScreen()
{
    versionLabel_.reset();
}

void OrvaneSplashScreen::setVersionText (const juce::String& text)
{
    versionLabel_->setText (text, juce::dontSendNotification);
}

void OrvaneSplashScreen::showPanel()
{
    // Above every sibling, or a sibling added later would still take the pointer.
    toFront (false);
    setVisible (true);
}

void OrvaneSplashScreen::hidePanel()
{
    setVisible (false);
}

void OrvaneSplashScreen::mouseDown (const juce::MouseEvent&)
{
    hidePanel();
}

void OrvaneSplashScreen::paint (juce::Graphics& g)
{
    splashImage_.drawFrame (g, 0, getLocalBounds());
}

std::unique_ptr<juce::AccessibilityHandler> OrvaneSplashScreen::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler> (*this, juce::AccessibilityRole::dialogWindow);
}
