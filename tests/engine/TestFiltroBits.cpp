#include "builder/FlagFileWriter.h"
#include "engine/FiltroBits.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Flags = FlagFileWriter::RecordFlags;

std::vector<uint8_t> limits(std::initializer_list<std::tuple<char, int32_t, int32_t>> entries)
{
    std::vector<uint8_t> out;
    for (const auto& [letter, first, last] : entries)
        FlagFileWriter::appendLimitsEntry(out, static_cast<uint8_t>(letter), first, last);
    return out;
}

// A bit set of 2000 records with the guides A 1-1000, C 1001-1500, P 1501-1600 and the given
// "QD.flg" bytes.
struct GuideFixture {
    explicit GuideFixture(std::vector<uint8_t> flags = {})
    {
        fs.put("QD.flg", std::move(flags));
        fs.put("QD.lmt", limits({{'A', 1, 1000}, {'C', 1001, 1500}, {'P', 1501, 1600}}));
        EXPECT_TRUE(bits.LoadFlags("QD.flg", fs.opener()));
        EXPECT_TRUE(bits.LoadLimits("QD.lmt", fs.opener()));
        EXPECT_TRUE(bits.SelectRange(0));
    }
    MemoryFiles fs;
    FiltroBits bits{2000};
};

// Hands out at most 777 bytes per read, as a pipe or a network drive may.
class ShortReadSource final : public ByteSource {
public:
    explicit ShortReadSource(std::vector<uint8_t> bytes) : m_inner(std::move(bytes)) {}
    int64_t size() override { return -1; }
    int64_t readAt(int64_t pos, void* dst, int64_t n) override
    {
        return m_inner.readAt(pos, dst, std::min<int64_t>(n, 777));
    }

private:
    MemoryByteSource m_inner;
};

std::vector<uint8_t> randomBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = static_cast<uint8_t>(rng());
    return v;
}

// ---- Loading

TEST(FiltroBitsLoading, GuideRangesSelectionAndUnionView)
{
    GuideFixture f;
    FiltroBits& b = f.bits;
    EXPECT_TRUE(b.SelectRange(1));
    EXPECT_EQ(b.FirstPassing(), 1001);
    EXPECT_EQ(b.PrevPassing(), 0);
    EXPECT_EQ(b.cursor(), 1000); // one before the range
    EXPECT_EQ(b.NextPassing(), 1001);

    EXPECT_FALSE(b.SelectRange(-1));
    EXPECT_EQ(b.selectedRange(), 0);
    EXPECT_EQ(b.selectedBounds().first, 1);
    EXPECT_EQ(b.selectedBounds().last, 1500);
    EXPECT_TRUE(b.rangesChanged());
    EXPECT_EQ(b.CountPassing(), 1500);
    EXPECT_EQ(b.NthPassing(1200), 1200);

    EXPECT_TRUE(b.SelectRange(2));
    EXPECT_FALSE(b.rangesChanged());
    EXPECT_EQ(b.selectedBounds().first, 1501);
    EXPECT_EQ(b.selectedBounds().last, 1600);
    EXPECT_EQ(b.guideRange(0).last, 1000); // the union was undone
    EXPECT_EQ(b.CountPassing(), 100);
    EXPECT_EQ(b.wordAt(1601), 0u); // past every range: no range bits
}

TEST(FiltroBitsLoading, FlagBytesAreStoredBitsOnly)
{
    MemoryFiles fs;
    fs.put("QD.flg", {0xE0, 0x80, 0x40, 0x20, 0x00, 0xFF});
    FiltroBits b(100);
    ASSERT_TRUE(b.LoadFlags("QD.flg", fs.opener()));
    EXPECT_EQ(b.wordAt(0), 0u);
    EXPECT_EQ(b.wordAt(1), 0xE0u);
    EXPECT_EQ(b.wordAt(6), 0xFFu);
    EXPECT_EQ(b.wordAt(7), 0u);
    ASSERT_TRUE(b.SetGuideRange(0, 1, 6));
    EXPECT_EQ(b.wordAt(1), 0xFFu);
    EXPECT_EQ(b.wordAt(5), 0x1Fu);

    b.SelectRange(0);
    b.SetRequired(7, true); // required = 31 + (1 << 7): only the records with an ad
    EXPECT_EQ(b.required(), 31u + 128u);
    EXPECT_EQ(b.CountPassing(), 3);
    EXPECT_EQ(b.FirstPassing(), 1);
    EXPECT_EQ(b.NextPassing(), 2);
    EXPECT_EQ(b.NextPassing(), 6);
    EXPECT_EQ(b.NextPassing(), 0);
}

TEST(FiltroBitsLoading, FlagsWidenInPlaceAndClearHighBits)
{
    const int32_t size = 1'500'001; // more than one read chunk
    FiltroBits b(size);
    ASSERT_TRUE(b.SetGuideRange(0, 1, size - 1));
    b.SelectRange(0);
    b.SetCodeEverywhere(20, true);
    const auto bytes = randomBytes(1'200'000, 7);
    MemoryFiles fs;
    fs.put("QD.flg", bytes);
    ASSERT_TRUE(b.LoadFlags("QD.flg", fs.opener()));
    int32_t bad = 0;
    for (int32_t n = 1; n <= 1'200'000; ++n)
        bad += b.wordAt(n) != bytes[static_cast<size_t>(n) - 1];
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(b.wordAt(1'200'001), 0x10001Fu); // past the end of the file: unchanged
    EXPECT_EQ(b.wordAt(size - 1), 0x10001Fu);
}

TEST(FiltroBitsLoading, FlagFileLongerThanTheSetAndShortReads)
{
    const auto bytes = randomBytes(500, 3);
    FiltroBits b(100);
    ASSERT_TRUE(b.LoadFlags("x", [&](const std::string&) { return std::make_unique<ShortReadSource>(bytes); }));
    for (int32_t n = 1; n < 100; ++n)
        ASSERT_EQ(b.wordAt(n), bytes[static_cast<size_t>(n) - 1]) << n;
    EXPECT_EQ(b.wordAt(0), 0u);
    EXPECT_EQ(b.wordAt(100), 0u); // outside the set

    // A read that fails part way keeps what was read and leaves the rest of the words alone.
    const int32_t size = (1 << 20) + 5000;
    FiltroBits c(size);
    ASSERT_TRUE(c.SetGuideRange(0, 1, size - 1));
    const auto big = randomBytes(static_cast<size_t>(size) - 1, 4);
    ASSERT_TRUE(
        c.LoadFlags("x", [&](const std::string&) { return std::make_unique<FailingSource>(big, 1 << 20, nullptr); }));
    EXPECT_EQ(c.wordAt(1 << 20), big[(1 << 20) - 1]);
    EXPECT_EQ(c.wordAt((1 << 20) + 1), 0x1Fu);
    EXPECT_EQ(c.wordAt(size - 1), 0x1Fu);
}

TEST(FiltroBitsLoading, MissingFiles)
{
    MemoryFiles fs;
    FiltroBits b(5000);
    ASSERT_TRUE(b.SetGuideRange(1, 10, 20));
    EXPECT_FALSE(b.LoadFlags("QD.flg", fs.opener()));
    EXPECT_EQ(b.wordAt(10), 0x1Fu);
    EXPECT_FALSE(b.LoadLimits("QD.lmt", fs.opener()));
    EXPECT_EQ(b.guideRange(1).first, 10); // unchanged
    // Another data set's flags on the same bit set: the old ranges go with the old data set.
    fs.put("QD.flg", std::vector<uint8_t>(100, 0));
    EXPECT_TRUE(b.LoadFlags("QD.flg", fs.opener()));
    EXPECT_EQ(b.guideRange(1).last, 0);
    EXPECT_EQ(b.savedRange(1).last, 0);

    // No ranges at all: nothing passes, not even with no required bit, and record 0 never does.
    FiltroBits empty(5000);
    EXPECT_FALSE(empty.LoadLimits("QD.lmt", fs.opener()));
    for (int bit = 0; bit < 5; ++bit)
        empty.SetRequired(bit, false);
    EXPECT_EQ(empty.required(), 0u);
    for (int k : {0, 1, 2, -1}) {
        empty.SelectRange(k);
        EXPECT_EQ(empty.CountPassing(), 0) << k;
        EXPECT_EQ(empty.FirstPassing(), 0);
        EXPECT_EQ(empty.NthPassing(1), 0);
        EXPECT_EQ(empty.PrevPassing(), 0);
        EXPECT_FALSE(empty.InRange(0));
        EXPECT_FALSE(empty.Passes(0));
        EXPECT_FALSE(empty.SetBit(0, 14, true));
    }
    EXPECT_EQ(empty.wordAt(0), 0u);
}

TEST(FiltroBitsLoading, DamagedLimitsFiles)
{
    MemoryFiles fs;
    // Bad letters, first above last, past the set, negative: ignored; order of entries is free.
    fs.put("bad", limits({{'P', 300, 200}, {'a', 1, 10}, {'C', 40, 5000}, {'A', -1, 10}}));
    fs.put("order", limits({{'P', 301, 400}, {'A', 1, 100}, {'C', 101, 300}, {'A', 7, 8}}));
    auto truncated = limits({{'A', 1, 100}, {'C', 101, 200}, {'P', 201, 300}});
    truncated.resize(30);
    fs.put("short", truncated);
    fs.put("empty", {});

    FiltroBits b(1000);
    EXPECT_TRUE(b.LoadLimits("bad", fs.opener()));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(b.guideRange(k).first, 0) << k;
        EXPECT_EQ(b.guideRange(k).last, 0) << k;
    }
    EXPECT_EQ(b.wordAt(40), 0u);

    EXPECT_TRUE(b.LoadLimits("order", fs.opener()));
    EXPECT_EQ(b.guideRange(0).first, 1); // the fourth entry is past the three read
    EXPECT_EQ(b.guideRange(0).last, 100);
    EXPECT_EQ(b.guideRange(1).last, 300);
    EXPECT_EQ(b.guideRange(2).first, 301);
    EXPECT_EQ(b.savedRange(2).last, 400);

    FiltroBits c(1000);
    EXPECT_TRUE(c.LoadLimits("short", fs.opener()));
    EXPECT_EQ(c.guideRange(1).last, 200);
    EXPECT_EQ(c.guideRange(2).last, 0); // the cut entry is not used
    EXPECT_TRUE(c.LoadLimits("empty", fs.opener()));
    EXPECT_EQ(c.guideRange(0).last, 100);
}

TEST(FiltroBitsLoading, RangeBoundsOfTheSet)
{
    FiltroBits b(1000);
    EXPECT_TRUE(b.SetGuideRange(2, 999, 999));
    EXPECT_FALSE(b.SetGuideRange(2, 999, 1000));
    EXPECT_FALSE(b.SetGuideRange(3, 1, 2));
    EXPECT_FALSE(b.SetGuideRange(-1, 1, 2));
    // A range from 0 is taken, but record 0 stays out of it.
    EXPECT_TRUE(b.SetGuideRange(0, 0, 10));
    b.SelectRange(0);
    EXPECT_EQ(b.wordAt(0), 0u);
    EXPECT_EQ(b.cursor(), 1);
    EXPECT_EQ(b.CountPassing(), 10);
    EXPECT_EQ(b.PrevPassing(), 0);

    FiltroBits& full = processFiltroBits();
    EXPECT_EQ(&full, &processFiltroBits());
    EXPECT_EQ(full.wordCount(), 12'000'000);
    EXPECT_EQ(full.required(), 31u);
    EXPECT_TRUE(full.SetGuideRange(2, 11'999'990, 11'999'999));
    EXPECT_FALSE(full.SetGuideRange(2, 11'999'990, 12'000'000));
    full.SelectRange(2);
    EXPECT_EQ(full.NthPassing(10), 11'999'999);
    EXPECT_EQ(full.NextPassing(), 0);
    EXPECT_EQ(full.cursor(), 12'000'000);
    EXPECT_EQ(full.PrevPassing(), 11'999'999);
}

// ---- Bits

TEST(FiltroBitsBits, WritesStayInsideTheSelectedRange)
{
    GuideFixture f;
    FiltroBits& b = f.bits;
    b.SelectRange(1);
    EXPECT_FALSE(b.SetBit(500, 14, true)); // a record of the telephone guide
    EXPECT_FALSE(b.SetBit(1501, 14, true));
    EXPECT_EQ(b.wordAt(500), 0x1Fu);
    EXPECT_TRUE(b.SetBit(1001, 14, true));
    EXPECT_TRUE(b.TestBit(1001, 14));
    EXPECT_FALSE(b.TestBit(500, 0)); // set, but not in the selected range

    b.SetCodeEverywhere(20, true);
    EXPECT_EQ(b.wordAt(1000), 0x1Fu);
    EXPECT_EQ(b.wordAt(1001), 0x1Fu | (1u << 14) | (1u << 20));
    EXPECT_EQ(b.wordAt(1500), 0x1Fu | (1u << 20));
    EXPECT_EQ(b.wordAt(1501), 0x1Fu);
    b.ClearCodes((1u << 14) | (1u << 1));
    EXPECT_EQ(b.wordAt(1001), 0x1Du | (1u << 20));
    EXPECT_EQ(b.wordAt(1000), 0x1Fu);
    EXPECT_EQ(b.CountPassing(), 0); // plane 1 is required and now empty
    EXPECT_EQ(b.FirstPassing(), 0);
    EXPECT_EQ(b.cursor(), 1501);
}

TEST(FiltroBitsBits, BitsOutsideTheWordAreRefused)
{
    GuideFixture f;
    FiltroBits& b = f.bits;
    for (int bit : {-1, 32, 40, 1 << 20}) {
        EXPECT_FALSE(b.SetBit(10, bit, true)) << bit;
        EXPECT_FALSE(b.TestBit(10, bit));
        b.SetRequired(bit, true);
        b.SetCodeEverywhere(bit, false);
        EXPECT_FALSE(b.IsRequired(bit));
    }
    EXPECT_EQ(b.required(), 31u);
    EXPECT_EQ(b.wordAt(10), 0x1Fu);
    EXPECT_TRUE(b.SetBit(10, 31, true));
    EXPECT_TRUE(b.TestBit(10, 31));
}

TEST(FiltroBitsBits, CursorRequireAndNth)
{
    GuideFixture f;
    FiltroBits& b = f.bits;
    b.SelectRange(1);
    EXPECT_TRUE(b.SetCursor(1200));
    EXPECT_FALSE(b.SetCursor(1600));
    EXPECT_FALSE(b.SetCursor(-3));
    EXPECT_EQ(b.cursor(), 1200);
    EXPECT_EQ(b.SeekPassing(), 1200);
    b.Require(14);
    EXPECT_EQ(b.cursor(), 1001);
    EXPECT_EQ(b.SeekPassing(), 0);
    for (int32_t n : {1100, 1002, 1499})
        b.SetBit(n, 14, true);
    EXPECT_TRUE(b.SetCursor(0));
    EXPECT_EQ(b.cursor(), 1001);
    EXPECT_EQ(b.NthPassing(1), b.FirstPassing());
    EXPECT_EQ(b.NthPassing(1), 1002);
    EXPECT_EQ(b.NthPassing(0), 1002);
    EXPECT_EQ(b.NthPassing(3), 1499);
    EXPECT_EQ(b.NthPassing(4), 0);
    EXPECT_EQ(b.cursor(), 1501);
    EXPECT_EQ(b.PrevPassing(), 1499);
    EXPECT_EQ(b.PrevPassing(), 1100);
}

TEST(FiltroBitsBits, UnionViewNeedsTheCommercialGuideAfterTheTelephoneGuide)
{
    MemoryFiles fs;
    fs.put("QD.lmt", limits({{'A', 500, 600}, {'C', 1, 100}, {'P', 601, 700}}));
    FiltroBits b(1000);
    ASSERT_TRUE(b.LoadLimits("QD.lmt", fs.opener()));
    EXPECT_FALSE(b.SelectRange(-1));
    EXPECT_EQ(b.selectedBounds().first, 500);
    EXPECT_EQ(b.selectedBounds().last, 600);
    EXPECT_EQ(b.wordAt(300), 0u);
    EXPECT_TRUE(b.SelectRange(1));
    EXPECT_EQ(b.FirstPassing(), 1);
}

// ---- Walks against a plain model

// The plain model: every operation as the simplest loop over the words.
class Model {
public:
    explicit Model(int32_t size) : words(static_cast<size_t>(size), 0) {}

    int32_t lo() const { return std::max(ranges[sel].first, 1); }
    int32_t hi() const { return ranges[sel].last; }
    bool inRange(int32_t n) const { return n >= lo() && n <= hi(); }
    bool passes(int32_t n) const { return inRange(n) && (words[n] & required) == required; }
    static bool bitOk(int bit) { return bit >= 0 && bit < 32; }

    void loadFlags(const std::vector<uint8_t>& bytes)
    {
        for (size_t i = 0; i < bytes.size() && i + 1 < words.size(); ++i)
            words[i + 1] = bytes[i];
    }
    bool setGuideRange(int32_t k, int32_t first, int32_t last)
    {
        if (k < 0 || k > 2 || first < 0 || first > last || last >= static_cast<int32_t>(words.size()))
            return false;
        ranges[k] = {first, last};
        for (int32_t n = std::max(first, 1); n <= last; ++n)
            words[n] |= 31;
        return true;
    }
    bool selectRange(int32_t k)
    {
        if (changed)
            std::copy(saved, saved + 3, ranges);
        changed = false;
        if (k >= 0 && k <= 2) {
            sel = k;
            cursor = lo();
            return true;
        }
        sel = 0;
        setGuideRange(0, ranges[0].first, ranges[1].last);
        changed = true;
        cursor = lo();
        return false;
    }
    bool setBit(int32_t n, int bit, bool on)
    {
        if (!bitOk(bit) || !inRange(n))
            return false;
        words[n] = on ? words[n] | (1u << bit) : words[n] & ~(1u << bit);
        return true;
    }
    void clearCodes(uint32_t mask)
    {
        for (int32_t n = lo(); n <= hi(); ++n)
            words[n] &= ~mask;
    }
    void setEverywhere(int bit, bool on)
    {
        if (bitOk(bit))
            for (int32_t n = lo(); n <= hi(); ++n)
                setBit(n, bit, on);
    }
    void setRequired(int bit, bool on)
    {
        if (bitOk(bit))
            required = on ? required | (1u << bit) : required & ~(1u << bit);
    }
    bool setCursor(int32_t n)
    {
        if (n != 0 && !inRange(n))
            return false;
        cursor = n == 0 ? lo() : n;
        return true;
    }
    int32_t count()
    {
        int32_t c = 0;
        for (int32_t n = lo(); n <= hi(); ++n)
            c += passes(n);
        return c;
    }
    int32_t countThrough(int32_t last) const
    {
        int32_t c = 0;
        for (int32_t n = lo(); n <= std::min(last, hi()); ++n)
            c += passes(n);
        return c;
    }
    int32_t seek()
    {
        for (int32_t n = std::max(cursor, lo()); n <= hi(); ++n)
            if (passes(n))
                return cursor = n;
        cursor = hi() + 1;
        return 0;
    }
    int32_t first()
    {
        cursor = lo();
        return seek();
    }
    int32_t next()
    {
        cursor = std::max(cursor + 1, lo());
        return seek();
    }
    int32_t prev()
    {
        for (int32_t n = std::min(cursor - 1, hi()); n >= lo(); --n)
            if (passes(n))
                return cursor = n;
        cursor = lo() - 1;
        return 0;
    }
    int32_t nth(int32_t k)
    {
        int32_t r = first();
        for (int32_t i = 1; i < k && r != 0; ++i)
            r = next();
        return r;
    }

    std::vector<uint32_t> words;
    FiltroBits::Bounds ranges[3];
    FiltroBits::Bounds saved[3];
    bool changed = false;
    int32_t sel = 0;
    int32_t cursor = 0;
    uint32_t required = 31;
};

constexpr int kPlanes[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 20};

class WalkScenario {
public:
    WalkScenario(int32_t size, uint32_t seed) : m_size(size), m_bits(size), m_model(size), m_rng(seed) {}

    int32_t pick(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(m_rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    int plane() { return kPlanes[pick(0, static_cast<int32_t>(std::size(kPlanes)) - 1)]; }

    void load()
    {
        MemoryFiles fs;
        const auto flags = randomBytes(static_cast<size_t>(m_size) - 1, m_rng());
        fs.put("QD.flg", flags);
        ASSERT_TRUE(m_bits.LoadFlags("QD.flg", fs.opener()));
        m_model.loadFlags(flags);

        // Guides one after the other, with gaps, sometimes from record 0, sometimes empty.
        const int32_t a = chance(0.2) ? 0 : pick(1, 3000);
        const int32_t b = pick(a, m_size / 2);
        const int32_t c = pick(b + 1, m_size * 3 / 4);
        const int32_t p = pick(c + 1, m_size - 1);
        const std::vector<std::tuple<char, int32_t, int32_t>> entries = {
            {'A', a, b}, {'C', chance(0.8) ? b + 1 : b + pick(2, 5000), c}, {'P', c + 1, chance(0.1) ? c : p}};
        std::vector<uint8_t> lmt;
        for (const auto& [letter, first, last] : entries) {
            FlagFileWriter::appendLimitsEntry(lmt, static_cast<uint8_t>(letter), first, last);
            const int k = letter == 'A' ? 0 : letter == 'C' ? 1 : 2;
            m_model.setGuideRange(k, first, last);
        }
        std::copy(m_model.ranges, m_model.ranges + 3, m_model.saved);
        fs.put("QD.lmt", lmt);
        ASSERT_TRUE(m_bits.LoadLimits("QD.lmt", fs.opener()));

        for (int k = 0; k < 3; ++k) {
            ASSERT_EQ(m_bits.SelectRange(k), m_model.selectRange(k));
            for (int bit : kPlanes)
                fillPlane(bit);
        }
    }

    // Writes one plane over the selected range at a random density, sometimes only over one
    // stretch so that whole blocks are empty; onlySet writes only the bits that are set. The range planes are mostly
    // full, as the criteria that a search has not narrowed.
    void fillPlane(int bit, bool onlySet = false)
    {
        const double density = bit <= 4 && chance(0.95) ? 1.0
                                                        : std::vector<double>{0.0, 0.0003, 0.01, 0.2, 0.5,
                                                                              0.9, 0.97,   1.0,  1.0, 1.0}[pick(0, 9)];
        const int32_t first = m_model.lo();
        const int32_t last = m_model.hi();
        if (first > last)
            return;
        const int32_t from = chance(0.3) ? pick(first, last) : first;
        const int32_t to = chance(0.3) ? pick(from, last) : last;
        for (int32_t n = first; n <= last; ++n) {
            const bool on = n >= from && n <= to && chance(density);
            if (onlySet && !on)
                continue;
            m_bits.SetBit(n, bit, on);
            m_model.setBit(n, bit, on);
        }
    }

    // One random operation, compared with the model.
    void step()
    {
        FiltroBits& b = m_bits;
        Model& m = m_model;
        const int32_t anywhere = pick(-2, m_size + 2);
        const int32_t inside = m.lo() <= m.hi() ? pick(m.lo(), m.hi()) : anywhere;
        const int32_t n = chance(0.8) ? inside : anywhere;
        const int bit = chance(0.95) ? plane() : pick(-2, 34);
        const bool on = chance(0.5);
        switch (pick(0, 13)) {
        case 0:
            if (chance(0.3)) {
                const int32_t k = std::vector<int32_t>{-1, 0, 1, 2, 3, -7}[pick(0, 5)];
                ASSERT_EQ(b.SelectRange(k), m.selectRange(k));
            }
            break;
        case 1:
        case 2:
            for (int i = pick(1, 50); i > 0; --i) {
                const int32_t r = chance(0.9) ? inside + pick(-20, 20) : anywhere;
                ASSERT_EQ(b.SetBit(r, bit, on), m.setBit(r, bit, on));
            }
            break;
        case 3:
            ASSERT_EQ(b.TestBit(n, bit), m.inRange(n) && Model::bitOk(bit) && (m.words[n] >> bit & 1));
            ASSERT_EQ(b.Passes(n), m.passes(n));
            break;
        case 4:
            if (chance(0.3)) {
                const bool set = chance(0.7);
                b.SetCodeEverywhere(bit, set);
                m.setEverywhere(bit, set);
            } else {
                // A search pass: the planes of the recomputed criteria are emptied, then the
                // matching records are set.
                const int p1 = plane();
                const int p2 = chance(0.5) ? plane() : p1;
                b.ClearCodes((1u << p1) | (1u << p2));
                m.clearCodes((1u << p1) | (1u << p2));
                if (chance(0.7)) {
                    fillPlane(p1, true);
                    fillPlane(p2, true);
                }
            }
            break;
        case 5: {
            // Keep the mask near what searches use (the range bits and a few more), or nothing passes:
            // require a plane, or release one of the required bits.
            const bool require = m.required == 0 || chance(std::popcount(m.required) > 6 ? 0.1 : 0.5);
            int target = bit;
            if (!require)
                while (!(m.required >> (target = pick(0, 31)) & 1)) {
                }
            if (require && chance(0.5)) {
                b.Require(target);
                m.setRequired(target, true);
                m.cursor = m.lo();
            } else {
                b.SetRequired(target, require);
                m.setRequired(target, require);
            }
            ASSERT_EQ(b.required(), m.required);
            break;
        }
        case 6: {
            const int32_t to = chance(0.2) ? 0 : n;
            ASSERT_EQ(b.SetCursor(to), m.setCursor(to));
            break;
        }
        case 7:
            ASSERT_EQ(b.CountPassing(), m.count());
            ASSERT_EQ(b.PassingCount(), m.count());
            ++(m.count() != 0 ? m_hits : m_misses);
            break;
        case 8:
        case 9:
        case 10:
            for (int i = pick(1, 40); i > 0; --i) {
                switch (pick(0, 5)) {
                case 0: ASSERT_EQ(b.FirstPassing(), m.first()); break;
                case 1: ASSERT_EQ(b.SeekPassing(), m.seek()); break;
                case 2:
                case 3: ASSERT_EQ(b.NextPassing(), m.next()); break;
                default: ASSERT_EQ(b.PrevPassing(), m.prev()); break;
                }
                ++(m.cursor >= m.lo() && m.cursor <= m.hi() ? m_hits : m_misses);
                ASSERT_EQ(b.cursor(), m.cursor);
            }
            break;
        case 11:
        case 12: {
            // Ordinals around the count, anywhere, and the last passing record of a block.
            const int32_t total = m.count();
            const int32_t blockEnd = pick(0, m_size / FiltroBits::kBlockWords) * FiltroBits::kBlockWords - 1;
            const int32_t k = std::vector<int32_t>{-1,
                                                   0,
                                                   1,
                                                   2,
                                                   total,
                                                   total + 1,
                                                   pick(1, total + 2),
                                                   pick(1, total + 2),
                                                   m.countThrough(blockEnd)}[pick(0, 8)];
            const int32_t r = b.NthPassing(k);
            ASSERT_EQ(r, m.nth(k)) << k << " of " << total;
            ++(r != 0 ? m_hits : m_misses);
            break;
        }
        case 13:
            if (chance(0.2)) {
                const int32_t k = pick(-1, 3);
                const int32_t first = pick(-1, m_size);
                const int32_t last = chance(0.8) ? std::min(first + pick(0, 9000), m_size - 1) : pick(-1, m_size);
                ASSERT_EQ(b.SetGuideRange(k, first, last), m.setGuideRange(k, first, last));
            }
            break;
        }
        ASSERT_EQ(b.cursor(), m.cursor);
    }

    void checkWords() const
    {
        for (int32_t n = 0; n < m_size; ++n)
            ASSERT_EQ(m_bits.wordAt(n), m_model.words[n]) << n;
    }

    // Operations that found something and operations that found nothing.
    int m_hits = 0;
    int m_misses = 0;

private:
    int32_t m_size;
    FiltroBits m_bits;
    Model m_model;
    std::mt19937 m_rng;
};

TEST(FiltroBitsWalks, MatchThePlainModel)
{
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        // A last block cut short, and one that ends on a block boundary.
        const int32_t size = seed % 2 ? 5 * FiltroBits::kBlockWords + 777 : 6 * FiltroBits::kBlockWords;
        SCOPED_TRACE("seed " + std::to_string(seed));
        WalkScenario s(size, seed);
        ASSERT_NO_FATAL_FAILURE(s.load());
        for (int i = 0; i < 3000; ++i)
            ASSERT_NO_FATAL_FAILURE(s.step()) << "step " << i;
        ASSERT_NO_FATAL_FAILURE(s.checkWords());
        // The comparison means little if the walks mostly find nothing.
        EXPECT_GT(s.m_hits, 1000);
        EXPECT_GT(s.m_misses, 1000);
    }
}

// A count cached for a block must follow every change of that block: one bit changed in a block
// counted empty, or full, is seen by the next count and the next walk.
TEST(FiltroBitsWalks, SummaryFollowsSingleBitChanges)
{
    const int32_t size = 8 * FiltroBits::kBlockWords;
    FiltroBits b(size);
    ASSERT_TRUE(b.SetGuideRange(0, 1, size - 1));
    b.SelectRange(0);
    b.Require(12);
    EXPECT_EQ(b.CountPassing(), 0);
    const int32_t r = 5 * FiltroBits::kBlockWords + 17;
    ASSERT_TRUE(b.SetBit(r, 12, true));
    EXPECT_EQ(b.FirstPassing(), r);
    EXPECT_EQ(b.NthPassing(1), r);
    EXPECT_EQ(b.CountPassing(), 1);
    b.SetCodeEverywhere(12, true);
    EXPECT_EQ(b.CountPassing(), size - 1);
    EXPECT_EQ(b.NthPassing(size - 1), size - 1);
    ASSERT_TRUE(b.SetBit(3 * FiltroBits::kBlockWords, 3, false));
    EXPECT_EQ(b.NthPassing(3 * FiltroBits::kBlockWords), 3 * FiltroBits::kBlockWords + 1);
    EXPECT_EQ(b.CountPassing(), size - 2);
    b.SetRequired(12, false); // a change of mask drops every cached count
    b.ClearCodes(1u << 12);
    EXPECT_EQ(b.CountPassing(), size - 2);
    b.SetRequired(12, true);
    EXPECT_EQ(b.CountPassing(), 0);
    EXPECT_EQ(b.NthPassing(1), 0);
}

// ---- Planes that list their records

// A plane written with few records keeps their list; the list must stay true through clears over
// other ranges, the union view, the main thread's marks and notes, and writes that fill the plane.
TEST(FiltroBitsPlaneLists, ListsFollowRangesClearsAndMarks)
{
    GuideFixture f;
    FiltroBits& b = f.bits;
    EXPECT_TRUE(b.planeListed(12)) << "every plane above the stored bits starts empty";
    EXPECT_FALSE(b.planeListed(3)) << "the ranges set the criterion planes everywhere";

    // A search in the telephone guide.
    ASSERT_TRUE(b.SetBit(5, 12, true));
    ASSERT_TRUE(b.SetBit(600, 12, true));
    b.Require(12);
    EXPECT_EQ(b.CountPassing(), 2);

    // The commercial guide empties and writes its own part of the plane; the other part stays.
    b.SelectRange(1);
    b.ClearCodes(1u << 12);
    EXPECT_TRUE(b.planeListed(12));
    ASSERT_TRUE(b.SetBit(1200, 12, true));
    EXPECT_EQ(b.CountPassing(), 1);
    b.SelectRange(0);
    EXPECT_EQ(b.CountPassing(), 2);
    EXPECT_EQ(b.NthPassing(2), 600);

    // The union view sets the range bits over both guides: planes 0-4 are no longer known.
    EXPECT_FALSE(b.SelectRange(-1));
    EXPECT_EQ(b.CountPassing(), 3);
    b.SelectRange(0);

    // Cleared, set again, set twice: the list holds the record more than once and counts it once.
    ASSERT_TRUE(b.SetBit(600, 12, false));
    EXPECT_EQ(b.CountPassing(), 1);
    ASSERT_TRUE(b.SetBit(600, 12, true));
    ASSERT_TRUE(b.SetBit(600, 12, true));
    ASSERT_TRUE(b.SetBit(7, 12, true));
    EXPECT_EQ(b.CountPassing(), 3);

    // Selection marks and notes from the main thread, required by the filters.
    ASSERT_TRUE(b.SetBit(600, 14, true));
    ASSERT_TRUE(b.SetBit(7, 20, true));
    ASSERT_TRUE(b.SetBit(999, 20, true));
    b.SetRequired(14, true);
    EXPECT_EQ(b.CountPassing(), 1);
    b.SetRequired(14, false);
    b.SetRequired(20, true);
    EXPECT_EQ(b.CountPassing(), 1);
    b.SetRequired(12, false);
    EXPECT_EQ(b.CountPassing(), 2);
    b.SetCodeEverywhere(20, false); // the notes plane emptied over the range
    EXPECT_TRUE(b.planeListed(20));
    EXPECT_EQ(b.CountPassing(), 0);
    b.SetRequired(20, false);
    b.SetRequired(12, true);

    // A plane set everywhere is no longer listed; emptied again, it is listed over this range only,
    // and over both guides once the next one is emptied too.
    b.SetCodeEverywhere(12, true);
    EXPECT_FALSE(b.planeListed(12));
    EXPECT_EQ(b.CountPassing(), 1000);
    b.ClearCodes(1u << 12);
    EXPECT_TRUE(b.planeListed(12));
    EXPECT_EQ(b.CountPassing(), 0);
    b.SelectRange(1);
    EXPECT_FALSE(b.planeListed(12));
    EXPECT_EQ(b.CountPassing(), 1) << "record 1200 is still set";
    b.ClearCodes(1u << 12);
    b.SelectRange(0);
    EXPECT_TRUE(b.planeListed(12));

    // Too many records for a list: the plane stops listing and still counts right.
    for (int32_t n = 1; n <= 1000; n += 2)
        ASSERT_TRUE(b.SetBit(n, 12, true));
    EXPECT_FALSE(b.planeListed(12));
    EXPECT_EQ(b.CountPassing(), 500);
    b.ClearCodes(1u << 12);
    EXPECT_EQ(b.CountPassing(), 0);
    for (int32_t n = 1; n <= 1000; ++n)
        ASSERT_EQ(b.wordAt(n) >> 12 & 1u, 0u) << n;

    // Loading the stored bits forgets planes 0-7 only.
    ASSERT_TRUE(b.LoadFlags("QD.flg", f.fs.opener()));
    EXPECT_FALSE(b.planeListed(7));
    EXPECT_TRUE(b.planeListed(12));
}

// Counts kept from one call to the next, and counts given by a search pass, last only until the
// next change; reads and walks change nothing.
TEST(FiltroBitsPlaneLists, ChangeCountAndAdoptedCounts)
{
    GuideFixture f;
    FiltroBits& b = f.bits;
    const uint64_t start = b.changeCount();
    EXPECT_EQ(b.CountPassing(), 1000);
    (void)b.NthPassing(10);
    (void)b.NextPassing();
    (void)b.TestBit(3, 0);
    (void)b.Passes(3);
    EXPECT_EQ(b.changeCount(), start);
    EXPECT_FALSE(b.SetBit(1001, 12, true)) << "outside the range: refused";
    EXPECT_EQ(b.changeCount(), start);

    b.adoptPassingCount(7);
    EXPECT_EQ(b.PassingCount(), 7);
    EXPECT_EQ(b.CountPassing(), 7);
    ASSERT_TRUE(b.SetBit(3, 14, true));
    EXPECT_GT(b.changeCount(), start);
    EXPECT_EQ(b.CountPassing(), 1000);

    for (auto change : std::vector<std::function<void()>>{
             [&] { b.SetRequired(14, true); }, [&] { b.SelectRange(1); }, [&] { b.ClearCodes(1u << 14); },
             [&] { b.SetCodeEverywhere(14, true); }, [&] { (void)b.SetGuideRange(2, 1501, 1600); },
             [&] { (void)b.LoadFlags("QD.flg", f.fs.opener()); }}) {
        b.adoptPassingCount(-5);
        change();
        EXPECT_NE(b.CountPassing(), -5);
    }
}

// A run of writes stops right after the record that reaches the wanted number of passing records,
// and leaves the words as single writes do.
TEST(FiltroBitsPlaneLists, SetBitRunStopsAtTheWantedMatch)
{
    GuideFixture f;
    FiltroBits& b = f.bits;
    FiltroBits single(2000);
    ASSERT_TRUE(single.LoadLimits("QD.lmt", f.fs.opener()));
    single.SelectRange(0);
    for (FiltroBits* x : {&b, &single}) {
        x->Require(12);
        x->SetRequired(14, true);
        for (int32_t n : {10, 30, 50, 70})
            ASSERT_TRUE(x->SetBit(n, 14, true));
    }
    const std::vector<int32_t> records = {5, 10, 20, 30, 40, 50, 60, 70, 1200, 80};
    int32_t passed = 0;
    EXPECT_EQ(b.setBitRun(records.data(), 10, 12, 2, passed), 4);
    EXPECT_EQ(passed, 2);
    EXPECT_EQ(b.setBitRun(records.data() + 4, 6, 12, 100, passed), 6);
    EXPECT_EQ(passed, 2);
    int32_t singlePassed = 0;
    for (int32_t r : records)
        singlePassed += single.SetBitAndPass(r, 12) ? 1 : 0;
    EXPECT_EQ(singlePassed, 4);
    for (int32_t n = 0; n < 2000; ++n)
        ASSERT_EQ(b.wordAt(n), single.wordAt(n)) << n;
    EXPECT_EQ(b.CountPassing(), 4);
}

// Long runs in chunks, records out of order or outside the range, dense and far apart, stopping at
// a wanted count, into planes that are listed, filling their list mid-run, or not listed: the words,
// counts and lists end as with one SetBitAndPass per record.
TEST(FiltroBitsPlaneLists, SetBitRunEqualsSingleWrites)
{
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
        const int32_t size = 4 * FiltroBits::kBlockWords;
        MemoryFiles fs;
        fs.put("QD.lmt", limits({{'A', 1, 12000}, {'C', 12001, 15000}, {'P', 15001, size - 1}}));
        FiltroBits run(size), single(size);
        for (FiltroBits* x : {&run, &single}) {
            ASSERT_TRUE(x->LoadLimits("QD.lmt", fs.opener()));
            x->SelectRange(0);
            x->ClearCodes(1u << 10); // plane 10 listed and empty; plane 12 not listed
            x->Require(10);
            x->SetRequired(12, seed % 2 == 0);
            for (int32_t r = 1; r < 12000; r += 3)
                x->SetBit(r, 14, true);
            x->SetRequired(14, seed % 3 == 0);
        }
        for (int round = 0; round < 6; ++round) {
            const int bit = pick(0, 1) ? 10 : 12;
            std::vector<int32_t> recs;
            const int32_t step = pick(0, 1) ? 1 : 200; // dense, or far apart
            for (int32_t r = pick(-5, 50); static_cast<int32_t>(recs.size()) < pick(1, 1500); r += pick(1, step))
                recs.push_back(r);
            if (pick(0, 2) == 0)
                std::shuffle(recs.begin(), recs.end(), rng);
            recs.push_back(pick(12001, size - 1)); // outside the range
            const int32_t stopAfter = pick(0, 1) ? INT32_MAX : pick(1, 400);
            const auto n = static_cast<int32_t>(recs.size());
            const uint64_t before = run.changeCount();
            int32_t passed = 0;
            const int32_t took = run.setBitRun(recs.data(), n, bit, stopAfter, passed);
            int32_t singleTook = 0, singlePassed = 0;
            while (singleTook < n && singlePassed < stopAfter) {
                const int32_t r = recs[static_cast<size_t>(singleTook++)];
                singlePassed += single.SetBitAndPass(r, bit) ? 1 : 0;
            }
            ASSERT_EQ(took, singleTook);
            ASSERT_EQ(passed, singlePassed);
            ASSERT_GE(run.changeCount(), before + static_cast<uint64_t>(took)); // a count made before is stale
            ASSERT_EQ(run.planeListed(bit), single.planeListed(bit));
            ASSERT_EQ(run.CountPassing(), single.CountPassing());
            if (round % 2 == 1) { // the lists must empty the plane as the sweep would
                run.ClearCodes(1u << bit);
                single.ClearCodes(1u << bit);
            }
        }
        for (int32_t n = 0; n < size; ++n)
            ASSERT_EQ(run.wordAt(n), single.wordAt(n)) << n;
    }
}

// Random operations on sparse planes, compared with the plain model: the lists are what clears
// and counts use here, so any record they lose shows in the words or the counts.
TEST(FiltroBitsPlaneLists, SparsePlanesMatchThePlainModel)
{
    constexpr int kSparse[] = {1, 3, 5, 7, 12, 13, 14, 20};
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
        const int32_t size = 3 * FiltroBits::kBlockWords + 500;
        FiltroBits b(size);
        Model m(size);
        MemoryFiles fs;
        const auto flags = randomBytes(static_cast<size_t>(size) - 1, seed);
        fs.put("QD.flg", flags);
        fs.put("QD.lmt", limits({{'A', 1, 6000}, {'C', 6001, 11000}, {'P', 11001, size - 1}}));
        ASSERT_TRUE(b.LoadFlags("QD.flg", fs.opener()));
        m.loadFlags(flags);
        ASSERT_TRUE(b.LoadLimits("QD.lmt", fs.opener()));
        m.setGuideRange(0, 1, 6000);
        m.setGuideRange(1, 6001, 11000);
        m.setGuideRange(2, 11001, size - 1);
        std::copy(m.ranges, m.ranges + 3, m.saved);
        ASSERT_EQ(b.SelectRange(0), m.selectRange(0));
        int listedCounts = 0;
        for (int step = 0; step < 4000; ++step) {
            const int bit = kSparse[pick(0, 7)];
            const int32_t n = pick(m.lo() - 3, m.hi() + 3);
            switch (pick(0, 9)) {
            case 0:
                if (pick(0, 9) == 0) {
                    const int32_t k = pick(-1, 2);
                    ASSERT_EQ(b.SelectRange(k), m.selectRange(k));
                }
                break;
            case 1: { // a pass: planes emptied, a few records written
                const uint32_t mask = (1u << bit) | (pick(0, 1) ? 1u << kSparse[pick(0, 7)] : 0u);
                b.ClearCodes(mask);
                m.clearCodes(mask);
                std::vector<int32_t> recs;
                for (int i = pick(0, pick(0, 1) ? 30 : 900); i > 0; --i)
                    recs.push_back(pick(m.lo(), m.hi()));
                std::sort(recs.begin(), recs.end());
                int32_t passed = 0;
                b.setBitRun(recs.data(), static_cast<int32_t>(recs.size()), bit, INT32_MAX, passed);
                int32_t expected = 0;
                for (int32_t r : recs)
                    expected += m.setBit(r, bit, true) && m.passes(r) ? 1 : 0;
                ASSERT_EQ(passed, expected);
                break;
            }
            case 2:
            case 3: // marks and notes switched on and off, records of any range
                for (int i = pick(1, 20); i > 0; --i) {
                    const int32_t r = pick(m.lo(), m.hi()) + pick(-2, 2);
                    const bool on = pick(0, 2) != 0;
                    ASSERT_EQ(b.SetBit(r, bit, on), m.setBit(r, bit, on));
                }
                break;
            case 4:
                if (pick(0, 4) == 0) {
                    const bool on = pick(0, 3) == 0;
                    b.SetCodeEverywhere(bit, on);
                    m.setEverywhere(bit, on);
                }
                break;
            case 5: {
                const bool on = pick(0, 1) == 0;
                b.SetRequired(bit, on);
                m.setRequired(bit, on);
                break;
            }
            case 6:
            case 7:
                listedCounts += b.planeListed(bit) && b.IsRequired(bit) ? 1 : 0;
                ASSERT_EQ(b.CountPassing(), m.count());
                break;
            case 8: {
                const int32_t k = pick(1, m.count() + 1);
                ASSERT_EQ(b.NthPassing(k), m.nth(k));
                break;
            }
            default: ASSERT_EQ(b.TestBit(n, bit), m.inRange(n) && (m.words[static_cast<size_t>(n)] >> bit & 1u)); break;
            }
        }
        for (int32_t n = 0; n < size; ++n)
            ASSERT_EQ(b.wordAt(n), m.words[static_cast<size_t>(n)]) << n;
        EXPECT_GT(listedCounts, 50) << "counts over listed planes were tried";
    }
}

// ---- Writer round trips

TEST(FlagFileWriter, RoundTripThroughTheReader)
{
    std::mt19937 rng(11);
    const int32_t records = 20'000;
    FlagFileWriter w(records - 100);
    std::vector<uint8_t> expected(records + 1, 0);
    for (int32_t n = 1; n <= records - 100; ++n) {
        const Flags f{rng() % 3 == 0, rng() % 5 == 0, rng() % 7 == 0};
        if (rng() % 2) {
            ASSERT_TRUE(w.setFlags(n, f));
        }
        expected[n] = w.flagBytes()[static_cast<size_t>(n) - 1];
    }
    for (int32_t n = records - 99; n <= records; ++n) {
        const Flags f{true, n % 2 == 0, n % 3 == 0};
        ASSERT_EQ(w.addRecord(f), n);
        expected[n] = FlagFileWriter::flagByte(f);
    }
    EXPECT_FALSE(w.setFlags(0, Flags{true}));
    EXPECT_FALSE(w.setFlags(records + 1, Flags{true}));
    ASSERT_TRUE(w.setGuideRange(0, 1, 12'000));
    ASSERT_TRUE(w.setGuideRange(1, 12'001, 19'000));
    ASSERT_TRUE(w.setGuideRange(2, 19'001, records));
    EXPECT_FALSE(w.setGuideRange(2, 0, 5));
    EXPECT_FALSE(w.setGuideRange(1, 10, 9));
    EXPECT_FALSE(w.setGuideRange(3, 1, 9));

    MemoryFiles fs;
    EXPECT_EQ(w.flagBytes().size(), static_cast<size_t>(records));
    EXPECT_EQ(w.limitsBytes().size(), 36u);
    fs.put("QD.flg", w.flagBytes());
    fs.put("QD.lmt", w.limitsBytes());
    FiltroBits b(records + 50);
    ASSERT_TRUE(b.LoadFlags("QD.flg", fs.opener()));
    ASSERT_TRUE(b.LoadLimits("QD.lmt", fs.opener()));
    for (int32_t n = 1; n <= records; ++n)
        ASSERT_EQ(b.wordAt(n), expected[n] | 0x1Fu) << n;
    EXPECT_EQ(b.guideRange(1).first, 12'001);
    EXPECT_EQ(b.guideRange(2).last, records);

    b.SelectRange(2);
    b.SetRequired(5, true);
    b.SetRequired(7, true);
    int32_t webAndAd = 0;
    for (int32_t n = 19'001; n <= records; ++n)
        webAndAd += (expected[n] & 0xA0) == 0xA0;
    EXPECT_EQ(b.CountPassing(), webAndAd);
}

TEST(FlagFileWriter, GuidesWithoutRangeAndFilesOnDisk)
{
    FlagFileWriter w;
    EXPECT_EQ(w.addRecord(Flags{false, true, false}), 1);
    EXPECT_EQ(w.addRecord(Flags{true, false, true}), 2);
    ASSERT_TRUE(w.setGuideRange(1, 1, 2));
    const auto lmt = w.limitsBytes();
    ASSERT_EQ(lmt.size(), 36u);
    EXPECT_EQ(lmt[0], 0); // no telephone guide
    EXPECT_EQ(lmt[12], 'C');
    EXPECT_EQ(lmt[16], 1);
    EXPECT_EQ(lmt[20], 2);

    const auto dir = std::filesystem::path(ORTELIA_BINARY_DIR) / "filtrobits-test";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(w.save((dir / "QD.flg").string(), (dir / "QD.lmt").string()));
    EXPECT_FALSE(w.save((dir / "missing" / "QD.flg").string(), (dir / "QD.lmt").string()));

    FiltroBits b(10);
    ASSERT_TRUE(b.LoadFlags((dir / "QD.flg").string()));
    ASSERT_TRUE(b.LoadLimits((dir / "QD.lmt").string()));
    EXPECT_EQ(b.wordAt(1), 0x5Fu);
    EXPECT_EQ(b.wordAt(2), 0xBFu);
    EXPECT_EQ(b.wordAt(3), 0u);
    EXPECT_EQ(b.guideRange(0).last, 0);
    EXPECT_TRUE(b.SelectRange(1));
    EXPECT_EQ(b.CountPassing(), 2);
    std::filesystem::remove_all(dir);
}

} // namespace
