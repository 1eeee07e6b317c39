// Hands arbitrary bytes to setStateInformation, as a host restoring a damaged or foreign
// project would. Besides the sanitizers' checks: whatever was accepted must save and restore
// to the very same block, or a project saved after such a restore would not load again.
#include "PelmoraTacetorAudioProcessor.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace
{
juce::MemoryBlock stateOf (PelmoraTacetorAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

void restore (PelmoraTacetorAudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    if (size > static_cast<std::size_t> (std::numeric_limits<int>::max()))
        return 0;

    PelmoraTacetorAudioProcessor processor;
    processor.setStateInformation (data, static_cast<int> (size));

    if (! juce::isPositiveAndBelow (processor.getCurrentProgram(), processor.getNumPrograms()))
        std::abort();

    const auto saved = stateOf (processor);
    PelmoraTacetorAudioProcessor reloaded;
    restore (reloaded, saved);

    if (stateOf (reloaded) != saved)
        std::abort();

    return 0;
}
