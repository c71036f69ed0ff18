// hfile: reads a file of individually Huffman-coded text lines front to back ("da2.dat" with its
// table "da2.hfm"). Owns its code table and its data source; sequential only. One thread at a time.
//
// Data file: no header; coded lines one after the other up to the end of the file.
//   Bytes   Field
//   0       n: the number of coded bytes that follow, 0..255
//   1..n    the line's Huffman bit stream (huffman.h format), ending with the code of the byte 0
// A decoded line is Windows-1252 text of at most 255 characters.
//
// Reading loop: OpenCoded; while !IsEof(): ReadLine, and use the line only when IsEof() is still
// false after it. The read that finds no length byte is the one that sets the end, and it gives no
// line; an empty line (length byte 0, or a stream that starts with the code of 0) keeps the file
// going.
#pragma once

#include "engine/ByteSource.h"
#include "engine/huffman.h"

#include <cstdint>
#include <memory>
#include <string>

class hfile {
public:
    static constexpr int kLineCapacity = 256; // 255 characters and the terminating 0
    static constexpr int kMaxCodedBytes = 255;

    hfile() = default;
    hfile(const hfile&) = delete;
    hfile& operator=(const hfile&) = delete;

    // Opens the data file, then loads the table. False when either cannot be opened; no file stays
    // open then. A file open from an earlier call is closed first.
    bool OpenCoded(const std::string& dataPath, const std::string& tablePath,
                   const SourceOpener& opener = openFileSource);
    void Close();

    // Decodes the next line into dst (always 0-terminated) and returns its character count; 0 with
    // an empty dst when there is no file or the end has been reached.
    int32_t ReadLine(char (&dst)[kLineCapacity]);
    // The same as one std::string; false (line empty) when the read found the end instead of a line.
    bool ReadLine(std::string& line);

    // True when no file is open or when a read has found the end of the file.
    [[nodiscard]] bool IsEof() const { return !m_source || m_atEnd; }

private:
    huffman m_table;
    std::unique_ptr<ByteSource> m_source;
    int64_t m_position = 0;
    bool m_sourceEnded = false; // the last read of the source came back short
    bool m_atEnd = false;
};
