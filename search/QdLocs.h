// QdLocs: the catalogs of the directory (rubros, localities, provinces, guides, countries, cities
// abroad, useful numbers), read once from "da01.dat"; the name lookups of the result list; the fills
// of the search lists and their cascade. Owned by the main window for its whole life; main thread
// only. The bound lists are not owned and must outlive the binding.
//
// "da01.dat": Windows-1252 text, one entry per line. A line ends at its LF (one CR before it is
// dropped, as a text-mode read does) or at the end of the file.
//   Column  Content
//   0       line letter, case-sensitive; lines of any other letter are ignored
//   1       a separator, skipped whatever it is
//   2..     fields up to the next ';' or the end of the line (in U lines ',' ends a field too)
//   Letter  Fields                                        Effect
//   P       id; name                                      province[id]
//   G       id; name                                      guide[id] id and name (its lists are kept)
//   L       id; name; province; guide; area code          locality[id]; inGuide[guide] set; the
//                                                         province joins the guide's province list
//   R       id; name; kind; see-also ids; redirect id     rubro[id]; kind = first character or 0
//   S       id; dial code; name; winter; summer; notes    country[id]
//   C       country id; code; name                        the next city, in file order
//   U       id; entity; number; guide; guide; ...         useful number[id], listed by each guide
// Numbers read as decimal integers: leading blanks, a sign, then digits up to the first other
// character (no digits give 0; values beyond 32 bits saturate). Texts are kept as they stand.
// Missing fields are empty or 0; extra fields are ignored.
//
// Rules:
// - A later line with the same id overwrites the slot; a locality listed on several L lines (one per
//   guide) keeps all those guides and takes its other fields from the last line.
// - A line whose id is 0 or outside its table is ignored (0 is "all"/"none"); so is a 3001st city.
//   A guide id 0 or outside the guide table in L and U lines, and a province id 0 or outside the
//   province table in L lines, only leave that list alone.
// - A guide lists each province id once, in order of first appearance, up to 30, whatever the order
//   of the P lines; it lists each useful-number id once, in file order, up to 50.
// - A line longer than 1,499 characters (its CR LF not counted) is ignored whole, and nothing of it
//   is read as a line of its own; the text after a byte 0 on a line is ignored.
// - An entry whose name is empty counts as absent (except useful numbers, which have none).
#pragma once

#include "engine/ByteSource.h"
#include "search/CatalogLimits.h"
#include "search/CatalogList.h"
#include "search/QdCiudad.h"
#include "search/QdGuia.h"
#include "search/QdLocalidad.h"
#include "search/QdNumUtil.h"
#include "search/QdPais.h"
#include "search/QdProvincia.h"
#include "search/QdRubro.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QdLocs {
public:
    // One row of the area-code view: caption, upper-cased name, area code in decimal.
    struct LocalityRow {
        int32_t id = 0;
        std::string name;
        std::string upperName;
        std::string areaCode;
    };
    // One row of the city-code view.
    struct CityRow {
        std::string name;
        std::string code;
    };
    // One row of the useful-numbers view.
    struct UsefulNumberRow {
        std::string entity;
        std::string number;
    };

    QdLocs();
    QdLocs(const QdLocs&) = delete;
    QdLocs& operator=(const QdLocs&) = delete;

    // Loading. Both start from empty tables. LoadFile returns false, the tables left empty, when the
    // file cannot be opened or a read fails part-way; the program then runs without catalogs.
    bool LoadFile(const std::string& path, const SourceOpener& opener = openFileSource);
    void loadText(std::string_view text);
    void clear();

    // Binding: stores the search lists, enables the guide and province lists and disables the
    // locality and rubro lists. BindCountryList stores and enables the country list.
    void BindSearchLists(CatalogList& guideList, CatalogList& provinceList, CatalogList& localityList,
                         CatalogList& rubroList);
    void BindCountryList(CatalogList& countryList);

    // Fills of the bound lists (nothing for a list not bound), with the cascade guide -> province
    // -> locality: FillGuides ends with FillProvinces, which ends with FillLocalities, each reading
    // the selection of the list above it. The single-list rules are in CatalogFill.h.
    void FillGuides();
    void FillProvinces();
    void FillLocalities();
    void FillRubros(char kind);
    void FillCountries();
    // Fills of the information pages' choosers; no cascade.
    void FillGuideChooser(CatalogList& list) const;
    void FillProvinceChooser(CatalogList& list) const;

    // Rows for the area-code view (every present locality of the province, of all provinces for 0,
    // in id order; the view sorts them by caption with collation::less) and for the city-code view (the cities of the
    // country, of all countries for 0, in file order).
    [[nodiscard]] std::vector<LocalityRow> ListLocalities(int32_t provinceId) const;
    [[nodiscard]] std::vector<CityRow> ListCities(int32_t countryId) const;
    // The guide's useful numbers in list order, those with an empty number left out.
    [[nodiscard]] std::vector<UsefulNumberRow> usefulNumberRows(int32_t guideId) const;

    // Lookups: an id outside its table or of an absent entry gives an empty text or 0.
    [[nodiscard]] const std::string& LocalityName(int32_t id) const;
    [[nodiscard]] const std::string& ProvinceName(int32_t id) const;
    [[nodiscard]] const std::string& RubroName(int32_t id) const;
    [[nodiscard]] int32_t LocalityProvince(int32_t id) const;
    [[nodiscard]] std::string CountryDialCode(int32_t id) const;
    [[nodiscard]] const std::string& CountryNotes(int32_t id) const;
    // The winter text for 'I', the summer text for 'V', empty otherwise.
    [[nodiscard]] const std::string& CountryTimeText(int32_t id, char letter) const;
    [[nodiscard]] const std::string& RubroSeeAlso(int32_t id) const;
    [[nodiscard]] const std::string& RubroRedirect(int32_t id) const;
    // The rubro searched in place of this one: the redirect's id when it names a present rubro
    // anywhere in the table, else 0 (searched as a rubro without redirect).
    [[nodiscard]] int32_t redirectTarget(int32_t id) const;
    [[nodiscard]] const std::array<int32_t, catalog::kGuideUsefulNumbers>& GuideUsefulNumbers(int32_t id) const;
    [[nodiscard]] const std::string& UsefulNumberEntity(int32_t id) const;
    [[nodiscard]] const std::string& UsefulNumberNumber(int32_t id) const;

    // Raw slots: an id outside the table gives an empty entry (absent entries are empty too).
    [[nodiscard]] const QdRubro& rubro(int32_t id) const;
    [[nodiscard]] const QdLocalidad& locality(int32_t id) const;
    [[nodiscard]] const QdProvincia& province(int32_t id) const;
    [[nodiscard]] const QdGuia& guide(int32_t id) const;
    [[nodiscard]] const QdPais& country(int32_t id) const;
    [[nodiscard]] const QdNumUtil& usefulNumber(int32_t id) const;
    [[nodiscard]] const std::vector<QdCiudad>& cities() const { return m_cities; }

private:
    class Parser;

    void parseLine(std::string_view line);

    CatalogList* m_countryList = nullptr;
    CatalogList* m_guideList = nullptr;
    CatalogList* m_provinceList = nullptr;
    CatalogList* m_localityList = nullptr;
    CatalogList* m_rubroList = nullptr;

    std::vector<QdRubro> m_rubros;
    std::vector<QdLocalidad> m_localities;
    std::vector<QdProvincia> m_provinces;
    std::vector<QdGuia> m_guides;
    std::vector<QdPais> m_countries;
    std::vector<QdCiudad> m_cities;
    std::vector<QdNumUtil> m_usefulNumbers;
};
