// The settings chunk as hosts store it: the exact bytes written, the round trip, and every kind
// of damaged or foreign block, which must leave the processor as it was.
#include "SettingsChunk.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "support/RecordingListener.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace
{
juce::MemoryBlock stateOf (PelmoraTacetorAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

// JUCE's binary XML container around text; storedLength overrides the length field.
juce::MemoryBlock container (const std::string& text, juce::int64 storedLength = -1)
{
    juce::MemoryOutputStream out;
    out.writeInt (0x21324356);
    out.writeInt (static_cast<int> (storedLength >= 0 ? storedLength : static_cast<juce::int64> (text.size())));
    out.write (text.data(), text.size());
    out.writeByte (0);
    return out.getMemoryBlock();
}

void restore (PelmoraTacetorAudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
}

std::string fullText (int activePreset, const std::string& program7Decay = "decay7=\"0.25\"")
{
    std::string text = "<TACETORPLUGINSETTINGS activePreset=\"" + std::to_string (activePreset) + "\"";

    for (int i = 0; i < 12; ++i)
    {
        const auto n = std::to_string (i);
        text += " PresetName" + n + "=\"P" + n + "\" bypass" + n + "=\"0\" dualmono" + n + "=\"1\" threshold" + n + "=\"0." + n + "\" attack" + n + "=\"0.5\" " + (i == 7 ? program7Decay : "decay" + n + "=\"0.25\"");
    }

    return text + "/>";
}

bool sameBits (float a, float b)
{
    return std::memcmp (&a, &b, sizeof (float)) == 0;
}

// A processor in a state of its own, so that a restore that changes anything shows.
struct Fixture : public ::testing::Test
{
    Fixture()
    {
        processor.setCurrentProgram (2);
        processor.setParameter (2, 0.75f);
        processor.changeProgramName (2, "Kept");
        before = stateOf (processor);
        processor.parametersChanged_ = false;
    }

    void expectUntouchedBy (const juce::MemoryBlock& block, const char* what)
    {
        RecordingListener listener (processor);
        restore (processor, block);
        EXPECT_EQ (stateOf (processor), before) << what;
        EXPECT_TRUE (listener.changes.empty()) << what;
        EXPECT_FALSE (processor.parametersChanged_.load()) << what;
    }

    PelmoraTacetorAudioProcessor processor;
    juce::MemoryBlock before;
};
} // namespace

TEST (SettingsChunk, FreshProcessorWritesTheStoredLayoutByteForByte)
{
    std::string text = "<TACETORPLUGINSETTINGS activePreset=\"0\"";

    for (int i = 0; i < 12; ++i)
    {
        const auto n = std::to_string (i);
        text += " PresetName" + n + "=\"Init\" bypass" + n + "=\"1\" dualmono" + n + "=\"0\" threshold" + n + "=\"0\" attack" + n + "=\"0.13400000333786010742\" decay" + n + "=\"0.36700001358985900879\"";
    }

    text += "/>";

    std::string expected ("\x56\x43\x32\x21", 4);
    const auto length = static_cast<juce::uint32> (text.size());
    for (int shift = 0; shift < 32; shift += 8)
        expected += static_cast<char> ((length >> shift) & 0xff);
    expected += text;
    expected += '\0';

    PelmoraTacetorAudioProcessor processor;
    const auto block = stateOf (processor);
    EXPECT_EQ (std::string (static_cast<const char*> (block.getData()), block.getSize()), expected);

    juce::MemoryBlock programBlock;
    processor.getCurrentProgramStateInformation (programBlock);
    EXPECT_EQ (programBlock, block);
}

TEST (SettingsChunk, RoundTripKeepsEveryNameValueAndTheCurrentProgram)
{
    const float odd[] = { std::numeric_limits<float>::denorm_min(),
                          -1.0e-40f,
                          -0.0f,
                          -0.25f,
                          3.5f,
                          std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::lowest(),
                          std::numeric_limits<float>::min(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          1.0f / 3.0f,
                          0.1f };
    const char* names[] = { "Quote \" and 'apostrophe'",
                            "A & B &amp; C",
                            "<tag attr=\"x\"/>",
                            "Gr\u00fc\u00dfe \u65e5\u672c \U0001f3b8",
                            "Line 1\nLine 2\r\nTab\there",
                            "",
                            "\x01\x1f control",
                            "  spaced  ",
                            "]]> --> <!-- ?>",
                            "&#65; not an entity",
                            "Init",
                            "x" };

    PelmoraTacetorAudioProcessor source;

    for (int program = 0; program < 12; ++program)
    {
        source.setCurrentProgram (program);
        source.changeProgramName (program, juce::String::fromUTF8 (names[program]));

        for (int index = 0; index < 5; ++index)
            source.setParameter (index, odd[(program + index) % 12]);
    }

    source.setCurrentProgram (3);
    source.setParameter (4, std::numeric_limits<float>::quiet_NaN());
    source.setCurrentProgram (9);

    PelmoraTacetorAudioProcessor restored;
    restore (restored, stateOf (source));

    EXPECT_EQ (restored.getCurrentProgram(), 9);
    EXPECT_EQ (stateOf (restored), stateOf (source));

    for (int program = 0; program < 12; ++program)
    {
        EXPECT_EQ (restored.getProgramName (program), juce::String::fromUTF8 (names[program])) << program;
        source.setCurrentProgram (program);
        restored.setCurrentProgram (program);

        for (int index = 0; index < 5; ++index)
        {
            const float expected = source.getParameter (index);
            const float actual = restored.getParameter (index);

            // %.20g keeps every float but not a not-a-number's payload.
            if (std::isnan (expected))
                EXPECT_TRUE (std::isnan (actual)) << program << "/" << index;
            else
                EXPECT_TRUE (sameBits (actual, expected)) << program << "/" << index << ": " << actual << " vs " << expected;
        }
    }
}

TEST (SettingsChunk, WhatARestoreAcceptedSavesAndRestoresAgain)
{
    // References to any code point, surrogates included, come back as references.
    PelmoraTacetorAudioProcessor first;
    restore (first, container ("<TACETORPLUGINSETTINGS activePreset=\"1\" PresetName0=\"&#xD800; &#1114111; &#x1;\"/>"));
    const auto saved = stateOf (first);
    EXPECT_EQ (first.getCurrentProgram(), 1);

    PelmoraTacetorAudioProcessor second;
    restore (second, saved);
    EXPECT_EQ (second.getCurrentProgram(), 1);
    EXPECT_EQ (stateOf (second), saved);
}

TEST (SettingsChunk, ValueTextsIgnoreTheHostsLocale)
{
    // Hosts set locales with a decimal comma; neither writing nor reading may follow them.
    const auto folder = juce::File::createTempFile ("locale");
    folder.createDirectory();
    const int built = std::system (("localedef -i de_DE -f UTF-8 " + folder.getChildFile ("de_DE.UTF-8").getFullPathName().toStdString() + " >/dev/null 2>&1")
                                       .c_str());
    setenv ("LOCPATH", folder.getFullPathName().toRawUTF8(), 1);
    const bool switched = built == 0 && std::setlocale (LC_ALL, "de_DE.UTF-8") != nullptr;

    if (switched)
        std::locale::global (std::locale (""));

    EXPECT_EQ (SettingsChunk::formatValue (0.5f), "0.5");
    EXPECT_EQ (SettingsChunk::formatValue (0.134f), "0.13400000333786010742");
    EXPECT_EQ (SettingsChunk::parseValue ("0.36700001358985900879"), 0.367f);

    std::locale::global (std::locale::classic());
    std::setlocale (LC_ALL, "C");
    unsetenv ("LOCPATH");
    folder.deleteRecursively();

    if (! switched)
        GTEST_SKIP() << "no decimal-comma locale could be made here";
}

TEST (SettingsChunk, ValueTextsReadLikeTheFrameworkWithoutItsOverflows)
{
    const auto bitsOf = [] (const std::string& text)
    { return SettingsChunk::parseValue (text); };

    EXPECT_EQ (bitsOf ("  +0.5xyz"), 0.5f);
    EXPECT_EQ (bitsOf (".5"), 0.5f);
    EXPECT_EQ (bitsOf ("2e"), 2.0f);
    EXPECT_EQ (bitsOf ("1.5E+2"), 150.0f);
    EXPECT_EQ (bitsOf ("-INF"), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE (std::isnan (bitsOf ("-nan")));
    EXPECT_EQ (bitsOf ("1e99999999999999999999"), std::numeric_limits<float>::infinity());
    EXPECT_EQ (bitsOf ("-1e-99999999999999999999"), 0.0f);
    EXPECT_TRUE (std::signbit (bitsOf ("-1e-99999999999999999999")));
    EXPECT_EQ (bitsOf ("1" + std::string (400, '0')), std::numeric_limits<float>::infinity());
    EXPECT_EQ (bitsOf ("0." + std::string (400, '0') + "1"), 0.0f);
    EXPECT_TRUE (sameBits (bitsOf ("-0"), -0.0f));

    // Not a number at all: 0, with a positive sign.
    for (const char* text : { "", "abc", "-", "+.", "e5", "--1", "-x" })
        EXPECT_TRUE (sameBits (bitsOf (text), 0.0f)) << text;

    EXPECT_EQ (bitsOf ("0x1p3"), 0.0f) << "no hexadecimal floats";

    EXPECT_EQ (SettingsChunk::parseIndex (" \t+7"), 7);
    EXPECT_EQ (SettingsChunk::parseIndex ("-0"), 0);
    EXPECT_EQ (SettingsChunk::parseIndex ("3abc"), 3);
    EXPECT_EQ (SettingsChunk::parseIndex ("x3"), 0);
    // Large numbers saturate instead of wrapping round into the table (2^32 + 3 would be 3).
    EXPECT_EQ (SettingsChunk::parseIndex ("4294967299"), std::numeric_limits<int>::max());
    EXPECT_EQ (SettingsChunk::parseIndex ("-99999999999999999999"), std::numeric_limits<int>::min());
}

//==============================================================================
TEST_F (Fixture, DamagedContainersAreIgnored)
{
    const auto good = container (fullText (3));
    const auto* bytes = static_cast<const char*> (good.getData());

    expectUntouchedBy (juce::MemoryBlock (bytes, 8), "8 bytes");
    expectUntouchedBy (juce::MemoryBlock(), "empty");
    expectUntouchedBy (container ("<a/>", 0), "stored length 0");
    expectUntouchedBy (container (fullText (3), 0xfffffffb), "negative stored length");
    expectUntouchedBy (container (fullText (3), 0x80000000), "most negative stored length");
    expectUntouchedBy (container (fullText (3), 10), "stored length shorter than the text");

    auto wrongMagic = good;
    static_cast<char*> (wrongMagic.getData())[3] = 0x22;
    expectUntouchedBy (wrongMagic, "wrong magic");

    RecordingListener listener (processor);
    processor.setStateInformation (nullptr, 0);
    processor.setStateInformation (bytes, -1);
    processor.setStateInformation (bytes, std::numeric_limits<int>::min());
    EXPECT_EQ (stateOf (processor), before);
    EXPECT_TRUE (listener.changes.empty());
}

TEST_F (Fixture, TextsThatAreNotOurElementAreIgnored)
{
    for (const char* text : { "<TACETORPLUGINSETTINGS activePreset=\"3\"",         // unterminated
                              "<TACETORPLUGINSETTINGS activePreset=\"3/>",         // unmatched quote
                              "<TACETORPLUGINSETTINGS activePreset=3/>",           // unquoted
                              "<TACETORPLUGINSETTINGS activePreset=\"3\"><child>", // unclosed child
                              "<TACETORPLUGINSETTINGS activePreset=\"3\">text",
                              "<OTHERSETTINGS activePreset=\"3\"/>",
                              "<TACETORPLUGINSETTINGSX activePreset=\"3\"/>",
                              "TACETORPLUGINSETTINGS",
                              "   ",
                              "<!-- only a comment -->",
                              "<\xff\xfe/>",
                              "<TACETORPLUGINSETTINGS PresetName0=\"\xf7\xbf\xbf\xbf\"/>", // beyond Unicode
                              "<TACETORPLUGINSETTINGS PresetName0=\"\xc3\"/>" })           // cut sequence
        expectUntouchedBy (container (text), text);

    // A lead byte at the very end of a block whose stored length runs past it: the decoder
    // must not read on beyond the block.
    const std::string truncated = "<TACETORPLUGINSETTINGS PresetName0=\"\xf0";
    juce::MemoryBlock block (container (truncated, 1000).getData(), 8 + truncated.size());
    expectUntouchedBy (block, "lead byte at the end");
}

TEST_F (Fixture, TextsTheParserCannotTakeSafelyAreIgnored)
{
    // Nesting this deep would run JUCE's recursive parser off the stack.
    std::string nested = "<TACETORPLUGINSETTINGS activePreset=\"3\">";
    for (int i = 0; i < 200000; ++i)
        nested += "<a>";
    expectUntouchedBy (container (nested), "deep nesting");

    // JUCE's parser never returns from a processing instruction between text in an element.
    expectUntouchedBy (container ("<TACETORPLUGINSETTINGS activePreset=\"3\">x<?pi?>y</TACETORPLUGINSETTINGS>"), "instruction in content");

    // Entities that expand into markup are out of reach: blocks never declare a document type.
    expectUntouchedBy (container ("<!DOCTYPE t [<!ENTITY a \"<x>&a;</x>\">]><TACETORPLUGINSETTINGS activePreset=\"3\">&a;</TACETORPLUGINSETTINGS>"),
                       "recursive entity");
}

TEST_F (Fixture, ActivePresetSelectsAndAnnouncesOnlyAProgramOfTheTable)
{
    {
        RecordingListener listener (processor);
        restore (processor, container (fullText (7)));
        EXPECT_EQ (processor.getCurrentProgram(), 7);
        const std::vector<std::pair<int, float>> expected { { 0, 0.0f }, { 1, 1.0f }, { 2, 0.7f }, { 3, 0.5f }, { 4, 0.25f } };
        EXPECT_EQ (listener.changes, expected);
        EXPECT_TRUE (processor.parametersChanged_.load());
    }

    for (const char* outside : { "12", "-1", "4294967299", "99999999999999999999" })
    {
        processor.parametersChanged_ = false;
        RecordingListener listener (processor);
        auto text = fullText (0);
        text.replace (text.find ("\"0\""), 3, std::string ("\"") + outside + "\"");
        restore (processor, container (text));

        EXPECT_EQ (processor.getCurrentProgram(), 7) << outside;
        EXPECT_TRUE (listener.changes.empty()) << outside;
        EXPECT_FALSE (processor.parametersChanged_.load()) << outside;
        EXPECT_EQ (processor.getProgramName (11), "P11") << "the table is loaded all the same";
    }

    for (const char* notANumber : { "activePreset=\"x\"", "activePreset=\"\"", "" })
    {
        auto text = fullText (5);
        text.replace (text.find ("activePreset=\"5\""), 16, notANumber);
        RecordingListener listener (processor);
        restore (processor, container (text));
        EXPECT_EQ (processor.getCurrentProgram(), 0) << notANumber;
        EXPECT_EQ (listener.changes.size(), 5u) << notANumber;
    }
}

TEST_F (Fixture, MissingAndUnreadableEntriesTakeTheirStatedValues)
{
    auto text = fullText (7, "");
    text.replace (text.find (" PresetName5=\"P5\""), 17, "");
    text.replace (text.find ("attack2=\"0.5\""), 13, "attack2=\"loud\"");
    // Lower-case tag, extra attributes, children and text are all accepted.
    text.replace (1, 21, "tacetorpluginsettings");
    text.replace (text.size() - 2, 2, " unknown=\"1\"><child a=\"b\"/>text</tacetorpluginsettings>");

    restore (processor, container (text));

    EXPECT_EQ (processor.getProgramName (5), "");
    EXPECT_EQ (processor.getProgramName (6), "P6");
    EXPECT_EQ (processor.getCurrentProgram(), 7);
    EXPECT_EQ (processor.getParameter (4), 0.367f) << "missing decay7 takes the default";
    processor.setCurrentProgram (2);
    EXPECT_EQ (processor.getParameter (3), 0.0f) << "a value that is no number reads as 0";
}

TEST_F (Fixture, StoredLengthBeyondTheBlockReadsWhatIsThere)
{
    const auto text = fullText (4);
    const auto longer = container (text, static_cast<juce::int64> (text.size()) + 1000);
    restore (processor, longer);
    EXPECT_EQ (processor.getCurrentProgram(), 4);
    EXPECT_EQ (processor.getProgramName (0), "P0");
}

TEST_F (Fixture, CurrentProgramStateReplacesTheWholeTable)
{
    const auto block = container (fullText (1));
    processor.setCurrentProgramStateInformation (block.getData(), static_cast<int> (block.getSize()));

    for (int program = 0; program < 12; ++program)
        EXPECT_EQ (processor.getProgramName (program), "P" + juce::String (program));
}
