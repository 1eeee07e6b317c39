#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/**
    Helpers for the renderer's tests: audio files in and out, a test signal, and running the
    built tacetor-render executable. Message thread (the test's own).
*/
namespace RenderTestSupport
{
/** A fresh empty folder, deleted with everything in it when this goes. */
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();

    juce::File operator() (const juce::String& name) const { return folder_.getChildFile (name); }
    const juce::File& get() const noexcept { return folder_; }

    /** The names of the files in the folder, sorted. */
    juce::StringArray listFiles() const;

private:
    juce::File folder_;
    JUCE_DECLARE_NON_COPYABLE (ScratchFolder)
};

/** Noise bursts at -6 to -40 dBFS, 0.1 to 0.3 s long, with a -70 dBFS noise floor between
    them, on each channel (the channels differ); deterministic. */
juce::AudioBuffer<float> burstsOverFloor (int numChannels, double sampleRate, double seconds);

/** Writes audio as a WAV file with bitsPerSample (32 is floating point); true on success. */
bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bitsPerSample = 32);

/** Reads a whole audio file; an empty buffer when it cannot. */
juce::AudioBuffer<float> readAudio (const juce::File& file, double* sampleRate = nullptr);

/** RMS level of channel over [start, end) seconds, in dBFS (-200 for silence). */
double rmsDecibels (const juce::AudioBuffer<float>& audio, int channel, double sampleRate, double start, double end);

/** True when the processor writes a settings chunk; the renderer hands its settings to hosted
    bundles through one, so the tests that need it skip without. */
bool processorWritesSettingsChunk();

/** Runs tacetor-render with arguments and returns its exit code (-1 when it could not start
    or ran over a minute); output receives what it printed on stdout and stderr. */
int runRenderer (const juce::StringArray& arguments, juce::String& output, bool includeStdOut = true);
} // namespace RenderTestSupport
