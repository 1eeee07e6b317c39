#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/**
    Helpers for widget tests: synthetic filmstrips whose every pixel says which frame and
    which position it came from, snapshots of painted components, synthetic mouse events for
    calling a component's handlers directly, and message-loop pumping for real windows.
*/
namespace WidgetTestSupport
{
/** The pixel at (x, y) of frame k in a synthetic strip: red encodes the frame (10 + 2k, so
    up to 122 frames), green and blue the position inside it. */
juce::Colour stripPixel (int frame, int x, int y);

/** A strip of numFrames frames of frameWidth × frameHeight, stacked from the top, with
    extraRows rows of white below the last frame. Opaque RGB, like the product's strips. */
juce::Image makeStrip (int numFrames, int frameWidth, int frameHeight, int extraRows = 0);

/** The component painted on its own into a transparent ARGB image of its size. */
juce::Image snapshot (juce::Component& component);

/** True when every pixel of image is fully transparent (nothing was drawn). */
bool isBlank (const juce::Image& image);

constexpr int blank = -1;
constexpr int noFrame = -2;

/** Which frame of a synthetic strip image shows pixel for pixel (image as large as one
    frame): its index, blank when nothing was drawn, noFrame when the pixels match no frame
    exactly. Alpha is compared too, so a dimmed frame is noFrame. */
int shownFrame (const juce::Image& image, int numFrames);

/** The frame whose red code the pixel at (x, y) carries, whatever its position inside the
    frame (for scaled drawing); blank for a transparent pixel. */
int frameAt (const juce::Image& image, int x, int y);

/** A mouse event from the main mouse source at position (component coordinates) on
    component, as the framework would deliver it to a handler. */
juce::MouseEvent mouseEvent (juce::Component& component,
                             juce::Point<float> position,
                             juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier,
                             int numberOfClicks = 1,
                             juce::Point<float> mouseDownPosition = {});

/** How long a wait on a condition may take before it fails: generous, so that a loaded
    machine only makes a test slower, never wrong (an app starting beside two busy cores at
    the lowest priority has been seen to take more than 20 s to show its window). */
constexpr int waitLimitMs = 60000;

/** Runs the message loop until condition holds or timeoutMs passes; returns condition(). */
bool pumpUntil (const std::function<bool()>& condition, int timeoutMs = waitLimitMs);

/** Runs the message loop for milliseconds. */
void pump (int milliseconds);

/** Runs the message loop until every message posted before the call has been delivered
    (at most waitLimitMs); true when they were. Timers that are not yet due are not waited for. */
bool deliverPending();

/** True when an X display is available for real windows. */
bool hasDisplay();

/** Call before opening real windows: makes X protocol errors non-fatal, as hosts and the
    framework's own applications do. A bare X server without a window manager lacks atoms
    such as WM_PROTOCOLS, which the framework sets on every window it creates, and Xlib's
    default handler ends the process on the first such error. */
void tolerateXErrors();

/**
    Exclusive use of an X display's pointer for one test, across processes: tests that run in
    parallel on the same display (ctest -j) would otherwise move each other's pointer and
    open windows over each other's. Also makes X errors non-fatal (tolerateXErrors). Create
    it before the test's windows and keep it until they are gone.
*/
class RealPointerSession
{
public:
    /** Waits up to a minute for the display's pointer. */
    RealPointerSession();

    /** False when the wait timed out; the test should then fail. */
    bool isLocked() const noexcept { return locked_; }

private:
    juce::InterProcessLock lock_;
    bool locked_ = false;
};

/** Runs xdotool with arguments (e.g. "mousemove 10 20 mousedown 1") and waits for it;
    true when it succeeded. */
bool xdotool (const juce::String& arguments);

/** Moves the real pointer to position (component coordinates) over an on-screen component. */
bool movePointerTo (juce::Component& component, juce::Point<int> position);

/** When TACETOR_SCREENSHOT_DIR is set, saves the whole screen there as name.png. */
void screenshotIfRequested (const juce::String& name);
} // namespace WidgetTestSupport
