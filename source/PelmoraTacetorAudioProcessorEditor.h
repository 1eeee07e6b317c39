#pragma once

#include "EmbeddedImages.h"
#include "Filmstrip.h"
#include "Orvane2StateButton.h"
#include "Orvane2StateKickButton.h"
#include "Orvane4StateButton3PDT.h"
#include "OrvaneSplashScreen.h"
#include "PedalGeometry.h"
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

    Keys belong to the host unless the user moves the focus into the pedal: no click gives any
    part of it the keyboard focus, and the editor itself, which takes the focus when its window
    does, passes every key on but Tab. Tab and Shift-Tab go round threshold, attack, decay,
    dual mono and footswitch; Escape hands the keys back to the host. Screen readers find the
    editor and the about card titled and described, and the five controls by their names.

    Drawn from the 1× pictures, or from their twice-as-large twins wherever the window's
    effective scale (the display's times the host's) is above 1; the size stays 325 × 366.

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

    /** Tab and Shift-Tab move the focus round the five controls (while the about card is up,
        they move nothing); Escape takes it back from them. Every other key is the host's. */
    bool keyPressed (const juce::KeyPress& key) override;

    /** Focus that arrives by Tab from outside the pedal moves on to its first control. */
    void focusGained (FocusChangeType cause) override;

    /** A group titled with the product's name, described with maker, product and version. */
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

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

    /** Sets up a switch: pictures, place, the toggle state of its parameter, listener. */
    void addSwitch (FilmstripButton& button, const PedalGeometry::Control& control, int parameterIndex);

    /** Sets up a knob: pictures, place, value, double-click default, pop-up, listener. */
    void addKnob (OrvaneKnob& knob, const PedalGeometry::Control& control, int parameterIndex);

    /** Names a control for screen readers and puts it at its place in the Tab order. */
    static void makeReachable (juce::Component& control, const juce::String& title, int focusOrder);

    /** Moves the keyboard focus to the next (or previous) control, round and round; from
        outside the controls to the first (or last). */
    void moveFocusAlongControls (bool forwards);

    /** Shows the about card. A control with the focus gives it up first: keys must not reach
        what the card covers. */
    void showAboutCard();

    // Declared first so that it is destroyed last: every child draws with it.
    juce::LookAndFeel_V3 lookAndFeel_;

    // The pedal background as one frame, with its double-size twin.
    Filmstrip backgroundImage_ { 1 };

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
