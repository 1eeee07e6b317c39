#include "FileRenderer.h"

#include "InputAudio.h"
#include "OutputAudio.h"
#include "OutputFile.h"
#include "RenderGate.h"

#include <cstring>

namespace FileRenderer
{
namespace
{
/** Keeps the job's progress across files and asks the caller whether to go on. */
class JobProgress
{
public:
    JobProgress (const ProgressCallback& callback, double secondsTotal)
        : callback_ (callback)
        , secondsTotal_ (secondsTotal)
    {
    }

    bool advance (double seconds)
    {
        secondsDone_ += seconds;
        abandoned_ = abandoned_ || (callback_ && ! callback_ (secondsDone_, secondsTotal_));
        return ! abandoned_;
    }

    bool wasAbandoned() const noexcept { return abandoned_; }

private:
    const ProgressCallback& callback_;
    double secondsTotal_;
    double secondsDone_ = 0.0;
    bool abandoned_ = false;
};

bool sameBits (float a, float b) noexcept { return std::memcmp (&a, &b, sizeof (float)) == 0; }

// Calls body with the channel count (1 or 2) as a compile-time constant, so that the loops
// over interleaved samples have a stride the compiler can vectorise.
template <typename Body>
void withChannelCount (int numChannels, Body&& body)
{
    if (numChannels == 1)
        body (std::integral_constant<int, 1> {});
    else
        body (std::integral_constant<int, 2> {});
}

juce::Result writeGated (InputAudio& input, RenderGate& gate, OutputAudio& output, int blockSize, JobProgress& progress)
{
    const int numChannels = input.getNumChannels();
    const auto total = input.getLength();
    const bool floatHoldsInput = input.getSampleFormat().fitsInFloat();

    if (auto result = gate.prepare (numChannels, input.getSampleRate(), blockSize); result.failed())
        return result;

    // The file is read and written in chunks of whole blocks, a few thousand frames at a time:
    // libsndfile passes every call straight to the file system.
    const int blocksPerChunk = std::max (1, 8192 / blockSize);
    const int chunkSize = blocksPerChunk * blockSize;

    std::vector<double> samples (static_cast<size_t> (chunkSize) * static_cast<size_t> (numChannels));
    juce::AudioBuffer<float> chunk (numChannels, chunkSize);

    for (juce::int64 position = 0; position < total;)
    {
        const auto count = static_cast<int> (std::min<juce::int64> (chunkSize, total - position));

        if (auto result = input.read (samples.data(), count); result.failed())
            return result;

        withChannelCount (numChannels, [&] (auto channels)
                          {
            for (int channel = 0; channel < channels; ++channel)
            {
                auto* destination = chunk.getWritePointer (channel);

                for (int i = 0; i < count; ++i)
                    destination[i] = static_cast<float> (samples[static_cast<size_t> (i * channels + channel)]);
            } });

        for (int start = 0; start < count; start += blockSize)
        {
            juce::AudioBuffer<float> block (chunk.getArrayOfWritePointers(), numChannels, start, std::min (blockSize, count - start));
            gate.process (block);
        }

        // A sample the gate left as it was goes out exactly as it came in, even where single
        // precision cannot hold it (32-bit integers, 64-bit floats); every other sample is
        // the gate's.
        withChannelCount (numChannels, [&] (auto channels)
                          {
            for (int channel = 0; channel < channels; ++channel)
            {
                const auto* gated = chunk.getReadPointer (channel);
                auto* destination = samples.data() + channel;

                if (floatHoldsInput)
                {
                    for (int i = 0; i < count; ++i)
                        destination[i * channels] = gated[i];
                }
                else
                {
                    for (int i = 0; i < count; ++i)
                        if (! sameBits (gated[i], static_cast<float> (destination[i * channels])))
                            destination[i * channels] = gated[i];
                }
            } });

        if (auto result = output.write (samples.data(), count); result.failed())
            return result;

        position += count;

        if (! progress.advance (count / input.getSampleRate()))
            return juce::Result::fail ("interrupted; '" + input.getFile().getFullPathName() + "' was not written");
    }

    gate.release();
    return output.finish();
}

juce::Result renderFile (const RenderOptions& options, const juce::File& inputFile, const juce::File& outputFile,
                         RenderGate& gate, JobProgress& progress, juce::StringArray& notes)
{
    std::unique_ptr<InputAudio> input;

    if (auto result = InputAudio::open (inputFile, options.allowTruncated, input); result.failed())
        return result;

    if (input->getNote().isNotEmpty())
        notes.add (input->getNote());

    const auto container = *OutputAudio::containerFor (outputFile);
    juce::String formatNote;
    const auto format = OutputAudio::chooseFormat (container, input->getSampleFormat(), options.sampleFormat, formatNote);

    if (formatNote.isNotEmpty())
        notes.add ("'" + outputFile.getFullPathName() + "': " + formatNote);

    return OutputFile::replace (outputFile, [&] (const juce::File& temporary)
                                {
        std::unique_ptr<OutputAudio> output;

        if (auto result = OutputAudio::create (temporary, container, format, input->getNumChannels(), input->getSampleRate(), input->getLength(), output); result.failed())
            return result;

        return writeGated (*input, gate, *output, options.blockSize, progress); });
}

// Everything about one input that can be checked without gating it; its length in seconds
// goes to seconds.
juce::Result checkFile (const RenderOptions& options, const juce::File& input, const juce::File& output, double& seconds)
{
    std::unique_ptr<InputAudio> opened;

    if (auto result = InputAudio::open (input, options.allowTruncated, opened); result.failed())
        return result;

    seconds = static_cast<double> (opened->getLength()) / opened->getSampleRate();

    if (auto result = OutputAudio::checkName (output, options.sampleFormat); result.failed())
        return result;

    return OutputFile::checkWritable (output);
}
} // namespace

juce::Result run (const RenderOptions& options, std::vector<FileOutcome>& outcomes, const ProgressCallback& progress)
{
    outcomes.clear();

    if (options.outputDirectory != juce::File())
        if (auto result = options.outputDirectory.createDirectory(); result.failed())
            return juce::Result::fail ("cannot create the folder '" + options.outputDirectory.getFullPathName() + "': " + result.getErrorMessage());

    double secondsTotal = 0.0;

    for (const auto& input : options.inputs)
    {
        FileOutcome outcome;
        outcome.input = input;
        outcome.output = options.outputFor (input);
        double seconds = 0.0;
        outcome.result = checkFile (options, input, outcome.output, seconds);
        secondsTotal += seconds;
        outcomes.push_back (outcome);
    }

    if (options.settingsToSave != juce::File())
        if (auto result = OutputFile::checkWritable (options.settingsToSave); result.failed())
            return result;

    const bool anythingToRender = std::any_of (outcomes.begin(), outcomes.end(), [] (const auto& outcome)
                                               { return outcome.result.wasOk(); });

    if (! anythingToRender && options.settingsToSave == juce::File())
        return juce::Result::ok();

    std::unique_ptr<RenderGate> gate;

    if (auto result = RenderGate::create (options, gate); result.failed())
        return result;

    JobProgress jobProgress (progress, secondsTotal);

    for (auto& outcome : outcomes)
    {
        if (outcome.result.failed())
            continue;

        if (jobProgress.wasAbandoned())
        {
            outcome.result = juce::Result::fail ("not started: the job was interrupted");
            continue;
        }

        outcome.result = renderFile (options, outcome.input, outcome.output, *gate, jobProgress, outcome.notes);
    }

    if (jobProgress.wasAbandoned())
        return juce::Result::fail ("interrupted; no file was left half-written");

    if (options.settingsToSave != juce::File())
        return OutputFile::replaceWithData (options.settingsToSave, gate->getSettingsChunk());

    return juce::Result::ok();
}
} // namespace FileRenderer
