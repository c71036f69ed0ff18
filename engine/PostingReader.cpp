#include "engine/PostingReader.h"

#include "engine/Bytes.h"
#include "engine/Indice.h"

#include <algorithm>

namespace {
constexpr uint8_t kGroupEnd = 0xFF;
constexpr uint8_t kFirstRun = 0xC1;
} // namespace

PostingReader::PostingReader(Indice& index, const IxQuery& q)
    : m_cursor(index, q.position()), m_group(q.group()), m_groups(q.groups())
{}

int32_t PostingReader::decodeSpan(int32_t* out, int32_t max)
{
    // Entries that lie whole in the block are decoded straight from it (three bytes there are three
    // bytes of the file); the last bytes of a block are left to Next().
    size_t available = 0;
    const uint8_t* const start = m_cursor.span(available);
    if (available < 3)
        return 0;
    const uint8_t* p = start;
    const uint8_t* const end = start + available - 2;
    int32_t n = 0;
    while (n < max && p < end && m_group < m_groups) {
        const uint8_t b = *p;
        if (b == kGroupEnd) {
            ++m_group;
            ++p;
            m_current = 0;
            continue;
        }
        if (b >= kFirstRun) {
            if (m_current == INT32_MAX) {
                finish();
                break;
            }
            ++p;
            out[n++] = ++m_current;
            const int32_t run = (b & 0x3F) - 1;
            const int32_t take = std::min(run, std::min(max - n, INT32_MAX - m_current));
            for (int32_t i = 0; i < take; ++i)
                out[n++] = ++m_current;
            m_runRemaining = run - take;
            if (m_runRemaining > 0)
                break;
            continue;
        }
        const auto value = static_cast<int32_t>(bytes::be24(p));
        // Numbers ascend within a group; a number that does not belongs to a damaged group.
        if (value <= m_current) {
            finish();
            break;
        }
        m_current = value;
        p += 3;
        out[n++] = value;
    }
    m_cursor.skip(static_cast<uint32_t>(p - start));
    return n;
}

void PostingReader::finish()
{
    m_group = m_groups;
    m_runRemaining = 0;
    m_current = 0;
}

int32_t PostingReader::Next(int32_t* out, int32_t max)
{
    int32_t n = 0;
    while (n < max && m_group < m_groups) {
        if (m_runRemaining > 0) {
            if (m_current == INT32_MAX) {
                finish();
                break;
            }
            const int32_t take = std::min(m_runRemaining, std::min(max - n, INT32_MAX - m_current));
            for (int32_t i = 0; i < take; ++i)
                out[n++] = ++m_current;
            m_runRemaining -= take;
            continue;
        }
        n += decodeSpan(out + n, max - n);
        if (n == max || m_group >= m_groups)
            break;
        if (m_runRemaining > 0)
            continue;
        uint8_t b[3];
        const int32_t got = m_cursor.peek(b, 3);
        if (got < 1) {
            finish(); // a group that never closes ends with the file
            break;
        }
        if (b[0] == kGroupEnd) {
            ++m_group;
            m_cursor.skip(1);
            m_current = 0;
            continue;
        }
        if (b[0] >= kFirstRun) {
            if (m_current == INT32_MAX) {
                finish();
                break;
            }
            m_runRemaining = (b[0] & 0x3F) - 1;
            m_cursor.skip(1);
            out[n++] = ++m_current;
            continue;
        }
        if (got < 3) {
            finish();
            break;
        }
        const auto value = static_cast<int32_t>(bytes::be24(b));
        // Numbers ascend within a group; a number that does not belongs to a damaged group.
        if (value <= m_current) {
            finish();
            break;
        }
        m_current = value;
        m_cursor.skip(3);
        out[n++] = m_current;
    }
    return n;
}
