#include "EmbeddedImages.h"
#include "PedalGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using EmbeddedImages::Picture;

namespace
{
struct Expected
{
    Picture picture;
    const char* fileName;
    int width, height, frames;
    bool hasAlpha;
};

// The sizes and frame counts are restated on purpose, not read from PedalGeometry: the
// pictures are fixed, and this pins them.
const Expected expectedPictures[] = {
    { Picture::background, "background.png", 325, 366, 1, true },
    { Picture::thresholdKnob, "threshold_knob.png", 96, 7373, 101, false },
    { Picture::attackKnob, "attack_knob.png", 96, 7373, 101, false },
    { Picture::decayKnob, "decay_knob.png", 96, 7373, 101, false },
    { Picture::footswitch, "footswitch.png", 90, 396, 4, false },
    { Picture::dualMonoSwitch, "dual_mono_switch.png", 113, 250, 2, false },
    { Picture::about, "about.png", 325, 365, 1, true },
};

constexpr size_t endChunkSize = 12;
const juce::uint8 endChunk[endChunkSize] = { 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xae, 0x42, 0x60, 0x82 };

EmbeddedImages::StoredPicture storedAt (Picture picture, int scale)
{
    return scale == 1 ? EmbeddedImages::stored (picture) : EmbeddedImages::storedDoubleSize (picture);
}

juce::Image decodeAt (Picture picture, int scale) { return EmbeddedImages::decode (storedAt (picture, scale)); }

bool endsWithEndChunkAt (EmbeddedImages::StoredPicture bytes, int end)
{
    return end >= static_cast<int> (endChunkSize) && std::memcmp (bytes.data + end - static_cast<int> (endChunkSize), endChunk, endChunkSize) == 0;
}

// Largest difference of any colour channel or alpha between two pixels.
int channelDistance (juce::Colour a, juce::Colour b)
{
    return std::max ({ std::abs (a.getRed() - b.getRed()), std::abs (a.getGreen() - b.getGreen()),
                       std::abs (a.getBlue() - b.getBlue()), std::abs (a.getAlpha() - b.getAlpha()) });
}

// Largest channel difference between a region of image and the same-sized region of other.
int regionDistance (const juce::Image& image, juce::Rectangle<int> area, const juce::Image& other, juce::Point<int> otherOrigin)
{
    int worst = 0;
    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
            worst = std::max (worst, channelDistance (image.getPixelAt (area.getX() + x, area.getY() + y),
                                                      other.getPixelAt (otherOrigin.x + x, otherOrigin.y + y)));
    return worst;
}

// Where a frame lies in its control's 1x strip.
juce::Rectangle<int> frameIn (const PedalGeometry::Control& control, int frame)
{
    return control.bounds.withZeroOrigin().translated (0, frame * control.bounds.getHeight());
}

// The pointer is the only near-white thing on a knob: its direction from the frame's centre,
// in degrees clockwise from straight up, or NaN when no pointer is found.
double pointerAngle (const juce::Image& strip, int frame)
{
    const int frameHeight = PedalGeometry::knobs[0].bounds.getHeight();
    const auto centre = PedalGeometry::knobCentre.toDouble();
    double sumX = 0.0, sumY = 0.0;
    int count = 0;

    for (int y = 0; y < frameHeight; ++y)
    {
        for (int x = 0; x < strip.getWidth(); ++x)
        {
            const auto c = strip.getPixelAt (x, frame * frameHeight + y);
            const juce::Point<double> at (x + 0.5, y + 0.5);

            if (std::min ({ c.getRed(), c.getGreen(), c.getBlue() }) >= 200 && at.getDistanceFrom (centre) < 25.0)
            {
                sumX += at.x - centre.x;
                sumY += at.y - centre.y;
                ++count;
            }
        }
    }

    return count < 10 ? std::nan ("") : juce::radiansToDegrees (std::atan2 (sumX, -sumY));
}

// The mean difference per channel between image, shrunk to half its size (each 2 x 2 block
// averaged), and area of other.
double meanDistanceHalved (const juce::Image& image, juce::Rectangle<int> area, const juce::Image& other)
{
    double sum = 0.0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
    {
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const juce::Colour block[] = { image.getPixelAt (2 * x, 2 * y), image.getPixelAt (2 * x + 1, 2 * y),
                                           image.getPixelAt (2 * x, 2 * y + 1), image.getPixelAt (2 * x + 1, 2 * y + 1) };

            for (const auto channel : { &juce::Colour::getRed, &juce::Colour::getGreen, &juce::Colour::getBlue })
                sum += std::abs (((block[0].*channel)() + (block[1].*channel)() + (block[2].*channel)() + (block[3].*channel)()) / 4.0 - (other.getPixelAt (x, y).*channel)());
        }
    }

    return sum / (3.0 * area.getWidth() * area.getHeight());
}
} // namespace

TEST (EmbeddedImages, EveryPictureDecodesToItsSizeKindAndFrameSize)
{
    for (const auto& expected : expectedPictures)
    {
        SCOPED_TRACE (expected.fileName);
        const auto image = decodeAt (expected.picture, 1);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), expected.width);
        EXPECT_EQ (image.getHeight(), expected.height);
        EXPECT_EQ (image.hasAlphaChannel(), expected.hasAlpha);
        EXPECT_EQ (expected.height % expected.frames, 0);

        // PNG header: bit depth 8; colour type 6 (RGBA) or 2 (RGB, no alpha).
        EXPECT_EQ (juce::String::toHexString (EmbeddedImages::stored (expected.picture).data + 24, 2, 0), expected.hasAlpha ? "0806" : "0802");
    }

    // A strip's frame is exactly its control's rectangle, so frames are copied pixel for pixel.
    for (const auto& control : PedalGeometry::strips)
    {
        const auto strip = decodeAt (control.picture, 1);
        EXPECT_EQ (juce::Rectangle<int> (strip.getWidth(), strip.getHeight() / control.numFrames), control.bounds.withZeroOrigin()) << control.fileName;
    }

    // The background is opaque everywhere: without its alpha channel it is the same picture.
    const auto background = EmbeddedImages::decodeBackground();
    EXPECT_EQ (regionDistance (background, background.getBounds(), background.convertedToFormat (juce::Image::RGB), {}), 0);
}

TEST (EmbeddedImages, StoredArraysAreTheCommittedFilesAndStripsRepeatTheirEndChunkAtBothScales)
{
    const auto resources = juce::File (TACETOR_SOURCE_DIR).getChildFile ("resources");

    for (const auto& expected : expectedPictures)
    {
        for (const int scale : { 1, PedalGeometry::doubleSizeScale })
        {
            SCOPED_TRACE (PedalGeometry::fileNameAtScale (expected.fileName, scale));
            const auto bytes = storedAt (expected.picture, scale);
            juce::MemoryBlock committed;
            ASSERT_TRUE (resources.getChildFile (PedalGeometry::fileNameAtScale (expected.fileName, scale)).loadFileAsData (committed));
            EXPECT_EQ (committed, juce::MemoryBlock (bytes.data, static_cast<size_t> (bytes.size)));

            const bool isStrip = expected.frames > 1;
            const auto pngLength = bytes.size - (isStrip ? static_cast<int> (endChunkSize) : 0);
            EXPECT_TRUE (endsWithEndChunkAt (bytes, bytes.size));
            EXPECT_TRUE (endsWithEndChunkAt (bytes, pngLength));
            EXPECT_EQ (endsWithEndChunkAt (bytes, pngLength - static_cast<int> (endChunkSize)), false);

            if (isStrip)
            {
                // The bytes past the first end chunk change nothing: same image as the bare stream.
                const auto whole = EmbeddedImages::decode (bytes);
                const auto bare = EmbeddedImages::decode ({ bytes.data, pngLength });
                ASSERT_TRUE (bare.isValid());
                EXPECT_EQ (bare.getBounds(), whole.getBounds());
                EXPECT_EQ (regionDistance (whole, whole.getBounds(), bare, {}), 0);
            }
        }
    }
}

TEST (EmbeddedImages, EveryPictureHasATwinOfTwiceTheSizeFrameForFrame)
{
    for (const auto& expected : expectedPictures)
    {
        SCOPED_TRACE (expected.fileName);
        const auto single = decodeAt (expected.picture, 1);
        const auto twin = EmbeddedImages::decodeDoubleSize (expected.picture);
        ASSERT_TRUE (twin.isValid());
        EXPECT_EQ (twin.getWidth(), 2 * expected.width);
        EXPECT_EQ (twin.getHeight(), 2 * expected.height);
        EXPECT_EQ (twin.hasAlphaChannel(), expected.hasAlpha);

        // Every frame is its 1x frame, finer: shrunk back, it differs by a few levels at most.
        // (A frame out of order or out of place is off by tens.)
        const auto frameHeight = expected.height / expected.frames;
        for (int frame = 0; frame < expected.frames; frame += juce::jmax (1, expected.frames / 10))
            EXPECT_LT (meanDistanceHalved (twin, { 0, frame * frameHeight, expected.width, frameHeight }, single), 2.5) << frame;
    }
}

TEST (EmbeddedImages, EveryStripAtRestIsTheBackgroundUnderItsControlAtBothScales)
{
    for (const int scale : { 1, PedalGeometry::doubleSizeScale })
    {
        const auto background = decodeAt (Picture::background, scale);

        for (const auto& control : PedalGeometry::strips)
        {
            const auto area = control.bounds * scale;
            EXPECT_EQ (regionDistance (decodeAt (control.picture, scale), area.withZeroOrigin(), background, area.getPosition()), 0) << control.fileName << " " << scale;
        }
    }
}

TEST (EmbeddedImages, EachDecodeGivesANewImageAndBadBytesGiveAnEmptyOne)
{
    auto first = EmbeddedImages::decodeAbout();
    const auto second = EmbeddedImages::decodeAbout();
    ASSERT_TRUE (first.isValid() && second.isValid());
    EXPECT_NE (first.getPixelData(), second.getPixelData());

    first.setPixelAt (160, 180, juce::Colours::white);
    EXPECT_NE (second.getPixelAt (160, 180), juce::Colours::white);

    // Damaged bytes give an empty image, never a crash: cut short anywhere, a flipped bit in
    // the pixel data, no PNG at all.
    const auto bytes = EmbeddedImages::stored (Picture::footswitch);
    for (const int length : { 0, 7, 8, 40, bytes.size / 2, bytes.size - 24 })
        EXPECT_FALSE (EmbeddedImages::decode ({ bytes.data, length }).isValid()) << length;

    juce::MemoryBlock flipped (bytes.data, static_cast<size_t> (bytes.size));
    flipped[static_cast<size_t> (bytes.size / 2)] ^= 0x10;
    EXPECT_FALSE (EmbeddedImages::decode ({ static_cast<const char*> (flipped.getData()), bytes.size }).isValid());
    EXPECT_FALSE (EmbeddedImages::decode ({ "GIF89a", 6 }).isValid());
    EXPECT_FALSE (EmbeddedImages::decode ({ nullptr, 0 }).isValid());
}

TEST (EmbeddedImages, SwitchStripsShowEveryPoseApart)
{
    const auto background = EmbeddedImages::decodeBackground();
    const auto footswitch = EmbeddedImages::decodeFootswitch();
    const auto &footswitchControl = PedalGeometry::footswitch, &dualMonoControl = PedalGeometry::dualMonoSwitch;

    // The other poses really show something else: LED lit, switch pressed, lever thrown.
    for (int frame = 1; frame < footswitchControl.numFrames; ++frame)
        EXPECT_GT (regionDistance (footswitch, frameIn (footswitchControl, frame), background, footswitchControl.bounds.getPosition()), 60) << frame;
    EXPECT_GT (regionDistance (EmbeddedImages::decodeDualMonoSwitch(), frameIn (dualMonoControl, 1), background, dualMonoControl.bounds.getPosition()), 60);

    // Pressing changes the switch, not the LED; lighting changes the LED, not the switch.
    const juce::Rectangle<int> led { 30, 0, 40, 32 }, actuator { 30, 44, 40, 40 };
    const auto pressed = frameIn (footswitchControl, 1).getPosition(), lit = frameIn (footswitchControl, 2).getPosition();
    EXPECT_EQ (regionDistance (footswitch, led + pressed, footswitch, led.getPosition()), 0);
    EXPECT_GT (regionDistance (footswitch, actuator + pressed, footswitch, actuator.getPosition()), 20);
    EXPECT_GT (regionDistance (footswitch, led + lit, footswitch, led.getPosition()), 60);
    EXPECT_EQ (regionDistance (footswitch, actuator + lit, footswitch, actuator.getPosition()), 0);

    // The logo lettering ends inside the footswitch's rectangle, left of the switch, in every
    // frame alike: light print where the about click area overlaps the footswitch.
    for (int frame = 0; frame < footswitchControl.numFrames; ++frame)
    {
        int print = 0;
        for (int y = 47; y < 87; ++y)
            for (int x = 0; x < 16; ++x)
                print += footswitch.getPixelAt (x, frameIn (footswitchControl, frame).getY() + y).getBrightness() > 0.7f ? 1 : 0;
        EXPECT_GT (print, 20) << frame;
    }
}

TEST (EmbeddedImages, EachKnobStripCarriesTheBackgroundBehindItsOwnKnob)
{
    const auto background = EmbeddedImages::decodeBackground();

    for (const auto& knob : PedalGeometry::knobs)
    {
        // Far from the knob (the frame's corners) every frame shows the background.
        const auto strip = decodeAt (knob.picture, 1);
        for (int frame = 0; frame < knob.numFrames; frame += 10)
            for (const auto corner : { juce::Rectangle<int> (0, 0, 12, 10), juce::Rectangle<int> (84, 0, 12, 10),
                                       juce::Rectangle<int> (0, 65, 12, 8), juce::Rectangle<int> (84, 65, 12, 8) })
                EXPECT_LE (regionDistance (strip, corner + frameIn (knob, frame).getPosition(), background, knob.bounds.getPosition() + corner.getPosition()), 3) << knob.fileName << " " << frame;
    }

    // Each strip belongs to its own position: the panel's print differs from knob to knob.
    const auto& knobs = PedalGeometry::knobs;
    EXPECT_GT (regionDistance (EmbeddedImages::decodeThresholdKnob(), frameIn (knobs[0], 0), background, knobs[2].bounds.getPosition()), 10);
}

TEST (EmbeddedImages, KnobPointersTurnClockwiseInEvenStepsFromLowerLeftToLowerRight)
{
    for (const auto& strip : { EmbeddedImages::decodeThresholdKnob(), EmbeddedImages::decodeAttackKnob(),
                               EmbeddedImages::decodeDecayKnob() })
    {
        EXPECT_NEAR (pointerAngle (strip, 0), -135.0, 4.0);  // lower left
        EXPECT_NEAR (pointerAngle (strip, 50), 0.0, 4.0);    // straight up
        EXPECT_NEAR (pointerAngle (strip, 100), 135.0, 4.0); // lower right

        for (int frame = 0; frame < OrvaneKnob::numFrames; ++frame)
        {
            EXPECT_NEAR (pointerAngle (strip, frame), -135.0 + 2.7 * frame, 4.0) << frame;

            if (frame > 0)
            {
                EXPECT_GT (regionDistance (strip, frameIn (PedalGeometry::knobs[0], frame), strip, frameIn (PedalGeometry::knobs[0], frame - 1).getPosition()), 20) << frame;
            }
        }
    }
}

TEST (EmbeddedImages, AboutCardIsOpaqueInsideAShadowThatFadesToNothing)
{
    const auto about = EmbeddedImages::decodeAbout();
    ASSERT_TRUE (about.isValid());

    int translucentOnCard = 0, visibleOnEdge = 0;
    for (int y = 0; y < about.getHeight(); ++y)
    {
        for (int x = 0; x < about.getWidth(); ++x)
        {
            const auto alpha = about.getPixelAt (x, y).getAlpha();
            const bool onCard = PedalGeometry::aboutCard.contains (x, y);
            const bool onEdge = x == 0 || y == 0 || x == about.getWidth() - 1 || y == about.getHeight() - 1;
            translucentOnCard += onCard && alpha != 255 ? 1 : 0;
            visibleOnEdge += onEdge && alpha != 0 ? 1 : 0;
        }
    }

    EXPECT_EQ (translucentOnCard, 0);
    EXPECT_EQ (visibleOnEdge, 0);

    // The shadow is soft: partly transparent between the card and the edge.
    const auto shadow = about.getPixelAt (5, 180).getAlpha();
    EXPECT_GT (shadow, 0);
    EXPECT_LT (shadow, 255);

    // The version label's rectangle is left blank for the label to write in: only the card's
    // faint grain, no lettering.
    const auto& label = PedalGeometry::versionLabel;
    juce::Image plain (juce::Image::ARGB, label.getWidth(), label.getHeight(), false);
    plain.clear (plain.getBounds(), about.getPixelAt (label.getCentreX(), label.getCentreY()));
    EXPECT_LE (regionDistance (about, label, plain, {}), 12);

    // ...while the "Version:" caption just left of it is lettered.
    EXPECT_GT (regionDistance (about, label.withX (90).withRight (label.getX()), plain, {}), 60);
}
