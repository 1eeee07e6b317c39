#pragma once

#include <juce_core/juce_core.h>

/**
    The renderer's demonstration: a synthesised guitar phrase with hum and hiss between the
    notes, gated with the default program and with a threshold tuned just above the noise
    floor, written as WAV files with a picture of the gate at work. Needs no audio device and
    no display.

    Message thread only, with JUCE running.
*/
namespace Demo
{
/** The tuned run's threshold: above the floor's peaks, well below the notes. */
constexpr double tunedThresholdDecibels = -40.0;

/** Writes guitar-dry.wav, guitar-gated-default.wav, guitar-gated-tuned.wav and
    gate-demo.png into directory (created if missing), gating through the bundle at plugin
    when one is given, else through the linked-in processor. report receives a short account
    of what was written and measured, for the user to read. */
juce::Result run (const juce::File& directory, const juce::File& plugin, juce::String& report);
} // namespace Demo
