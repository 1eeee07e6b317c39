#include "ContactSheet.h"

namespace
{
constexpr int gap = 12;

// One pose of the pedal: a frame for each strip, in PedalGeometry::strips order.
struct Pose
{
    int frames[std::size (PedalGeometry::strips)];
    bool aboutShown;
};

constexpr Pose poses[] = {
    { { 0, 0, 0, 0, 0 }, false },
    { { 50, 50, 50, 1, 1 }, false },
    { { 100, 100, 100, 2, 0 }, false },
    { { 0, 50, 100, 3, 1 }, false },
    { { 0, 0, 0, 0, 0 }, true },
};
} // namespace

void ContactSheet::drawFrame (juce::Graphics& g, const juce::Image& strip, juce::Rectangle<int> bounds, int frame)
{
    g.drawImage (strip, bounds.getX(), bounds.getY(), bounds.getWidth(), bounds.getHeight(),
                 0, frame * bounds.getHeight(), bounds.getWidth(), bounds.getHeight());
}

void ContactSheet::drawVersionLabel (juce::Graphics& g)
{
    // The about panel's label, set up the same way, so the caption's alignment can be judged.
    juce::LookAndFeel_V3 lookAndFeel;
    juce::Label label ("versionLabel_", "1.0.0 (64bit)");
    label.setLookAndFeel (&lookAndFeel);
    label.setBounds (PedalGeometry::versionLabel);
    label.setJustificationType (juce::Justification::bottomLeft);
    label.setColour (juce::Label::textColourId, juce::Colour (0xffd3d3d3));

    const juce::Graphics::ScopedSaveState state (g);
    g.setOrigin (PedalGeometry::versionLabel.getPosition());
    label.paintEntireComponent (g, false);
    label.setLookAndFeel (nullptr);
}

juce::Image ContactSheet::compose (const juce::Array<juce::Image>& pictures)
{
    if (pictures.size() != 7 || std::any_of (pictures.begin(), pictures.end(), [] (const juce::Image& i)
                                             { return ! i.isValid(); }))
        return {};

    const auto& background = pictures[0];
    const int count = static_cast<int> (std::size (poses));
    const auto& pedal = PedalGeometry::pedal;
    juce::Image sheet (juce::Image::RGB, count * (pedal.getWidth() + gap) + gap, pedal.getHeight() + 2 * gap, true, juce::SoftwareImageType());
    juce::Graphics g (sheet);
    g.fillAll (juce::Colour (0xff5a5f66));

    for (int i = 0; i < count; ++i)
    {
        const auto& pose = poses[i];
        const juce::Graphics::ScopedSaveState state (g);
        g.setOrigin (gap + i * (pedal.getWidth() + gap), gap);
        g.reduceClipRegion (pedal);
        g.drawImageAt (background, 0, 0);

        for (size_t s = 0; s < std::size (PedalGeometry::strips); ++s)
            drawFrame (g, pictures[static_cast<int> (PedalGeometry::strips[s].picture)], PedalGeometry::strips[s].bounds, pose.frames[s]);

        if (pose.aboutShown)
        {
            g.drawImageAt (pictures[6], 0, 0);
            drawVersionLabel (g);
        }
    }

    return sheet;
}
