#include "builder/SampleText.h"

#include "engine/Cp1252.h"

#include <array>

namespace sample {
namespace {

// Accented vowels of Windows-1252 upper case and their plain letter; 0 keeps the byte.
constexpr std::array<unsigned char, 256> makeUnaccented()
{
    std::array<unsigned char, 256> map{};
    for (int c = 0xC0; c <= 0xC5; ++c)
        map[c] = 'A';
    for (int c = 0xC8; c <= 0xCB; ++c)
        map[c] = 'E';
    for (int c = 0xCC; c <= 0xCF; ++c)
        map[c] = 'I';
    for (int c = 0xD2; c <= 0xD6; ++c)
        map[c] = 'O';
    for (int c = 0xD9; c <= 0xDB; ++c)
        map[c] = 'U';
    map[0xDD] = 'Y';
    map[0x9F] = 'Y';
    return map;
}
constexpr std::array<unsigned char, 256> kUnaccented = makeUnaccented();

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

} // namespace

std::string cp(std::string_view utf8)
{
    std::string out;
    if (!cp1252::fromUtf8(utf8, out))
        out.clear();
    return out;
}

void appendPrinted(std::string& out, std::string_view text)
{
    for (const char ch : text) {
        const unsigned char u = cp1252::upper(static_cast<unsigned char>(ch));
        const unsigned char plain = kUnaccented[u];
        out.push_back(static_cast<char>(plain != 0 ? plain : u));
    }
}

std::string printed(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendPrinted(out, text);
    return out;
}

std::string singular(std::string_view word)
{
    if (endsWith(word, "SIS")) // PROTESIS, ANALISIS: already singular
        return std::string(word);
    static const std::pair<std::string_view, std::string_view> kRules[] = {
        {"IONES", "ION"}, {"ERES", "ER"}, {"ARES", "AR"}, {"ORES", "OR"}, {"ALES", "AL"},
        {"ELES", "EL"},   {"ENES", "EN"}, {"INES", "IN"}, {"ONES", "ON"}, {"ILES", "IL"},
        {"UBES", "UB"},   {"UES", "U"},   {"AS", "A"},    {"OS", "O"},    {"ES", "E"},
    };
    for (const auto& [tail, replacement] : kRules) {
        if (endsWith(word, tail) && word.size() > tail.size())
            return std::string(word.substr(0, word.size() - tail.size())) + std::string(replacement);
    }
    return std::string(word);
}

std::string shopNoun(std::string_view rubro)
{
    std::string out;
    bool singularPart = true;
    size_t start = 0;
    while (start < rubro.size()) {
        size_t end = rubro.find(' ', start);
        if (end == std::string_view::npos)
            end = rubro.size();
        const std::string_view word = rubro.substr(start, end - start);
        start = end + 1;
        if (word == "DE" || word == "PARA" || word == "EN" || word == "A")
            singularPart = false;
        if (word == "-" || word == "Y") // "CLINICAS Y SANATORIOS" -> "CLINICA"
            break;
        if (!out.empty())
            out += ' ';
        out += singularPart ? singular(word) : std::string(word);
    }
    return out;
}

std::string domainLabel(std::string_view name, size_t maxLength)
{
    std::string out;
    for (const char ch : name) {
        if (out.size() >= maxLength)
            break;
        unsigned char c = cp1252::upper(static_cast<unsigned char>(ch));
        if (kUnaccented[c] != 0)
            c = kUnaccented[c];
        else if (c == 0xD1) // Ñ
            c = 'N';
        else if (c == 0xDC) // Ü
            c = 'U';
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            out.push_back(static_cast<char>(c));
    }
    return out;
}

void appendNumber(std::string& out, uint64_t value, int width)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && n < 24);
    for (int i = n; i < width; ++i)
        out.push_back('0');
    while (n > 0)
        out.push_back(digits[--n]);
}

void appendLocalPhone(std::string& out, int localLength, int32_t local)
{
    appendNumber(out, static_cast<uint64_t>(local / 10000), localLength - 4);
    out.push_back('-');
    appendNumber(out, static_cast<uint64_t>(local % 10000), 4);
}

void appendPhone(std::string& out, int32_t areaCode, int localLength, int32_t local)
{
    out += "(0";
    appendNumber(out, static_cast<uint64_t>(areaCode));
    out += ") ";
    appendLocalPhone(out, localLength, local);
}

} // namespace sample
