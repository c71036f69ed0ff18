#include "engine/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    std::string back;
    ASSERT_TRUE(cp1252::fromUtf8(cp1252::toUtf8(all), back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(cp1252::toUtf8("\x80"), "\xE2\x82\xAC"); // the euro sign
    EXPECT_EQ(cp1252::toUtf8("\xD1"), "\xC3\x91");     // Ñ
    EXPECT_EQ(cp1252::toUtf8("\x9F"), "\xC5\xB8");     // Ÿ
}

TEST(Cp1252, RefusesWhatTheCodePageCannotHoldAndBrokenUtf8)
{
    std::string out;
    size_t at = 99;
    EXPECT_FALSE(cp1252::fromUtf8("AB\xE2\x98\x83", out, &at)); // a snowman
    EXPECT_EQ(at, 2u);
    EXPECT_EQ(out, "AB");
    EXPECT_FALSE(cp1252::fromUtf8("\xC3", out));             // cut short
    EXPECT_FALSE(cp1252::fromUtf8("\xC0\x81", out));         // overlong
    EXPECT_FALSE(cp1252::fromUtf8("\xFF", out));             // not UTF-8 at all
    EXPECT_FALSE(cp1252::fromUtf8("\xF0\x9F\x98\x80", out)); // outside the BMP
    EXPECT_TRUE(cp1252::fromUtf8("", out));
    EXPECT_EQ(out, "");
}

TEST(Cp1252, UpperCasesLikeASpanishLocale)
{
    auto up = [](const char* utf8) {
        std::string cp;
        EXPECT_TRUE(cp1252::fromUtf8(utf8, cp));
        return cp1252::toUtf8(cp1252::upper(cp));
    };
    EXPECT_EQ(up("josé muñoz"), "JOSÉ MUÑOZ");
    EXPECT_EQ(up("pingüino ÿ š œ ž"), "PINGÜINO Ÿ Š Œ Ž");
    EXPECT_EQ(up("àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"), "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ");
    EXPECT_EQ(up("ß µ ÷ 123 ¿?"), "ß µ ÷ 123 ¿?"); // no capital in the code page, or not a letter
}

TEST(Cp1252, TrimRemovesBlanksAndControls)
{
    EXPECT_EQ(cp1252::trim("  \t\r\n GARCIA \x01\x7F"), "GARCIA");
    EXPECT_EQ(cp1252::trim("   "), "");
    EXPECT_EQ(cp1252::trim("A B"), "A B");
}

} // namespace
