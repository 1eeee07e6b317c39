// State a VST3 host hands back: whatever the bytes, the bundle neither reads outside them nor
// crashes the host, and refused state leaves the plug-in's settings as they were.
#include "PluginBundleHost.h"
#include "formats/vst3/Vst3StateCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
using Bytes = juce::MemoryBlock;

Bytes bigEndian (std::uint32_t value)
{
    const unsigned char bytes[] = { static_cast<unsigned char> (value >> 24), static_cast<unsigned char> (value >> 16),
                                    static_cast<unsigned char> (value >> 8), static_cast<unsigned char> (value) };
    return Bytes (bytes, 4);
}

Bytes text (const char* s) { return Bytes (s, std::strlen (s)); }

Bytes join (std::initializer_list<Bytes> parts)
{
    Bytes bytes;

    for (const auto& part : parts)
        bytes.append (part.getData(), part.getSize());

    return bytes;
}

/** A bank chunk as the wrapper writes it: 160 header bytes, then the payload. */
Bytes bank (const Bytes& payload, std::uint32_t claimedSize)
{
    return join ({ text ("CcnK"), Bytes (4, true), text ("FBCh"), Bytes (144, true), bigEndian (claimedSize), payload });
}

Bytes vstW (const Bytes& rest, std::uint32_t headerLength = 8)
{
    return join ({ text ("VstW"), bigEndian (headerLength), bigEndian (1), bigEndian (0), rest });
}

/** A chunk ending in the wrapper's private-data trailer that claims privateSize bytes. */
Bytes withTrailer (const Bytes& chunk, std::uint64_t privateSize)
{
    Bytes size (8, true);

    for (size_t i = 0; i < 8; ++i)
        size[i] = static_cast<char> (privateSize >> (8 * i));

    return join ({ chunk, size, text ("JUCEPrivateData") });
}

bool safe (const Bytes& bytes) { return Vst3StateCheck::isSafe (bytes.getData(), bytes.getSize()); }

/** The hostile blocks: each would make the wrapper read outside it or pass a negative size on. */
std::vector<Bytes> lyingStates()
{
    auto preset = join ({ text ("VST3"), Bytes (44, true) });
    preset[40] = static_cast<char> (0xf0); // chunk list far beyond the end
    preset[43] = 0x7f;

    return {
        text ("CcnK"),                                 // bank header cut short
        bank (text ("<x/>"), 0x80000000u),             // negative payload size
        vstW (bank (text ("<x/>"), 4), 0x7ffffff0u),   // header length past the end
        vstW (text ("CcnK")),                          // bank cut short behind a good header
        withTrailer (text ("<x/>"), 0xffffffffffull),  // private data larger than the block
        bank (withTrailer (text ("<x/>"), 1000), 100), // the same inside a bank
        preset,
    };
}
} // namespace

TEST (Vst3StateCheck, PassesWhatTheWrapperWritesAndPlainChunks)
{
    EXPECT_TRUE (safe (Bytes()));
    EXPECT_TRUE (safe (text ("<Tacetor/>")));
    EXPECT_TRUE (safe (vstW (bank (text ("<Tacetor/>"), 10))));
    EXPECT_TRUE (safe (vstW (bank (withTrailer (Bytes (8, true), 0), 31))));
    EXPECT_TRUE (safe (bank (text ("<Tacetor/>"), 1000))); // a size claimed too large is clipped by the wrapper
    EXPECT_TRUE (safe (text ("VST3 too short to be a preset file")));

    for (const auto& state : lyingStates())
        EXPECT_FALSE (safe (state)) << state.getSize() << " bytes";
}

TEST (Vst3StateCheck, HostedBundleRefusesLyingStateAndKeepsItsSettings)
{
    juce::String error;
    auto plugin = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error);
    ASSERT_NE (plugin, nullptr) << error;

    // The host's own state format carries the component's bytes as base64 inside XML.
    juce::MemoryBlock good;
    plugin->getStateInformation (good);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (good.getData(), static_cast<int> (good.getSize()));
    ASSERT_NE (xml, nullptr);
    ASSERT_NE (xml->getChildByName ("IComponent"), nullptr);

    plugin->setCurrentProgram (3);
    juce::MemoryBlock before;
    plugin->getStateInformation (before);

    for (const auto& state : lyingStates())
    {
        auto hostile = std::make_unique<juce::XmlElement> ("VST3PluginState");
        hostile->createNewChildElement ("IComponent")->addTextElement (state.toBase64Encoding());
        juce::MemoryBlock block;
        juce::AudioProcessor::copyXmlToBinary (*hostile, block);
        plugin->setStateInformation (block.getData(), static_cast<int> (block.getSize()));

        juce::MemoryBlock after;
        plugin->getStateInformation (after);
        EXPECT_EQ (after, before) << state.getSize() << " bytes";
    }

    // Its own state still restores, over a wrapper state that passed the check untouched.
    plugin->setStateInformation (good.getData(), static_cast<int> (good.getSize()));
    juce::MemoryBlock restored;
    plugin->getStateInformation (restored);
    EXPECT_EQ (restored, good);
}
