#pragma once

#include "Orvane2StateButton.h"
#include "Orvane2StateKickButton.h"
#include "Orvane4StateButton3PDT.h"
#include "OrvaneSplashScreen.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "TacetorAttackKnob.h"
#include "TacetorDecayKnob.h"
#include "TacetorThresholdKnob.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/**
    The pedal: a fixed 325 × 366 picture with the footswitch, the dual-mono toggle, the
    threshold, attack and decay knobs, an invisible click area over the logo lettering and
    the about panel it opens.

    The editor keeps no values of its own. A user gesture writes the parameter into the
    processor and announces it to the host (setParameter, then
    sendParamChangeMessageToListeners). Changes from elsewhere (automation, programs, restored
    settings) reach the widgets through a 50 ms timer that polls the processor's change flag
    and refreshes all five widgets without notifying anybody, so nothing is written back.

    Created by the processor whenever a host opens the plug-in's window and deleted by the
    host when it closes; every editor decodes its pictures afresh. Message thread only.
*/
class PelmoraTacetorAudioProcessorEditor : public juce::AudioProcessorEditor,
                                           public juce::Timer,
                                           public juce::Button::Listener,
                                           public juce::Slider::Listener
{
public:
    /** Timer period of the refresh from the processor, in milliseconds. */
    static constexpr int refreshIntervalMs = 50;

    /** Builds the pedal for processor (which must outlive the editor), shows its current
        values and starts the refresh timer. */
    explicit PelmoraTacetorAudioProcessorEditor (PelmoraTacetorAudioProcessor& processor);

    /** Deletes the children in the order they were added, then the rest; the look-and-feel
        goes last. */
    ~PelmoraTacetorAudioProcessorEditor() override;

    /** Draws the pedal background at its own size at the top left. */
    void paint (juce::Graphics& g) override;

    /** Every 50 ms: when the processor's change flag is set, shows all five current values
        without notification and clears the flag; otherwise does nothing. */
    void timerCallback() override;

    /** Footswitch and dual-mono toggle: writes and announces 1 or 0 for the new toggle
        state (parameters 0 and 1). The logo's click area: opens the about panel with the
        version text. Any other button is ignored. */
    void buttonClicked (juce::Button* button) override;

    /** A knob's new value, as a float, is written and announced for its parameter
        (threshold 2, attack 3, decay 4). Any other slider is ignored. */
    void sliderValueChanged (juce::Slider* slider) override;

    /** The version text the about panel shows: "1.0.0 (64bit)". */
    static juce::String versionText();

private:
    PelmoraTacetorAudioProcessor& getTacetorProcessor() const noexcept;

    /** setParameter followed by the announcement to the processor's listeners (the host). */
    void writeAndAnnounce (int index, float value);

    /** Shows the processor's current values on all five widgets without notification. */
    void showProcessorValues();

    /** Sets up a switch: picture, place, the toggle state of its parameter, listener. */
    void addSwitch (FilmstripButton& button, juce::Image strip, juce::Rectangle<int> bounds, int parameterIndex);

    /** Sets up a knob: picture, place, value, double-click default, pop-up, listener. */
    void addKnob (OrvaneKnob& knob, juce::Image strip, int x, int parameterIndex);

    // Declared first so that it is destroyed last: every child draws with it.
    juce::LookAndFeel_V3 lookAndFeel_;

    juce::Image backgroundImage_;

    std::unique_ptr<Orvane4StateButton3PDT> bypassButton_;
    std::unique_ptr<Orvane2StateButton> dualMonoOnButton_;
    std::unique_ptr<TacetorThresholdKnob> thresholdKnob_;
    std::unique_ptr<TacetorAttackKnob> attackKnob_;
    std::unique_ptr<TacetorDecayKnob> decayKnob_;
    std::unique_ptr<Orvane2StateKickButton> aboutShowButton_;
    std::unique_ptr<OrvaneSplashScreen> aboutContainer_;

    juce::TooltipWindow tooltipWindow_;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PelmoraTacetorAudioProcessorEditor)
};
