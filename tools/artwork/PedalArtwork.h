#pragma once

#include "AboutCardPainter.h"
#include "PedalPainter.h"
#include "PngEncoder.h"

#include <functional>
#include <vector>

/**
    The seven pictures of the pedal, drawn from one description: the background, the three
    knob strips, the footswitch strip, the dual-mono switch strip and the about card.

    Each strip frame is the background's fixed parts under the widget's rectangle with the
    control drawn on top; the background is the fixed parts with frame 0 of every strip
    copied in. So frame 0 of each strip equals the background under its widget exactly.
    Any single thread.
*/
class PedalArtwork
{
public:
    /** One finished picture and how it is stored. */
    struct Picture
    {
        juce::String fileName;
        juce::Image image;
        PngEncoder::Kind kind;
        bool repeatEndChunk; ///< the strips are stored with their end chunk written twice

        /** The bytes to store, as PngEncoder writes them. */
        juce::MemoryBlock encode() const { return PngEncoder::encode (image, kind, repeatEndChunk); }
    };

    /** Both must outlive the artwork. */
    PedalArtwork (const PedalDescription& pedal, const ArtworkFonts& fonts);

    /** Draws all seven: background, threshold, attack and decay knobs, footswitch,
        dual-mono switch, about card. */
    std::vector<Picture> paintAll() const;

    /** The file names of paintAll's pictures, in the same order. */
    static juce::StringArray fileNames (const PedalDescription& pedal);

private:
    using FramePainter = std::function<void (juce::Graphics&, int frame)>;

    static juce::Image paintStrip (const juce::Image& fixedParts, juce::Rectangle<int> bounds, int frames, const FramePainter& paintFrame);
    static void copyPixels (const juce::Image& source, juce::Image& target, juce::Point<int> at);

    const PedalDescription& pedal_;
    PedalPainter painter_;
    AboutCardPainter aboutPainter_;
};
