// The result list's window onto the passing records: filling, scrolling by rows, by pages and by
// jumps, repaging, and the hand-off of the first matches, checked against the ordinals the scroll
// position stands for.
#include "search/ResultPager.h"

#include "engine/FiltroBits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

class VectorRows final : public ResultRows {
public:
    [[nodiscard]] int rowCount() const override { return static_cast<int>(rows.size()); }
    [[nodiscard]] int32_t recnoAt(int row) const override
    {
        return row >= 0 && row < rowCount() ? rows[static_cast<size_t>(row)] : 0;
    }
    // The selection stays on its row's record as rows come and go, as in a list view.
    void insertFirst(int32_t r, uint32_t flags) override
    {
        noteFlags(flags);
        rows.push_front(r), ++reads;
        if (selected >= 0)
            ++selected;
    }
    void append(int32_t r, uint32_t flags) override
    {
        noteFlags(flags);
        rows.push_back(r), ++reads;
    }
    // Every row the pager adds passes through plane 12 (see Passing): its flag word must say so.
    void noteFlags(uint32_t flags) { unflagged += ((flags >> 12) & 1u) == 0 ? 1 : 0; }
    void removeFirst() override
    {
        rows.pop_front();
        selected = selected > 0 ? selected - 1 : -1;
    }
    void removeLast() override
    {
        rows.pop_back();
        if (selected >= rowCount())
            selected = -1;
    }
    void clearRows() override { rows.clear(), selected = -1; }
    [[nodiscard]] int selectedRow() const override { return selected; }
    void selectRow(int row) override { selected = row; }

    std::deque<int32_t> rows;
    int selected = -1;
    int reads = 0;     // records read (rows added)
    int unflagged = 0; // rows added with a flag word that is not their record's
};

// Records 1..n in range 0; every step-th record passes (through plane 12).
struct Passing {
    Passing(int32_t n, int32_t step) : bits(n + 1)
    {
        EXPECT_TRUE(bits.SetGuideRange(0, 1, n));
        bits.SelectRange(0);
        bits.SetRequired(12, true);
        for (int32_t r = 1; r <= n; ++r) {
            if (r % step == 0) {
                bits.SetBit(r, 12, true);
                ordinals.push_back(r);
            }
        }
    }
    // The records that positions p.. of a page of k rows show.
    [[nodiscard]] std::vector<int32_t> page(int32_t p, int32_t k) const
    {
        const auto from = ordinals.begin() + std::min<ptrdiff_t>(p, static_cast<ptrdiff_t>(ordinals.size()));
        const auto to = ordinals.begin() + std::min<ptrdiff_t>(p + k, static_cast<ptrdiff_t>(ordinals.size()));
        return {from, to};
    }
    FiltroBits bits;
    std::vector<int32_t> ordinals;
};

std::vector<int32_t> shown(const VectorRows& rows)
{
    return {rows.rows.begin(), rows.rows.end()};
}

} // namespace

TEST(ResultPager, TwentyFiveResultsOnTwentyRows)
{
    Passing p(100, 4); // 25 passing records
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(p.bits, 20);
    EXPECT_EQ(pager.showResults(p.bits), 25);
    EXPECT_EQ(pager.maximum(), 5);
    EXPECT_EQ(shown(rows), p.page(0, 20));
    EXPECT_EQ(rows.selected, 0);
    pager.scrollTo(p.bits, 5);
    EXPECT_EQ(shown(rows), p.page(5, 20)) << "records 6 to 25";
    EXPECT_EQ(pager.topRecord(), p.ordinals[5]);
    EXPECT_EQ(pager.bottomRecord(), p.ordinals[24]);
    pager.scrollTo(p.bits, 6); // clamped: the last position already
    EXPECT_EQ(pager.position(), 5);
    EXPECT_EQ(shown(rows), p.page(5, 20));
    EXPECT_EQ(rows.unflagged, 0);
}

TEST(ResultPager, RowStepsReadOnlyTheRecordsThatEnter)
{
    Passing p(10'000, 3);
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(p.bits, 20);
    pager.showResults(p.bits);
    rows.reads = 0;
    for (int32_t pos = 1; pos <= 7; ++pos) {
        pager.scrollTo(p.bits, pos);
        EXPECT_EQ(shown(rows), p.page(pos, 20)) << pos;
    }
    EXPECT_EQ(rows.reads, 7);
    for (int32_t pos = 6; pos >= 0; --pos) {
        pager.scrollTo(p.bits, pos);
        EXPECT_EQ(shown(rows), p.page(pos, 20)) << pos;
    }
    EXPECT_EQ(rows.reads, 14);
    EXPECT_EQ(rows.unflagged, 0) << "rows added upwards and downwards carry their flag words";
    // Down by a few rows keeps the selection on the same record while it stays in the window.
    rows.selectRow(0);
    pager.scrollTo(p.bits, 3);
    EXPECT_EQ(rows.selected, 0) << "the first row was selected: the new first row is";
}

TEST(ResultPager, ThumbJumpsAndTheWayBack)
{
    Passing p(100'000, 7);
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(p.bits, 20);
    pager.showResults(p.bits);
    pager.scrollTo(p.bits, 1000);
    EXPECT_EQ(shown(rows), p.page(1000, 20)) << "the window starts at the 1,001st passing record";
    rows.reads = 0;
    pager.scrollTo(p.bits, 990);
    EXPECT_EQ(shown(rows), p.page(990, 20));
    EXPECT_EQ(rows.reads, 10) << "ten records inserted at the top";
    pager.scrollTo(p.bits, 500); // up by more than a page
    EXPECT_EQ(shown(rows), p.page(500, 20));
    pager.scrollTo(p.bits, pager.maximum());
    EXPECT_EQ(shown(rows), p.page(pager.maximum(), 20));
    EXPECT_EQ(rows.rows.back(), p.ordinals.back());
    pager.scrollTo(p.bits, 0);
    EXPECT_EQ(shown(rows), p.page(0, 20));
    // Random jumps and steps always show the page of their position.
    uint32_t seed = 12345;
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int32_t target =
            i % 3 == 0 ? static_cast<int32_t>(seed >> 8) % (pager.maximum() + 1)
                       : std::clamp(pager.position() + static_cast<int32_t>(seed >> 28) - 8, 0, pager.maximum());
        pager.scrollTo(p.bits, target);
        ASSERT_EQ(shown(rows), p.page(target, 20)) << "at " << target;
    }
}

TEST(ResultPager, RepagingGrowsFromTheBottomAndShrinksThere)
{
    Passing p(1000, 2);
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(p.bits, 20);
    pager.showResults(p.bits);
    pager.scrollTo(p.bits, 40);
    pager.repage(p.bits, 23);
    EXPECT_EQ(shown(rows), p.page(40, 23)) << "three more rows appended";
    EXPECT_EQ(pager.maximum(), 500 - 23);
    pager.repage(p.bits, 20);
    EXPECT_EQ(shown(rows), p.page(40, 20));
    EXPECT_EQ(pager.bottomRecord(), p.ordinals[59]);
    // Near the end, growing stops at the last passing record.
    pager.scrollTo(p.bits, pager.maximum());
    pager.repage(p.bits, 30);
    EXPECT_EQ(rows.rows.back(), p.ordinals.back());
}

TEST(ResultPager, MatchesDuringAPassFillOnePageAndSetTheMaximum)
{
    Passing p(1000, 1);
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(p.bits, 10);
    pager.passStarted();
    for (int32_t i = 1; i <= 30; ++i)
        pager.matchFound(p.bits, i, i);
    EXPECT_EQ(rows.rowCount(), 10);
    EXPECT_EQ(pager.maximum(), 20);
    pager.matchFound(p.bits, 1000, 10'000);
    EXPECT_EQ(pager.maximum(), 10'000 - 10);
    EXPECT_EQ(rows.selected, 0);
}

TEST(ResultPager, AScrollDuringAPassGoesOnFromTheRowsHandedOver)
{
    // The search before showed records far down; the new pass hands over its first matches.
    Passing before(1000, 101);
    Passing p(1000, 2);
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(before.bits, 4);
    pager.showResults(before.bits);
    pager.scrollTo(before.bits, 5);
    ASSERT_EQ(pager.bottomRecord(), before.ordinals[8]);
    pager.passStarted();
    for (int32_t i = 0; i < 30; ++i)
        pager.matchFound(p.bits, p.ordinals[static_cast<size_t>(i)], i + 1);
    EXPECT_EQ(pager.topRecord(), 2);
    EXPECT_EQ(pager.bottomRecord(), 8);
    pager.scrollTo(p.bits, 1);
    EXPECT_EQ(shown(rows), p.page(1, 4)) << "4 6 8 10, not the old search's records";
    pager.scrollTo(p.bits, 0);
    EXPECT_EQ(shown(rows), p.page(0, 4));
    pager.scrollTo(p.bits, 3);
    EXPECT_EQ(shown(rows), p.page(3, 4));
    EXPECT_EQ(pager.topRecord(), 8);
}

TEST(ResultPager, NothingPassingLeavesNoRows)
{
    Passing p(100, 1000);
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(p.bits, 20);
    EXPECT_EQ(pager.showResults(p.bits), 0);
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(rows.selected, -1);
    pager.scrollTo(p.bits, 3);
    EXPECT_EQ(pager.position(), 0);
}

TEST(ResultPager, AJumpIntoAnEmptyWindowBuildsIt)
{
    Passing p(1000, 1);
    VectorRows rows;
    ResultPager pager(rows);
    pager.repage(p.bits, 20);
    pager.setCount(1000); // counted by a pass that handed no rows over
    pager.scrollTo(p.bits, 40);
    EXPECT_EQ(shown(rows), p.page(40, 20));
    EXPECT_EQ(pager.topRecord(), 41);
    pager.scrollTo(p.bits, 41);
    EXPECT_EQ(shown(rows), p.page(41, 20)) << "then it scrolls as usual";
}
