#pragma once

#include "EmbeddedImages.h"
#include "Orvane2StateButton.h"
#include "Orvane4StateButton.h"
#include "OrvaneKnob.h"

#include <juce_graphics/juce_graphics.h>

/**
    Where everything sits on the pedal, in the 1× pictures' pixels (the twins at
    doubleSizeScale multiply every length by it), and the pictures' files. The editor, the
    about panel and the artwork generator all read these. Constants; any thread.
*/
namespace PedalGeometry
{
/** A control drawn from a strip: the strip's picture and file, the control's rectangle in
    the editor and the number of frames, which is the widget class's own. */
struct Control
{
    EmbeddedImages::Picture picture;
    const char* fileName;
    juce::Rectangle<int> bounds;
    int numFrames;
};

/** The background picture, and so the editor. */
inline const juce::Rectangle<int> pedal { 0, 0, 325, 366 };
constexpr const char* backgroundFileName = "background.png";

using EmbeddedImages::Picture;
inline const Control footswitch { Picture::footswitch, "footswitch.png", { 222, 266, 90, 99 }, Orvane4StateButton::numFrames };
inline const Control dualMonoSwitch { Picture::dualMonoSwitch, "dual_mono_switch.png", { 12, 167, 113, 125 }, Orvane2StateButton::numFrames };

/** Threshold, attack and decay, left to right; their rectangles abut one another. */
inline const Control knobs[] { { Picture::thresholdKnob, "threshold_knob.png", { 17, 40, 96, 73 }, OrvaneKnob::numFrames },
                               { Picture::attackKnob, "attack_knob.png", { 113, 40, 96, 73 }, OrvaneKnob::numFrames },
                               { Picture::decayKnob, "decay_knob.png", { 209, 40, 96, 73 }, OrvaneKnob::numFrames } };

/** Every strip, in the pictures' order: the knobs, the footswitch, the dual-mono switch. */
inline const Control strips[] { knobs[0], knobs[1], knobs[2], footswitch, dualMonoSwitch };

/** Where the knob's axis lies within its rectangle. */
inline const juce::Point<float> knobCentre { 48.0f, 36.5f };

/** The invisible click area over the logo lettering that opens the about panel. */
inline const juce::Rectangle<int> aboutClickArea { 15, 313, 223, 40 };

/** The about picture, and so the panel: one row shorter than the pedal. */
inline const juce::Rectangle<int> aboutPanel = pedal.withTrimmedBottom (1);
constexpr const char* aboutFileName = "about.png";

/** The opaque card within the about picture, and where in it the version label writes. */
inline const juce::Rectangle<int> aboutCard { 12, 8, 301, 349 };
inline const juce::Rectangle<int> versionLabel { 150, 66, 100, 16 };

/** The scale of the pictures' twins for editors shown above 100 %. */
constexpr int doubleSizeScale = 2;

/** The file of a picture drawn at scale: its own name at 1, otherwise with "_<scale>x"
    before its ".png" ("about_2x.png"). */
inline juce::String fileNameAtScale (const juce::String& fileName, int scale)
{
    return scale == 1 ? fileName : fileName.replace (".png", "_" + juce::String (scale) + "x.png");
}
} // namespace PedalGeometry
