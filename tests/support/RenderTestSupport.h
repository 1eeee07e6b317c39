#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <sys/types.h>
#include <vector>

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

/** Starts tacetor-render with arguments, its output discarded; its process ID, or -1. */
pid_t startRenderer (const juce::StringArray& arguments);

/** Waits for a process from startRenderer() and returns its wait status (as waitpid gives
    it). */
int waitForRenderer (pid_t process);

/** Samples of an audio file exactly as stored, read through libsndfile: interleaved, at
    full scale 1 (integers divided by 2^(bits - 1)). */
struct FileSamples
{
    int format = 0; // libsndfile's major type | subtype
    int numChannels = 0;
    std::vector<double> samples;

    juce::int64 getNumFrames() const { return numChannels > 0 ? static_cast<juce::int64> (samples.size()) / numChannels : 0; }
};

/** Reads file through libsndfile; format 0 when it cannot. */
FileSamples readSamples (const juce::File& file);

/** Writes samples (interleaved, full scale 1) as file in format (libsndfile's major type |
    subtype); samples on the format's integer grid are stored exactly. True on success. */
bool writeSamples (const juce::File& file, int format, int numChannels, double sampleRate, const std::vector<double>& samples);

/** A deterministic test signal for an integer grid of bits (0: no grid, floating point):
    full-scale extremes, a -1 dBFS sine and noise at every level, no sample exactly 0. */
std::vector<double> gridSignal (int numChannels, int numFrames, int bits);

/** Sets the size of file to numBytes: drops what lies beyond, or adds zeros (which the file
    system stores sparsely, so a long silent file takes no time or disk space to make). */
bool truncateFile (const juce::File& file, juce::int64 numBytes);

/** The 44-byte header of a PCM WAV file whose data chunk declares dataSize bytes. */
juce::MemoryBlock wavHeader (int numChannels, int bitsPerSample, int sampleRate, juce::uint32 dataSize);
} // namespace RenderTestSupport
