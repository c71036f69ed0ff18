// Archivo: a read-only data file with a single in-memory block buffer, so the many small positioned
// reads of record decoding and index walking cost one disk read per block. Owned by the reader
// built on it (record store, index, ad store); one thread at a time, no lock.
#pragma once

#include "engine/ByteSource.h"

#include <cstdint>
#include <memory>
#include <string>

class Archivo {
public:
    // Opening failures are not reported here: ask IsOpen(). A failed buffer allocation leaves a
    // block size of 0 and an object that reads nothing.
    Archivo(std::string path, int32_t blockSize, SourceOpener opener = openFileSource);
    virtual ~Archivo();
    Archivo(const Archivo&) = delete;
    Archivo& operator=(const Archivo&) = delete;

    // False when already open or when the file cannot be opened.
    bool Open();
    void Close();
    [[nodiscard]] bool IsOpen() const { return m_source != nullptr; }
    // The size measured at Open; 0 while closed.
    [[nodiscard]] uint32_t Size() const { return m_fileSize; }
    // The buffer holding block k, or nullptr (closed, no buffer, failed seek).
    [[nodiscard]] const uint8_t* LoadBlock(int32_t k);
    // Copies up to count bytes from file position pos; returns how many were copied.
    [[nodiscard]] int32_t ReadAt(void* dst, int32_t count, uint32_t pos);

    [[nodiscard]] const std::string& path() const { return m_path; }
    [[nodiscard]] int32_t blockSize() const { return m_blockSize; }
    [[nodiscard]] int32_t validCount() const { return m_validCount; }
    [[nodiscard]] int32_t cachedBlock() const { return m_cachedBlock; }

private:
    std::string m_path;
    int32_t m_blockSize = 0;
    int32_t m_validCount = 0;
    int32_t m_cachedBlock = -1;
    uint32_t m_fileSize = 0;
    std::unique_ptr<uint8_t[]> m_buffer;
    SourceOpener m_opener;
    std::unique_ptr<ByteSource> m_source;
};
