// FiltroBits: the result of every search as one 32-bit word of flag bits per record, the record
// ranges of the three guides and a required mask. A record passes when it lies in the selected range
// and its word holds every required bit; counts and walks run over the passing records in record-
// number order. One instance is process-wide (processFiltroBits); tests make their own, smaller ones.
//
// Planes (bit b of every word): 0 in a guide range; 1 rubro, 2 locality, 3 province, 4 guide
// criteria; 5 web, 6 mail, 7 ad (stored in "QD.flg"); 9 area code, 10 prefix, 11 line, 12 name
// words, 13 address words criteria; 14 selection mark; 20 agenda note.
//
// "QD.flg": one byte per record, no header; byte i holds bits 5-7 of record i + 1 (bits 0-4 carry
// nothing and are overwritten when the ranges are loaded).
//
// "QD.lmt": three entries of 12 bytes, little-endian:
//   +0  1  letter "A" (range 0), "C" (range 1) or "P" (range 2); any other byte: entry ignored
//   +1  3  padding
//   +4  4  first record number of the range, signed
//   +8  4  last record number of the range, signed, inclusive
//
// Record 0 is never in a range, whatever the ranges say: its word is unused and no count or walk
// returns it.
//
// Speed: counts and the k-th passing record use a per-block summary (the number of passing words of
// each block of kBlockWords words under the current mask). A summary entry is dropped by any write
// that can change it and recomputed lazily by CountPassing and NthPassing, so even the counting and
// walking calls write to the object. Each plane may also keep the list of the records that set it
// within a span of records, while they are few: a plane emptied again then costs those records
// only, and a count can look at the records of the smallest listed required plane instead of the
// whole range. Every write keeps the lists true, whoever makes it.
//
// Threads: no lock. One thread at a time: during a search pass the worker owns the object (bits,
// required mask, cursor, counts); the main thread reads counts and walks only after the pass has
// handed over, and never while the worker writes.
#pragma once

#include "engine/ByteSource.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// The planes: bit b of every record's word, named once for every reader and writer of the set.
namespace plane {
enum Plane : int {
    kBase = 0,     // in a guide range (bits 0-4 are all set there)
    kRubro = 1,    // the rubro criterion
    kLocality = 2, // the locality criterion
    kProvince = 3, // the province criterion
    kGuide = 4,    // the guide criterion
    kWeb = 5,      // has a web address ("QD.flg")
    kMail = 6,     // has a mail address ("QD.flg")
    kAd = 7,       // has an ad ("QD.flg")
    kAreaCode = 9,
    kPrefix = 10,
    kLine = 11,
    kNameWords = 12,
    kAddressWords = 13,
    kSelection = 14, // marked by the user
    kNote = 20,      // has an agenda note
};
} // namespace plane

class FiltroBits {
public:
    static constexpr int32_t kWords = 12'000'000; // records 1 .. 11,999,999
    static constexpr int kBlockShift = 12;
    static constexpr int32_t kBlockWords = 1 << kBlockShift;
    static constexpr uint32_t kRangeBits = 0x1F; // bits 0-4, set in every ranged record
    static constexpr int kGuides = 3;

    struct Bounds {
        int32_t first = 0;
        int32_t last = 0;
    };

    // All words 0, ranges 0, required = bits 0-4. wordCount is for tests (the product uses kWords);
    // it is clamped to 1..kWords. When the words cannot be allocated the object holds no record and
    // refuses every range.
    explicit FiltroBits(int32_t wordCount = kWords);
    FiltroBits(const FiltroBits&) = delete;
    FiltroBits& operator=(const FiltroBits&) = delete;

    // Loading. LoadFlags: word n = byte n - 1 of the file (bits 8-31 cleared) for every byte read;
    // bytes past the last record number are ignored; words past the end of the file keep their
    // value. The guide ranges are dropped: the data set's limits file gives them (a bit set used for
    // a second data set keeps none of the first's). False (nothing changed) when the file cannot be
    // opened.
    bool LoadFlags(const std::string& path, const SourceOpener& opener = openFileSource);
    // Applies every complete entry of the first 36 bytes (a truncated last entry is ignored) and
    // saves the ranges. False when the file cannot be opened (the ranges stay as they were).
    // lastRecord is the highest record the store can read: a range reaching past it ends there, and
    // one starting past it is ignored, so the ranges do not depend on the size of the set.
    bool LoadLimits(const std::string& path, const SourceOpener& opener = openFileSource,
                    int32_t lastRecord = kWords - 1);
    // Sets range k and ORs bits 0-4 into its records. False (nothing changed) unless 0 <= k <= 2 and
    // 0 <= first <= last <= the highest record number.
    bool SetGuideRange(int32_t k, int32_t first, int32_t last);

    // Ranges and cursor. SelectRange(0..2) makes range k current and returns true; any other k
    // selects the union view (range 0 widened from the first "A" record to the last "C" record,
    // bits 0-4 set over it) and returns false. The cursor moves to the range's first record.
    bool SelectRange(int32_t k);
    [[nodiscard]] bool InRange(int32_t n) const { return n >= lo() && n <= hi(); }
    // n = 0 puts the cursor on the range's first record; false (cursor unchanged) outside the range.
    bool SetCursor(int32_t n);

    // Bits. A bit outside 0..31 is refused (false, nothing changed). Writes touch only the selected
    // range.
    bool SetBit(int32_t n, int bit, bool on);
    [[nodiscard]] bool TestBit(int32_t n, int bit) const;
    void SetCodeEverywhere(int bit, bool on);
    void ClearCodes(uint32_t mask);
    void SetRequired(int bit, bool on);
    [[nodiscard]] bool IsRequired(int bit) const;
    // SetRequired(bit, on) and the cursor back on the range's first record.
    void Require(int bit);
    [[nodiscard]] bool Passes(int32_t n) const;
    // SetBit(r, bit, true) for the records in order, counting those that then pass (Passes), up to
    // the record that makes the count reach stopAfter. Returns how many records it took; passed
    // receives the count. The search pass writes its lists this way and hands over the last record
    // taken when the count reached stopAfter.
    int32_t setBitRun(const int32_t* records, int32_t n, int bit, int32_t stopAfter, int32_t& passed);
    // SetBit(n, bit, true), then Passes(n): what a search pass does for each record it writes.
    bool SetBitAndPass(int32_t n, int bit)
    {
        if (!validBit(bit) || !InRange(n))
            return false;
        const uint32_t m = 1u << bit;
        uint32_t& w = m_words[n];
        if ((w & m) == 0) {
            w |= m;
            PlaneList& p = m_planes[bit];
            if (p.listed && n >= p.first && n <= p.last) {
                if (p.records.size() < p.cap) {
                    p.ordered = p.ordered && (p.records.empty() || n > p.records.back());
                    p.records.push_back(n);
                } else {
                    listFull(n, bit);
                }
            }
        }
        if (m_required & m)
            m_blockGen[n >> kBlockShift] = 0;
        ++m_changes;
        return (w & m_required) == m_required;
    }

    // Counting and walking over the passing records of the selected range. Walks return a record
    // number and leave the cursor on it, or return 0 with the cursor one past the range (forwards)
    // or one before it (backwards). A cursor left outside the range walks as if it stood just
    // outside the range's near end.
    int32_t CountPassing();
    [[nodiscard]] int32_t PassingCount() const { return m_count; }
    // A count of the passing records that the caller made itself, as a search pass does while it
    // writes the planes: it becomes PassingCount, and CountPassing returns it without counting until
    // the next change. The caller vouches for it.
    void adoptPassingCount(int32_t count);
    int32_t FirstPassing();
    int32_t SeekPassing(); // from the cursor, included
    int32_t NextPassing(); // after the cursor
    int32_t PrevPassing(); // before the cursor, backwards
    // The k-th passing record, from 1 (k below 1 gives the first), or 0 when there are fewer.
    int32_t NthPassing(int32_t k);

    [[nodiscard]] int32_t cursor() const { return m_cursor; }
    [[nodiscard]] int32_t selectedRange() const { return m_selected; }
    [[nodiscard]] uint32_t required() const { return m_required; }
    [[nodiscard]] bool rangesChanged() const { return m_rangesChanged; }
    // Bounds of the selected range, of range k and of saved range k (k outside 0..2: {0, 0}).
    [[nodiscard]] Bounds selectedBounds() const { return m_ranges[m_selected]; }
    [[nodiscard]] Bounds guideRange(int32_t k) const;
    [[nodiscard]] Bounds savedRange(int32_t k) const;
    // Number of words (the highest record number + 1); the raw word of record n (0 outside).
    [[nodiscard]] int32_t wordCount() const { return m_size; }
    [[nodiscard]] uint32_t wordAt(int32_t n) const;

    // Grows by one or more with every call that may change which records pass or what a plane holds
    // (bits, required mask, ranges); reads, walks and counts leave it alone. Lets a search pass see
    // whether anything else wrote while it handed a match over.
    [[nodiscard]] uint64_t changeCount() const { return m_changes; }
    // Asks the processor to fetch record n's word ahead of a write (no effect outside the set).
    void prefetch(int32_t n) const
    {
        if (n >= 0 && n < m_size)
            __builtin_prefetch(m_words.get() + n, 1);
    }
    // Planes whose set records within the selected range are listed (for tests and benchmarks).
    [[nodiscard]] bool planeListed(int bit) const;
    // About how many words ClearCodes(mask) would touch now: the listed records of the planes it
    // empties one by one, plus the whole range when it has to sweep it.
    [[nodiscard]] int64_t clearWork(uint32_t mask) const;

private:
    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };

    // The records of [first, last] whose bit is set are all in records, which may also hold records
    // cleared since, and repeats when not ordered. Not listed: nothing is known.
    struct PlaneList {
        bool listed = false;
        bool ordered = true;  // ascending, no repeats
        bool cleared = false; // some listed record may have had its bit cleared since
        int32_t first = 0;
        int32_t last = -1;
        size_t cap = 0; // the most records listed for the span
        std::vector<int32_t> records;
    };
    static constexpr int kPlanes = 32;
    // A list longer than its span / kListShare stops being kept.
    static constexpr int32_t kListShare = 16;

    void forget(int bit);
    // Record n's bit has just gone from clear to set in a listed plane whose list is full.
    void listFull(int32_t n, int bit);
    // Lists plane bit as empty over [first, last] (its bits there were just cleared).
    void listEmpty(int bit, int32_t first, int32_t last);
    // Sorts the list and drops repeats and records whose bit is clear.
    void tidy(int bit);
    // ClearCodes empties the plane record by record from its list rather than sweeping [a, z].
    [[nodiscard]] bool sparseClear(int bit, int32_t a, int32_t z) const;
    // The listed required plane with the fewest records covering [a, z], or -1.
    [[nodiscard]] int smallestListedRequired(int32_t a, int32_t z) const;

    // The selected range without record 0: [lo(), hi()], empty when lo() > hi().
    [[nodiscard]] int32_t lo() const { return m_ranges[m_selected].first > 1 ? m_ranges[m_selected].first : 1; }
    [[nodiscard]] int32_t hi() const { return m_ranges[m_selected].last; }
    [[nodiscard]] static bool validBit(int bit) { return bit >= 0 && bit < 32; }

    // Per-block summary.
    void invalidateAll();
    void invalidateWords(int32_t first, int32_t last);
    [[nodiscard]] bool blockKnownEmpty(int32_t b) const { return m_blockGen[b] == m_gen && m_blockCount[b] == 0; }
    uint32_t blockCount(int32_t b);
    [[nodiscard]] uint32_t countWords(int32_t first, int32_t last) const;
    [[nodiscard]] int32_t findForward(int32_t from, int32_t to) const;
    [[nodiscard]] int32_t findBackward(int32_t from, int32_t to) const;

    int32_t m_size = 0;
    int32_t m_blocks = 0;
    std::unique_ptr<uint32_t[], FreeDeleter> m_words;
    std::unique_ptr<uint32_t[], FreeDeleter> m_blockGen; // entry valid when equal to m_gen
    std::unique_ptr<uint16_t[], FreeDeleter> m_blockCount;
    uint32_t m_gen = 1;

    Bounds m_ranges[kGuides];
    Bounds m_saved[kGuides];
    int32_t m_cursor = 0;
    int32_t m_selected = 0;
    int32_t m_count = 0;
    uint32_t m_required = kRangeBits;
    bool m_rangesChanged = false;
    uint64_t m_changes = 0;
    uint64_t m_countedAt = UINT64_MAX; // changeCount when m_count was last made
    PlaneList m_planes[kPlanes];
};

// The process-wide bit set, created on first use and alive until the process ends.
[[nodiscard]] FiltroBits& processFiltroBits();
