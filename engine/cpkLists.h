// cpkLists: the reader of the compressed record-number lists of a list index. It keeps its own
// handle on the index file (apart from the index's block buffer) and is either free or positioned
// on one list, which it then yields number by number up to the list's end marker. Owned by its
// Indice; one thread at a time.
//
// A list starts at a file offset and is a sequence of entries; the first entry follows either the
// version byte (offset 1) or the end marker of the list before it. Record numbers are 24-bit
// big-endian; "previous" is 0 at the start of a list.
//
//   Version 1, first byte b:
//     0x00-0x7F   absolute number: b, then the middle and low bytes            (3 bytes)
//     0x81-0xFF   run: the next (b & 0x7F) numbers after the previous one      (1 byte)
//     0x80        end of the list
//   Version 2, first byte b:
//     0x00-0xBF   absolute number: b, then the middle and low bytes            (3 bytes)
//     0xC1-0xDF   run: the next (b & 0x1F) numbers after the previous one      (1 byte)
//     0xE0-0xEF   step: previous + (b & 0x0F)                                  (1 byte)
//     0xF0-0xFF   long step: previous + (b & 0x0F) * 256 + the next byte       (2 bytes)
//     0xC0        end of the list
//
// A list also ends, freeing the reader, at the end of the file, at an unreadable byte and at a
// number that does not ascend: a damaged list never traps the reader in the positioned state.
#pragma once

#include "engine/ByteSource.h"

#include <cstdint>
#include <memory>
#include <string>

class cpkLists {
public:
    static constexpr int32_t kNoFile = -100;
    static constexpr int32_t kClosed = -101;
    static constexpr int32_t kNotAfterEndMarker = -105;
    static constexpr int32_t kNotPositioned = -106;
    static constexpr int32_t kBadOffset = -107;
    static constexpr int32_t kUnknownVersion = -108;
    static constexpr int32_t kBusy = -110;

    cpkLists() = default;
    ~cpkLists() = default;
    cpkLists(const cpkLists&) = delete;
    cpkLists& operator=(const cpkLists&) = delete;

    // Opens the file and reads its version byte; true when it is 1 or 2. With any other first byte
    // the file stays open and every list operation answers kUnknownVersion. A closed reader refuses.
    bool OpenLists(const std::string& path, const SourceOpener& opener = openFileSource);
    // 0, or kNoFile, kClosed, kBusy, kBadOffset, kUnknownVersion, kNotAfterEndMarker.
    [[nodiscard]] int32_t Position(int32_t offset);
    // The next record number, 0 at the end of the list (the reader is then free), or kNoFile,
    // kClosed, kUnknownVersion, kNotPositioned.
    [[nodiscard]] int32_t NextInList();
    // Closes the file for good: every later operation answers kClosed.
    void CloseLists();
    // Leaves an unfinished list, so the next Position is accepted.
    void Abandon();

    [[nodiscard]] bool positioned() const { return m_positioned; }
    [[nodiscard]] int version() const { return m_version; }

private:
    // The byte at m_position, through a small read-ahead buffer; false at the end of the file.
    bool nextByte(uint8_t& b);
    int32_t endList();

    std::unique_ptr<ByteSource> m_file;
    bool m_failed = false;
    uint8_t m_version = 0;
    bool m_positioned = false;
    int32_t m_current = 0;
    int32_t m_runRemaining = 0;

    int64_t m_position = 0;
    static constexpr int kBufferSize = 1024;
    uint8_t m_buffer[kBufferSize] = {};
    int64_t m_bufferStart = 0;
    int32_t m_bufferCount = 0;
};
