// FlagFileWriter: writes "QD.flg" (the stored web, mail and ad bits, one byte per record) and "QD.lmt"
// (the record ranges of the three guides), byte for byte as FiltroBits loads them. Records are
// numbered from 1; byte i of "QD.flg" belongs to record i + 1. One thread.
//
// "QD.lmt": entries of 12 bytes, little-endian, in the order "A", "C", "P":
//   +0  1  letter; a guide without a range is written with letter 0, which the reader ignores
//   +1  3  padding, 0
//   +4  4  first record number, signed
//   +8  4  last record number, signed, inclusive
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FlagFileWriter {
public:
    static constexpr int32_t kMaxRecord = 11'999'999;
    static constexpr uint8_t kWebBit = 1u << 5;
    static constexpr uint8_t kMailBit = 1u << 6;
    static constexpr uint8_t kAdBit = 1u << 7;
    static constexpr char kGuideLetters[3] = {'A', 'C', 'P'};

    struct RecordFlags {
        bool web = false;
        bool mail = false;
        bool ad = false;
    };

    [[nodiscard]] static uint8_t flagByte(const RecordFlags& flags);
    // One "QD.lmt" entry, for any letter and any numbers (tests write damaged files with it).
    static void appendLimitsEntry(std::vector<uint8_t>& out, uint8_t letter, int32_t first, int32_t last);

    // recordCount records without flags (clamped to 0..kMaxRecord).
    explicit FlagFileWriter(int32_t recordCount = 0);

    [[nodiscard]] int32_t recordCount() const { return static_cast<int32_t>(m_flags.size()); }
    // False (nothing changed) for n outside 1..recordCount.
    bool setFlags(int32_t n, const RecordFlags& flags);
    // Appends the next record; its number, or 0 when kMaxRecord records are already held.
    int32_t addRecord(const RecordFlags& flags);
    // Guide 0 "A", 1 "C", 2 "P". False (nothing changed) unless 0 <= guide <= 2 and
    // 1 <= first <= last <= kMaxRecord.
    bool setGuideRange(int guide, int32_t first, int32_t last);

    [[nodiscard]] const std::vector<uint8_t>& flagBytes() const { return m_flags; }
    [[nodiscard]] std::vector<uint8_t> limitsBytes() const;
    // Writes both files; false when either cannot be written.
    [[nodiscard]] bool save(const std::string& flagPath, const std::string& limitsPath) const;

private:
    struct Range {
        bool set = false;
        int32_t first = 0;
        int32_t last = 0;
    };

    std::vector<uint8_t> m_flags;
    Range m_ranges[3];
};
