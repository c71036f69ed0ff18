#include "engine/huffman.h"

#include "engine/Bytes.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
constexpr int kTreeOffset = 3072;
}

huffman::huffman()
{
    parse();
}

bool huffman::LoadTable(const std::string& path, const SourceOpener& opener)
{
    std::vector<uint8_t> bytes;
    if (!readWholeSource(opener, path, bytes, kTableSize))
        return false;
    loadBytes(bytes.data(), bytes.size());
    return true;
}

void huffman::loadBytes(const uint8_t* data, size_t length)
{
    if (length > 0)
        std::memcpy(m_raw.data(), data, std::min<size_t>(length, kTableSize));
    parse();
}

void huffman::parse()
{
    for (int c = 0; c < 256; ++c) {
        m_code[c] = bytes::le32(&m_raw[12 * c + 4]);
        const uint32_t len = bytes::le32(&m_raw[12 * c + 8]);
        m_length[c] = static_cast<uint8_t>(std::min<uint32_t>(len, 32));
    }
    auto child = [&](uint32_t n, int bit) { return bytes::le32(&m_raw[kTreeOffset + 16 * n + 8 + 4 * bit]); };
    for (uint32_t n = 0; n < kNodes; ++n) {
        for (int bit = 0; bit < 2; ++bit) {
            const uint32_t c = child(n, bit);
            if (c >= kNodes)
                m_step[2 * n + bit] = kStop;
            else if (child(c, 0) == 0)
                m_step[2 * n + bit] = kLeaf | m_raw[kTreeOffset + 16 * c];
            else
                m_step[2 * n + bit] = c;
        }
    }
}

int32_t huffman::Decode(char* dst, int32_t dstCapacity, const uint8_t* src, int32_t srcLength) const
{
    if (dstCapacity <= 0)
        return 0;
    dst[0] = 0;
    int32_t count = 0;
    uint32_t node = 0;
    for (int32_t i = 0; i < srcLength; ++i) {
        const uint32_t byte = src[i];
        for (int bit = 7; bit >= 0; --bit) {
            const uint32_t step = m_step[2 * node + ((byte >> bit) & 1u)];
            if (step < kLeaf) {
                node = step;
                continue;
            }
            if (step == kStop) {
                dst[count] = 0; // a child outside the tree: nonsense table, stop with what we have
                return count;
            }
            const auto symbol = static_cast<char>(step & 0xFF);
            if (symbol == 0 || count + 1 >= dstCapacity) {
                dst[count] = 0; // the end of the string, or no room for one more character
                return count;
            }
            dst[count++] = symbol;
            node = 0;
        }
    }
    dst[count] = 0;
    return count;
}

int32_t huffman::Encode(uint8_t* dst, int32_t dstCapacity, std::string_view text, int options) const
{
    // Bits are packed MSB first and flushed a byte at a time; the output equals the 32-bit
    // accumulator form, and a full buffer ends the stream on a whole byte.
    uint32_t acc = 0;
    int bits = 0;
    int32_t written = 0;
    auto put = [&](uint8_t c) {
        const uint32_t code = m_code[c];
        for (int i = 0; i < m_length[c]; ++i) {
            acc = (acc << 1) | ((code >> (31 - i)) & 1u);
            if (++bits == 8) {
                if (written >= dstCapacity)
                    return false;
                dst[written++] = static_cast<uint8_t>(acc);
                acc = 0;
                bits = 0;
            }
        }
        return true;
    };
    for (char ch : text)
        if (!put(static_cast<uint8_t>(ch)))
            return written * 8;
    if (!(options & kNoTerminator) && !put(0))
        return written * 8;
    if (bits != 0) {
        if (written >= dstCapacity)
            return written * 8;
        dst[written++] = static_cast<uint8_t>(acc << (8 - bits));
        return (written - 1) * 8 + bits;
    }
    return written * 8;
}
