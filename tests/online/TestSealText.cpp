// The program's URL encoding and sealing: the quirks the server relies on, known sealed forms made
// by an independent Base64 coder, and round trips over random byte strings of every length class.
#include "online/SealText.h"
#include "online/UrlEncode.h"

#include <gtest/gtest.h>

#include <random>

TEST(UrlEncode, ReplacesOnlyItsTableAndKeepsItsQuirks)
{
    EXPECT_EQ(UrlEncode("a b&c=d"), "a%20b%26c%3Dd");
    EXPECT_EQ(UrlEncode("100%"), "100%");
    EXPECT_EQ(UrlEncode("it's"), "it%5Cs");
    EXPECT_EQ(UrlEncode("\xE1"), "\xE1"); // á in Windows-1252
    EXPECT_EQ(UrlEncode("ab+/=="), "ab%2B%2F%3D%3D");
    EXPECT_EQ(UrlEncode("\r\n !\"#$&()*+/<=>?'"), "%0D%0A%20%21%22%23%24%26%28%29%2A%2B%2F%3C%3D%3E%3F%5C");
    EXPECT_EQ(UrlEncode(std::string_view("a\0b", 3)), std::string("a\0b", 3));

    // Every byte outside the table passes as it is.
    const std::string table = "\r\n !\"#$&()*+/<=>?'";
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        if (table.find(static_cast<char>(c)) == std::string::npos)
            EXPECT_EQ(UrlEncode(one), one) << c;
        else
            EXPECT_EQ(PercentDecode(UrlEncode(one)), c == '\'' ? std::string("\\") : one) << c;
    }
}

TEST(SealText, MatchesAnIndependentCoder)
{
    EXPECT_EQ(SealText(""), "");
    EXPECT_EQ(SealText("Date=&type=recomendar"), "ltior7Fe5NLml4vE3Je54Z3evdek");
    EXPECT_EQ(SealText("Hola se\xF1or"), "muagq5Sr1UrlpA==");
    // A byte that adds up to 256 with its key byte is sealed like any other, and the text goes on.
    EXPECT_EQ(SealText("\xAE"
                       "AB"),
              "ALh2");
}

TEST(SealText, RoundTripsAnyBytesOfAnyLength)
{
    std::mt19937 rng(16);
    for (const size_t length : {1u, 2u, 3u, 10u, 11u, 12u, 2046u, 2047u, 2048u, 2049u, 70000u}) {
        std::string text(length, '\0');
        for (char& c : text)
            c = static_cast<char>(rng() & 0xFF);
        const std::string sealed = SealText(text);
        EXPECT_EQ(sealed.size(), (length + 2) / 3 * 4);
        EXPECT_EQ(sealed.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
                  std::string::npos);
        const auto back = UnsealText(sealed);
        ASSERT_TRUE(back.has_value()) << length;
        EXPECT_EQ(*back, text) << length;
        EXPECT_EQ(*UnsealText(PercentDecode(UrlEncode(sealed))), text);
    }
}

TEST(SealText, UnsealRefusesWhatSealingNeverMakes)
{
    for (const char* bad : {"A", "ABC", "AB=C", "A===", "AB==AB==", "AB*D", "ALh=", "AB=="})
        EXPECT_FALSE(UnsealText(bad).has_value()) << bad;
    EXPECT_TRUE(UnsealText("ALh2").has_value());
    EXPECT_TRUE(UnsealText("").has_value());
}
