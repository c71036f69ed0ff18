#include "engine/FiltroBits.h"

#include "engine/Bytes.h"
#include "engine/LargePages.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int64_t kReadChunk = 1 << 20;
constexpr int32_t kLimitsEntry = 12;
constexpr int32_t kLimitsSize = FiltroBits::kGuides * kLimitsEntry;

// Scan kernels. Fixed trip counts let the compiler vectorise them even at -O2 (its cheapest cost
// model only accepts loops with no scalar remainder); the callers handle the ragged ends.
constexpr int kChunk = 64; // counting step
constexpr int kProbe = 16; // searching step: how far a walk reads past a hit
// How many records ahead a write to listed records fetches the word it will write: far enough to
// cover a miss in memory, near enough to find it still cached.
constexpr size_t kWriteAhead = 16;

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

// How many records one pass of the write kernel takes before the records it set are listed.
constexpr int32_t kWriteChunk = 256;

// The write kernel of setBitRun: sets bit m of the records of [a, z] in order, counting in count
// those that then hold every required bit, until count reaches stopAfter; returns how many records
// it took. Summary: drops the block summary entry of each record written. Listing: puts the records
// of [spanFirst, spanLast] whose bit was clear into fresh, in order. Fetch: fetches each word a few
// records ahead (for records far apart; close ones the processor fetches on its own).
template <bool Summary, bool Listing, bool Fetch>
int32_t writeRun(uint32_t* words, uint32_t* blockGen, int shift, const int32_t* records, int32_t n, uint32_t m,
                 uint32_t required, int32_t a, int32_t z, int32_t stopAfter, int32_t& count, int32_t spanFirst,
                 int32_t spanLast, int32_t* fresh, int32_t& freshCount)
{
    const auto width = static_cast<uint32_t>(z - a);
    int32_t taken = 0;
    int32_t c = count;
    int32_t k = 0;
    while (taken < n && c < stopAfter) {
        if constexpr (Fetch) {
            if (taken + static_cast<int32_t>(kWriteAhead) < n)
                __builtin_prefetch(words + records[taken + static_cast<int32_t>(kWriteAhead)], 1);
        }
        const int32_t r = records[taken++];
        if (static_cast<uint32_t>(r - a) > width)
            continue;
        const uint32_t old = words[r];
        const uint32_t w = old | m;
        words[r] = w;
        if constexpr (Summary)
            blockGen[r >> shift] = 0;
        c += (w & required) == required ? 1 : 0;
        if constexpr (Listing) {
            if ((old & m) == 0 && r >= spanFirst && r <= spanLast)
                fresh[k++] = r;
        }
    }
    count = c;
    freshCount = k;
    return taken;
}

template <bool Summary, bool Listing>
int32_t writeRunFetch(bool fetch, uint32_t* words, uint32_t* blockGen, int shift, const int32_t* records, int32_t n,
                      uint32_t m, uint32_t required, int32_t a, int32_t z, int32_t stopAfter, int32_t& count,
                      int32_t spanFirst, int32_t spanLast, int32_t* fresh, int32_t& freshCount)
{
    return fetch ? writeRun<Summary, Listing, true>(words, blockGen, shift, records, n, m, required, a, z, stopAfter,
                                                    count, spanFirst, spanLast, fresh, freshCount)
                 : writeRun<Summary, Listing, false>(words, blockGen, shift, records, n, m, required, a, z, stopAfter,
                                                     count, spanFirst, spanLast, fresh, freshCount);
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
    adviseLargePages(m_words.get(), (static_cast<size_t>(blocks) << kBlockShift) * sizeof(uint32_t));
    // Every word starts at 0: every plane is known to be empty everywhere.
    for (int b = 0; b < kPlanes; ++b)
        listEmpty(b, 0, m_size - 1);
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
    // A new data set's flags: the guide ranges of one opened before on this bit set are gone until
    // its limits file gives them again.
    std::fill(std::begin(m_ranges), std::end(m_ranges), Bounds{});
    std::fill(std::begin(m_saved), std::end(m_saved), Bounds{});
    m_rangesChanged = false;
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
    // Bits 0-7 now hold the file's bytes; the higher bits of the words read were cleared, which
    // leaves their lists true.
    for (int b = 0; b < 8; ++b)
        forget(b);
    invalidateAll();
    ++m_changes;
    return true;
}

bool FiltroBits::LoadLimits(const std::string& path, const SourceOpener& opener, int32_t lastRecord)
{
    std::vector<uint8_t> b;
    if (!readWholeSource(opener, path, b, kLimitsSize))
        return false;
    for (size_t e = 0; e + kLimitsEntry <= b.size(); e += kLimitsEntry) {
        const uint8_t* p = b.data() + e;
        const int32_t k = p[0] == 'A' ? 0 : p[0] == 'C' ? 1 : p[0] == 'P' ? 2 : -1;
        const auto first = static_cast<int32_t>(bytes::le32(p + 4));
        const auto last = static_cast<int32_t>(bytes::le32(p + 8));
        if (k >= 0 && first <= lastRecord)
            SetGuideRange(k, first, std::min(last, lastRecord));
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
        for (int b = 0; b < 5; ++b)
            forget(b);
    }
    ++m_changes;
    return true;
}

// ---- Ranges and cursor

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
    ++m_changes;
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
    if (on) {
        (void)SetBitAndPass(n, bit);
        return true;
    }
    uint32_t& w = m_words[n];
    if (w & m) {
        w &= ~m; // a listed record whose bit is cleared may stay in the list
        m_planes[bit].cleared = true;
    }
    if (m_required & m)
        m_blockGen[n >> kBlockShift] = 0;
    ++m_changes;
    return true;
}

int32_t FiltroBits::setBitRun(const int32_t* records, int32_t n, int bit, int32_t stopAfter, int32_t& passed)
{
    passed = 0;
    if (!validBit(bit) || n <= 0) {
        return std::max(n, 0);
    }
    // The members in locals: the word writes could otherwise alias them.
    uint32_t* const words = m_words.get();
    uint32_t* const blockGen = m_blockGen.get();
    const uint32_t m = 1u << bit;
    const uint32_t required = m_required;
    const int32_t a = lo();
    const int32_t z = hi();
    if (a > z) {
        m_changes += static_cast<uint64_t>(n);
        return n;
    }
    const bool summary = (required & m) != 0;
    // Records within a cache line of each other are fetched by the processor on its own; further
    // apart, each one is fetched a few records ahead of its write.
    const bool fetch =
        static_cast<int64_t>(records[n - 1]) - records[0] > static_cast<int64_t>(n) * 16 || records[n - 1] < records[0];
    PlaneList& p = m_planes[bit];
    int32_t taken = 0;
    int32_t count = 0;
    int32_t fresh[kWriteChunk];
    while (taken < n && count < stopAfter) {
        const int32_t chunk = std::min(n - taken, kWriteChunk);
        const bool listing = p.listed;
        if (listing && p.records.size() + static_cast<size_t>(chunk) > p.cap) {
            // The list may fill up within this chunk: record by record, as SetBitAndPass does.
            const int32_t r = records[taken++];
            if (r >= a && r <= z)
                count += SetBitAndPass(r, bit) ? 1 : 0;
            else
                ++m_changes;
            continue;
        }
        int32_t freshCount = 0;
        const int32_t* at = records + taken;
        int32_t took = 0;
        if (summary) {
            took = listing ? writeRunFetch<true, true>(fetch, words, blockGen, kBlockShift, at, chunk, m, required, a,
                                                       z, stopAfter, count, p.first, p.last, fresh, freshCount)
                           : writeRunFetch<true, false>(fetch, words, blockGen, kBlockShift, at, chunk, m, required, a,
                                                        z, stopAfter, count, 0, -1, fresh, freshCount);
        } else {
            took = listing ? writeRunFetch<false, true>(fetch, words, blockGen, kBlockShift, at, chunk, m, required, a,
                                                        z, stopAfter, count, p.first, p.last, fresh, freshCount)
                           : writeRunFetch<false, false>(fetch, words, blockGen, kBlockShift, at, chunk, m, required, a,
                                                         z, stopAfter, count, 0, -1, fresh, freshCount);
        }
        taken += took;
        m_changes += static_cast<uint64_t>(took);
        if (freshCount > 0) {
            // The records whose bit went from clear to set join the list in order.
            bool ordered = p.ordered && (p.records.empty() || fresh[0] > p.records.back());
            for (int32_t i = 1; i < freshCount && ordered; ++i)
                ordered = fresh[i] > fresh[i - 1];
            p.ordered = ordered;
            p.records.insert(p.records.end(), fresh, fresh + freshCount);
        }
    }
    passed = count;
    return taken;
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
    if (!on) {
        ClearCodes(m);
        return;
    }
    orSpan(m_words.get(), a, static_cast<int64_t>(z) + 1, m);
    if (m_required & m)
        invalidateWords(a, z);
    forget(bit);
    ++m_changes;
}

void FiltroBits::ClearCodes(uint32_t mask)
{
    const int32_t a = lo();
    const int32_t z = hi();
    if (a > z || mask == 0)
        return;
    ++m_changes;
    // Listed planes lose their listed records of the range, one by one; the others are cleared
    // together in one sweep over the range.
    uint32_t sweep = 0;
    for (int b = 0; b < kPlanes; ++b) {
        const uint32_t m = 1u << b;
        if (!(mask & m))
            continue;
        PlaneList& p = m_planes[b];
        if (!sparseClear(b, a, z)) {
            sweep |= m;
            continue;
        }
        const bool required = (m_required & m) != 0;
        std::vector<int32_t>& v = p.records;
        // Locals: the word writes could otherwise alias the list and the members.
        int32_t* const list = v.data();
        uint32_t* const words = m_words.get();
        uint32_t* const blockGen = m_blockGen.get();
        const size_t size = v.size();
        size_t kept = 0;
        for (size_t i = 0; i < size; ++i) {
            if (i + kWriteAhead < size)
                __builtin_prefetch(words + list[i + kWriteAhead], 1);
            const int32_t r = list[i];
            if (r < a || r > z) {
                list[kept++] = r;
                continue;
            }
            words[r] &= ~m;
            if (required)
                blockGen[r >> kBlockShift] = 0;
        }
        v.resize(kept);
        if (kept == 0)
            p.ordered = true;
    }
    if (sweep == 0)
        return;
    andSpan(m_words.get(), a, static_cast<int64_t>(z) + 1, ~sweep);
    if (m_required & sweep)
        invalidateWords(a, z);
    for (int b = 0; b < kPlanes; ++b)
        if (sweep & (1u << b))
            listEmpty(b, a, z);
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
        ++m_changes;
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

// ---- Plane lists

void FiltroBits::forget(int bit)
{
    PlaneList& p = m_planes[bit];
    p.listed = false;
    p.ordered = true;
    p.cleared = false;
    p.records.clear();
}

void FiltroBits::listEmpty(int bit, int32_t first, int32_t last)
{
    PlaneList& p = m_planes[bit];
    if (p.listed && first <= p.last + 1 && p.first <= last + 1) {
        // The old span touches the cleared one: the list stays true over both, less what was cleared.
        std::erase_if(p.records, [&](int32_t r) { return r >= first && r <= last; });
        p.first = std::min(p.first, first);
        p.last = std::max(p.last, last);
    } else {
        p.records.clear();
        p.first = first;
        p.last = last;
    }
    p.listed = true;
    p.cap = static_cast<size_t>((static_cast<int64_t>(p.last) - p.first + 1) / kListShare) + 64;
    if (p.records.empty()) {
        p.ordered = true;
        p.cleared = false;
    }
}

void FiltroBits::listFull(int32_t n, int bit)
{
    PlaneList& p = m_planes[bit];
    // Repeats and cleared records (selection marks switched on and off) may be what fills it; a
    // list of a pass's records in order holds neither and is dropped at once.
    if (!p.ordered || p.cleared)
        tidy(bit);
    if (p.records.size() >= p.cap - p.cap / 4) {
        forget(bit);
        return;
    }
    p.ordered = p.ordered && (p.records.empty() || n > p.records.back());
    p.records.push_back(n);
}

void FiltroBits::tidy(int bit)
{
    PlaneList& p = m_planes[bit];
    std::vector<int32_t>& v = p.records;
    if (!p.ordered) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
        p.ordered = true;
    }
    const uint32_t m = 1u << bit;
    std::erase_if(v, [&](int32_t r) { return (m_words[r] & m) == 0; });
    p.cleared = false;
}

int FiltroBits::smallestListedRequired(int32_t a, int32_t z) const
{
    int best = -1;
    for (int b = 0; b < kPlanes; ++b) {
        const PlaneList& p = m_planes[b];
        if ((m_required >> b & 1u) && p.listed && p.first <= a && p.last >= z &&
            (best < 0 || p.records.size() < m_planes[best].records.size()))
            best = b;
    }
    return best;
}

bool FiltroBits::sparseClear(int bit, int32_t a, int32_t z) const
{
    // Records far apart cost a few words' sweep each (about as much as the sweep at a sixteenth of
    // the range); records close together cost far less.
    const PlaneList& p = m_planes[bit];
    return p.listed && p.first <= a && p.last >= z && p.records.size() <= static_cast<size_t>(z - a + 1) / 16;
}

int64_t FiltroBits::clearWork(uint32_t mask) const
{
    const int32_t a = lo();
    const int32_t z = hi();
    if (a > z)
        return 0;
    int64_t work = 0;
    bool sweep = false;
    for (int b = 0; b < kPlanes; ++b) {
        if (!(mask >> b & 1u))
            continue;
        if (sparseClear(b, a, z))
            work += static_cast<int64_t>(m_planes[b].records.size());
        else
            sweep = true;
    }
    return work + (sweep ? static_cast<int64_t>(z) - a + 1 : 0);
}

bool FiltroBits::planeListed(int bit) const
{
    if (!validBit(bit))
        return false;
    const PlaneList& p = m_planes[bit];
    return p.listed && p.first <= lo() && p.last >= hi();
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

void FiltroBits::adoptPassingCount(int32_t count)
{
    m_count = count;
    m_countedAt = m_changes;
}

int32_t FiltroBits::CountPassing()
{
    if (m_countedAt == m_changes)
        return m_count;
    m_countedAt = m_changes;
    const int32_t a = lo();
    const int32_t z = hi();
    // A passing record has every required plane set: when one of them lists few records, only
    // those need a look.
    const int listed = a <= z ? smallestListedRequired(a, z) : -1;
    if (listed >= 0 && m_planes[listed].records.size() <= static_cast<size_t>(z - a + 1) / 64) {
        PlaneList& p = m_planes[listed];
        if (!p.ordered)
            tidy(listed);
        const std::vector<int32_t>& v = p.records;
        int32_t total = 0;
        for (size_t i = 0; i < v.size(); ++i) {
            if (i + kWriteAhead < v.size())
                __builtin_prefetch(m_words.get() + v[i + kWriteAhead]);
            const int32_t r = v[i];
            total += r >= a && r <= z && passes(m_words[r], m_required) ? 1 : 0;
        }
        m_count = total;
        return m_count;
    }
    uint32_t total = 0;
    for (int32_t pos = a; pos <= z;) {
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
