#include "builder/SamplePngWriter.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace sample {
namespace {

constexpr std::array<uint32_t, 256> makeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = makeCrcTable();

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 258;
constexpr size_t kWindow = 32768;

// Deflate packs bits from the least significant end; Huffman codes go most significant bit first.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void put(uint32_t value, int count)
    {
        m_bits |= static_cast<uint64_t>(value) << m_count;
        m_count += count;
        while (m_count >= 8) {
            m_out.push_back(static_cast<uint8_t>(m_bits));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void code(uint32_t code, int length)
    {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1u) << (length - 1 - i);
        put(reversed, length);
    }
    void flush()
    {
        if (m_count > 0)
            m_out.push_back(static_cast<uint8_t>(m_bits));
        m_bits = 0;
        m_count = 0;
    }

private:
    std::vector<uint8_t>& m_out;
    uint64_t m_bits = 0;
    int m_count = 0;
};

void putSymbol(BitWriter& w, uint32_t symbol)
{
    if (symbol < 144)
        w.code(0x30 + symbol, 8);
    else if (symbol < 256)
        w.code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        w.code(symbol - 256, 7);
    else
        w.code(0xC0 + symbol - 280, 8);
}

void putMatch(BitWriter& w, size_t length, size_t distance)
{
    int l = 28;
    while (kLengthBase[l] > length)
        --l;
    putSymbol(w, 257 + static_cast<uint32_t>(l));
    w.put(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance)
        --d;
    w.code(static_cast<uint32_t>(d), 5);
    w.put(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

size_t matchLength(const uint8_t* data, size_t size, size_t a, size_t b)
{
    const size_t limit = std::min(kMaxMatch, size - b);
    size_t n = 0;
    while (n < limit && data[a + n] == data[b + n])
        ++n;
    return n;
}

void putBe32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void putChunk(std::vector<uint8_t>& png, std::string_view type, const std::vector<uint8_t>& data)
{
    putBe32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    putBe32(png, crc32(png.data() + start, png.size() - start));
}

} // namespace

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc)
{
    uint32_t c = crc ^ 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t adler32(const uint8_t* data, size_t size)
{
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> zlibCompress(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out = {0x78, 0x01};
    BitWriter w(out);
    w.put(1, 1); // final block
    w.put(1, 2); // fixed Huffman codes
    constexpr size_t kHashSize = 1u << 15;
    std::vector<int64_t> head(kHashSize, -1);
    const auto hash = [&](size_t i) {
        return ((static_cast<uint32_t>(data[i]) << 10) ^ (static_cast<uint32_t>(data[i + 1]) << 5) ^ data[i + 2]) &
               (kHashSize - 1);
    };
    size_t i = 0;
    while (i < size) {
        size_t bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= size) {
            const uint32_t h = hash(i);
            const int64_t candidate = head[h];
            head[h] = static_cast<int64_t>(i);
            if (candidate >= 0 && i - static_cast<size_t>(candidate) <= kWindow) {
                bestLength = matchLength(data, size, static_cast<size_t>(candidate), i);
                bestDistance = i - static_cast<size_t>(candidate);
            }
            // Runs of one colour: the previous byte repeated.
            if (i > 0 && bestLength < kMaxMatch) {
                const size_t run = matchLength(data, size, i - 1, i);
                if (run > bestLength) {
                    bestLength = run;
                    bestDistance = 1;
                }
            }
        }
        if (bestLength >= kMinMatch) {
            putMatch(w, bestLength, bestDistance);
            for (size_t k = 1; k < bestLength && i + k + kMinMatch <= size; ++k)
                head[hash(i + k)] = static_cast<int64_t>(i + k);
            i += bestLength;
        } else {
            putSymbol(w, data[i]);
            ++i;
        }
    }
    putSymbol(w, 256);
    w.flush();
    putBe32(out, adler32(data, size));
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
    putChunk(png, "IDAT", zlibCompress(rows.data(), rows.size()));
    putChunk(png, "IEND", {});
    return png;
}

} // namespace sample
