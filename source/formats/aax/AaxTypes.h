#pragma once

#include <cstdint>

// Values shared by our small AAX description layer: result codes, property IDs and stem
// formats. The layer describes the plug-in the way an AAX host's registration asks for it; it
// is our own and stands in for the vendor library, which is not part of this build.

namespace aax
{
/** Result of a description call: 0 on success, negative on failure. */
using Result = std::int32_t;

constexpr Result success = 0;

/** The host handed out no object where one was needed (no collection, no descriptor). */
constexpr Result errorNullObject = -20004;

/** An entry point this layer does not serve (there is no loadable AAX module here). */
constexpr Result errorNotImplemented = -20005;

/** A four-character code as a 32-bit number, first character in the most significant byte. */
constexpr std::uint32_t fourCC (const char (&code)[5]) noexcept
{
    return (static_cast<std::uint32_t> (static_cast<unsigned char> (code[0])) << 24) | (static_cast<std::uint32_t> (static_cast<unsigned char> (code[1])) << 16) | (static_cast<std::uint32_t> (static_cast<unsigned char> (code[2])) << 8) | static_cast<std::uint32_t> (static_cast<unsigned char> (code[3]));
}

/** What a component's property map can carry. */
enum class Property : std::uint32_t
{
    manufacturerId,     // four-character code
    productId,          // four-character code
    nativePlugInId,     // four-character code, one per component
    audioSuitePlugInId, // four-character code, one per component
    inputStemFormat,    // StemFormat
    outputStemFormat,   // StemFormat
    canBypass,          // 1: the host may bypass the plug-in
    supportsMultiMono   // 1: the host may run one mono instance per channel
};

/** A main-bus channel format: the layout's number in the high 16 bits, its channel count in
    the low 16 bits. */
enum class StemFormat : std::uint32_t
{
    none = 0,
    mono = (1u << 16) | 1u,
    stereo = (2u << 16) | 2u,
    lcr = (3u << 16) | 3u,
    quad = (4u << 16) | 4u,
    fivePointZero = (5u << 16) | 5u,
    fivePointOne = (6u << 16) | 6u,
    sevenPointZero = (7u << 16) | 7u,
    sevenPointOne = (8u << 16) | 8u
};

/** The channel count a stem format carries. */
constexpr int channelCount (StemFormat format) noexcept
{
    return static_cast<int> (static_cast<std::uint32_t> (format) & 0xffffu);
}
} // namespace aax
