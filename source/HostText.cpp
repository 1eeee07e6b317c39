#include "HostText.h"

namespace HostText
{
bool isWellFormedUtf8 (const char* text) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*> (text);

    while (*p != 0)
    {
        const unsigned lead = *p++;

        if (lead < 0x80)
            continue;

        // Sequence length, the bits the lead byte carries and the smallest code point that
        // needs this many bytes (anything below is an overlong form).
        int continuationBytes = 0;
        juce::uint32 code = 0, smallest = 0;

        if (lead >= 0xc2 && lead <= 0xdf)
        {
            continuationBytes = 1;
            code = lead & 0x1fu;
            smallest = 0x80;
        }
        else if (lead >= 0xe0 && lead <= 0xef)
        {
            continuationBytes = 2;
            code = lead & 0x0fu;
            smallest = 0x800;
        }
        else if (lead >= 0xf0 && lead <= 0xf4)
        {
            continuationBytes = 3;
            code = lead & 0x07u;
            smallest = 0x10000;
        }
        else
        {
            return false;
        }

        // A zero is not a continuation byte, so this never reads past the terminator.
        for (int i = 0; i < continuationBytes; ++i, ++p)
        {
            if ((*p & 0xc0u) != 0x80u)
                return false;

            code = (code << 6) | (*p & 0x3fu);
        }

        if (code < smallest || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
    }

    return true;
}

juce::String fromUnlabelledBytes (const char* text)
{
    if (text == nullptr)
        return {};

    if (isWellFormedUtf8 (text))
        return juce::String (juce::CharPointer_UTF8 (text));

    return juce::String (juce::CharPointer_ASCII (text));
}
} // namespace HostText
