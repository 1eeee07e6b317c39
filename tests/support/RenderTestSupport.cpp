#include "RenderTestSupport.h"

#include "PelmoraTacetorAudioProcessor.h"

#include <cmath>
#include <fcntl.h>
#include <sndfile.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace RenderTestSupport
{
ScratchFolder::ScratchFolder()
    : folder_ (juce::File::createTempFile ("tacetor-render-test"))
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
            const auto length = static_cast<int> ((burst ? 0.1 + 0.2 * random.nextDouble() : 0.15 + 0.1 * random.nextDouble()) * sampleRate);
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
pid_t startRenderer (const juce::StringArray& arguments)
{
    std::vector<std::string> words { TACETOR_RENDER_EXE };
    for (const auto& argument : arguments)
        words.push_back (argument.toStdString());

    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back (word.data());
    argv.push_back (nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen (&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // No core dump when a test ends it with SIGQUIT.
    rlimit coreLimit {};
    ::getrlimit (RLIMIT_CORE, &coreLimit);
    const rlimit noCore { 0, coreLimit.rlim_max };
    ::setrlimit (RLIMIT_CORE, &noCore);

    pid_t process = -1;
    const auto started = posix_spawn (&process, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy (&actions);
    ::setrlimit (RLIMIT_CORE, &coreLimit);
    return started == 0 ? process : -1;
}

int waitForRenderer (pid_t process)
{
    int status = 0;
    return ::waitpid (process, &status, 0) == process ? status : -1;
}

FileSamples readSamples (const juce::File& file)
{
    SF_INFO info {};
    FileSamples result;

    if (auto* opened = sf_open (file.getFullPathName().toRawUTF8(), SFM_READ, &info))
    {
        result.samples.resize (static_cast<size_t> (info.frames * info.channels));

        if (sf_readf_double (opened, result.samples.data(), info.frames) == info.frames)
        {
            result.format = info.format;
            result.numChannels = info.channels;
        }
        else
        {
            result.samples.clear();
        }

        sf_close (opened);
    }

    return result;
}

bool writeSamples (const juce::File& file, int format, int numChannels, double sampleRate, const std::vector<double>& samples)
{
    file.deleteFile();
    SF_INFO info {};
    info.samplerate = static_cast<int> (sampleRate);
    info.channels = numChannels;
    info.format = format;

    auto* opened = sf_open (file.getFullPathName().toRawUTF8(), SFM_WRITE, &info);

    if (opened == nullptr)
        return false;

    const auto frames = static_cast<sf_count_t> (samples.size()) / numChannels;
    const auto subtype = format & SF_FORMAT_SUBMASK;
    sf_count_t written = 0;

    if (subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE)
    {
        written = sf_writef_double (opened, samples.data(), frames);
    }
    else
    {
        // libsndfile scales doubles for integer files by 2^(bits - 1) - 1; left-justified
        // integers reach the file unchanged.
        std::vector<int> integers;
        for (auto sample : samples)
            integers.push_back (static_cast<int> (std::clamp (std::round (sample * 2147483648.0), -2147483648.0, 2147483647.0)));

        written = sf_writef_int (opened, integers.data(), frames);
    }

    sf_close (opened);
    return written == frames;
}

std::vector<double> gridSignal (int numChannels, int numFrames, int bits)
{
    const double step = bits > 0 ? std::ldexp (1.0, 1 - bits) : 0.0;
    const auto onGrid = [step] (double value)
    {
        if (step == 0.0)
            return value;

        const auto snapped = std::round (value / step) * step;
        return snapped != 0.0 ? std::clamp (snapped, -1.0, 1.0 - step) : step;
    };

    juce::Random random (7);
    std::vector<double> samples;

    for (int frame = 0; frame < numFrames; ++frame)
    {
        for (int channel = 0; channel < numChannels; ++channel)
        {
            double value;

            switch (frame % 4)
            {
                // Full scale; floating point also goes beyond it.
                case 0: value = (frame % 8 == 0 ? 1.0 : -1.0) * (step == 0.0 ? 1.25 : 1.0); break;
                case 1: value = std::pow (10.0, -1.0 / 20.0) * std::sin (0.13 * frame + channel); break;
                default: value = (random.nextDouble() * 2.0 - 1.0) * std::pow (10.0, -4.0 * random.nextDouble()); break;
            }

            samples.push_back (onGrid (value));
        }
    }

    return samples;
}

bool truncateFile (const juce::File& file, juce::int64 numBytes)
{
    return ::truncate (file.getFullPathName().toRawUTF8(), numBytes) == 0;
}

juce::MemoryBlock wavHeader (int numChannels, int bitsPerSample, int sampleRate, juce::uint32 dataSize)
{
    juce::MemoryOutputStream wav;
    const auto blockAlign = static_cast<short> (numChannels * bitsPerSample / 8);
    wav.write ("RIFF", 4);
    wav.writeInt (static_cast<int> (dataSize + 36));
    wav.write ("WAVEfmt ", 8);
    wav.writeInt (16);
    wav.writeShort (1);
    wav.writeShort (static_cast<short> (numChannels));
    wav.writeInt (sampleRate);
    wav.writeInt (sampleRate * blockAlign);
    wav.writeShort (blockAlign);
    wav.writeShort (static_cast<short> (bitsPerSample));
    wav.write ("data", 4);
    wav.writeInt (static_cast<int> (dataSize));
    return wav.getMemoryBlock();
}
} // namespace RenderTestSupport
