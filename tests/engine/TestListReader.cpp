// The batch list reader gives exactly the numbers that the index's own list reader gives: both list
// versions, every key, block sizes that split entries, batches of every size, and damaged files.
#include "builder/ListIndexWriter.h"
#include "engine/Bytes.h"
#include "engine/Indice.h"
#include "engine/ListReader.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using V = std::vector<int32_t>;

V viaIndice(Indice& ix, int32_t key, int32_t space)
{
    V out;
    if (!ix.SeekList(key, space))
        return out;
    for (int32_t r = ix.ListFirst(space); r != 0 && out.size() < 2'000'000; r = ix.ListNext(space))
        out.push_back(r);
    return out;
}

// The list through ListReader in batches of random sizes; seeks is what Seek answered.
V viaReader(Indice& ix, int32_t key, int32_t space, std::mt19937& rng, bool& seeks)
{
    ListReader reader;
    seeks = reader.Seek(&ix, key, space);
    V out;
    std::vector<int32_t> batch(200);
    for (;;) {
        const auto max = std::uniform_int_distribution<int32_t>(1, 200)(rng);
        const int32_t got = reader.Next(batch.data(), max);
        EXPECT_LE(got, max);
        out.insert(out.end(), batch.begin(), batch.begin() + got);
        if (got < max || out.size() >= 2'000'000)
            break;
    }
    EXPECT_EQ(reader.Next(batch.data(), 10), 0) << "an ended list stays ended";
    return out;
}

// Returns how many numbers the lists held, so that a test can tell it compared something.
size_t expectSameLists(Indice& ix, int32_t keys, int32_t spaces, std::mt19937& rng, const std::string& what)
{
    size_t numbers = 0;
    for (int32_t space = -1; space <= spaces; ++space)
        for (int32_t key = -1; key <= keys + 1; ++key) {
            const bool indiceSeeks = ix.SeekList(key, space);
            bool readerSeeks = false;
            const V got = viaReader(ix, key, space, rng, readerSeeks);
            EXPECT_EQ(readerSeeks, indiceSeeks) << what << " key " << key << " space " << space;
            EXPECT_EQ(got, viaIndice(ix, key, space)) << what << " key " << key << " space " << space;
            numbers += got.size();
        }
    return numbers;
}

std::vector<uint8_t> randomIndex(std::mt19937& rng, int version, int32_t& keys)
{
    keys = std::uniform_int_distribution<int32_t>(1, 60)(rng);
    const int32_t maxRecord = version == 1 ? ListIndexWriter::kMaxRecordV1 : ListIndexWriter::kMaxRecordV2;
    ListIndexWriter w(version);
    w.addKeySpace(keys);
    for (int32_t k = 1; k < keys; ++k) {
        V v;
        int32_t r = 0;
        const int n = std::uniform_int_distribution<int>(0, 700)(rng);
        for (int i = 0; i < n; ++i) {
            // Runs long enough to cross batches, short and long steps, big jumps.
            const int kind = std::uniform_int_distribution<int>(0, 4)(rng);
            const int32_t gap = kind <= 1   ? 1
                                : kind == 2 ? std::uniform_int_distribution<int32_t>(2, 15)(rng)
                                : kind == 3 ? std::uniform_int_distribution<int32_t>(16, 4000)(rng)
                                            : std::uniform_int_distribution<int32_t>(4000, 300000)(rng);
            if (r > maxRecord - gap)
                break;
            r += gap;
            v.push_back(r);
        }
        if (!v.empty()) {
            EXPECT_TRUE(w.addList(0, k, v)) << w.error();
        }
    }
    return w.finish();
}

TEST(ListReader, ReadsWhatTheIndexReadsInBothVersions)
{
    std::mt19937 rng(42);
    size_t numbers = 0;
    for (int version : {1, 2})
        for (int round = 0; round < 4; ++round) {
            int32_t keys = 0;
            MemoryFiles fs;
            fs.put("f", randomIndex(rng, version, keys));
            Indice ix("f", 7 + round * 331, fs.opener()); // blocks that split entries
            numbers += expectSameLists(ix, keys, 1, rng, "version " + std::to_string(version));
        }
    EXPECT_GT(numbers, 20'000u);
}

TEST(ListReader, ThreeKeySpacesAndTheKeyPastTheTable)
{
    ListIndexWriter w;
    const int32_t a = w.addKeySpace(10000);
    const int32_t b = w.addKeySpace(3);
    const int32_t c = w.addKeySpace(5);
    ASSERT_TRUE(w.addList(a, 10000, V{4, 9, 12}));
    ASSERT_TRUE(w.addList(b, 2, V{7, 8, 9, 10}));
    ASSERT_TRUE(w.addList(c, 4, V{1, 100000}));
    MemoryFiles fs;
    fs.put("f", w.finish());
    Indice ix("f", 64, fs.opener());
    std::mt19937 rng(1);
    bool seeks = false;
    EXPECT_EQ(viaReader(ix, 0, 0, rng, seeks), (V{4, 9, 12}));
    EXPECT_TRUE(seeks);
    EXPECT_EQ(viaReader(ix, 2, 1, rng, seeks), (V{7, 8, 9, 10}));
    EXPECT_EQ(viaReader(ix, 4, 2, rng, seeks), (V{1, 100000}));
    EXPECT_TRUE(viaReader(ix, 1, 3, rng, seeks).empty());
    EXPECT_FALSE(seeks);
    ListReader none;
    EXPECT_FALSE(none.Seek(nullptr, 1, 0));
    int32_t out[4];
    EXPECT_EQ(none.Next(out, 4), 0);
}

// Two readers on one index, batch after batch in turn, with the index's own reads in between:
// each still reads its own list.
TEST(ListReader, ReadersTakingTurnsOnOneIndex)
{
    std::mt19937 rng(3);
    int32_t keys = 0;
    MemoryFiles fs;
    fs.put("f", randomIndex(rng, 2, keys));
    Indice ix("f", 64, fs.opener());
    size_t numbers = 0;
    for (int32_t k = 1; k + 1 < keys; ++k) {
        const V a = viaIndice(ix, k, 0), b = viaIndice(ix, k + 1, 0);
        ListReader ra, rb;
        ra.Seek(&ix, k, 0);
        rb.Seek(&ix, k + 1, 0);
        V gotA, gotB;
        int32_t batch[7];
        for (bool more = true; more;) {
            const int32_t na = ra.Next(batch, 7);
            gotA.insert(gotA.end(), batch, batch + na);
            uint8_t trailer[2];
            (void)ix.ReadAt(trailer, 2, ix.Size() - 2); // the index reads a block of its own
            const int32_t nb = rb.Next(batch, 7);
            gotB.insert(gotB.end(), batch, batch + nb);
            more = na == 7 || nb == 7;
        }
        EXPECT_EQ(gotA, a) << k;
        EXPECT_EQ(gotB, b) << k + 1;
        numbers += a.size();
    }
    EXPECT_GT(numbers, 1000u);
}

TEST(ListReader, DamagedFilesEndWhereTheIndexEndsThem)
{
    std::mt19937 rng(7);
    int32_t keys = 0;
    const std::vector<uint8_t> good = randomIndex(rng, 2, keys);
    MemoryFiles fs;
    size_t numbers = 0;
    // Cut anywhere, and bytes scribbled over lists, tables and trailer.
    for (int round = 0; round < 60; ++round) {
        std::vector<uint8_t> bad = good;
        if (round % 3 == 0)
            bad.resize(std::uniform_int_distribution<size_t>(0, good.size())(rng));
        for (int k = std::uniform_int_distribution<int>(1, 40)(rng); k > 0 && !bad.empty(); --k)
            bad[std::uniform_int_distribution<size_t>(0, bad.size() - 1)(rng)] = static_cast<uint8_t>(rng());
        fs.put("bad", bad);
        Indice ix("bad", 16 + round, fs.opener());
        numbers += expectSameLists(ix, keys, 1, rng, "round " + std::to_string(round));
    }
    EXPECT_GT(numbers, 5'000u) << "most damaged files still hold lists";
    // Hand-made: a step of 0 (not ascending), a version byte of 3, a list not after an end marker.
    auto handMade = [](uint8_t version, const std::vector<uint8_t>& lists, int32_t offset) {
        std::vector<uint8_t> f;
        f.reserve(lists.size() + 17);
        f.push_back(version);
        for (uint8_t b : lists)
            f.push_back(b);
        const auto table = static_cast<uint32_t>(f.size());
        bytes::putLe32(f, 0);
        bytes::putLe32(f, static_cast<uint32_t>(offset));
        bytes::putLe32(f, table);
        bytes::putLe32(f, 2);
        f.push_back(1);
        return f;
    };
    for (const auto& f : {handMade(2, {0x00, 0x00, 0x05, 0xE0, 0xE1, 0xC0}, 1),
                          handMade(3, {0x00, 0x00, 0x05, 0xC0}, 1), handMade(2, {0x00, 0x00, 0x05, 0xC0}, 2),
                          handMade(1, {0x00, 0x00, 0x05, 0xFF, 0xFF, 0x80}, 1), handMade(2, {0xDF, 0xDF}, 1)}) {
        fs.put("hand", f);
        Indice ix("hand", 4, fs.opener());
        expectSameLists(ix, 2, 0, rng, "hand-made");
    }
}

} // namespace
