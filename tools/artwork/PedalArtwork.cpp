#include "PedalArtwork.h"

PedalArtwork::PedalArtwork (const PedalDescription& pedal, const ArtworkFonts& fonts)
    : pedal_ (pedal)
    , fonts_ (fonts)
{
}

juce::StringArray PedalArtwork::fileNames (int scale)
{
    using namespace PedalGeometry;
    juce::StringArray names;

    for (const auto* name : { backgroundFileName, knobs[0].fileName, knobs[1].fileName, knobs[2].fileName,
                              footswitch.fileName, dualMonoSwitch.fileName, aboutFileName })
        names.add (fileNameAtScale (name, scale));

    return names;
}

juce::Image PedalArtwork::paintStrip (const PedalPainter& painter, const juce::Image& fixedParts, const PedalGeometry::Control& control, const FramePainter& paintFrame)
{
    const auto frames = control.numFrames;
    // RGB: no alpha channel, so every frame covers its widget completely. Each frame is drawn
    // on its own at the origin, so equal drawings give equal pixels whatever the frame index.
    const auto area = control.bounds * painter.getScale();
    juce::Image strip (juce::Image::RGB, area.getWidth(), area.getHeight() * frames, false, juce::SoftwareImageType());

    for (int frame = 0; frame < frames; ++frame)
    {
        auto single = fixedParts.getClippedImage (area).createCopy().convertedToFormat (juce::Image::RGB);

        {
            juce::Graphics g (single);
            PedalPainter::useUnits (g, painter.getScale());
            paintFrame (g, frame);
        }

        copyPixels (single, strip, { 0, frame * area.getHeight() });
    }

    return strip;
}

void PedalArtwork::copyPixels (const juce::Image& source, juce::Image& target, juce::Point<int> at)
{
    // Pixel by pixel rather than drawn, so nothing can resample or blend them.
    const juce::Image::BitmapData from (source, 0, 0, source.getWidth(), source.getHeight());
    juce::Image::BitmapData to (target, at.x, at.y, source.getWidth(), source.getHeight(), juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < source.getHeight(); ++y)
        for (int x = 0; x < source.getWidth(); ++x)
            to.setPixelColour (x, y, from.getPixelColour (x, y));
}

std::vector<PedalArtwork::Picture> PedalArtwork::paintAll() const
{
    std::vector<Picture> pictures;

    for (const auto scale : scales)
        for (auto& picture : paintAtScale (scale))
            pictures.push_back (std::move (picture));

    return pictures;
}

std::vector<PedalArtwork::Picture> PedalArtwork::paintAtScale (int scale) const
{
    const PedalPainter painter (pedal_, fonts_, scale);
    const auto fixedParts = painter.paintFixedParts();
    const auto names = fileNames (scale);
    auto background = fixedParts.createCopy();
    std::vector<Picture> pictures { { names[0], {}, PngEncoder::Kind::rgba, false } };

    // Each strip also leaves its frame 0 at its control's place in the background.
    const auto addStrip = [&] (const PedalGeometry::Control& control, const FramePainter& paintFrame)
    {
        const auto strip = paintStrip (painter, fixedParts, control, paintFrame);
        const auto area = control.bounds * scale;
        copyPixels (strip.getClippedImage (area.withZeroOrigin()), background, area.getPosition());
        pictures.push_back ({ names[static_cast<int> (pictures.size())], strip, PngEncoder::Kind::rgb, true });
    };

    for (const auto& knob : PedalGeometry::knobs)
    {
        const auto lastFrame = static_cast<float> (knob.numFrames - 1);
        addStrip (knob, [this, &painter, lastFrame] (juce::Graphics& g, int frame)
                  {
                      // Even steps from the lower left through straight up to the lower right.
                      const auto angle = pedal_.knobSweepRadians * (2.0f * static_cast<float> (frame) / lastFrame - 1.0f);
                      painter.paintKnob (g, angle); });
    }

    // Frames 0..3: dark and released, dark and pressed, lit and released, lit and pressed.
    addStrip (PedalGeometry::footswitch, [&painter] (juce::Graphics& g, int frame)
              { painter.paintFootswitch (g, frame >= 2, frame % 2 == 1); });
    addStrip (PedalGeometry::dualMonoSwitch, [&painter] (juce::Graphics& g, int frame)
              { painter.paintDualMonoSwitch (g, frame == 1); });

    pictures.front().image = background;
    pictures.push_back ({ names[6], AboutCardPainter (pedal_, fonts_, scale).paint(), PngEncoder::Kind::rgba, false });
    return pictures;
}
