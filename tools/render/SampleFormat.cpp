#include "SampleFormat.h"

#include <sndfile.h>

std::optional<SampleFormat> SampleFormat::fromOptionText (const juce::String& text)
{
    const auto word = text.trim().toLowerCase();

    for (int bits : { 8, 16, 24, 32 })
        if (word == juce::String (bits))
            return integer (bits);

    for (int bits : { 32, 64 })
        if (word == juce::String (bits) + "f")
            return floatingPoint (bits);

    return std::nullopt;
}

std::optional<SampleFormat> SampleFormat::fromSubtype (int subtype) noexcept
{
    switch (subtype)
    {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8: return integer (8);
        case SF_FORMAT_PCM_16: return integer (16);
        case SF_FORMAT_PCM_24: return integer (24);
        case SF_FORMAT_PCM_32: return integer (32);
        case SF_FORMAT_FLOAT: return floatingPoint (32);
        case SF_FORMAT_DOUBLE: return floatingPoint (64);
        case SF_FORMAT_ULAW: return SampleFormat { Kind::muLaw, 8 };
        case SF_FORMAT_ALAW: return SampleFormat { Kind::aLaw, 8 };
        case SF_FORMAT_VORBIS: return SampleFormat { Kind::vorbis, 0 };
        default: return std::nullopt;
    }
}

int SampleFormat::toSubtype (bool wav) const noexcept
{
    switch (kind)
    {
        case Kind::integer:
            switch (bits)
            {
                case 8: return wav ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_S8;
                case 16: return SF_FORMAT_PCM_16;
                case 24: return SF_FORMAT_PCM_24;
                default: return SF_FORMAT_PCM_32;
            }
        case Kind::floatingPoint: return bits == 64 ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT;
        case Kind::muLaw: return SF_FORMAT_ULAW;
        case Kind::aLaw: return SF_FORMAT_ALAW;
        case Kind::vorbis: return SF_FORMAT_VORBIS;
    }

    return SF_FORMAT_PCM_16;
}

juce::String SampleFormat::describe() const
{
    switch (kind)
    {
        case Kind::integer: return juce::String (bits) + "-bit integer";
        case Kind::floatingPoint: return juce::String (bits) + "-bit float";
        case Kind::muLaw: return "mu-law";
        case Kind::aLaw: return "A-law";
        case Kind::vorbis: return "Ogg Vorbis";
    }

    return {};
}
