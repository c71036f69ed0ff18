#include "engine/ListReader.h"

#include "engine/Bytes.h"
#include "engine/Indice.h"

#include <algorithm>
#include <array>

namespace {
constexpr uint8_t kEndV1 = 0x80;
constexpr uint8_t kEndV2 = 0xC0;

// Version 2 entries of one byte that give at most four numbers: a step of 1 to 15 (0xE1-0xEF) or
// a run of 1 to 4 (0xC1-0xC4). step 0: any other entry.
struct Short {
    uint8_t step = 0;
    uint8_t length = 0;
};
constexpr auto kShort = [] {
    std::array<Short, 256> t{};
    for (int b = 0xC1; b <= 0xC4; ++b)
        t[static_cast<size_t>(b)] = {1, static_cast<uint8_t>(b & 0x1F)};
    for (int b = 0xE1; b <= 0xEF; ++b)
        t[static_cast<size_t>(b)] = {static_cast<uint8_t>(b & 0x0F), 1};
    return t;
}();
} // namespace

bool ListReader::Seek(Indice* index, int32_t key, int32_t keySpace)
{
    m_open = false;
    m_current = 0;
    m_runRemaining = 0;
    if (!index || index->typeByte() < 1 || keySpace < 0 || keySpace >= index->typeByte())
        return false;
    const int32_t keys = index->keyCount(keySpace); // 0 when the key space has no usable table
    if (key == keys)
        key = 0; // the key one past the table lives in entry 0
    if (key < 0 || key >= keys)
        return false;
    // The key table's place is in the trailer; Indice has checked that the table lies in the file.
    uint8_t b[8];
    const uint32_t trailer = index->Size() - 1 - 8 * static_cast<uint32_t>(keySpace + 1);
    if (index->ReadAt(b, 8, trailer) != 8)
        return true;
    const uint32_t tableOffset = bytes::le32(b);
    if (index->ReadAt(b, 4, tableOffset + 4 * static_cast<uint32_t>(key)) != 4)
        return true;
    const auto offset = static_cast<int32_t>(bytes::le32(b));
    if (index->ReadAt(&m_version, 1, 0) != 1 || (m_version != 1 && m_version != 2) || offset < 1)
        return true;
    // A list starts after the version byte or after the end marker of the list before it.
    if (offset > 1) {
        uint8_t before = 0;
        if (index->ReadAt(&before, 1, static_cast<uint32_t>(offset) - 1) != 1 ||
            before != (m_version == 1 ? kEndV1 : kEndV2))
            return true;
    }
    m_cursor = BlockCursor(*index, static_cast<uint32_t>(offset));
    m_open = true;
    return true;
}

int32_t ListReader::Next(int32_t* out, int32_t max)
{
    int32_t n = 0;
    while (n < max && m_open) {
        if (m_runRemaining == 0)
            n += decodeSpan(out + n, max - n);
        if (n == max || !m_open)
            break;
        if (m_runRemaining > 0) {
            if (m_current == INT32_MAX) {
                m_open = false;
                break;
            }
            // A run's numbers straight into the batch.
            const int32_t take = std::min(m_runRemaining, std::min(max - n, INT32_MAX - m_current));
            for (int32_t i = 0; i < take; ++i)
                out[n++] = ++m_current;
            m_runRemaining -= take;
            continue;
        }
        if (entry())
            out[n++] = m_current;
    }
    return n;
}

int32_t ListReader::decodeSpan(int32_t* out, int32_t max)
{
    // Entries that lie whole in the block are decoded without looking at the file's end; the
    // last few bytes of a block are left to entry().
    size_t available = 0;
    const uint8_t* const start = m_cursor.span(available);
    if (available < 4)
        return 0;
    const uint8_t* p = start;
    const uint8_t* const end = start + available - 3;
    int64_t current = m_current;
    int32_t n = 0;
    bool ended = false;
    while (n < max && p < end) {
        // Version 2 lists of many records are mostly steps of 1 to 15 and short runs, in no
        // predictable order: both are written as four numbers counted on from the first, of which
        // the entry keeps one (a step) or its length (a run), from a table rather than a branch.
        // An entry adds at most 15, so a number far enough below the largest one needs no check
        // for as many entries as the batch has room for.
        if (m_version == 2 && current < INT32_MAX - int64_t{16} * max) {
            auto c = static_cast<int32_t>(current);
            while (n <= max - 4 && p < end) {
                const Short e = kShort[*p];
                if (e.step == 0)
                    break;
                const int32_t first = c + e.step;
                out[n] = first;
                out[n + 1] = first + 1;
                out[n + 2] = first + 2;
                out[n + 3] = first + 3;
                n += e.length;
                c = first + e.length - 1;
                ++p;
            }
            current = c;
            if (n >= max || p >= end)
                break;
        }
        const uint8_t b = *p++;
        int64_t next = 0;
        int32_t run = 0;
        if (m_version == 2) {
            if (b < kEndV2) {
                next = (b << 16) | (p[0] << 8) | p[1];
                p += 2;
            } else if (b == kEndV2) {
                ended = true;
                break;
            } else if (b < 0xE0) {
                next = current + 1;
                run = (b & 0x1F) - 1;
            } else if (b < 0xF0) {
                next = current + (b & 0x0F);
            } else {
                next = current + (b & 0x0F) * 256 + *p++;
            }
        } else if (b < kEndV1) {
            next = (b << 16) | (p[0] << 8) | p[1];
            p += 2;
        } else if (b == kEndV1) {
            ended = true;
            break;
        } else {
            next = current + 1;
            run = (b & 0x7F) - 1;
        }
        if (next <= current || next > INT32_MAX) {
            ended = true;
            break;
        }
        current = next;
        out[n++] = static_cast<int32_t>(current);
        if (run > 0) {
            // The run's numbers, as many as the batch holds; Next() hands out the rest.
            const int64_t take = std::min<int64_t>({run, max - n, INT32_MAX - current});
            for (int64_t i = 0; i < take; ++i)
                out[n++] = static_cast<int32_t>(++current);
            if (take < run) {
                m_runRemaining = static_cast<int32_t>(run - take);
                break;
            }
        }
    }
    m_cursor.skip(static_cast<uint32_t>(p - start));
    m_current = static_cast<int32_t>(current);
    if (ended) {
        m_open = false;
        m_runRemaining = 0;
    }
    return n;
}

bool ListReader::entry()
{
    uint8_t b = 0;
    int64_t next = 0;
    if (!m_cursor.next(b)) {
        m_open = false;
        return false;
    }
    auto absolute = [&]() {
        uint8_t mid = 0, low = 0;
        if (!m_cursor.next(mid) || !m_cursor.next(low))
            return false;
        next = (b << 16) | (mid << 8) | low;
        return true;
    };
    bool ok = true;
    if (m_version == 1) {
        if (b == kEndV1)
            ok = false;
        else if (b > kEndV1) {
            next = static_cast<int64_t>(m_current) + 1;
            m_runRemaining = (b & 0x7F) - 1;
        } else {
            ok = absolute();
        }
    } else if (b == kEndV2) {
        ok = false;
    } else if (b < kEndV2) {
        ok = absolute();
    } else if (b < 0xE0) {
        next = static_cast<int64_t>(m_current) + 1;
        m_runRemaining = (b & 0x1F) - 1;
    } else if (b < 0xF0) {
        next = static_cast<int64_t>(m_current) + (b & 0x0F);
    } else {
        uint8_t low = 0;
        ok = m_cursor.next(low);
        next = static_cast<int64_t>(m_current) + (b & 0x0F) * 256 + low;
    }
    // Numbers of a list ascend; anything else is a damaged list and ends it here.
    if (!ok || next <= m_current || next > INT32_MAX) {
        m_open = false;
        m_runRemaining = 0;
        return false;
    }
    m_current = static_cast<int32_t>(next);
    return true;
}
