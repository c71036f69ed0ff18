// The batch posting reader gives exactly the numbers that QueryNext gives for the same answer: whole
// words and prefixes of random word sets, block sizes that split entries, batches of every size, and
// damaged files.
#include "builder/WordIndexWriter.h"
#include "engine/Indice.h"
#include "engine/PostingReader.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

using V = std::vector<int32_t>;

V viaQueryNext(Indice& ix, std::string_view key, int area)
{
    V out;
    auto q = ix.Query(key, area);
    if (!q)
        return out;
    for (int32_t r = ix.QueryNext(*q); r != 0 && out.size() < 1'000'000; r = ix.QueryNext(*q))
        out.push_back(r);
    ix.FreeQuery(std::move(q));
    return out;
}

V viaReader(Indice& ix, std::string_view key, int area, std::mt19937& rng)
{
    V out;
    auto q = ix.Query(key, area);
    if (!q)
        return out;
    PostingReader reader(ix, *q);
    std::vector<int32_t> batch(300);
    for (;;) {
        const auto max = std::uniform_int_distribution<int32_t>(1, 300)(rng);
        const int32_t got = reader.Next(batch.data(), max);
        EXPECT_LE(got, max);
        out.insert(out.end(), batch.begin(), batch.begin() + got);
        if (got < max || out.size() >= 1'000'000)
            break;
    }
    EXPECT_EQ(reader.Next(batch.data(), 10), 0) << "an exhausted answer stays exhausted";
    ix.FreeQuery(std::move(q));
    return out;
}

struct Words {
    std::vector<uint8_t> index;
    std::vector<uint8_t> table;
    std::set<std::string> keys;
};

Words randomWords(std::mt19937& rng)
{
    const std::string letters = "AAEEIOUBCLMNRSTZ";
    WordIndexWriter w;
    Words out;
    const int words = std::uniform_int_distribution<int>(20, 200)(rng);
    for (int i = 0; i < words; ++i) {
        std::string word;
        for (int k = std::uniform_int_distribution<int>(1, 9)(rng); k > 0; --k)
            word.push_back(letters[std::uniform_int_distribution<size_t>(0, letters.size() - 1)(rng)]);
        out.keys.insert(word);
        for (int area = 0; area < 2; ++area) {
            int32_t r = std::uniform_int_distribution<int32_t>(1, 1000)(rng);
            // Runs of consecutive records (the run entries, short and up to their longest) and jumps
            // (the absolute ones).
            const double consecutive =
                std::vector<double>{0.2, 0.7, 0.99}[std::uniform_int_distribution<size_t>(0, 2)(rng)];
            for (int k = std::uniform_int_distribution<int>(0, 400)(rng); k > 0 && r <= WordIndexWriter::kMaxRecord;
                 --k) {
                EXPECT_TRUE(w.addWord(word, area, r));
                r += std::bernoulli_distribution(consecutive)(rng)
                         ? 1
                         : std::uniform_int_distribution<int32_t>(2, 90000)(rng);
            }
        }
    }
    EXPECT_TRUE(w.finish()) << w.error();
    out.index = w.indexBytes();
    out.table.assign(w.tableBytes().begin(), w.tableBytes().end());
    return out;
}

// Every stored word whole and by its prefixes, in both areas. Returns how many numbers were compared.
size_t expectSameAnswers(Indice& ix, const std::set<std::string>& keys, std::mt19937& rng, const std::string& what)
{
    size_t numbers = 0;
    for (const std::string& key : keys)
        for (int area = 0; area < 2; ++area)
            for (size_t p = 1; p <= key.size() + 1; ++p) {
                const std::string asked = p > key.size() ? key + "." : key.substr(0, p);
                const V expected = viaQueryNext(ix, asked, area);
                EXPECT_EQ(viaReader(ix, asked, area, rng), expected) << what << " " << asked << " area " << area;
                numbers += expected.size();
            }
    return numbers;
}

TEST(PostingReader, ReadsWhatQueryNextReads)
{
    std::mt19937 rng(5);
    size_t numbers = 0;
    for (int round = 0; round < 4; ++round) {
        const Words words = randomWords(rng);
        MemoryFiles fs;
        fs.put("ixpal.idx", words.index);
        fs.put("ixpal.hfm", words.table);
        Indice ix("ixpal.idx", 5 + round * 419, fs.opener()); // blocks that split entries
        ASSERT_TRUE(ix.LoadCodeTable("ixpal.hfm", fs.opener()));
        numbers += expectSameAnswers(ix, words.keys, rng, "round " + std::to_string(round));
    }
    EXPECT_GT(numbers, 100'000u);
}

TEST(PostingReader, DamagedFilesEndWhereQueryNextEndsThem)
{
    std::mt19937 rng(9);
    const Words words = randomWords(rng);
    MemoryFiles fs;
    fs.put("ixpal.hfm", words.table);
    size_t numbers = 0;
    for (int round = 0; round < 30; ++round) {
        std::vector<uint8_t> bad = words.index;
        if (round % 3 == 0)
            bad.resize(std::uniform_int_distribution<size_t>(bad.size() / 2, bad.size())(rng));
        // Scribbles over the posting groups only: the trie stays walkable, the groups do not.
        for (int k = std::uniform_int_distribution<int>(1, 30)(rng); k > 0; --k)
            bad[std::uniform_int_distribution<size_t>(0, bad.size() / 2)(rng)] = static_cast<uint8_t>(rng());
        fs.put("ixpal.idx", bad);
        Indice ix("ixpal.idx", 16 + round, fs.opener());
        ASSERT_TRUE(ix.LoadCodeTable("ixpal.hfm", fs.opener()));
        numbers += expectSameAnswers(ix, words.keys, rng, "round " + std::to_string(round));
    }
    EXPECT_GT(numbers, 10'000u);
}

} // namespace
