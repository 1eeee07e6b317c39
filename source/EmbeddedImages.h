#pragma once

#include <juce_graphics/juce_graphics.h>

/**
    The pedal's pictures, stored in the library as PNG byte arrays and decoded on demand.

    Every decode call reads the stored bytes afresh and returns a new image (no image cache),
    or an empty image if the bytes cannot be decoded. Decode on the message thread; the
    stored bytes themselves are constant and may be read from any thread.

    Strips hold their frames stacked vertically from the top: knobs 101 frames of 96 × 73
    (frame 0 pointer lower left, 50 straight up, 100 lower right), footswitch 4 frames of
    90 × 99 (LED dark released, dark pressed, lit released, lit pressed), dual-mono switch
    2 frames of 113 × 125 (off, on).

    Every picture is also stored at twice the size, frame for frame (a knob frame of the
    double-size strip is 192 × 146), for editors shown at more than 100 %.
*/
namespace EmbeddedImages
{
/** The pictures, in the order the editor decodes its own. */
enum class Picture
{
    background,
    thresholdKnob,
    attackKnob,
    decayKnob,
    footswitch,
    dualMonoSwitch,
    about
};

/** A picture's stored bytes and the count handed to the decoder: the whole array. The
    strips' arrays carry a second copy of the PNG end chunk after the first, which decoders
    never reach. */
struct StoredPicture
{
    const char* data;
    int size;
};

/** The stored bytes of picture. Any thread. */
StoredPicture stored (Picture picture);

/** The stored bytes of picture drawn at twice the size. Any thread. */
StoredPicture storedDoubleSize (Picture picture);

/** Decodes a PNG stream with juce::ImageFileFormat::loadFrom, handing it the whole count.
    Bytes that are not a complete PNG stream (bad signature, a chunk cut short or failing its
    CRC before the end chunk) give an empty image without reaching the decoder: JUCE's PNG
    reader built against the system libpng crashes on them instead of failing. Anything
    after the end chunk is ignored. Message thread. */
juce::Image decode (StoredPicture bytes);

/** 325 × 366, opaque ARGB: the pedal with every control at rest. */
juce::Image decodeBackground();

/** 96 × 7373 RGB strips of 101 knob frames, each with the background behind its own knob. */
juce::Image decodeThresholdKnob();
juce::Image decodeAttackKnob();
juce::Image decodeDecayKnob();

/** 90 × 396 RGB strip of the footswitch's 4 frames. */
juce::Image decodeFootswitch();

/** 113 × 250 RGB strip of the dual-mono switch's 2 frames. */
juce::Image decodeDualMonoSwitch();

/** 325 × 365 ARGB: the about card, transparent around its soft shadow. */
juce::Image decodeAbout();

/** picture at twice the size: each length doubled, the same kind and frames. Message thread. */
juce::Image decodeDoubleSize (Picture picture);
} // namespace EmbeddedImages
