#pragma once

#include <juce_core/juce_core.h>

#include <cstdio>

/**
    A one-line progress bar for long renders, redrawn in place on a terminal:
    "[##########..........]  50%  1:00 of 2:00". It draws nothing unless it is enabled, its
    stream is a terminal and the job is long (at least minimumSeconds of audio), so
    redirected output and scripts see no escape codes. One thread.
*/
class ProgressBar
{
public:
    static constexpr double minimumSeconds = 10.0;

    /** stream is where the bar goes (stderr by default); enabled = false silences it. */
    explicit ProgressBar (bool enabled, std::FILE* stream = stderr);

    /** Clears the bar's line if one was drawn. */
    ~ProgressBar();

    /** Shows secondsDone of secondsTotal (of audio); redraws at most ten times a second and
        always at the end. */
    void update (double secondsDone, double secondsTotal);

    /** The bar's text for a fraction 0..1 of a job, with times in seconds. */
    static juce::String format (double fraction, double secondsDone, double secondsTotal, int barWidth = 30);

private:
    void clear();

    std::FILE* stream_;
    bool drawable_;
    bool drawn_ = false;
    juce::uint32 lastDrawMs_ = 0;

    JUCE_DECLARE_NON_COPYABLE (ProgressBar)
};
