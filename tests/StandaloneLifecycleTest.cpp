// The built Standalone app starting where it cannot, and ending on the signals a desktop
// session, a terminal or a service manager sends it.
#include "support/HostProjects.h"

#include <gtest/gtest.h>

#include <csignal>

namespace
{
/** The app's settings file below home, as JUCE's Standalone app names it. */
juce::PropertiesFile settingsIn (const juce::File& home)
{
    juce::PropertiesFile::Options options;
    options.applicationName = "Pelmora Tacetor";
    options.filenameSuffix = ".settings";
    return juce::PropertiesFile (home.getChildFile (".config/Pelmora Tacetor.settings"), options);
}

/** Runs command to its end (at most timeoutMs once its output ends) and gives its exit code and
    what it printed on the streams asked for; -1 when it did not start or end. */
std::pair<int, juce::String> runToEnd (const juce::StringArray& command, int timeoutMs = 20000,
                                       int streams = juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr)
{
    juce::ChildProcess process;

    if (! process.start (command, streams))
        return { -1, "(did not start)" };

    const auto output = process.readAllProcessOutput();
    return { process.waitForProcessToFinish (timeoutMs) ? static_cast<int> (process.getExitCode()) : -1, output };
}
} // namespace

TEST (StandaloneLifecycle, WithoutADisplayItSaysSoInOneLineAndFails)
{
    const juce::TemporaryFile home;
    const auto homeSetting = "HOME=" + home.getFile().getFullPathName();

    for (const auto& command : { juce::StringArray { "env", "-u", "DISPLAY", homeSetting, TACETOR_STANDALONE_APP },
                                 juce::StringArray { "env", "-u", "DISPLAY", homeSetting, TACETOR_STANDALONE_APP, "--help" },
                                 juce::StringArray { "env", "DISPLAY=:4711", homeSetting, TACETOR_STANDALONE_APP } })
    {
        SCOPED_TRACE (command.joinIntoString (" "));
        const auto [exitCode, output] = runToEnd (command);
        EXPECT_EQ (exitCode, 1);
        EXPECT_EQ (juce::StringArray::fromLines (output.trimEnd()).size(), 1) << output;
        EXPECT_TRUE (output.startsWith ("Pelmora Tacetor: cannot open the X display")) << output;
    }
}

TEST (StandaloneLifecycle, SigtermAndSigintCloseItAsItsCloseButtonDoes)
{
    const juce::StringArray signals { "TERM", "INT" };
    juce::OwnedArray<juce::TemporaryFile> homes;
    juce::StringArray runs;

    for (const auto& signal : signals)
    {
        auto* home = homes.add (new juce::TemporaryFile());
        ASSERT_TRUE (home->getFile().createDirectory());
        runs.add (signal + ":" + home->getFile().getFullPathName());

        // Settings as an older session left them: program 4, named, and nothing else. The app
        // writes the plug-in's whole state back only when it saves on the way out.
        auto seeded = settingsIn (home->getFile());
        const juce::String partial = R"(<TACETORPLUGINSETTINGS activePreset="4" PresetName4="Four"/>)";
        juce::MemoryBlock chunk;
        juce::AudioProcessor::copyXmlToBinary (*juce::parseXML (partial), chunk);
        seeded.setValue ("filterState", chunk.toBase64Encoding());
        ASSERT_TRUE (seeded.save());
    }

    // On a display of its own, so that no other test's window is in the way: for each signal
    // the app is started, signalled once its window shows (60 s at most) and waited for (60 s
    // at most, then killed); the shell tells how it ended, since a process killed by a signal
    // has no exit code of its own. -noreset: Xvfb would otherwise reset each time its last
    // client leaves (one app, a pointer-tool poll), and the next app connecting meanwhile would
    // die of SIGPIPE.
    const juce::String script = R"(app=$0
for run in "$@"; do
    signal=${run%%:*}
    HOME="${run#*:}" "$app" > /dev/null 2>&1 & pid=$!
    shown=no
    for attempt in $(seq 1200); do
        if xdotool search --onlyvisible --pid "$pid" --name '^Pelmora Tacetor$' > /dev/null 2>&1; then shown=yes; break; fi
        sleep 0.05
    done
    kill -s "$signal" "$pid"
    (sleep 60; kill -s KILL "$pid") > /dev/null 2>&1 & watchdog=$!
    wait "$pid"
    status=$?
    kill "$watchdog" 2> /dev/null
    echo "$signal window $shown, status $status"
done)";
    juce::StringArray command { "xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset", "sh", "-c", script, TACETOR_STANDALONE_APP };
    command.addArray (runs);
    const auto [exitCode, output] = runToEnd (command, 180000, juce::ChildProcess::wantStdOut);
    EXPECT_EQ (exitCode, 0);
    EXPECT_EQ (juce::StringArray::fromLines (output.trim()),
               (juce::StringArray { "TERM window yes, status 0", "INT window yes, status 0" }))
        << output;

    for (int run = 0; run < signals.size(); ++run)
    {
        SCOPED_TRACE ("SIG" + signals[run]);
        auto saved = settingsIn (homes[run]->getFile());
        juce::MemoryBlock savedChunk;
        ASSERT_TRUE (savedChunk.fromBase64Encoding (saved.getValue ("filterState")));
        const auto contents = HostProjects::contentsOf (savedChunk);
        ASSERT_TRUE (contents.has_value());
        EXPECT_EQ (contents->activePreset, 4);
        EXPECT_EQ (contents->programs[4].name, "Four");
        const auto xml = juce::AudioProcessor::getXmlFromBinary (savedChunk.getData(), static_cast<int> (savedChunk.getSize()));
        ASSERT_NE (xml, nullptr);
        EXPECT_TRUE (xml->hasAttribute ("decay11")) << "the plug-in's state was not saved";
    }
}
