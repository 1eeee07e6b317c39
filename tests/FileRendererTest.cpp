// Rendering files through the linked-in gate, called as a library.
#include "support/RenderTestSupport.h"

#include "FileRenderer.h"
#include "OutputAudio.h"
#include "ParameterScale.h"

#include <sndfile.h>

#include <gtest/gtest.h>

using namespace RenderTestSupport;

namespace
{
constexpr double rate = 48000.0;

// Renders input into output (a file, or a folder for several inputs); the outcome of the
// first input, or the job's failure.
juce::Result render (const juce::Array<juce::File>& inputs, const juce::File& output, RenderOptions options,
                     std::vector<FileRenderer::FileOutcome>* outcomes = nullptr)
{
    options.inputs = inputs;
    (inputs.size() > 1 ? options.outputDirectory : options.output) = output;

    std::vector<FileRenderer::FileOutcome> results;
    const auto job = FileRenderer::run (options, results);

    if (outcomes != nullptr)
        *outcomes = results;

    return job.failed() || results.empty() ? job : results.front().result;
}

juce::Result render (const juce::File& input, const juce::File& output, const RenderOptions& options = {})
{
    return render (juce::Array<juce::File> { input }, output, options);
}

bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;

    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        if (std::memcmp (a.getReadPointer (channel), b.getReadPointer (channel), sizeof (float) * static_cast<size_t> (a.getNumSamples())) != 0)
            return false;

    return true;
}

RenderOptions gateOff()
{
    RenderOptions options;
    options.gateOn = false;
    return options;
}

// Threshold -oo with instant attack and decay: every sample that is not 0 opens the gate fully.
RenderOptions openAtUnity()
{
    RenderOptions options;
    options.attack = 0.0f;
    options.decay = 0.0f;
    return options;
}
} // namespace

TEST (FileRenderer, ClosesOnTheFloorAndKeepsTheBursts)
{
    ScratchFolder folder;
    const auto dry = burstsOverFloor (2, rate, 3.0);
    ASSERT_TRUE (writeWav (folder ("in.wav"), dry, rate));

    RenderOptions options;
    options.threshold = static_cast<float> (ParameterScale::thresholdFromDecibels (-50.0));
    options.decay = static_cast<float> (ParameterScale::decayFromMilliseconds (10.0));
    const auto result = render (folder ("in.wav"), folder ("out.wav"), options);
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();

    const auto gated = readAudio (folder ("out.wav"));
    ASSERT_EQ (gated.getNumSamples(), dry.getNumSamples());

    // The signal starts with a floor stretch of at least 0.15 s; its second half is well
    // past the decay. The first burst follows, a tenth of a second at least.
    const double floorDry = rmsDecibels (dry, 0, rate, 0.08, 0.15);
    const double floorGated = rmsDecibels (gated, 0, rate, 0.08, 0.15);
    EXPECT_NEAR (floorDry, -70.0, 3.0);
    EXPECT_LT (floorGated, floorDry - 60.0);

    const double burstStart = 0.26, burstEnd = 0.35;
    EXPECT_NEAR (rmsDecibels (gated, 1, rate, burstStart, burstEnd), rmsDecibels (dry, 1, rate, burstStart, burstEnd), 0.5);
}

TEST (FileRenderer, GivesTheSameSamplesWhateverTheBlockSize)
{
    ScratchFolder folder;
    // A length that no block size divides, so the last block is always a short one.
    const auto dry = burstsOverFloor (2, rate, 1.0);
    ASSERT_TRUE (writeWav (folder ("in.wav"), dry, rate));

    RenderOptions options;
    options.threshold = static_cast<float> (ParameterScale::thresholdFromDecibels (-30.0));
    options.dualMono = true;

    juce::AudioBuffer<float> reference;

    for (int blockSize : { 512, 1, 7, 4096, 65536 })
    {
        options.blockSize = blockSize;
        const auto output = folder ("out" + juce::String (blockSize) + ".wav");
        ASSERT_TRUE (render (folder ("in.wav"), output, options).wasOk());

        if (blockSize == 512)
            reference = readAudio (output);
        else
            EXPECT_TRUE (sameSamples (readAudio (output), reference)) << "block size " << blockSize;
    }
}

TEST (FileRenderer, PassesEverySampleThroughBitForBitWithTheGateOffOrOpen)
{
    struct Case
    {
        const char* name;
        int format;
        int bits; // the integer grid of the samples; 0 for floating point
    };

    const Case cases[] = {
        { "u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8 },
        { "16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 16 },
        { "24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 24 },
        { "32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 32 },
        { "float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0 },
        { "double.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 0 },
        { "mulaw.wav", SF_FORMAT_WAV | SF_FORMAT_ULAW, 16 },
        { "alaw.wav", SF_FORMAT_WAV | SF_FORMAT_ALAW, 16 },
        { "s8.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_S8, 8 },
        { "16.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 16 },
        { "24.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 24 },
        { "32.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_32, 32 },
        { "float.aifc", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 0 },
        { "double.aifc", SF_FORMAT_AIFF | SF_FORMAT_DOUBLE, 0 },
        { "8.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_S8, 8 },
        { "16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 16 },
        { "24.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 24 },
    };

    ScratchFolder folder;

    for (const auto& [name, format, bits] : cases)
    {
        for (int channels : { 1, 2 })
        {
            const auto input = folder (juce::String (channels) + "-" + name);
            ASSERT_TRUE (writeSamples (input, format, channels, 44100.0, gridSignal (channels, 9000, bits))) << name;
            const auto stored = readSamples (input);

            for (const auto& [how, options] : { std::pair { "gate off", gateOff() }, std::pair { "open gate", openAtUnity() } })
            {
                const auto output = folder ("out-" + input.getFileName());
                const auto result = render (input, output, options);
                ASSERT_TRUE (result.wasOk()) << name << " " << how << ": " << result.getErrorMessage();

                const auto written = readSamples (output);
                EXPECT_EQ (written.format & SF_FORMAT_SUBMASK, format & SF_FORMAT_SUBMASK) << name << " " << how;
                EXPECT_EQ (written.numChannels, channels) << name;
                EXPECT_TRUE (written.samples == stored.samples) << name << " " << channels << " channels, " << how;
            }
        }
    }
}

TEST (FileRenderer, KeepsTheInputsSampleFormatWhereTheOutputHoldsItAndSaysWhenNot)
{
    ScratchFolder folder;
    const auto signal = gridSignal (1, 4000, 32);
    ASSERT_TRUE (writeSamples (folder ("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_32, 1, rate, signal));

    struct Case
    {
        const char* output;
        std::optional<SampleFormat> asked;
        int subtype;
        const char* note; // empty: none expected
    };

    const Case cases[] = {
        { "same.aiff", std::nullopt, SF_FORMAT_PCM_32, "" },
        { "narrow.flac", std::nullopt, SF_FORMAT_PCM_24, "FLAC cannot hold 32-bit integer samples: wrote 24-bit integer" },
        { "asked.wav", SampleFormat::integer (16), SF_FORMAT_PCM_16, "" },
        { "asked.aiff", SampleFormat::floatingPoint (32), SF_FORMAT_FLOAT, "" },
        { "lossy.ogg", std::nullopt, SF_FORMAT_VORBIS, "" },
    };

    for (const auto& [name, asked, subtype, note] : cases)
    {
        RenderOptions options = gateOff();
        options.sampleFormat = asked;
        options.inputs = { folder ("in.wav") };
        options.output = folder (name);

        std::vector<FileRenderer::FileOutcome> outcomes;
        ASSERT_TRUE (FileRenderer::run (options, outcomes).wasOk());
        ASSERT_TRUE (outcomes.at (0).result.wasOk()) << name << ": " << outcomes[0].result.getErrorMessage();
        EXPECT_EQ (readSamples (folder (name)).format & SF_FORMAT_SUBMASK, subtype) << name;
        const auto notes = outcomes[0].notes.joinIntoString ("\n");
        EXPECT_EQ (notes.isEmpty(), *note == 0) << name << ": " << notes;
        EXPECT_TRUE (notes.contains (note)) << name << ": " << notes;
    }

    // Asked for fewer bits: each sample rounds to the nearest 16-bit step.
    const auto narrowed = readSamples (folder ("asked.wav")).samples;
    ASSERT_EQ (narrowed.size(), signal.size());

    for (size_t i = 0; i < signal.size(); ++i)
        ASSERT_EQ (narrowed[i], std::min (std::round (signal[i] * 32768.0), 32767.0) / 32768.0) << i;
}

TEST (FileRenderer, RefusesTruncatedAndLyingFilesBeforeWritingAnything)
{
    ScratchFolder folder;
    const auto signal = gridSignal (2, 48000, 24);

    struct Case
    {
        const char* name;
        int format;
        juce::int64 present; // frames left after the cut
    };

    // FLAC is cut between two of libsndfile's 4096-frame blocks' worth of bytes; what is left
    // is found by decoding, so only a lower bound is known in advance.
    const Case cases[] = {
        { "cut.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 20000 },
        { "cut.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 20000 },
        { "cut.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 0 },
    };

    for (const auto& [name, format, present] : cases)
    {
        const auto input = folder (name);
        ASSERT_TRUE (writeSamples (input, format, 2, rate, signal));
        const auto complete = readSamples (input).samples;
        const auto size = input.getSize();
        const auto bytesPerFrame = (format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16 ? 4 : 6;
        ASSERT_TRUE (truncateFile (input, present > 0 ? size - (48000 - present) * bytesPerFrame : size / 2));

        const auto output = folder ("out-" + juce::String (name));
        output.replaceWithText ("an earlier render");
        const auto filesBefore = folder.listFiles();

        const auto refused = render (input, output, gateOff());
        EXPECT_TRUE (refused.getErrorMessage().contains ("is truncated: its header declares 48000 frames, the file holds " + (present > 0 ? juce::String (present) : juce::String())))
            << refused.getErrorMessage();
        EXPECT_EQ (output.loadFileAsString(), "an earlier render") << name;
        EXPECT_EQ (folder.listFiles(), filesBefore) << name;

        // Allowed, it renders exactly the frames present, each one unchanged.
        RenderOptions allowed = gateOff();
        allowed.allowTruncated = true;
        std::vector<FileRenderer::FileOutcome> outcomes;
        ASSERT_TRUE (render ({ input }, output, allowed, &outcomes).wasOk()) << name;
        ASSERT_TRUE (outcomes[0].result.wasOk()) << outcomes[0].result.getErrorMessage();

        const auto written = readSamples (output);
        const auto frames = written.getNumFrames();
        EXPECT_GT (frames, present > 0 ? present - 1 : 8192) << name;
        EXPECT_LT (frames, present > 0 ? present + 1 : 48000) << name;
        EXPECT_TRUE (std::equal (written.samples.begin(), written.samples.end(), complete.begin())) << name;
        EXPECT_TRUE (outcomes[0].notes.joinIntoString ("").contains ("rendered only the " + juce::String (frames) + " frames present"))
            << outcomes[0].notes.joinIntoString ("");
    }
}

TEST (FileRenderer, RefusesHeadersThatClaimMoreThanTheFileCanHoldWithoutATemporaryFile)
{
    ScratchFolder folder;

    // A 1 KB 8-bit file claiming 2^31 frames, and a 4 KB one whose data size reads 0xFFFFFFF0.
    const auto writeLiar = [&folder] (const char* name, int channels, int bits, juce::uint32 dataSize, int fileSize)
    {
        juce::MemoryBlock bytes (static_cast<size_t> (fileSize));
        bytes.fillWith (0x55);
        const auto header = wavHeader (channels, bits, 48000, dataSize);
        bytes.copyFrom (header.getData(), 0, header.getSize());
        folder (name).replaceWithData (bytes.getData(), bytes.getSize());
    };

    writeLiar ("claims-2g.wav", 1, 8, 0x80000000u, 1024);
    writeLiar ("claims-4g.wav", 2, 16, 0xfffffff0u, 4096);

    const std::pair<const char*, const char*> cases[] = {
        { "claims-2g.wav", "its header declares 2147483648 frames, the file holds 980" },
        { "claims-4g.wav", "its header declares 1073741820 frames, the file holds 1013" },
    };

    for (const auto& [name, message] : cases)
    {
        const auto filesBefore = folder.listFiles();
        const auto result = render (folder (name), folder ("out.wav"), gateOff());
        EXPECT_TRUE (result.getErrorMessage().contains (message)) << result.getErrorMessage();
        EXPECT_EQ (folder.listFiles(), filesBefore) << name;
    }
}

TEST (FileRenderer, FailsAFileDamagedMidStreamInsteadOfPaddingItWithSilence)
{
    ScratchFolder folder;

    for (const auto& [name, format] : { std::pair { "in.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16 },
                                        std::pair { "in.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS } })
    {
        const auto input = folder (name);
        ASSERT_TRUE (writeSamples (input, format, 2, rate, gridSignal (2, 48000, 16)));

        juce::MemoryBlock bytes;
        ASSERT_TRUE (input.loadFileAsData (bytes));
        for (size_t i = bytes.getSize() / 2; i < bytes.getSize() / 2 + 64; ++i)
            bytes[i] = static_cast<char> (bytes[i] ^ 0x5a);
        input.replaceWithData (bytes.getData(), bytes.getSize());

        const auto filesBefore = folder.listFiles();
        const auto result = render (input, folder ("out.wav"), gateOff());
        EXPECT_TRUE (result.getErrorMessage().contains ("' is damaged: ")) << name << ": " << result.getErrorMessage();
        EXPECT_EQ (folder.listFiles(), filesBefore) << name;
    }
}

TEST (FileRenderer, GatesABatchIntoAFolderAndFailsOnlyTheDamagedFile)
{
    ScratchFolder folder;
    folder ("in").createDirectory();
    const auto signal = burstsOverFloor (2, rate, 0.6);
    std::vector<double> interleaved;
    for (int i = 0; i < signal.getNumSamples(); ++i)
        for (int channel = 0; channel < 2; ++channel)
            interleaved.push_back (signal.getSample (channel, i));

    const std::pair<const char*, int> files[] = { { "a.wav", SF_FORMAT_WAV }, { "b.flac", SF_FORMAT_FLAC }, { "c.aiff", SF_FORMAT_AIFF }, { "d.wav", SF_FORMAT_WAV } };
    juce::Array<juce::File> inputs;

    for (const auto& [name, major] : files)
    {
        inputs.add (folder ("in/" + juce::String (name)));
        ASSERT_TRUE (writeSamples (inputs.getLast(), major | SF_FORMAT_PCM_16, 2, rate, interleaved));
    }

    ASSERT_TRUE (truncateFile (folder ("in/c.aiff"), 5000));

    RenderOptions options;
    options.threshold = static_cast<float> (ParameterScale::thresholdFromDecibels (-45.0));
    std::vector<FileRenderer::FileOutcome> outcomes;
    ASSERT_TRUE (render (inputs, folder ("out"), options, &outcomes).wasOk());
    ASSERT_EQ (outcomes.size(), 4u);

    for (const auto& outcome : outcomes)
    {
        const bool damaged = outcome.input.getFileName() == "c.aiff";
        EXPECT_EQ (outcome.result.failed(), damaged) << outcome.input.getFileName() << ": " << outcome.result.getErrorMessage();
        EXPECT_EQ (outcome.output, folder ("out/" + outcome.input.getFileName()));
        EXPECT_EQ (outcome.output.existsAsFile(), ! damaged);

        // Each file starts from the same gate: the batch writes what single runs write.
        if (! damaged)
        {
            ASSERT_TRUE (render (outcome.input, folder ("single-" + outcome.input.getFileName()), options).wasOk());
            EXPECT_TRUE (readSamples (outcome.output).samples == readSamples (folder ("single-" + outcome.input.getFileName())).samples)
                << outcome.input.getFileName();
        }
    }

    EXPECT_TRUE (outcomes[2].result.getErrorMessage().contains ("is truncated")) << outcomes[2].result.getErrorMessage();
}

TEST (FileRenderer, SavedSettingsRenderLikeTheOptionsTheyCameFrom)
{
    if (! processorWritesSettingsChunk())
        GTEST_SKIP() << "this build writes no settings chunk";

    ScratchFolder folder;
    ASSERT_TRUE (writeWav (folder ("in.wav"), burstsOverFloor (2, rate, 1.0), rate));

    RenderOptions direct;
    direct.program = 5;
    direct.threshold = static_cast<float> (ParameterScale::thresholdFromDecibels (-35.0));
    direct.attack = static_cast<float> (ParameterScale::attackFromMilliseconds (0.5));
    direct.decay = static_cast<float> (ParameterScale::decayFromMilliseconds (30.0));
    direct.dualMono = true;
    direct.settingsToSave = folder ("saved.chunk");
    ASSERT_TRUE (render (folder ("in.wav"), folder ("direct.wav"), direct).wasOk());
    EXPECT_GT (folder ("saved.chunk").getSize(), 0);

    RenderOptions fromChunk;
    fromChunk.settingsToLoad = folder ("saved.chunk");
    const auto result = render (folder ("in.wav"), folder ("chunk.wav"), fromChunk);
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_TRUE (sameSamples (readAudio (folder ("chunk.wav")), readAudio (folder ("direct.wav"))));

    // The chunk holds all twelve programs: another program of it is another gate (here the
    // defaults, which only close on digital silence).
    fromChunk.program = 0;
    ASSERT_TRUE (render (folder ("in.wav"), folder ("program0.wav"), fromChunk).wasOk());
    EXPECT_FALSE (sameSamples (readAudio (folder ("program0.wav")), readAudio (folder ("direct.wav"))));
}

TEST (FileRenderer, SavesSettingsWithoutRendering)
{
    ScratchFolder folder;
    RenderOptions options;
    options.threshold = 0.25f;
    options.settingsToSave = folder ("only.chunk");
    std::vector<FileRenderer::FileOutcome> outcomes;
    ASSERT_TRUE (FileRenderer::run (options, outcomes).wasOk());
    EXPECT_TRUE (folder ("only.chunk").existsAsFile());
    EXPECT_EQ (folder.listFiles(), juce::StringArray { "only.chunk" });
}

TEST (FileRenderer, ConvertsToIntegersWithTheScaleOfReadingRoundingToNearestAndClipping)
{
    // Every integer of a format comes back as itself from its value at the reading scale.
    for (int bits : { 8, 16, 24, 32 })
    {
        const auto top = (juce::int64 { 1 } << (bits - 1)) - 1;

        for (auto value : { -top - 1, -top, -1ll, 0ll, 1ll, top / 3, top - 1, top })
            EXPECT_EQ (OutputAudio::toInteger (std::ldexp (static_cast<double> (value), 1 - bits), bits),
                       static_cast<juce::int32> (static_cast<juce::uint32> (value) << (32 - bits)))
                << bits << " bits, " << value;
    }

    const auto at16 = [] (double sample)
    { return OutputAudio::toInteger (sample, 16) / 65536; };
    const double lsb = 1.0 / 32768.0;

    const std::pair<double, int> cases[] = {
        { 0.4 * lsb, 0 },
        { 0.6 * lsb, 1 },
        { -0.6 * lsb, -1 }, // to nearest
        { 0.5 * lsb, 0 },
        { 1.5 * lsb, 2 },
        { 2.5 * lsb, 2 }, // ties to even
        { 1.0, 32767 },
        { 7.0, 32767 },
        { -1.0, -32768 },
        { -7.0, -32768 }, // clipped
        { std::numeric_limits<double>::infinity(), 32767 },
        { std::nan (""), 0 },
    };

    for (const auto& [sample, expected] : cases)
        EXPECT_EQ (at16 (sample), expected) << sample;
}
