#pragma once

#include <juce_core/juce_core.h>

/**
    Text that a host hands over as bare bytes without saying how they are encoded, such as a
    program name from a VST2 host.

    Pure functions, any thread but the audio thread (they build strings).
*/
namespace HostText
{
/** True when the zero-terminated bytes are well-formed UTF-8: every sequence complete, no
    overlong form, no surrogate, nothing beyond U+10FFFF. */
bool isWellFormedUtf8 (const char* text) noexcept;

/** The zero-terminated bytes as text: UTF-8 when they are well-formed UTF-8 (what current
    hosts send), otherwise one character per byte in ISO 8859-1 (older hosts' 8-bit text).
    Null gives the empty text. */
juce::String fromUnlabelledBytes (const char* text);
} // namespace HostText
