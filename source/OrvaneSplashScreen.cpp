#include "OrvaneSplashScreen.h"

#include "EmbeddedImages.h"

OrvaneSplashScreen::OrvaneSplashScreen (const juce::String& name)
    : juce::Component (name)
    , splashImage_ (EmbeddedImages::decodeAbout())
{
    setSize (splashImage_.getWidth(), splashImage_.getHeight());

    versionLabel_ = std::make_unique<juce::Label> ("versionLabel_", juce::String());
    addAndMakeVisible (versionLabel_.get());

    // The label's rectangle sits right of the colon after the picture's "Version" caption.
    versionLabel_->setBounds (150, 66, 100, 16);
    versionLabel_->setJustificationType (juce::Justification::bottomLeft);
    versionLabel_->setColour (juce::Label::textColourId, juce::Colour (0xFFD3D3D3));

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
    // Asking about any modal state, not only the foremost one: a panel already modal under
    // some other modal component must not be registered a second time.
    if (! isCurrentlyModal (false))
        enterModalState (true, nullptr, false);

    setVisible (true);
}

void OrvaneSplashScreen::hidePanel()
{
    exitModalState (1);
    setVisible (false);
}

void OrvaneSplashScreen::mouseDown (const juce::MouseEvent&)
{
    hidePanel();
}

void OrvaneSplashScreen::paint (juce::Graphics& g)
{
    g.drawImage (splashImage_,
                 0, 0, getWidth(), getHeight(),
                 0, 0, splashImage_.getWidth(), splashImage_.getHeight());
}
