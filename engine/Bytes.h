// Little- and big-endian integer access over byte buffers, shared by every decoder and writer.
#pragma once

#include <cstdint>
#include <vector>

namespace bytes {

[[nodiscard]] inline uint16_t le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
[[nodiscard]] inline uint32_t le24(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
}
[[nodiscard]] inline uint32_t le32(const uint8_t* p)
{
    return le24(p) | (static_cast<uint32_t>(p[3]) << 24);
}
[[nodiscard]] inline uint32_t be24(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | static_cast<uint32_t>(p[2]);
}

inline void putLe16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void putLe24(std::vector<uint8_t>& out, uint32_t v)
{
    putLe16(out, v);
    out.push_back(static_cast<uint8_t>(v >> 16));
}
inline void putLe32(std::vector<uint8_t>& out, uint32_t v)
{
    putLe24(out, v);
    out.push_back(static_cast<uint8_t>(v >> 24));
}
inline void putBe24(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
inline void setLe32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

} // namespace bytes
