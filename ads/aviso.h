// aviso: the ad store. Turns the ad number of a record into the ad's kind, reference, image number
// and text lines, read from "AVI.dat" through its offset table "AVI.pk" and decoded with the code
// table "AVI.hfm". Owns its files, its table and the current ad; the current fields describe the
// last successful Read, whoever asked for it. Main thread only.
//
// "AVI.pk": PkTable format; ad n (from 1) starts at the offset in entry n and runs up to the offset
// of ad n + 1, the last one to the end of "AVI.dat". One entry of "AVI.dat":
//   Bytes           Field
//   0               kind, signed 8-bit
//   1-4             reference, 32-bit little-endian signed (for kind 3: the ad on the web server)
//   5-8             image number, 32-bit little-endian; only when kind is 0 or 5
//   5 (or 9)-end    text: Huffman stream ending with the code of 0; the byte 0x01 separates lines,
//                   the first line is the title
// At most 8000 bytes of one entry are read; the decoded text holds at most 9999 characters.
#pragma once

#include "engine/ByteSource.h"
#include "engine/PkTable.h"
#include "engine/huffman.h"

#include <cstdint>
#include <string>
#include <vector>

class aviso {
public:
    static constexpr int32_t kMaxEntryBytes = 8000;
    static constexpr int32_t kTextCapacity = 10000; // decoded text and its terminating 0
    static constexpr char kLineSeparator = '\x01';

    // Missing or unreadable files are not reported: a missing offset file gives 0 ads.
    aviso(const std::string& dataPath, const std::string& offsetPath, int32_t bufferSize,
          const SourceOpener& opener = openFileSource);
    aviso(const aviso&) = delete;
    aviso& operator=(const aviso&) = delete;

    // False when the table file cannot be opened; a store without a table decodes empty texts.
    bool LoadCodeTable(const std::string& path, const SourceOpener& opener = openFileSource);

    // Loads ad n into the current fields. False, the current fields unchanged, when n is not an ad
    // number (below 1, above adCount()), its offsets cannot be read or do not increase, or the
    // entry is too short for its own header.
    bool Read(int32_t n);
    // The length of entry n in bytes from the offset table (negative when the offsets decrease or
    // the last one lies past the end of "AVI.dat"); 0 when an offset cannot be read, -1 when the
    // offset file is not open.
    [[nodiscard]] int32_t EntryLength(int32_t n);

    [[nodiscard]] int32_t adCount() const { return m_count; }
    [[nodiscard]] int32_t kind() const { return m_kind; }
    [[nodiscard]] int32_t reference() const { return m_reference; }
    // Meaningful only while kind() is 0 or 5; other kinds leave what an earlier read set.
    [[nodiscard]] int32_t imageNumber() const { return m_imageNumber; }
    // The same list object for the store's whole life: each read clears and refills it, so a viewer
    // may hold a reference to it while it shows the ad.
    [[nodiscard]] const std::vector<std::string>& lines() const { return m_lines; }

private:
    // The length of entry n that starts at offset; 0 when the next offset cannot be read.
    [[nodiscard]] int32_t lengthFrom(int32_t n, int32_t offset);

    int32_t m_kind = 0;
    int32_t m_reference = 0;
    int32_t m_imageNumber = 0;
    std::vector<std::string> m_lines;
    huffman m_table;
    Archivo m_data;
    PkTable m_offsets;
    int32_t m_count = 0;
};
