#include "engine/Archivo.h"

#include <cstring>
#include <new>

Archivo::Archivo(std::string path, int32_t blockSize, SourceOpener opener)
    : m_path(std::move(path)), m_opener(std::move(opener))
{
    if (blockSize > 0) {
        m_buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(blockSize)]);
        m_blockSize = m_buffer ? blockSize : 0;
    }
    Open();
}

Archivo::~Archivo()
{
    Close();
}

bool Archivo::Open()
{
    if (m_source || !m_opener)
        return false;
    std::unique_ptr<ByteSource> src = m_opener(m_path);
    if (!src)
        return false;
    m_validCount = 0;
    m_cachedBlock = -1;
    const int64_t size = src->size();
    // The data files are far below 4 GiB; a larger or unmeasurable one reads as empty past 4 GiB.
    m_fileSize = size < 0 ? 0 : (size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size));
    m_source = std::move(src);
    return true;
}

void Archivo::Close()
{
    if (!m_source)
        return;
    m_source.reset();
    m_validCount = 0;
    m_cachedBlock = -1;
    m_fileSize = 0;
}

const uint8_t* Archivo::LoadBlock(int32_t k)
{
    if (!m_source || m_blockSize == 0 || k < 0)
        return nullptr;
    if (k == m_cachedBlock)
        return m_buffer.get();
    const int64_t got = m_source->readAt(static_cast<int64_t>(k) * m_blockSize, m_buffer.get(), m_blockSize);
    if (got < 0)
        return nullptr; // failed seek: the old block number and count stay
    m_validCount = static_cast<int32_t>(got);
    m_cachedBlock = k;
    return m_buffer.get();
}

int32_t Archivo::ReadAt(void* dst, int32_t count, uint32_t pos)
{
    if (count <= 0 || !m_source || m_blockSize == 0)
        return 0;
    auto* out = static_cast<uint8_t*>(dst);
    int64_t position = pos;
    int64_t k = position / m_blockSize;
    int32_t total = 0;
    while (count > 0) {
        if (k > INT32_MAX)
            break;
        const uint8_t* block = LoadBlock(static_cast<int32_t>(k));
        if (!block)
            break;
        const int64_t offset = position - k * m_blockSize;
        const int64_t available = m_validCount - offset;
        if (available < 0)
            break;
        const auto n = static_cast<int32_t>(std::min<int64_t>(available, count));
        std::memcpy(out, block + offset, static_cast<size_t>(n));
        total += n;
        if (m_validCount < m_blockSize)
            break; // the last, short block
        ++k;
        position += n;
        out += n;
        count -= n;
    }
    return total;
}
