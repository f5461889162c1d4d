#include "document/TextCodec.h"

#include <gtest/gtest.h>

TEST(TextCodec, Utf8RoundTripIncludingSurrogatePairs) {
    std::u16string text = u"センター 頭 a\U0001F600";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"部品"), "部品");
}

TEST(TextCodec, InvalidUtf8BecomesReplacement) {
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xE3\x81"), u"\uFFFD\uFFFD"); // truncated
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD"); // overlong
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextCodec, Cp932BothWays) {
    // "センター" in code page 932.
    const std::string center = "\x83\x5A\x83\x93\x83\x5E\x81\x5B";
    EXPECT_EQ(Utf16ToCp932(u"センター"), center);
    EXPECT_EQ(Cp932ToUtf16(center), u"センター");
    EXPECT_EQ(Utf16ToCp932(u"abc"), "abc");
    EXPECT_EQ(Utf16ToCp932(u"a\u00E9b"), "a?b"); // not in code page 932
}

TEST(TextCodec, BrokenCp932NeverFails) {
    EXPECT_EQ(Cp932ToUtf16("\x83"), u"\uFFFD");       // lone lead byte at the end
    EXPECT_EQ(Cp932ToUtf16("a\x83\x20"), u"a\uFFFD"); // invalid trail byte
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    EXPECT_FALSE(Cp932ToUtf16(all).empty());
}
