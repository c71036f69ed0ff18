#include "engine/cpkLists.h"

namespace {
constexpr uint8_t kEndV1 = 0x80;
constexpr uint8_t kEndV2 = 0xC0;
} // namespace

bool cpkLists::OpenLists(const std::string& path, const SourceOpener& opener)
{
    if (m_failed || m_file || !opener)
        return false;
    m_file = opener(path);
    if (!m_file)
        return false;
    m_version = 0;
    m_positioned = false;
    m_current = 0;
    m_runRemaining = 0;
    m_bufferCount = 0;
    uint8_t v = 0;
    if (m_file->readAt(0, &v, 1) != 1)
        return false;
    m_version = v;
    return v == 1 || v == 2;
}

void cpkLists::CloseLists()
{
    m_file.reset();
    m_failed = true;
    m_positioned = false;
    m_bufferCount = 0;
}

void cpkLists::Abandon()
{
    m_positioned = false;
    m_current = 0;
    m_runRemaining = 0;
}

int32_t cpkLists::Position(int32_t offset)
{
    if (m_failed)
        return kClosed;
    if (!m_file)
        return kNoFile;
    if (m_positioned)
        return kBusy;
    if (offset < 1)
        return kBadOffset;
    if (m_version != 1 && m_version != 2)
        return kUnknownVersion;
    m_current = 0;
    m_runRemaining = 0;
    if (offset > 1) {
        uint8_t before = 0;
        if (m_file->readAt(offset - 1, &before, 1) != 1 || before != (m_version == 1 ? kEndV1 : kEndV2))
            return kNotAfterEndMarker;
    }
    m_position = offset;
    m_bufferCount = 0;
    m_positioned = true;
    return 0;
}

bool cpkLists::nextByte(uint8_t& b)
{
    if (m_position < m_bufferStart || m_position >= m_bufferStart + m_bufferCount) {
        const int64_t got = m_file->readAt(m_position, m_buffer, kBufferSize);
        m_bufferStart = m_position;
        m_bufferCount = got > 0 ? static_cast<int32_t>(got) : 0;
        if (m_bufferCount == 0)
            return false;
    }
    b = m_buffer[m_position - m_bufferStart];
    ++m_position;
    return true;
}

int32_t cpkLists::endList()
{
    Abandon();
    return 0;
}

int32_t cpkLists::NextInList()
{
    if (m_failed)
        return kClosed;
    if (!m_file)
        return kNoFile;
    if (m_version != 1 && m_version != 2)
        return kUnknownVersion;
    if (!m_positioned)
        return kNotPositioned;
    if (m_runRemaining > 0) {
        if (m_current == INT32_MAX)
            return endList();
        ++m_current;
        --m_runRemaining;
        return m_current;
    }
    uint8_t b = 0;
    if (!nextByte(b))
        return endList();
    int64_t next = 0;
    if (m_version == 1) {
        if (b == kEndV1)
            return endList();
        if (b > kEndV1) {
            next = static_cast<int64_t>(m_current) + 1;
            m_runRemaining = (b & 0x7F) - 1;
        } else {
            uint8_t mid = 0, low = 0;
            if (!nextByte(mid) || !nextByte(low))
                return endList();
            next = (b << 16) | (mid << 8) | low;
        }
    } else {
        if (b == kEndV2)
            return endList();
        if (b < kEndV2) {
            uint8_t mid = 0, low = 0;
            if (!nextByte(mid) || !nextByte(low))
                return endList();
            next = (b << 16) | (mid << 8) | low;
        } else if (b < 0xE0) {
            next = static_cast<int64_t>(m_current) + 1;
            m_runRemaining = (b & 0x1F) - 1;
        } else if (b < 0xF0) {
            next = static_cast<int64_t>(m_current) + (b & 0x0F);
        } else {
            uint8_t low = 0;
            if (!nextByte(low))
                return endList();
            next = static_cast<int64_t>(m_current) + (b & 0x0F) * 256 + low;
        }
    }
    // Numbers of a list ascend; anything else is a damaged list and ends it here.
    if (next <= m_current || next > INT32_MAX)
        return endList();
    m_current = static_cast<int32_t>(next);
    return m_current;
}
