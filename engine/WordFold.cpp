#include "engine/WordFold.h"

#include "engine/Cp1252.h"

#include <array>
#include <cstdint>

namespace wordfold {

namespace {

struct CharEntry {
    bool nameSeparator = true;
    bool addressSeparator = true;
    unsigned char folded = 0;
};

using CharTable = std::array<CharEntry, 256>;

constexpr void setWord(CharTable& t, int from, int to)
{
    for (int c = from; c <= to; ++c) {
        t[static_cast<size_t>(c)].nameSeparator = false;
        t[static_cast<size_t>(c)].addressSeparator = false;
    }
}

constexpr void setFold(CharTable& t, int from, int to, int target)
{
    for (int c = from; c <= to; ++c)
        t[static_cast<size_t>(c)].folded = static_cast<unsigned char>(target);
}

// The bytes 0x80-0xA5 fold as the DOS Latin-1 letters of the same value would (0x81 u-umlaut,
// 0x82 e-acute, 0xA4 n-tilde and so on); 0xC0-0xFF fold as Windows-1252 letters.
// Upper-case E-acute and its neighbours 0xC7-0xCB are separators: "JOSÉ" is the word "JOS".
constexpr CharTable makeTable()
{
    CharTable t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<size_t>(c)].folded = static_cast<unsigned char>(c);
    setWord(t, 0x24, 0x24);
    setWord(t, 0x27, 0x27);
    setWord(t, 0x2B, 0x2B);
    setWord(t, 0x2E, 0x2E);
    setWord(t, 0x30, 0x39);
    setWord(t, 0x41, 0x5A);
    setWord(t, 0x61, 0x7A);
    setWord(t, 0x81, 0x90);
    setWord(t, 0x93, 0x97);
    setWord(t, 0x99, 0x9A);
    setWord(t, 0x9C, 0x9C);
    setWord(t, 0xA0, 0xA5);
    setWord(t, 0xB0, 0xB0);
    setWord(t, 0xC0, 0xC6);
    setWord(t, 0xCC, 0xD6);
    setWord(t, 0xD9, 0xDC);
    setWord(t, 0xE0, 0xFF);
    t[0x2E].addressSeparator = true;

    for (int c = 0x61; c <= 0x7A; ++c)
        t[static_cast<size_t>(c)].folded = static_cast<unsigned char>(c - 0x20);
    setFold(t, 0x27, 0x27, 0x60);
    for (int c : {0x81, 0x96, 0x97, 0x9A, 0xA3})
        setFold(t, c, c, 0x55);
    setFold(t, 0xD9, 0xDC, 0x55);
    setFold(t, 0xF9, 0xFC, 0x55);
    for (int c : {0x82, 0x88, 0x89, 0x8A, 0x90})
        setFold(t, c, c, 0x45);
    setFold(t, 0xE8, 0xEB, 0x45);
    setFold(t, 0x83, 0x86, 0x41);
    for (int c : {0x8E, 0x8F, 0xA0})
        setFold(t, c, c, 0x41);
    setFold(t, 0xC0, 0xC6, 0x41);
    setFold(t, 0xE0, 0xE6, 0x41);
    setFold(t, 0x87, 0x87, 0x43);
    setFold(t, 0xE7, 0xE7, 0x43);
    setFold(t, 0x8B, 0x8D, 0x49);
    setFold(t, 0xA1, 0xA1, 0x49);
    setFold(t, 0xCC, 0xCF, 0x49);
    setFold(t, 0xEC, 0xEF, 0x49);
    for (int c : {0x93, 0x94, 0x95, 0x99, 0xA2, 0xF0})
        setFold(t, c, c, 0x4F);
    setFold(t, 0xD2, 0xD6, 0x4F);
    setFold(t, 0xF2, 0xF6, 0x4F);
    setFold(t, 0xA4, 0xA5, 0x4E);
    setFold(t, 0x9C, 0x9C, 0x8C);
    setFold(t, 0xF1, 0xF1, 0xD1);
    setFold(t, 0xFD, 0xFD, 0x59);
    setFold(t, 0xFF, 0xFF, 0x59);
    return t;
}

constexpr CharTable kTable = makeTable();

} // namespace

bool isSeparator(unsigned char c, int kind)
{
    return kind == kAddress ? kTable[c].addressSeparator : kTable[c].nameSeparator;
}

unsigned char fold(unsigned char c)
{
    return kTable[c].folded;
}

std::string NextWord(std::string_view text, int kind, size_t& position)
{
    auto separator = [&](size_t i) { return isSeparator(static_cast<unsigned char>(text[i]), kind); };
    std::string word;
    while (position < text.size()) {
        while (position < text.size() && separator(position))
            ++position;
        word.clear();
        while (position < text.size() && !separator(position))
            word.push_back(static_cast<char>(fold(static_cast<unsigned char>(text[position++]))));
        while (position < text.size() && separator(position))
            ++position;
        if (word.size() >= kMinWordLength)
            return word;
    }
    return {};
}

bool HasWord(std::string_view text, int kind)
{
    size_t position = 0;
    return !text.empty() && !NextWord(text, kind, position).empty();
}

std::vector<std::string> splitWords(std::string_view text, int kind)
{
    std::vector<std::string> words;
    size_t position = 0;
    for (std::string w = NextWord(text, kind, position); !w.empty(); w = NextWord(text, kind, position))
        words.push_back(std::move(w));
    return words;
}

SearchKey normaliseKey(std::string_view key)
{
    SearchKey out;
    if (!key.empty() && key.back() == '.') {
        key.remove_suffix(1);
        out.wholeWord = true;
    }
    const std::string upper = cp1252::upper(key);
    out.key = std::string(cp1252::trim(upper).substr(0, kKeyLength));
    return out;
}

void indexKeys(std::string_view text, int kind, std::vector<std::string>& out)
{
    size_t position = 0;
    for (std::string w = NextWord(text, kind, position); !w.empty(); w = NextWord(text, kind, position)) {
        std::string key = normaliseKey(w).key;
        if (!key.empty())
            out.push_back(std::move(key));
    }
}

} // namespace wordfold
