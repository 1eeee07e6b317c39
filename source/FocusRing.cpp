#include "FocusRing.h"

namespace FocusRing
{
namespace
{
// The halo is wider than the line and both lie inside the control's rectangle.
constexpr float haloWidth = 4.0f;
constexpr float lineWidth = 2.0f;
constexpr float inset = haloWidth * 0.5f + 0.5f;
} // namespace

void draw (juce::Graphics& g, const juce::Path& outline)
{
    g.setColour (juce::Colour (0xc0000000));
    g.strokePath (outline, juce::PathStrokeType (haloWidth));
    g.setColour (juce::Colour (0xff5cc8ff));
    g.strokePath (outline, juce::PathStrokeType (lineWidth));
}

juce::Path circleIn (juce::Rectangle<int> bounds)
{
    const auto area = bounds.toFloat();
    const auto radius = juce::jmin (area.getWidth(), area.getHeight()) * 0.5f - inset;
    juce::Path ring;
    ring.addEllipse (area.getCentreX() - radius, area.getCentreY() - radius, radius * 2.0f, radius * 2.0f);
    return ring;
}

juce::Path roundedRectangleIn (juce::Rectangle<int> bounds)
{
    juce::Path ring;
    ring.addRoundedRectangle (bounds.toFloat().reduced (inset), 8.0f);
    return ring;
}
} // namespace FocusRing
