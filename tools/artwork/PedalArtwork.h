#pragma once

#include "AboutCardPainter.h"
#include "PedalPainter.h"
#include "PngEncoder.h"

#include <functional>
#include <vector>

/**
    The pictures of the pedal, drawn from one description: the background, the three knob
    strips, the footswitch strip, the dual-mono switch strip and the about card, each at 1×
    and at 2× (for displays and hosts that scale the editor to 200 %).

    Each strip frame is the background's fixed parts under the widget's rectangle with the
    control drawn on top; the background is the fixed parts with frame 0 of every strip
    copied in. So frame 0 of each strip equals the background under its widget exactly, at
    either scale. The 2× set has the 1× set's layout and frames, every length doubled.
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

    /** The scales the pictures are drawn at. */
    static constexpr int scales[] = { 1, PedalGeometry::doubleSizeScale };

    /** Both must outlive the artwork. */
    PedalArtwork (const PedalDescription& pedal, const ArtworkFonts& fonts);

    /** Draws all fourteen: the seven 1× pictures (background, threshold, attack and decay
        knobs, footswitch, dual-mono switch, about card), then the same seven at 2×. */
    std::vector<Picture> paintAll() const;

    /** The seven pictures at one scale (1 or 2), in paintAll's order: the background first. */
    std::vector<Picture> paintAtScale (int scale) const;

    /** The seven file names of the pictures drawn at scale, in paintAll's order: the 1×
        names, and at 2× each with "_2x" before its extension. */
    static juce::StringArray fileNames (int scale);

private:
    using FramePainter = std::function<void (juce::Graphics&, int frame)>;

    static juce::Image paintStrip (const PedalPainter& painter, const juce::Image& fixedParts, const PedalGeometry::Control& control, const FramePainter& paintFrame);
    static void copyPixels (const juce::Image& source, juce::Image& target, juce::Point<int> at);

    const PedalDescription& pedal_;
    const ArtworkFonts& fonts_;
};
