#pragma once

#include "Filmstrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/**
    The about panel: the about picture laid over the pedal, with one live text, the version,
    drawn by a label in the space right of the picture's "Version:" caption.

    Created hidden. showPanel makes it visible; as its parent's topmost child it then takes
    every mouse press over its rectangle, so nothing under it reacts, while everything outside
    its parent (other editors in the process, the window around them) carries on as usual: it
    never enters the framework's modal state, which would block all of them. A mouse press
    anywhere on the panel outside the label hides it again. Keys do nothing, and a click on it
    never moves the keyboard focus.

    Screen readers see a dialog with the component's title and description. Message thread
    only.
*/
class OrvaneSplashScreen : public juce::Component
{
public:
    /** Decodes the about picture, sizes the panel to it (325 × 365; 0 × 0 if it does not
        decode) and adds the version label; the panel ends up hidden. */
    explicit OrvaneSplashScreen (const juce::String& name);
    ~OrvaneSplashScreen() override;

    /** Shows text as the version, unchanged, without notifying anybody. */
    void setVersionText (const juce::String& text);

    /** Shows the panel over its siblings. Showing it again changes nothing. */
    virtual void showPanel();

    /** Hides the panel. */
    virtual void hidePanel();

    /** Any press on the panel itself (the label takes its own) hides it. */
    void mouseDown (const juce::MouseEvent& e) override;

    /** Draws the about picture over the whole panel (its twice-as-large twin above 100 %). */
    void paint (juce::Graphics& g) override;

    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    Filmstrip splashImage_ { 1 };
    std::unique_ptr<juce::Label> versionLabel_;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvaneSplashScreen)
};
