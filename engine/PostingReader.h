// PostingReader: reads the record numbers of a fresh word-index answer (IxQuery) in batches, straight
// from the index's block buffer: the numbers that QueryNext gives, at a fraction of the cost per
// number, for the search passes that read answers of hundreds of thousands of records. The posting
// format is described in Indice.h; damaged groups end where QueryNext ends them. The answer itself is
// not moved. Used by one thread at a time, like its index.
#pragma once

#include "engine/BlockCursor.h"

#include <cstdint>

class Indice;
class IxQuery;

class PostingReader {
public:
    // q: an answer of index on which QueryNext has not been called.
    PostingReader(Indice& index, const IxQuery& q);
    // Up to max next numbers into out; returns how many. Fewer than max: the answer is exhausted.
    int32_t Next(int32_t* out, int32_t max);

private:
    // Decodes the entries that lie whole in the current block, up to max numbers.
    int32_t decodeSpan(int32_t* out, int32_t max);
    // The answer is exhausted (and stays so), as QueryNext leaves it.
    void finish();

    BlockCursor m_cursor;
    int32_t m_group = 0;
    int32_t m_groups = 0;
    int32_t m_current = 0;
    int32_t m_runRemaining = 0;
};
