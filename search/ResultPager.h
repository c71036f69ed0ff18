// ResultPager: the window onto the passing records of the bit set that the result list shows. The
// list never holds more than pageRows rows; the scroll position p is the number of passing records
// above the window, so row i shows the passing record with ordinal p + i + 1, always in ascending
// record order. Scrolling by up to a page reads only the records that enter the window; a longer
// jump finds its first record by counting in the bit set. The bit set is passed to each call (the
// caller holds the worker's access guard); the rows are the caller's. Main thread only.
#pragma once

#include "search/ResultRows.h"

#include <cstdint>

class FiltroBits;

class ResultPager {
public:
    explicit ResultPager(ResultRows& rows) : m_rows(rows) {}

    [[nodiscard]] int32_t pageRows() const { return m_pageRows; }
    [[nodiscard]] int32_t position() const { return m_shownPosition; }
    [[nodiscard]] int32_t maximum() const { return m_maximum; }
    [[nodiscard]] int32_t topRecord() const { return m_topRecord; }
    [[nodiscard]] int32_t bottomRecord() const { return m_bottomRecord; }
    [[nodiscard]] int32_t count() const { return m_count; }

    // A pass starts: no rows, position and maximum 0, the next ShowResults starts at the top.
    void passStarted();
    // Match number count is record: appended while the page has room (the top and bottom records
    // follow the rows); the maximum follows count.
    void matchFound(const FiltroBits& bits, int32_t record, int32_t count);
    // Fills the page from the bit set: from the first passing record when topRecord is 0 (after a
    // pass or a filter change), else from the first passing record at or after the bit set's
    // cursor. Returns the passing count.
    int32_t showResults(FiltroBits& bits);
    // The pass counted count passing records: the scroll range follows it even while the list
    // stays behind the intro panel.
    void setCount(int32_t count) { setMaximum(count); }
    // Starts the next showResults at the first passing record.
    void restartAtTop() { m_topRecord = 0; }
    // The scroll position moved to p (clamped to 0..maximum).
    void scrollTo(FiltroBits& bits, int32_t p);
    // rows rows fit now: the page shrinks from the bottom or grows with the next passing records.
    void repage(FiltroBits& bits, int32_t rows);

private:
    void setMaximum(int32_t count);

    ResultRows& m_rows;
    int32_t m_pageRows = 1;
    int32_t m_topRecord = 0;
    int32_t m_bottomRecord = 0;
    int32_t m_shownPosition = 0;
    int32_t m_maximum = 0;
    int32_t m_count = 0;
};
