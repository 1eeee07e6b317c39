// tacetor-render: gates audio files through Pelmora Tacetor from the command line, without
// a host, an audio device or a display.
#include "Demo.h"
#include "FileRenderer.h"
#include "ProgressBar.h"
#include "RenderOptions.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <csignal>
#include <iostream>

namespace
{
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// Set by Ctrl-C or a polite kill; the render then stops at the next block and deletes its
// temporary file instead of leaving it behind.
std::atomic<bool> interrupted { false };

extern "C" void onInterrupt (int) { interrupted.store (true); }

int fail (const juce::String& message, int status)
{
    std::cerr << "tacetor-render: " << message << std::endl;
    return status;
}
} // namespace

int main (int argc, char** argv)
{
    // Plug-in hosting and text rendering want JUCE's message thread; this is it.
    const juce::ScopedJuceInitialiser_GUI framework;

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
        juce::String report;

        if (auto result = Demo::run (options.demoDirectory, options.plugin, report); result.failed())
            return fail (result.getErrorMessage(), exitFailure);

        std::cout << report;
        return 0;
    }

    std::signal (SIGINT, onInterrupt);
    std::signal (SIGTERM, onInterrupt);

    ProgressBar progressBar (! options.quiet);
    const auto result = FileRenderer::run (options, [&progressBar] (juce::int64 done, juce::int64 total, double rate) {
        progressBar.update (done, total, rate);
        return ! interrupted.load();
    });

    if (result.failed())
        return fail (result.getErrorMessage(), exitFailure);

    return 0;
}
