// WordIndexWriter: writes the word index ("ixpal.idx") and its code table ("ixpal.hfm") from
// (word, area, record) postings, in the layout that Indice reads (see engine/Indice.h). Record texts
// are split and folded by engine/WordFold, the same code that splits the user's search text.
//
// Built for tens of millions of postings: keys are interned once (at most 11 bytes each) and every
// posting is one packed 64-bit integer, sorted once at the end; no heap node per posting. One
// thread; the writer owns its postings and the finished file images.
#pragma once

#include "engine/huffman.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class WordIndexWriter {
public:
    static constexpr int32_t kMaxRecord = 0xC0FFFF;
    using Table = std::array<uint8_t, huffman::kTableSize>;

    WordIndexWriter();

    // The words of a record's name (area 0) and address (area 1).
    bool addRecordText(int32_t record, std::string_view name, std::string_view address);
    // The words of one text into one area (0 names, 1 addresses), split as that area's search text.
    bool addText(int32_t record, int area, std::string_view text);
    // One word as given: a final "." dropped, upper-cased, trimmed, cut to 11 bytes; an empty word
    // is ignored. False (error() says why) for a record outside 1..kMaxRecord or a bad area.
    bool addWord(std::string_view word, int area, int32_t record);

    // Codes the keys with this table instead of one built from the keys' symbol counts.
    void setCodeTable(const Table& table) { m_fixedTable = table; }

    // Builds the table and the index file. False when the keys cannot be stored in the format (a
    // character without a code in a given table, more than 255 entries in one trie node, a level
    // too large for 24-bit child offsets); error() says which.
    bool finish();

    [[nodiscard]] const std::vector<uint8_t>& indexBytes() const { return m_index; }
    [[nodiscard]] const Table& tableBytes() const { return m_table; }
    // Writes both files; false when either cannot be written.
    [[nodiscard]] bool writeFiles(const std::string& indexPath, const std::string& tablePath) const;

    [[nodiscard]] size_t keyCount() const { return m_keyCount; }
    [[nodiscard]] size_t postingCount() const { return m_postings.size(); }
    [[nodiscard]] const std::string& error() const { return m_error; }

private:
    static constexpr size_t kSlot = 12; // 11 key bytes and the length

    bool checkPosting(int area, int32_t record);
    // Adds a key that is already normalised.
    void addKey(std::string_view key, int area, int32_t record);
    uint64_t internKey(std::string_view key);
    [[nodiscard]] std::string_view keyAt(uint64_t id) const;
    void growHash();
    bool buildTrie(const huffman& table);

    std::vector<char> m_keys; // kSlot bytes per key
    size_t m_keyCount = 0;
    std::vector<uint32_t> m_hash;     // key id + 1, 0 = empty slot
    std::vector<uint64_t> m_postings; // key id << 25 | area << 24 | record

    std::vector<std::string> m_scratch;
    std::optional<Table> m_fixedTable;
    Table m_table{};
    std::vector<uint8_t> m_index;
    std::string m_error;
};
