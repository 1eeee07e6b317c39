// The built tacetor-render executable: refusals that touch nothing, and the hosted bundles
// rendering exactly what the linked-in gate renders.
#include "support/RenderTestSupport.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace RenderTestSupport;

namespace
{
constexpr double rate = 48000.0;
const juce::String precious = "an earlier render the user wants to keep";
} // namespace

TEST (RenderCommand, RefusesBadRequestsWithoutTouchingAnyFile)
{
    ScratchFolder folder;
    ASSERT_TRUE (writeWav (folder ("in.wav"), burstsOverFloor (2, rate, 0.5), rate));
    ASSERT_TRUE (writeWav (folder ("cut.wav"), burstsOverFloor (2, rate, 0.5), rate));
    ASSERT_TRUE (truncateFile (folder ("cut.wav"), 10000));
    folder ("garbage.wav").replaceWithText ("RIFF? no, just text");
    // A format libsndfile reads but the renderer does not take.
    ASSERT_TRUE (writeSamples (folder ("other.au"), SF_FORMAT_AU | SF_FORMAT_PCM_16, 1, rate, gridSignal (1, 100, 16)));
    folder ("sub").createDirectory();

    for (const char* name : { "out.wav", "out.mp3", "keep.chunk" })
        folder (name).replaceWithText (precious);

    const auto path = [&folder] (const char* name)
    { return folder (name).getFullPathName(); };

    struct Case
    {
        juce::StringArray arguments;
        juce::String message;
        int exitCode;
    };

    const Case cases[] = {
        { { path ("missing.wav"), path ("out.wav") }, "no such file", 1 },
        { { path ("garbage.wav"), path ("out.wav") }, "is not an audio file", 1 },
        { { path ("other.au"), path ("out.wav") }, "is not an audio file", 1 },
        { { path ("sub"), path ("out.wav") }, "it is a folder", 1 },
        { { path ("in.wav"), path ("out.mp3") }, "unsupported output format '.mp3'", 2 },
        { { path ("cut.wav"), path ("out.wav") }, "is truncated: its header declares", 1 },
        { { path ("in.wav"), path ("sub") }, "it is a folder", 2 },
        { { path ("in.wav"), folder ("nowhere/out.wav").getFullPathName() }, "does not exist", 1 },
        { { "--bits", "32", path ("in.wav"), folder ("x.flac").getFullPathName() }, "FLAC output takes 8, 16 or 24", 2 },
        { { "--demo", path ("sub"), "--threshold", "-30" }, "does not go with it", 2 },
        { { "--threshold", "+3", path ("in.wav"), path ("out.wav") }, "bad value '+3' for --threshold", 2 },
        { { "--decay", "slow", path ("in.wav"), path ("out.wav") }, "bad value 'slow' for --decay", 2 },
        { { "--settings", path ("garbage.wav"), path ("in.wav"), path ("out.wav") }, "is not a Pelmora Tacetor settings chunk", 1 },
        { { "--settings", path ("none.chunk"), path ("in.wav"), path ("out.wav") }, "no such file", 1 },
        { { "--save-settings", path ("sub"), path ("in.wav"), path ("out.wav") }, "it is a folder", 1 },
        { { "--plugin", path ("none.vst3"), path ("in.wav"), path ("out.wav") }, "no plug-in bundle", 1 },
        { { "--plugin", path ("in.wav"), path ("in.wav"), path ("out.wav") }, "neither a .vst3 nor an .lv2", 1 },
    };

    const auto filesBefore = folder.listFiles();

    for (const auto& [arguments, message, exitCode] : cases)
    {
        juce::String output;
        EXPECT_EQ (runRenderer (arguments, output), exitCode) << arguments.joinIntoString (" ");
        EXPECT_TRUE (output.contains (message)) << arguments.joinIntoString (" ") << "\n"
                                                << output;

        // Nothing replaced, nothing half-written left behind.
        for (const char* name : { "out.wav", "out.mp3", "keep.chunk" })
            EXPECT_EQ (folder (name).loadFileAsString(), precious) << name;

        EXPECT_EQ (folder.listFiles(), filesBefore) << arguments.joinIntoString (" ");
    }
}

TEST (RenderCommand, ExplainsItselfAndDrawsNoProgressIntoAPipe)
{
    juce::String output;
    EXPECT_EQ (runRenderer ({ "--help" }, output), 0);
    EXPECT_TRUE (output.contains ("Usage:")) << output;
    EXPECT_TRUE (output.contains ("--threshold DB")) << output;

    // Long enough for the bar, but stderr is a pipe here: a successful run prints nothing.
    ScratchFolder folder;
    ASSERT_TRUE (writeWav (folder ("long.wav"), burstsOverFloor (1, 8000.0, 12.0), 8000.0, 16));
    EXPECT_EQ (runRenderer ({ folder ("long.wav").getFullPathName(), folder ("out.flac").getFullPathName() }, output), 0);
    EXPECT_EQ (output, "");
    EXPECT_TRUE (folder ("out.flac").existsAsFile());
}

TEST (RenderCommand, HostedBundlesRenderBitForBitLikeTheLinkedInGate)
{
    if (! processorWritesSettingsChunk())
        GTEST_SKIP() << "this build writes no settings chunk";

    ScratchFolder folder;
    ASSERT_TRUE (writeWav (folder ("stereo.wav"), burstsOverFloor (2, rate, 1.5), rate, 16));
    ASSERT_TRUE (writeWav (folder ("mono.wav"), burstsOverFloor (1, 44100.0, 1.5), 44100.0, 24));

    const juce::StringArray settings[] = {
        { "--threshold", "-38", "--attack", "0.5", "--decay", "40", "--dual-mono", "on", "--block-size", "300" },
        { "--program", "7", "--threshold", "-25", "--decay", "0", "--block-size", "64" },
        { "--gate", "off" },
    };

    for (const char* input : { "stereo.wav", "mono.wav" })
    {
        for (const auto& setting : settings)
        {
            const auto render = [&] (const juce::String& plugin, const juce::String& outputName)
            {
                juce::StringArray arguments (setting);
                if (plugin.isNotEmpty())
                    arguments.addArray ({ "--plugin", plugin });
                arguments.addArray ({ folder (input).getFullPathName(), folder (outputName).getFullPathName() });

                juce::String output;
                EXPECT_EQ (runRenderer (arguments, output), 0) << arguments.joinIntoString (" ") << "\n"
                                                               << output;
                return folder (outputName);
            };

            const auto linkedIn = render ({}, "linked-in.wav");
            const auto vst3 = render (TACETOR_VST3_BUNDLE, "vst3.wav");
            const auto lv2 = render (TACETOR_LV2_BUNDLE, "lv2.wav");
            const auto trace = juce::String (input) + " " + setting.joinIntoString (" ");

            ASSERT_GT (linkedIn.getSize(), 1000) << trace;
            EXPECT_TRUE (vst3.hasIdenticalContentTo (linkedIn)) << trace;
            EXPECT_TRUE (lv2.hasIdenticalContentTo (linkedIn)) << trace;

            // The settings really reached the gate: gated output is not the input, and the
            // switched-off gate's output is the input, every bit of it.
            EXPECT_EQ (readSamples (linkedIn).samples == readSamples (folder (input)).samples, setting.contains ("off")) << trace;
        }
    }
}

TEST (RenderCommand, GatesABatchAndExitsWithFailureWhenOneFileFails)
{
    ScratchFolder folder;
    for (const char* name : { "a.wav", "b.wav", "c.wav" })
        ASSERT_TRUE (writeWav (folder (name), burstsOverFloor (1, rate, 0.3), rate, 16));

    ASSERT_TRUE (truncateFile (folder ("b.wav"), 1000));

    juce::String output;
    EXPECT_EQ (runRenderer ({ "-q", folder ("a.wav").getFullPathName(), folder ("b.wav").getFullPathName(),
                              folder ("c.wav").getFullPathName(), "-o", folder ("out").getFullPathName() },
                            output),
               1);
    EXPECT_TRUE (output.contains ("b.wav' is truncated")) << output;
    EXPECT_TRUE (output.contains ("2 of 3 files gated into")) << output;
    EXPECT_TRUE (folder ("out/a.wav").existsAsFile());
    EXPECT_FALSE (folder ("out/b.wav").existsAsFile());
    EXPECT_TRUE (folder ("out/c.wav").existsAsFile());
}

TEST (RenderCommand, ReplacedOutputKeepsItsPermissions)
{
    ScratchFolder folder;
    ASSERT_TRUE (writeWav (folder ("in.wav"), burstsOverFloor (1, rate, 0.2), rate, 16));

    for (const auto mode : { mode_t { 0600 }, mode_t { 0640 }, mode_t { 0755 } })
    {
        folder ("out.wav").replaceWithText ("older");
        ASSERT_EQ (::chmod (folder ("out.wav").getFullPathName().toRawUTF8(), mode), 0);

        juce::String output;
        ASSERT_EQ (runRenderer ({ folder ("in.wav").getFullPathName(), folder ("out.wav").getFullPathName() }, output), 0) << output;

        struct stat status;
        ASSERT_EQ (::stat (folder ("out.wav").getFullPathName().toRawUTF8(), &status), 0);
        EXPECT_EQ (status.st_mode & 07777, mode);
        EXPECT_GT (folder ("out.wav").getSize(), 1000);
    }
}

TEST (RenderCommand, SignalsThatEndItLeaveNoTemporaryFileAndTheOldOutputIntact)
{
    ScratchFolder folder;

    // Three hours of silence, made in no time as a sparse file: long enough to be still
    // rendering when the signal comes, however fast the machine.
    const juce::uint32 dataSize = 3u * 3600u * 48000u * 2u;
    const auto header = wavHeader (1, 16, 48000, dataSize);
    ASSERT_TRUE (folder ("long.wav").replaceWithData (header.getData(), header.getSize()));
    ASSERT_TRUE (truncateFile (folder ("long.wav"), static_cast<juce::int64> (header.getSize() + dataSize)));

    for (const int signalNumber : { SIGHUP, SIGINT, SIGTERM, SIGPIPE, SIGQUIT })
    {
        folder ("out.wav").replaceWithText (precious);
        const auto filesBefore = folder.listFiles();

        const auto process = startRenderer ({ folder ("long.wav").getFullPathName(), folder ("out.wav").getFullPathName() });
        ASSERT_GT (process, 0);

        // Wait, up to a generous bound, for the temporary file to appear beside the output.
        juce::StringArray seen;
        const auto giveUp = juce::Time::getMillisecondCounter() + WidgetTestSupport::waitLimitMs;

        while ((seen = folder.listFiles()) == filesBefore && juce::Time::getMillisecondCounter() < giveUp)
            juce::Thread::yield();

        ::kill (process, signalNumber);
        const int status = waitForRenderer (process);

        EXPECT_NE (seen, filesBefore) << "no temporary file appeared; last seen: " << seen.joinIntoString (" ");
        EXPECT_TRUE (WIFSIGNALED (status) && WTERMSIG (status) == signalNumber) << "signal " << signalNumber << ", status " << status;
        EXPECT_EQ (folder.listFiles(), filesBefore) << "signal " << signalNumber;
        EXPECT_EQ (folder ("out.wav").loadFileAsString(), precious) << "signal " << signalNumber;
    }
}
