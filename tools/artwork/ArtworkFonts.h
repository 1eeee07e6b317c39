#pragma once

#include <juce_graphics/juce_graphics.h>

/**
    The typefaces the artwork is lettered in, loaded from the font files of Debian packages
    (fonts-dejavu-core, fonts-dejavu-extra, fonts-bebas-neue, fonts-lobstertwo,
    fonts-league-spartan) rather than chosen by the system, so the pictures come out the same
    on every machine. Message thread (or the only thread of the generator).
*/
class ArtworkFonts
{
public:
    /** Loads every file; isComplete() tells whether all of them were found and readable. */
    ArtworkFonts();

    /** True when every typeface loaded; otherwise getMissing() names the files. */
    bool isComplete() const { return missing_.isEmpty(); }
    juce::StringArray getMissing() const { return missing_; }

    /** Fonts of the given height in pixels (JUCE's height: ascent plus descent). */
    juce::Font text (float height) const;      // DejaVu Sans
    juce::Font textBold (float height) const;  // DejaVu Sans Bold
    juce::Font condensed (float height) const; // DejaVu Sans Condensed
    juce::Font caption (float height) const;   // Bebas Neue Bold: panel captions
    juce::Font script (float height) const;    // Lobster Two Bold: the product's name
    juce::Font wordmark (float height) const;  // League Spartan Bold: the maker's name

private:
    juce::Typeface::Ptr load (const char* path);
    static juce::Font fontOf (const juce::Typeface::Ptr& typeface, float height);

    juce::StringArray missing_;
    juce::Typeface::Ptr text_, textBold_, condensed_, caption_, script_, wordmark_;
};
