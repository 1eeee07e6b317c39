#pragma once

#include "SampleFormat.h"

#include <juce_core/juce_core.h>

#include <optional>

/**
    What one run of the renderer is asked to do, as read from its command line.

    Gate values are held normalised (0..1), already converted from the units given on the
    command line. Only the command line itself is checked here (values, combinations, output
    names); whether files exist, can be read or can be written is the renderer's business.
*/
struct RenderOptions
{
    static constexpr int defaultBlockSize = 512;
    static constexpr int maxBlockSize = 65536;

    /** The files to gate: one with output, one or more with outputDirectory. */
    juce::Array<juce::File> inputs;
    juce::File output;
    juce::File outputDirectory;
    juce::File demoDirectory;

    juce::File settingsToLoad;
    juce::File settingsToSave;
    std::optional<int> program;
    std::optional<float> threshold;
    std::optional<float> attack;
    std::optional<float> decay;
    std::optional<bool> dualMono;
    std::optional<bool> gateOn;

    int blockSize = defaultBlockSize;
    std::optional<SampleFormat> sampleFormat;
    bool allowTruncated = false;
    juce::File plugin;
    bool quiet = false;
    bool showHelp = false;

    /** Where input (one of inputs) is written. */
    juce::File outputFor (const juce::File& input) const;

    /** True when the run synthesises the demonstration instead. */
    bool runsDemo() const { return demoDirectory != juce::File(); }

    /** Reads the arguments (without the program name). Relative paths are resolved against
        workingDirectory. On failure the result's message says which argument is wrong and
        why; options then holds whatever was read before it. */
    static juce::Result parse (const juce::StringArray& arguments, const juce::File& workingDirectory, RenderOptions& options);

    /** The --help text. */
    static juce::String usage();
};
