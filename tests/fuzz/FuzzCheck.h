#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

/**
    Checks shared by the fuzz targets. A broken invariant prints what broke and aborts, so
    libFuzzer reports it like a crash and keeps the input.
*/
namespace FuzzCheck
{
/** Aborts with the message when condition is false. */
inline void require (bool condition, const char* what)
{
    if (condition)
        return;

    std::fprintf (stderr, "broken invariant: %s\n", what);
    std::abort();
}

/** True when the bytes are well-formed UTF-8: no stray continuation bytes, no overlong
    forms, no surrogates, nothing beyond U+10FFFF, no sequence cut short. */
inline bool isStrictUtf8 (const std::string& text)
{
    const auto* p = reinterpret_cast<const unsigned char*> (text.data());
    const auto* end = p + text.size();

    while (p < end)
    {
        const unsigned lead = *p++;

        if (lead < 0x80)
            continue;

        int extra = 0;
        unsigned code = 0, minimum = 0;

        if ((lead & 0xe0) == 0xc0)
            extra = 1, code = lead & 0x1f, minimum = 0x80;
        else if ((lead & 0xf0) == 0xe0)
            extra = 2, code = lead & 0x0f, minimum = 0x800;
        else if ((lead & 0xf8) == 0xf0)
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        else
            return false;

        if (end - p < extra)
            return false;

        for (int i = 0; i < extra; ++i, ++p)
        {
            if ((*p & 0xc0) != 0x80)
                return false;

            code = (code << 6) | (*p & 0x3fu);
        }

        if (code < minimum || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
    }

    return true;
}

/** The longest prefix of text, in whole characters, that takes at most maxBytes bytes:
    what a text of valid UTF-8 becomes in a host buffer with room for maxBytes and a zero. */
inline std::string utf8Prefix (const std::string& text, size_t maxBytes)
{
    size_t end = 0;

    for (size_t next = 0; next < text.size(); end = next)
    {
        const auto lead = static_cast<unsigned char> (text[next]);
        const size_t length = lead < 0x80 ? 1 : (lead < 0xe0 ? 2 : (lead < 0xf0 ? 3 : 4));
        next += length;

        if (next > maxBytes)
            break;
    }

    return text.substr (0, end);
}
} // namespace FuzzCheck
