// SamplePngWriter: a small PNG encoder for the sample's own pictures, with no library behind it:
// 8-bit palette images, one IDAT chunk compressed by a greedy LZ77 coder with deflate's fixed
// Huffman codes (good enough for flat colours and text), CRC-32 and Adler-32 as the format wants.
// The output is the same for the same input everywhere. Pure functions, any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sample {

[[nodiscard]] uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
[[nodiscard]] uint32_t adler32(const uint8_t* data, size_t size);

// A zlib stream (RFC 1950) holding one final deflate block with fixed Huffman codes (RFC 1951).
[[nodiscard]] std::vector<uint8_t> zlibCompress(const uint8_t* data, size_t size);

// A PNG file of width x height palette indices, row by row. palette holds 1 to 256 colours as
// 0xRRGGBB. Empty when the sizes, the indices or the palette do not agree.
[[nodiscard]] std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& indices,
                                             const std::vector<uint32_t>& palette);

} // namespace sample
