// RecordStoreWriter: streams encoded records into "QD.dat" and their offsets into "PK.idx" (the
// offset table: entry n, from 1, is the 32-bit little-endian offset of record n). The code table is
// built beforehand from the symbol counts of every record's text (see recordText).
#pragma once

#include "builder/OutputFile.h"
#include "builder/RecordEncoder.h"

#include <string>

class RecordStoreWriter {
public:
    RecordStoreWriter(const std::string& dataPath, const std::string& offsetPath, const huffman& codes);

    // Appends one record; false (nothing written) when it cannot be encoded.
    bool add(const RecordFields& r, std::string* why = nullptr);
    [[nodiscard]] int32_t count() const { return m_count; }
    // Closes both files; false when any write failed.
    bool finish();

private:
    const huffman& m_codes;
    OutputFile m_data;
    OutputFile m_offsets;
    std::vector<uint8_t> m_scratch;
    int32_t m_count = 0;
};

// The whole offset table for the given offsets.
[[nodiscard]] std::vector<uint8_t> offsetTableBytes(const std::vector<uint32_t>& offsets);
