#include "InputAudio.h"

#include <sndfile.h>

#include <cstring>
#include <optional>

struct InputAudio::Handle
{
    SNDFILE* file = nullptr;
    SF_INFO info {};

    ~Handle()
    {
        if (file != nullptr)
            sf_close (file);
    }

    static std::unique_ptr<Handle> open (const juce::File& path)
    {
        auto handle = std::make_unique<Handle>();
        handle->file = sf_open (path.getFullPathName().toRawUTF8(), SFM_READ, &handle->info);
        return handle->file != nullptr ? std::move (handle) : nullptr;
    }
};

namespace
{
bool isWav (int major) noexcept { return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64; }

// The raw bytes at the start of the first chunk named id, as far as they fit into data.
bool readChunkStart (SNDFILE* file, const char* id, void* data, unsigned int size)
{
    SF_CHUNK_INFO wanted {};
    std::strncpy (wanted.id, id, sizeof (wanted.id) - 1);
    wanted.id_size = static_cast<unsigned int> (std::strlen (wanted.id));

    auto* chunk = sf_get_chunk_iterator (file, &wanted);
    SF_CHUNK_INFO found {};

    if (chunk == nullptr || sf_get_chunk_size (chunk, &found) != SF_ERR_NO_ERROR || found.datalen < size)
        return false;

    found.datalen = size;
    found.data = data;
    return sf_get_chunk_data (chunk, &found) == SF_ERR_NO_ERROR;
}

std::optional<juce::uint64> chunkLength (SNDFILE* file, const char* id)
{
    SF_CHUNK_INFO wanted {};
    std::strncpy (wanted.id, id, sizeof (wanted.id) - 1);
    wanted.id_size = static_cast<unsigned int> (std::strlen (wanted.id));

    auto* chunk = sf_get_chunk_iterator (file, &wanted);
    SF_CHUNK_INFO found {};

    if (chunk == nullptr || sf_get_chunk_size (chunk, &found) != SF_ERR_NO_ERROR)
        return std::nullopt;

    return found.datalen;
}

// The frames the header of a WAV or AIFF file declares, where it can tell. libsndfile takes a
// data chunk that runs past the end of the file as ending there, so its own frame count is
// what the file holds; only the header says what should be there.
std::optional<juce::int64> declaredFrames (SNDFILE* file, int major, int bytesPerFrame)
{
    if (isWav (major))
    {
        auto bytes = chunkLength (file, "data");

        // RF64 puts 0xFFFFFFFF there and the real size into its ds64 chunk.
        if (bytes == 0xffffffffu)
        {
            juce::uint8 ds64[16];
            bytes = readChunkStart (file, "ds64", ds64, sizeof (ds64))
                        ? std::optional<juce::uint64> (juce::ByteOrder::littleEndianInt64 (ds64 + 8))
                        : std::nullopt;
        }

        if (! bytes.has_value() || bytesPerFrame <= 0)
            return std::nullopt;

        return static_cast<juce::int64> (std::min<juce::uint64> (*bytes, 1ull << 62) / static_cast<juce::uint64> (bytesPerFrame));
    }

    if (major == SF_FORMAT_AIFF)
    {
        // COMM: channels (2 bytes), frames (4 bytes, big-endian), ...
        juce::uint8 comm[6];

        if (readChunkStart (file, "COMM", comm, sizeof (comm)))
            return static_cast<juce::int64> (juce::ByteOrder::bigEndianInt (comm + 2));
    }

    return std::nullopt;
}

// Whether the file starts like one of the containers the renderer reads. libsndfile knows
// dozens of other formats; the files it is shown are kept to the ones the renderer promises.
bool startsLikeAcceptedContainer (const juce::File& file)
{
    char start[4] = {};
    juce::FileInputStream stream (file);

    if (! stream.openedOk() || stream.read (start, sizeof (start)) != static_cast<int> (sizeof (start)))
        return false;

    // ID3 tags may stand before FLAC's own marker.
    for (const char* marker : { "RIFF", "RIFX", "RF64", "FORM", "fLaC", "OggS", "ID3" })
        if (std::memcmp (start, marker, std::strlen (marker)) == 0)
            return true;

    return false;
}

// libsndfile's explanation of the last error on file (or of the last failed open), as part of
// a sentence: "Error : flac decoder lost sync." becomes "flac decoder lost sync".
juce::String reasonFrom (SNDFILE* file)
{
    return juce::String (sf_strerror (file)).trim().replace ("Error : ", "").trimCharactersAtEnd (".").toLowerCase();
}

int bytesPerSample (const SampleFormat& format) noexcept { return format.kind == SampleFormat::Kind::vorbis ? 0 : format.bits / 8; }

} // namespace

bool InputAudio::canReadFrame (const juce::File& file, juce::int64 frame)
{
    // A fresh look each time, since a failed seek leaves libsndfile's FLAC decoder unusable.
    auto probe = Handle::open (file);

    if (probe == nullptr || sf_seek (probe->file, frame, SEEK_SET) != frame)
        return false;

    std::vector<double> one (static_cast<size_t> (std::max (probe->info.channels, 1)));
    return sf_readf_double (probe->file, one.data(), 1) == 1;
}

InputAudio::InputAudio (const juce::File& file, std::unique_ptr<Handle> handle)
    : file_ (file)
    , handle_ (std::move (handle))
{
}

InputAudio::~InputAudio() = default;

juce::String InputAudio::quotedName() const { return "'" + file_.getFullPathName() + "'"; }

juce::Result InputAudio::open (const juce::File& file, bool allowTruncated, std::unique_ptr<InputAudio>& input)
{
    input.reset();
    const auto name = "'" + file.getFullPathName() + "'";

    if (file.isDirectory())
        return juce::Result::fail ("cannot read " + name + ": it is a folder");

    if (! file.existsAsFile())
        return juce::Result::fail ("cannot read " + name + ": no such file");

    if (! file.hasReadAccess())
        return juce::Result::fail ("cannot read " + name + ": permission denied");

    const auto notAccepted = juce::Result::fail (name + " is not an audio file in a format the renderer reads (WAV, AIFF, FLAC, Ogg Vorbis)");

    if (! startsLikeAcceptedContainer (file))
        return notAccepted;

    auto handle = Handle::open (file);

    if (handle == nullptr)
    {
        const auto reason = reasonFrom (nullptr);

        switch (sf_error (nullptr))
        {
            case SF_ERR_MALFORMED_FILE: return juce::Result::fail (name + " is damaged: its header cannot be read (" + reason + ")");
            case SF_ERR_UNSUPPORTED_ENCODING: return juce::Result::fail (name + " holds its samples in an encoding the renderer does not read (" + reason + ")");
            case SF_ERR_UNRECOGNISED_FORMAT: return notAccepted;
            default: return juce::Result::fail ("cannot read " + name + ": " + reason);
        }
    }

    const auto& info = handle->info;
    const int major = info.format & SF_FORMAT_TYPEMASK;

    if (! isWav (major) && major != SF_FORMAT_AIFF && major != SF_FORMAT_FLAC && major != SF_FORMAT_OGG)
        return notAccepted;

    const auto sampleFormat = SampleFormat::fromSubtype (info.format & SF_FORMAT_SUBMASK);

    if (! sampleFormat.has_value())
        return juce::Result::fail (name + " holds its samples in an encoding the renderer does not read (it reads integer, floating-point, mu-law, A-law and Vorbis samples)");

    if (info.channels < 1 || info.channels > 2)
        return juce::Result::fail (name + " has " + juce::String (info.channels) + " channels; the gate takes mono or stereo");

    if (info.samplerate <= 0 || info.frames < 0)
        return juce::Result::fail (name + " has no valid sample rate or length");

    if (major == SF_FORMAT_FLAC && info.frames == 0)
        return juce::Result::fail (name + " does not say in its header how many frames it holds; the renderer cannot check that it is complete");

    std::unique_ptr<InputAudio> made (new InputAudio (file, std::move (handle)));
    made->numChannels_ = info.channels;
    made->sampleRate_ = info.samplerate;
    made->sampleFormat_ = *sampleFormat;
    made->length_ = info.frames;

    if (auto result = made->checkFramesPresent (allowTruncated); result.failed())
        return result;

    input = std::move (made);
    return juce::Result::ok();
}

juce::Result InputAudio::checkFramesPresent (bool allowTruncated)
{
    const int major = handle_->info.format & SF_FORMAT_TYPEMASK;
    const juce::int64 readable = handle_->info.frames;
    juce::int64 declared = readable, present = readable;

    if (major == SF_FORMAT_FLAC)
    {
        // A FLAC file's header gives the length; libsndfile trusts it. Whether the last frame
        // is really there takes one seek, however long the file claims to be.
        if (declared > 0 && ! canReadFrame (file_, declared - 1))
        {
            // How much is there: a binary search over which frames can be decoded.
            juce::int64 low = 0, high = declared;

            while (high - low > 1)
            {
                const auto middle = low + (high - low) / 2;
                (canReadFrame (file_, middle - 1) ? low : high) = middle;
            }

            present = low;
        }
    }
    else if (const auto fromHeader = declaredFrames (handle_->file, major, numChannels_ * bytesPerSample (sampleFormat_)))
    {
        declared = *fromHeader;
        present = std::min (declared, readable);
    }

    if (present >= declared)
    {
        // A header may also declare less than the file holds (a recording that was never
        // finished): then the frames declared are all there is to render.
        length_ = std::min (declared, readable);
        return juce::Result::ok();
    }

    const auto counts = "its header declares " + juce::String (declared) + " frames, the file holds " + juce::String (present);

    if (! allowTruncated)
        return juce::Result::fail (quotedName() + " is truncated: " + counts + " (--allow-truncated renders the frames present)");

    length_ = present;
    note_ = quotedName() + " is truncated (" + counts + "): rendered only the " + juce::String (present) + " frames present";
    return juce::Result::ok();
}

juce::Result InputAudio::read (double* destination, int numFrames)
{
    const auto wanted = std::min<juce::int64> (numFrames, length_ - position_);
    const auto got = wanted > 0 ? sf_readf_double (handle_->file, destination, wanted) : 0;

    if (got != numFrames)
    {
        const auto error = sf_error (handle_->file);
        return juce::Result::fail (quotedName() + " is damaged: decoding stopped at frame " + juce::String (position_ + std::max<juce::int64> (got, 0)) + " of " + juce::String (length_) + (error != SF_ERR_NO_ERROR ? " (" + reasonFrom (handle_->file) + ")" : juce::String (" (the data ends there)")));
    }

    position_ += got;
    return juce::Result::ok();
}
