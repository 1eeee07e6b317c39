#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/**
    The about panel: the about picture laid over the pedal, with one live text, the version,
    drawn by a label in the space right of the picture's "Version:" caption.

    Created hidden. showPanel makes it visible and modal, so the framework lets mouse input
    reach only the panel and its label; a mouse press anywhere on the panel outside the label
    hides it again. Keys do nothing. Message thread only.
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

    /** Shows the panel and makes it modal, with the keyboard focus. Showing a panel that is
        already shown registers it as modal only once. */
    virtual void showPanel();

    /** Ends the modal state (if any) and hides the panel. */
    virtual void hidePanel();

    /** Any press on the panel itself (the label takes its own) hides it. */
    void mouseDown (const juce::MouseEvent& e) override;

    /** Draws the about picture over the whole panel. */
    void paint (juce::Graphics& g) override;

private:
    juce::Image splashImage_;
    std::unique_ptr<juce::Label> versionLabel_;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvaneSplashScreen)
};
