#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/**
    How an audio file stores one sample: integer PCM of 8 to 32 bits, IEEE floating point of
    32 or 64 bits, 8-bit mu-law or A-law, or Ogg Vorbis (lossy, no fixed size). Plain value;
    any thread.
*/
struct SampleFormat
{
    enum class Kind
    {
        integer,
        floatingPoint,
        muLaw,
        aLaw,
        vorbis
    };

    Kind kind = Kind::integer;

    /** Bits per stored sample: 8, 16, 24 or 32 for integers, 32 or 64 for floating point,
        8 for mu-law and A-law, 0 for Vorbis. */
    int bits = 16;

    static SampleFormat integer (int bits) noexcept { return { Kind::integer, bits }; }
    static SampleFormat floatingPoint (int bits) noexcept { return { Kind::floatingPoint, bits }; }

    /** Reads the text of the --bits option: "8", "16", "24", "32" (integers) or "32f", "64f"
        (floating point); nothing for anything else. */
    static std::optional<SampleFormat> fromOptionText (const juce::String& text);

    /** The format for libsndfile's subtype code (SF_FORMAT_PCM_16 and so on); nothing for a
        subtype the renderer does not handle. */
    static std::optional<SampleFormat> fromSubtype (int subtype) noexcept;

    /** libsndfile's subtype code for this format; 8-bit integers are unsigned in WAV and
        signed elsewhere, hence wav. */
    int toSubtype (bool wav) const noexcept;

    /** True when a 32-bit float holds every sample value of this format exactly (not so for
        32-bit integers and 64-bit floats). */
    bool fitsInFloat() const noexcept { return ! ((kind == Kind::integer && bits > 24) || (kind == Kind::floatingPoint && bits > 32)); }

    /** For users: "24-bit integer", "32-bit float", "mu-law", "Ogg Vorbis". */
    juce::String describe() const;

    bool operator== (const SampleFormat& other) const noexcept { return kind == other.kind && bits == other.bits; }
    bool operator!= (const SampleFormat& other) const noexcept { return ! operator== (other); }
};
