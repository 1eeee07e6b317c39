#pragma once

#include <cstddef>

/**
    Decides whether a state block that a VST3 host hands to the plug-in can go to JUCE's VST3
    wrapper safely.

    The wrapper also reads VST2-era layouts so that the VST3 build can take over a VST2 build's
    projects ("VstW" header, "CcnK" bank chunk, whole "VST3" preset files, and the wrapper's own
    "JUCEPrivateData" trailer), and it trusts the offsets and sizes written inside them: a short
    or lying block makes it read outside the block, or pass a negative size on. This check
    follows the same reading steps with every offset and size bounded, and says no where the
    wrapper would leave the block. Everything the wrapper writes itself, and every block in none
    of those layouts (and without the trailer), passes.

    Pure function of the bytes; any thread.
*/
class Vst3StateCheck
{
public:
    /** True when the wrapper reads only inside data[0, size) for this block. */
    static bool isSafe (const void* data, std::size_t size) noexcept;

private:
    static bool isSafeVstW (const unsigned char* data, std::size_t size) noexcept;
    static bool isSafeBank (const unsigned char* data, std::size_t size) noexcept;
    static bool isSafePresetFile (const unsigned char* data, std::size_t size) noexcept;
    static bool isSafeChunk (const unsigned char* data, std::size_t size) noexcept;
};
