// Host calls with arbitrary contents, in process: program names made of any bytes survive the
// settings chunk, and parameter values of any bit pattern give texts and finite audio.
#include "PelmoraTacetorAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace
{
juce::String randomName (std::mt19937& random)
{
    char bytes[300];
    const auto length = random() % sizeof (bytes);

    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char> (random() % 4 == 0 ? "<>&\"'\x01\x1f\x7f\xc3\xff"[random() % 10] : static_cast<int> (random() % 256));

    // Hosts hand over whatever their users typed or their files held, not always valid UTF-8.
    return juce::String::fromUTF8 (bytes, static_cast<int> (length));
}
} // namespace

TEST (HostileHostCalls, ProgramNamesOfAnyBytesSurviveTheSettingsChunk)
{
    std::mt19937 random (7u);

    for (int round = 0; round < 200; ++round)
    {
        PelmoraTacetorAudioProcessor original;
        const int index = static_cast<int> (random() % PelmoraTacetorAudioProcessor::numPrograms);
        original.changeProgramName (index, randomName (random));
        original.setParameter (2, 0.3f);

        juce::MemoryBlock state;
        original.getStateInformation (state);

        PelmoraTacetorAudioProcessor restored;
        restored.setStateInformation (state.getData(), static_cast<int> (state.getSize()));

        for (int program = 0; program < PelmoraTacetorAudioProcessor::numPrograms; ++program)
            ASSERT_EQ (restored.getProgramName (program), original.getProgramName (program))
                << "round " << round << ", program " << program;

        ASSERT_EQ (restored.getParameter (2), original.getParameter (2)) << "round " << round;

        juce::MemoryBlock again;
        restored.getStateInformation (again);
        ASSERT_EQ (again, state) << "round " << round;
    }
}

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
