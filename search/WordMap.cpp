#include "search/WordMap.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

// Index of the first byte of p[0..8) equal to b, or 8. The borrow of the zero-byte test can only
// flag bytes above a true match, so the lowest flagged byte is exact.
inline int firstEqual8(const uint8_t* p, uint64_t pattern)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    const uint64_t x = v ^ pattern;
    const uint64_t hit = (x - kOnes) & ~x & kHighs;
    return hit ? __builtin_ctzll(hit) >> 3 : 8;
}

} // namespace

// calloc leaves the pages to the system until a pass writes them.
WordMap::WordMap() : m_bytes(static_cast<uint8_t*>(std::calloc(kBytes, 1))) {}

void WordMap::clear()
{
    if (m_bytes && m_lo <= m_hi)
        std::memset(m_bytes.get() + m_lo, 0, static_cast<size_t>(m_hi - m_lo) + 1);
    m_lo = kBytes;
    m_hi = -1;
}

int32_t WordMap::find(int32_t from, int32_t to, uint8_t mask) const
{
    if (!m_bytes)
        return 0;
    from = std::max(from, 1);
    to = std::min(to, kBytes - 1);
    if (mask != 0) {
        // Bytes outside the marked span are 0 and cannot equal a non-zero mask.
        from = std::max(from, m_lo);
        to = std::min(to, m_hi);
    }
    const uint8_t* b = m_bytes.get();
    const uint64_t pattern = kOnes * mask;
    int32_t i = from;
    for (; i <= to && (i & 7) != 0; ++i)
        if (b[i] == mask)
            return i;
    for (; i + 7 <= to; i += 8) {
        const int k = firstEqual8(b + i, pattern);
        if (k < 8)
            return i + k;
    }
    for (; i <= to; ++i)
        if (b[i] == mask)
            return i;
    return 0;
}
