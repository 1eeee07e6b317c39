#include "OutputAudio.h"

#include <sndfile.h>

#include <cmath>

struct OutputAudio::Handle
{
    SNDFILE* file = nullptr;
    juce::int64 framesWritten = 0;

    ~Handle()
    {
        if (file != nullptr)
            sf_close (file);
    }
};

const char* const OutputAudio::extensionsText = ".wav, .aiff, .flac or .ogg";

std::optional<OutputAudio::Container> OutputAudio::containerFor (const juce::File& file)
{
    const auto extension = file.getFileExtension().toLowerCase();

    if (extension == ".wav")
        return Container::wav;

    if (extension == ".aif" || extension == ".aiff" || extension == ".aifc")
        return Container::aiff;

    if (extension == ".flac")
        return Container::flac;

    if (extension == ".ogg")
        return Container::ogg;

    return std::nullopt;
}

juce::String OutputAudio::containerName (Container container)
{
    switch (container)
    {
        case Container::wav: return "WAV";
        case Container::aiff: return "AIFF";
        case Container::flac: return "FLAC";
        case Container::ogg: return "Ogg Vorbis";
    }

    return {};
}

bool OutputAudio::holds (Container container, const SampleFormat& format) noexcept
{
    using Kind = SampleFormat::Kind;
    const bool integer = format.kind == Kind::integer && (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);

    switch (container)
    {
        case Container::wav:
        case Container::aiff:
            return integer || format.kind == Kind::muLaw || format.kind == Kind::aLaw || (format.kind == Kind::floatingPoint && (format.bits == 32 || format.bits == 64));
        // libsndfile's FLAC encoder takes at most 24 bits.
        case Container::flac: return integer && format.bits <= 24;
        case Container::ogg: return format.kind == Kind::vorbis;
    }

    return false;
}

juce::Result OutputAudio::checkName (const juce::File& file, const std::optional<SampleFormat>& requested)
{
    const auto container = containerFor (file);

    if (file.isDirectory())
        return juce::Result::fail ("cannot write '" + file.getFullPathName() + "': it is a folder (-o DIR writes into a folder)");

    if (! container.has_value())
        return juce::Result::fail ("cannot write '" + file.getFullPathName() + "': unsupported output format '" + file.getFileExtension() + "' (use " + extensionsText + ")");

    if (! requested.has_value() || holds (*container, *requested))
        return juce::Result::ok();

    const auto why = *container == Container::flac  ? juce::String ("FLAC output takes 8, 16 or 24 bits")
                     : *container == Container::ogg ? juce::String ("Ogg Vorbis has no bit depth and takes no --bits")
                                                    : containerName (*container) + " output takes 8, 16, 24 or 32 (integer), 32f or 64f (floating point)";

    return juce::Result::fail ("cannot write '" + file.getFullPathName() + "' as " + requested->describe() + ": " + why);
}

SampleFormat OutputAudio::chooseFormat (Container container, const SampleFormat& inputFormat,
                                        const std::optional<SampleFormat>& requested, juce::String& note)
{
    note.clear();

    if (requested.has_value())
        return *requested;

    if (holds (container, inputFormat))
        return inputFormat;

    // Lossy output is what asking for .ogg means: nothing to point out.
    if (container == Container::ogg)
        return { SampleFormat::Kind::vorbis, 0 };

    using Kind = SampleFormat::Kind;
    const bool wide = (inputFormat.kind == Kind::integer && inputFormat.bits > 24) || inputFormat.kind == Kind::floatingPoint;
    const auto chosen = SampleFormat::integer (wide ? 24 : 16);

    note = containerName (container) + " cannot hold " + inputFormat.describe() + " samples: wrote " + chosen.describe();

    if (inputFormat.kind == Kind::muLaw || inputFormat.kind == Kind::aLaw)
        note << ", which keeps every value exactly";
    else if (inputFormat.kind == Kind::floatingPoint)
        note << " (samples at or above full scale are clipped)";

    return chosen;
}

namespace
{
// The sample times fullScale (2^(bits - 1)), clipped to the format's range, rounded to the
// nearest integer and moved to the top of 32 bits (shift = 32 - bits).
inline juce::int32 quantise (double sample, double fullScale, int shift) noexcept
{
    double scaled = sample * fullScale;

    // NaN is written as 0. Each step is a plain select the compiler turns into vector
    // min/max instructions, so the loops over whole blocks vectorise.
    scaled = scaled == scaled ? scaled : 0.0;
    scaled = scaled > -fullScale ? scaled : -fullScale;
    scaled = scaled < fullScale - 1.0 ? scaled : fullScale - 1.0;

    // Adding and taking away 1.5 * 2^52 rounds to the nearest integer (ties to even) in the
    // default rounding mode, without a library call; |scaled| is far below 2^51 here.
    constexpr double rounder = 6755399441055744.0;
    const auto rounded = static_cast<juce::int32> ((scaled + rounder) - rounder);
    return static_cast<juce::int32> (static_cast<juce::uint32> (rounded) << shift);
}
} // namespace

juce::int32 OutputAudio::toInteger (double sample, int bits) noexcept
{
    return quantise (sample, std::ldexp (1.0, bits - 1), 32 - bits);
}

OutputAudio::OutputAudio (const juce::File& file, std::unique_ptr<Handle> handle, const SampleFormat& format, int numChannels)
    : file_ (file)
    , handle_ (std::move (handle))
    , format_ (format)
    , numChannels_ (numChannels)
{
}

OutputAudio::~OutputAudio() = default;

juce::Result OutputAudio::failure (const juce::String& what) const
{
    return juce::Result::fail (what + " '" + file_.getFullPathName() + "' failed: " + sf_strerror (handle_ != nullptr ? handle_->file : nullptr));
}

juce::Result OutputAudio::create (const juce::File& file, Container container, const SampleFormat& format,
                                  int numChannels, double sampleRate, juce::int64 numFrames, std::unique_ptr<OutputAudio>& output)
{
    output.reset();

    // Plain WAV wherever its 32-bit sizes can count the data, which more programs read.
    const auto dataBytes = static_cast<juce::uint64> (std::max<juce::int64> (numFrames, 0)) * static_cast<juce::uint64> (numChannels) * static_cast<juce::uint64> (format.bits / 8);
    const int wavMajor = dataBytes < 0xffff0000ull ? SF_FORMAT_WAV : SF_FORMAT_RF64;
    const int majors[] = { wavMajor, SF_FORMAT_AIFF, SF_FORMAT_FLAC, SF_FORMAT_OGG };

    SF_INFO info {};
    info.samplerate = juce::roundToInt (sampleRate);
    info.channels = numChannels;
    info.format = majors[static_cast<int> (container)] | format.toSubtype (container == Container::wav);

    auto handle = std::make_unique<Handle>();
    handle->file = sf_open (file.getFullPathName().toRawUTF8(), SFM_WRITE, &info);

    if (handle->file == nullptr)
        return juce::Result::fail ("cannot write " + juce::String (numChannels) + " channels at " + juce::String (sampleRate) + " Hz as " + format.describe() + " " + containerName (container) + " into '" + file.getFullPathName() + "': " + sf_strerror (nullptr));

    output.reset (new OutputAudio (file, std::move (handle), format, numChannels));
    return juce::Result::ok();
}

juce::Result OutputAudio::write (const double* interleaved, int numFrames)
{
    using Kind = SampleFormat::Kind;
    const auto count = static_cast<size_t> (numFrames) * static_cast<size_t> (numChannels_);
    sf_count_t written = 0;

    if (format_.kind == Kind::integer || format_.kind == Kind::muLaw || format_.kind == Kind::aLaw)
    {
        // libsndfile's companding encoders take 16-bit values.
        const int bits = format_.kind == Kind::integer ? format_.bits : 16;
        const double fullScale = std::ldexp (1.0, bits - 1);
        integers_.resize (count);

        for (size_t i = 0; i < count; ++i)
            integers_[i] = quantise (interleaved[i], fullScale, 32 - bits);

        written = sf_writef_int (handle_->file, integers_.data(), numFrames);
    }
    else
    {
        written = sf_writef_double (handle_->file, interleaved, numFrames);
    }

    if (written != numFrames)
        return failure ("writing");

    handle_->framesWritten += numFrames;
    return juce::Result::ok();
}

juce::Result OutputAudio::finish()
{
    const auto frames = handle_->framesWritten;
    const auto closed = sf_close (handle_->file);
    handle_->file = nullptr;

    if (closed != SF_ERR_NO_ERROR)
        return juce::Result::fail ("finishing '" + file_.getFullPathName() + "' failed: " + sf_error_number (closed));

    // A short write (a full disk, say) can go unnoticed until the file is closed: read the
    // header back before the file may replace anything.
    SF_INFO info {};
    auto* check = sf_open (file_.getFullPathName().toRawUTF8(), SFM_READ, &info);
    const bool complete = check != nullptr && info.frames == frames && info.channels == numChannels_;

    if (check != nullptr)
        sf_close (check);

    return complete ? juce::Result::ok()
                    : juce::Result::fail ("the written file '" + file_.getFullPathName() + "' could not be read back complete (is the disk full?)");
}
