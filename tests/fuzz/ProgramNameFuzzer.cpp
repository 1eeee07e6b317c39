// Hands arbitrary host bytes to the plug-in as a program name, along the ways a host can
// rename a program: changeProgramName with the bytes decoded as a host wrapper might (UTF-8,
// damaged or not; as the processor reads a VST2 host's bytes; 8-bit text; UTF-16; UTF-32),
// for any program index, and the VST2 library's
// dispatcher (effSetProgramName, read back with effGetProgramName and
// effGetProgramNameIndexed into host-sized buffers with guard bytes after them).
//
// Input: one byte choosing the way, four bytes of program index (little-endian), the name.
//
// Besides the sanitizers' checks: only the targeted name changes; what hosts read back is
// what the processor holds; whatever it holds saves and restores into a fresh instance to
// the very same block (a project saved after the rename loads again, nothing lost); the
// current program stays valid.
#include "FuzzCheck.h"
#include "GuardedBuffer.h"
#include "HostText.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "SettingsChunk.h"
#include "support/Vst2TestHost.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

using FuzzCheck::require;

namespace
{
constexpr int numPrograms = PelmoraTacetorAudioProcessor::numPrograms;
constexpr int baselineProgram = 5;

// A VST2 host's program name buffer: 24 bytes of text and the terminating zero.
constexpr size_t programNameBufferSize = 25;

enum class Way
{
    utf8WithLength, // String::fromUTF8 (bytes, size): damaged sequences kept as they come
    unlabelled,     // zero-terminated bytes as the processor reads a VST2 host's name (HostText)
    eightBit,       // String (const char*): each byte one character, as JUCE's VST2 wrapper does
    utf16,          // UTF-16 code units, as VST3 strings carry them; lone surrogates included
    utf32,          // 32-bit characters of any value, as wchar_t text on this platform
    vst2Dispatcher, // effSetProgramName on the VST2 library
    count
};

juce::MemoryBlock stateOf (PelmoraTacetorAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

const std::array<juce::String, ProgramSlot::numValues>& parameterNames()
{
    static const auto names = []
    {
        PelmoraTacetorAudioProcessor processor;
        std::array<juce::String, ProgramSlot::numValues> result;

        for (int i = 0; i < ProgramSlot::numValues; ++i)
            result[static_cast<size_t> (i)] = processor.getParameterName (i);

        return result;
    }();

    return names;
}

// What a block holds, read back as a host would have it restored.
SettingsChunk::Contents contentsOf (const void* data, size_t size)
{
    const std::array<float, ProgramSlot::numValues> noDefaults {};
    auto contents = SettingsChunk::read (data, static_cast<int> (size), numPrograms, parameterNames(), noDefaults);
    require (contents.has_value(), "a block the plug-in wrote reads back");
    return *contents;
}

// A name as every host sees it: JUCE re-encodes the characters it decodes from the stored
// text when it copies a name out (VST2 buffers, VST3 UTF-16 strings, the settings chunk).
std::string observed (const juce::String& name)
{
    std::vector<char> buffer (name.getNumBytesAsUTF8() * 4 + 1);
    name.copyToUTF8 (buffer.data(), buffer.size());
    return buffer.data();
}

// The table a fuzz input starts from: every program named and set differently, one name
// beyond ASCII, program 5 current.
const juce::MemoryBlock& baselineBlock()
{
    static const juce::MemoryBlock block = []
    {
        PelmoraTacetorAudioProcessor processor;

        for (int i = 0; i < numPrograms; ++i)
        {
            processor.setCurrentProgram (i);
            processor.changeProgramName (i, i == 7 ? juce::String (juce::CharPointer_UTF8 ("Schr\xc3\xa4g \xe2\x9c\x93"))
                                                   : "Program " + juce::String (i));

            for (int j = 0; j < ProgramSlot::numValues; ++j)
                processor.setParameter (j, static_cast<float> (i * ProgramSlot::numValues + j) / 64.0f);
        }

        processor.setCurrentProgram (baselineProgram);
        return stateOf (processor);
    }();

    return block;
}

const SettingsChunk::Contents& baselineContents()
{
    static const auto contents = contentsOf (baselineBlock().getData(), baselineBlock().getSize());
    return contents;
}

bool sameValues (const SettingsChunk::Program& a, const SettingsChunk::Program& b)
{
    return std::memcmp (a.values.data(), b.values.data(), sizeof (a.values)) == 0;
}

// Everything but the name of program `renamed` (none when outside the table) is as in the
// baseline, and the current program is `current`.
void requireOnlyRenamed (const SettingsChunk::Contents& contents, int renamed, int current)
{
    const auto& baseline = baselineContents();
    require (contents.activePreset == current, "the current program is the one selected");

    for (int i = 0; i < numPrograms; ++i)
    {
        const auto& now = contents.programs[static_cast<size_t> (i)];
        const auto& before = baseline.programs[static_cast<size_t> (i)];
        require (sameValues (now, before), "renaming changes no value");
        require (i == renamed || observed (now.name) == observed (before.name), "renaming changes no other name");
    }
}

// The name decoded the chosen way from the raw bytes.
juce::String decode (Way way, const std::uint8_t* bytes, size_t size)
{
    const auto* text = reinterpret_cast<const char*> (bytes);

    switch (way)
    {
        case Way::utf8WithLength:
            return juce::String::fromUTF8 (text, static_cast<int> (size));

        // Not String (CharPointer_UTF8 (zero-terminated)): for damaged UTF-8, JUCE sizes that
        // copy by the characters it decodes but copies the raw bytes, past the allocation.
        case Way::unlabelled:
        case Way::eightBit:
        {
            const std::string terminated (text, size);
            return way == Way::eightBit ? juce::String (terminated.c_str())
                                        : HostText::fromUnlabelledBytes (terminated.c_str());
        }

        case Way::utf16:
        {
            std::vector<juce::CharPointer_UTF16::CharType> units (size / 2 + 1, 0);
            std::memcpy (units.data(), bytes, size / 2 * 2);
            return juce::String (juce::CharPointer_UTF16 (units.data()));
        }

        case Way::utf32:
        {
            std::vector<juce::CharPointer_UTF32::CharType> characters (size / 4 + 1, 0);
            std::memcpy (characters.data(), bytes, size / 4 * 4);
            return juce::String (juce::CharPointer_UTF32 (characters.data()));
        }

        case Way::vst2Dispatcher:
        case Way::count:
            break;
    }

    return {};
}

void renameInProcess (Way way, int index, const std::uint8_t* bytes, size_t size)
{
    const auto name = decode (way, bytes, size);
    const bool inTable = juce::isPositiveAndBelow (index, numPrograms);

    PelmoraTacetorAudioProcessor processor;
    processor.setStateInformation (baselineBlock().getData(), static_cast<int> (baselineBlock().getSize()));
    processor.changeProgramName (index, name);

    require (processor.getCurrentProgram() == baselineProgram, "renaming selects no other program");
    require (! inTable || processor.getProgramName (index) == name, "the program holds the name given");
    require (inTable || processor.getProgramName (index).isEmpty(), "an index outside the table has no name");

    const auto saved = stateOf (processor);
    const auto contents = contentsOf (saved.getData(), saved.getSize());
    requireOnlyRenamed (contents, inTable ? index : -1, baselineProgram);

    if (inTable)
        require (observed (contents.programs[static_cast<size_t> (index)].name) == observed (processor.getProgramName (index)),
                 "the saved name is the name held");

    PelmoraTacetorAudioProcessor reloaded;
    reloaded.setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));
    require (stateOf (reloaded) == saved, "the saved block restores to the very same block");
}

//==============================================================================
struct Vst2Effects
{
    Vst2TestHost host { TACETOR_VST2_PLUGIN };
    Vst2::AEffect* renamed = host.open();
    Vst2::AEffect* reloaded = host.open();
};

// Opened once per process: creating VST2 instances is slow, and every input first restores
// the baseline into them.
Vst2Effects& vst2Effects()
{
    static auto* effects = new Vst2Effects();
    require (effects->renamed != nullptr && effects->reloaded != nullptr, "the VST2 library opens");
    return *effects;
}

std::vector<char> bankOf (Vst2::AEffect* effect)
{
    const auto bank = Vst2TestHost::chunk (effect);
    require (! bank.empty(), "the VST2 library hands out its bank");
    return bank;
}

void restoreBank (Vst2::AEffect* effect, const void* data, size_t size)
{
    Vst2TestHost::dispatch (effect, Vst2::effSetChunk, 0, static_cast<Vst2::VstIntPtr> (size), const_cast<void*> (data));
}

// A program name read through the dispatcher into a host-sized buffer; requires the text to
// end inside the buffer and nothing after it to be touched.
std::string programNameVia (Vst2::AEffect* effect, Vst2::VstInt32 opcode, int index)
{
    GuardedBuffer buffer (programNameBufferSize);
    const auto result = Vst2TestHost::dispatch (effect, opcode, index, 0, buffer.data());
    require (buffer.guardIntact(), "a program name stays inside the host's buffer");

    if (opcode == Vst2::effGetProgramNameIndexed && ! juce::isPositiveAndBelow (index, numPrograms))
    {
        require (result == 0 && buffer.untouched(), "no name for a program outside the table");
        return {};
    }

    const auto text = buffer.text();
    require (text.has_value(), "a program name ends inside the host's buffer");
    require (FuzzCheck::isStrictUtf8 (*text), "a program name reaches the host as valid UTF-8");
    return *text;
}

void renameViaVst2 (int index, const std::uint8_t* bytes, size_t size)
{
    auto& effects = vst2Effects();
    auto* effect = effects.renamed;
    restoreBank (effect, baselineBlock().getData(), baselineBlock().getSize());

    // The host renames the current program: select one first, maybe outside the table.
    Vst2TestHost::dispatch (effect, Vst2::effSetProgram, 0, index);
    const int current = juce::isPositiveAndBelow (index, numPrograms) ? index : baselineProgram;
    require (Vst2TestHost::dispatch (effect, Vst2::effGetProgram) == current, "the program selected is current");

    // Hosts hand over zero-terminated text.
    std::string name (reinterpret_cast<const char*> (bytes), size);
    name.resize (std::strlen (name.c_str()));
    Vst2TestHost::dispatch (effect, Vst2::effSetProgramName, 0, 0, name.data());

    require (Vst2TestHost::dispatch (effect, Vst2::effGetProgram) == current, "renaming selects no other program");
    const auto readBack = programNameVia (effect, Vst2::effGetProgramName, 0);

    // A host that writes a name in UTF-8 reads back what it wrote, as far as the buffer holds.
    if (FuzzCheck::isStrictUtf8 (name))
        require (readBack == FuzzCheck::utf8Prefix (name, programNameBufferSize - 1), "the host reads back the name it wrote");

    const auto& baseline = baselineContents();

    for (int i = 0; i < numPrograms; ++i)
    {
        const auto indexed = programNameVia (effect, Vst2::effGetProgramNameIndexed, i);
        const auto expected = i == current ? readBack
                                           : FuzzCheck::utf8Prefix (observed (baseline.programs[static_cast<size_t> (i)].name),
                                                                    programNameBufferSize - 1);
        require (indexed == expected, "each program reads back its own name");
    }

    for (int outside : { -1, numPrograms, index })
        programNameVia (effect, Vst2::effGetProgramNameIndexed, outside);

    // The bank saved after the rename: only that name changed, it holds what the host read
    // back, and it loads into another instance to the very same bank.
    const auto bank = bankOf (effect);
    const auto contents = contentsOf (bank.data(), bank.size());
    requireOnlyRenamed (contents, current, current);
    require (FuzzCheck::utf8Prefix (observed (contents.programs[static_cast<size_t> (current)].name), programNameBufferSize - 1) == readBack,
             "the bank holds the name the host reads");

    restoreBank (effects.reloaded, bank.data(), bank.size());
    require (bankOf (effects.reloaded) == bank, "the saved bank restores to the very same bank");

    PelmoraTacetorAudioProcessor inProcess;
    inProcess.setStateInformation (bank.data(), static_cast<int> (bank.size()));
    const auto block = stateOf (inProcess);
    require (block.getSize() == bank.size() && std::memcmp (block.getData(), bank.data(), bank.size()) == 0,
             "the bank restores in process to the very same block");
}
} // namespace

// The VST2 library is loaded before fuzzing starts, so that its code counts as coverage.
extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    vst2Effects();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    constexpr size_t headerSize = 5;

    if (size < headerSize || size > static_cast<size_t> (std::numeric_limits<int>::max()))
        return 0;

    const auto way = static_cast<Way> (data[0] % static_cast<std::uint8_t> (Way::count));
    std::uint32_t rawIndex = 0;

    for (size_t i = 4; i >= 1; --i)
        rawIndex = (rawIndex << 8) | data[i];

    const auto index = static_cast<int> (rawIndex);

    if (way == Way::vst2Dispatcher)
        renameViaVst2 (index, data + headerSize, size - headerSize);
    else
        renameInProcess (way, index, data + headerSize, size - headerSize);

    return 0;
}
