#include "online/SealText.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> makeValues()
{
    std::array<int8_t, 256> v{};
    v.fill(-1);
    for (int i = 0; i < 64; ++i)
        v[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
    return v;
}

constexpr std::array<int8_t, 256> kValues = makeValues();

} // namespace

std::string SealText(std::string_view text)
{
    std::string out;
    out.reserve((text.size() + 2) / 3 * 4);
    const size_t keyLength = kSealKey.size();
    size_t j = 0;
    auto sum = [&](size_t i) -> uint32_t {
        const uint32_t s = (static_cast<unsigned char>(text[i]) + static_cast<unsigned char>(kSealKey[j])) & 0xFF;
        j = j + 1 == keyLength ? 0 : j + 1;
        return s;
    };
    size_t i = 0;
    for (; i + 3 <= text.size(); i += 3) {
        const uint32_t a = sum(i), b = sum(i + 1), c = sum(i + 2);
        const uint32_t w = (a << 16) | (b << 8) | c;
        out.push_back(kAlphabet[(w >> 18) & 63]);
        out.push_back(kAlphabet[(w >> 12) & 63]);
        out.push_back(kAlphabet[(w >> 6) & 63]);
        out.push_back(kAlphabet[w & 63]);
    }
    const size_t rest = text.size() - i;
    if (rest > 0) {
        const uint32_t a = sum(i);
        const uint32_t b = rest == 2 ? sum(i + 1) : 0;
        const uint32_t w = (a << 16) | (b << 8);
        out.push_back(kAlphabet[(w >> 18) & 63]);
        out.push_back(kAlphabet[(w >> 12) & 63]);
        out.push_back(rest == 2 ? kAlphabet[(w >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::optional<std::string> UnsealText(std::string_view sealed)
{
    if (sealed.size() % 4 != 0)
        return std::nullopt;
    std::string out;
    out.reserve(sealed.size() / 4 * 3);
    for (size_t i = 0; i < sealed.size(); i += 4) {
        const bool last = i + 4 == sealed.size();
        const size_t padding = last ? (sealed[i + 3] == '=') + (sealed[i + 2] == '=') : 0;
        if (last && padding == 1 && sealed[i + 2] == '=')
            return std::nullopt; // "x=y=" or similar
        uint32_t w = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int8_t v = k >= 4 - padding ? 0 : kValues[static_cast<unsigned char>(sealed[i + k])];
            if (v < 0)
                return std::nullopt;
            w = (w << 6) | static_cast<uint32_t>(v);
        }
        if ((padding == 1 && (w & 0xFF) != 0) || (padding == 2 && (w & 0xFFFF) != 0))
            return std::nullopt;
        out.push_back(static_cast<char>(w >> 16));
        if (padding < 2)
            out.push_back(static_cast<char>((w >> 8) & 0xFF));
        if (padding < 1)
            out.push_back(static_cast<char>(w & 0xFF));
    }
    const size_t keyLength = kSealKey.size();
    for (size_t i = 0, j = 0; i < out.size(); ++i, j = j + 1 == keyLength ? 0 : j + 1)
        out[i] =
            static_cast<char>((static_cast<unsigned char>(out[i]) - static_cast<unsigned char>(kSealKey[j])) & 0xFF);
    return out;
}
