#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_gui_basics/juce_gui_basics.h>

/**
    The bar the Standalone app shows above the pedal while no audio device is open: a short
    sentence and a button to the audio settings, in the style of JUCE's own notice that the
    input is muted, but in red, since without a device the pedal hears nothing.

    Message thread only, like every component.
*/
class AudioDeviceNotice : public juce::Component
{
public:
    /** The bar's height in pixels. */
    static constexpr int height = 30;

    /** openSettings is called when the button is clicked. */
    explicit AudioDeviceNotice (std::function<void()> openSettings);

    /** One line that says no audio device could be opened and what each audio system offered
        ("ALSA: no device found; JACK: no server running"), for the standard error output.
        Message thread. */
    static juce::String describeMissingDevice (juce::AudioDeviceManager& devices);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    juce::Label text_ { "noDeviceText", "No audio device could be opened" };
    juce::TextButton settingsButton_ { "Settings..." };

    JUCE_DECLARE_NON_COPYABLE (AudioDeviceNotice)
};
