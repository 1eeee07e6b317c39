// Host calls with arbitrary contents, in process: parameter values of any bit pattern give
// texts and finite audio.
#include "PelmoraTacetorAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

TEST (HostileHostCalls, ParameterValuesOfAnyBitPatternGiveTextsAndFiniteAudio)
{
    std::mt19937 random (11u);
    PelmoraTacetorAudioProcessor processor;
    processor.prepareToPlay (44100.0, 64);
    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;

    for (int round = 0; round < 2000; ++round)
    {
        const auto bits = static_cast<std::uint32_t> (random());
        float value;
        std::memcpy (&value, &bits, sizeof (value));
        const int index = static_cast<int> (random() % PelmoraTacetorAudioProcessor::numParameters);
        processor.setParameter (index, value);

        // The value is stored as given (a host reads back what it wrote); its text must still be
        // something to show.
        for (int parameter = 0; parameter < PelmoraTacetorAudioProcessor::numParameters; ++parameter)
            ASSERT_FALSE (processor.getParameterText (parameter).isEmpty()) << bits;

        for (int n = 0; n < 64; ++n)
            for (int channel = 0; channel < 2; ++channel)
                buffer.setSample (channel, n, std::sin (0.1f * static_cast<float> (n + round)) * (round % 2 == 0 ? 0.9f : 0.001f));

        processor.processBlock (buffer, midi);

        for (int channel = 0; channel < 2; ++channel)
            for (int n = 0; n < 64; ++n)
                ASSERT_TRUE (std::isfinite (buffer.getSample (channel, n))) << "bits " << bits << " at " << index;
    }
}
