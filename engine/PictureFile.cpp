#include "engine/PictureFile.h"

#include "engine/Bytes.h"

#include <cstring>

bool PictureFile::open(const std::string& path, const SourceOpener& opener)
{
    close();
    std::unique_ptr<ByteSource> src = opener(path);
    if (!src)
        return false;
    const int64_t size = src->size();
    uint8_t head[16];
    if (size < 16 || src->readAt(0, head, 16) != 16 || std::memcmp(head, kMagic, 8) != 0)
        return false;
    const uint32_t highest = bytes::le32(head + 8);
    if (highest > static_cast<uint32_t>(kMaxPictures) || 16 + 8 * static_cast<int64_t>(highest) > size)
        return false;
    m_source = std::move(src);
    m_size = size;
    m_highest = static_cast<int32_t>(highest);
    return true;
}

void PictureFile::close()
{
    m_source.reset();
    m_size = 0;
    m_highest = 0;
}

bool PictureFile::read(int32_t n, std::vector<uint8_t>& out)
{
    out.clear();
    if (!m_source || n < 1 || n > m_highest)
        return false;
    uint8_t entry[8];
    if (m_source->readAt(16 + 8 * static_cast<int64_t>(n - 1), entry, 8) != 8)
        return false;
    const int64_t offset = bytes::le32(entry);
    const int64_t length = bytes::le32(entry + 4);
    if (offset == 0 || length == 0 || offset + length > m_size)
        return false;
    out.resize(static_cast<size_t>(length));
    if (m_source->readAt(offset, out.data(), length) != length) {
        out.clear();
        return false;
    }
    return true;
}
