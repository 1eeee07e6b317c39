#include "AppIcon.h"

#include <array>
#include <cmath>
#include <vector>

AppIcon::AppIcon (const PedalDescription& pedal, const juce::Image& pedalPicture, int scale)
    : cutOut_ (juce::Image::ARGB, pedalPicture.getWidth(), pedalPicture.getHeight(), true, juce::SoftwareImageType())
{
    juce::Path enclosure;
    enclosure.addRoundedRectangle (PedalGeometry::pedal.toFloat(),
                                   pedal.enclosureCornerRadius);

    juce::Graphics g (cutOut_);
    g.addTransform (juce::AffineTransform::scale (static_cast<float> (scale)));
    g.setFillType (juce::FillType (pedalPicture, juce::AffineTransform::scale (1.0f / static_cast<float> (scale))));
    g.fillPath (enclosure);
}

juce::Image AppIcon::paint (int size) const
{
    jassert (size > 0);
    const auto aspect = static_cast<double> (cutOut_.getWidth()) / cutOut_.getHeight();
    const auto width = juce::jlimit (1, size, static_cast<int> (std::lround (size * aspect)));
    const auto scaled = averageDown (cutOut_, width, size);

    juce::Image icon (juce::Image::ARGB, size, size, true, juce::SoftwareImageType());
    juce::Graphics g (icon);
    g.drawImageAt (scaled, (size - width) / 2, 0);
    return icon;
}

juce::Image AppIcon::averageDown (const juce::Image& source, int width, int height)
{
    // Weights of each source column (or row) in each target column (or row): the overlap of the
    // source pixel [i, i + 1) with the target pixel's footprint [t * ratio, (t + 1) * ratio).
    struct Tap
    {
        int index;
        float weight;
    };

    const auto taps = [] (int sourceLength, int targetLength)
    {
        std::vector<std::vector<Tap>> result (static_cast<size_t> (targetLength));
        const auto ratio = static_cast<double> (sourceLength) / targetLength;

        for (int t = 0; t < targetLength; ++t)
        {
            const auto from = t * ratio, to = (t + 1) * ratio;

            for (auto i = static_cast<int> (std::floor (from)); i < std::min (sourceLength, static_cast<int> (std::ceil (to))); ++i)
            {
                const auto overlap = std::min (to, i + 1.0) - std::max (from, static_cast<double> (i));
                result[static_cast<size_t> (t)].push_back ({ i, static_cast<float> (overlap / ratio) });
            }
        }

        return result;
    };

    const auto columns = taps (source.getWidth(), width);
    const auto rows = taps (source.getHeight(), height);
    const juce::Image::BitmapData from (source, juce::Image::BitmapData::readOnly);

    // Premultiplied, so transparent pixels lend no colour to the edge.
    const auto premultiplied = [&from] (int x, int y)
    {
        const auto c = from.getPixelColour (x, y);
        const auto a = c.getFloatAlpha();
        return std::array<float, 4> { c.getFloatRed() * a, c.getFloatGreen() * a, c.getFloatBlue() * a, a };
    };

    juce::Image result (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Image::BitmapData to (result, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            std::array<float, 4> sum {};

            for (const auto& row : rows[static_cast<size_t> (y)])
                for (const auto& column : columns[static_cast<size_t> (x)])
                {
                    const auto pixel = premultiplied (column.index, row.index);
                    for (size_t k = 0; k < 4; ++k)
                        sum[k] += pixel[k] * row.weight * column.weight;
                }

            const auto alpha = juce::jlimit (0.0f, 1.0f, sum[3]);
            const auto straight = [alpha] (float value)
            { return alpha > 0.0f ? juce::jlimit (0.0f, 1.0f, value / alpha) : 0.0f; };
            to.setPixelColour (x, y, juce::Colour::fromFloatRGBA (straight (sum[0]), straight (sum[1]), straight (sum[2]), alpha));
        }
    }

    return result;
}
