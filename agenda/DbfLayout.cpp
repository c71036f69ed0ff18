#include "agenda/DbfLayout.h"

#include <algorithm>
#include <cstring>

namespace dbf {

std::optional<int32_t> decodeInteger(const uint8_t* p)
{
    const uint32_t raw = (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
                         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
    if (raw == 0)
        return std::nullopt;
    return static_cast<int32_t>(raw ^ 0x80000000u);
}

void encodeInteger(uint8_t* p, std::optional<int32_t> value)
{
    const uint32_t raw = value ? static_cast<uint32_t>(*value) ^ 0x80000000u : 0u;
    p[0] = static_cast<uint8_t>(raw >> 24);
    p[1] = static_cast<uint8_t>(raw >> 16);
    p[2] = static_cast<uint8_t>(raw >> 8);
    p[3] = static_cast<uint8_t>(raw);
}

std::string decodeCharacter(const uint8_t* p, size_t width)
{
    size_t n = width;
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == 0))
        --n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

void encodeCharacter(uint8_t* p, size_t width, std::string_view text)
{
    const size_t n = std::min(width, text.size());
    std::memcpy(p, text.data(), n);
    std::memset(p + n, ' ', width - n);
}

std::optional<uint32_t> decodeMemoPointer(const uint8_t* p, size_t width)
{
    size_t begin = 0, end = width;
    while (begin < end && (p[begin] == ' ' || p[begin] == 0))
        ++begin;
    while (end > begin && (p[end - 1] == ' ' || p[end - 1] == 0))
        --end;
    uint64_t block = 0;
    for (size_t i = begin; i < end; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return std::nullopt;
        block = block * 10 + (p[i] - '0');
        if (block > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<uint32_t>(block);
}

void encodeMemoPointer(uint8_t* p, size_t width, uint32_t block)
{
    std::memset(p, ' ', width);
    if (block == 0)
        return;
    const std::string digits = std::to_string(block);
    if (digits.size() > width)
        return;
    std::memcpy(p + width - digits.size(), digits.data(), digits.size());
}

} // namespace dbf
