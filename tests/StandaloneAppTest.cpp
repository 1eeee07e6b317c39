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
    (xdotool matches any one of its conditions unless told --all). The app may still place its
    window itself just after showing it, and grow by its notice bar, so the move is repeated
    until two readings in a row find the same rectangle there. lastSeen tells where the window
    was last found, if anywhere. */
std::optional<juce::Rectangle<int>> placeAppWindow (int pid, juce::Point<int> topLeft, juce::String& lastSeen)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (waitLimitMs);
    lastSeen = "no window of the app";
    juce::Rectangle<int> previous;

    do
    {
        const auto id = juce::StringArray::fromLines (run ({ "xdotool", "search", "--all", "--onlyvisible", "--pid", juce::String (pid), "--name", "^Pelmora Tacetor$" }))[0].trim();

        if (id.isNotEmpty() && xdotool ("windowmove " + id + " " + juce::String (topLeft.x) + " " + juce::String (topLeft.y)))
        {
            juce::StringPairArray geometry;
            for (const auto& line : juce::StringArray::fromLines (run ({ "xdotool", "getwindowgeometry", "--shell", id })))
                geometry.set (line.upToFirstOccurrenceOf ("=", false, false), line.fromFirstOccurrenceOf ("=", false, false));

            const juce::Rectangle<int> placed (geometry["X"].getIntValue(), geometry["Y"].getIntValue(),
                                               geometry["WIDTH"].getIntValue(), geometry["HEIGHT"].getIntValue());

            if (placed.getPosition() == topLeft && ! placed.isEmpty() && placed == previous)
                return placed;

            previous = placed;

            lastSeen = "window " + id + " at " + placed.toString();
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
    juce::String lastSeen;
    const auto window = placeAppWindow (app.pid, { 880, 20 }, lastSeen);
    ASSERT_TRUE (window.has_value()) << "the app's window was not placed within " << waitLimitMs << " ms; last seen: " << lastSeen;

    // The app puts its own title bar and, with an input, a notice that input is muted above
    // the editor; the pedal is wherever its picture shows inside the window.
    // Searched below the window too, in case the app's notice bar arrives after placing.
    const auto found = waitForPedal (window->withHeight (window->getHeight() + 100));
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
    // The button stays down until the app has drawn the dragged knob; the pop-up's arrow may
    // cover the knob's left edge meanwhile.
    const auto& knob = PedalGeometry::knobs[0];
    const auto thresholdArea = knob.bounds + pedal;
    const auto frame40 = stripFrame (EmbeddedImages::decodeThresholdKnob(), knob.numFrames, 40);
    ASSERT_TRUE (pointerAt (pedal, 65, 76, "mousedown 1"));
    ASSERT_TRUE (pointerAt (pedal, 65, 50));
    ASSERT_TRUE (pointerAt (pedal, 65, -24));
    EXPECT_EQ (differencesAfterWaiting (thresholdArea.withTrimmedLeft (24), frame40.getClippedImage ({ 24, 0, 72, 73 }), &screen), 0)
        << "the knob never showed the drag while held";
    saveIfRequested (screen, window->expanded (140, 0), "standalone-knob-dragging");
    ASSERT_TRUE (xdotool ("mouseup 1"));
    EXPECT_EQ (differencesAfterWaiting (thresholdArea, frame40, &screen), 0);

    // Nothing else moved.
    auto turned = defaultValues;
    turned[2] = 0.4f;
    EXPECT_EQ (differencesAfterWaiting (pedalArea, referencePedal (turned), &screen), 0);
    saveIfRequested (screen, *window, "standalone-knob-turned");

    EXPECT_TRUE (app.process.isRunning()) << "the app stopped while being worked";

    // The card holds up only the pedal: with it open, the close button at the right end of
    // the window's title bar quits the app.
    ASSERT_TRUE (pointerAt (pedal, 100, 330, "click 1"));
    ASSERT_EQ (differencesAfterWaiting (pedalArea, referencePedal (turned, true)), 0) << "the about card did not open";
    ASSERT_TRUE (xdotool ("mousemove " + juce::String (window->getRight() - 20) + " " + juce::String (window->getY() + 14) + " click 1"));
    EXPECT_TRUE (app.process.waitForProcessToFinish (waitLimitMs)) << "the app was still running " << waitLimitMs << " ms after its close button was clicked";
}
