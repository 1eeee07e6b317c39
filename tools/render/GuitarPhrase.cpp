#include "GuitarPhrase.h"

#include <cmath>

namespace
{
// (start s, ringing time s, frequency Hz, peak level): an E minor pentatonic lick, the
// last note left to ring longest.
struct Note
{
    double start, length, frequency;
    float level;
};

constexpr Note phrase[] = {
    { 0.30, 0.70, 164.81, 0.55f }, // E3
    { 1.40, 0.45, 196.00, 0.45f }, // G3
    { 2.30, 0.80, 220.00, 0.60f }, // A3
    { 3.60, 0.40, 246.94, 0.40f }, // B3
    { 4.20, 0.40, 293.66, 0.50f }, // D4
    { 5.10, 1.30, 329.63, 0.65f }, // E4
};

constexpr double totalSeconds = 7.2;
constexpr double dampSeconds = 0.03; // the palm mute that ends a note
constexpr double humLevel = 0.0025;  // about -52 dBFS for the 50 Hz fundamental
constexpr double hissLevel = 0.0012; // RMS of the hiss, about -58 dBFS
constexpr double twoPi = 6.283185307179586;
} // namespace

GuitarPhrase::GuitarPhrase (double sampleRate)
    : sampleRate_ (sampleRate)
    , audio_ (1, static_cast<int> (totalSeconds * sampleRate))
    , noiseFloor_ (1, static_cast<int> (totalSeconds * sampleRate))
{
    juce::Random random (0x7ace7);
    auto* floor = noiseFloor_.getWritePointer (0);

    // Hum with odd harmonics falling off, and hiss from a gently low-passed gaussian-ish noise
    // (the sum of four uniform values).
    double hissState = 0.0;

    for (int i = 0; i < noiseFloor_.getNumSamples(); ++i)
    {
        const double t = i / sampleRate;
        const double hum = humLevel * (std::sin (twoPi * 50.0 * t) + 0.5 * std::sin (twoPi * 150.0 * t + 0.3) + 0.25 * std::sin (twoPi * 250.0 * t + 1.1));
        const double white = (random.nextDouble() + random.nextDouble() + random.nextDouble() + random.nextDouble() - 2.0) * std::sqrt (3.0);
        hissState += 0.6 * (white - hissState);
        floor[i] = static_cast<float> (hum + hissLevel * 1.6 * hissState);
    }

    audio_.copyFrom (0, 0, noiseFloor_, 0, 0, noiseFloor_.getNumSamples());

    for (const auto& note : phrase)
        addNote (note.start, note.length, note.frequency, note.level, random);

    // A pause runs from a note's mute until the next note; its middle half is surely quiet.
    for (size_t i = 0; i + 1 < std::size (phrase); ++i)
    {
        const double from = phrase[i].start + phrase[i].length + dampSeconds;
        const double to = phrase[i + 1].start;
        const double quarter = (to - from) / 4.0;
        pauses_.push_back ({ from + quarter, to - quarter });
    }
}

void GuitarPhrase::addNote (double start, double length, double frequency, float level, juce::Random& random)
{
    // Karplus-Strong: a delay line one period long, filled with a noise burst and fed back
    // through a two-point average, which loses the high partials first as a string does.
    const auto period = static_cast<size_t> (std::lround (sampleRate_ / frequency));
    std::vector<float> line (period);
    float smoothed = 0.0f;

    for (auto& sample : line)
    {
        // A pick is brighter than a thumb but not a click: a lightly smoothed burst.
        smoothed += 0.5f * ((random.nextFloat() * 2.0f - 1.0f) - smoothed);
        sample = smoothed;
    }

    const auto first = static_cast<int> (start * sampleRate_);
    const auto ringing = static_cast<int> (length * sampleRate_);
    const auto damping = static_cast<int> (dampSeconds * sampleRate_);
    const int count = std::min (ringing + damping, audio_.getNumSamples() - first);
    auto* out = audio_.getWritePointer (0);

    // The burst's own peak varies; scale so that the note starts at the level asked for.
    float burstPeak = 0.0f;
    for (auto sample : line)
        burstPeak = std::max (burstPeak, std::abs (sample));

    const float gain = level / std::max (burstPeak, 1.0e-6f);
    constexpr float feedback = 0.4985f; // half of a loss just below 1

    for (int i = 0, read = 0; i < count; ++i)
    {
        const auto next = (static_cast<size_t> (read) + 1) % period;
        const float sample = line[static_cast<size_t> (read)];
        line[static_cast<size_t> (read)] = feedback * (sample + line[next]);
        read = static_cast<int> (next);

        const float mute = i < ringing ? 1.0f : 1.0f - static_cast<float> (i - ringing) / static_cast<float> (damping);
        out[first + i] += gain * sample * mute;
    }
}
