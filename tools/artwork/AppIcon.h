#pragma once

#include "PedalDescription.h"

/**
    The Standalone app's icon: the whole pedal as the editor shows it, cut out along the
    enclosure's rounded outline (transparent outside) and centred in a square.

    Small icons are averaged down from the double-size picture, every source pixel weighted by
    how much of it a target pixel covers, so the steel and print do not alias into noise the
    way a point-sampled or bilinear reduction would. Any single thread.
*/
class AppIcon
{
public:
    /** The square sizes, in pixels, of the icons desktops look up by size. */
    static constexpr int sizes[] = { 16, 22, 24, 32, 48, 64, 128, 256 };

    /** pedal must outlive the icon. pedalPicture is the composed pedal (background with every
        control at rest) drawn at scale; the larger the scale, the finer the big icons. */
    AppIcon (const PedalDescription& pedal, const juce::Image& pedalPicture, int scale);

    /** The icon at size × size pixels (1 or more), ARGB with straight edges and
        transparent margins left and right. */
    juce::Image paint (int size) const;

private:
    /** Averages source down to width × height (each no larger than the source's). */
    static juce::Image averageDown (const juce::Image& source, int width, int height);

    juce::Image cutOut_; // the pedal, transparent outside its enclosure
};
