// PkTable: an offset table ("PK.idx", "AVI.pk"), a buffered file whose whole content is an array of
// 32-bit little-endian offsets; entry n (from 1) is the byte offset of item n in its data file.
//
//   Bytes                       Field
//   0-3                         offset of item 1
//   4-7                         offset of item 2
//   4*(count-1) .. 4*count-1    offset of item count   (count = file size / 4, remainder dropped)
#pragma once

#include "engine/Archivo.h"

class PkTable : public Archivo {
public:
    PkTable(std::string path, int32_t blockSize, SourceOpener opener = openFileSource);

    [[nodiscard]] uint32_t Count() const { return m_count; }
    // The offset of item n, or -1 (n out of 1..Count, closed file, short read).
    [[nodiscard]] int32_t OffsetOf(int32_t n);

private:
    uint32_t m_count = 0;
};
