#include "engine/Cp1252.h"

#include <array>

namespace cp1252 {

namespace {

// 0x80..0x9F; the unassigned bytes keep their own value.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char32_t toUnicode(unsigned char c)
{
    if (c >= 0x80 && c <= 0x9F)
        return kHigh[c - 0x80];
    return c;
}

int fromUnicode(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<int>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[static_cast<size_t>(i)] == u)
            return 0x80 + i;
    return -1;
}

std::string toUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char ch : text) {
        const char32_t u = toUnicode(static_cast<unsigned char>(ch));
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (u >> 12)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

bool fromUtf8(std::string_view utf8, std::string& out, size_t* badOffset)
{
    out.clear();
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t start = i;
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t u = 0;
        int extra = 0;
        if (b < 0x80) {
            u = b;
        } else if ((b & 0xE0) == 0xC0) {
            u = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            u = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            u = b & 0x07;
            extra = 3;
        } else {
            extra = -1;
        }
        ++i;
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) <= utf8.size();
        for (int k = 0; ok && k < extra; ++k, ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            else
                u = (u << 6) | (c & 0x3F);
        }
        // Overlong forms are rejected so one character has one spelling.
        if (ok && ((extra == 1 && u < 0x80) || (extra == 2 && u < 0x800) || (extra == 3 && u < 0x10000)))
            ok = false;
        const int c = ok ? fromUnicode(u) : -1;
        if (c < 0) {
            if (badOffset)
                *badOffset = start;
            return false;
        }
        out.push_back(static_cast<char>(c));
    }
    return true;
}

unsigned char upper(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A; // š
    case 0x9C: return 0x8C; // œ
    case 0x9E: return 0x8E; // ž
    case 0xFF: return 0x9F; // ÿ
    default: return c;
    }
}

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& ch : out)
        ch = static_cast<char>(upper(static_cast<unsigned char>(ch)));
    return out;
}

bool isBlankOrControl(unsigned char c)
{
    return c <= 0x20 || c == 0x7F;
}

std::string_view trim(std::string_view text)
{
    size_t b = 0;
    size_t e = text.size();
    while (b < e && isBlankOrControl(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && isBlankOrControl(static_cast<unsigned char>(text[e - 1])))
        --e;
    return text.substr(b, e - b);
}

} // namespace cp1252
