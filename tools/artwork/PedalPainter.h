#pragma once

#include "ArtworkFonts.h"
#include "PedalDescription.h"

/**
    Draws the pedal from its description: the fixed parts (enclosure, diamond plate, control
    panel with its print, caption plate, badge, logo lettering) and each control in each of
    its poses. Controls are drawn in their widget's own coordinates, so one drawing serves the
    strip frame and, placed at the widget's rectangle, the background.

    Every control stays inside its widget's rectangle, shadow and LED glow included, which is
    what lets a frame cover its widget's rectangle completely.

    Deterministic: no system fonts, no random state. Any single thread.
*/
class PedalPainter
{
public:
    /** Both must outlive the painter. */
    PedalPainter (const PedalDescription& pedal, const ArtworkFonts& fonts);

    /** The whole pedal without its controls: width × height, opaque ARGB. */
    juce::Image paintFixedParts() const;

    /** One knob turned to angle (radians clockwise from straight up), in knob-local
        coordinates, over whatever g already holds. */
    void paintKnob (juce::Graphics& g, float angle) const;

    /** The footswitch and its LED in footswitch-local coordinates. */
    void paintFootswitch (juce::Graphics& g, bool lit, bool pressed) const;

    /** The dual-mono toggle and its LED in its local coordinates: lever up and LED lit when on. */
    void paintDualMonoSwitch (juce::Graphics& g, bool on) const;

    /** A per-pixel grain of ±amount (0..1 of full scale) over the part of image inside
        shape, the same for the same seed. Used for steel, powder coat and card board. */
    static void addGrain (juce::Image& image, const juce::Path& shape, float amount, juce::uint32 seed);

private:
    void paintDiamondPlate (juce::Graphics& g, juce::Image& image) const;
    void paintControlPanel (juce::Graphics& g, juce::Image& image) const;
    void paintJackMarks (juce::Graphics& g) const;
    void paintKnobScales (juce::Graphics& g) const;
    void paintCaptionPlate (juce::Graphics& g) const;
    void paintBadge (juce::Graphics& g) const;
    void paintLogo (juce::Graphics& g) const;
    void paintEnclosureEdge (juce::Graphics& g) const;

    void paintScrew (juce::Graphics& g, juce::Point<float> centre, float radius, float slotAngle) const;
    void paintLed (juce::Graphics& g, juce::Point<float> centre, bool lit) const;
    void paintHexNut (juce::Graphics& g, juce::Point<float> centre, float radius, float rotation) const;

    const PedalDescription& pedal_;
    const ArtworkFonts& fonts_;
};
