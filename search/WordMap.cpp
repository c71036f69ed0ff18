#include "search/WordMap.h"

#include "engine/LargePages.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

// Flags the bytes of v equal to the pattern's byte. The borrow can only flag bytes above a true
// match, so the lowest flagged byte is exact.
inline uint64_t equalBytes(const uint8_t* p, uint64_t pattern)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    const uint64_t x = v ^ pattern;
    return (x - kOnes) & ~x & kHighs;
}

// Flags exactly the bytes of v equal to the pattern's byte.
inline uint64_t exactEqualBytes(const uint8_t* p, uint64_t pattern)
{
    constexpr uint64_t kLows = ~kHighs;
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    const uint64_t x = v ^ pattern;
    return ~(((x & kLows) + kLows) | x | kLows);
}

} // namespace

// calloc leaves the pages to the system until a pass writes them.
WordMap::WordMap() : m_bytes(static_cast<uint8_t*>(std::calloc(kBytes, 1)))
{
    adviseLargePages(m_bytes.get(), kBytes);
    m_records.reserve(kListedRecords);
}

void WordMap::clear()
{
    if (m_bytes && m_lo <= m_hi) {
        if (m_listed)
            for (int32_t r : m_records)
                m_bytes[r] = 0;
        else
            std::memset(m_bytes.get() + m_lo, 0, static_cast<size_t>(m_hi - m_lo) + 1);
    }
    m_lo = kBytes;
    m_hi = -1;
    m_records.clear();
    m_listed = true;
    m_sorted = true;
}

int32_t WordMap::find(int32_t from, int32_t to, uint8_t mask)
{
    if (!m_bytes)
        return 0;
    from = std::max(from, 1);
    to = std::min(to, kBytes - 1);
    if (mask == 0)
        return scan(from, to, mask);
    // Bytes outside the marked span are 0 and cannot equal a non-zero mask.
    from = std::max(from, m_lo);
    to = std::min(to, m_hi);
    if (from > to)
        return 0;
    if (!m_listed)
        return scan(from, to, mask);
    if (!m_sorted) {
        std::sort(m_records.begin(), m_records.end());
        m_sorted = true;
    }
    for (auto it = std::lower_bound(m_records.begin(), m_records.end(), from); it != m_records.end() && *it <= to; ++it)
        if (m_bytes[*it] == mask)
            return *it;
    return 0;
}

void WordMap::markMany(const int32_t* records, int32_t n, uint8_t bits, int32_t lo, int32_t hi)
{
    if (!m_bytes || bits == 0)
        return;
    lo = std::max(lo, 0);
    hi = std::min(hi, kBytes - 1);
    if (lo > hi)
        return;
    constexpr int32_t kAhead = 16; // a word's records are spread over the map: fetch before writing
    int32_t i = 0;
    // While the marked records are listed, each one is looked at; afterwards only the bytes and
    // the span change.
    for (; i < n && m_listed; ++i) {
        if (i + kAhead < n) {
            const int32_t next = records[i + kAhead];
            if (next >= lo && next <= hi)
                __builtin_prefetch(m_bytes.get() + next, 1);
        }
        const int32_t r = records[i];
        if (r >= lo && r <= hi)
            mark(r, bits);
    }
    uint8_t* const b = m_bytes.get();
    const auto width = static_cast<uint32_t>(hi - lo);
    int32_t spanLo = m_lo;
    int32_t spanHi = m_hi;
    for (; i < n; ++i) {
        if (i + kAhead < n)
            __builtin_prefetch(b + std::clamp(records[i + kAhead], lo, hi), 1);
        const int32_t r = records[i];
        if (static_cast<uint32_t>(r) - static_cast<uint32_t>(lo) > width)
            continue;
        b[r] |= bits;
        spanLo = std::min(spanLo, r);
        spanHi = std::max(spanHi, r);
    }
    m_lo = spanLo;
    m_hi = spanHi;
}

int32_t WordMap::findMany(int32_t from, int32_t to, uint8_t mask, int32_t* out, int32_t max)
{
    if (!m_bytes || max <= 0)
        return 0;
    from = std::max(from, 1);
    to = std::min(to, kBytes - 1);
    if (mask == 0)
        return scanMany(from, to, mask, out, max);
    from = std::max(from, m_lo);
    to = std::min(to, m_hi);
    if (from > to)
        return 0;
    if (!m_listed)
        return scanMany(from, to, mask, out, max);
    if (!m_sorted) {
        std::sort(m_records.begin(), m_records.end());
        m_sorted = true;
    }
    int32_t n = 0;
    for (auto it = std::lower_bound(m_records.begin(), m_records.end(), from);
         it != m_records.end() && *it <= to && n < max; ++it)
        if (m_bytes[*it] == mask)
            out[n++] = *it;
    return n;
}

int32_t WordMap::scanMany(int32_t from, int32_t to, uint8_t mask, int32_t* out, int32_t max) const
{
    const uint8_t* b = m_bytes.get();
    const uint64_t pattern = kOnes * mask;
    int32_t n = 0;
    int32_t i = from;
    for (; i <= to && (i & 7) != 0; ++i)
        if (b[i] == mask && (out[n++] = i, n == max))
            return n;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(mask));
    for (; i + 15 <= to; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        for (auto h = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted))); h != 0; h &= h - 1)
            if (out[n++] = i + __builtin_ctz(h), n == max)
                return n;
    }
#endif
    for (; i + 7 <= to; i += 8) {
        for (uint64_t h = exactEqualBytes(b + i, pattern); h != 0; h &= h - 1)
            if (out[n++] = i + (__builtin_ctzll(h) >> 3), n == max)
                return n;
    }
    for (; i <= to; ++i)
        if (b[i] == mask && (out[n++] = i, n == max))
            return n;
    return n;
}

int32_t WordMap::scan(int32_t from, int32_t to, uint8_t mask) const
{
    const uint8_t* b = m_bytes.get();
    const uint64_t pattern = kOnes * mask;
    int32_t i = from;
    for (; i <= to && (i & 7) != 0; ++i)
        if (b[i] == mask)
            return i;
    // 32 bytes a step, one branch for all four words.
    for (; i + 31 <= to; i += 32) {
        const uint64_t h0 = equalBytes(b + i, pattern), h1 = equalBytes(b + i + 8, pattern);
        const uint64_t h2 = equalBytes(b + i + 16, pattern), h3 = equalBytes(b + i + 24, pattern);
        if ((h0 | h1 | h2 | h3) == 0)
            continue;
        const uint64_t h[4] = {h0, h1, h2, h3};
        for (int k = 0; k < 4; ++k)
            if (h[k])
                return i + 8 * k + (__builtin_ctzll(h[k]) >> 3);
    }
    for (; i + 7 <= to; i += 8)
        if (const uint64_t h = equalBytes(b + i, pattern))
            return i + (__builtin_ctzll(h) >> 3);
    for (; i <= to; ++i)
        if (b[i] == mask)
            return i;
    return 0;
}
