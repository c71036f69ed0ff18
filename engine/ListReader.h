// ListReader: reads the record list of one key of a list index (Indice) in batches, straight from the
// index's block buffer: the numbers that SeekList, ListFirst and ListNext give, at a fraction of the
// cost per number, for the search passes that read lists of millions of records. The list format is
// described in cpkLists.h; damaged lists end where cpkLists ends them. The index's own list reader
// is left alone. Used by one thread at a time, like its index.
#pragma once

#include "engine/BlockCursor.h"

#include <cstdint>

class Indice;

class ListReader {
public:
    // Positions on the list of key in the key space; false, with an empty list, when SeekList would
    // refuse the key. A list that cannot be positioned reads as empty.
    bool Seek(Indice* index, int32_t key, int32_t keySpace);
    // Up to max next numbers of the list into out, ascending; returns how many. Fewer than max: the
    // list has ended.
    int32_t Next(int32_t* out, int32_t max);

private:
    // Decodes one entry: false at the end of the list.
    bool entry();
    // Decodes the entries that lie whole in the current block, up to max numbers (a run's first).
    int32_t decodeSpan(int32_t* out, int32_t max);

    BlockCursor m_cursor;
    uint8_t m_version = 0;
    bool m_open = false; // positioned and not at the end
    int32_t m_current = 0;
    int32_t m_runRemaining = 0;
};
