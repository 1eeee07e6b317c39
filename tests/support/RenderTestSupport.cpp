#include "RenderTestSupport.h"

#include "PelmoraTacetorAudioProcessor.h"

#include <cmath>

namespace RenderTestSupport
{
ScratchFolder::ScratchFolder() : folder_ (juce::File::createTempFile ("tacetor-render-test"))
{
    folder_.createDirectory();
}

ScratchFolder::~ScratchFolder() { folder_.deleteRecursively(); }

juce::StringArray ScratchFolder::listFiles() const
{
    juce::StringArray names;

    // Hidden files included: that is where temporary files would be left.
    for (const auto& entry : juce::RangedDirectoryIterator (folder_, false, "*", juce::File::findFilesAndDirectories))
        names.add (entry.getFile().getFileName());

    names.sort (false);
    return names;
}

juce::AudioBuffer<float> burstsOverFloor (int numChannels, double sampleRate, double seconds)
{
    juce::AudioBuffer<float> audio (numChannels, static_cast<int> (seconds * sampleRate));
    juce::Random random (42);
    const float floorLevel = std::pow (10.0f, -70.0f / 20.0f);

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto* samples = audio.getWritePointer (channel);
        int position = 0;
        bool burst = false;

        while (position < audio.getNumSamples())
        {
            const auto length = static_cast<int> ((burst ? 0.1 + 0.2 * random.nextDouble() : 0.15 + 0.1 * random.nextDouble())
                                                  * sampleRate);
            const float level = burst ? std::pow (10.0f, (-6.0f - 34.0f * random.nextFloat()) / 20.0f) : floorLevel;

            for (int i = position; i < std::min (position + length, audio.getNumSamples()); ++i)
                samples[i] = level * (random.nextFloat() * 2.0f - 1.0f) * 1.7f;

            position += length;
            burst = ! burst;
        }
    }

    return audio;
}

bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bitsPerSample)
{
    file.deleteFile();
    juce::WavAudioFormat wav;
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    std::unique_ptr<juce::AudioFormatWriter> writer (
        wav.createWriterFor (stream.get(), sampleRate, static_cast<unsigned int> (audio.getNumChannels()), bitsPerSample, {}, 0));

    if (writer == nullptr)
        return false;

    stream.release();
    return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}

juce::AudioBuffer<float> readAudio (const juce::File& file, double* sampleRate)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));

    if (reader == nullptr)
        return {};

    juce::AudioBuffer<float> audio (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);

    if (sampleRate != nullptr)
        *sampleRate = reader->sampleRate;

    return audio;
}

double rmsDecibels (const juce::AudioBuffer<float>& audio, int channel, double sampleRate, double start, double end)
{
    const auto from = static_cast<int> (start * sampleRate);
    const auto to = std::min (static_cast<int> (end * sampleRate), audio.getNumSamples());
    const float rms = audio.getRMSLevel (channel, from, to - from);
    return rms > 0.0f ? 20.0 * std::log10 (static_cast<double> (rms)) : -200.0;
}

bool processorWritesSettingsChunk()
{
    PelmoraTacetorAudioProcessor processor;
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);
    return ! chunk.isEmpty();
}

int runRenderer (const juce::StringArray& arguments, juce::String& output, bool includeStdOut)
{
    juce::StringArray command { TACETOR_RENDER_EXE };
    command.addArray (arguments);

    juce::ChildProcess process;

    if (! process.start (command, includeStdOut ? (juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr)
                                                : juce::ChildProcess::wantStdErr))
        return -1;

    output = process.readAllProcessOutput();

    if (! process.waitForProcessToFinish (60000))
    {
        process.kill();
        return -1;
    }

    return static_cast<int> (process.getExitCode());
}
} // namespace RenderTestSupport
