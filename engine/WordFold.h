// WordFold: the one definition of what a word of a name or an address is. The word index is built
// from record texts and searched with the user's text; both go through these functions, so a word
// typed as it is printed in a record always reaches that record. Pure functions, any thread.
//
// A text is split at separator bytes; each word byte is replaced by its folded byte (lower case and
// accented letters fold to plain capitals); words of fewer than 3 bytes are dropped. The full stop
// is a word byte in names ("S.A.") and a separator in addresses ("AV. SAN MARTIN").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wordfold {

enum TextKind : int { kName = 0, kAddress = 1 };

constexpr size_t kMinWordLength = 3;
// Stored keys and search keys keep this many bytes.
constexpr size_t kKeyLength = 11;

// True when byte c ends a word of the given kind (any kind other than kAddress reads as kName).
[[nodiscard]] bool isSeparator(unsigned char c, int kind);
// The byte that stands for word byte c in the index.
[[nodiscard]] unsigned char fold(unsigned char c);

// The next word of text at or after position, folded; position moves past the word and the
// separators after it. The empty string at the end of the text. Each caller keeps its own position.
[[nodiscard]] std::string NextWord(std::string_view text, int kind, size_t& position);
// True when text yields at least one word.
[[nodiscard]] bool HasWord(std::string_view text, int kind);
// Every word of text, in order (repeats kept).
[[nodiscard]] std::vector<std::string> splitWords(std::string_view text, int kind);

// A search key made ready for the index: a final "." asks for the whole word and is removed; the
// rest is upper-cased, trimmed of blanks and control bytes, and cut to kKeyLength bytes.
struct SearchKey {
    std::string key;
    bool wholeWord = false;
};
[[nodiscard]] SearchKey normaliseKey(std::string_view key);

// The keys under which a record's text is stored: each word of the text as the index lookup would
// normalise it, so the word found in the text, with or without a final ".", finds the record.
// Empty keys are left out; repeats are kept. Appends to out.
void indexKeys(std::string_view text, int kind, std::vector<std::string>& out);

} // namespace wordfold
