#pragma once

#include "SampleFormat.h"

#include <juce_core/juce_core.h>

#include <memory>

/**
    An audio file opened for rendering: WAV (RIFF, RF64), AIFF or AIFF-C, FLAC or Ogg Vorbis,
    mono or stereo, read through libsndfile, which decodes integer, floating-point, mu-law and
    A-law samples.

    Opening checks, before anything is written anywhere, that the file can be rendered whole:
    every frame its header declares must be in the file. Damage found later while decoding is
    an error of read(), never silence.

    Not copyable; one thread at a time.
*/
class InputAudio
{
public:
    ~InputAudio();

    /** Opens file. A file shorter than its header says fails, naming both counts, unless
        allowTruncated: then only the frames present will be read, and getNote() says so.
        On failure input is null and the message says what is wrong with the file. */
    static juce::Result open (const juce::File& file, bool allowTruncated, std::unique_ptr<InputAudio>& input);

    const juce::File& getFile() const noexcept { return file_; }
    int getNumChannels() const noexcept { return numChannels_; }
    double getSampleRate() const noexcept { return sampleRate_; }
    const SampleFormat& getSampleFormat() const noexcept { return sampleFormat_; }

    /** The frames read() will deliver in all. */
    juce::int64 getLength() const noexcept { return length_; }

    /** Something the user should know about the input (that only part of it is read), or
        empty. */
    const juce::String& getNote() const noexcept { return note_; }

    /** Reads the next numFrames frames, channels interleaved, into destination: numFrames *
        getNumChannels() values at the file's own scale (integers divided by 2^(bits - 1), so
        full scale is 1), exactly as stored. Fails when the decoder reports damage or the data
        ends before getLength(). */
    juce::Result read (double* destination, int numFrames);

private:
    struct Handle;

    InputAudio (const juce::File& file, std::unique_ptr<Handle> handle);

    juce::Result checkFramesPresent (bool allowTruncated);
    static bool canReadFrame (const juce::File& file, juce::int64 frame);
    juce::String quotedName() const;

    juce::File file_;
    std::unique_ptr<Handle> handle_;
    int numChannels_ = 0;
    double sampleRate_ = 0.0;
    SampleFormat sampleFormat_;
    juce::int64 length_ = 0;
    juce::int64 position_ = 0;
    juce::String note_;

    JUCE_DECLARE_NON_COPYABLE (InputAudio)
};
