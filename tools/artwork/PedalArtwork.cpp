#include "PedalArtwork.h"

PedalArtwork::PedalArtwork (const PedalDescription& pedal, const ArtworkFonts& fonts)
    : pedal_ (pedal)
    , painter_ (pedal, fonts)
    , aboutPainter_ (pedal, fonts)
{
}

juce::StringArray PedalArtwork::fileNames (const PedalDescription& pedal)
{
    return {"background.png", pedal.knobs[0].fileName, pedal.knobs[1].fileName, pedal.knobs[2].fileName,
            "footswitch.png", "dual_mono_switch.png", "about.png"};
}

juce::Image PedalArtwork::paintStrip (const juce::Image& fixedParts, juce::Rectangle<int> bounds, int frames, const FramePainter& paintFrame)
{
    // RGB: no alpha channel, so every frame covers its widget completely. Each frame is drawn
    // on its own at the origin, so equal drawings give equal pixels whatever the frame index.
    juce::Image strip (juce::Image::RGB, bounds.getWidth(), bounds.getHeight() * frames, false, juce::SoftwareImageType());

    for (int frame = 0; frame < frames; ++frame)
    {
        auto single = fixedParts.getClippedImage (bounds).createCopy().convertedToFormat (juce::Image::RGB);

        {
            juce::Graphics g (single);
            paintFrame (g, frame);
        }

        copyPixels (single, strip, {0, frame * bounds.getHeight()});
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
    const auto fixedParts = painter_.paintFixedParts();
    const auto names = fileNames (pedal_);
    auto background = fixedParts.createCopy();
    std::vector<Picture> pictures;

    pictures.push_back ({names[0], {}, PngEncoder::Kind::rgba, false});

    for (const auto& knob : pedal_.knobs)
    {
        const auto lastFrame = static_cast<float> (pedal_.knobFrames - 1);
        auto strip = paintStrip (fixedParts, knob.bounds, pedal_.knobFrames, [this, lastFrame] (juce::Graphics& g, int frame)
                                 {
                                     // Even steps from the lower left through straight up to the lower right.
                                     const auto angle = pedal_.knobSweepRadians * (2.0f * static_cast<float> (frame) / lastFrame - 1.0f);
                                     painter_.paintKnob (g, angle); });
        copyPixels (strip.getClippedImage (knob.bounds.withZeroOrigin()), background, knob.bounds.getPosition());
        pictures.push_back ({knob.fileName, strip, PngEncoder::Kind::rgb, true});
    }

    // Frames 0..3: dark and released, dark and pressed, lit and released, lit and pressed.
    auto footswitch = paintStrip (fixedParts, pedal_.footswitch, pedal_.footswitchFrames, [this] (juce::Graphics& g, int frame)
                                  { painter_.paintFootswitch (g, frame >= 2, frame % 2 == 1); });
    copyPixels (footswitch.getClippedImage (pedal_.footswitch.withZeroOrigin()), background, pedal_.footswitch.getPosition());
    pictures.push_back ({names[4], footswitch, PngEncoder::Kind::rgb, true});

    auto dualMono = paintStrip (fixedParts, pedal_.dualMono, pedal_.dualMonoFrames, [this] (juce::Graphics& g, int frame)
                                { painter_.paintDualMonoSwitch (g, frame == 1); });
    copyPixels (dualMono.getClippedImage (pedal_.dualMono.withZeroOrigin()), background, pedal_.dualMono.getPosition());
    pictures.push_back ({names[5], dualMono, PngEncoder::Kind::rgb, true});

    pictures.front().image = background;
    pictures.push_back ({names[6], aboutPainter_.paint(), PngEncoder::Kind::rgba, false});
    return pictures;
}
