#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/**
    A short guitar-like phrase for demonstrations: plucked-string notes (Karplus-Strong),
    each damped by the player's hand after it has rung, over a constant noise floor of mains
    hum (50 Hz and its odd harmonics, as a single-coil pickup hears it) and hiss. Between the
    notes only the floor is left, which is what a noise gate is for.

    Deterministic: the same sample rate always gives the same samples. Any thread.
*/
class GuitarPhrase
{
public:
    /** A stretch of the phrase in seconds. */
    struct Span
    {
        double start = 0.0;
        double end = 0.0;
    };

    /** Synthesises the phrase, mono, at sampleRate (Hz, at least 8000). */
    explicit GuitarPhrase (double sampleRate);

    const juce::AudioBuffer<float>& getAudio() const noexcept { return audio_; }
    double getSampleRate() const noexcept { return sampleRate_; }
    double getLengthSeconds() const noexcept { return audio_.getNumSamples() / sampleRate_; }

    /** Where only the noise floor sounds: the middle of each pause between notes. */
    const std::vector<Span>& getPauses() const noexcept { return pauses_; }

    /** The floor alone (hum and hiss, no notes), as long as the phrase: its peak tells how
        high a threshold must sit to close on it. */
    const juce::AudioBuffer<float>& getNoiseFloor() const noexcept { return noiseFloor_; }

private:
    void addNote (double start, double length, double frequency, float level, juce::Random& random);

    double sampleRate_;
    juce::AudioBuffer<float> audio_;
    juce::AudioBuffer<float> noiseFloor_;
    std::vector<Span> pauses_;
};
