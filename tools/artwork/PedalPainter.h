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

    Everything is described in the pedal's own units (one unit is one pixel of the 1× pictures)
    and drawn at a whole-number scale: at 2 each picture has twice the width and height, the
    same layout and twice the detail. Every context the painter draws into must map one unit
    to scale × scale pixels from its image's origin (useUnits sets that up).

    Deterministic: no system fonts, no random state. Any single thread.
*/
class PedalPainter
{
public:
    /** Both must outlive the painter; scale is 1 or more. */
    PedalPainter (const PedalDescription& pedal, const ArtworkFonts& fonts, int scale = 1);

    int getScale() const noexcept { return scale_; }

    /** Makes g, which draws into an image from its origin, take the pedal's units at scale. */
    static void useUnits (juce::Graphics& g, int scale);

    /** path, given in the pedal's units, in pixels of pictures drawn at scale. */
    static juce::Path inPixels (const juce::Path& path, int scale);

    /** The whole pedal without its controls: (width × height) × scale, opaque ARGB. */
    juce::Image paintFixedParts() const;

    /** One knob turned to angle (radians clockwise from straight up), in knob-local
        coordinates, over whatever g already holds. */
    void paintKnob (juce::Graphics& g, float angle) const;

    /** The footswitch and its LED in footswitch-local coordinates. */
    void paintFootswitch (juce::Graphics& g, bool lit, bool pressed) const;

    /** The dual-mono toggle and its LED in its local coordinates: lever up and LED lit when on. */
    void paintDualMonoSwitch (juce::Graphics& g, bool on) const;

    /** A grain of ±amount (0..1 of full scale) over the part of image (drawn at scale) inside
        shape (in the pedal's units), one grain per unit, so the texture looks the same at
        every scale; the same for the same seed. Used for steel, powder coat and card board. */
    static void addGrain (juce::Image& image, int scale, const juce::Path& shape, float amount, juce::uint32 seed);

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

    /** shadow (radius and offset in units) cast by path, rendered at the picture's own
        resolution rather than stretched from 1×. */
    void castShadow (juce::Graphics& g, const juce::DropShadow& shadow, const juce::Path& path) const;

    const PedalDescription& pedal_;
    const ArtworkFonts& fonts_;
    int scale_;
};
