// TypeAhead: the matching rule of the editable search lists: only prefixes of existing entries can
// be typed, and the edit completes to the first entry that begins with what was typed, compared
// without regard to case (Spanish upper case of Windows-1252). Pure functions over a CatalogList;
// the UI applies the result to its edit. Main thread (the list is UI).
#pragma once

#include "search/CatalogList.h"

#include <cstddef>
#include <string>
#include <string_view>

struct TypeAheadMatch {
    int index = -1;         // entry completed to; -1 when none matched (the list is empty)
    std::string text;       // the edit's new text: the entry's full text, or empty when none matched
    size_t typedLength = 0; // typed characters kept: the edit selects text from here to its end
};

// True when text begins with prefix, case ignored.
[[nodiscard]] bool startsWithNoCase(std::string_view text, std::string_view prefix);

// Index of the first entry whose text begins with prefix, case ignored; -1 when none does.
[[nodiscard]] int findEntryStartingWith(const CatalogList& list, std::string_view prefix);

// After a key has been applied to the edit text (typed): the first entry beginning with typed; when
// none does, the last typed character is dropped and the lookup repeated, down to the empty text.
[[nodiscard]] TypeAheadMatch typeAhead(const CatalogList& list, std::string_view typed);

// Entry selected when the user leaves the list: the first beginning with the edit text, else the
// first entry ("all"); -1 only for an empty list.
[[nodiscard]] int entryOnLeave(const CatalogList& list, std::string_view editText);
