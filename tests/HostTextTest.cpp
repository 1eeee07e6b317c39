#include "HostText.h"

#include <gtest/gtest.h>

#include <cstring>

TEST (HostText, TakesWellFormedUtf8AsUtf8)
{
    for (const char* text : { "", "Init", "Gr\xc3\xbc\xc3\x9f", "\xe2\x9c\x93", "\xf0\x9f\x8e\xb8", "\xf4\x8f\xbf\xbf" })
    {
        EXPECT_TRUE (HostText::isWellFormedUtf8 (text)) << text;
        EXPECT_EQ (HostText::fromUnlabelledBytes (text), juce::String (juce::CharPointer_UTF8 (text)));
    }
}

TEST (HostText, TakesAnythingElseAsEightBitText)
{
    // Stray continuation, cut short at the end, overlong, surrogate, beyond U+10FFFF, a lead
    // byte no sequence starts with: one character per byte, each kept.
    for (const char* text : { "Caf\xe9", "\x80", "ab\xe2\x82", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80" })
    {
        EXPECT_FALSE (HostText::isWellFormedUtf8 (text)) << text;
        const auto decoded = HostText::fromUnlabelledBytes (text);
        ASSERT_EQ (static_cast<size_t> (decoded.length()), std::strlen (text));

        for (int i = 0; i < decoded.length(); ++i)
            EXPECT_EQ (decoded[i], static_cast<juce::juce_wchar> (static_cast<unsigned char> (text[i])));
    }

    EXPECT_TRUE (HostText::fromUnlabelledBytes (nullptr).isEmpty());
}
