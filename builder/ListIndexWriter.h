// ListIndexWriter: writes a list index ("ixLoc.idx", "ixTeN.idx", ...) from key -> ascending record
// numbers, in the layout that Indice reads (see engine/Indice.h and engine/cpkLists.h). Lists are
// coded as they are added, so a caller can stream millions of numbers; the key tables and the
// trailer are added by finish(). One thread; the object owns the growing file image.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class ListIndexWriter {
public:
    static constexpr int kMaxKeySpaces = 3;
    static constexpr int32_t kMaxRecordV1 = 0x7FFFFF;
    static constexpr int32_t kMaxRecordV2 = 0xBFFFFF;

    // Version 2 uses runs, steps and long steps wherever they save bytes; version 1 only absolute
    // numbers and runs. Any other version is taken as 2.
    explicit ListIndexWriter(int version = 2);

    // Adds a key space with a table of keyCount entries and returns its number (0, 1, 2), or -1
    // when three exist already or keyCount is negative. The first one is the one the search uses.
    int32_t addKeySpace(int32_t keyCount);
    // Codes the list of key in key space space. Keys run from 0 to keyCount; the key keyCount is
    // stored in entry 0, as the telephone-line index stores the line 0000 (asked for as 10000 in a
    // space of 10000 keys). An empty list leaves the entry 0. False (nothing written, error() says
    // why) for an unknown space, a key outside the table or given twice, numbers below 1, above the
    // version's limit, or not strictly ascending.
    bool addList(int32_t space, int32_t key, std::span<const int32_t> records);
    // The complete file: lists, key tables, trailer. With no key space added, one empty key space.
    // The writer is spent afterwards.
    [[nodiscard]] std::vector<uint8_t> finish();

    [[nodiscard]] const std::string& error() const { return m_error; }
    [[nodiscard]] int version() const { return m_version; }

    // Appends the coded list and its end marker to out; false when a number cannot be coded.
    static bool encodeList(int version, std::span<const int32_t> records, std::vector<uint8_t>& out);

private:
    struct Space {
        int32_t keys = 0;
        std::vector<int32_t> table;
    };

    int m_version;
    std::vector<uint8_t> m_bytes;
    std::vector<Space> m_spaces;
    std::string m_error;
};
