#include "TacetorStandaloneWindow.h"

#include <iostream>

namespace
{
juce::Array<juce::StandalonePluginHolder::PluginInOuts> channelConfigurations()
{
    const juce::StandalonePluginHolder::PluginInOuts configurations[] = { JucePlugin_PreferredChannelConfigurations };
    return { configurations, juce::numElementsInArray (configurations) };
}
} // namespace

TacetorStandaloneWindow::TacetorStandaloneWindow (const juce::String& title, juce::PropertySet* settings)
    : StandaloneFilterWindow (title,
                              juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId),
                              settings,
                              false,
                              {},
                              nullptr,
                              channelConfigurations())
    , notice_ ([this]
               { pluginHolder->showAudioSettingsDialog(); })
{
    Component::addChildComponent (notice_);
    getDeviceManager().addChangeListener (this);
    updateNotice();
}

TacetorStandaloneWindow::~TacetorStandaloneWindow()
{
    getDeviceManager().removeChangeListener (this);
}

juce::BorderSize<int> TacetorStandaloneWindow::getContentComponentBorder()
{
    auto border = StandaloneFilterWindow::getContentComponentBorder();

    if (notice_.isVisible())
        border.setTop (border.getTop() + AudioDeviceNotice::height);

    return border;
}

void TacetorStandaloneWindow::resized()
{
    StandaloneFilterWindow::resized();

    const auto border = StandaloneFilterWindow::getContentComponentBorder();
    notice_.setBounds (border.getLeft(), border.getTop(), getWidth() - border.getLeftAndRight(), AudioDeviceNotice::height);
}

void TacetorStandaloneWindow::changeListenerCallback (juce::ChangeBroadcaster*)
{
    updateNotice();
}

void TacetorStandaloneWindow::updateNotice()
{
    const bool missing = getDeviceManager().getCurrentAudioDevice() == nullptr;

    if (missing == notice_.isVisible())
        return;

    if (missing)
        std::cerr << JucePlugin_Name ": " << AudioDeviceNotice::describeMissingDevice (getDeviceManager()) << std::endl;

    notice_.setVisible (missing);

    // The window grows or shrinks by the notice; the pedal keeps its size.
    if (auto* content = getContentComponent())
        setContentComponentSize (content->getWidth(), content->getHeight());
}
