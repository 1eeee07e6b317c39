#pragma once

#include "RenderOptions.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

/**
    The renderer's job: gates audio files through the plug-in and writes the results, and
    saves the settings chunk it ran with.

    Every check that can fail before any work runs first: each input is opened and checked
    to be complete, each output's folder and format are checked, the settings and the
    plug-in are loaded. Outputs are written through temporary files, so a failure leaves
    existing files as they were.

    Message thread only, with JUCE running (hosting a bundle needs it).
*/
namespace FileRenderer
{
/** Reports how far the whole job is, in seconds of audio done of the total, after every
    block, and answers whether to go on: false abandons the job, whose file under way then
    fails without writing anything, and the files after it are not started. */
using ProgressCallback = std::function<bool (double secondsDone, double secondsTotal)>;

/** What became of one input. */
struct FileOutcome
{
    juce::File input, output;
    juce::Result result = juce::Result::ok();

    /** Things the user should know although the file was written (formats changed, frames
        missing from a truncated input). */
    juce::StringArray notes;
};

/** Runs what options ask for: every input to its output, then --save-settings. outcomes
    receives one entry per input, in order; each input that fails, fails alone. The result
    fails when the job as a whole cannot run (the settings or the plug-in cannot be loaded,
    the output folder cannot be made, the settings cannot be saved) or was abandoned; it is
    ok even when some inputs failed: callers look at outcomes. */
juce::Result run (const RenderOptions& options, std::vector<FileOutcome>& outcomes, const ProgressCallback& progress = {});
} // namespace FileRenderer
