// The search's word map: finding the next record whose byte equals the words' mask, and clearing,
// both with the few-records list and after it has overflowed, checked against a plain array.
#include "search/WordMap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr int32_t kSpan = 200'000;

int32_t naiveFind(const std::vector<uint8_t>& v, int32_t from, int32_t to, uint8_t mask)
{
    for (int32_t r = std::max(from, 1); r <= to && r < static_cast<int32_t>(v.size()); ++r)
        if (v[static_cast<size_t>(r)] == mask)
            return r;
    return 0;
}

void checkAgainst(WordMap& map, const std::vector<uint8_t>& plain, std::mt19937& rng, uint8_t mask)
{
    for (int q = 0; q < 300; ++q) {
        const int32_t from = static_cast<int32_t>(rng() % kSpan);
        const int32_t to = from + static_cast<int32_t>(rng() % 5000);
        ASSERT_EQ(map.find(from, to, mask), naiveFind(plain, from, to, mask)) << from << ".." << to;
    }
    // Walking the whole span visits exactly the matching records.
    int32_t seen = 0;
    for (int32_t r = map.find(0, kSpan, mask); r != 0; r = map.find(r + 1, kSpan, mask)) {
        ASSERT_EQ(plain[static_cast<size_t>(r)], mask);
        ++seen;
    }
    int32_t expected = 0;
    for (int32_t r = 1; r <= kSpan; ++r)
        expected += plain[static_cast<size_t>(r)] == mask ? 1 : 0;
    EXPECT_EQ(seen, expected);
    // In batches: the same records, in order, a short batch only at the end of the span.
    std::vector<int32_t> batch(97);
    for (int q = 0; q < 100; ++q) {
        int32_t from = static_cast<int32_t>(rng() % kSpan);
        const int32_t to = from + static_cast<int32_t>(rng() % 20000);
        const auto max = static_cast<int32_t>(1 + rng() % batch.size());
        for (int32_t k = 0; k < 3; ++k) {
            const int32_t got = map.findMany(from, to, mask, batch.data(), max);
            ASSERT_LE(got, max);
            for (int32_t i = 0; i < got; ++i) {
                ASSERT_EQ(batch[static_cast<size_t>(i)], naiveFind(plain, from, to, mask)) << from << ".." << to;
                from = batch[static_cast<size_t>(i)] + 1;
            }
            if (got < max) {
                ASSERT_EQ(naiveFind(plain, from, to, mask), 0) << "a short batch ends the span";
                break;
            }
        }
    }
}

TEST(WordMap, FindsAndClearsWithFewOrManyRecords)
{
    WordMap map;
    ASSERT_TRUE(map.valid());
    std::mt19937 rng(3);
    for (int32_t marks : {0, 40, 5000, 60'000}) { // the last overflows the list
        std::vector<uint8_t> plain(kSpan + 1, 0);
        for (int word = 0; word < 3; ++word)
            for (int32_t k = 0; k < marks; ++k) {
                const int32_t r = 1 + static_cast<int32_t>(rng() % kSpan);
                map.mark(r, static_cast<uint8_t>(1u << word));
                plain[static_cast<size_t>(r)] |= static_cast<uint8_t>(1u << word);
            }
        checkAgainst(map, plain, rng, 0x07);
        checkAgainst(map, plain, rng, 0x01);
        checkAgainst(map, plain, rng, 0x00); // no word: every unmarked record
        map.clear();
        EXPECT_EQ(map.find(0, kSpan, 0x07), 0);
        EXPECT_EQ(map.find(0, kSpan, 0x00), 1);
        for (int32_t r = 1; r <= kSpan; r += 997)
            ASSERT_EQ(map.at(r), 0) << r;
    }
}

// Batches marked in turn, out of order, with numbers outside the window and the map, the list
// overflowing inside a batch: the bytes are those of single marks, and a clear leaves none set (the
// span the clear sweeps covers every byte marked).
TEST(WordMap, MarksBatchesInsideTheirWindowOnly)
{
    WordMap map;
    std::mt19937 rng(8);
    constexpr int32_t lo = 1000;
    constexpr int32_t hi = kSpan - 1000;
    for (int32_t batches : {3, 40}) { // 40 batches overflow the list of marked records
        std::vector<uint8_t> plain(kSpan + 1, 0);
        for (int word = 0; word < 2; ++word) {
            const auto b = static_cast<uint8_t>(1u << word);
            for (int32_t k = 0; k < batches; ++k) {
                std::vector<int32_t> records(500);
                for (int32_t& r : records)
                    r = rng() % 50 == 0 ? -static_cast<int32_t>(rng() % 9) : static_cast<int32_t>(rng() % (kSpan + 1));
                records[0] = WordMap::kBytes + 5;
                records[1] = lo - 1;
                records[2] = hi + 1;
                records[3] = k % 2 ? lo : hi;
                map.markMany(records.data(), static_cast<int32_t>(records.size()), b, lo, hi);
                map.markMany(records.data(), static_cast<int32_t>(records.size()), 0x04, hi, lo); // empty window
                for (int32_t r : records)
                    if (r >= lo && r <= hi)
                        plain[static_cast<size_t>(r)] |= b;
            }
        }
        for (int32_t r = 0; r <= kSpan; ++r)
            ASSERT_EQ(map.at(r), plain[static_cast<size_t>(r)]) << r;
        checkAgainst(map, plain, rng, 0x03);
        map.clear();
        for (int32_t r = 0; r <= kSpan; ++r)
            ASSERT_EQ(map.at(r), 0) << r;
    }
}

TEST(WordMap, IgnoresNumbersOutsideTheMap)
{
    WordMap map;
    map.mark(-1, 1);
    map.mark(WordMap::kBytes, 1);
    map.mark(WordMap::kBytes - 1, 1);
    EXPECT_EQ(map.find(0, INT32_MAX, 1), WordMap::kBytes - 1);
    EXPECT_EQ(map.find(-50, 0, 0), 0); // record 0 is never found
    map.clear();
    EXPECT_EQ(map.at(WordMap::kBytes - 1), 0);
}

} // namespace
