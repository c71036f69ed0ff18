#include "builder/SamplePngWriter.h"

#include <string_view>
#include <zlib.h>

namespace sample {
namespace {

void putBe32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

// Length, type, data and the CRC-32 of type and data.
void putChunk(std::vector<uint8_t>& png, std::string_view type, const std::vector<uint8_t>& data)
{
    putBe32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    const uLong crc = ::crc32(::crc32(0L, Z_NULL, 0), png.data() + start, static_cast<uInt>(png.size() - start));
    putBe32(png, static_cast<uint32_t>(crc));
}

} // namespace

std::vector<uint8_t> zlibCompress(const uint8_t* data, size_t size)
{
    // Pictures are at most 16384 x 16385 bytes, far below what one call of deflate takes.
    uLongf bound = ::compressBound(static_cast<uLong>(size));
    std::vector<uint8_t> out(bound);
    static const uint8_t kNothing = 0;
    if (::compress2(out.data(), &bound, size ? data : &kNothing, static_cast<uLong>(size), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.resize(bound);
    return out;
}

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& indices,
                               const std::vector<uint32_t>& palette)
{
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || palette.empty() || palette.size() > 256 ||
        indices.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return {};
    for (const uint8_t index : indices) {
        if (index >= palette.size())
            return {};
    }
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    putBe32(header, static_cast<uint32_t>(width));
    putBe32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // 8-bit palette indices, no interlace
    putChunk(png, "IHDR", header);
    std::vector<uint8_t> colours;
    for (const uint32_t c : palette)
        colours.insert(colours.end(),
                       {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    putChunk(png, "PLTE", colours);
    std::vector<uint8_t> rows;
    rows.reserve(indices.size() + static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows.push_back(0); // no filter: flat colours compress better unfiltered
        const auto row = indices.begin() + static_cast<ptrdiff_t>(y) * width;
        rows.insert(rows.end(), row, row + width);
    }
    const std::vector<uint8_t> compressed = zlibCompress(rows.data(), rows.size());
    if (compressed.empty())
        return {};
    putChunk(png, "IDAT", compressed);
    putChunk(png, "IEND", {});
    return png;
}

} // namespace sample
