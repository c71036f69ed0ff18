#include "agenda/DbtMemoFile.h"

#include "agenda/DbfLayout.h"
#include "engine/Bytes.h"

#include <algorithm>
#include <cstring>
#include <vector>

DbfStatus DbtMemoFile::open(const std::string& path, DbtMemoFile& out)
{
    DbtMemoFile m;
    if (DbfStatus s = DbfFileHandle::open(path, false, m.m_file); !s.isOk())
        return s;
    uint8_t header[22];
    if (DbfStatus s = m.m_file.readAt(0, header, sizeof header); !s.isOk())
        return DbfStatus::damaged(path + ": memo header cut short");
    const uint32_t size = bytes::le16(header + dbf::kMemoBlockSize);
    m.m_blockSize = size == 0 ? dbf::kDefaultBlockSize : size;
    if (m.m_blockSize < 2 * dbf::kMemoBlockHeader)
        return DbfStatus::damaged(path + ": memo block size " + std::to_string(m.m_blockSize));
    if (DbfStatus s = m.m_file.size(m.m_size); !s.isOk())
        return s;
    out = std::move(m);
    return DbfStatus::ok();
}

DbfStatus DbtMemoFile::create(const std::string& path, uint32_t blockSize)
{
    DbfFileHandle f;
    if (DbfStatus s = DbfFileHandle::open(path, true, f); !s.isOk())
        return s;
    std::vector<uint8_t> header(std::max<uint32_t>(blockSize, 22), 0);
    bytes::setLe32(header.data() + dbf::kMemoNextFree, 1);
    header[dbf::kMemoBlockSize] = static_cast<uint8_t>(blockSize);
    header[dbf::kMemoBlockSize + 1] = static_cast<uint8_t>(blockSize >> 8);
    if (DbfStatus s = f.writeAt(0, header.data(), header.size()); !s.isOk())
        return s;
    return f.sync();
}

DbfStatus DbtMemoFile::read(uint32_t block, std::string& text) const
{
    text.clear();
    if (block == 0)
        return DbfStatus::ok();
    const uint64_t fileSize = m_size;
    const uint64_t offset = static_cast<uint64_t>(block) * m_blockSize;
    if (offset >= fileSize)
        return DbfStatus::damaged("memo block " + std::to_string(block) + " past the end of the memo file");
    uint8_t head[dbf::kMemoBlockHeader] = {};
    const size_t headBytes = static_cast<size_t>(std::min<uint64_t>(sizeof head, fileSize - offset));
    if (DbfStatus s = m_file.readAt(offset, head, headBytes); !s.isOk())
        return s;
    if (headBytes == sizeof head && std::memcmp(head, dbf::kMemoSignature, 4) == 0) {
        const uint32_t length = bytes::le32(head + 4);
        if (length < dbf::kMemoBlockHeader || length - dbf::kMemoBlockHeader > kMaxMemoBytes ||
            offset + length > fileSize)
            return DbfStatus::damaged("memo block " + std::to_string(block) + " has a bad length");
        text.resize(length - dbf::kMemoBlockHeader);
        return m_file.readAt(offset + dbf::kMemoBlockHeader, text.data(), text.size());
    }
    // dBase III style (or a signature cut short): the text runs to the first 0x1A.
    std::vector<char> chunk(m_blockSize);
    for (uint64_t at = offset; at < fileSize;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), fileSize - at));
        if (DbfStatus s = m_file.readAt(at, chunk.data(), n); !s.isOk())
            return s;
        const auto end = std::find(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n), '\x1A');
        text.append(chunk.begin(), end);
        if (end != chunk.begin() + static_cast<std::ptrdiff_t>(n))
            return DbfStatus::ok();
        if (text.size() > kMaxMemoBytes)
            return DbfStatus::damaged("memo block " + std::to_string(block) + " does not end");
        at += n;
    }
    // No end mark before the end of the file: the memo was cut short.
    text.clear();
    return DbfStatus::damaged("memo block " + std::to_string(block) + " is cut short");
}

DbfStatus DbtMemoFile::append(std::string_view text, uint32_t& block, bool sync)
{
    if (text.size() > kMaxMemoBytes)
        return DbfStatus::invalid("memo too long");
    uint64_t fileSize = 0;
    if (DbfStatus s = m_file.size(fileSize); !s.isOk())
        return s;
    uint8_t head[4];
    if (DbfStatus s = m_file.readAt(dbf::kMemoNextFree, head, sizeof head); !s.isOk())
        return s;
    // Past both the recorded next block and the file's end: a next-free pointer that heads another
    // writer's free chain, or one left behind by a crash, never lands on a memo in use.
    const uint64_t endBlock = (fileSize + m_blockSize - 1) / m_blockSize;
    const uint64_t first = std::max<uint64_t>({bytes::le32(head), endBlock, 1});
    const size_t total = dbf::kMemoBlockHeader + text.size();
    const uint64_t blocks = (total + m_blockSize - 1) / m_blockSize;
    if (first + blocks > 9999999999ull || first + blocks > 0xFFFFFFFFull)
        return DbfStatus::invalid("memo file full");
    std::vector<uint8_t> bytesOut(static_cast<size_t>(blocks * m_blockSize), 0);
    std::memcpy(bytesOut.data(), dbf::kMemoSignature, 4);
    bytes::setLe32(bytesOut.data() + 4, static_cast<uint32_t>(total));
    std::memcpy(bytesOut.data() + dbf::kMemoBlockHeader, text.data(), text.size());
    if (DbfStatus s = m_file.writeAt(first * m_blockSize, bytesOut.data(), bytesOut.size()); !s.isOk())
        return s;
    m_size = std::max(m_size, first * m_blockSize + bytesOut.size());
    bytes::setLe32(head, static_cast<uint32_t>(first + blocks));
    if (DbfStatus s = m_file.writeAt(dbf::kMemoNextFree, head, sizeof head); !s.isOk())
        return s;
    if (sync)
        if (DbfStatus s = m_file.sync(); !s.isOk())
            return s;
    block = static_cast<uint32_t>(first);
    return DbfStatus::ok();
}
