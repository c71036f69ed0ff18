#include "search/TelephoneInfo.h"

#include "engine/Cp1252.h"

#include <algorithm>

namespace telinfo {

std::vector<QdLocs::LocalityRow> localityRows(const QdLocs& locs, int32_t provinceId)
{
    std::vector<QdLocs::LocalityRow> rows = locs.ListLocalities(provinceId);
    // ListLocalities gives id order; a stable sort keeps it among equal names.
    std::stable_sort(rows.begin(), rows.end(), [](const QdLocs::LocalityRow& a, const QdLocs::LocalityRow& b) {
        return a.upperName < b.upperName;
    });
    return rows;
}

int findLocality(const std::vector<QdLocs::LocalityRow>& rows, std::string_view text)
{
    const std::string wanted = cp1252::upper(text);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].upperName.compare(0, wanted.size(), wanted) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> splitNotes(std::string_view notes)
{
    std::vector<std::string> lines;
    if (notes.empty())
        return lines;
    while (true) {
        const size_t bar = notes.find('|');
        lines.emplace_back(notes.substr(0, bar));
        if (bar == std::string_view::npos)
            return lines;
        notes.remove_prefix(bar + 1);
    }
}

CountryPage countryPage(const QdLocs& locs, int32_t countryId)
{
    CountryPage page;
    page.dialCode = locs.CountryDialCode(countryId);
    page.winter = "INVIERNO" + locs.CountryTimeText(countryId, 'I');
    page.summer = "VERANO" + locs.CountryTimeText(countryId, 'V');
    page.notes = splitNotes(locs.CountryNotes(countryId));
    page.cities = locs.ListCities(countryId);
    page.codeColumnWidth = page.cities.size() < 6 ? 99 : 83;
    return page;
}

std::vector<QdLocs::UsefulNumberRow> usefulNumbers(const QdLocs& locs, int32_t guideId)
{
    return guideId == 0 ? std::vector<QdLocs::UsefulNumberRow>() : locs.usefulNumberRows(guideId);
}

} // namespace telinfo
