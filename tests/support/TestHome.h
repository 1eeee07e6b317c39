#pragma once

#include <juce_core/juce_core.h>

/**
    Gives the test process a private home folder for its lifetime: HOME points at a fresh
    temporary folder whose .lv2 holds a link to the LV2 bundle of this build.

    JUCE's LV2 host reads ~/.lv2 (and the system folders) whenever a format object is created,
    so tests load exactly the bundle they were built with, never a copy the user installed,
    and nothing a test runs writes settings into the real home. Create one in main, before
    anything else; the folder (not the bundle it links to) is removed again at the end.
*/
class TestHome
{
public:
    TestHome();
    ~TestHome();

    /** The temporary folder HOME points at. */
    const juce::File& getFolder() const noexcept { return folder_; }

private:
    juce::File folder_;
    juce::String previousHome_;
    bool hadHome_ = false;

    JUCE_DECLARE_NON_COPYABLE (TestHome)
};
