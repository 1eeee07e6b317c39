// Kept apart from the other helpers: Xlib's headers define macros (None, Bool, Status) that
// clash with the framework's names.
#include "support/EditorTestSupport.h"

#include <X11/Xlib.h>

namespace EditorTestSupport
{
juce::String whyDisplayCannotShowPixels()
{
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        return "no X display could be opened (DISPLAY is not set or not reachable; run under xvfb-run)";

    const int screen = DefaultScreen (display);
    const int depth = DefaultDepth (display, screen);
    const int width = DisplayWidth (display, screen);
    const int height = DisplayHeight (display, screen);
    XCloseDisplay (display);

    if (depth < 24 || width < 1280 || height < 1024)
        return "the display is " + juce::String (width) + " x " + juce::String (height) + " at " + juce::String (depth) + " bits; pixel-exact screenshots need at least 1280 x 1024 at 24 bits "
                                                                                                                          "(scripts/test.sh runs xvfb-run -s \"-screen 0 1280x1024x24 -noreset\")";

    return {};
}
} // namespace EditorTestSupport
