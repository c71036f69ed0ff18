// WordMap: one byte per record number (0 .. 11,999,999); bit j of byte r says that record r holds
// word j of the words being looked up. Allocated once. While few records are marked it also keeps
// their numbers, so that finding and clearing touch those bytes only; otherwise it scans and
// clears the span marked since the last clear. Either way a pass over a rare word does not touch
// 12 MB. Owned by the search worker and used on its thread only.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

class WordMap {
public:
    static constexpr int32_t kBytes = 12'000'000;
    static constexpr size_t kListedRecords = 8192; // records whose numbers are kept

    WordMap();
    WordMap(const WordMap&) = delete;
    WordMap& operator=(const WordMap&) = delete;

    // False when the map could not be allocated; it then marks nothing and finds nothing.
    [[nodiscard]] bool valid() const { return m_bytes != nullptr; }

    void clear();
    // Sets bits in byte r; numbers outside the map are ignored.
    void mark(int32_t r, uint8_t bits)
    {
        if (r < 0 || r >= kBytes || !m_bytes || bits == 0)
            return;
        uint8_t& b = m_bytes[r];
        if (b == 0 && m_listed) {
            if (m_records.size() < kListedRecords) {
                m_records.push_back(r);
                m_sorted = false;
            } else {
                m_listed = false;
            }
        }
        b |= bits;
        if (r < m_lo)
            m_lo = r;
        if (r > m_hi)
            m_hi = r;
    }
    // mark(r, bits) for the records of the list that lie in [lo, hi], fetching their bytes ahead.
    void markMany(const int32_t* records, int32_t n, uint8_t bits, int32_t lo, int32_t hi);
    // The first r in [from, to] whose byte equals mask, or 0 when there is none. Bounds are clamped
    // to the map (record 0 is never returned).
    [[nodiscard]] int32_t find(int32_t from, int32_t to, uint8_t mask);
    // The first records in [from, to] whose byte equals mask, in order, at most max of them, into
    // out; returns how many. Fewer than max: there are no more up to to.
    int32_t findMany(int32_t from, int32_t to, uint8_t mask, int32_t* out, int32_t max);
    [[nodiscard]] uint8_t at(int32_t r) const { return r >= 0 && r < kBytes && m_bytes ? m_bytes[r] : 0; }

private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const { std::free(p); }
    };

    [[nodiscard]] int32_t scan(int32_t from, int32_t to, uint8_t mask) const;
    int32_t scanMany(int32_t from, int32_t to, uint8_t mask, int32_t* out, int32_t max) const;

    std::unique_ptr<uint8_t[], FreeDeleter> m_bytes;
    int32_t m_lo = kBytes; // span marked since the last clear; empty when m_lo > m_hi
    int32_t m_hi = -1;
    // The records marked since the last clear, while there are at most kListedRecords of them.
    std::vector<int32_t> m_records;
    bool m_listed = true;
    bool m_sorted = true;
};
