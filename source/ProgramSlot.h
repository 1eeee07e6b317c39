#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <atomic>

/**
    One program: a name and the five normalised parameter values (0 on switch, 1 dual mono,
    2 threshold, 3 attack, 4 decay).

    The values are read by the audio thread while hosts and the editor write them from
    theirs, so each is an atomic float: a store never waits and a block sees whole values.
    The name is only touched from the host's non-audio threads.
*/
struct ProgramSlot
{
    static constexpr int numValues = 5;

    juce::String name;
    std::array<std::atomic<float>, numValues> values {};

    /** The value at index (0..4), relaxed: the change flag orders nothing here. */
    float get (int index) const noexcept { return values[static_cast<size_t> (index)].load (std::memory_order_relaxed); }

    /** Stores the value at index (0..4). Any thread; never waits. */
    void set (int index, float value) noexcept { values[static_cast<size_t> (index)].store (value, std::memory_order_relaxed); }
};
