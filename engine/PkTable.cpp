#include "engine/PkTable.h"

#include "engine/Bytes.h"

PkTable::PkTable(std::string path, int32_t blockSize, SourceOpener opener)
    : Archivo(std::move(path), blockSize, std::move(opener)), m_count(Size() / 4)
{}

int32_t PkTable::OffsetOf(int32_t n)
{
    if (n < 1 || static_cast<uint32_t>(n) > m_count || !IsOpen())
        return -1;
    uint8_t b[4];
    if (ReadAt(b, 4, (static_cast<uint32_t>(n) - 1) * 4) < 4)
        return -1;
    return static_cast<int32_t>(bytes::le32(b));
}
