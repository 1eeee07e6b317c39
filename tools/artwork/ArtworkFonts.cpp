#include "ArtworkFonts.h"

ArtworkFonts::ArtworkFonts()
    : text_ (load ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"))
    , textBold_ (load ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"))
    , condensed_ (load ("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf"))
    , caption_ (load ("/usr/share/fonts/opentype/bebas-neue/BebasNeue-Bold.otf"))
    , script_ (load ("/usr/share/fonts/opentype/lobstertwo/LobsterTwo-Bold.otf"))
    , wordmark_ (load ("/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Bold.otf"))
{
}

juce::Typeface::Ptr ArtworkFonts::load (const char* path)
{
    juce::MemoryBlock data;

    if (! juce::File (path).loadFileAsData (data) || data.isEmpty())
    {
        missing_.add (path);
        return {};
    }

    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

juce::Font ArtworkFonts::fontOf (const juce::Typeface::Ptr& typeface, float height)
{
    // A missing file was reported by the constructor; the generator stops before drawing.
    jassert (typeface != nullptr);
    return juce::Font (typeface).withHeight (height);
}

juce::Font ArtworkFonts::text (float height) const { return fontOf (text_, height); }
juce::Font ArtworkFonts::textBold (float height) const { return fontOf (textBold_, height); }
juce::Font ArtworkFonts::condensed (float height) const { return fontOf (condensed_, height); }
juce::Font ArtworkFonts::caption (float height) const { return fontOf (caption_, height); }
juce::Font ArtworkFonts::script (float height) const { return fontOf (script_, height); }
juce::Font ArtworkFonts::wordmark (float height) const { return fontOf (wordmark_, height); }
