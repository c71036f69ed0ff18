// SamplePngWriter: PNG files for the sample's own pictures: 8-bit palette images in one IDAT chunk,
// compressed by zlib at a fixed level and strategy, so the output is the same for the same input
// (and the same zlib). Pure functions, any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sample {

// A zlib stream (RFC 1950) of data, compressed at the best level.
[[nodiscard]] std::vector<uint8_t> zlibCompress(const uint8_t* data, size_t size);

// A PNG file of width x height palette indices, row by row. palette holds 1 to 256 colours as
// 0xRRGGBB. Empty when the sizes, the indices or the palette do not agree.
[[nodiscard]] std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& indices,
                                             const std::vector<uint32_t>& palette);

} // namespace sample
