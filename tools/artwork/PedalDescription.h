#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/**
    The one description of the pedal that every picture is drawn from: the picture sizes,
    the rectangles the editor gives its widgets, where each part sits and the colours.
    Because the background and the strips read the same numbers, they fit by construction.

    Widget-local points (knob centre, LED, switch) are relative to the widget's rectangle,
    so the same drawing serves a strip frame and the background. Plain data; any thread.
*/
struct PedalDescription
{
    /** One knob: its strip's file name, the caption printed under it and its rectangle. */
    struct Knob
    {
        juce::String fileName;
        juce::String caption;
        juce::Rectangle<int> bounds;
    };

    /** The paints of the pedal: powder-coated panels, steel, chrome, cream print, red LEDs. */
    struct Palette
    {
        juce::Colour backdrop { 0xff0b0c0d };    // outside the enclosure's rounded corners
        juce::Colour plate { 0xff2c3035 };       // diamond-plate steel
        juce::Colour plateRaised { 0xff4d535a }; // the tops of the treads
        juce::Colour panel { 0xff16181b };       // control panel and plates, black powder coat
        juce::Colour print { 0xffe9e3d2 };       // cream silk-screen print
        juce::Colour printDim { 0xffa9a496 };    // scale ticks
        juce::Colour accent { 0xffc8231c };      // the logo's red
        juce::Colour knobBody { 0xff141517 };
        juce::Colour knobPointer { 0xfff4f1e8 };
        juce::Colour chromeLight { 0xfff2f4f6 };
        juce::Colour chromeDark { 0xff50555b };
        juce::Colour ledOff { 0xff3c0c0b };
        juce::Colour ledOn { 0xffff3a22 };
        juce::Colour ledGlow { 0xffff2410 };
        juce::Colour card { 0xff2b2d31 }; // the about card
        juce::Colour cardText { 0xffd9d5ca };
        juce::Colour cardTextDim { 0xff9a978f };
    };

    // Picture sizes. The about card is one row shorter, so the pedal's bottom row stays visible.
    int width = 325;
    int height = 366;
    int aboutWidth = 325;
    int aboutHeight = 365;

    // The widgets' rectangles in the editor, and the frame counts of their strips.
    std::array<Knob, 3> knobs { { { "threshold_knob.png", "THRESHOLD", { 17, 40, 96, 73 } },
                                  { "attack_knob.png", "ATTACK", { 113, 40, 96, 73 } },
                                  { "decay_knob.png", "DECAY", { 209, 40, 96, 73 } } } };
    int knobFrames = 101;
    juce::Rectangle<int> footswitch { 222, 266, 90, 99 };
    int footswitchFrames = 4;
    juce::Rectangle<int> dualMono { 12, 167, 113, 125 };
    int dualMonoFrames = 2;
    juce::Rectangle<int> aboutClickArea { 15, 313, 223, 40 };

    // Knob (local to its rectangle). The pointer sweeps this far either side of straight up,
    // so the minimum points to the lower left and the maximum to the lower right.
    juce::Point<float> knobCentre { 48.0f, 36.5f };
    float knobSweepRadians = juce::MathConstants<float>::pi * 0.75f;
    float knobRadius = 23.5f;
    float knobFaceRadius = 17.0f;
    float scaleInnerRadius = 28.0f;
    float scaleOuterRadius = 31.5f;

    // Footswitch and its LED (local).
    juce::Point<float> footswitchCentre { 49.0f, 62.0f };
    juce::Point<float> footswitchLed { 49.0f, 16.0f };
    float footswitchNutRadius = 23.0f;
    float footswitchButtonRadius = 13.5f;

    // Dual-mono toggle, its LED and caption plate (local).
    juce::Point<float> toggleCentre { 56.5f, 58.0f };
    juce::Point<float> dualMonoLed { 56.5f, 15.0f };
    float toggleNutRadius = 11.0f;
    float toggleLeverLength = 24.0f;
    juce::Rectangle<float> dualMonoCaptionPlate { 12.0f, 96.0f, 89.0f, 19.0f };
    juce::String dualMonoCaption { "DUAL MONO" };

    float ledBezelRadius = 7.0f;
    float ledLensRadius = 4.6f;
    float ledGlowRadius = 13.0f;

    // Parts of the background that no widget covers.
    float enclosureCornerRadius = 14.0f;
    juce::Rectangle<float> controlPanel { 8.0f, 19.0f, 309.0f, 126.0f };
    float captionBaseline = 132.0f;
    juce::Rectangle<float> badge { 146.0f, 178.0f, 150.0f, 58.0f };
    juce::String productLine { "Pelmora" };
    juce::String productName { "Tacetor" };
    juce::String maker { "ORVANE" };

    // About card: the opaque card and where the panel's version label draws.
    juce::Rectangle<int> aboutCard { 12, 8, 301, 349 };
    juce::Rectangle<int> versionLabel { 150, 66, 100, 16 };

    Palette colours;
};
