#include "builder/ListIndexWriter.h"
#include "engine/Bytes.h"
#include "engine/Indice.h"
#include "engine/cpkLists.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

// A list index file around hand-made list bytes: version byte, lists, one key table, trailer.
std::vector<uint8_t> handMade(uint8_t version, const std::vector<uint8_t>& lists, const std::vector<int32_t>& table)
{
    std::vector<uint8_t> f;
    f.reserve(1 + lists.size() + 4 * table.size() + 9);
    f.push_back(version);
    for (uint8_t b : lists)
        f.push_back(b);
    const auto tableOffset = static_cast<uint32_t>(f.size());
    for (int32_t o : table)
        bytes::putLe32(f, static_cast<uint32_t>(o));
    bytes::putLe32(f, tableOffset);
    bytes::putLe32(f, static_cast<uint32_t>(table.size()));
    f.push_back(1);
    return f;
}

std::vector<int32_t> readList(Indice& ix, int32_t key, int32_t space = 0, size_t limit = 1000000)
{
    std::vector<int32_t> out;
    if (!ix.SeekList(key, space))
        return out;
    for (int32_t r = ix.ListFirst(space); r != 0 && out.size() < limit; r = ix.ListNext(space))
        out.push_back(r);
    return out;
}

using V = std::vector<int32_t>;

TEST(Indice, VersionTwoEntryKinds)
{
    MemoryFiles fs;
    fs.put("v2", handMade(2, {0x00, 0x01, 0x2C, 0xC3, 0xE5, 0xF1, 0x00, 0xC0}, {0, 1}));
    Indice ix("v2", 64, fs.opener());
    EXPECT_EQ(ix.typeByte(), 1);
    EXPECT_EQ(readList(ix, 1), (V{300, 301, 302, 303, 308, 564}));
    EXPECT_FALSE(ix.lists().positioned());
    EXPECT_EQ(ix.ListNext(0), 0);
}

TEST(Indice, VersionOneEntryKinds)
{
    MemoryFiles fs;
    fs.put("v1", handMade(1, {0x00, 0x00, 0x05, 0x82, 0x80}, {0, 1}));
    Indice ix("v1", 64, fs.opener());
    EXPECT_EQ(readList(ix, 1), (V{5, 6, 7}));
}

TEST(Indice, KeyEqualToTheKeyCountReadsEntryZero)
{
    ListIndexWriter w;
    const int32_t s = w.addKeySpace(10000);
    ASSERT_TRUE(w.addList(s, 10000, V{4, 9, 12})); // the line 0000
    ASSERT_TRUE(w.addList(s, 9999, V{2}));
    ASSERT_FALSE(w.addList(s, 0, V{5})) << "key 0 and key 10000 share entry 0";
    MemoryFiles fs;
    fs.put("ixTeN", w.finish());
    Indice ix("ixTeN", 512, fs.opener());
    EXPECT_EQ(ix.keyCount(0), 10000);
    EXPECT_EQ(readList(ix, 10000), (V{4, 9, 12}));
    EXPECT_EQ(readList(ix, 0), (V{4, 9, 12}));
    EXPECT_EQ(readList(ix, 9999), (V{2}));
    EXPECT_FALSE(ix.SeekList(10001, 0));
    EXPECT_FALSE(ix.SeekList(-1, 0));
    EXPECT_FALSE(ix.SeekList(1, 1)) << "only one key space";
}

TEST(Indice, EmptyEntryGivesAnEmptyListAndAFreeReader)
{
    ListIndexWriter w;
    w.addKeySpace(5);
    ASSERT_TRUE(w.addList(0, 3, V{7, 8}));
    MemoryFiles fs;
    fs.put("f", w.finish());
    Indice ix("f", 512, fs.opener());
    EXPECT_TRUE(ix.SeekList(2, 0));
    EXPECT_EQ(ix.ListFirst(0), 0);
    EXPECT_FALSE(ix.lists().positioned());
    EXPECT_EQ(readList(ix, 3), (V{7, 8}));
    // The same key twice in a row gives the same list.
    EXPECT_EQ(readList(ix, 3), (V{7, 8}));
}

TEST(Indice, AbandonedListDoesNotLeakIntoTheNextSeek)
{
    ListIndexWriter w;
    w.addKeySpace(3);
    ASSERT_TRUE(w.addList(0, 1, V{10, 20, 30, 40}));
    ASSERT_TRUE(w.addList(0, 2, V{5}));
    MemoryFiles fs;
    fs.put("f", w.finish());
    Indice ix("f", 512, fs.opener());
    ASSERT_TRUE(ix.SeekList(1, 0));
    EXPECT_EQ(ix.ListFirst(0), 10);
    EXPECT_EQ(readList(ix, 2), (V{5}));
    // Nor into what follows a failed seek, which the search reads as an empty list.
    ASSERT_TRUE(ix.SeekList(1, 0));
    EXPECT_EQ(ix.ListFirst(0), 10);
    EXPECT_FALSE(ix.SeekList(7, 0));
    EXPECT_EQ(ix.ListFirst(0), 0);
}

TEST(Indice, PositionResultCodes)
{
    MemoryFiles fs;
    // Two lists: [1..] = 0x00 0x00 0x05 0xC0, [5..] = 0xC2 0xC0.
    fs.put("f", handMade(2, {0x00, 0x00, 0x05, 0xC0, 0xC2, 0xC0}, {0, 1, 5, 2}));
    cpkLists l;
    EXPECT_EQ(l.Position(1), cpkLists::kNoFile);
    EXPECT_EQ(l.NextInList(), cpkLists::kNoFile);
    ASSERT_TRUE(l.OpenLists("f", fs.opener()));
    EXPECT_EQ(l.NextInList(), cpkLists::kNotPositioned);
    EXPECT_EQ(l.Position(0), cpkLists::kBadOffset);
    EXPECT_EQ(l.Position(-3), cpkLists::kBadOffset);
    EXPECT_EQ(l.Position(3), cpkLists::kNotAfterEndMarker);
    EXPECT_EQ(l.NextInList(), cpkLists::kNotPositioned);
    EXPECT_EQ(l.Position(5), 0);
    EXPECT_EQ(l.Position(1), cpkLists::kBusy);
    EXPECT_EQ(l.NextInList(), 1);
    EXPECT_EQ(l.NextInList(), 2);
    EXPECT_EQ(l.NextInList(), 0);
    EXPECT_EQ(l.Position(1), 0);
    EXPECT_EQ(l.NextInList(), 5);
    l.CloseLists();
    EXPECT_EQ(l.Position(1), cpkLists::kClosed);
    EXPECT_EQ(l.NextInList(), cpkLists::kClosed);
    EXPECT_FALSE(l.OpenLists("f", fs.opener()));

    // The list whose offset is not after an end marker is empty through the index too.
    Indice ix("f", 64, fs.opener());
    EXPECT_TRUE(ix.SeekList(3, 0));
    EXPECT_EQ(ix.ListFirst(0), 0);
    EXPECT_EQ(readList(ix, 1), (V{5}));

    fs.put("trie", {0x00, 0xFF});
    cpkLists other;
    EXPECT_FALSE(other.OpenLists("trie", fs.opener()));
    EXPECT_EQ(other.Position(1), cpkLists::kUnknownVersion);
    EXPECT_EQ(other.NextInList(), cpkLists::kUnknownVersion);
}

TEST(Indice, ThreeKeySpacesAndTypeBytes)
{
    ListIndexWriter w(1);
    w.addKeySpace(4);
    w.addKeySpace(2);
    w.addKeySpace(3);
    EXPECT_EQ(w.addKeySpace(1), -1);
    ASSERT_TRUE(w.addList(0, 1, V{1, 2, 3}));
    ASSERT_TRUE(w.addList(1, 1, V{100}));
    ASSERT_TRUE(w.addList(2, 2, V{7, 9}));
    auto bytes = w.finish();
    MemoryFiles fs;
    fs.put("f", bytes);
    Indice ix("f", 32, fs.opener());
    EXPECT_EQ(ix.typeByte(), 3);
    EXPECT_EQ(readList(ix, 1, 0), (V{1, 2, 3}));
    EXPECT_EQ(readList(ix, 1, 1), (V{100}));
    EXPECT_EQ(readList(ix, 2, 2), (V{7, 9}));
    EXPECT_EQ(ix.ListFirst(3), 0);

    // Type byte 0 loads one key space but answers nothing; other negatives load nothing.
    bytes.back() = 0;
    fs.put("zero", bytes);
    Indice zero("zero", 32, fs.opener());
    EXPECT_EQ(zero.keyCount(0), 4);
    EXPECT_FALSE(zero.SeekList(1, 0));
    EXPECT_EQ(zero.ListFirst(0), 0);
    bytes.back() = 0xFE;
    fs.put("neg", bytes);
    Indice neg("neg", 32, fs.opener());
    EXPECT_EQ(neg.keyCount(0), 0);
    EXPECT_FALSE(neg.SeekList(1, 0));
}

TEST(Indice, WriterRejectsWhatItCannotCode)
{
    ListIndexWriter v1(1);
    v1.addKeySpace(2);
    EXPECT_FALSE(v1.addList(0, 1, V{ListIndexWriter::kMaxRecordV1 + 1}));
    EXPECT_TRUE(v1.addList(0, 1, V{ListIndexWriter::kMaxRecordV1}));
    ListIndexWriter v2;
    v2.addKeySpace(4);
    EXPECT_FALSE(v2.addList(0, 1, V{3, 3}));
    EXPECT_FALSE(v2.addList(0, 1, V{0}));
    EXPECT_FALSE(v2.addList(0, 1, V{ListIndexWriter::kMaxRecordV2 + 1}));
    EXPECT_FALSE(v2.addList(0, 5, V{1}));
    EXPECT_FALSE(v2.addList(1, 1, V{1}));
    // Above the absolute limit through a step.
    ASSERT_TRUE(v2.addList(0, 1, V{ListIndexWriter::kMaxRecordV2, ListIndexWriter::kMaxRecordV2 + 4000}));
    MemoryFiles fs;
    fs.put("f", v2.finish());
    Indice ix("f", 32, fs.opener());
    EXPECT_EQ(readList(ix, 1), (V{ListIndexWriter::kMaxRecordV2, ListIndexWriter::kMaxRecordV2 + 4000}));
}

TEST(Indice, WriterPicksTheShortestEntries)
{
    std::vector<uint8_t> out;
    ASSERT_TRUE(ListIndexWriter::encodeList(2, V{300, 301, 302, 303, 308, 564}, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0x00, 0x01, 0x2C, 0xC3, 0xE5, 0xF1, 0x00, 0xC0}));
    out.clear();
    ASSERT_TRUE(ListIndexWriter::encodeList(1, V{5, 6, 7}, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0x00, 0x00, 0x05, 0x82, 0x80}));
    // A list starts with an absolute number or a run from record 1, never with a step.
    out.clear();
    ASSERT_TRUE(ListIndexWriter::encodeList(2, V{3, 4}, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0x00, 0x00, 0x03, 0xC1, 0xC0}));
    // 40 consecutive numbers from 1: a run of 31 and a run of 9 in version 2, one run in version 1.
    V run(40);
    for (int i = 0; i < 40; ++i)
        run[static_cast<size_t>(i)] = i + 1;
    out.clear();
    ASSERT_TRUE(ListIndexWriter::encodeList(2, run, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0xDF, 0xC9, 0xC0}));
    out.clear();
    ASSERT_TRUE(ListIndexWriter::encodeList(1, run, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0xA8, 0x80}));
}

std::map<int32_t, V> randomLists(std::mt19937& rng, int32_t keys, int32_t maxRecord)
{
    std::map<int32_t, V> lists;
    std::uniform_int_distribution<int> pick(0, 3);
    for (int32_t k = 0; k < keys; ++k) {
        if (pick(rng) == 0)
            continue;
        V v;
        int32_t r = 0;
        const int n = std::uniform_int_distribution<int>(1, 300)(rng);
        for (int i = 0; i < n; ++i) {
            // A mix of consecutive numbers, short and long steps and big jumps.
            const int kind = pick(rng);
            const int32_t gap = kind == 0   ? 1
                                : kind == 1 ? std::uniform_int_distribution<int32_t>(2, 15)(rng)
                                : kind == 2 ? std::uniform_int_distribution<int32_t>(16, 5000)(rng)
                                            : std::uniform_int_distribution<int32_t>(5000, 200000)(rng);
            if (r > maxRecord - gap)
                break;
            r += gap;
            v.push_back(r);
        }
        if (!v.empty())
            lists[k] = v;
    }
    return lists;
}

TEST(Indice, RandomRoundTripsBothVersions)
{
    std::mt19937 rng(1234);
    for (int version : {1, 2}) {
        for (int round = 0; round < 4; ++round) {
            const int32_t keys = std::uniform_int_distribution<int32_t>(1, 200)(rng);
            const auto lists = randomLists(rng, keys, version == 1 ? ListIndexWriter::kMaxRecordV1 : 12000000);
            ListIndexWriter w(version);
            w.addKeySpace(keys);
            for (const auto& [k, v] : lists)
                ASSERT_TRUE(w.addList(0, k, v)) << w.error();
            MemoryFiles fs;
            fs.put("f", w.finish());
            Indice ix("f", 100 + round * 997, fs.opener()); // block sizes that split entries
            for (int32_t k = 0; k < keys; ++k) {
                const auto it = lists.find(k);
                EXPECT_EQ(readList(ix, k), it == lists.end() ? V{} : it->second)
                    << "version " << version << " key " << k;
            }
        }
    }
}

TEST(Indice, DamagedFilesGiveEmptyLists)
{
    ListIndexWriter w;
    w.addKeySpace(3);
    ASSERT_TRUE(w.addList(0, 1, V{10, 11, 12, 5000, 9000000}));
    ASSERT_TRUE(w.addList(0, 2, V{3}));
    const auto good = w.finish();
    MemoryFiles fs;

    // Every truncation of the file: no crash, no more numbers than the intact list, no stuck reader.
    for (size_t n = 0; n < good.size(); ++n) {
        fs.put("cut", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
        Indice ix("cut", 8, fs.opener());
        for (int32_t k = 0; k < 4; ++k)
            EXPECT_LE(readList(ix, k).size(), 5u);
        EXPECT_FALSE(ix.lists().positioned());
    }

    // A list cut off before its end marker ends with the file.
    fs.put("open", handMade(2, {0x00, 0x00, 0x07, 0xC2}, {0, 1}));
    {
        Indice ix("open", 8, fs.opener());
        EXPECT_EQ(readList(ix, 1), (V{7, 8, 9})); // then the key table's 0x00 0x00 0x00 stops it
        EXPECT_FALSE(ix.lists().positioned());
    }

    // Key table outside the file, absurd key counts.
    std::vector<uint8_t> bad = good;
    bytes::setLe32(&bad[bad.size() - 9], 0x7FFFFFF0);
    fs.put("table", bad);
    {
        Indice ix("table", 64, fs.opener());
        EXPECT_EQ(ix.keyCount(0), 0);
        EXPECT_FALSE(ix.SeekList(1, 0));
    }
    bad = good;
    bytes::setLe32(&bad[bad.size() - 5], 0x7FFFFFFF);
    fs.put("count", bad);
    {
        Indice ix("count", 64, fs.opener());
        EXPECT_EQ(ix.keyCount(0), 0);
    }
    // Entries pointing at arbitrary bytes: numbers that stop ascending end the list.
    fs.put("desc", handMade(2, {0x00, 0x00, 0x09, 0x00, 0x00, 0x04, 0xE0, 0xC0}, {0, 1}));
    {
        Indice ix("desc", 64, fs.opener());
        EXPECT_EQ(readList(ix, 1), (V{9}));
        EXPECT_FALSE(ix.lists().positioned());
    }
    // A missing file: nothing at all.
    Indice missing("nope", 64, fs.opener());
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.typeByte(), 0);
    EXPECT_FALSE(missing.SeekList(0, 0));
    EXPECT_EQ(missing.ListFirst(0), 0);
    EXPECT_EQ(missing.Query("ABC", 0), nullptr);
}

} // namespace
