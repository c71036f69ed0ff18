#include "engine/FiltroBits.h"

#include "engine/Bytes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int64_t kReadChunk = 1 << 20;
constexpr int32_t kLimitsEntry = 12;
constexpr int32_t kLimitsSize = FiltroBits::kGuides * kLimitsEntry;

// Scan kernels. Fixed trip counts let the compiler vectorise them even at -O2 (its cheapest cost
// model only accepts loops with no scalar remainder); the callers handle the ragged ends.
constexpr int kChunk = 64; // counting step
constexpr int kProbe = 16; // searching step: how far a walk reads past a hit

inline bool passes(uint32_t word, uint32_t required)
{
    return (word & required) == required;
}

template <int N>
inline uint32_t countFixed(const uint32_t* w, uint32_t required)
{
    uint32_t c = 0;
    for (int i = 0; i < N; ++i)
        c += passes(w[i], required) ? 1u : 0u;
    return c;
}

template <int N>
inline bool anyFixed(const uint32_t* w, uint32_t required)
{
    uint32_t any = 0;
    for (int i = 0; i < N; ++i)
        any |= passes(w[i], required) ? 1u : 0u;
    return any != 0;
}

uint32_t countSpan(const uint32_t* w, int64_t n, uint32_t required)
{
    uint32_t c = 0;
    int64_t i = 0;
    for (; i + kChunk <= n; i += kChunk)
        c += countFixed<kChunk>(w + i, required);
    for (; i < n; ++i)
        c += passes(w[i], required) ? 1u : 0u;
    return c;
}

// First passing index in [begin, end), or -1.
int64_t scanForward(const uint32_t* w, int64_t begin, int64_t end, uint32_t required)
{
    int64_t i = begin;
    while (i + kProbe <= end && !anyFixed<kProbe>(w + i, required))
        i += kProbe;
    for (; i < end; ++i)
        if (passes(w[i], required))
            return i;
    return -1;
}

// Last passing index in [begin, end), or -1.
int64_t scanBackward(const uint32_t* w, int64_t begin, int64_t end, uint32_t required)
{
    int64_t i = end;
    while (i - kProbe >= begin && !anyFixed<kProbe>(w + i - kProbe, required))
        i -= kProbe;
    while (i > begin) {
        --i;
        if (passes(w[i], required))
            return i;
    }
    return -1;
}

// The left-th passing index in [begin, end) (left >= 1), or -1 after taking the span's count from
// left.
int64_t nthInSpan(const uint32_t* w, int64_t begin, int64_t end, uint32_t required, uint32_t& left)
{
    int64_t i = begin;
    for (; i + kChunk <= end; i += kChunk) {
        const uint32_t c = countFixed<kChunk>(w + i, required);
        if (c >= left)
            break;
        left -= c;
    }
    for (; i < end; ++i)
        if (passes(w[i], required) && --left == 0)
            return i;
    return -1;
}

inline void orSpan(uint32_t* w, int64_t begin, int64_t end, uint32_t mask)
{
    for (int64_t i = begin; i < end; ++i)
        w[i] |= mask;
}

inline void andSpan(uint32_t* w, int64_t begin, int64_t end, uint32_t mask)
{
    for (int64_t i = begin; i < end; ++i)
        w[i] &= mask;
}

} // namespace

FiltroBits::FiltroBits(int32_t wordCount)
{
    const int32_t size = std::clamp(wordCount, 1, kWords);
    const int32_t blocks = (size + kBlockWords - 1) >> kBlockShift;
    // Whole blocks, so the block kernels never run off the end. calloc leaves the untouched pages
    // to the system until they are written.
    m_words.reset(static_cast<uint32_t*>(std::calloc(static_cast<size_t>(blocks) << kBlockShift, sizeof(uint32_t))));
    m_blockGen.reset(static_cast<uint32_t*>(std::calloc(static_cast<size_t>(blocks), sizeof(uint32_t))));
    m_blockCount.reset(static_cast<uint16_t*>(std::calloc(static_cast<size_t>(blocks), sizeof(uint16_t))));
    if (!m_words || !m_blockGen || !m_blockCount) {
        m_words.reset();
        m_blockGen.reset();
        m_blockCount.reset();
        return;
    }
    m_size = size;
    m_blocks = blocks;
}

FiltroBits& processFiltroBits()
{
    static FiltroBits bits;
    return bits;
}

// ---- Loading

bool FiltroBits::LoadFlags(const std::string& path, const SourceOpener& opener)
{
    std::unique_ptr<ByteSource> src = opener(path);
    if (!src)
        return false;
    if (m_size < 2)
        return true;
    // The file is read straight into the words, byte i at byte offset 4 + i, and widened in place.
    uint8_t* bytes = reinterpret_cast<uint8_t*>(m_words.get()) + sizeof(uint32_t);
    const int64_t limit = m_size - 1;
    int64_t got = 0;
    while (got < limit) {
        const int64_t n = src->readAt(got, bytes + got, std::min(limit - got, kReadChunk));
        if (n <= 0)
            break;
        got += n;
    }
    // From the last byte backwards: word n overwrites array bytes 4n .. 4n+3, which hold file
    // bytes 4n-4 .. 4n-1, all at or after byte n-1 and therefore already widened.
    for (int64_t n = got; n >= 1; --n)
        m_words[n] = bytes[n - 1];
    invalidateAll();
    return true;
}

bool FiltroBits::LoadLimits(const std::string& path, const SourceOpener& opener)
{
    std::vector<uint8_t> b;
    if (!readWholeSource(opener, path, b, kLimitsSize))
        return false;
    for (size_t e = 0; e + kLimitsEntry <= b.size(); e += kLimitsEntry) {
        const uint8_t* p = b.data() + e;
        const int32_t k = p[0] == 'A' ? 0 : p[0] == 'C' ? 1 : p[0] == 'P' ? 2 : -1;
        if (k >= 0)
            SetGuideRange(k, static_cast<int32_t>(bytes::le32(p + 4)), static_cast<int32_t>(bytes::le32(p + 8)));
    }
    std::copy(std::begin(m_ranges), std::end(m_ranges), std::begin(m_saved));
    return true;
}

bool FiltroBits::SetGuideRange(int32_t k, int32_t first, int32_t last)
{
    if (k < 0 || k >= kGuides || first < 0 || first > last || last > m_size - 1)
        return false;
    m_ranges[k] = {first, last};
    const int32_t from = std::max(first, 1);
    if (from <= last) {
        orSpan(m_words.get(), from, static_cast<int64_t>(last) + 1, kRangeBits);
        if (m_required & kRangeBits)
            invalidateWords(from, last);
    }
    return true;
}

// ---- Ranges and cursor

int32_t FiltroBits::lo() const
{
    return std::max(m_ranges[m_selected].first, 1);
}

FiltroBits::Bounds FiltroBits::guideRange(int32_t k) const
{
    return k >= 0 && k < kGuides ? m_ranges[k] : Bounds{};
}

FiltroBits::Bounds FiltroBits::savedRange(int32_t k) const
{
    return k >= 0 && k < kGuides ? m_saved[k] : Bounds{};
}

uint32_t FiltroBits::wordAt(int32_t n) const
{
    return n >= 0 && n < m_size ? m_words[n] : 0;
}

bool FiltroBits::SelectRange(int32_t k)
{
    if (m_rangesChanged) {
        std::copy(std::begin(m_saved), std::end(m_saved), std::begin(m_ranges));
        m_rangesChanged = false;
    }
    if (k >= 0 && k < kGuides) {
        m_selected = k;
        m_cursor = lo();
        return true;
    }
    // The agenda's view: the telephone and commercial guides as one range 0.
    m_selected = 0;
    SetGuideRange(0, m_ranges[0].first, m_ranges[1].last);
    m_rangesChanged = true;
    m_cursor = lo();
    return false;
}

bool FiltroBits::InRange(int32_t n) const
{
    return n >= lo() && n <= hi();
}

bool FiltroBits::SetCursor(int32_t n)
{
    if (n == 0) {
        m_cursor = lo();
        return true;
    }
    if (!InRange(n))
        return false;
    m_cursor = n;
    return true;
}

// ---- Bits

bool FiltroBits::SetBit(int32_t n, int bit, bool on)
{
    if (!validBit(bit) || !InRange(n))
        return false;
    const uint32_t m = 1u << bit;
    if (on)
        m_words[n] |= m;
    else
        m_words[n] &= ~m;
    if (m_required & m)
        m_blockGen[n >> kBlockShift] = 0;
    return true;
}

bool FiltroBits::TestBit(int32_t n, int bit) const
{
    return validBit(bit) && InRange(n) && ((m_words[n] >> bit) & 1u) != 0;
}

void FiltroBits::SetCodeEverywhere(int bit, bool on)
{
    if (!validBit(bit))
        return;
    const int32_t a = lo();
    const int32_t z = hi();
    if (a > z)
        return;
    const uint32_t m = 1u << bit;
    if (on)
        orSpan(m_words.get(), a, static_cast<int64_t>(z) + 1, m);
    else
        andSpan(m_words.get(), a, static_cast<int64_t>(z) + 1, ~m);
    if (m_required & m)
        invalidateWords(a, z);
}

void FiltroBits::ClearCodes(uint32_t mask)
{
    const int32_t a = lo();
    const int32_t z = hi();
    if (a > z || mask == 0)
        return;
    andSpan(m_words.get(), a, static_cast<int64_t>(z) + 1, ~mask);
    if (m_required & mask)
        invalidateWords(a, z);
}

void FiltroBits::SetRequired(int bit, bool on)
{
    if (!validBit(bit))
        return;
    const uint32_t m = 1u << bit;
    const uint32_t required = on ? (m_required | m) : (m_required & ~m);
    if (required != m_required) {
        m_required = required;
        invalidateAll();
    }
}

bool FiltroBits::IsRequired(int bit) const
{
    return validBit(bit) && ((m_required >> bit) & 1u) != 0;
}

void FiltroBits::Require(int bit)
{
    SetRequired(bit, true);
    m_cursor = lo();
}

bool FiltroBits::Passes(int32_t n) const
{
    return InRange(n) && passes(m_words[n], m_required);
}

// ---- Block summary

void FiltroBits::invalidateAll()
{
    if (++m_gen == 0) {
        // After 2^32 mask changes: start the generations again from a clean slate.
        std::fill(m_blockGen.get(), m_blockGen.get() + m_blocks, 0u);
        m_gen = 1;
    }
}

void FiltroBits::invalidateWords(int32_t first, int32_t last)
{
    std::fill(m_blockGen.get() + (first >> kBlockShift), m_blockGen.get() + (last >> kBlockShift) + 1, 0u);
}

uint32_t FiltroBits::blockCount(int32_t b)
{
    if (m_blockGen[b] != m_gen) {
        m_blockCount[b] = static_cast<uint16_t>(
            countFixed<kBlockWords>(m_words.get() + (static_cast<int64_t>(b) << kBlockShift), m_required));
        m_blockGen[b] = m_gen;
    }
    return m_blockCount[b];
}

uint32_t FiltroBits::countWords(int32_t first, int32_t last) const
{
    return countSpan(m_words.get() + first, static_cast<int64_t>(last) - first + 1, m_required);
}

int32_t FiltroBits::findForward(int32_t from, int32_t to) const
{
    int32_t pos = from;
    while (pos <= to) {
        const int32_t b = pos >> kBlockShift;
        const int32_t end = std::min(((b + 1) << kBlockShift) - 1, to);
        if (!blockKnownEmpty(b)) {
            const int64_t i = scanForward(m_words.get(), pos, static_cast<int64_t>(end) + 1, m_required);
            if (i >= 0)
                return static_cast<int32_t>(i);
        }
        pos = end + 1;
    }
    return 0;
}

int32_t FiltroBits::findBackward(int32_t from, int32_t to) const
{
    int32_t pos = from;
    while (pos >= to) {
        const int32_t b = pos >> kBlockShift;
        const int32_t begin = std::max(b << kBlockShift, to);
        if (!blockKnownEmpty(b)) {
            const int64_t i = scanBackward(m_words.get(), begin, static_cast<int64_t>(pos) + 1, m_required);
            if (i >= 0)
                return static_cast<int32_t>(i);
        }
        pos = begin - 1;
    }
    return 0;
}

// ---- Counting and walking

int32_t FiltroBits::CountPassing()
{
    const int32_t z = hi();
    uint32_t total = 0;
    for (int32_t pos = lo(); pos <= z;) {
        const int32_t b = pos >> kBlockShift;
        const int32_t blockFirst = b << kBlockShift;
        const int32_t blockLast = blockFirst + kBlockWords - 1;
        const int32_t end = std::min(blockLast, z);
        if (pos == blockFirst && end == blockLast)
            total += blockCount(b);
        else if (!blockKnownEmpty(b))
            total += countWords(pos, end);
        pos = end + 1;
    }
    m_count = static_cast<int32_t>(total);
    return m_count;
}

int32_t FiltroBits::FirstPassing()
{
    m_cursor = lo();
    return SeekPassing();
}

int32_t FiltroBits::SeekPassing()
{
    const int32_t z = hi();
    const int32_t start = std::max(m_cursor, lo());
    const int32_t r = start <= z ? findForward(start, z) : 0;
    m_cursor = r != 0 ? r : z + 1;
    return r;
}

int32_t FiltroBits::NextPassing()
{
    const int32_t z = hi();
    const int32_t start = std::max(m_cursor + 1, lo());
    const int32_t r = start <= z ? findForward(start, z) : 0;
    m_cursor = r != 0 ? r : z + 1;
    return r;
}

int32_t FiltroBits::PrevPassing()
{
    const int32_t a = lo();
    const int32_t start = std::min(m_cursor - 1, hi());
    const int32_t r = start >= a ? findBackward(start, a) : 0;
    m_cursor = r != 0 ? r : a - 1;
    return r;
}

int32_t FiltroBits::NthPassing(int32_t k)
{
    if (k <= 1)
        return FirstPassing();
    const int32_t z = hi();
    auto left = static_cast<uint32_t>(k);
    for (int32_t pos = lo(); pos <= z;) {
        const int32_t b = pos >> kBlockShift;
        const int32_t blockFirst = b << kBlockShift;
        const int32_t blockLast = blockFirst + kBlockWords - 1;
        const int32_t end = std::min(blockLast, z);
        if (pos == blockFirst && end == blockLast) {
            const uint32_t c = blockCount(b);
            if (c < left) {
                left -= c;
                pos = end + 1;
                continue;
            }
        } else if (blockKnownEmpty(b)) {
            pos = end + 1;
            continue;
        }
        const int64_t i = nthInSpan(m_words.get(), pos, static_cast<int64_t>(end) + 1, m_required, left);
        if (i >= 0) {
            m_cursor = static_cast<int32_t>(i);
            return m_cursor;
        }
        pos = end + 1;
    }
    m_cursor = z + 1;
    return 0;
}
