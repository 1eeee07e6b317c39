#pragma once

#include "TacetorStandaloneWindow.h"

/**
    The Standalone application: one TacetorStandaloneWindow, its settings kept where JUCE's own
    Standalone app keeps them (~/.config/Pelmora Tacetor.settings), so settings saved by earlier
    builds still load. Closing the window, or a quit the system asks for, saves the plug-in's
    state first.

    Created and run by JUCE on the message thread.
*/
class TacetorStandaloneApp : public juce::JUCEApplication
{
public:
    TacetorStandaloneApp();

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void anotherInstanceStarted (const juce::String&) override;

    void initialise (const juce::String&) override;
    void shutdown() override;
    void systemRequestedQuit() override;

private:
    juce::ApplicationProperties properties_;
    std::unique_ptr<TacetorStandaloneWindow> window_;
};

/** Makes the app; JUCE's Standalone wrapper calls it when it starts the app itself, our own main
    (StandaloneMain.cpp) where that runs instead. */
juce::JUCEApplicationBase* juce_CreateApplication();
