// The Standalone app's entry point. The app (TacetorStandaloneApp) runs in JUCE's event loop as
// any JUCE app; this main starts it instead of JUCE's own so that it
//  - refuses to start without an X display, with one line saying so, where JUCE would crash;
//  - closes on SIGTERM and SIGINT as its window's close button does (StandaloneSignals).
#include "StandaloneSignals.h"
#include "TacetorStandaloneApp.h"

#include <cstdio>
#include <cstdlib>

// After JUCE's headers: Xlib's macros (None, Bool, Status) would clash with their names.
#include <X11/Xlib.h>

namespace
{
bool canOpenDisplay()
{
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        return false;

    XCloseDisplay (display);
    return true;
}

// Called by JUCE once it is initialised on the message thread, before the app's event loop.
juce::JUCEApplicationBase* createApplication()
{
    StandaloneSignals::closeAppOnTermination();
    return juce_CreateApplication();
}
} // namespace

int main (int argc, char* argv[])
{
    if (! canOpenDisplay())
    {
        const char* name = std::getenv ("DISPLAY");
        std::fprintf (stderr, "%s: cannot open the X display%s%s%s; the app needs a graphical desktop\n",
                      JucePlugin_Name, name != nullptr ? " \"" : " (DISPLAY is not set)", name != nullptr ? name : "",
                      name != nullptr ? "\"" : "");
        return 1;
    }

    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
