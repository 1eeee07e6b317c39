// Hands arbitrary parameter indices, value bit patterns (not-a-number, infinities, subnormals,
// negatives, huge) and text lengths to every place that turns a parameter into text: the
// processor's getParameterText and getParameterName (with any maximum length), the host
// text and the three knob texts, and the VST2 library's dispatcher (effGetParamDisplay,
// effGetParamName, effGetParamLabel into buffers with guard bytes after them). The texts a
// VST2 host sends the other way (effString2Parameter, the display query of the vendor
// extension, effCanDo) go in too.
//
// Input: parameter index (4 bytes), float bits (4), double bits (8), maximum length (4), all
// little-endian, then a text; a shorter input reads as if padded with zeros.
//
// Besides the sanitizers' checks: texts are valid UTF-8 of bounded length in their format
// ("On"/"Off", "-oo", a number with two decimals followed by " dB" or " ms"; "inf" only where
// the physical value overflows, "nan" only for a not-a-number value), the VST2 texts are the
// processor's, and nothing is written past a host's buffer.
#include "FuzzCheck.h"
#include "GuardedBuffer.h"
#include "ParameterText.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "support/Vst2TestHost.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <regex>

using FuzzCheck::require;

namespace
{
constexpr int numParameters = PelmoraTacetorAudioProcessor::numParameters;

// What JUCE's VST2 wrapper writes at most, the terminating zero included: 24 bytes of value
// text or label, 32 of name. Hosts give at least this much.
constexpr size_t textBufferSize = 25;
constexpr size_t nameBufferSize = 33;

// The longest number text: 309 integer digits of the largest double, sign, point, decimals.
constexpr size_t maxNumberLength = 320;

enum class Unit
{
    decibels,
    milliseconds
};

struct Input
{
    int index = 0;
    float value = 0.0f;
    double precise = 0.0;
    int maxLength = 0;
    std::string text;
};

template <typename Type>
Type readLittleEndian (const std::uint8_t* bytes)
{
    std::uint64_t bits = 0;

    for (size_t i = sizeof (Type); i-- > 0;)
        bits = (bits << 8) | bytes[i];

    Type result;
    std::memcpy (&result, &bits, sizeof (Type));
    return result;
}

Input parse (const std::uint8_t* data, size_t size)
{
    constexpr size_t headerSize = 20;
    std::uint8_t header[headerSize] = {};
    std::memcpy (header, data, std::min (size, headerSize));

    Input input;
    input.index = readLittleEndian<std::int32_t> (header);
    input.value = readLittleEndian<float> (header + 4);
    input.precise = readLittleEndian<double> (header + 8);
    input.maxLength = readLittleEndian<std::int32_t> (header + 16);

    if (size > headerSize)
        input.text.assign (reinterpret_cast<const char*> (data + headerSize), size - headerSize);

    return input;
}

bool isNumber (const std::string& text)
{
    static const std::regex number ("-?[0-9]+\\.[0-9]{2}");
    return std::regex_match (text, number);
}

// A number text with its unit. "inf" only where the physical value overflows (overflowAllowed),
// "nan" only for a not-a-number value, never minus infinity (that is "-oo").
void requireNumberText (const std::string& text, Unit unit, bool notANumber, bool overflowAllowed)
{
    const std::string suffix = unit == Unit::decibels ? " dB" : " ms";
    require (text.size() > suffix.size() && text.compare (text.size() - suffix.size(), suffix.size(), suffix) == 0,
             "a value text ends in its unit");
    const auto number = text.substr (0, text.size() - suffix.size());

    if (notANumber)
        require (number == "nan" || number == "-nan", "a not-a-number value shows as nan");
    else if (number == "inf")
        require (overflowAllowed, "only a value beyond the scale shows as inf");
    else
        require (isNumber (number), "a value shows as a number with two decimals");
}

void requireText (const juce::String& text, size_t maxBytes)
{
    const std::string bytes (text.toRawUTF8(), text.getNumBytesAsUTF8());
    require (FuzzCheck::isStrictUtf8 (bytes), "a text is valid UTF-8");
    require (bytes.size() <= maxBytes, "a text stays short");
}

// The host text for index of a float value, or the knob text of a double one.
template <typename Value>
void requireValueText (int index, Value value, const juce::String& text, size_t maxBytes)
{
    requireText (text, maxBytes);
    const auto bytes = text.toStdString();
    const bool notANumber = std::isnan (value);

    switch (index)
    {
        case 0:
        case 1:
            require (bytes == (value == 0 ? "Off" : "On"), "a switch shows On or Off");
            break;

        case 2:
            if (value <= 0 || bytes == "-oo")
                require (bytes == "-oo" && ! notANumber && ! (value > 1), "a threshold at or below zero shows -oo");
            else
                requireNumberText (bytes, Unit::decibels, notANumber, value > 1);
            break;

        case 3:
        case 4:
            requireNumberText (bytes, Unit::milliseconds, notANumber, value > 1);
            break;

        default:
            require (bytes.empty(), "no text outside the parameters");
            break;
    }
}

void checkPureTexts (const Input& input)
{
    requireValueText (input.index, input.value, ParameterText::hostText (input.index, input.value), 64);

    const auto precise = input.precise;
    requireValueText (2, precise, ParameterText::thresholdKnobText (precise), maxNumberLength);
    requireValueText (3, precise, ParameterText::attackKnobText (precise), maxNumberLength);
    requireValueText (4, precise, ParameterText::decayKnobText (precise), maxNumberLength);

    const auto number = ParameterText::formatTwoDecimals (precise).toStdString();

    if (std::isfinite (precise))
    {
        require (isNumber (number), "a number has two decimals");
        require ((number[0] == '-') == (precise < 0), "a number carries the sign of the value");
        require (std::abs (std::strtod (number.c_str(), nullptr) - precise) <= 0.005 + std::abs (precise) * 1.0e-15,
                 "a number is the value rounded to two decimals");
    }
}

void checkProcessor (const Input& input)
{
    PelmoraTacetorAudioProcessor processor;
    const bool isParameter = juce::isPositiveAndBelow (input.index, numParameters);
    const float before = processor.getParameter (input.index);
    processor.setParameter (input.index, input.value);

    const float now = processor.getParameter (input.index);
    require (std::memcmp (&now, isParameter ? &input.value : &before, sizeof (float)) == 0,
             "a parameter holds the value set, and no other index holds any");

    requireValueText (input.index, input.value, processor.getParameterText (input.index), 64);

    const auto name = processor.getParameterName (input.index);
    require (isParameter != name.isEmpty(), "only the parameters have names");

    // The length-limited overloads are the ones JUCE's wrappers call (deprecated for plug-ins
    // to call, not for hosts).
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    const auto shortened = processor.getParameterName (input.index, input.maxLength);
    const auto shortText = processor.getParameterText (input.index, input.maxLength);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    require (name.startsWith (shortened) && shortened.length() <= std::max (input.maxLength, 0),
             "a shortened name is the start of the name");

    const auto text = processor.getParameterText (input.index);
    require (text.startsWith (shortText) && shortText.length() <= std::max (input.maxLength, 0),
             "a shortened text is the start of the text");
}

//==============================================================================
// Opened once per process: creating VST2 instances is slow, and every input sets the value
// it reads.
Vst2::AEffect* vst2Effect()
{
    static auto* host = new Vst2TestHost (TACETOR_VST2_PLUGIN);
    static auto* effect = host->open();
    require (effect != nullptr, "the VST2 library opens");
    return effect;
}

std::string vst2Text (Vst2::AEffect* effect, Vst2::VstInt32 opcode, int index, size_t bufferSize)
{
    GuardedBuffer buffer (bufferSize);
    Vst2TestHost::dispatch (effect, opcode, index, 0, buffer.data());
    require (buffer.guardIntact(), "a text stays inside the host's buffer");

    if (! juce::isPositiveAndBelow (index, numParameters))
    {
        require (buffer.untouched(), "nothing is written for an index outside the parameters");
        return {};
    }

    const auto text = buffer.text();
    require (text.has_value(), "a text ends inside the host's buffer");
    require (FuzzCheck::isStrictUtf8 (*text), "a text reaches the host as valid UTF-8");
    return *text;
}

void checkVst2 (const Input& input)
{
    auto* effect = vst2Effect();
    const int index = input.index;
    const bool isParameter = juce::isPositiveAndBelow (index, numParameters);

    // The instance lives across inputs: start from the same value each time. JUCE's wrapper
    // skips a value equal to the one held, so -0 after 0 keeps 0: compare values, not bits.
    effect->setParameter (effect, index, 0.5f);
    effect->setParameter (effect, index, input.value);

    if (isParameter)
    {
        const float now = effect->getParameter (effect, index);
        require (now == input.value || (std::isnan (now) && std::isnan (input.value)), "the VST2 library holds the value set");
    }

    PelmoraTacetorAudioProcessor processor;
    const auto expected = [] (const juce::String& text, size_t bufferSize)
    {
        return FuzzCheck::utf8Prefix (text.toStdString(), bufferSize - 1);
    };

    require (vst2Text (effect, Vst2::effGetParamDisplay, index, textBufferSize) == expected (ParameterText::hostText (index, input.value), textBufferSize),
             "a VST2 host reads the processor's value text");
    require (vst2Text (effect, Vst2::effGetParamName, index, nameBufferSize) == expected (processor.getParameterName (index), nameBufferSize),
             "a VST2 host reads the processor's parameter name");
    require (vst2Text (effect, Vst2::effGetParamLabel, index, textBufferSize).empty(), "the unit is in the text, not a label");

    // Text the host sends: value texts are not parsed (the parameters are the legacy kind,
    // which JUCE's wrapper refuses to parse), and no capability query gets an odd answer.
    const std::string text = input.text.c_str();
    const float before = effect->getParameter (effect, index);
    require (Vst2TestHost::dispatch (effect, Vst2::effString2Parameter, index, 0, const_cast<char*> (text.c_str())) == 0,
             "a value text from the host is refused");

    GuardedBuffer cockos (textBufferSize);
    const auto cockosAnswer = Vst2TestHost::dispatch (effect, Vst2::effVendorSpecific, Vst2::effGetParamDisplay, index,
                                                      cockos.data(), input.value);
    require (cockosAnswer == 0 && cockos.untouched(), "the vendor extension's text query is refused");

    const float after = effect->getParameter (effect, index);
    require (std::memcmp (&before, &after, sizeof (float)) == 0, "a refused text changes no value");

    const auto canDo = Vst2TestHost::dispatch (effect, Vst2::effCanDo, 0, 0, const_cast<char*> (text.c_str()));
    require (canDo >= -1 && canDo <= 1, "a capability query answers yes, no or don't know");
}
} // namespace

// The VST2 library is loaded before fuzzing starts, so that its code counts as coverage.
extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    vst2Effect();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const auto input = parse (data, size);
    checkPureTexts (input);
    checkProcessor (input);
    checkVst2 (input);
    return 0;
}
