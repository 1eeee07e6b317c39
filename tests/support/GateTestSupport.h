#pragma once

#include "dsp/NoiseGate.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

/** Gate parameter values in index order: on switch, dual mono, threshold, attack, decay. */
using GateValues = std::array<float, NoiseGate::numGateParameters>;

/** The gate's own defaults: on, linked, threshold 0, about 2 ms attack and 100 ms decay. */
inline constexpr GateValues defaultGateValues { 1.0f, 0.0f, 0.0f, 0.134f, 0.367f };

/** Readies a gate the way the processor does before audio runs. */
inline void prepareGate (NoiseGate& gate, float sampleRate, const GateValues& values, int maxBlockSize = 16384)
{
    gate.setSampleRate (sampleRate);
    gate.setMaxBlockSize (maxBlockSize);
    gate.reset();

    for (int index = 0; index < NoiseGate::numGateParameters; ++index)
        gate.setParameter (index, values[static_cast<size_t> (index)]);

    gate.prepare();
}

/** Hands one changed value to a running gate the way the processor does between blocks. */
inline void pushValue (NoiseGate& gate, int index, float value)
{
    gate.setParameter (index, value);
    gate.parameterChanged (index);
}

/** Uniform noise in -amplitude..amplitude, reproducible from the seed. */
inline std::vector<float> makeNoise (size_t size, float amplitude, std::uint32_t seed)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<float> distribution (-amplitude, amplitude);
    std::vector<float> samples (size);

    for (auto& sample : samples)
        sample = distribution (random);

    return samples;
}

/** True when both arrays hold the same bits (so -0 differs from +0, and NaN may equal NaN). */
inline bool sameBits (const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp (a.data(), b.data(), a.size() * sizeof (float)) == 0;
}
