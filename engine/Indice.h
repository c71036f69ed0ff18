// Indice: one index file of the data set, either a list index (small integer key -> ascending record
// numbers) or the word trie (word -> one posting group per matching word and area). Owned by the
// record store; used by one thread at a time (the search worker). Failures read as empty answers.
//
// List index file (integers little-endian):
//   0                    1      list format version, 1 or 2 (see cpkLists.h)
//   1 ..                        the lists, each closed by its end marker
//   anywhere                    per key space a key table: int32 offsets, entry k = list of key k,
//                               0 = key k has no records
//   size - 1             1      type byte T (signed): 1..3 key spaces; 0 reads one key space but
//                               answers nothing; 0xFF = trie; other negatives: nothing
//   size - 1 - 8(i+1)    4 + 4  key space i: key table offset, number of keys
// A key equal to the number of keys reads entry 0 (the telephone line 0000 is asked for as 10000).
//
// Trie file (integers little-endian):
//   anywhere                    level d: the nodes of depth d, from L(d)
//   X0 / X1                     posting areas 0 (names) and 1 (addresses)
//   size - 11 - 4D              X0, X1, L(0) .. L(D-1) (4 each), R (1), D (1), 0xFF (1)
//   node = R (root, at L(0)) or C entries, sorted by key byte:
//     +0 1  key byte (one byte of the coded key)
//     +1 1  child count C
//     +2 3  C > 0: offset of the child node within level d + 1
//     +2 8  C = 0, a leaf: list offsets in area 0 and area 1, relative to X0 / X1; 0 = no list
//   A coded key is the word's code in the index's own table, then the code of 0, padded with zero
//   bits to a byte. Posting group: entries closed by 0xFF; 0xC1-0xFE = run of (b & 0x3F) numbers
//   after the previous one; 0x00-0xC0 = absolute 24-bit big-endian number. Groups lie in leaf order.
#pragma once

#include "engine/Archivo.h"
#include "engine/IxQuery.h"
#include "engine/cpkLists.h"
#include "engine/huffman.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Indice : public Archivo {
public:
    static constexpr int kMaxKeySpaces = 3;
    static constexpr int kMaxLevels = 100;
    static constexpr int8_t kTrieType = -1;
    static constexpr int kCodeBufferSize = 200;

    // Opens the file, reads its trailer and key tables (or the trie description) and opens the list
    // reader on a second source from the same opener. A missing file gives an index answering nothing.
    Indice(std::string path, int32_t blockSize, SourceOpener opener = openFileSource);
    ~Indice() override;

    // List indexes. False when the key space or key is outside the index. An unfinished list of an
    // earlier seek is left first, so what follows is always the list of this key (empty when false).
    bool SeekList(int32_t key, int32_t keySpace);
    // The next number of the positioned list; 0 at its end and on any failure.
    int32_t ListFirst(int32_t keySpace);
    int32_t ListNext(int32_t keySpace);

    // The trie's own code table ("ixpal.hfm"); false when it cannot be opened.
    bool LoadCodeTable(const std::string& path, const SourceOpener& opener = openFileSource);
    // Prefix lookup, or whole word when key ends with "."; none when no stored word matches, the
    // key codes to nothing or the index is not a usable trie. area 0 = names, 1 = addresses.
    [[nodiscard]] std::unique_ptr<IxQuery> Query(std::string_view key, int32_t area);
    // The next record number of the answer; 0 once it is exhausted (and ever after).
    int32_t QueryNext(IxQuery& q);
    void FreeQuery(std::unique_ptr<IxQuery> q);

    [[nodiscard]] int8_t typeByte() const { return m_type; }
    [[nodiscard]] int32_t keyCount(int32_t keySpace) const;
    [[nodiscard]] bool isTrie() const { return m_trieValid; }
    [[nodiscard]] const huffman& codeTable() const { return m_table; }
    [[nodiscard]] cpkLists& lists() { return m_lists; }

private:
    struct KeySpace {
        int32_t tableOffset = 0;
        int32_t keys = 0;
        std::unique_ptr<int32_t[]> table;
    };
    struct Entry {
        uint8_t key = 0;
        uint8_t children = 0;
        uint32_t child = 0;        // inner entry: child node offset within the next level
        uint32_t list[2] = {0, 0}; // leaf: list offsets per area
    };

    void loadListIndex();
    void loadTrie();
    // Reads the entry at pos into e and returns its size, or 0 when it does not fit in the file.
    uint32_t readEntry(uint64_t pos, Entry& e);
    // Leaves below the node matching value under mask; budget bounds the entries a damaged trie may
    // make us visit. first receives the first non-zero list offset met.
    int32_t CountMatches(int level, uint32_t base, int count, uint8_t value, uint8_t mask, int area, uint32_t& first,
                         int64_t& budget);
    int32_t nextOf(int32_t keySpace);

    int8_t m_type = 0;
    int m_spaces = 0;
    std::array<KeySpace, kMaxKeySpaces> m_keySpaces;

    bool m_trieValid = false;
    uint32_t m_area[2] = {0, 0};
    int m_levels = 0;
    int m_rootEntries = 0;
    std::array<uint32_t, kMaxLevels> m_level{};
    huffman m_table;

    cpkLists m_lists;
};
