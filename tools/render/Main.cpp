// tacetor-render: gates audio files through Pelmora Tacetor from the command line, without
// a host, an audio device or a display.
#include "Demo.h"
#include "FileRenderer.h"
#include "OutputFile.h"
#include "ProgressBar.h"
#include "RenderOptions.h"

#include <juce_events/juce_events.h>

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace
{
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

constexpr int endingSignals[] = { SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT };

// Deletes the temporary file being written, then ends the process by the same signal, so that
// a shell sees how it ended (and a loop over files stops at Ctrl-C). Only async-signal-safe
// calls; the signal itself stays blocked until the handler returns, then does its default.
extern "C" void onEndingSignal (int signalNumber)
{
    if (OutputFile::removeTemporaryFile())
    {
        static constexpr char message[] = "\ntacetor-render: stopped by a signal; the file under way was not written\n";
        [[maybe_unused]] const auto written = ::write (STDERR_FILENO, message, sizeof (message) - 1);
    }

    std::signal (signalNumber, SIG_DFL);
    std::raise (signalNumber);
}

void cleanUpOnEndingSignals()
{
    for (const int signalNumber : endingSignals)
    {
        struct sigaction current
        {
        };
        sigaction (signalNumber, nullptr, &current);

        // A signal ignored from the start (nohup, a shell's background job) stays ignored.
        if (current.sa_handler == SIG_IGN)
            continue;

        struct sigaction action
        {
        };
        action.sa_handler = onEndingSignal;
        sigemptyset (&action.sa_mask);

        for (const int other : endingSignals)
            sigaddset (&action.sa_mask, other);

        sigaction (signalNumber, &action, nullptr);
    }
}

void say (const juce::String& message) { std::cerr << "tacetor-render: " << message << std::endl; }

int fail (const juce::String& message, int status)
{
    say (message);
    return status;
}

// Notes and failures of every file; for a batch that ran, a summary after them.
int report (const RenderOptions& options, const std::vector<FileRenderer::FileOutcome>& outcomes, bool jobRan)
{
    int failed = 0;

    for (const auto& outcome : outcomes)
    {
        for (const auto& note : outcome.notes)
            say ("note: " + note);

        if (outcome.result.failed())
        {
            ++failed;
            say (outcome.result.getErrorMessage());
        }
    }

    if (jobRan && options.outputDirectory != juce::File() && (failed > 0 || ! options.quiet))
    {
        const auto total = static_cast<int> (outcomes.size());
        auto summary = juce::String (total - failed) + " of " + juce::String (total) + " files gated into " + options.outputDirectory.getFullPathName();

        if (failed > 0)
            summary << "; " << failed << " failed (see above)";

        say (summary);
    }

    return failed > 0 ? exitFailure : 0;
}
} // namespace

int main (int argc, char** argv)
{
    // Plug-in hosting and text rendering want JUCE's message thread; this is it.
    const juce::ScopedJuceInitialiser_GUI framework;
    cleanUpOnEndingSignals();

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    RenderOptions options;

    if (auto result = RenderOptions::parse (arguments, juce::File::getCurrentWorkingDirectory(), options); result.failed())
        return fail (result.getErrorMessage(), exitUsage);

    if (options.showHelp)
    {
        std::cout << RenderOptions::usage();
        return 0;
    }

    if (options.runsDemo())
    {
        juce::String demoReport;

        if (auto result = Demo::run (options.demoDirectory, options.plugin, demoReport); result.failed())
            return fail (result.getErrorMessage(), exitFailure);

        std::cout << demoReport;
        return 0;
    }

    std::vector<FileRenderer::FileOutcome> outcomes;
    juce::Result result = juce::Result::ok();

    {
        ProgressBar progressBar (! options.quiet);
        result = FileRenderer::run (options, outcomes, [&progressBar] (double done, double total)
                                    {
            progressBar.update (done, total);
            return true; });
    }

    const auto status = report (options, outcomes, result.wasOk());

    if (result.failed())
        return fail (result.getErrorMessage(), exitFailure);

    return status;
}
