#include "builder/HuffmanTableBuilder.h"
#include "engine/Bytes.h"
#include "engine/huffman.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// 'A' = 0 and the byte 0 = 1, both one bit long; node 1 is the leaf 'A', node 2 the leaf 0.
std::vector<uint8_t> tinyTable()
{
    std::vector<uint8_t> t(huffman::kTableSize, 0);
    bytes::setLe32(&t[12 * 'A' + 4], 0x00000000);
    bytes::setLe32(&t[12 * 'A' + 8], 1);
    bytes::setLe32(&t[12 * 0 + 4], 0x80000000);
    bytes::setLe32(&t[12 * 0 + 8], 1);
    bytes::setLe32(&t[3072 + 8], 1);
    bytes::setLe32(&t[3072 + 12], 2);
    t[3072 + 16] = 'A';
    t[3072 + 32] = 0;
    return t;
}

huffman load(const std::vector<uint8_t>& t)
{
    huffman h;
    h.loadBytes(t.data(), t.size());
    return h;
}

TEST(Huffman, TinyTableEncodesAndDecodes)
{
    const huffman h = load(tinyTable());
    uint8_t out[8] = {0xEE, 0xEE};
    EXPECT_EQ(h.Encode(out, 8, "AA", 0), 3);
    EXPECT_EQ(out[0], 0x20);
    EXPECT_EQ(h.Encode(out, 8, "AA", huffman::kNoTerminator), 2);
    EXPECT_EQ(out[0], 0x00);

    char text[16];
    const uint8_t coded[] = {0x20, 0xFF, 0xFF};
    EXPECT_EQ(h.Decode(text, 16, coded, 3), 2);
    EXPECT_STREQ(text, "AA");
    // The code of 0 ends in the middle of byte 0: nothing after it matters.
    EXPECT_EQ(h.Decode(text, 16, coded, 1), 2);
}

TEST(Huffman, WholeWordsAndOneBitMore)
{
    const huffman h = load(tinyTable());
    uint8_t out[8];
    EXPECT_EQ(h.Encode(out, 8, std::string(32, 'A'), huffman::kNoTerminator), 32);
    EXPECT_EQ(h.Encode(out, 8, std::string(31, 'A'), 0), 32);
    EXPECT_EQ(out[3], 0x01);
    out[4] = 0xEE;
    EXPECT_EQ(h.Encode(out, 8, std::string(32, 'A'), 0), 33);
    EXPECT_EQ(out[4], 0x80); // a fifth byte, padded with zero bits
}

TEST(Huffman, EncodeStopsAtCapacityAndSkipsUncodedCharacters)
{
    const huffman h = load(tinyTable());
    uint8_t out[2];
    EXPECT_EQ(h.Encode(out, 2, std::string(40, 'A'), 0), 16);
    uint8_t a[4], b[4];
    EXPECT_EQ(h.Encode(a, 4, "AzA", 0), h.Encode(b, 4, "AA", 0)); // 'z' has no code
    EXPECT_EQ(a[0], b[0]);
    const huffman empty;
    EXPECT_EQ(empty.Encode(a, 4, "ANY TEXT", 0), 0);
}

TEST(Huffman, DecodeRespectsInputAndOutputLimits)
{
    const huffman h = load(tinyTable());
    const std::vector<uint8_t> allA(64, 0x00); // never reaches the code of 0
    char text[300];
    EXPECT_EQ(h.Decode(text, 300, allA.data(), 10), 80);
    EXPECT_EQ(text[80], 0);
    char small[5] = {1, 1, 1, 1, 1};
    EXPECT_EQ(h.Decode(small, 4, allA.data(), 64), 3);
    EXPECT_STREQ(small, "AAA");
    EXPECT_EQ(small[4], 1); // untouched beyond the capacity
    EXPECT_EQ(h.Decode(small, 0, allA.data(), 64), 0);
    EXPECT_EQ(small[0], 'A');
    EXPECT_EQ(h.Decode(text, 300, allA.data(), 0), 0);
    EXPECT_STREQ(text, "");
}

TEST(Huffman, NonsenseTablesNeverLeaveTheBuffers)
{
    std::mt19937 rng(7);
    std::vector<uint8_t> input(512);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> t(huffman::kTableSize);
        for (auto& b : t)
            b = static_cast<uint8_t>(rng());
        // Keep some children inside the tree so walks go deep, others far outside.
        for (int n = 0; n < 512; ++n)
            if (rng() % 2)
                bytes::setLe32(&t[3072 + 16 * n + 8 + 4 * (rng() % 2)], rng() % 520);
        const huffman h = load(t);
        for (auto& b : input)
            b = static_cast<uint8_t>(rng());
        char text[512];
        const int32_t n = h.Decode(text, 512, input.data(), 512);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 512);
        EXPECT_EQ(text[n], 0);
        uint8_t coded[64];
        EXPECT_LE(h.Encode(coded, 64, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0), 64 * 8);
    }
}

TEST(Huffman, LoadTableKeepsTheOldTableOnAMissingFile)
{
    MemoryFiles fs;
    fs.put("tiny.hfm", tinyTable());
    auto shortTable = tinyTable();
    shortTable.resize(100); // replaces the leading part only
    bytes::setLe32(&shortTable[12 * 0 + 8], 0);
    fs.put("short.hfm", shortTable);
    huffman h;
    ASSERT_TRUE(h.LoadTable("tiny.hfm", fs.opener()));
    EXPECT_FALSE(h.LoadTable("missing.hfm", fs.opener()));
    uint8_t out[4];
    EXPECT_EQ(h.Encode(out, 4, "AA", 0), 3);
    ASSERT_TRUE(h.LoadTable("short.hfm", fs.opener()));
    EXPECT_EQ(h.Encode(out, 4, "AA", 0), 2); // the terminator lost its code, 'A' and the tree kept theirs
    char text[8];
    const uint8_t coded[] = {0x20};
    EXPECT_EQ(h.Decode(text, 8, coded, 1), 2);
}

// Built tables: codes are prefix-free and canonical, every string round-trips.
TEST(HuffmanTableBuilder, RoundTripsRandomTexts)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> texts;
        SymbolCounts counts{};
        const int alphabet = 1 + static_cast<int>(rng() % 255);
        for (int i = 0; i < 200; ++i) {
            std::string s;
            const size_t len = rng() % 60;
            for (size_t k = 0; k < len; ++k)
                s.push_back(static_cast<char>(1 + (rng() % alphabet) * (rng() % 3 == 0 ? 1 : 0)));
            texts.push_back(s);
            countSymbols(counts, s);
        }
        const huffman h = makeHuffman(counts);
        for (const auto& s : texts) {
            uint8_t coded[512];
            const int32_t bits = h.Encode(coded, 512, s, 0);
            char back[512];
            ASSERT_EQ(h.Decode(back, 512, coded, (bits + 7) / 8), static_cast<int32_t>(s.size()));
            ASSERT_EQ(std::string(back), s);
        }
    }
}

TEST(HuffmanTableBuilder, SkewedCountsStayWithin32BitsAnd511Nodes)
{
    SymbolCounts fib{};
    uint64_t a = 1, b = 1;
    for (int c = 1; c < 60; ++c) {
        fib[c] = a;
        const uint64_t n = a + b;
        a = b;
        b = n;
    }
    const auto table = buildHuffmanTable(fib);
    int maxLen = 0;
    for (int c = 0; c < 256; ++c)
        maxLen = std::max<int>(maxLen, static_cast<int>(bytes::le32(&table[12 * c + 8])));
    EXPECT_LE(maxLen, 32);
    EXPECT_GT(maxLen, 20);
    const huffman h = makeHuffman(fib);
    std::string all;
    for (int c = 1; c < 60; ++c)
        all.push_back(static_cast<char>(c));
    uint8_t coded[512];
    const int32_t bits = h.Encode(coded, 512, all, 0);
    char back[512];
    EXPECT_EQ(h.Decode(back, 512, coded, (bits + 7) / 8), 59);
    EXPECT_EQ(std::string(back), all);

    SymbolCounts every{};
    every.fill(3);
    const auto full = buildHuffmanTable(every);
    // 256 symbols need exactly 511 nodes: the last slot stays empty.
    EXPECT_NE(bytes::le32(&full[3072 + 16 * 510 + 4]), 0u);
    EXPECT_EQ(bytes::le32(&full[3072 + 16 * 511 + 4]), 0u);
}

TEST(HuffmanTableBuilder, UnusedSymbolsHaveNoCodeAndTheTerminatorAlwaysHasOne)
{
    SymbolCounts counts{};
    counts['X'] = 10;
    const huffman h = makeHuffman(counts);
    EXPECT_EQ(h.codeLength('Y'), 0);
    EXPECT_EQ(h.codeLength('X'), 1);
    EXPECT_EQ(h.codeLength(0), 1);
    SymbolCounts onlyZero{};
    const huffman z = makeHuffman(onlyZero);
    uint8_t coded[4];
    EXPECT_EQ(z.Encode(coded, 4, "", 0), 1);
    char back[4] = {'q'};
    EXPECT_EQ(z.Decode(back, 4, coded, 1), 0);
    EXPECT_STREQ(back, "");
}

} // namespace
