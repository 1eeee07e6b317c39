#include "AudioDeviceNotice.h"

AudioDeviceNotice::AudioDeviceNotice (std::function<void()> openSettings)
{
    setOpaque (true);
    text_.setColour (juce::Label::textColourId, juce::Colours::white);
    settingsButton_.onClick = std::move (openSettings);
    addAndMakeVisible (text_);
    addAndMakeVisible (settingsButton_);
}

juce::String AudioDeviceNotice::describeMissingDevice (juce::AudioDeviceManager& devices)
{
    juce::StringArray systems;

    // The manager has scanned every type already: scanning again would only repeat it.
    for (auto* type : devices.getAvailableDeviceTypes())
    {
        const auto outputs = type->getDeviceNames (false);
        const auto name = type->getTypeName();

        // JACK lists devices only while a server runs; ALSA lists the cards it can see.
        if (outputs.isEmpty())
            systems.add (name + (name == "JACK" ? ": no server running" : ": no device found"));
        else
            systems.add (name + ": " + outputs.joinIntoString (", ") + " did not open");
    }

    return "no audio device could be opened (" + (systems.isEmpty() ? juce::String ("no audio system available") : systems.joinIntoString ("; ")) + "); choose one under Options > Audio/MIDI Settings";
}

void AudioDeviceNotice::paint (juce::Graphics& g)
{
    auto area = getLocalBounds();
    g.setColour (juce::Colour (0xff7a1410));
    g.fillRect (area.removeFromBottom (1));
    g.setColour (juce::Colour (0xffb3261e));
    g.fillRect (area);
}

void AudioDeviceNotice::resized()
{
    auto area = getLocalBounds().reduced (5);
    settingsButton_.setBounds (area.removeFromRight (70));
    text_.setBounds (area);
}
