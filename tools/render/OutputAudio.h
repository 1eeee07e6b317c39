#pragma once

#include "SampleFormat.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <optional>
#include <vector>

/**
    An audio file being written by the renderer through libsndfile: WAV (RF64 where the data
    would not fit into 4 GB), AIFF (AIFF-C for floating point, mu-law and A-law), FLAC or Ogg Vorbis.

    Samples arrive as doubles at full scale 1. Integer formats get the inverse of the scale
    reading uses: each sample times 2^(bits - 1), rounded to the nearest integer and clipped
    to the format's range, so that a sample read from an integer file comes back as the very
    same integer. Samples at or above full scale become the largest value the format holds;
    floating-point formats keep them as they are.

    Not copyable; one thread at a time.
*/
class OutputAudio
{
public:
    enum class Container
    {
        wav,
        aiff,
        flac,
        ogg
    };

    /** The output extensions, for messages: ".wav, .aiff, .flac or .ogg". */
    static const char* const extensionsText;

    /** The container file's extension asks for (.wav, .aif, .aiff, .aifc, .flac, .ogg, in any
        case), or nothing. */
    static std::optional<Container> containerFor (const juce::File& file);

    /** "WAV", "AIFF", "FLAC", "Ogg Vorbis". */
    static juce::String containerName (Container container);

    /** Whether container can hold samples in format. */
    static bool holds (Container container, const SampleFormat& format) noexcept;

    /** Why file cannot be written as asked, judging by its name: a folder, an extension that
        names no container, or a requested format that its container cannot hold. */
    static juce::Result checkName (const juce::File& file, const std::optional<SampleFormat>& requested);

    /** The format to write into container for input samples in inputFormat: requested if
        given (callers have checked that the container holds it); else the input's own format
        where the container holds it; else the nearest format it holds, and note then says
        what changed (empty otherwise). */
    static SampleFormat chooseFormat (Container container, const SampleFormat& inputFormat,
                                      const std::optional<SampleFormat>& requested, juce::String& note);

    /** The integer sample of an integer format with bits (8..32) for sample (full scale 1),
        rounded to nearest (ties to even), clipped to the format's range, NaN as 0, and
        left-justified in 32 bits. */
    static juce::int32 toInteger (double sample, int bits) noexcept;

    /** Creates file and opens it for writing about numFrames frames of numChannels at
        sampleRate (Hz) in format, which container must hold. On failure output is null and
        the result says why. */
    static juce::Result create (const juce::File& file, Container container, const SampleFormat& format,
                                int numChannels, double sampleRate, juce::int64 numFrames, std::unique_ptr<OutputAudio>& output);

    ~OutputAudio();

    /** Appends numFrames frames of interleaved samples (full scale 1). Fails when the file
        cannot take them (a full disk, say). */
    juce::Result write (const double* interleaved, int numFrames);

    /** Completes the file (header, encoder) and closes it; nothing can be written after. */
    juce::Result finish();

private:
    struct Handle;

    OutputAudio (const juce::File& file, std::unique_ptr<Handle> handle, const SampleFormat& format, int numChannels);

    juce::Result failure (const juce::String& what) const;

    juce::File file_;
    std::unique_ptr<Handle> handle_;
    SampleFormat format_;
    int numChannels_;
    std::vector<int> integers_;

    JUCE_DECLARE_NON_COPYABLE (OutputAudio)
};
