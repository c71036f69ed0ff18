// TelephoneInfo: what the three telephone panels of the information section list, as plain data
// from the catalogs: the localities of a province with their area codes in the order the list
// shows them, the typed-text lookup in that list, a country's dialling page, and a guide's useful
// numbers. The panels and `ortelia-cli dialling|useful` share it. Pure functions over a loaded
// QdLocs; main thread (QdLocs is).
#pragma once

#include "search/QdLocs.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace telinfo {

// Every locality of the province (of all provinces for 0), ordered by name without regard to
// case, equal names in id order: the order of the list sorted by its hidden name column.
[[nodiscard]] std::vector<QdLocs::LocalityRow> localityRows(const QdLocs& locs, int32_t provinceId);

// The first row, from the top without wrapping, whose name starts with text ignoring case; -1
// when none does. An empty text matches the first row.
[[nodiscard]] int findLocality(const std::vector<QdLocs::LocalityRow>& rows, std::string_view text);

// The international-dialling page of one country.
struct CountryPage {
    std::string dialCode;           // decimal, empty for an absent country
    std::string winter;             // "INVIERNO" and the winter text, no separator
    std::string summer;             // "VERANO" and the summer text
    std::vector<std::string> notes; // the notes split at every "|", the text after the last one last
    std::vector<QdLocs::CityRow> cities;
    int codeColumnWidth = 99; // 83 from six cities on: room for the list's scroll bar
};
[[nodiscard]] CountryPage countryPage(const QdLocs& locs, int32_t countryId);

// The lines of a notes text: one per part between "|" signs; no text gives no line.
[[nodiscard]] std::vector<std::string> splitNotes(std::string_view notes);

// The useful numbers of a guide as listed: none for guide 0 ("- SELECCIONE LA GUIA -").
[[nodiscard]] std::vector<QdLocs::UsefulNumberRow> usefulNumbers(const QdLocs& locs, int32_t guideId);

} // namespace telinfo
