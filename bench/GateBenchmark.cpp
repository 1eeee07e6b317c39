// Cost per frame of the gate and of the processor's audio callback, each beside a bare loop of
// the same per-sample formula measured in the same run, on two signals: a plucked tone that
// keeps the gate mostly open, and bursts over a quiet floor that let it close between them.
// scripts/bench.sh prints the ratios.
#include "PelmoraTacetorAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace
{
constexpr float epsilon = 1e-20f;
constexpr float sampleRate = 48000.0f;

/** Threshold -32 dB, about 3 ms attack and 70 ms decay, linked unless asked otherwise. */
constexpr float settings[] = { 1.0f, 0.0f, 0.5f, 0.2f, 0.3f };

/** A plucked 110 Hz tone that dies away into a faint noise floor, over and over, so that the
    gate opens and closes as it would on a guitar. */
std::vector<float> makeSignal (size_t size, float phase)
{
    std::vector<float> signal (size);
    std::uint32_t noise = 12345;

    for (size_t i = 0; i < size; ++i)
    {
        noise = noise * 1664525u + 1013904223u;
        const float hiss = 0.002f * (static_cast<float> (noise >> 8) / 16777216.0f - 0.5f);
        const auto t = static_cast<float> (i % 24000) / sampleRate;
        signal[i] = 0.5f * std::exp (-6.0f * t) * std::sin (2.0f * 3.14159265f * 110.0f * t + phase) + hiss;
    }

    return signal;
}

/** Noise bursts of 80 to 250 ms at -26 to -6 dBFS over a -70 dBFS floor of 0.6 to 1.2 s, as
    on a guitar track between phrases: the gate (threshold -32 dB) closes in every gap. */
std::vector<float> makeBursts (size_t size, std::uint32_t seed)
{
    std::vector<float> signal (size);
    std::mt19937 lengths (2024);
    std::mt19937 noise (seed);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    bool burst = false;

    for (size_t position = 0; position < size; burst = ! burst)
    {
        const float seconds = burst ? 0.08f + 0.17f * unit (lengths) : 0.6f + 0.6f * unit (lengths);
        const size_t end = std::min (size, position + static_cast<size_t> (seconds * sampleRate));
        const float level = 1.73f * std::pow (10.0f, (burst ? -26.0f + 20.0f * unit (lengths) : -70.0f) / 20.0f);

        for (; position < end; ++position)
            signal[position] = level * (2.0f * unit (noise) - 1.0f);
    }

    return signal;
}

enum class Signal
{
    plucked,
    bursts
};

/** One channel pair of test signal and the buffers processed in place, refilled each round. */
struct Buffers
{
    explicit Buffers (int frames, Signal signal = Signal::plucked)
        : sourceLength (signal == Signal::plucked ? 96000 : 480000)
        , sourceLeft (signal == Signal::plucked ? makeSignal (sourceLength, 0.0f) : makeBursts (sourceLength, 1))
        , sourceRight (signal == Signal::plucked ? makeSignal (sourceLength, 1.0f) : makeBursts (sourceLength, 2))
        , left (static_cast<size_t> (frames))
        , right (static_cast<size_t> (frames))
        , numFrames (frames)
    {
    }

    /** Copies the next stretch of the signal in, so that every round gates fresh samples. */
    void refill()
    {
        const auto count = static_cast<size_t> (numFrames);
        if (position + count > sourceLength)
            position = 0;

        std::memcpy (left.data(), sourceLeft.data() + position, count * sizeof (float));
        std::memcpy (right.data(), sourceRight.data() + position, count * sizeof (float));
        position += count;
    }

    size_t sourceLength;
    std::vector<float> sourceLeft, sourceRight, left, right;
    int numFrames;
    size_t position = 0;
};

void reportPerFrame (benchmark::State& state, int frames)
{
    state.SetItemsProcessed (state.iterations() * frames);
    state.counters["time_per_frame"] = benchmark::Counter (static_cast<double> (frames),
                                                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

//==============================================================================
// The bare reference: the per-sample formula on local variables, nothing around it.

struct BareGate
{
    explicit BareGate (const NoiseGate& prepared)
        : threshold (prepared.getThresholdLinear())
        , attack (prepared.getAttackCoefficient())
        , decay (prepared.getDecayCoefficient())
    {
    }

    float step (float& envelope, float level) const
    {
        const float target = level > threshold ? 1.0f + epsilon : epsilon;
        const float coefficient = target > envelope ? attack : decay;
        envelope = target + (envelope - target) * coefficient;
        return envelope - epsilon;
    }

    void linked (float* left, float* right, int n)
    {
        for (int i = 0; i < n; ++i)
        {
            const float levelLeft = std::fabs (left[i]);
            const float levelRight = std::fabs (right[i]);
            const float gain = step (envelopeA, levelLeft > levelRight ? levelLeft : levelRight);
            left[i] *= gain;
            right[i] *= gain;
        }
    }

    void dualMono (float* left, float* right, int n)
    {
        for (int i = 0; i < n; ++i)
        {
            left[i] *= step (envelopeA, std::fabs (left[i]));
            right[i] *= step (envelopeB, std::fabs (right[i]));
        }
    }

    void mono (float* samples, int n)
    {
        for (int i = 0; i < n; ++i)
            samples[i] *= step (envelopeA, std::fabs (samples[i]));
    }

    float threshold, attack, decay;
    float envelopeA = 0.0f, envelopeB = 0.0f;
};

NoiseGate& preparedGate (NoiseGate& gate, bool dualMono)
{
    gate.setSampleRate (sampleRate);
    gate.setMaxBlockSize (16384);
    gate.reset();
    for (int index = 0; index < 5; ++index)
        gate.setParameter (index, settings[index]);
    gate.setParameter (1, dualMono ? 1.0f : 0.0f);
    gate.prepare();
    return gate;
}

template <typename Process>
void run (benchmark::State& state, Process&& process, Signal signal = Signal::plucked)
{
    const auto frames = static_cast<int> (state.range (0));
    Buffers buffers (frames, signal);

    for (auto _ : state)
    {
        buffers.refill();
        process (buffers.left.data(), buffers.right.data(), frames);
        benchmark::ClobberMemory();
    }

    reportPerFrame (state, frames);
}

//==============================================================================
void BareLinked (benchmark::State& state)
{
    NoiseGate gate;
    BareGate bare (preparedGate (gate, false));
    run (state, [&bare] (float* l, float* r, int n)
         { bare.linked (l, r, n); });
}

void GateLinked (benchmark::State& state)
{
    NoiseGate gate;
    preparedGate (gate, false);
    run (state, [&gate] (float* l, float* r, int n)
         { gate.processStereo (l, r, n); });
}

void BareLinkedBursts (benchmark::State& state)
{
    NoiseGate gate;
    BareGate bare (preparedGate (gate, false));
    run (
        state, [&bare] (float* l, float* r, int n)
        { bare.linked (l, r, n); },
        Signal::bursts);
}

void GateLinkedBursts (benchmark::State& state)
{
    NoiseGate gate;
    preparedGate (gate, false);
    run (
        state, [&gate] (float* l, float* r, int n)
        { gate.processStereo (l, r, n); },
        Signal::bursts);
}

void BareDualMono (benchmark::State& state)
{
    NoiseGate gate;
    BareGate bare (preparedGate (gate, true));
    run (state, [&bare] (float* l, float* r, int n)
         { bare.dualMono (l, r, n); });
}

void GateDualMono (benchmark::State& state)
{
    NoiseGate gate;
    preparedGate (gate, true);
    run (state, [&gate] (float* l, float* r, int n)
         { gate.processStereo (l, r, n); });
}

void BareMono (benchmark::State& state)
{
    NoiseGate gate;
    BareGate bare (preparedGate (gate, false));
    run (state, [&bare] (float* l, float*, int n)
         { bare.mono (l, n); });
}

void GateMono (benchmark::State& state)
{
    NoiseGate gate;
    preparedGate (gate, false);
    run (state, [&gate] (float* l, float*, int n)
         { gate.processMono (l, n); });
}

/** A block inside a crossfade: the dry copy, the linked gate and the mix, with the weights
    moving every sample. The switch flips before every block so the fade never ends. */
void BareFade (benchmark::State& state)
{
    NoiseGate gate;
    BareGate bare (preparedGate (gate, false));
    std::vector<float> dryLeft (16384), dryRight (16384);
    float wet = 0.5f, dry = 0.5f;
    bool fadingIn = false;
    constexpr float step = 1.0f / 2048.0f;

    run (state, [&] (float* l, float* r, int n)
         {
        fadingIn = ! fadingIn;
        std::memcpy (dryLeft.data(), l, static_cast<size_t> (n) * sizeof (float));
        std::memcpy (dryRight.data(), r, static_cast<size_t> (n) * sizeof (float));
        bare.linked (l, r, n);
        float& rising = fadingIn ? wet : dry;
        float& falling = fadingIn ? dry : wet;

        for (int i = 0; i < n; ++i)
        {
            l[i] = l[i] * wet + dryLeft[static_cast<size_t> (i)] * dry;
            r[i] = r[i] * wet + dryRight[static_cast<size_t> (i)] * dry;
            if (rising < 1.0f)
            {
                rising += step;
                falling -= step;
            }
        } });
}

void GateFade (benchmark::State& state)
{
    NoiseGate gate;
    preparedGate (gate, false);
    bool on = true;

    run (state, [&] (float* l, float* r, int n)
         {
        on = ! on;
        gate.setParameter (0, on ? 1.0f : 0.0f);
        gate.parameterChanged (0);
        gate.processStereo (l, r, n); });
}

/** The whole audio callback in stereo: the comparison of five values, then the gate. */
void ProcessBlock (benchmark::State& state)
{
    const auto frames = static_cast<int> (state.range (0));
    PelmoraTacetorAudioProcessor processor;
    for (int index = 0; index < 5; ++index)
        processor.setParameter (index, settings[index]);
    processor.prepareToPlay (sampleRate, frames);

    // The host's buffer refers to the same channel memory the gate benchmarks use.
    Buffers buffers (frames);
    float* channels[] = { buffers.left.data(), buffers.right.data() };
    juce::AudioBuffer<float> buffer (channels, 2, frames);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        buffers.refill();
        processor.processBlock (buffer, midi);
        benchmark::ClobberMemory();
    }

    reportPerFrame (state, frames);
}

void sizes (benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg (64)->Arg (512)->Arg (4096);
}
} // namespace

BENCHMARK (BareLinked)->Apply (sizes);
BENCHMARK (GateLinked)->Apply (sizes);
BENCHMARK (ProcessBlock)->Apply (sizes);
BENCHMARK (BareLinkedBursts)->Apply (sizes);
BENCHMARK (GateLinkedBursts)->Apply (sizes);
BENCHMARK (BareDualMono)->Arg (512);
BENCHMARK (GateDualMono)->Arg (512);
BENCHMARK (BareMono)->Arg (512);
BENCHMARK (GateMono)->Arg (512);
BENCHMARK (BareFade)->Arg (512);
BENCHMARK (GateFade)->Arg (512);

BENCHMARK_MAIN();
