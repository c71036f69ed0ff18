// SpanishCollation: alphabetical order of Windows-1252 names the way a Spanish reader expects it,
// the one rule of every catalog list and of the agenda's sorting. Three levels, compared in turn:
// letters (case and accents ignored; "Ñ" is a letter of its own after "N"; "Æ", "Œ" and "ß" count
// as two letters), then accents (a plain letter before its accented forms), then case (lower case
// first). Blanks and punctuation sort before digits, digits before letters. Pure functions, any
// thread.
#pragma once

#include <string>
#include <string_view>

namespace collation {

// A byte string whose plain byte order is the order of the texts: compare(a, b) has the sign of
// sortKey(a) <=> sortKey(b). Equal keys only for equal texts.
[[nodiscard]] std::string sortKey(std::string_view windows1252);

// Negative, 0 or positive as a sorts before, with or after b.
[[nodiscard]] int compare(std::string_view a, std::string_view b);
[[nodiscard]] inline bool less(std::string_view a, std::string_view b)
{
    return compare(a, b) < 0;
}

} // namespace collation
