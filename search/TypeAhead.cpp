#include "search/TypeAhead.h"

#include "engine/Cp1252.h"

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (cp1252::upper(static_cast<unsigned char>(text[i])) != cp1252::upper(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

int findEntryStartingWith(const CatalogList& list, std::string_view prefix)
{
    const int n = list.count();
    for (int i = 0; i < n; ++i) {
        if (startsWithNoCase(list.itemText(i), prefix))
            return i;
    }
    return -1;
}

TypeAheadMatch typeAhead(const CatalogList& list, std::string_view typed)
{
    TypeAheadMatch match;
    for (size_t kept = typed.size();; --kept) {
        const int index = findEntryStartingWith(list, typed.substr(0, kept));
        if (index >= 0) {
            match.index = index;
            match.text = list.itemText(index);
            match.typedLength = kept;
            return match;
        }
        if (kept == 0)
            return match;
    }
}

int entryOnLeave(const CatalogList& list, std::string_view editText)
{
    const int index = findEntryStartingWith(list, editText);
    if (index >= 0)
        return index;
    return list.count() > 0 ? 0 : -1;
}
