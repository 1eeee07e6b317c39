// The audio callback allocates nothing and takes no lock for blocks up to the prepared size,
// whatever happened between blocks; a longer block is the one documented exception.
#include "PelmoraTacetorAudioProcessor.h"
#include "support/AnyLayoutProcessor.h"
#include "support/AudioThreadProbe.h"

#include <gtest/gtest.h>

#include <mutex>
#include <random>
#include <shared_mutex>
#include <thread>

namespace
{
// Where deliberate allocations are shown, so that the compiler cannot leave them out.
void* volatile escape = nullptr;

juce::AudioProcessor::BusesLayout layout (const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout buses;
    buses.inputBuses.add (in);
    buses.outputBuses.add (out);
    return buses;
}

/** Channel memory for the largest block, and a buffer over any prefix of it, made before the
    probe is armed, as a host would have it ready. */
struct HostBlocks
{
    HostBlocks (int numChannels, int maxSamples)
        : storage (numChannels, maxSamples)
    {
        for (int channel = 0; channel < numChannels; ++channel)
            for (int i = 0; i < maxSamples; ++i)
                storage.setSample (channel, i, 0.3f * std::sin (0.01f * static_cast<float> (i * (channel + 1))));
    }

    juce::AudioBuffer<float> view (int numSamples)
    {
        return juce::AudioBuffer<float> (storage.getArrayOfWritePointers(), storage.getNumChannels(), numSamples);
    }

    juce::AudioBuffer<float> storage;
};

struct Counts
{
    long allocations = 0, frees = 0, locks = 0;

    Counts& operator+= (const Counts& other)
    {
        allocations += other.allocations;
        frees += other.frees;
        locks += other.locks;
        return *this;
    }
};

/** Runs one block under the probe and returns what it counted. */
Counts processCounted (PelmoraTacetorAudioProcessor& processor, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    const AudioThreadProbe probe;
    processor.processBlock (buffer, midi);
    return { probe.allocations(), probe.frees(), probe.locks() };
}
} // namespace

TEST (AudioThreadSafety, TheProbeSeesDeliberateAllocationsAndLocks)
{
    {
        const AudioThreadProbe probe;
        auto vector = std::make_unique<std::vector<float>> (100);
        escape = vector->data();
        vector.reset();
        EXPECT_EQ (probe.allocations(), 2); // the vector object and its elements
        EXPECT_EQ (probe.frees(), 2);
    }

    if (AudioThreadProbe::countsMalloc())
    {
        const AudioThreadProbe probe;
        juce::HeapBlock<float> block (64); // the framework's blocks use malloc
        escape = block.get();
        EXPECT_EQ (probe.allocations(), 1);
    }

    {
        const AudioThreadProbe probe;
        std::mutex mutex;
        {
            const std::lock_guard<std::mutex> guard (mutex);
        }
        juce::CriticalSection section;
        {
            const juce::ScopedLock lock (section);
        }
        {
            const juce::ScopedTryLock lock (section);
        }
        std::shared_mutex shared;
        {
            const std::shared_lock<std::shared_mutex> lock (shared);
        }
        EXPECT_EQ (probe.locks(), 4);
        EXPECT_EQ (probe.allocations(), 0);
    }

    // Only the armed thread is counted.
    const AudioThreadProbe probe;
    std::thread ([]
                 { std::vector<float> elsewhere (10); std::mutex m; m.lock(); m.unlock(); })
        .join();
    EXPECT_EQ (probe.locks(), 0);
}

TEST (AudioThreadSafety, TheCallbackAllocatesNothingAndLocksNothingInAnyLayout)
{
    const std::pair<juce::AudioChannelSet, juce::AudioChannelSet> layouts[] = {
        { juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo() },
        { juce::AudioChannelSet::mono(), juce::AudioChannelSet::mono() },
        { juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo() },
    };

    std::mt19937 random (77);
    const auto chance = [&random] (unsigned percent)
    { return random() % 100 < percent; };
    const auto uniform = [&random]
    { return std::uniform_real_distribution<float> (0.0f, 1.0f) (random); };

    for (const auto& [in, out] : layouts)
    {
        AnyLayoutProcessor processor;
        ASSERT_TRUE (processor.setBusesLayout (layout (in, out)));
        processor.prepareToPlay (48000.0, 512);
        HostBlocks host (out.size(), 16384);
        Counts total;

        for (int block = 0; block < 1500; ++block)
        {
            // Between blocks, as hosts and the editor do: automation, switches that start and
            // reverse fades, program changes.
            if (chance (30))
                processor.setParameter (static_cast<int> (random() % 5), uniform());
            if (chance (10))
                processor.setParameter (0, chance (50) ? 0.0f : 1.0f);
            if (chance (3))
                processor.setCurrentProgram (static_cast<int> (random() % 12));

            const int numSamples = chance (5) ? 16384 : chance (10) ? static_cast<int> (random() % 2)
                                                                    : static_cast<int> (random() % 1024);
            auto buffer = host.view (numSamples);
            total += processCounted (processor, buffer);
        }

        EXPECT_EQ (total.allocations, 0) << in.getDescription() << " > " << out.getDescription();
        EXPECT_EQ (total.frees, 0) << in.getDescription() << " > " << out.getDescription();
        EXPECT_EQ (total.locks, 0) << in.getDescription() << " > " << out.getDescription();
    }
}

TEST (AudioThreadSafety, OnlyABlockLongerThanPreparedAllocates)
{
    PelmoraTacetorAudioProcessor processor;
    processor.prepareToPlay (44100.0, 32768);
    HostBlocks host (2, 40000);

    auto prepared = host.view (32768);
    EXPECT_EQ (processCounted (processor, prepared).allocations, 0);

    // The gate grows both of its dry copies first, then carries on without allocating.
    auto longer = host.view (40000);
    const auto counts = processCounted (processor, longer);
    EXPECT_EQ (counts.allocations, 2);
    EXPECT_EQ (counts.frees, 2);
    EXPECT_EQ (processor.getGate().getMaxBlockSize(), 40000);
    EXPECT_EQ (processCounted (processor, longer).allocations, 0);
}
