#include "ads/aviso.h"

#include "engine/Bytes.h"

#include <algorithm>
#include <array>

namespace {
constexpr int32_t kHeaderBytes = 5;
constexpr int32_t kPictureHeaderBytes = 9;

bool hasImageNumber(int32_t kind)
{
    return kind == 0 || kind == 5;
}
} // namespace

aviso::aviso(const std::string& dataPath, const std::string& offsetPath, int32_t bufferSize, const SourceOpener& opener)
    : m_data(dataPath, bufferSize, opener), m_offsets(offsetPath, bufferSize, opener),
      m_count(static_cast<int32_t>(std::min<uint32_t>(m_offsets.Count(), INT32_MAX)))
{}

bool aviso::LoadCodeTable(const std::string& path, const SourceOpener& opener)
{
    return m_table.LoadTable(path, opener);
}

int32_t aviso::EntryLength(int32_t n)
{
    if (!m_offsets.IsOpen())
        return -1;
    const int32_t offset = m_offsets.OffsetOf(n);
    if (offset < 0)
        return 0; // unreadable, or an offset past 2 GiB that no data file of this store reaches
    return lengthFrom(n, offset);
}

int32_t aviso::lengthFrom(int32_t n, int32_t offset)
{
    int64_t end = 0;
    if (n == m_count) {
        end = m_data.Size();
    } else {
        end = m_offsets.OffsetOf(n + 1);
        if (end < 0)
            return 0;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(end - offset, INT32_MIN, INT32_MAX));
}

bool aviso::Read(int32_t n)
{
    if (n < 1 || n > m_count)
        return false;
    const int32_t offset = m_offsets.OffsetOf(n);
    if (offset < 0)
        return false;
    const int32_t length = std::min(lengthFrom(n, offset), kMaxEntryBytes);
    if (length < kHeaderBytes)
        return false;
    std::array<uint8_t, kMaxEntryBytes> entry;
    // Only the bytes actually read are parsed: a data file shorter than its offsets say gives less.
    const int32_t got = m_data.ReadAt(entry.data(), length, static_cast<uint32_t>(offset));
    if (got < kHeaderBytes)
        return false;
    const int32_t kind = static_cast<int8_t>(entry[0]);
    const auto reference = static_cast<int32_t>(bytes::le32(&entry[1]));
    int32_t textStart = kHeaderBytes;
    if (hasImageNumber(kind)) {
        if (got < kPictureHeaderBytes)
            return false;
        textStart = kPictureHeaderBytes;
    }
    std::array<char, kTextCapacity> text;
    const int32_t textLength = m_table.Decode(text.data(), kTextCapacity, entry.data() + textStart, got - textStart);

    m_kind = kind;
    m_reference = reference;
    if (hasImageNumber(kind))
        m_imageNumber = static_cast<int32_t>(bytes::le32(&entry[kHeaderBytes]));
    m_lines.clear();
    std::string line;
    for (int32_t i = 0; i < textLength; ++i) {
        if (text[static_cast<size_t>(i)] == kLineSeparator) {
            m_lines.push_back(std::move(line));
            line.clear();
        } else {
            line.push_back(text[static_cast<size_t>(i)]);
        }
    }
    // A trailing separator ends the last line; it does not start an empty one.
    if (!line.empty())
        m_lines.push_back(std::move(line));
    return true;
}
