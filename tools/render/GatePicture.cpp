#include "GatePicture.h"

#include <cmath>

namespace
{
constexpr int titleHeight = 56;
constexpr int panelHeight = 250;
constexpr int captionHeight = 30;
constexpr int axisHeight = 44;
constexpr int legendHeight = 40;
constexpr double floorDecibels = -90.0;

const juce::Colour background (0xfffbfaf7);
const juce::Colour plotBackground (0xffffffff);
const juce::Colour gridColour (0xffe2e0da);
const juce::Colour textColour (0xff222222);
const juce::Colour levelColour (0xff4a7bb7);
const juce::Colour gainColour (0xffe07b00);
const juce::Colour thresholdColour (0xffc0392b);

juce::Typeface::Ptr loadTypeface (const char* path)
{
    juce::MemoryBlock data;

    if (! juce::File (path).loadFileAsData (data) || data.isEmpty())
        return nullptr;

    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

float yForDecibels (double decibels, juce::Rectangle<float> plot)
{
    const double clamped = juce::jlimit (floorDecibels, 0.0, decibels);
    return plot.getY() + static_cast<float> (clamped / floorDecibels) * plot.getHeight();
}

float yForGain (float gain, juce::Rectangle<float> plot)
{
    return plot.getBottom() - juce::jlimit (0.0f, 1.0f, gain) * plot.getHeight();
}

void drawPanel (juce::Graphics& g, const GatePicture::Panel& panel, juce::Rectangle<int> area, double sampleRate)
{
    g.setColour (textColour);
    g.setFont (GatePicture::font (19.0f, true));
    g.drawText (panel.caption, area.removeFromTop (captionHeight).withTrimmedLeft (GatePicture::plotLeft),
                juce::Justification::centredLeft);

    const auto plot = area.withTrimmedLeft (GatePicture::plotLeft).withTrimmedRight (GatePicture::plotRight).toFloat();
    g.setColour (plotBackground);
    g.fillRect (plot);

    // Level grid on the left (dBFS), gain scale on the right.
    g.setFont (GatePicture::font (14.0f));

    for (double decibels = 0.0; decibels >= floorDecibels; decibels -= 20.0)
    {
        const float y = yForDecibels (decibels, plot);
        g.setColour (gridColour);
        g.drawHorizontalLine (juce::roundToInt (y), plot.getX(), plot.getRight());
        g.setColour (textColour);
        g.drawText (juce::String (juce::roundToInt (decibels)) + " dB",
                    juce::Rectangle<float> (0.0f, y - 9.0f, plot.getX() - 8.0f, 18.0f), juce::Justification::centredRight);
    }

    g.setColour (gainColour);

    for (float gain : { 0.0f, 0.5f, 1.0f })
        g.drawText ("gain " + juce::String (gain, 1),
                    juce::Rectangle<float> (plot.getRight() + 6.0f, yForGain (gain, plot) - 9.0f, 64.0f, 18.0f),
                    juce::Justification::centredLeft);

    // Vertical seconds grid.
    const auto* samples = panel.audio->getReadPointer (0);
    const int numSamples = panel.audio->getNumSamples();
    const double seconds = numSamples / sampleRate;

    for (int second = 1; second < seconds; ++second)
    {
        g.setColour (gridColour);
        g.drawVerticalLine (juce::roundToInt (plot.getX() + static_cast<float> (second / seconds) * plot.getWidth()),
                            plot.getY(), plot.getBottom());
    }

    // The level: the loudest sample of each column, as a filled silhouette from the floor.
    juce::Path level;
    level.startNewSubPath (plot.getX(), plot.getBottom());

    for (int column = 0; column < GatePicture::plotColumns; ++column)
    {
        const auto from = static_cast<int> (static_cast<juce::int64> (column) * numSamples / GatePicture::plotColumns);
        const auto to = static_cast<int> (static_cast<juce::int64> (column + 1) * numSamples / GatePicture::plotColumns);
        float peak = 0.0f;

        for (int i = from; i < to; ++i)
            peak = std::max (peak, std::abs (samples[i]));

        const double decibels = peak > 0.0f ? 20.0 * std::log10 (static_cast<double> (peak)) : floorDecibels;
        level.lineTo (plot.getX() + static_cast<float> (column) + 0.5f, yForDecibels (decibels, plot));
    }

    level.lineTo (plot.getRight(), plot.getBottom());
    level.closeSubPath();
    g.setColour (levelColour.withAlpha (0.75f));
    g.fillPath (level);

    if (panel.thresholdDecibels.has_value())
    {
        const float y = yForDecibels (*panel.thresholdDecibels, plot);
        const float dashes[] = { 8.0f, 5.0f };
        g.setColour (thresholdColour);
        g.drawDashedLine (juce::Line<float> (plot.getX(), y, plot.getRight(), y), dashes, 2, 2.0f);
        g.setFont (GatePicture::font (14.0f, true));
        g.drawText ("threshold " + juce::String (*panel.thresholdDecibels, 0) + " dB",
                    juce::Rectangle<float> (plot.getX() + 8.0f, y - 20.0f, 200.0f, 18.0f), juce::Justification::centredLeft);
    }

    if (! panel.gain.empty())
    {
        juce::Path gain;

        for (size_t column = 0; column < panel.gain.size(); ++column)
        {
            const juce::Point<float> point (plot.getX() + static_cast<float> (column) + 0.5f, yForGain (panel.gain[column], plot));

            if (column == 0)
                gain.startNewSubPath (point);
            else
                gain.lineTo (point);
        }

        g.setColour (gainColour);
        g.strokePath (gain, juce::PathStrokeType (2.5f));
    }

    g.setColour (textColour.withAlpha (0.5f));
    g.drawRect (plot, 1.0f);
}

void drawTimeAxis (juce::Graphics& g, juce::Rectangle<int> area, double seconds)
{
    const auto plot = area.withTrimmedLeft (GatePicture::plotLeft).withTrimmedRight (GatePicture::plotRight).toFloat();
    g.setColour (textColour);
    g.setFont (GatePicture::font (14.0f));

    for (int second = 0; second <= seconds; ++second)
    {
        const float x = plot.getX() + static_cast<float> (second / seconds) * plot.getWidth();
        g.drawText (juce::String (second) + " s", juce::Rectangle<float> (x - 30.0f, plot.getY() + 2.0f, 60.0f, 18.0f),
                    juce::Justification::centred);
    }
}

void drawLegend (juce::Graphics& g, juce::Rectangle<int> area)
{
    auto row = area.withTrimmedLeft (GatePicture::plotLeft).toFloat();
    g.setFont (GatePicture::font (15.0f));

    const auto entry = [&] (juce::Colour colour, const juce::String& text, bool line)
    {
        auto swatch = row.removeFromLeft (28.0f).withSizeKeepingCentre (22.0f, line ? 3.0f : 14.0f);
        g.setColour (colour);
        g.fillRect (swatch);
        g.setColour (textColour);
        g.drawText (text, row.removeFromLeft (390.0f).withTrimmedLeft (6.0f), juce::Justification::centredLeft);
    };

    entry (levelColour.withAlpha (0.75f), "signal level (peak, dBFS, left scale)", false);
    entry (gainColour, "gate gain (0 = closed, 1 = open, right scale)", true);
    entry (thresholdColour, "threshold", true);
}
} // namespace

juce::Font GatePicture::font (float height, bool bold)
{
    // Loaded once; the typefaces live as long as the program.
    static const juce::Typeface::Ptr regular = loadTypeface ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    static const juce::Typeface::Ptr heavy = loadTypeface ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");

    const auto& typeface = bold ? heavy : regular;

    if (typeface == nullptr)
        return juce::Font (height, bold ? juce::Font::bold : juce::Font::plain);

    return juce::Font (typeface).withHeight (height);
}

std::vector<float> GatePicture::measureGain (const juce::AudioBuffer<float>& dry, const juce::AudioBuffer<float>& gated)
{
    std::vector<float> gain (static_cast<size_t> (plotColumns), 0.0f);
    const auto* in = dry.getReadPointer (0);
    const auto* out = gated.getReadPointer (0);
    const int numSamples = std::min (dry.getNumSamples(), gated.getNumSamples());
    float previous = 0.0f;

    for (int column = 0; column < plotColumns; ++column)
    {
        const auto from = static_cast<int> (static_cast<juce::int64> (column) * numSamples / plotColumns);
        const auto to = static_cast<int> (static_cast<juce::int64> (column + 1) * numSamples / plotColumns);
        int loudest = -1;

        for (int i = from; i < to; ++i)
            if (in[i] != 0.0f && (loudest < 0 || std::abs (in[i]) > std::abs (in[loudest])))
                loudest = i;

        if (loudest >= 0)
            previous = juce::jlimit (0.0f, 1.0f, out[loudest] / in[loudest]);

        gain[static_cast<size_t> (column)] = previous;
    }

    return gain;
}

juce::Image GatePicture::draw (const juce::String& title, const std::vector<Panel>& panels, double sampleRate)
{
    const int height = titleHeight + static_cast<int> (panels.size()) * (captionHeight + panelHeight + 16) + axisHeight + legendHeight;
    juce::Image image (juce::Image::RGB, width, height, true);
    juce::Graphics g (image);
    g.fillAll (background);

    juce::Rectangle<int> area (0, 0, width, height);
    g.setColour (textColour);
    g.setFont (font (26.0f, true));
    g.drawText (title, area.removeFromTop (titleHeight).withTrimmedLeft (plotLeft), juce::Justification::centredLeft);

    double seconds = 0.0;

    for (const auto& panel : panels)
    {
        drawPanel (g, panel, area.removeFromTop (captionHeight + panelHeight), sampleRate);
        area.removeFromTop (16);
        seconds = panel.audio->getNumSamples() / sampleRate;
    }

    drawTimeAxis (g, area.removeFromTop (axisHeight).translated (0, -16), seconds);
    drawLegend (g, area.removeFromTop (legendHeight));
    return image;
}
