// The renderer's throughput: a ten-minute stereo 16-bit WAV file gated in-process, from
// reading the input to the output's header read back, as a multiple of real time.
#include "FileRenderer.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <juce_events/juce_events.h>

#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr double seconds = 600.0;

// Noise bursts over a quiet floor, so that the gate opens and closes all through the file.
bool writeInput (const juce::File& file)
{
    SF_INFO info {};
    info.samplerate = static_cast<int> (sampleRate);
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

    auto* output = sf_open (file.getFullPathName().toRawUTF8(), SFM_WRITE, &info);

    if (output == nullptr)
        return false;

    juce::Random random (1);
    std::vector<short> block (2 * 48000);
    bool ok = true;

    for (int second = 0; second < static_cast<int> (seconds) && ok; ++second)
    {
        const int level = second % 3 == 0 ? 20 : 8000;

        for (auto& sample : block)
            sample = static_cast<short> (random.nextInt (2 * level + 1) - level);

        ok = sf_writef_short (output, block.data(), 48000) == 48000;
    }

    sf_close (output);
    return ok;
}

void RenderTenMinuteStereo16BitWav (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI framework;
    const juce::TemporaryFile folder;
    folder.getFile().createDirectory();

    RenderOptions options;
    options.inputs.add (folder.getFile().getChildFile ("in.wav"));
    options.output = folder.getFile().getChildFile ("out.wav");
    options.threshold = 0.3f;

    if (! writeInput (options.inputs[0]))
    {
        state.SkipWithError ("cannot write the input file");
        return;
    }

    for (auto _ : state)
    {
        std::vector<FileRenderer::FileOutcome> outcomes;

        if (FileRenderer::run (options, outcomes).failed() || outcomes.at (0).result.failed())
        {
            state.SkipWithError ("the render failed");
            break;
        }
    }

    state.counters["x_real_time"] = benchmark::Counter (seconds * static_cast<double> (state.iterations()), benchmark::Counter::kIsRate);
    folder.getFile().deleteRecursively();
}
} // namespace

BENCHMARK (RenderTenMinuteStereo16BitWav)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (3);
