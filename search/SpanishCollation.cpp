#include "search/SpanishCollation.h"

#include <array>
#include <cstdint>

namespace collation {
namespace {

// Accent marks, the second level; 0 is the plain letter.
enum Accent : uint8_t { kNone, kAcute, kGrave, kCircumflex, kDiaeresis, kTilde, kRing, kCedilla, kCaron, kStroke };

// One collation element of a byte: its letter (first level), accent and case. Letters are 'A' to
// 'Z' plus kEnye; 0 marks a byte that is not a letter.
struct Element {
    char letter = 0;
    uint8_t accent = kNone;
    bool upper = false;
    char second = 0; // the second letter of Æ, Œ and ß
};

constexpr char kEnye = '['; // the code after 'Z'; letterWeight() places it right after N

constexpr std::array<Element, 256> makeElements()
{
    std::array<Element, 256> e{};
    for (int c = 'A'; c <= 'Z'; ++c) {
        e[static_cast<size_t>(c)] = {static_cast<char>(c), kNone, true, 0};
        e[static_cast<size_t>(c - 'A' + 'a')] = {static_cast<char>(c), kNone, false, 0};
    }
    // Windows-1252 upper-case letters 0xC0..0xDE; their lower-case forms lie 0x20 higher.
    const struct {
        unsigned char upper;
        char letter;
        uint8_t accent;
        char second;
    } accented[] = {
        {0xC0, 'A', kGrave, 0},      {0xC1, 'A', kAcute, 0},  {0xC2, 'A', kCircumflex, 0}, {0xC3, 'A', kTilde, 0},
        {0xC4, 'A', kDiaeresis, 0},  {0xC5, 'A', kRing, 0},   {0xC6, 'A', kNone, 'E'},     {0xC7, 'C', kCedilla, 0},
        {0xC8, 'E', kGrave, 0},      {0xC9, 'E', kAcute, 0},  {0xCA, 'E', kCircumflex, 0}, {0xCB, 'E', kDiaeresis, 0},
        {0xCC, 'I', kGrave, 0},      {0xCD, 'I', kAcute, 0},  {0xCE, 'I', kCircumflex, 0}, {0xCF, 'I', kDiaeresis, 0},
        {0xD0, 'D', kStroke, 0},     {0xD1, kEnye, kNone, 0}, {0xD2, 'O', kGrave, 0},      {0xD3, 'O', kAcute, 0},
        {0xD4, 'O', kCircumflex, 0}, {0xD5, 'O', kTilde, 0},  {0xD6, 'O', kDiaeresis, 0},  {0xD8, 'O', kStroke, 0},
        {0xD9, 'U', kGrave, 0},      {0xDA, 'U', kAcute, 0},  {0xDB, 'U', kCircumflex, 0}, {0xDC, 'U', kDiaeresis, 0},
        {0xDD, 'Y', kAcute, 0},
    };
    for (const auto& a : accented) {
        e[a.upper] = {a.letter, a.accent, true, a.second};
        e[a.upper + 0x20u] = {a.letter, a.accent, false, a.second};
    }
    e[0xDF] = {'S', kNone, false, 'S'};    // ß
    e[0xFF] = {'Y', kDiaeresis, false, 0}; // ÿ
    e[0x9F] = {'Y', kDiaeresis, true, 0};  // Ÿ
    e[0x8A] = {'S', kCaron, true, 0};      // Š
    e[0x9A] = {'S', kCaron, false, 0};
    e[0x8E] = {'Z', kCaron, true, 0}; // Ž
    e[0x9E] = {'Z', kCaron, false, 0};
    e[0x8C] = {'O', kNone, true, 'E'}; // Œ
    e[0x9C] = {'O', kNone, false, 'E'};
    e[0xAA] = {'A', kNone, false, 0}; // ª
    e[0xBA] = {'O', kNone, false, 0}; // º
    return e;
}

constexpr std::array<Element, 256> kElements = makeElements();

// First-level weight of a letter: A..N, Ñ, O..Z, above every digit and every other byte.
uint16_t letterWeight(char letter)
{
    if (letter == kEnye)
        return static_cast<uint16_t>(0x300 + 2 * ('N' - 'A') + 1);
    return static_cast<uint16_t>(0x300 + 2 * (letter - 'A'));
}

void putWeight(std::string& key, uint16_t w)
{
    key.push_back(static_cast<char>(w >> 8));
    key.push_back(static_cast<char>(w & 0xFF));
}

} // namespace

std::string sortKey(std::string_view text)
{
    // Level 1: two bytes per element, never 0 in the high byte, so the 0 0 that ends it sorts a
    // text before every longer text with the same start. Levels 2 and 3: one byte per element,
    // 1 or above, ended by 0.
    std::string primary, accents, cases;
    primary.reserve(2 * text.size() + 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const Element& e = kElements[c];
        if (e.letter == 0) {
            // Blanks and punctuation (in byte order) before digits, digits before letters.
            putWeight(primary, static_cast<uint16_t>((c >= '0' && c <= '9' ? 0x200 : 0x100) + c));
            accents.push_back(1);
            cases.push_back(1);
            continue;
        }
        for (const char letter : {e.letter, e.second}) {
            if (letter == 0)
                break;
            putWeight(primary, letterWeight(letter));
            accents.push_back(static_cast<char>(1 + e.accent));
            cases.push_back(static_cast<char>(e.upper ? 2 : 1));
        }
    }
    std::string key = std::move(primary);
    key.append(2, '\0');
    key += accents;
    key.push_back('\0');
    key += cases;
    key.push_back('\0');
    // Texts alike on all three levels (an expansion against its spelled-out letters, say) are
    // still kept apart, by their bytes.
    key.append(text);
    return key;
}

int compare(std::string_view a, std::string_view b)
{
    const std::string ka = sortKey(a), kb = sortKey(b);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

} // namespace collation
