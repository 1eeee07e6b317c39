// The built Standalone app on the virtual display, worked with the X pointer the way a person
// would: the pedal as it opens, the about card from the logo, a knob turned by a drag, and the
// window closed while the card is open.
#include "EmbeddedImages.h"
#include "PedalGeometry.h"
#include "support/EditorTestSupport.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace EditorTestSupport;
using namespace WidgetTestSupport;

namespace
{
juce::String run (const juce::StringArray& arguments)
{
    juce::ChildProcess process;

    if (! process.start (arguments, juce::ChildProcess::wantStdOut))
        return {};

    const auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (10000);
    return output;
}

/** The Standalone app started with its output thrown away, and its process id. */
struct App
{
    App()
    {
        // Started through the shell, which tells its own id before it becomes the app.
        const juce::StringArray command { "sh", "-c", "echo $$; exec \"$0\" > /dev/null 2>&1", TACETOR_STANDALONE_APP };

        if (process.start (command, juce::ChildProcess::wantStdOut))
        {
            char line[32] = {};
            process.readProcessOutput (line, sizeof (line) - 1);
            pid = juce::String (line).trim().getIntValue();
        }
    }

    ~App()
    {
        process.kill();
        process.waitForProcessToFinish (5000);
    }

    juce::ChildProcess process;
    int pid = 0;
};

/** The app's top-level window, once it shows, moved to topLeft on the display. Other tests
    may have their own windows of the app open meanwhile; this one is told apart by its process
    (xdotool matches any one of its conditions unless told --all). */
std::optional<juce::Rectangle<int>> placeAppWindow (int pid, juce::Point<int> topLeft, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (timeoutMs);

    do
    {
        const auto id = juce::StringArray::fromLines (run ({ "xdotool", "search", "--all", "--onlyvisible", "--pid", juce::String (pid), "--name", "^Pelmora Tacetor$" }))[0].trim();

        if (id.isNotEmpty() && xdotool ("windowmove --sync " + id + " " + juce::String (topLeft.x) + " " + juce::String (topLeft.y)))
        {
            juce::StringPairArray geometry;
            for (const auto& line : juce::StringArray::fromLines (run ({ "xdotool", "getwindowgeometry", "--shell", id })))
                geometry.set (line.upToFirstOccurrenceOf ("=", false, false), line.fromFirstOccurrenceOf ("=", false, false));

            if (geometry["WIDTH"].getIntValue() > 0)
                return juce::Rectangle<int> (geometry["X"].getIntValue(), geometry["Y"].getIntValue(),
                                             geometry["WIDTH"].getIntValue(), geometry["HEIGHT"].getIntValue());
        }

        juce::Thread::sleep (200);
    } while (juce::Time::getMillisecondCounter() < end);

    return std::nullopt;
}
} // namespace

TEST (StandaloneApp, ShowsThePedalOpensTheAboutCardAndTurnsAKnobUnderTheRealPointer)
{
    if (const auto why = whyDisplayCannotShowPixels(); why.isNotEmpty())
        GTEST_SKIP() << why;

    const RealPointerSession pointer;
    ASSERT_TRUE (pointer.isLocked());
    // HOME is the test's own temporary folder: the app's settings file goes there. The window
    // goes to the right of the display's middle, where no other test opens one.
    App app;
    ASSERT_GT (app.pid, 0) << "the app did not start";
    const auto window = placeAppWindow (app.pid, { 880, 20 }, 20000);
    ASSERT_TRUE (window.has_value()) << "the app opened no window";

    // The app puts its own title bar and, with an input, a notice that input is muted above
    // the editor; the pedal is wherever its picture shows inside the window.
    const auto found = waitForPedal (*window);
    ASSERT_TRUE (found.has_value()) << "the pedal never showed in the app's window";
    const auto pedal = *found;
    const auto pedalArea = PedalGeometry::pedal + pedal;
    juce::Image screen;

    EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (defaultValues), &screen), 0);
    saveIfRequested (screen, *window, "standalone-pedal");

    // The logo lettering opens the about card with the version.
    ASSERT_TRUE (pointerAt (pedal, 100, 330, "click 1"));
    EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (defaultValues, true), &screen), 0);
    saveIfRequested (screen, *window, "standalone-about");

    ASSERT_TRUE (pointerAt (pedal, 160, 300, "click 1"));
    EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (defaultValues), &screen), 0);

    // The threshold knob dragged 100 pixels up from 0: 0.4, frame 40, with the value pop-up
    // showing while the button is held (it may open beside the window: the crop leaves room).
    ASSERT_TRUE (pointerAt (pedal, 65, 76, "mousedown 1"));
    ASSERT_TRUE (pointerAt (pedal, 65, 50));
    ASSERT_TRUE (pointerAt (pedal, 65, -24));
    juce::Thread::sleep (400);
    saveIfRequested (screenshot(), window->expanded (140, 0), "standalone-knob-dragging");
    ASSERT_TRUE (xdotool ("mouseup 1"));

    const auto& knob = PedalGeometry::knobs[0];
    EXPECT_EQ (differencesAfterWaiting (knob.bounds + pedal, stripFrame (EmbeddedImages::decodeThresholdKnob(), knob.numFrames, 40), &screen), 0);

    // Nothing else moved.
    auto turned = defaultValues;
    turned[2] = 0.4f;
    EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (turned), &screen), 0);
    saveIfRequested (screen, *window, "standalone-knob-turned");

    EXPECT_TRUE (app.process.isRunning()) << "the app stopped while being worked";

    // The card holds up only the pedal: with it open, the close button at the right end of
    // the window's title bar quits the app.
    ASSERT_TRUE (pointerAt (pedal, 100, 330, "click 1"));
    ASSERT_EQ (differencesAfterWaiting (pedalArea, referencePedal (turned, true), nullptr, 20000), 0) << "the about card did not open";
    ASSERT_TRUE (xdotool ("mousemove " + juce::String (window->getRight() - 20) + " " + juce::String (window->getY() + 14) + " click 1"));
    EXPECT_TRUE (app.process.waitForProcessToFinish (20000)) << "the app was still running 20 s after its close button was clicked";
}
