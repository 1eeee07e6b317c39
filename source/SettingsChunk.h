#pragma once

#include "ProgramSlot.h"

#include <juce_core/juce_core.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

/**
    The block of bytes hosts store with their projects and presets: the whole program table
    and the current program, as one XML element in JUCE's binary XML container.

    The container is the magic number 0x21324356, the byte count n of the text, n bytes of
    UTF-8 text and a zero byte (integers little-endian). The text is one line:
    <TACETORPLUGINSETTINGS activePreset="0" PresetName0="Init" bypass0="1" ... decay11="..."/>
    with, for each program i, "PresetName" + i followed by each parameter's host name + i.
    Values are the floats widened to double and written with 20 significant digits as C's
    %.20g in the classic locale would (0.134f is 0.13400000333786010742), whatever locale the
    host has set, so that every float comes back exactly.

    Reading is lenient where stored blocks may differ (attribute order, missing or extra
    attributes, children, the tag's letter case) and strict where a damaged block would
    otherwise replace the table with half of it; a block it cannot use is ignored without
    complaint: no exceptions, no logging, nothing reported to the host. Both directions
    allocate, so they may run on any thread but the audio thread.
*/
class SettingsChunk
{
public:
    /** One program as the block carries it. */
    struct Program
    {
        juce::String name;
        std::array<float, ProgramSlot::numValues> values {};
    };

    /** What a block holds. activePreset is the number read, which may lie outside the
        table: the caller decides what an out-of-range index means. */
    struct Contents
    {
        int activePreset = 0;
        std::vector<Program> programs;
    };

    static constexpr const char* tagName = "TACETORPLUGINSETTINGS";

    /** Replaces destData with the block for contents. parameterNames are the host names of
        the values, in index order; they name the attributes. */
    static void write (const Contents& contents,
                       const std::array<juce::String, ProgramSlot::numValues>& parameterNames,
                       juce::MemoryBlock& destData);

    /** Reads a block that a host hands back. numPrograms programs are read; a missing name
        reads as "", a missing value as its entry in defaults, a value that is not a number as
        0. Returns nothing when the block is to be ignored: 8 bytes or fewer, a wrong magic
        number, a stored length of 0 or below, text that is not well-formed XML, or another
        root tag (ASCII letter case aside). A stored length beyond the block reads what is
        there; null data reads as nothing. */
    static std::optional<Contents> read (const void* data,
                                         int sizeInBytes,
                                         int numPrograms,
                                         const std::array<juce::String, ProgramSlot::numValues>& parameterNames,
                                         const std::array<float, ProgramSlot::numValues>& defaults);

    /** The value text of one parameter value: %.20g of the value as a double, classic locale.
        1 for 1.0f, 0.13400000333786010742 for 0.134f, -0 for -0.0f, nan, inf, -inf. */
    static juce::String formatValue (float value);

    /** Reads a value text: leading white space, a sign, then "nan", "inf" (any letter case) or
        a decimal number with an optional fraction and exponent; reading stops at the first
        character that does not fit, and a text without a number reads as 0. The nearest double
        is narrowed to the nearest float, so every text formatValue writes reads back exactly
        (a not-a-number comes back as the quiet one). */
    static float parseValue (const juce::String& text);

    /** Reads a program index text: leading white space, a sign, decimal digits up to the first
        other character; no digits read as 0. Numbers beyond the int range saturate, so they
        stay outside any table rather than wrapping into it. */
    static int parseIndex (const juce::String& text);

    /** The XML element inside a block, or null when the container or its text is unusable
        (see read). Beyond what JUCE's parser rejects, these texts are unusable too: bytes that
        are not valid UTF-8, a prolog
        or start tag that is not well-formed XML (JUCE would read a start tag that is cut short
        as a whole element with attributes missing), a document type declaration (no block of ours
        has one, and refusing it keeps JUCE's entity expansion out of reach), a processing
        instruction after the start tag (JUCE's parser loops forever on one among an
        element's contents) and more than
        maxMarkupOpenings '<' characters (JUCE's parser recurses once per level of nesting and
        runs off an 8 MB stack at a depth of about 50000). */
    static std::unique_ptr<juce::XmlElement> unwrap (const void* data, int sizeInBytes);

    /** A block of ours has one '<'; a text with more than this many is not one of ours, and
        below it the parser's recursion stays shallow on any host thread's stack. */
    static constexpr int maxMarkupOpenings = 256;
};
