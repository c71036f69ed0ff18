#include "search/MarkedRecords.h"

#include <algorithm>

bool MarkedRecords::contains(int32_t record) const
{
    return std::find(m_slots.begin(), m_slots.begin() + m_count, record) != m_slots.begin() + m_count;
}

bool MarkedRecords::AddMarked(int32_t record)
{
    if (record == 0 || contains(record))
        return record != 0;
    if (m_count == kSlots)
        return false;
    m_slots[static_cast<size_t>(m_count++)] = record;
    return true;
}

void MarkedRecords::RemoveMarked(int32_t record)
{
    const auto end = m_slots.begin() + m_count;
    const auto it = std::find(m_slots.begin(), end, record);
    if (it == end)
        return;
    std::copy(it + 1, end, it);
    m_slots[static_cast<size_t>(--m_count)] = 0;
}

MarkedRecords& markedRecords()
{
    static MarkedRecords list;
    return list;
}
