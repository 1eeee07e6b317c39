#pragma once

#include "RenderOptions.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <functional>

/**
    The renderer's job: gates an audio file through the plug-in and writes the result, and
    saves the settings chunk it ran with.

    Every check that can fail before any work (input readable, output format known and its
    folder present, option values valid for the formats) runs first; outputs are written
    through temporary files, so a failure leaves existing files as they were.

    Message thread only, with JUCE running (hosting a bundle needs it).
*/
namespace FileRenderer
{
/** Reports how far the render is (frames done of the total, at the file's rate in Hz) after
    every block, and answers whether to go on: false abandons the render, which then fails
    without writing anything. */
using ProgressCallback = std::function<bool (juce::int64 framesDone, juce::int64 totalFrames, double sampleRate)>;

/** Runs what options ask for: INPUT -> OUTPUT and/or --save-settings. */
juce::Result run (const RenderOptions& options, const ProgressCallback& progress = {});

/** The formats the renderer reads and writes (WAV, AIFF, FLAC, Ogg Vorbis). */
void registerFormats (juce::AudioFormatManager& formats);

/** The bits per sample to write with format: requested if the format can write it; otherwise
    the input's depth where possible, else the smallest possible depth above it, else the
    largest. Fails when requested is not possible. */
juce::Result chooseBitDepth (juce::AudioFormat& format, int inputBits, std::optional<int> requested, int& bits);
} // namespace FileRenderer
