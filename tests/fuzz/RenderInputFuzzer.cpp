// Hands arbitrary bytes to the renderer as an input file, the way a user's damaged or foreign
// recording reaches it: opened, checked, gated and written as WAV, AIFF or FLAC. Besides the
// sanitizers' checks: a file the renderer accepts comes out with exactly the frames it said
// it would read, and never with more than the input's bytes can carry (a header's claim of
// billions of frames is refused, not rendered).
#include "FileRenderer.h"
#include "FuzzCheck.h"
#include "InputAudio.h"

#include <juce_events/juce_events.h>
#include <sndfile.h>

#include <cstdint>

namespace
{
// No codec the renderer reads stores a frame in less than an eighth of a bit per channel:
// FLAC's shortest frame is about ten bytes for at most 65535 samples.
constexpr juce::int64 mostFramesPerByte = 8192;

juce::int64 framesIn (const juce::File& file)
{
    SF_INFO info {};
    auto* opened = sf_open (file.getFullPathName().toRawUTF8(), SFM_READ, &info);

    if (opened == nullptr)
        return -1;

    sf_close (opened);
    return info.frames;
}
} // namespace

// libsndfile 1.2.0 does not free the Vorbis setup of an Ogg file it fails to open (a plain
// sf_open shows it under valgrind): a few kilobytes per refused file, not ours to fix here.
extern "C" const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    static const juce::ScopedJuceInitialiser_GUI framework;
    static const juce::TemporaryFile folder;
    static const bool made = folder.getFile().createDirectory().wasOk();
    FuzzCheck::require (made, "a folder for the files");

    if (size < 1)
        return 0;

    // The last byte picks the output's format and whether a truncated input is allowed.
    const auto choice = data[size - 1];
    const char* const extensions[] = { ".wav", ".aiff", ".flac", ".wav" };

    RenderOptions options;
    options.inputs.add (folder.getFile().getChildFile ("input"));
    options.output = folder.getFile().getChildFile (juce::String ("output") + extensions[choice & 3]);
    options.allowTruncated = (choice & 4) != 0;
    options.blockSize = 1 + (choice >> 3) * 97;
    options.threshold = 0.3f;

    FuzzCheck::require (options.inputs[0].replaceWithData (data, size - 1), "the input file written");
    options.output.deleteFile();

    std::vector<FileRenderer::FileOutcome> outcomes;
    FuzzCheck::require (FileRenderer::run (options, outcomes).wasOk(), "no failure of the whole job");
    FuzzCheck::require (outcomes.size() == 1, "one outcome for one input");

    if (outcomes[0].result.failed())
    {
        FuzzCheck::require (! options.output.exists(), "nothing written for a refused input");
        FuzzCheck::require (outcomes[0].result.getErrorMessage().isNotEmpty(), "a reason for the refusal");
        return 0;
    }

    std::unique_ptr<InputAudio> input;
    FuzzCheck::require (InputAudio::open (options.inputs[0], options.allowTruncated, input).wasOk(), "an input that rendered opens again");

    const auto written = framesIn (options.output);
    FuzzCheck::require (written == input->getLength(), "every frame the input promised, and no more");
    FuzzCheck::require (written <= mostFramesPerByte * static_cast<juce::int64> (size), "no more frames than the input can carry");
    return 0;
}
