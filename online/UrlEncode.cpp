#include "online/UrlEncode.h"

#include <array>

namespace {

// The replacement of each byte, or null for a byte that passes. The replacements are applied one
// after the other over the whole text in the order CR, LF, space, ! " # $ & ( ) * + / < = > ? ';
// as no replacement contains a byte replaced later, one pass with a lookup gives the same text.
constexpr std::array<const char*, 256> makeTable()
{
    std::array<const char*, 256> t{};
    t['\r'] = "%0D";
    t['\n'] = "%0A";
    t[' '] = "%20";
    t['!'] = "%21";
    t['"'] = "%22";
    t['#'] = "%23";
    t['$'] = "%24";
    t['&'] = "%26";
    t['('] = "%28";
    t[')'] = "%29";
    t['*'] = "%2A";
    t['+'] = "%2B";
    t['/'] = "%2F";
    t['<'] = "%3C";
    t['='] = "%3D";
    t['>'] = "%3E";
    t['?'] = "%3F";
    t['\''] = "%5C";
    return t;
}

constexpr std::array<const char*, 256> kTable = makeTable();

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string UrlEncode(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char c : text) {
        if (const char* replacement = kTable[static_cast<unsigned char>(c)])
            out.append(replacement, 3);
        else
            out.push_back(c);
    }
    return out;
}

std::string PercentDecode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}
