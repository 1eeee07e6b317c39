#include "FileRenderer.h"

#include "OutputFile.h"
#include "RenderGate.h"

namespace FileRenderer
{
namespace
{
juce::String quoted (const juce::File& file) { return "'" + file.getFullPathName() + "'"; }

juce::Result openInput (juce::AudioFormatManager& formats, const juce::File& input,
                        std::unique_ptr<juce::AudioFormatReader>& reader)
{
    if (input.isDirectory())
        return juce::Result::fail ("cannot read " + quoted (input) + ": it is a folder");

    if (! input.existsAsFile())
        return juce::Result::fail ("cannot read " + quoted (input) + ": no such file");

    if (! input.hasReadAccess())
        return juce::Result::fail ("cannot read " + quoted (input) + ": permission denied");

    reader.reset (formats.createReaderFor (input));

    if (reader == nullptr)
        return juce::Result::fail (quoted (input) + " is not an audio file in a format the renderer reads ("
                                   + formats.getWildcardForAllFormats() + ")");

    if (reader->numChannels < 1 || reader->numChannels > 2)
        return juce::Result::fail (quoted (input) + " has " + juce::String (reader->numChannels)
                                   + " channels; the gate takes mono or stereo");

    if (! (reader->sampleRate > 0.0) || reader->lengthInSamples < 0)
        return juce::Result::fail (quoted (input) + " has no valid sample rate or length");

    return juce::Result::ok();
}

juce::Result findOutputFormat (juce::AudioFormatManager& formats, const juce::File& output, juce::AudioFormat*& format)
{
    format = formats.findFormatForFileExtension (output.getFileExtension());

    if (format == nullptr || output.getFileExtension().isEmpty())
        return juce::Result::fail ("cannot write " + quoted (output) + ": unsupported output format '"
                                   + output.getFileExtension() + "' (use .wav, .flac, .aiff or .ogg)");

    return juce::Result::ok();
}

// The quality option only shapes lossy and compression settings; lossless samples are the
// same whatever it is, so the format's middle choice serves.
int qualityOption (juce::AudioFormat& format) { return format.getQualityOptions().size() / 2; }

juce::Result writeGated (juce::AudioFormatReader& reader, RenderGate& gate, juce::AudioFormat& format, int bits,
                         int blockSize, const juce::File& destination, const ProgressCallback& progress)
{
    const auto numChannels = static_cast<int> (reader.numChannels);
    const auto total = reader.lengthInSamples;

    auto stream = std::make_unique<juce::FileOutputStream> (destination);

    if (! stream->openedOk())
        return juce::Result::fail ("cannot write " + quoted (destination) + ": " + stream->getStatus().getErrorMessage());

    std::unique_ptr<juce::AudioFormatWriter> writer (
        format.createWriterFor (stream.get(), reader.sampleRate, static_cast<unsigned int> (numChannels), bits, {},
                                qualityOption (format)));

    if (writer == nullptr)
        return juce::Result::fail ("cannot write " + juce::String (numChannels) + " channels at "
                                   + juce::String (reader.sampleRate) + " Hz, " + juce::String (bits)
                                   + " bits as " + format.getFormatName());

    stream.release(); // the writer owns it now

    if (auto result = gate.prepare (numChannels, reader.sampleRate, blockSize); result.failed())
        return result;

    juce::AudioBuffer<float> block (numChannels, blockSize);

    for (juce::int64 position = 0; position < total;)
    {
        const auto count = static_cast<int> (std::min<juce::int64> (blockSize, total - position));
        block.setSize (numChannels, count, false, false, true);

        if (! reader.read (&block, 0, count, position, true, numChannels > 1))
            return juce::Result::fail ("reading the input failed at frame " + juce::String (position));

        gate.process (block);

        if (! writer->writeFromAudioSampleBuffer (block, 0, count))
            return juce::Result::fail ("writing the output failed at frame " + juce::String (position)
                                       + " (is the disk full?)");

        position += count;

        if (progress && ! progress (position, total, reader.sampleRate))
            return juce::Result::fail ("interrupted; nothing was written");
    }

    gate.release();
    writer.reset(); // finishes the header and closes the file

    // A short write (a full disk, say) can go unnoticed until the file is closed: read the
    // result back before it may replace anything.
    std::unique_ptr<juce::AudioFormatReader> check (format.createReaderFor (destination.createInputStream().release(), true));

    if (check == nullptr || check->lengthInSamples != total || static_cast<int> (check->numChannels) != numChannels)
        return juce::Result::fail ("the written output could not be read back complete (is the disk full?)");

    return juce::Result::ok();
}
} // namespace

void registerFormats (juce::AudioFormatManager& formats) { formats.registerBasicFormats(); }

juce::Result chooseBitDepth (juce::AudioFormat& format, int inputBits, std::optional<int> requested, int& bits)
{
    const auto possible = format.getPossibleBitDepths();

    if (requested.has_value())
    {
        if (! possible.contains (*requested))
        {
            juce::StringArray depths;
            for (auto depth : possible)
                depths.add (juce::String (depth));

            return juce::Result::fail ("bad value '" + juce::String (*requested) + "' for --bits: the format "
                                       + format.getFormatName() + " takes " + depths.joinIntoString (" or ")
                                       + " bits per sample");
        }

        bits = *requested;
        return juce::Result::ok();
    }

    if (possible.isEmpty())
        return juce::Result::fail (format.getFormatName() + " offers no bit depth to write");

    bits = possible.getLast();

    for (auto depth : possible)
    {
        if (depth >= inputBits)
        {
            bits = depth;
            break;
        }
    }

    return juce::Result::ok();
}

juce::Result run (const RenderOptions& options, const ProgressCallback& progress)
{
    juce::AudioFormatManager formats;
    registerFormats (formats);

    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::AudioFormat* outputFormat = nullptr;
    int bits = 0;

    if (options.rendersFile())
    {
        if (auto result = openInput (formats, options.input, reader); result.failed())
            return result;

        if (auto result = OutputFile::checkWritable (options.output); result.failed())
            return result;

        if (auto result = findOutputFormat (formats, options.output, outputFormat); result.failed())
            return result;

        if (auto result = chooseBitDepth (*outputFormat, static_cast<int> (reader->bitsPerSample), options.bitsPerSample, bits);
            result.failed())
            return result;
    }

    if (options.settingsToSave != juce::File())
        if (auto result = OutputFile::checkWritable (options.settingsToSave); result.failed())
            return result;

    std::unique_ptr<RenderGate> gate;

    if (auto result = RenderGate::create (options, gate); result.failed())
        return result;

    if (options.rendersFile())
    {
        auto result = OutputFile::replace (options.output, [&] (const juce::File& temporary) {
            return writeGated (*reader, *gate, *outputFormat, bits, options.blockSize, temporary, progress);
        });

        if (result.failed())
            return result;
    }

    if (options.settingsToSave != juce::File())
        return OutputFile::replaceWithData (options.settingsToSave, gate->getSettingsChunk());

    return juce::Result::ok();
}
} // namespace FileRenderer
