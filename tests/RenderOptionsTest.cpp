// The renderer's command line: values in users' units, and a clear refusal of anything else.
#include "RenderOptions.h"

#include <gtest/gtest.h>

namespace
{
const juce::File here ("/tmp/work");

juce::Result parse (const juce::String& commandLine, RenderOptions& options)
{
    return RenderOptions::parse (juce::StringArray::fromTokens (commandLine, " ", "\""), here, options);
}
} // namespace

TEST (RenderOptions, ReadsEveryOptionInUsersUnits)
{
    RenderOptions options;
    const auto result = parse ("--threshold -32.04dB --attack=20ms --decay 200 --dual-mono on --gate off --program 3 "
                               "--block-size 64 --bits 24 --settings a.chunk --save-settings /tmp/b.chunk "
                               "--plugin x.vst3 --allow-truncated -q in.wav out.flac",
                               options);
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();

    EXPECT_NEAR (*options.threshold, 0.5f, 0.001f);
    EXPECT_NEAR (*options.attack, 0.5f, 1.0e-6f);
    EXPECT_NEAR (*options.decay, 0.5f, 1.0e-6f);
    EXPECT_EQ (options.dualMono, true);
    EXPECT_EQ (options.gateOn, false);
    EXPECT_EQ (options.program, 3);
    EXPECT_EQ (options.blockSize, 64);
    EXPECT_EQ (options.sampleFormat, SampleFormat::integer (24));
    EXPECT_TRUE (options.allowTruncated);
    EXPECT_EQ (options.settingsToLoad, here.getChildFile ("a.chunk"));
    EXPECT_EQ (options.settingsToSave, juce::File ("/tmp/b.chunk"));
    EXPECT_EQ (options.plugin, here.getChildFile ("x.vst3"));
    EXPECT_TRUE (options.quiet);
    EXPECT_EQ (options.inputs, juce::Array<juce::File> { here.getChildFile ("in.wav") });
    EXPECT_EQ (options.output, here.getChildFile ("out.flac"));
}

TEST (RenderOptions, SendsSeveralInputsIntoAFolderUnderTheirOwnNames)
{
    RenderOptions options;
    const auto result = parse ("--bits 32f a.wav sub/b.aiff -o gated c.flac", options);
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();

    EXPECT_EQ (options.sampleFormat, SampleFormat::floatingPoint (32));
    ASSERT_EQ (options.inputs.size(), 3);
    EXPECT_EQ (options.outputFor (options.inputs[1]), here.getChildFile ("gated/b.aiff"));
    EXPECT_EQ (options.outputFor (options.inputs[2]), here.getChildFile ("gated/c.flac"));
}

TEST (RenderOptions, LeavesWhatIsNotAskedForAtThePluginsOwnSettings)
{
    RenderOptions options;
    ASSERT_TRUE (parse ("in.wav out.wav", options).wasOk());
    EXPECT_FALSE (options.threshold || options.attack || options.decay || options.dualMono || options.gateOn || options.program);
    EXPECT_EQ (options.blockSize, RenderOptions::defaultBlockSize);

    ASSERT_TRUE (parse ("--threshold -oo in.wav out.wav", options).wasOk());
    EXPECT_EQ (options.threshold, 0.0f);
}

TEST (RenderOptions, RefusesBadCommandLinesSayingWhatIsWrong)
{
    const std::pair<const char*, const char*> cases[] = {
        { "--threshold 3 a.wav b.wav", "bad value '3' for --threshold" },
        { "--threshold loud a.wav b.wav", "bad value 'loud' for --threshold" },
        { "--threshold inf a.wav b.wav", "bad value 'inf' for --threshold" },
        { "--attack 201 a.wav b.wav", "bad value '201' for --attack" },
        { "--attack -1 a.wav b.wav", "bad value '-1' for --attack" },
        { "--decay 2000.5 a.wav b.wav", "bad value '2000.5' for --decay" },
        { "--decay nan a.wav b.wav", "bad value 'nan' for --decay" },
        { "--dual-mono maybe a.wav b.wav", "bad value 'maybe' for --dual-mono" },
        { "--gate 2 a.wav b.wav", "bad value '2' for --gate" },
        { "--program 12 a.wav b.wav", "bad value '12' for --program" },
        { "--program 1.5 a.wav b.wav", "bad value '1.5' for --program" },
        { "--block-size 0 a.wav b.wav", "bad value '0' for --block-size" },
        { "--block-size 65537 a.wav b.wav", "bad value '65537' for --block-size" },
        { "--bits 12 a.wav b.wav", "bad value '12' for --bits" },
        { "--bits 32 a.wav b.flac", "FLAC output takes 8, 16 or 24" },
        { "--bits 16 a.wav b.ogg", "Ogg Vorbis has no bit depth" },
        { "a.wav b.mp3", "unsupported output format '.mp3'" },
        { "-o d", "needs INPUT files" },
        { "a.wav x/a.wav -o d", "would both be written to '/tmp/work/d/a.wav'" },
        { "d/a.wav -o d", "gating it there would replace it" },
        { "--demo d --threshold -30", "--threshold does not go with it" },
        { "--threshold", "--threshold needs a value" },
        { "--tresh -40 a.wav b.wav", "unknown option '--tresh'" },
        { "a.wav", "missing OUTPUT" },
        { "a.wav b.wav c.wav", "too many file names" },
        { "--demo d a.wav b.wav", "--demo writes its own files" },
        { "--threshold -40", "nothing to do" },
    };

    for (const auto& [commandLine, message] : cases)
    {
        RenderOptions options;
        const auto result = parse (commandLine, options);
        EXPECT_TRUE (result.failed()) << commandLine;
        EXPECT_TRUE (result.getErrorMessage().contains (message)) << commandLine << ": " << result.getErrorMessage();
    }
}
