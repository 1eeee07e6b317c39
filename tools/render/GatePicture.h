#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_graphics/juce_graphics.h>

#include <optional>
#include <vector>

/**
    A picture of a gate at work: one panel per rendering of the same audio, each showing the
    signal's level in dBFS over time and the gate's gain (0..1) on top of it, with the
    threshold where one is set.

    Text uses DejaVu Sans from Debian's fonts-dejavu-core, so the picture looks the same on
    every machine that has the package. Any thread (it only draws into an image).
*/
class GatePicture
{
public:
    /** One panel: its caption, the audio to show (mono, channel 0), and optionally the gate's
        gain per pixel column and the threshold in dB. */
    struct Panel
    {
        juce::String caption;
        const juce::AudioBuffer<float>* audio = nullptr;
        std::vector<float> gain;
        std::optional<double> thresholdDecibels;
    };

    static constexpr int width = 1400;
    static constexpr int plotLeft = 70;
    static constexpr int plotRight = 70;

    /** The number of pixel columns a panel's plot spans (one gain value per column). */
    static constexpr int plotColumns = width - plotLeft - plotRight;

    /** Draws the title and the panels, stacked, over lengthSeconds at sampleRate (Hz). */
    static juce::Image draw (const juce::String& title, const std::vector<Panel>& panels, double sampleRate);

    /** The gain the gate applied, per plot column: gated / dry at the loudest dry sample of
        each column, where that ratio is exact. Columns of digital silence repeat the previous
        gain. Both buffers mono and equally long. */
    static std::vector<float> measureGain (const juce::AudioBuffer<float>& dry, const juce::AudioBuffer<float>& gated);

    /** DejaVu Sans at height pixels (bold or not); JUCE's default sans-serif font when the
        Debian font is missing. */
    static juce::Font font (float height, bool bold = false);
};
