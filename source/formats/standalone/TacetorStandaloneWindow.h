#pragma once

#include "AudioDeviceNotice.h"

#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_extra/juce_gui_extra.h>

#include <juce_audio_plugin_client/Standalone/juce_StandaloneFilterWindow.h>

/**
    JUCE's Standalone window around the plug-in (title bar, options menu, audio settings, saved
    state), with room between its title bar and the pedal for a notice while no audio device is
    open. The notice is also written to the standard error output, once each time the device is
    lost, for a user who started the app from a terminal.

    Message thread only, like every window.
*/
class TacetorStandaloneWindow : public juce::StandaloneFilterWindow,
                                private juce::ChangeListener
{
public:
    /** settings stores the audio setup and the plug-in's state; it must outlive the window. */
    TacetorStandaloneWindow (const juce::String& title, juce::PropertySet* settings);
    ~TacetorStandaloneWindow() override;

    /** JUCE's border around the pedal, and the notice's height above it while the notice shows. */
    juce::BorderSize<int> getContentComponentBorder() override;

    /** Lays out JUCE's window, and the notice between the title bar and the pedal. */
    void resized() override;

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override;
    void updateNotice();

    AudioDeviceNotice notice_;

    JUCE_DECLARE_NON_COPYABLE (TacetorStandaloneWindow)
};
