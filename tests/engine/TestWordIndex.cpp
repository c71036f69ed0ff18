#include "builder/HuffmanTableBuilder.h"
#include "builder/WordIndexWriter.h"
#include "engine/Bytes.h"
#include "engine/Indice.h"
#include "engine/WordFold.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <set>

namespace {

using V = std::vector<int32_t>;

struct Built {
    MemoryFiles fs;
    std::unique_ptr<Indice> ix;
    std::vector<uint8_t> index;
    std::vector<uint8_t> table;
};

std::unique_ptr<Built> open(WordIndexWriter& w, int32_t blockSize = 10240)
{
    auto b = std::make_unique<Built>();
    EXPECT_TRUE(w.finish()) << w.error();
    b->index = w.indexBytes();
    b->table.assign(w.tableBytes().begin(), w.tableBytes().end());
    b->fs.put("ixpal.idx", b->index);
    b->fs.put("ixpal.hfm", b->table);
    b->ix = std::make_unique<Indice>("ixpal.idx", blockSize, b->fs.opener());
    EXPECT_TRUE(b->ix->LoadCodeTable("ixpal.hfm", b->fs.opener()));
    return b;
}

// Every number of an answer, and its group count; groups = -1 when there is no answer at all.
struct Answer {
    int32_t groups = -1;
    V records;
};

Answer ask(Indice& ix, std::string_view key, int area)
{
    Answer a;
    auto q = ix.Query(key, area);
    if (!q)
        return a;
    a.groups = q->groups();
    for (int32_t r = ix.QueryNext(*q); r != 0 && a.records.size() < 10000000; r = ix.QueryNext(*q))
        a.records.push_back(r);
    ix.FreeQuery(std::move(q));
    return a;
}

WordIndexWriter sampleWriter()
{
    WordIndexWriter w;
    w.addWord("MARTIN", 0, 3);
    w.addWord("MARTIN", 0, 9);
    w.addWord("MARTIN", 1, 4);
    w.addWord("MARTINEZ", 0, 2);
    w.addWord("MARTINEZ", 0, 3);
    w.addWord("MARTINEZ", 0, 4);
    w.addWord("MARQUEZ", 0, 20);
    w.addWord("RIVADAVIA", 1, 7); // an address word only
    w.addWord("RIVADAVIA", 1, 8);
    w.addWord("CONSTRUCTORAS", 0, 11); // stored as CONSTRUCTOR
    w.addWord("ZAPATA", 0, 5);
    return w;
}

TEST(WordIndex, WholeWordsAndPrefixes)
{
    WordIndexWriter w = sampleWriter();
    auto b = open(w);
    Indice& ix = *b->ix;
    ASSERT_TRUE(ix.isTrie());

    Answer a = ask(ix, "MARTIN.", 0);
    EXPECT_EQ(a.groups, 1);
    EXPECT_EQ(a.records, (V{3, 9}));
    EXPECT_EQ(ask(ix, "MARTIN.", 1).records, (V{4}));

    // MARTIN and MARTINEZ: two groups, each ascending, one after the other.
    a = ask(ix, "MARTIN", 0);
    EXPECT_EQ(a.groups, 2);
    V sorted = a.records;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (V{2, 3, 3, 4, 9}));
    EXPECT_TRUE(a.records == (V{3, 9, 2, 3, 4}) || a.records == (V{2, 3, 4, 3, 9}));
    a = ask(ix, "MAR", 0);
    EXPECT_EQ(a.groups, 3);
    EXPECT_EQ(a.records.size(), 6u);
    EXPECT_EQ(ask(ix, "MAR", 1).groups, 1);

    // A word only in addresses, asked among names: an answer of zero groups.
    a = ask(ix, "RIVADAVIA.", 0);
    EXPECT_EQ(a.groups, 0);
    EXPECT_TRUE(a.records.empty());
    EXPECT_EQ(ask(ix, "RIVA", 0).groups, 0);
    EXPECT_EQ(ask(ix, "RIVA", 1).records, (V{7, 8}));

    // Not in the index at all.
    // (A partial last byte that matches no entry gives an answer of zero groups.)
    for (const char* key : {"MARTINO", "MARTI.", "QQQ", "MARTINEZZ"}) {
        a = ask(ix, key, 0);
        EXPECT_LE(a.groups, 0) << key;
        EXPECT_TRUE(a.records.empty()) << key;
    }

    // Keys longer than 11 characters are cut to 11, both when stored and when asked.
    EXPECT_EQ(ask(ix, "CONSTRUCTORES", 0).records, (V{11}));
    EXPECT_EQ(ask(ix, "CONSTRUCTOR.", 0).records, (V{11}));
    // Lower case with leading blanks finds what the upper-case key finds.
    EXPECT_EQ(ask(ix, "   martinez.", 0).records, (V{2, 3, 4}));
    EXPECT_EQ(ask(ix, "\tzap", 0).records, (V{5}));
}

TEST(WordIndex, ExhaustedAnswersStayExhausted)
{
    WordIndexWriter w = sampleWriter();
    auto b = open(w);
    auto q = b->ix->Query("ZAPATA.", 0);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(b->ix->QueryNext(*q), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(b->ix->QueryNext(*q), 0);
    EXPECT_EQ(q->group(), q->groups());
}

TEST(WordIndex, InterleavedQueriesShareTheBlockBuffer)
{
    WordIndexWriter w;
    for (int32_t r = 1; r <= 3000; ++r) {
        w.addWord(r % 2 ? "IMPAR" : "PAR", 0, r);
        if (r % 3 == 0)
            w.addWord("TRES", 0, r);
    }
    auto b = open(w, 64);
    auto odd = b->ix->Query("IMPAR.", 0);
    auto three = b->ix->Query("TRES.", 0);
    ASSERT_TRUE(odd && three);
    for (int32_t i = 0; i < 1000; ++i) {
        EXPECT_EQ(b->ix->QueryNext(*odd), 2 * i + 1);
        EXPECT_EQ(b->ix->QueryNext(*three), 3 * (i + 1));
    }
}

TEST(WordIndex, KeysShorterThanOneByteMatchAtTheRoot)
{
    // With 'A' far more frequent than anything else its code is one bit long, so the prefix "A"
    // codes to less than a byte and is matched against the root's entries.
    WordIndexWriter w;
    SymbolCounts counts{};
    counts['A'] = 1000000;
    for (unsigned char c : std::string("BCDEFGHIJKLMNOPQRSTUVWXYZ"))
        counts[c] = 10;
    counts[0] = 100;
    w.setCodeTable(buildHuffmanTable(counts));
    w.addWord("AAB", 0, 1);
    w.addWord("ABC", 0, 2);
    w.addWord("BAA", 0, 3);
    w.addWord("CAB", 0, 4);
    auto b = open(w);
    ASSERT_EQ(b->ix->codeTable().codeLength('A'), 1);
    Answer a = ask(*b->ix, "A", 0);
    EXPECT_EQ(a.groups, 2);
    V sorted = a.records;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (V{1, 2}));
    EXPECT_EQ(ask(*b->ix, "B", 0).records, (V{3}));

    // A character without a code in a given table cannot be stored.
    WordIndexWriter bad;
    bad.setCodeTable(buildHuffmanTable(counts));
    bad.addWord("A1B", 0, 1);
    EXPECT_FALSE(bad.finish());
}

TEST(WordIndex, RecordTextsAreSplitAsTheSearchSplitsIt)
{
    WordIndexWriter w;
    w.addRecordText(1, "P\xE9rez y Cia. S.A.", "Av. San Mart\xEDn 1234");
    w.addRecordText(2, "Jos\xC9 Gonz\xE1lez", "O'Higgins 55");
    auto b = open(w);
    Indice& ix = *b->ix;
    auto find = [&](std::string_view text, int area) {
        std::set<int32_t> hits;
        for (const std::string& word : wordfold::splitWords(text, area))
            for (int32_t r : ask(ix, word, area).records)
                hits.insert(r);
        return hits;
    };
    EXPECT_EQ(find("PEREZ", 0), (std::set<int32_t>{1}));
    EXPECT_EQ(find("p\xE9rez", 0), (std::set<int32_t>{1}));
    EXPECT_EQ(find("S.A.", 0), (std::set<int32_t>{1})); // whole word S.A
    EXPECT_EQ(find("CIA.", 0), (std::set<int32_t>{1}));
    EXPECT_EQ(find("jos\xC9", 0), (std::set<int32_t>{2}));
    EXPECT_EQ(find("GONZALEZ", 0), (std::set<int32_t>{2}));
    EXPECT_EQ(find("av. san martin", 1), (std::set<int32_t>{1}));
    EXPECT_EQ(find("o'higgins", 1), (std::set<int32_t>{2}));
    EXPECT_TRUE(find("SAN", 0).empty());
}

TEST(WordIndex, RandomWordSetsRoundTrip)
{
    std::mt19937 rng(99);
    const std::string letters = "AAAEEEIOOUBCDLMNRSTZ\xD1";
    for (int round = 0; round < 6; ++round) {
        std::map<std::string, std::set<int32_t>> stored[2];
        WordIndexWriter w;
        const int words = std::uniform_int_distribution<int>(1, 400)(rng);
        for (int i = 0; i < words; ++i) {
            std::string word;
            const int len = std::uniform_int_distribution<int>(1, 14)(rng);
            for (int k = 0; k < len; ++k)
                word.push_back(letters[std::uniform_int_distribution<size_t>(0, letters.size() - 1)(rng)]);
            const int areas = std::uniform_int_distribution<int>(1, 3)(rng);
            for (int area = 0; area < 2; ++area) {
                if (!(areas & (1 << area)))
                    continue;
                const int n = std::uniform_int_distribution<int>(1, 80)(rng);
                int32_t r = std::uniform_int_distribution<int32_t>(1, 100)(rng);
                for (int k = 0; k < n && r <= WordIndexWriter::kMaxRecord; ++k) {
                    ASSERT_TRUE(w.addWord(word, area, r));
                    stored[area][word.substr(0, 11)].insert(r);
                    r += std::uniform_int_distribution<int32_t>(0, 3)(rng) == 0
                             ? 1
                             : std::uniform_int_distribution<int32_t>(1, 300000)(rng);
                }
            }
        }
        auto b = open(w, 512);
        Indice& ix = *b->ix;
        std::set<std::string> keys;
        for (const auto& s : stored)
            for (const auto& [k, v] : s)
                keys.insert(k);
        for (const std::string& key : keys) {
            for (int area = 0; area < 2; ++area) {
                // The whole word.
                const auto it = stored[area].find(key);
                Answer a = ask(ix, key + ".", area);
                if (it == stored[area].end()) {
                    EXPECT_LE(a.groups, 0) << key;
                    EXPECT_TRUE(a.records.empty());
                } else {
                    EXPECT_EQ(a.groups, 1) << key;
                    EXPECT_EQ(a.records, V(it->second.begin(), it->second.end())) << key;
                }
                // Every prefix: ends on and off byte boundaries, as the code lengths vary.
                for (size_t p = 1; p <= key.size(); ++p) {
                    const std::string prefix = key.substr(0, p);
                    V expected;
                    int32_t groups = 0;
                    for (auto s = stored[area].lower_bound(prefix);
                         s != stored[area].end() && s->first.starts_with(prefix); ++s) {
                        expected.insert(expected.end(), s->second.begin(), s->second.end());
                        ++groups;
                    }
                    a = ask(ix, prefix, area);
                    std::sort(expected.begin(), expected.end());
                    std::sort(a.records.begin(), a.records.end());
                    EXPECT_EQ(std::max(a.groups, 0), groups) << prefix << " area " << area;
                    EXPECT_EQ(a.records, expected) << prefix << " area " << area;
                }
            }
        }
    }
}

// The trailer of a hand-made trie: X0, X1, levels, R, D, 0xFF.
void trailer(std::vector<uint8_t>& f, uint32_t x0, uint32_t x1, const std::vector<uint32_t>& levels, uint8_t root)
{
    bytes::putLe32(f, x0);
    bytes::putLe32(f, x1);
    for (uint32_t l : levels)
        bytes::putLe32(f, l);
    f.push_back(root);
    f.push_back(static_cast<uint8_t>(levels.size()));
    f.push_back(0xFF);
}

class DamagedTrie : public ::testing::Test {
protected:
    void SetUp() override
    {
        WordIndexWriter w = sampleWriter();
        ASSERT_TRUE(w.finish());
        m_good = w.indexBytes();
        m_table.assign(w.tableBytes().begin(), w.tableBytes().end());
    }

    // Every kind of query against the file: none may crash or run on without end.
    std::vector<Answer> askAll(const std::vector<uint8_t>& file)
    {
        MemoryFiles fs;
        fs.put("t", file);
        fs.put("h", m_table);
        Indice ix("t", 16, fs.opener());
        EXPECT_TRUE(ix.LoadCodeTable("h", fs.opener()));
        std::vector<Answer> out;
        for (const char* key : {"MARTIN.", "MARTIN", "MAR", "M", "RIVADAVIA.", "ZAPATA", "CONSTRUCTOR."})
            for (int area = 0; area < 2; ++area)
                out.push_back(ask(ix, key, area));
        return out;
    }

    std::vector<uint8_t> m_good;
    std::vector<uint8_t> m_table;
};

TEST_F(DamagedTrie, TruncatedFiles)
{
    for (size_t n = 0; n < m_good.size(); ++n) {
        for (const Answer& a :
             askAll(std::vector<uint8_t>(m_good.begin(), m_good.begin() + static_cast<std::ptrdiff_t>(n))))
            EXPECT_LE(a.records.size(), 6u);
    }
}

TEST_F(DamagedTrie, EveryByteFlipped)
{
    for (size_t i = 0; i < m_good.size(); ++i) {
        for (uint8_t v : {0x00, 0x7F, 0xFF}) {
            std::vector<uint8_t> f = m_good;
            f[i] = v;
            for (const Answer& a : askAll(f))
                EXPECT_LE(a.records.size(), 4000000u) << i; // bounded by the file
        }
    }
}

TEST_F(DamagedTrie, LevelsAndChildrenOutsideTheFile)
{
    // Level 0 outside the file.
    std::vector<uint8_t> f{0xFF};
    trailer(f, 0, 0, {0x10000000}, 3);
    for (const Answer& a : askAll(f)) {
        EXPECT_LE(a.groups, 0);
        EXPECT_TRUE(a.records.empty());
    }

    // A root whose entries point into a level that the trailer does not list (depth beyond D),
    // and a child offset far outside level 1.
    f = {0xFF};
    const auto level0 = static_cast<uint32_t>(f.size());
    for (int k = 0; k < 255; ++k) {
        f.push_back(static_cast<uint8_t>(k));
        f.push_back(3);
        bytes::putLe24(f, k % 2 ? 0 : 0xFFFFFF);
    }
    trailer(f, 0, 0, {level0}, 255);
    for (const Answer& a : askAll(f)) {
        EXPECT_LE(a.groups, 0);
        EXPECT_TRUE(a.records.empty());
    }
}

TEST_F(DamagedTrie, SharedChildrenCannotBlowUpTheCount)
{
    // Every entry of every level points at the same full node of the next level: a subtree of
    // 255^99 paths made of only 25,000 bytes. The count must stop and answer nothing.
    std::vector<uint8_t> f{0xFF};
    std::vector<uint32_t> levels;
    for (int d = 0; d < 100; ++d) {
        levels.push_back(static_cast<uint32_t>(f.size()));
        for (int k = 0; k < 255; ++k) {
            f.push_back(static_cast<uint8_t>(k));
            if (d == 99) {
                f.push_back(0);
                bytes::putLe32(f, 1);
                bytes::putLe32(f, 1);
            } else {
                f.push_back(255);
                bytes::putLe24(f, 0);
            }
        }
    }
    trailer(f, 0, 0, levels, 255);
    const auto start = std::chrono::steady_clock::now();
    for (const Answer& a : askAll(f))
        EXPECT_LE(a.groups, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(WordIndex, GroupsThatNeverCloseEndWithTheFile)
{
    // A table of two one-bit codes: "AAAAAAA." is a one-byte key, a leaf at the root. Its group
    // lacks the closing 0xFF and runs into the trie and the trailer.
    SymbolCounts counts{};
    counts['A'] = 10;
    counts[0] = 5;
    const auto table = buildHuffmanTable(counts);
    huffman h;
    h.loadBytes(table.data(), table.size());
    uint8_t coded[4];
    ASSERT_EQ(h.Encode(coded, 4, "AAAAAAA", 0), 8);
    std::vector<uint8_t> f{0xFF, 0x00, 0x00, 0x05, 0xC3};
    const auto level0 = static_cast<uint32_t>(f.size());
    f.push_back(coded[0]);
    f.push_back(0);
    bytes::putLe32(f, 1);
    bytes::putLe32(f, 0);
    trailer(f, 0, 0, {level0}, 1);
    MemoryFiles fs;
    fs.put("t", f);
    fs.put("h", std::vector<uint8_t>(table.begin(), table.end()));
    Indice ix("t", 4, fs.opener());
    ASSERT_TRUE(ix.LoadCodeTable("h", fs.opener()));
    for (const char* key : {"AAAAAAA.", "AAAAAAA", "AAAA"}) {
        auto q = ix.Query(key, 0);
        ASSERT_NE(q, nullptr) << key;
        EXPECT_EQ(q->groups(), 1);
        V got;
        for (int32_t r = ix.QueryNext(*q); r != 0 && got.size() < 100; r = ix.QueryNext(*q))
            got.push_back(r);
        ASSERT_GE(got.size(), 4u);
        EXPECT_EQ(V(got.begin(), got.begin() + 4), (V{5, 6, 7, 8}));
        EXPECT_LT(got.size(), 100u) << "the answer must end by itself";
        EXPECT_EQ(ix.QueryNext(*q), 0);
        EXPECT_EQ(ix.QueryNext(*q), 0);
    }
}

} // namespace
