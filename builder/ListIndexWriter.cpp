#include "builder/ListIndexWriter.h"

#include "engine/Bytes.h"

#include <limits>

namespace {

constexpr int kMaxRunV1 = 0x7F;
constexpr int kMaxRunV2 = 0x1F;
constexpr int32_t kMaxStep = 0x0F;
constexpr int32_t kMaxLongStep = 0x0FFF;

bool validNumbers(int version, std::span<const int32_t> records, std::string* why)
{
    const int32_t limit = version == 1 ? ListIndexWriter::kMaxRecordV1 : ListIndexWriter::kMaxRecordV2;
    int32_t previous = 0;
    for (int32_t r : records) {
        if (r <= previous) {
            if (why)
                *why = "record numbers must be positive and strictly ascending";
            return false;
        }
        if (r > limit && (version == 1 || previous == 0 || r - previous > kMaxLongStep)) {
            // Version 2 can still reach numbers above its absolute limit through steps.
            if (why)
                *why = "record number " + std::to_string(r) + " cannot be coded in version " + std::to_string(version);
            return false;
        }
        previous = r;
    }
    return true;
}

} // namespace

ListIndexWriter::ListIndexWriter(int version) : m_version(version == 1 ? 1 : 2)
{
    m_bytes.push_back(static_cast<uint8_t>(m_version));
}

bool ListIndexWriter::encodeList(int version, std::span<const int32_t> records, std::vector<uint8_t>& out)
{
    if (!validNumbers(version, records, nullptr))
        return false;
    const int maxRun = version == 1 ? kMaxRunV1 : kMaxRunV2;
    const uint8_t runBase = version == 1 ? 0x80 : 0xC0;
    int32_t previous = 0;
    size_t i = 0;
    while (i < records.size()) {
        const int32_t r = records[i];
        if (r == previous + 1) {
            // A run of consecutive numbers, one byte for up to maxRun of them.
            int n = 1;
            while (n < maxRun && i + static_cast<size_t>(n) < records.size() &&
                   records[i + static_cast<size_t>(n)] == r + n)
                ++n;
            out.push_back(static_cast<uint8_t>(runBase | n));
            previous = r + n - 1;
            i += static_cast<size_t>(n);
            continue;
        }
        // The first number of a list is absolute (or the run above, from record 1), as readers
        // expect a list to begin.
        const int32_t delta = r - previous;
        if (previous == 0) {
            bytes::putBe24(out, static_cast<uint32_t>(r));
        } else if (version == 2 && delta <= kMaxStep) {
            out.push_back(static_cast<uint8_t>(0xE0 | delta));
        } else if (version == 2 && delta <= kMaxLongStep) {
            out.push_back(static_cast<uint8_t>(0xF0 | (delta >> 8)));
            out.push_back(static_cast<uint8_t>(delta));
        } else {
            bytes::putBe24(out, static_cast<uint32_t>(r));
        }
        previous = r;
        ++i;
    }
    out.push_back(runBase); // 0x80 and 0xC0 are also the end markers
    return true;
}

int32_t ListIndexWriter::addKeySpace(int32_t keyCount)
{
    if (keyCount < 0 || m_spaces.size() >= static_cast<size_t>(kMaxKeySpaces)) {
        m_error = "too many key spaces or a negative key count";
        return -1;
    }
    Space s;
    s.keys = keyCount;
    s.table.assign(static_cast<size_t>(keyCount), 0);
    m_spaces.push_back(std::move(s));
    return static_cast<int32_t>(m_spaces.size()) - 1;
}

bool ListIndexWriter::addList(int32_t space, int32_t key, std::span<const int32_t> records)
{
    if (space < 0 || static_cast<size_t>(space) >= m_spaces.size()) {
        m_error = "unknown key space";
        return false;
    }
    Space& s = m_spaces[static_cast<size_t>(space)];
    if (key == s.keys)
        key = 0;
    if (key < 0 || key >= s.keys) {
        m_error = "key " + std::to_string(key) + " outside the key table";
        return false;
    }
    if (s.table[static_cast<size_t>(key)] != 0) {
        m_error = "key " + std::to_string(key) + " given twice";
        return false;
    }
    if (!validNumbers(m_version, records, &m_error))
        return false;
    if (records.empty())
        return true;
    if (m_bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        m_error = "index larger than 2 GiB";
        return false;
    }
    s.table[static_cast<size_t>(key)] = static_cast<int32_t>(m_bytes.size());
    return encodeList(m_version, records, m_bytes);
}

std::vector<uint8_t> ListIndexWriter::finish()
{
    if (m_spaces.empty())
        addKeySpace(0);
    std::vector<uint32_t> offsets;
    for (const Space& s : m_spaces) {
        offsets.push_back(static_cast<uint32_t>(m_bytes.size()));
        for (int32_t o : s.table)
            bytes::putLe32(m_bytes, static_cast<uint32_t>(o));
    }
    // The trailer is read backwards: key space 0 sits right before the type byte.
    for (size_t i = m_spaces.size(); i-- > 0;) {
        bytes::putLe32(m_bytes, offsets[i]);
        bytes::putLe32(m_bytes, static_cast<uint32_t>(m_spaces[i].keys));
    }
    m_bytes.push_back(static_cast<uint8_t>(m_spaces.size()));
    m_spaces.clear();
    return std::move(m_bytes);
}
