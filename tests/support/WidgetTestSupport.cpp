#include "support/WidgetTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <memory>

namespace WidgetTestSupport
{
juce::Colour stripPixel (int frame, int x, int y)
{
    return juce::Colour::fromRGB (static_cast<juce::uint8> (10 + 2 * frame),
                                  static_cast<juce::uint8> ((x * 7) % 256),
                                  static_cast<juce::uint8> ((y * 5) % 256));
}

juce::Image makeStrip (int numFrames, int frameWidth, int frameHeight, int extraRows)
{
    juce::Image strip (juce::Image::RGB, frameWidth, numFrames * frameHeight + extraRows, true);
    const juce::Image::BitmapData pixels (strip, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < strip.getHeight(); ++y)
    {
        const int frame = y / frameHeight;

        for (int x = 0; x < frameWidth; ++x)
            pixels.setPixelColour (x, y, frame < numFrames ? stripPixel (frame, x, y % frameHeight) : juce::Colours::white);
    }

    return strip;
}

juce::Image snapshot (juce::Component& component)
{
    juce::Image image (juce::Image::ARGB, juce::jmax (1, component.getWidth()), juce::jmax (1, component.getHeight()), true);
    juce::Graphics g (image);
    component.paintEntireComponent (g, true);
    return image;
}

bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;

    return true;
}

int shownFrame (const juce::Image& image, int numFrames)
{
    if (isBlank (image))
        return blank;

    const int frame = frameAt (image, 0, 0);

    if (frame < 0 || frame >= numFrames)
        return noFrame;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getARGB() != stripPixel (frame, x, y).getARGB())
                return noFrame;

    return frame;
}

int frameAt (const juce::Image& image, int x, int y)
{
    const auto pixel = image.getPixelAt (x, y);

    if (pixel.getAlpha() == 0)
        return blank;

    const int red = pixel.getRed();
    return (red >= 10 && (red - 10) % 2 == 0) ? (red - 10) / 2 : noFrame;
}

juce::MouseEvent mouseEvent (juce::Component& component,
                             juce::Point<float> position,
                             juce::ModifierKeys mods,
                             int numberOfClicks,
                             juce::Point<float> mouseDownPosition)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(),
                             position, mods,
                             juce::MouseInputSource::defaultPressure,
                             juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation,
                             juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY,
                             &component, &component, now,
                             mouseDownPosition, now, numberOfClicks,
                             position != mouseDownPosition);
}

bool pumpUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (timeoutMs);

    while (! condition() && juce::Time::getMillisecondCounter() < end)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);

    return condition();
}

void pump (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

bool deliverPending()
{
    // The queue delivers in order, so a marker posted now arrives after everything before it.
    // Shared, so that a marker delivered after a timeout has somewhere to write.
    const auto delivered = std::make_shared<std::atomic<bool>> (false);
    juce::MessageManager::callAsync ([delivered]
                                     { *delivered = true; });
    return pumpUntil ([&]
                      { return delivered->load(); });
}

bool hasDisplay()
{
    const char* display = std::getenv ("DISPLAY");
    return display != nullptr && *display != 0;
}

namespace
{
juce::String pointerLockName()
{
    const char* display = std::getenv ("DISPLAY");
    return "tacetor-pointer-" + juce::File::createLegalFileName (juce::String (juce::CharPointer_UTF8 (display != nullptr ? display : "")));
}
} // namespace

RealPointerSession::RealPointerSession()
    : lock_ (pointerLockName())
{
    tolerateXErrors();
    locked_ = lock_.enter (60000);
}

bool xdotool (const juce::String& arguments)
{
    juce::ChildProcess process;

    if (! process.start ("xdotool " + arguments, 0))
        return false;

    return process.waitForProcessToFinish (10000) && process.getExitCode() == 0;
}

bool movePointerTo (juce::Component& component, juce::Point<int> position)
{
    const auto onScreen = component.localPointToGlobal (position);
    return xdotool ("mousemove " + juce::String (onScreen.x) + " " + juce::String (onScreen.y));
}

void screenshotIfRequested (const juce::String& name)
{
    const char* folder = std::getenv ("TACETOR_SCREENSHOT_DIR");

    if (folder == nullptr || *folder == 0)
        return;

    const auto file = juce::File (juce::CharPointer_UTF8 (folder)).getChildFile (name + ".png");
    juce::ChildProcess process;

    if (process.start (juce::StringArray { "import", "-window", "root", file.getFullPathName() }, 0))
        process.waitForProcessToFinish (10000);
}
} // namespace WidgetTestSupport
