#include <gtest/gtest.h>

#include <string>

#include "engine/Cp1252.h"

using namespace std::string_literals;

TEST(Cp1252, ConvertsTheCharactersOfTheCodePageBothWays) {
    EXPECT_EQ(Utf8ToCp1252("Plain text 123"), "Plain text 123");
    // Pound sign, e acute, right single quote, euro sign, Y diaeresis, no-break space.
    const std::string utf8 = "£é’€Ÿ\u00A0";
    const std::string bytes = "\xA3\xE9\x92\x80\x9F\xA0";
    EXPECT_EQ(Utf8ToCp1252(utf8), bytes);
    EXPECT_EQ(Cp1252ToUtf8(bytes), utf8);
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Utf8ToCp1252("\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
    EXPECT_EQ(Utf8ToCp1252("a\0b"s), "a\0b"s);

    // Every byte survives the round trip and comes out as well-formed UTF-8.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string allUtf8 = Cp1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(allUtf8));
    EXPECT_EQ(Utf8ToCp1252(allUtf8), all);
}

TEST(Cp1252, ReplacesWhatTheCodePageCannotHoldAndMalformedSequences) {
    EXPECT_EQ(Utf8ToCp1252("漢字"), "??");
    EXPECT_EQ(Utf8ToCp1252("x😀y"), "x?y");
    EXPECT_EQ(Utf8ToCp1252("\u0080\u009F"), "??");  // C1 controls other than the five above
    EXPECT_EQ(Utf8ToCp1252("\u0152\u0153"), "\x8C\x9C");

    EXPECT_EQ(Utf8ToCp1252("\xFF"), "?");
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");          // cut short at the end
    EXPECT_EQ(Utf8ToCp1252("\xC3("), "?(");          // the ASCII after a bad lead survives
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\x41"), "?A");   // one '?' for a truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");       // overlong
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");  // surrogate
    EXPECT_EQ(Utf8ToCp1252("\x80\xA3"), "??");       // stray continuation bytes
    EXPECT_EQ(Utf8ToCp1252("\xA3\x61\x62"), "?ab");  // a Windows-1252 pound is not UTF-8
}

TEST(Cp1252, RecognisesWellFormedUtf8) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("ASCII with a zero \0 byte"s));
    EXPECT_TRUE(IsValidUtf8("£ é ’ 漢 😀 \U0010FFFF"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xC2"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_FALSE(IsValidUtf8("\xC1\xBF"));          // overlong two-byte
    EXPECT_FALSE(IsValidUtf8("\xE0\x9F\xBF"));      // overlong three-byte
    EXPECT_FALSE(IsValidUtf8("\xF0\x8F\xBF\xBF"));  // overlong four-byte
    EXPECT_FALSE(IsValidUtf8("\xED\xBF\xBF"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xF5\x80\x80\x80"));
    EXPECT_FALSE(IsValidUtf8("ok\x80"));
}
