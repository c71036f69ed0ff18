// MarkedRecords: the records the user has marked, in marking order, at most 200, without repeats;
// the batch actions (agenda, recommend, mail) read it. One process-wide list (markedRecords())
// that outlives every search and section. Main thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class MarkedRecords {
public:
    static constexpr int kSlots = 200;

    // False when the list is full (the record is then not listed); true when added or already there.
    bool AddMarked(int32_t record);
    // The entries after the record move up; an unlisted record changes nothing.
    void RemoveMarked(int32_t record);
    [[nodiscard]] int MarkedCount() const { return m_count; }
    [[nodiscard]] int32_t at(int i) const { return i >= 0 && i < m_count ? m_slots[static_cast<size_t>(i)] : 0; }
    [[nodiscard]] bool contains(int32_t record) const;
    void clear() { m_count = 0, m_slots.fill(0); }

private:
    std::array<int32_t, kSlots> m_slots{};
    int m_count = 0;
};

[[nodiscard]] MarkedRecords& markedRecords();
