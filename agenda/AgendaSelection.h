// AgendaSelection: the agenda rows the user marked in the agenda view, by row number, in marking
// order and without repeats. Owned by the window's agenda section; emptied when the list leaves the
// agenda. Main thread only.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

class AgendaSelection {
public:
    [[nodiscard]] bool contains(int32_t row) const { return std::find(m_rows.begin(), m_rows.end(), row) != m_rows.end(); }
    void add(int32_t row)
    {
        if (row != 0 && !contains(row))
            m_rows.push_back(row);
    }
    void remove(int32_t row) { m_rows.erase(std::remove(m_rows.begin(), m_rows.end(), row), m_rows.end()); }
    void set(int32_t row, bool on) { on ? add(row) : remove(row); }
    void clear() { m_rows.clear(); }
    [[nodiscard]] bool empty() const { return m_rows.empty(); }
    [[nodiscard]] const std::vector<int32_t>& rows() const { return m_rows; }

private:
    std::vector<int32_t> m_rows;
};
