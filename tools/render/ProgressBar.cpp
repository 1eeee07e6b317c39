#include "ProgressBar.h"

#include <algorithm>
#include <unistd.h>

namespace
{
juce::String minutesAndSeconds (double seconds)
{
    const auto whole = static_cast<int> (std::max (0.0, seconds));
    return juce::String (whole / 60) + ":" + juce::String (whole % 60).paddedLeft ('0', 2);
}
} // namespace

ProgressBar::ProgressBar (bool enabled, std::FILE* stream)
    : stream_ (stream)
    , drawable_ (enabled && stream != nullptr && ::isatty (::fileno (stream)) != 0)
{
}

ProgressBar::~ProgressBar() { clear(); }

juce::String ProgressBar::format (double fraction, double secondsDone, double secondsTotal, int barWidth)
{
    fraction = std::clamp (fraction, 0.0, 1.0);
    const auto filled = static_cast<int> (fraction * barWidth);

    return "[" + juce::String::repeatedString ("#", filled) + juce::String::repeatedString (".", barWidth - filled) + "] " + juce::String (static_cast<int> (fraction * 100.0)).paddedLeft (' ', 3) + "%  " + minutesAndSeconds (secondsDone) + " of " + minutesAndSeconds (secondsTotal);
}

void ProgressBar::update (double secondsDone, double secondsTotal)
{
    if (! drawable_ || ! (secondsTotal >= minimumSeconds))
        return;

    const auto now = juce::Time::getMillisecondCounter();
    const bool finished = secondsDone >= secondsTotal;

    if (drawn_ && ! finished && now - lastDrawMs_ < 100)
        return;

    lastDrawMs_ = now;
    std::fprintf (stream_, "\r%s", format (secondsDone / secondsTotal, secondsDone, secondsTotal).toRawUTF8());
    std::fflush (stream_);
    drawn_ = true;
}

void ProgressBar::clear()
{
    if (! drawn_)
        return;

    // Carriage return, erase the line: the terminal is left as it was before the bar.
    std::fprintf (stream_, "\r\033[K");
    std::fflush (stream_);
    drawn_ = false;
}
