#pragma once

#include "dsp/NoiseGate.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <xmmintrin.h>

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
    // An empty vector may have no storage at all, which memcmp must not be given.
    return a.size() == b.size() && (a.empty() || std::memcmp (a.data(), b.data(), a.size() * sizeof (float)) == 0);
}

/** The ways a host may set up the handling of subnormal numbers on its audio thread: none,
    flush-to-zero, denormals-are-zero, or both (MXCSR bits). */
inline constexpr std::array<unsigned, 4> floatModes { 0u, 0x8000u, 0x0040u, 0x8040u };

/** The rounding directions a thread may choose: to nearest (what hosts use), down, up and
    towards zero (MXCSR bits). */
inline constexpr std::array<unsigned, 4> roundingModes { 0x0000u, 0x2000u, 0x4000u, 0x6000u };

/** Runs the calling thread with a combination of floatModes and roundingModes until the end
    of the scope. */
class ScopedFloatMode
{
public:
    explicit ScopedFloatMode (unsigned mode)
        : saved (_mm_getcsr())
    {
        _mm_setcsr ((saved & ~0xe040u) | mode);
    }

    ~ScopedFloatMode() { _mm_setcsr (saved); }

    ScopedFloatMode (const ScopedFloatMode&) = delete;
    ScopedFloatMode& operator= (const ScopedFloatMode&) = delete;

private:
    unsigned saved;
};

/** A random combination of floatModes and roundingModes, rounding to nearest three times in
    four. */
inline unsigned randomFloatMode (std::mt19937& random)
{
    const unsigned rounding = random() % 4 == 0 ? roundingModes[random() % roundingModes.size()] : roundingModes[0];
    return floatModes[random() % floatModes.size()] | rounding;
}
