#include "SettingsChunk.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{
// JUCE's binary XML container: "VC2!" as a little-endian 32-bit number.
constexpr juce::uint32 containerMagic = 0x21324356;
constexpr int containerHeaderSize = 8;

// The classic locale's white space (as JUCE's parser has it too): the host's locale must not
// change what a block means.
bool isAsciiSpace (juce::juce_wchar c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isDigit (juce::juce_wchar c) noexcept { return c >= '0' && c <= '9'; }

char toLowerAscii (char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char> (c - 'A' + 'a') : c; }

bool startsWithIgnoringAsciiCase (const char* text, const char* prefix) noexcept
{
    for (; *prefix != 0; ++text, ++prefix)
        if (toLowerAscii (*text) != toLowerAscii (*prefix))
            return false;

    return true;
}

bool equalsIgnoringAsciiCase (const char* a, const char* b) noexcept
{
    return std::strlen (a) == std::strlen (b) && startsWithIgnoringAsciiCase (a, b);
}

// Skips white space and reads an optional sign; returns true for '-'.
bool skipSpaceAndSign (const char*& p) noexcept
{
    while (isAsciiSpace (*p))
        ++p;

    const bool negative = *p == '-';

    if (*p == '-' || *p == '+')
        ++p;

    return negative;
}

// Reads "digits[.digits][e[sign]digits]" (at least one digit before or after the point) and
// returns where it ends, or start when there is no number. decimalExponent receives the
// rough power of ten of the number, enough to tell an overflow from an underflow.
const char* scanDecimal (const char* start, long& decimalExponent) noexcept
{
    const char* p = start;
    long integerDigits = 0, fractionLeadingZeros = 0;
    bool anyDigit = false, nonZeroSeen = false;

    for (; isDigit (*p); ++p)
    {
        anyDigit = true;
        nonZeroSeen = nonZeroSeen || *p != '0';

        if (nonZeroSeen)
            integerDigits = std::min (integerDigits + 1, 1000000L);
    }

    if (*p == '.')
    {
        for (++p; isDigit (*p); ++p)
        {
            anyDigit = true;

            if (! nonZeroSeen && *p == '0')
                fractionLeadingZeros = std::min (fractionLeadingZeros + 1, 1000000L);
            else
                nonZeroSeen = true;
        }
    }

    if (! anyDigit)
        return start;

    long exponent = 0;

    if (*p == 'e' || *p == 'E')
    {
        const char* q = p + 1;
        const bool negative = *q == '-';

        if (*q == '-' || *q == '+')
            ++q;

        if (isDigit (*q))
        {
            for (; isDigit (*q); ++q)
                exponent = std::min (exponent * 10 + (*q - '0'), 1000000L);

            exponent = negative ? -exponent : exponent;
            p = q;
        }
    }

    decimalExponent = exponent + (integerDigits > 0 ? integerDigits : -fractionLeadingZeros);
    return p;
}

// Reads "nan", "inf" or a decimal number at p into magnitude; false when there is none.
bool readMagnitude (const char* p, double& magnitude) noexcept
{
    if (startsWithIgnoringAsciiCase (p, "nan"))
    {
        magnitude = std::numeric_limits<double>::quiet_NaN();
        return true;
    }

    if (startsWithIgnoringAsciiCase (p, "inf"))
    {
        magnitude = std::numeric_limits<double>::infinity();
        return true;
    }

    long decimalExponent = 0;
    const char* end = scanDecimal (p, decimalExponent);

    if (end == p)
        return false;

    // std::from_chars rounds exactly and ignores the locale. Beyond the range of a double
    // it reports an error instead: as a float the value is infinity or zero either way.
    if (std::from_chars (p, end, magnitude, std::chars_format::general).ec != std::errc())
        magnitude = decimalExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;

    return true;
}

//==============================================================================
// JUCE's parser is lenient where a damaged block needs strictness: it takes a start tag that
// is cut short, or whose value lacks quotes, as a complete element with the attributes read
// so far, and such a block would replace the whole table with empty names and defaults. So
// the prolog and the start tag are checked to be well-formed XML first, in the subset that
// JUCE reads the same way as any XML reader; JUCE's own errors cover what follows.
using Cursor = juce::String::CharPointerType;

// The characters JUCE's parser takes into a name, so both agree where a name ends.
bool isNameChar (juce::juce_wchar c) noexcept
{
    if (c < 128)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == ':' || c == '.';

    return juce::CharacterFunctions::isLetterOrDigit (c);
}

void skipSpace (Cursor& p) noexcept
{
    while (isAsciiSpace (*p))
        ++p;
}

bool startsWith (Cursor p, const char* text) noexcept
{
    return p.compareUpTo (juce::CharPointer_ASCII (text), static_cast<int> (std::strlen (text))) == 0;
}

// Moves past the opening two characters and then past terminator.
bool skipPast (Cursor& p, const char* terminator) noexcept
{
    p += 2;
    const int index = p.indexOf (juce::CharPointer_ASCII (terminator));

    if (index < 0)
        return false;

    p += index + static_cast<int> (std::strlen (terminator));
    return true;
}

// White space, comments and processing instructions (the XML declaration among them). A
// document type declaration is not skipped: no block of ours has one, and refusing it keeps
// JUCE's entity expansion out of reach.
bool skipProlog (Cursor& p) noexcept
{
    for (;;)
    {
        skipSpace (p);

        if (startsWith (p, "<!--"))
        {
            if (! skipPast (p, "-->"))
                return false;
        }
        else if (startsWith (p, "<?"))
        {
            if (! skipPast (p, "?>"))
                return false;
        }
        else
        {
            return true;
        }
    }
}

bool skipName (Cursor& p) noexcept
{
    if (! isNameChar (*p))
        return false;

    while (isNameChar (*p))
        ++p;

    return true;
}

// One of the five predefined entities or a character reference. References go up to 0x3fffff
// rather than the last Unicode code point: a name decoded from damaged UTF-8 can hold such a
// character (JUCE's decoder keeps up to four bits of any lead byte from 0xf8 on and takes up to
// three continuation bytes), JUCE writes it as a reference, and the block saved after it must
// read back.
bool skipReference (Cursor& p) noexcept
{
    ++p;

    for (const char* entity : { "amp;", "quot;", "apos;", "lt;", "gt;" })
    {
        if (startsWith (p, entity))
        {
            p += static_cast<int> (std::strlen (entity));
            return true;
        }
    }

    if (*p != '#')
        return false;

    const bool hex = *++p == 'x';
    const int base = hex ? 16 : 10;
    const int maxDigits = hex ? 6 : 7;
    juce::uint32 code = 0;
    int digits = 0;

    if (hex)
        ++p;

    for (; digits < maxDigits; ++digits, ++p)
    {
        const auto c = *p;
        const int digit = hex ? juce::CharacterFunctions::getHexDigitValue (c) : (isDigit (c) ? static_cast<int> (c - '0') : -1);

        if (digit < 0)
            break;

        code = code * static_cast<juce::uint32> (base) + static_cast<juce::uint32> (digit);
    }

    if (digits == 0 || *p != ';' || code == 0 || code > 0x3fffff)
        return false;

    ++p;
    return true;
}

bool skipQuotedValue (Cursor& p) noexcept
{
    const auto quote = *p;

    if (quote != '"' && quote != '\'')
        return false;

    for (++p; *p != quote;)
    {
        if (*p == 0 || *p == '<')
            return false;

        if (*p != '&')
            ++p;
        else if (! skipReference (p))
            return false;
    }

    ++p;
    return true;
}

bool skipStartTag (Cursor& p) noexcept
{
    if (*p != '<' || ! skipName (++p))
        return false;

    for (;;)
    {
        const bool spaced = isAsciiSpace (*p);
        skipSpace (p);

        if (*p == '>' || startsWith (p, "/>"))
            return true;

        if (! spaced || ! skipName (p))
            return false;

        skipSpace (p);

        if (*p != '=')
            return false;

        skipSpace (++p);

        if (! skipQuotedValue (p))
            return false;
    }
}

// A processing instruction among an element's contents sends JUCE's parser round in an
// endless loop (it skips the instruction to find text, then steps back before it to read
// that text and stops at its '<'); blocks of ours have none there.
bool isFitForJuceParser (Cursor p) noexcept
{
    return skipProlog (p) && skipStartTag (p) && p.indexOf (juce::CharPointer_ASCII ("<?")) < 0;
}
} // namespace

//==============================================================================
juce::String SettingsChunk::formatValue (float value)
{
    // std::to_chars is %.20g without the locale: hosts may have set a decimal comma.
    char text[48];
    const auto result = std::to_chars (text, text + sizeof (text), static_cast<double> (value),
                                       std::chars_format::general, 20);
    return juce::String (text, static_cast<size_t> (result.ptr - text));
}

float SettingsChunk::parseValue (const juce::String& text)
{
    const char* p = text.toRawUTF8();
    const bool negative = skipSpaceAndSign (p);
    double magnitude = 0.0;

    // A text without a number is 0, never -0.
    if (! readMagnitude (p, magnitude))
        return 0.0f;

    return static_cast<float> (negative ? -magnitude : magnitude);
}

int SettingsChunk::parseIndex (const juce::String& text)
{
    const char* p = text.toRawUTF8();
    const bool negative = skipSpaceAndSign (p);

    // Saturating: a huge number must not wrap around into the table.
    constexpr long long limit = static_cast<long long> (std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;

    for (; isDigit (*p); ++p)
        magnitude = std::min (magnitude * 10 + (*p - '0'), limit);

    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int> (std::clamp (value,
                                         static_cast<long long> (std::numeric_limits<int>::min()),
                                         static_cast<long long> (std::numeric_limits<int>::max())));
}

//==============================================================================
std::unique_ptr<juce::XmlElement> SettingsChunk::unwrap (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= containerHeaderSize)
        return {};

    const auto* bytes = static_cast<const char*> (data);

    if (juce::ByteOrder::littleEndianInt (bytes) != containerMagic)
        return {};

    const auto storedLength = static_cast<juce::int32> (juce::ByteOrder::littleEndianInt (bytes + 4));

    if (storedLength <= 0)
        return {};

    const auto length = static_cast<size_t> (std::min (storedLength, sizeInBytes - containerHeaderSize));

    // The text is copied with a zero after it: JUCE's UTF-8 decoder reads on past a lead
    // byte at the very end of its input, which would run over the end of a short block.
    juce::MemoryBlock copy (bytes + containerHeaderSize, length);
    copy.append ("", 1);
    const auto* utf8 = static_cast<const char*> (copy.getData());

    // JUCE's parser recurses once per level of nesting; a block of ours has one '<'.
    if (std::count (utf8, utf8 + length, '<') > maxMarkupOpenings)
        return {};

    // Text that is not valid UTF-8 is not XML either. It must not get further: JUCE keeps the
    // bytes as they are, and stepping over a lead byte skips the bytes it announces without
    // looking, a terminating zero among them.
    if (! juce::CharPointer_UTF8::isValidString (utf8, static_cast<int> (length)))
        return {};

    const juce::String text (juce::CharPointer_UTF8 (utf8), juce::CharPointer_UTF8 (utf8 + length));

    if (! isFitForJuceParser (text.getCharPointer()))
        return {};

    return juce::parseXML (text);
}

std::optional<SettingsChunk::Contents> SettingsChunk::read (const void* data,
                                                            int sizeInBytes,
                                                            int numPrograms,
                                                            const std::array<juce::String, ProgramSlot::numValues>& parameterNames,
                                                            const std::array<float, ProgramSlot::numValues>& defaults)
{
    const auto xml = unwrap (data, sizeInBytes);

    if (xml == nullptr || ! equalsIgnoringAsciiCase (xml->getTagName().toRawUTF8(), tagName))
        return {};

    Contents contents;
    contents.activePreset = parseIndex (xml->getStringAttribute ("activePreset"));
    contents.programs.resize (static_cast<size_t> (std::max (numPrograms, 0)));

    for (size_t i = 0; i < contents.programs.size(); ++i)
    {
        auto& program = contents.programs[i];
        const juce::String suffix (static_cast<int> (i));
        program.name = xml->getStringAttribute ("PresetName" + suffix);

        for (size_t j = 0; j < parameterNames.size(); ++j)
        {
            const auto attributeName = parameterNames[j] + suffix;
            program.values[j] = xml->hasAttribute (attributeName) ? parseValue (xml->getStringAttribute (attributeName))
                                                                  : defaults[j];
        }
    }

    return contents;
}

void SettingsChunk::write (const Contents& contents,
                           const std::array<juce::String, ProgramSlot::numValues>& parameterNames,
                           juce::MemoryBlock& destData)
{
    juce::XmlElement xml (tagName);
    xml.setAttribute ("activePreset", juce::String (contents.activePreset));

    for (size_t i = 0; i < contents.programs.size(); ++i)
    {
        const auto& program = contents.programs[i];
        const juce::String suffix (static_cast<int> (i));
        xml.setAttribute ("PresetName" + suffix, program.name);

        for (size_t j = 0; j < parameterNames.size(); ++j)
            xml.setAttribute (parameterNames[j] + suffix, formatValue (program.values[j]));
    }

    // Assembled here rather than by AudioProcessor::copyXmlToBinary, which in this JUCE puts
    // an XML declaration before the element; stored blocks have none.
    juce::MemoryOutputStream text;
    xml.writeTo (text, juce::XmlElement::TextFormat().singleLine().withoutHeader());

    juce::MemoryOutputStream out (destData, false);
    out.writeInt (static_cast<int> (containerMagic));
    out.writeInt (static_cast<int> (text.getDataSize()));
    out << text;
    out.writeByte (0);
}
