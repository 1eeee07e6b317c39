// Rendering files through the linked-in gate, called as a library.
#include "support/RenderTestSupport.h"

#include "FileRenderer.h"
#include "ParameterUnits.h"

#include <gtest/gtest.h>

using namespace RenderTestSupport;

namespace
{
constexpr double rate = 48000.0;

juce::Result render (const juce::File& input, const juce::File& output, RenderOptions options = {})
{
    options.input = input;
    options.output = output;
    return FileRenderer::run (options);
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
} // namespace

TEST (FileRenderer, ClosesOnTheFloorAndKeepsTheBursts)
{
    ScratchFolder folder;
    const auto dry = burstsOverFloor (2, rate, 3.0);
    ASSERT_TRUE (writeWav (folder ("in.wav"), dry, rate));

    RenderOptions options;
    options.threshold = static_cast<float> (ParameterUnits::thresholdFromDecibels (-50.0));
    options.decay = static_cast<float> (ParameterUnits::decayFromMilliseconds (10.0));
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
    options.threshold = static_cast<float> (ParameterUnits::thresholdFromDecibels (-30.0));
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

TEST (FileRenderer, PassesAudioUnchangedWithTheGateOffInEveryFormat)
{
    ScratchFolder folder;
    const auto dry = burstsOverFloor (1, 44100.0, 0.5);
    ASSERT_TRUE (writeWav (folder ("in.wav"), dry, 44100.0, 24));
    const auto input = readAudio (folder ("in.wav"));

    RenderOptions options;
    options.gateOn = false;

    // 24-bit input into the lossless formats comes back sample for sample, mono stays mono.
    for (const char* name : { "out.wav", "out.flac", "out.aiff" })
    {
        ASSERT_TRUE (render (folder ("in.wav"), folder (name), options).wasOk()) << name;
        double outRate = 0.0;
        const auto output = readAudio (folder (name), &outRate);
        EXPECT_EQ (outRate, 44100.0) << name;
        EXPECT_TRUE (sameSamples (output, input)) << name;
    }

    options.bitsPerSample = 16;
    ASSERT_TRUE (render (folder ("in.wav"), folder ("out16.flac"), options).wasOk());
    std::unique_ptr<juce::AudioFormatReader> reader (juce::FlacAudioFormat().createReaderFor (
        folder ("out16.flac").createInputStream().release(), true));
    ASSERT_NE (reader, nullptr);
    EXPECT_EQ (reader->bitsPerSample, 16u);
}

TEST (FileRenderer, SavedSettingsRenderLikeTheOptionsTheyCameFrom)
{
    if (! processorWritesSettingsChunk())
        GTEST_SKIP() << "this build writes no settings chunk";

    ScratchFolder folder;
    ASSERT_TRUE (writeWav (folder ("in.wav"), burstsOverFloor (2, rate, 1.0), rate));

    RenderOptions direct;
    direct.program = 5;
    direct.threshold = static_cast<float> (ParameterUnits::thresholdFromDecibels (-35.0));
    direct.attack = static_cast<float> (ParameterUnits::attackFromMilliseconds (0.5));
    direct.decay = static_cast<float> (ParameterUnits::decayFromMilliseconds (30.0));
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
    ASSERT_TRUE (FileRenderer::run (options).wasOk());
    EXPECT_TRUE (folder ("only.chunk").existsAsFile());
    EXPECT_EQ (folder.listFiles(), juce::StringArray { "only.chunk" });
}
