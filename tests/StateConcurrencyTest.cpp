// Restores, program changes and automation from host threads while the audio thread runs.
// Run under ThreadSanitizer by scripts/sanitize.sh; the plain build checks the outcome.
#include "PelmoraTacetorAudioProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

// Rounds each job runs at least, however slow or busy the machine.
constexpr int minimumRounds = 400;

// Runs each job on its own thread, over and over with a growing round number, for the given
// time and at least minimumRounds times; the audio thread keeps processing blocks all the while.
void hammer (PelmoraTacetorAudioProcessor& processor,
             const std::vector<std::function<void (int)>>& jobs,
             std::chrono::milliseconds duration)
{
    std::atomic<bool> stop { false };
    std::thread audio ([&]
                       {
        juce::AudioBuffer<float> buffer (2, 64);
        juce::MidiBuffer midi;

        while (! stop.load())
        {
            for (int channel = 0; channel < 2; ++channel)
                for (int sample = 0; sample < 64; ++sample)
                    buffer.setSample (channel, sample, sample % 2 == 0 ? 0.5f : -0.5f);

            processor.processBlock (buffer, midi);
        } });

    const auto deadline = Clock::now() + duration;
    std::vector<std::thread> threads;

    for (const auto& job : jobs)
        threads.emplace_back ([&job, deadline]
                              {
            for (int round = 0; round < minimumRounds || Clock::now() < deadline; ++round)
                job (round); });

    for (auto& thread : threads)
        thread.join();

    stop = true;
    audio.join();
}

// A table in which every value tells its slot and index apart from all others.
juce::MemoryBlock distinctTable (int activePreset)
{
    PelmoraTacetorAudioProcessor source;

    for (int program = 0; program < 12; ++program)
    {
        source.setCurrentProgram (program);
        source.changeProgramName (program, "Program " + juce::String (program));

        for (int index = 0; index < 5; ++index)
            source.setParameter (index, static_cast<float> (program * 5 + index + 1) / 64.0f);
    }

    source.setCurrentProgram (activePreset);
    juce::MemoryBlock block;
    source.getStateInformation (block);
    return block;
}
} // namespace

TEST (StateConcurrency, RestoresAndProgramChangesRacingKeepEveryProgramItsOwnValues)
{
    PelmoraTacetorAudioProcessor processor;
    processor.prepareToPlay (48000.0, 64);

    const juce::MemoryBlock tables[] = { distinctTable (2), distinctTable (9) };
    const auto restoresEnd = Clock::now() + std::chrono::milliseconds (150);

    // Restores (which end in a program change) race program changes from another thread, a
    // hundred at least however slow the machine; in the second half only program changes race
    // each other, so damage done then stays.
    hammer (processor,
            { [&] (int round)
              {
                  if ((round < minimumRounds / 2 || Clock::now() < restoresEnd) && round % 2 == 0)
                  {
                      const auto& table = tables[(round / 2) % 2];
                      processor.setStateInformation (table.getData(), static_cast<int> (table.getSize()));
                  }
                  else
                  {
                      processor.setCurrentProgram ((round * 5) % 12);
                  }
              },
              [&] (int round)
              { processor.setCurrentProgram (round % 12); } },
            std::chrono::milliseconds (300));

    // No writer stores a value other than a slot's own, so the table is as restored; a
    // program change must never carry one program's values into another.
    processor.setCurrentProgram (2);
    juce::MemoryBlock after;
    processor.getStateInformation (after);
    EXPECT_EQ (after, tables[0]);
}

TEST (StateConcurrency, AutomationProgramChangesSavesAndRestoresAgainstTheAudioThread)
{
    PelmoraTacetorAudioProcessor processor;
    processor.prepareToPlay (48000.0, 64);

    const auto table = distinctTable (5);

    hammer (processor,
            { [&] (int round)
              {
                  // The host's state thread saves and restores, as on project save and load.
                  juce::MemoryBlock saved;
                  processor.getStateInformation (saved);
                  const auto& block = round % 3 == 0 ? table : saved;
                  processor.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
              },
              [&] (int round)
              { processor.setCurrentProgram ((round * 7) % 12); },
              [&] (int round)
              { processor.setParameter (round % 5, static_cast<float> (round % 100) / 100.0f); },
              [&] (int round)
              { processor.setParameter ((round + 2) % 5, round % 2 == 0 ? 1.0f : 0.0f); } },
            std::chrono::milliseconds (400));

    // Whatever the interleaving, a final restore brings back exactly what was stored.
    processor.setStateInformation (table.getData(), static_cast<int> (table.getSize()));
    juce::MemoryBlock after;
    processor.getStateInformation (after);
    EXPECT_EQ (after, table);
}
