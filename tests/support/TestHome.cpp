#include "TestHome.h"

#include <cstdlib>

TestHome::TestHome()
    : folder_ (juce::File::createTempFile ("tacetor-test-home"))
{
    if (const char* home = std::getenv ("HOME"))
    {
        previousHome_ = juce::CharPointer_UTF8 (home);
        hadHome_ = true;
    }

    const auto lv2Folder = folder_.getChildFile (".lv2");
    lv2Folder.createDirectory();

    const juce::File bundle (TACETOR_LV2_BUNDLE);
    bundle.createSymbolicLink (lv2Folder.getChildFile (bundle.getFileName()), true);

    setenv ("HOME", folder_.getFullPathName().toRawUTF8(), 1);
}

TestHome::~TestHome()
{
    if (hadHome_)
        setenv ("HOME", previousHome_.toRawUTF8(), 1);
    else
        unsetenv ("HOME");

    // Links are removed, not followed: the build's bundle stays.
    folder_.deleteRecursively (false);
}
