#include "Lettering.h"

namespace
{
// Moves the glyphs so that their ink (without trailing spacing) is centred on centreX.
void centreInk (juce::GlyphArrangement& glyphs, int start, int count, float centreX)
{
    const auto ink = glyphs.getBoundingBox (start, count, false);
    glyphs.moveRangeOfGlyphs (start, count, centreX - ink.getCentreX(), 0.0f);
}
} // namespace

void Lettering::drawCentred (juce::Graphics& g, const juce::Font& font, const juce::String& text,
                             float centreX, float baseline, float tracking)
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font.withExtraKerningFactor (tracking), text, 0.0f, baseline);
    centreInk (glyphs, 0, -1, centreX);
    glyphs.draw (g);
}

void Lettering::drawRightAligned (juce::Graphics& g, const juce::Font& font, const juce::String& text,
                                  float rightX, float baseline)
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font, text, 0.0f, baseline);
    glyphs.moveRangeOfGlyphs (0, -1, rightX - glyphs.getBoundingBox (0, -1, false).getRight(), 0.0f);
    glyphs.draw (g);
}

float Lettering::drawParagraph (juce::Graphics& g, const juce::Font& font, const juce::String& text,
                                float centreX, float firstBaseline, float width, float lineSpacing)
{
    // Break the words into lines first, then lay each line out on its own baseline.
    juce::StringArray lines;
    juce::String line;

    for (const auto& word : juce::StringArray::fromTokens (text, " ", ""))
    {
        const auto candidate = line.isEmpty() ? word : line + " " + word;

        if (line.isNotEmpty() && font.getStringWidthFloat (candidate) > width)
        {
            lines.add (line);
            line = word;
        }
        else
        {
            line = candidate;
        }
    }

    lines.add (line);

    auto baseline = firstBaseline;

    for (int i = 0; i < lines.size(); ++i)
    {
        baseline = firstBaseline + static_cast<float> (i) * lineSpacing;
        drawCentred (g, font, lines[i], centreX, baseline);
    }

    return baseline;
}
