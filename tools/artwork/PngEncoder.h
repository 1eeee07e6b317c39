#pragma once

#include <juce_graphics/juce_graphics.h>

/**
    Writes PNG streams with exactly the chunks the pedal's pictures need (IHDR, IDAT, IEND),
    at the highest compression, so the same pixels always give the same bytes.

    JUCE's own writer picks the colour type from the image format too, but adds an sBIT chunk
    and compresses at its default level; the pictures are committed, so their size matters.
    Any thread; each call is independent.
*/
class PngEncoder
{
public:
    /** How the pixels are stored. */
    enum class Kind
    {
        rgb, ///< 8-bit RGB, colour type 2: alpha is dropped (the image must be opaque)
        rgba ///< 8-bit RGBA, colour type 6: straight (not premultiplied) alpha
    };

    /** Encodes image. With repeatEndChunk the 12-byte IEND chunk is written twice: decoders
        stop at the first, so the picture is unchanged. Returns an empty block if libpng fails. */
    static juce::MemoryBlock encode (const juce::Image& image, Kind kind, bool repeatEndChunk);

    /** The size of a PNG end chunk: length, type and CRC. */
    static constexpr size_t endChunkSize = 12;
};
