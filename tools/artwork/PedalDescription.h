#pragma once

#include "PedalGeometry.h"

#include <array>

/**
    How the pedal is drawn, on top of the geometry it shares with the editor (PedalGeometry:
    picture sizes, the controls' rectangles and frame counts): where each part sits inside
    its control, the parts no control covers, the lettering and the colours. Because the
    background and the strips read the same numbers, they fit by construction.

    Widget-local points (knob centre, LED, switch) are relative to the widget's rectangle,
    so the same drawing serves a strip frame and the background. Plain data; any thread.
*/
struct PedalDescription
{
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

    // The captions printed under the knobs, in PedalGeometry::knobs order.
    std::array<juce::String, 3> knobCaptions { "THRESHOLD", "ATTACK", "DECAY" };

    // Knob (local to its rectangle, round PedalGeometry::knobCentre). The pointer sweeps this
    // far either side of straight up, so the minimum points to the lower left and the maximum
    // to the lower right.
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

    Palette colours;
};
