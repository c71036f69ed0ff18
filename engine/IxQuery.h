// IxQuery: the answer of one word-index lookup, a reading position over the posting groups of the
// words that matched. Made by Indice::Query, read with Indice::QueryNext, handed back with
// Indice::FreeQuery. Several may be open on one index at once; each is used by one thread.
#pragma once

#include <cstdint>
#include <string>

class Indice;

class IxQuery {
public:
    // The normalised key that was looked up (upper case, at most 11 bytes, no final ".").
    [[nodiscard]] const std::string& key() const { return m_key; }
    [[nodiscard]] int32_t area() const { return m_area; }
    // Groups (one per matching word) that the answer spans, and how many were read to their end.
    [[nodiscard]] int32_t groups() const { return m_groups; }
    [[nodiscard]] int32_t group() const { return m_group; }
    [[nodiscard]] uint32_t position() const { return m_position; }

private:
    friend class Indice;
    IxQuery() = default;

    std::string m_key;
    int32_t m_group = 0;
    int32_t m_area = 0;
    uint32_t m_position = 0;
    int32_t m_groups = 0;
    int32_t m_runRemaining = 0;
    int32_t m_current = 0;
};
