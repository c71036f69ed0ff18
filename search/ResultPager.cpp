#include "search/ResultPager.h"

#include "engine/FiltroBits.h"

#include <algorithm>

namespace {

// Holds the view's repainting for one scope.
class RowsUpdate {
public:
    explicit RowsUpdate(ResultRows& rows) : m_rows(rows) { m_rows.beginUpdate(); }
    ~RowsUpdate() { m_rows.endUpdate(); }
    RowsUpdate(const RowsUpdate&) = delete;
    RowsUpdate& operator=(const RowsUpdate&) = delete;

private:
    ResultRows& m_rows;
};

} // namespace

void ResultPager::setMaximum(int32_t count)
{
    m_count = count;
    m_maximum = std::max(0, count - m_pageRows);
}

void ResultPager::passStarted()
{
    m_rows.clearRows();
    m_topRecord = 0;
    m_shownPosition = 0;
    m_maximum = 0;
}

void ResultPager::matchFound(const FiltroBits& bits, int32_t record, int32_t count)
{
    if (m_rows.rowCount() < m_pageRows) {
        // The page's ends follow the rows, so a scroll during the pass goes on from these rows and
        // not from the page of the search before.
        if (m_rows.rowCount() == 0)
            m_topRecord = record;
        m_bottomRecord = record;
        m_rows.append(record, bits.wordAt(record));
    }
    setMaximum(count);
    if (m_rows.rowCount() > 0)
        m_rows.selectRow(0);
}

int32_t ResultPager::showResults(FiltroBits& bits)
{
    const int32_t count = bits.CountPassing();
    int32_t start = 0;
    if (m_topRecord == 0) {
        start = bits.FirstPassing();
        m_shownPosition = 0;
        setMaximum(count);
    } else {
        start = bits.SeekPassing();
        setMaximum(count);
        m_shownPosition = std::min(m_shownPosition, m_maximum);
    }
    {
        RowsUpdate update(m_rows);
        m_rows.clearRows();
        if (count >= 1 && start != 0) {
            m_topRecord = start;
            for (int32_t r = start; r != 0 && m_rows.rowCount() < m_pageRows; r = bits.NextPassing()) {
                m_bottomRecord = r;
                m_rows.append(r, bits.wordAt(r));
            }
        }
    }
    m_rows.selectRow(m_rows.rowCount() > 0 ? 0 : -1);
    return count;
}

void ResultPager::scrollTo(FiltroBits& bits, int32_t p)
{
    p = std::clamp(p, 0, m_maximum);
    if (m_rows.rowCount() == 0) {
        // Nothing shown yet (a pass without a search asked for hands over no rows): the window is
        // built at the position, from the passing record with ordinal p + 1.
        m_shownPosition = p;
        if (m_count == 0)
            return;
        RowsUpdate update(m_rows);
        int32_t r = p == 0 ? bits.FirstPassing() : (bits.NthPassing(p) != 0 ? bits.NextPassing() : 0);
        for (; r != 0 && m_rows.rowCount() < m_pageRows; r = bits.NextPassing()) {
            if (m_rows.rowCount() == 0)
                m_topRecord = r;
            m_bottomRecord = r;
            m_rows.append(r, bits.wordAt(r));
        }
        m_rows.selectRow(m_rows.rowCount() > 0 ? 0 : -1);
        return;
    }
    if (p == m_shownPosition)
        return;
    RowsUpdate update(m_rows);
    if (p < m_shownPosition) {
        int32_t d = m_shownPosition - p;
        if (d > m_pageRows) {
            // Past a page: start below the new window and walk up a whole page.
            // (it exists: p is at least a page above the old position, which was at most the maximum)
            m_topRecord = bits.NthPassing(p + m_pageRows + 1);
            d = m_pageRows;
        }
        bits.SetCursor(m_topRecord);
        for (int32_t i = 0; i < d; ++i) {
            const int32_t r = bits.PrevPassing();
            if (r == 0)
                break;
            m_topRecord = r;
            m_rows.insertFirst(r, bits.wordAt(r));
            if (m_rows.rowCount() > m_pageRows)
                m_rows.removeLast();
        }
        m_bottomRecord = m_rows.recnoAt(m_rows.rowCount() - 1);
        m_rows.selectRow(0);
    } else {
        int32_t d = p - m_shownPosition;
        if (d >= m_pageRows) {
            // Past a page: the record just above the new window, counted from the range's start.
            m_bottomRecord = bits.NthPassing(p);
            d = m_pageRows;
        } else {
            bits.SetCursor(m_bottomRecord);
        }
        for (int32_t i = 0; i < d; ++i) {
            const int32_t r = bits.NextPassing();
            if (r == 0)
                break;
            m_bottomRecord = r;
            m_rows.append(r, bits.wordAt(r));
            if (m_rows.selectedRow() == 0 && m_rows.rowCount() > 1)
                m_rows.selectRow(1);
            if (m_rows.rowCount() > m_pageRows)
                m_rows.removeFirst();
        }
        m_topRecord = m_rows.recnoAt(0);
    }
    m_shownPosition = p;
}

void ResultPager::repage(FiltroBits& bits, int32_t rows)
{
    rows = std::max(1, rows);
    const int32_t old = m_pageRows;
    m_pageRows = rows;
    m_maximum = std::max(0, m_count - m_pageRows);
    if (rows == old || m_rows.rowCount() == 0)
        return;
    RowsUpdate update(m_rows);
    while (m_rows.rowCount() > m_pageRows)
        m_rows.removeLast();
    if (m_rows.rowCount() < m_pageRows) {
        bits.SetCursor(m_bottomRecord);
        for (int32_t r = bits.NextPassing(); r != 0; r = bits.NextPassing()) {
            m_rows.append(r, bits.wordAt(r));
            if (m_rows.rowCount() >= m_pageRows)
                break;
        }
    }
    m_bottomRecord = m_rows.recnoAt(m_rows.rowCount() - 1);
    m_shownPosition = std::min(m_shownPosition, m_maximum);
    m_rows.selectRow(0);
}
