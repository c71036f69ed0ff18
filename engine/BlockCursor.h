// BlockCursor: reads an Archivo's bytes one after another through the Archivo's block buffer, for
// the batch readers of index lists (ListReader, PostingReader). It keeps the buffer's address
// between calls and checks that the Archivo still holds its block before using it again, so other
// reads of the Archivo in between cost a reload, never wrong bytes. One thread at a time.
#pragma once

#include "engine/Archivo.h"

#include <cstdint>
#include <cstring>

class BlockCursor {
public:
    BlockCursor() = default;
    BlockCursor(Archivo& file, uint32_t position) : m_file(&file), m_position(position) {}

    [[nodiscard]] uint32_t position() const { return m_position; }

    // The byte at the position, moving past it; false at the end of the file or when it cannot be
    // read.
    bool next(uint8_t& b)
    {
        if ((m_at == m_end || moved()) && !load())
            return false;
        b = *m_at++;
        ++m_position;
        return true;
    }
    // Copies up to n bytes from the position without moving, as Archivo::ReadAt does; returns how
    // many.
    int32_t peek(uint8_t* out, int32_t n)
    {
        if (moved())
            m_at = m_end = nullptr;
        if ((m_end - m_at >= n || load()) && m_end - m_at >= n) {
            std::memcpy(out, m_at, static_cast<size_t>(n));
            return n;
        }
        // Across a block boundary or at the end of the file: ReadAt may load another block.
        m_at = m_end = nullptr;
        return m_file ? m_file->ReadAt(out, n, m_position) : 0;
    }
    // The bytes from the position to the end of the block that holds it (loading it); none at the
    // end of the file. Valid until the cursor or the Archivo reads again.
    const uint8_t* span(size_t& available)
    {
        if (m_at == m_end || moved())
            load();
        available = static_cast<size_t>(m_end - m_at);
        return m_at;
    }
    void skip(uint32_t n)
    {
        m_position += n;
        if (m_end - m_at >= static_cast<std::ptrdiff_t>(n))
            m_at += n;
        else
            m_at = m_end = nullptr;
    }

private:
    // Someone else has loaded another block into the Archivo's buffer since.
    [[nodiscard]] bool moved() const { return m_at != nullptr && m_file->cachedBlock() != m_block; }

    bool load()
    {
        m_at = m_end = nullptr;
        const int32_t size = m_file ? m_file->blockSize() : 0;
        if (size <= 0)
            return false;
        const int64_t k = m_position / static_cast<uint32_t>(size);
        if (k > INT32_MAX)
            return false;
        const uint8_t* block = m_file->LoadBlock(static_cast<int32_t>(k));
        const int64_t offset = m_position - k * size;
        if (!block || offset >= m_file->validCount())
            return false;
        m_block = static_cast<int32_t>(k);
        m_at = block + offset;
        m_end = block + m_file->validCount();
        return true;
    }

    Archivo* m_file = nullptr;
    uint32_t m_position = 0;
    int32_t m_block = -1;
    const uint8_t* m_at = nullptr;
    const uint8_t* m_end = nullptr;
};
