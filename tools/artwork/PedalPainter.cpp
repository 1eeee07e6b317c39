#include "PedalPainter.h"

#include "Lettering.h"

#include <cmath>

namespace
{
using juce::Colour;
using juce::ColourGradient;
using juce::Path;
using juce::Point;

constexpr float twoPi = juce::MathConstants<float>::twoPi;

// The light falls from the upper left, as on a pedal under a desk lamp; every highlight and
// shadow follows this one direction.
const Point<float> towardsLight { -0.6f, -0.8f };

// A repeatable hash noise in -1..1; the same pixel and seed always give the same value.
float hashNoise (int x, int y, juce::uint32 seed)
{
    auto h = static_cast<juce::uint32> (x) * 0x8da6b343u ^ static_cast<juce::uint32> (y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<float> (h & 0xffffu) / 32767.5f - 1.0f;
}

Point<float> onCircle (Point<float> centre, float radius, float angleFromUp)
{
    return { centre.x + radius * std::sin (angleFromUp), centre.y - radius * std::cos (angleFromUp) };
}

Path circle (Point<float> centre, float radius)
{
    Path p;
    p.addEllipse (centre.x - radius, centre.y - radius, radius * 2.0f, radius * 2.0f);
    return p;
}

void fillCircle (juce::Graphics& g, Point<float> centre, float radius)
{
    g.fillEllipse (centre.x - radius, centre.y - radius, radius * 2.0f, radius * 2.0f);
}

// A gradient that lights a round part from the upper left.
ColourGradient litAcross (Point<float> centre, float radius, Colour lit, Colour shaded)
{
    return { lit, centre + towardsLight * radius, shaded, centre - towardsLight * radius, false };
}

// A soft round shadow cast to the lower right by a part of the given radius.
void castRoundShadow (juce::Graphics& g, Point<float> centre, float radius, float spread, float strength)
{
    const auto shadowCentre = centre - towardsLight * (spread * 0.45f);
    ColourGradient shade (Colour (0xff000000).withAlpha (strength), shadowCentre,
                          Colour (0x00000000), shadowCentre + Point<float> (radius + spread, 0.0f), true);
    shade.addColour (radius / (radius + spread), Colour (0xff000000).withAlpha (strength * 0.8f));
    g.setGradientFill (shade);
    fillCircle (g, shadowCentre, radius + spread);
}

// A raised, lens-shaped tread of diamond plate, centred on the origin along the x axis.
Path treadShape (float length, float width)
{
    Path p;
    p.startNewSubPath (-length * 0.5f, 0.0f);
    p.quadraticTo (0.0f, -width, length * 0.5f, 0.0f);
    p.quadraticTo (0.0f, width, -length * 0.5f, 0.0f);
    p.closeSubPath();
    return p;
}
} // namespace

PedalPainter::PedalPainter (const PedalDescription& pedal, const ArtworkFonts& fonts, int scale)
    : pedal_ (pedal)
    , fonts_ (fonts)
    , scale_ (juce::jmax (1, scale))
{
}

// At 1× nothing is transformed at all, so the 1× pictures keep every pixel they had before
// the painter learnt to scale.
void PedalPainter::useUnits (juce::Graphics& g, int scale)
{
    if (scale != 1)
        g.addTransform (juce::AffineTransform::scale (static_cast<float> (scale)));
}

juce::Path PedalPainter::inPixels (const juce::Path& path, int scale)
{
    auto scaled = path;

    if (scale != 1)
        scaled.applyTransform (juce::AffineTransform::scale (static_cast<float> (scale)));

    return scaled;
}

void PedalPainter::castShadow (juce::Graphics& g, const juce::DropShadow& shadow, const juce::Path& path) const
{
    if (scale_ == 1)
    {
        shadow.drawForPath (g, path);
        return;
    }

    // The framework blurs a shadow at the context's unit size, which a scaled context then
    // stretches: blur it at the picture's resolution instead and lay it on pixel for pixel.
    const juce::DropShadow fine (shadow.colour, shadow.radius * scale_, shadow.offset * scale_);
    const auto finePath = inPixels (path, scale_);
    const auto area = (finePath.getBounds().getSmallestIntegerContainer() + fine.offset).expanded (fine.radius + 1);
    juce::Image rendered (juce::Image::ARGB, area.getWidth(), area.getHeight(), true, juce::SoftwareImageType());

    {
        juce::Graphics pixels (rendered);
        pixels.setOrigin (-area.getPosition());
        fine.drawForPath (pixels, finePath);
    }

    g.drawImageTransformed (rendered, juce::AffineTransform::translation (static_cast<float> (area.getX()), static_cast<float> (area.getY()))
                                          .scaled (1.0f / static_cast<float> (scale_)));
}

void PedalPainter::addGrain (juce::Image& image, int scale, const juce::Path& unitShape, float amount, juce::uint32 seed)
{
    const auto shape = inPixels (unitShape, scale);
    const auto area = shape.getBounds().getSmallestIntegerContainer().getIntersection (image.getBounds());
    juce::Image::BitmapData pixels (image, area.getX(), area.getY(), area.getWidth(), area.getHeight(),
                                    juce::Image::BitmapData::readWrite);

    for (int y = 0; y < area.getHeight(); ++y)
    {
        for (int x = 0; x < area.getWidth(); ++x)
        {
            const auto px = x + area.getX();
            const auto py = y + area.getY();

            if (! shape.contains (static_cast<float> (px) + 0.5f, static_cast<float> (py) + 0.5f))
                continue;

            const auto colour = pixels.getPixelColour (x, y);
            const auto delta = hashNoise (px / scale, py / scale, seed) * amount;
            const auto shift = [delta] (juce::uint8 c)
            { return static_cast<juce::uint8> (juce::jlimit (0, 255, juce::roundToInt (static_cast<float> (c) + delta * 255.0f))); };
            pixels.setPixelColour (x, y, Colour (shift (colour.getRed()), shift (colour.getGreen()), shift (colour.getBlue()), colour.getAlpha()));
        }
    }
}

juce::Image PedalPainter::paintFixedParts() const
{
    const auto size = PedalGeometry::pedal * scale_;
    juce::Image image (juce::Image::ARGB, size.getWidth(), size.getHeight(), true, juce::SoftwareImageType());

    {
        juce::Graphics g (image);
        g.fillAll (pedal_.colours.backdrop);
    }

    {
        juce::Graphics g (image);
        useUnits (g, scale_);
        paintDiamondPlate (g, image);
    }

    {
        juce::Graphics g (image);
        useUnits (g, scale_);
        paintControlPanel (g, image);
    }

    juce::Graphics g (image);
    useUnits (g, scale_);
    paintKnobScales (g);
    paintCaptionPlate (g);
    paintBadge (g);
    paintLogo (g);
    paintEnclosureEdge (g);
    paintJackMarks (g);

    for (const auto& corner : { Point<float> (13.0f, 12.0f), Point<float> (312.0f, 12.0f),
                                Point<float> (13.0f, 354.0f), Point<float> (312.0f, 354.0f) })
        paintScrew (g, corner, 4.6f, 0.6f + corner.x * 0.01f);

    return image;
}

void PedalPainter::paintDiamondPlate (juce::Graphics& g, juce::Image& image) const
{
    const auto bounds = PedalGeometry::pedal.toFloat();
    Path enclosure;
    enclosure.addRoundedRectangle (bounds, pedal_.enclosureCornerRadius);

    const auto& steel = pedal_.colours.plate;
    g.setGradientFill (ColourGradient (steel.brighter (0.25f), 0.0f, 0.0f, steel.darker (0.35f), bounds.getRight(), bounds.getBottom(), false));
    g.fillPath (enclosure);

    addGrain (image, scale_, enclosure, 0.018f, 11);

    g.saveState();
    g.reduceClipRegion (enclosure);

    // Treads alternate between the two diagonals, cell by cell, as on rolled tread plate.
    constexpr float pitch = 15.0f;
    const auto tread = treadShape (12.5f, 3.6f);

    for (int row = -1; static_cast<float> (row) * pitch < bounds.getBottom() + pitch; ++row)
    {
        for (int column = -1; static_cast<float> (column) * pitch < bounds.getRight() + pitch; ++column)
        {
            const auto centre = Point<float> (static_cast<float> (column) * pitch + 4.0f, static_cast<float> (row) * pitch + 6.0f);
            const auto angle = ((row + column) % 2 == 0 ? 0.3f : -0.3f) * juce::MathConstants<float>::pi;
            const auto placed = juce::AffineTransform::rotation (angle).translated (centre);

            // Shade the tread by how far across the plate it lies, so the sheen matches the
            // base, and a little by chance, as rolled steel wears unevenly.
            const auto sheen = 1.0f - 0.45f * (centre.x / bounds.getRight() + centre.y / bounds.getBottom()) * 0.5f;
            const auto wear = 1.0f + 0.07f * hashNoise (column, row, 5);
            const auto raised = pedal_.colours.plateRaised.withMultipliedBrightness (sheen * wear);

            g.setColour (Colour (0x99000000));
            g.fillPath (tread, placed.translated (1.1f, 1.5f));

            const auto across = Point<float> (-std::sin (angle), std::cos (angle));
            const auto litSide = across.getDotProduct (towardsLight) > 0.0f ? across : -across;
            g.setGradientFill (ColourGradient (raised.brighter (0.55f), centre + litSide * 2.0f,
                                               raised.darker (0.55f), centre - litSide * 2.0f, false));
            g.fillPath (tread, placed);

            g.setColour (Colour (0x33ffffff));
            g.strokePath (treadShape (8.0f, 1.2f), juce::PathStrokeType (0.6f), placed.translated (litSide * 0.9f));
        }
    }

    // A broad reflection across the plate, as from a window.
    ColourGradient reflection (Colour (0x00ffffff), 40.0f, 0.0f, Colour (0x00ffffff), 260.0f, 366.0f, false);
    reflection.addColour (0.45, Colour (0x12ffffff));
    g.setGradientFill (reflection);
    g.fillPath (enclosure);
    g.restoreState();
}

void PedalPainter::paintControlPanel (juce::Graphics& g, juce::Image& image) const
{
    const auto area = pedal_.controlPanel;
    Path panel;
    panel.addRoundedRectangle (area, 9.0f);

    castShadow (g, juce::DropShadow (Colour (0xcc000000), 6, { 2, 3 }), panel);

    g.setGradientFill (ColourGradient (pedal_.colours.panel.brighter (0.18f), 0.0f, area.getY(),
                                       pedal_.colours.panel.darker (0.3f), 0.0f, area.getBottom(), false));
    g.fillPath (panel);
    addGrain (image, scale_, panel, 0.012f, 23);

    // A folded steel plate: a bright top edge, a dark lower one.
    g.setGradientFill (ColourGradient (Colour (0x40ffffff), 0.0f, area.getY(), Colour (0x00ffffff), 0.0f, area.getY() + 12.0f, false));
    g.strokePath (panel, juce::PathStrokeType (1.0f), juce::AffineTransform::translation (0.0f, 0.5f));
    g.setColour (Colour (0xaa000000));
    g.strokePath (panel, juce::PathStrokeType (1.0f));

    const auto inset = 8.0f;
    for (const auto& corner : { Point<float> (area.getX() + inset, area.getY() + inset),
                                Point<float> (area.getRight() - inset, area.getY() + inset),
                                Point<float> (area.getX() + inset, area.getBottom() - inset),
                                Point<float> (area.getRight() - inset, area.getBottom() - inset) })
        paintScrew (g, corner, 3.2f, corner.x * 0.07f + corner.y * 0.03f);

    g.setColour (pedal_.colours.print);

    for (size_t k = 0; k < pedal_.knobCaptions.size(); ++k)
        Lettering::drawCentred (g, fonts_.caption (16.0f), pedal_.knobCaptions[k],
                                static_cast<float> (PedalGeometry::knobs[k].bounds.getX()) + PedalGeometry::knobCentre.x, pedal_.captionBaseline, 0.12f);
}

void PedalPainter::paintJackMarks (juce::Graphics& g) const
{
    // Decals on the enclosure's top edge, over where the jacks come out: the output at the
    // left corner, the power in the middle, the input at the right corner, each clear of the
    // knob below it so that none reads as a knob's name. The signal runs from right to left,
    // so both jack arrows point left.
    struct Mark
    {
        juce::String text;
        bool arrow;
        float anchor, alignment; // the decal's left edge (0), centre (0.5) or right edge (1) sits at anchor
    };

    const auto width = static_cast<float> (PedalGeometry::pedal.getWidth());
    constexpr float corner = 23.0f;
    const Mark marks[] = { { "OUTPUT", true, corner, 0.0f },
                           { "9V DC", false, width * 0.5f, 0.5f },
                           { "INPUT", true, width - corner, 1.0f } };

    const auto font = fonts_.caption (11.0f).withExtraKerningFactor (0.2f);
    constexpr float top = 3.5f, height = 12.0f, padding = 5.0f, arrowWidth = 5.0f, arrowGap = 4.0f;
    const auto baseline = top + height - 2.5f;

    for (const auto& mark : marks)
    {
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, mark.text, 0.0f, baseline);
        const auto ink = glyphs.getBoundingBox (0, -1, false);
        const auto content = ink.getWidth() + (mark.arrow ? arrowWidth + arrowGap : 0.0f);
        const juce::Rectangle<float> decal (mark.anchor - (content + 2.0f * padding) * mark.alignment, top, content + 2.0f * padding, height);
        const auto left = decal.getX() + padding;

        g.setColour (Colour (0x99000000));
        g.fillRoundedRectangle (decal.translated (0.6f, 0.9f), 2.5f);
        g.setGradientFill (ColourGradient (pedal_.colours.panel.brighter (0.2f), 0.0f, decal.getY(),
                                           pedal_.colours.panel.darker (0.3f), 0.0f, decal.getBottom(), false));
        g.fillRoundedRectangle (decal, 2.5f);
        g.setColour (Colour (0x30ffffff));
        g.drawRoundedRectangle (decal.reduced (0.5f), 2.5f, 0.7f);

        g.setColour (pedal_.colours.print);
        auto x = left;

        if (mark.arrow)
        {
            Path triangle;
            triangle.addTriangle (x, baseline - 3.5f, x + arrowWidth, baseline - 6.5f, x + arrowWidth, baseline - 0.5f);
            g.fillPath (triangle);
            x += arrowWidth + arrowGap;
        }

        glyphs.moveRangeOfGlyphs (0, -1, x - ink.getX(), 0.0f);
        glyphs.draw (g);
    }
}

void PedalPainter::paintKnobScales (juce::Graphics& g) const
{
    constexpr int ticks = 11;

    for (const auto& knob : PedalGeometry::knobs)
    {
        const auto centre = knob.bounds.getPosition().toFloat() + PedalGeometry::knobCentre;

        for (int i = 0; i < ticks; ++i)
        {
            const auto angle = -pedal_.knobSweepRadians + 2.0f * pedal_.knobSweepRadians * static_cast<float> (i) / static_cast<float> (ticks - 1);
            const bool major = i == 0 || i == ticks / 2 || i == ticks - 1;
            const auto inner = pedal_.scaleInnerRadius - (major ? 0.5f : 0.0f);
            const auto outer = pedal_.scaleOuterRadius + (major ? 1.0f : 0.0f);
            g.setColour (major ? pedal_.colours.print : pedal_.colours.printDim);
            g.drawLine ({ onCircle (centre, inner, angle), onCircle (centre, outer, angle) }, major ? 1.5f : 1.1f);
        }
    }
}

void PedalPainter::paintCaptionPlate (juce::Graphics& g) const
{
    const auto plate = pedal_.dualMonoCaptionPlate + PedalGeometry::dualMonoSwitch.bounds.getPosition().toFloat();

    juce::DropShadow (Colour (0xaa000000), 3, { 1, 1 }).drawForRectangle (g, plate.getSmallestIntegerContainer());
    g.setGradientFill (ColourGradient (pedal_.colours.chromeLight, plate.getX(), plate.getY(),
                                       pedal_.colours.chromeDark, plate.getX(), plate.getBottom(), false));
    g.fillRoundedRectangle (plate, 3.0f);

    const auto face = plate.reduced (1.2f);
    g.setGradientFill (ColourGradient (pedal_.colours.panel.brighter (0.2f), face.getX(), face.getY(),
                                       pedal_.colours.panel.darker (0.3f), face.getX(), face.getBottom(), false));
    g.fillRoundedRectangle (face, 2.2f);

    g.setColour (pedal_.colours.print);
    Lettering::drawCentred (g, fonts_.caption (14.0f), pedal_.dualMonoCaption, plate.getCentreX(), plate.getBottom() - 5.0f, 0.14f);

    for (const auto x : { plate.getX() + 6.0f, plate.getRight() - 6.0f })
        paintScrew (g, { x, plate.getCentreY() }, 2.2f, x * 0.1f);
}

void PedalPainter::paintBadge (juce::Graphics& g) const
{
    const auto badge = pedal_.badge;

    Path outline;
    outline.addRoundedRectangle (badge, 10.0f);
    castShadow (g, juce::DropShadow (Colour (0xcc000000), 5, { 2, 3 }), outline);

    g.setGradientFill (ColourGradient (pedal_.colours.chromeLight, badge.getX(), badge.getY(),
                                       pedal_.colours.chromeDark, badge.getRight(), badge.getBottom(), false));
    g.fillPath (outline);

    const auto face = badge.reduced (2.2f);
    g.setGradientFill (ColourGradient (Colour (0xff24272b), face.getX(), face.getY(),
                                       Colour (0xff0c0d0f), face.getX(), face.getBottom(), false));
    g.fillRoundedRectangle (face, 8.0f);

    // The maker's name in raised chrome letters.
    const auto nameBaseline = face.getY() + 29.0f;
    g.setColour (Colour (0xcc000000));
    Lettering::drawCentred (g, fonts_.wordmark (24.0f), pedal_.maker, face.getCentreX() + 1.0f, nameBaseline + 1.3f, 0.22f);
    g.setGradientFill (ColourGradient (pedal_.colours.chromeLight, 0.0f, nameBaseline - 17.0f,
                                       Colour (0xff8b9198), 0.0f, nameBaseline, false));
    Lettering::drawCentred (g, fonts_.wordmark (24.0f), pedal_.maker, face.getCentreX(), nameBaseline, 0.22f);

    g.setColour (pedal_.colours.accent);
    g.fillRect (juce::Rectangle<float> (face.getX() + 18.0f, nameBaseline + 5.0f, face.getWidth() - 36.0f, 1.4f));

    g.setColour (pedal_.colours.print);
    Lettering::drawCentred (g, fonts_.caption (13.0f), "NOISE GATE", face.getCentreX(), nameBaseline + 19.0f, 0.35f);
}

void PedalPainter::paintLogo (juce::Graphics& g) const
{
    const auto area = PedalGeometry::aboutClickArea.toFloat();

    // First line: the product line in red script.
    juce::GlyphArrangement line;
    line.addLineOfText (fonts_.script (22.0f), pedal_.productLine, area.getX() + 5.0f, area.getY() + 12.0f);
    g.setColour (Colour (0xdd000000));
    line.draw (g, juce::AffineTransform::translation (0.9f, 1.2f));
    g.setColour (pedal_.colours.accent.brighter (0.3f));
    line.draw (g);

    // Second line: the product's name in wide raised capitals across the whole click area;
    // its last letter ends inside the footswitch's rectangle.
    const auto nameFont = fonts_.wordmark (31.0f);
    juce::GlyphArrangement name;
    name.addLineOfText (nameFont, pedal_.productName.toUpperCase(), 0.0f, 0.0f);
    const auto naturalWidth = name.getBoundingBox (0, -1, false).getWidth();
    const auto targetWidth = area.getWidth() - 10.0f;
    const auto letters = name.getNumGlyphs();

    // Spread the letters evenly so the word spans the target width.
    const auto extra = (targetWidth - naturalWidth) / static_cast<float> (juce::jmax (1, letters - 1));
    for (int i = 0; i < letters; ++i)
        name.moveRangeOfGlyphs (i, 1, area.getX() + 5.0f + extra * static_cast<float> (i), area.getBottom() - 3.0f);

    Path lettering;
    name.createPath (lettering);

    g.setColour (Colour (0xee000000));
    g.fillPath (lettering, juce::AffineTransform::translation (1.3f, 1.8f));
    g.strokePath (lettering, juce::PathStrokeType (1.6f, juce::PathStrokeType::curved));

    const auto top = lettering.getBounds().getY();
    const auto bottom = lettering.getBounds().getBottom();
    juce::ColourGradient chrome (pedal_.colours.print.brighter (0.2f), 0.0f, top, pedal_.colours.print.darker (0.45f), 0.0f, bottom, false);
    chrome.addColour (0.5, pedal_.colours.print);
    chrome.addColour (0.56, pedal_.colours.print.darker (0.25f));
    g.setGradientFill (chrome);
    g.fillPath (lettering);

    g.setColour (Colour (0x50ffffff));
    g.strokePath (lettering, juce::PathStrokeType (0.5f), juce::AffineTransform::translation (-0.3f, -0.4f));
}

void PedalPainter::paintEnclosureEdge (juce::Graphics& g) const
{
    const auto bounds = PedalGeometry::pedal.toFloat();
    Path rim;
    rim.addRoundedRectangle (bounds.reduced (1.5f), pedal_.enclosureCornerRadius - 1.5f);

    g.setGradientFill (ColourGradient (Colour (0x60ffffff), 0.0f, 0.0f, Colour (0x30000000), bounds.getRight(), bounds.getBottom(), false));
    g.strokePath (rim, juce::PathStrokeType (2.0f));

    Path edge;
    edge.addRoundedRectangle (bounds.reduced (0.5f), pedal_.enclosureCornerRadius);
    g.setColour (Colour (0xff050505));
    g.strokePath (edge, juce::PathStrokeType (1.0f));
}

void PedalPainter::paintScrew (juce::Graphics& g, juce::Point<float> centre, float radius, float slotAngle) const
{
    castRoundShadow (g, centre, radius, 1.6f, 0.6f);
    g.setGradientFill (litAcross (centre, radius, pedal_.colours.chromeLight, pedal_.colours.chromeDark.darker (0.4f)));
    fillCircle (g, centre, radius);

    // A cross recess, darkest on the side away from the light.
    g.setColour (Colour (0xff1b1c1e));
    for (const auto angle : { slotAngle, slotAngle + juce::MathConstants<float>::halfPi })
        g.drawLine ({ onCircle (centre, radius * 0.62f, angle), onCircle (centre, radius * 0.62f, angle + juce::MathConstants<float>::pi) }, radius * 0.32f);

    g.setColour (Colour (0x55000000));
    g.drawEllipse (centre.x - radius, centre.y - radius, radius * 2.0f, radius * 2.0f, 0.7f);
}

void PedalPainter::paintLed (juce::Graphics& g, juce::Point<float> centre, bool lit) const
{
    const auto bezel = pedal_.ledBezelRadius;
    const auto lens = pedal_.ledLensRadius;

    castRoundShadow (g, centre, bezel, 2.0f, 0.55f);
    g.setGradientFill (litAcross (centre, bezel, pedal_.colours.chromeLight, pedal_.colours.chromeDark));
    fillCircle (g, centre, bezel);
    g.setGradientFill (litAcross (centre, bezel - 1.4f, pedal_.colours.chromeDark, pedal_.colours.chromeLight));
    fillCircle (g, centre, bezel - 1.2f);
    g.setColour (Colour (0xff101010));
    fillCircle (g, centre, lens + 0.7f);

    if (lit)
    {
        ColourGradient glow (pedal_.colours.ledGlow.withAlpha (0.55f), centre, pedal_.colours.ledGlow.withAlpha (0.0f),
                             centre + Point<float> (pedal_.ledGlowRadius, 0.0f), true);
        glow.addColour (0.45, pedal_.colours.ledGlow.withAlpha (0.22f));
        g.setGradientFill (glow);
        fillCircle (g, centre, pedal_.ledGlowRadius);

        ColourGradient dome (Colour (0xffffe4d0), centre, pedal_.colours.ledOn.darker (0.35f), centre + Point<float> (lens, 0.0f), true);
        dome.addColour (0.4, pedal_.colours.ledOn);
        g.setGradientFill (dome);
    }
    else
    {
        g.setGradientFill (ColourGradient (pedal_.colours.ledOff.brighter (0.6f), centre + towardsLight * lens,
                                           pedal_.colours.ledOff.darker (0.6f), centre - towardsLight * lens, false));
    }

    fillCircle (g, centre, lens);

    // The dome's reflection of the lamp.
    g.setColour (Colour (lit ? 0xb0ffffff : 0x80ffffff));
    g.fillEllipse (centre.x - lens * 0.55f, centre.y - lens * 0.62f, lens * 0.6f, lens * 0.42f);
}

void PedalPainter::paintHexNut (juce::Graphics& g, juce::Point<float> centre, float radius, float rotation) const
{
    castRoundShadow (g, centre, radius * 0.95f, 3.0f, 0.6f);

    const auto inner = radius * 0.82f;

    // Six bevelled flanks, each as bright as it faces the light.
    for (int side = 0; side < 6; ++side)
    {
        const auto a0 = rotation + static_cast<float> (side) * twoPi / 6.0f;
        const auto a1 = a0 + twoPi / 6.0f;
        Path flank;
        flank.startNewSubPath (onCircle (centre, radius, a0));
        flank.lineTo (onCircle (centre, radius, a1));
        flank.lineTo (onCircle (centre, inner, a1));
        flank.lineTo (onCircle (centre, inner, a0));
        flank.closeSubPath();

        const auto mid = (a0 + a1) * 0.5f;
        const auto facing = Point<float> (std::sin (mid), -std::cos (mid)).getDotProduct (towardsLight);
        g.setColour (pedal_.colours.chromeDark.interpolatedWith (pedal_.colours.chromeLight, 0.5f + 0.5f * facing));
        g.fillPath (flank);
    }

    Path top;
    top.addPolygon (centre, 6, inner, rotation);
    g.setGradientFill (litAcross (centre, inner, pedal_.colours.chromeLight.darker (0.1f), pedal_.colours.chromeDark.darker (0.2f)));
    g.fillPath (top);

    Path outline;
    outline.addPolygon (centre, 6, radius, rotation);
    g.setColour (Colour (0x66000000));
    g.strokePath (outline, juce::PathStrokeType (0.8f));
}

void PedalPainter::paintKnob (juce::Graphics& g, float angle) const
{
    const auto c = PedalGeometry::knobCentre;
    const auto r = pedal_.knobRadius;
    const auto face = pedal_.knobFaceRadius;

    castRoundShadow (g, c, r, 5.0f, 0.75f);

    // Skirt: black knurled plastic whose ridges turn with the knob.
    g.setColour (pedal_.colours.knobBody);
    fillCircle (g, c, r);

    constexpr int ridges = 36;
    for (int i = 0; i < ridges; ++i)
    {
        const auto a = angle + static_cast<float> (i) * twoPi / static_cast<float> (ridges);
        g.setColour (Colour (0xff35383c));
        g.drawLine ({ onCircle (c, face + 1.8f, a), onCircle (c, r - 0.8f, a) }, 1.3f);
        g.setColour (Colour (0xff050506));
        g.drawLine ({ onCircle (c, face + 1.8f, a + 0.06f), onCircle (c, r - 0.8f, a + 0.06f) }, 0.8f);
    }

    // The lamp's light across the skirt stays put while the ridges turn under it.
    Path ring = circle (c, r);
    ring.addPath (circle (c, face + 1.0f));
    ring.setUsingNonZeroWinding (false);
    g.setGradientFill (litAcross (c, r, Colour (0x50ffffff), Colour (0x70000000)));
    g.fillPath (ring);
    g.setColour (Colour (0xcc000000));
    g.strokePath (circle (c, r - 0.4f), juce::PathStrokeType (0.9f));

    // Face: satin black with a soft highlight towards the lamp and a bevelled rim.
    g.setColour (Colour (0xff000000));
    fillCircle (g, c, face + 1.3f);
    ColourGradient satin (Colour (0xff54585e), c + towardsLight * (face * 0.55f), Colour (0xff17181a),
                          c + towardsLight * (face * 0.55f) + Point<float> (face * 1.5f, 0.0f), true);
    satin.addColour (0.35, Colour (0xff2c2f33));
    g.setGradientFill (satin);
    fillCircle (g, c, face);
    g.setGradientFill (litAcross (c, face, Colour (0x70ffffff), Colour (0x90000000)));
    g.strokePath (circle (c, face - 0.6f), juce::PathStrokeType (1.2f));

    // Pointer: a cream line printed on the cap, from near its centre to just inside its rim.
    const auto pointerEnd = face - 2.5f;
    g.setColour (Colour (0x99000000));
    g.drawLine ({ onCircle (c, 4.0f, angle) + Point<float> (0.5f, 0.8f), onCircle (c, pointerEnd, angle) + Point<float> (0.5f, 0.8f) }, 3.2f);
    g.setColour (pedal_.colours.knobPointer);
    juce::Path pointer;
    pointer.startNewSubPath (onCircle (c, 4.0f, angle));
    pointer.lineTo (onCircle (c, pointerEnd, angle));
    g.strokePath (pointer, juce::PathStrokeType (2.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

void PedalPainter::paintFootswitch (juce::Graphics& g, bool lit, bool pressed) const
{
    paintLed (g, pedal_.footswitchLed, lit);

    const auto c = pedal_.footswitchCentre;
    paintHexNut (g, c, pedal_.footswitchNutRadius, 0.12f);

    // The bore around the actuator: deeper and darker while the switch is held down.
    const auto button = pedal_.footswitchButtonRadius;
    g.setColour (Colour (0xff0c0d0e));
    fillCircle (g, c, button + 3.2f);
    g.setGradientFill (litAcross (c, button + 2.4f, Colour (0xff3a3e43), Colour (0xffb9bec4)));
    g.strokePath (circle (c, button + 2.4f), juce::PathStrokeType (1.4f));

    // Held down, the cap sinks into the bore: smaller, lower and in its own shadow.
    const auto travel = pressed ? Point<float> (0.4f, 1.2f) : Point<float>();
    const auto top = c + travel;
    const auto radius = pressed ? button - 1.3f : button;

    if (! pressed)
        castRoundShadow (g, c, button, 1.8f, 0.7f);

    // Actuator: a turned chrome cap with fine machining rings.
    g.setGradientFill (litAcross (top, radius, pedal_.colours.chromeLight, pedal_.colours.chromeDark.darker (0.3f)));
    fillCircle (g, top, radius);

    for (float ring = 2.5f; ring < radius - 1.0f; ring += 2.2f)
    {
        g.setColour (Colour (ring < radius * 0.5f ? 0x22000000 : 0x1affffff));
        g.drawEllipse (top.x - ring, top.y - ring, ring * 2.0f, ring * 2.0f, 0.8f);
    }

    ColourGradient sheen (Colour (0xb0ffffff), top + towardsLight * (radius * 0.45f), Colour (0x00ffffff),
                          top + towardsLight * (radius * 0.45f) + Point<float> (radius * 0.7f, 0.0f), true);
    g.setGradientFill (sheen);
    fillCircle (g, top, radius);

    g.setColour (Colour (0x99000000));
    g.strokePath (circle (top, radius - 0.3f), juce::PathStrokeType (0.8f));

    if (pressed)
    {
        ColourGradient sunk (Colour (0x20000000), top, Colour (0x90000000), top + Point<float> (radius + 0.5f, 0.0f), true);
        g.setGradientFill (sunk);
        fillCircle (g, top, radius + 0.5f);
    }
}

void PedalPainter::paintDualMonoSwitch (juce::Graphics& g, bool on) const
{
    paintLed (g, pedal_.dualMonoLed, on);

    const auto c = pedal_.toggleCentre;

    // Lock washer under the nut.
    castRoundShadow (g, c, pedal_.toggleNutRadius + 2.5f, 2.0f, 0.5f);
    g.setGradientFill (litAcross (c, pedal_.toggleNutRadius + 2.5f, Colour (0xff8a9096), Colour (0xff2a2d31)));
    fillCircle (g, c, pedal_.toggleNutRadius + 2.5f);

    paintHexNut (g, c, pedal_.toggleNutRadius, 0.3f);

    g.setGradientFill (litAcross (c, 5.5f, Colour (0xff70757b), Colour (0xffd7dbe0)));
    fillCircle (g, c, 5.5f);
    g.setColour (Colour (0xff151618));
    fillCircle (g, c, 3.6f);

    // The bat lever, thrown up (on) or down (off), and its shadow on the plate.
    const auto direction = on ? -1.0f : 1.0f;
    const auto length = pedal_.toggleLeverLength;
    const auto tip = c + Point<float> (0.0f, direction * length);

    Path lever;
    lever.startNewSubPath (c.x - 2.0f, c.y);
    lever.lineTo (c.x + 2.0f, c.y);
    lever.lineTo (tip.x + 3.0f, tip.y - direction * 2.0f);
    lever.lineTo (tip.x - 3.0f, tip.y - direction * 2.0f);
    lever.closeSubPath();
    lever.addEllipse (tip.x - 4.2f, tip.y - 4.2f, 8.4f, 8.4f);
    lever.setUsingNonZeroWinding (true);

    castShadow (g, juce::DropShadow (Colour (0xaa000000), 3, { 3, 3 }), lever);

    ColourGradient cylinder (pedal_.colours.chromeDark, c.x - 4.5f, 0.0f, pedal_.colours.chromeDark.darker (0.5f), c.x + 4.5f, 0.0f, false);
    cylinder.addColour (0.3, pedal_.colours.chromeLight);
    cylinder.addColour (0.55, Colour (0xffa4aab1));
    g.setGradientFill (cylinder);
    g.fillPath (lever);

    ColourGradient ball (Colour (0xffffffff), tip + towardsLight * 1.8f, pedal_.colours.chromeDark,
                         tip + towardsLight * 1.8f + Point<float> (5.5f, 0.0f), true);
    g.setGradientFill (ball);
    fillCircle (g, tip, 4.2f);

    g.setColour (Colour (0x80000000));
    g.strokePath (lever, juce::PathStrokeType (0.6f));
}
