// CatalogWriter: writes the catalog file "da01.dat" (the layout is documented in search/QdLocs.h)
// from in-memory tables. Lines come out grouped by kind (P, G, L, R, S, C, U), each table in the
// order given, every line ended by CR LF; a locality gets one L line per guide. Refuses, with an
// error naming the entry, what the reader could not give back: ids 0 or outside their table,
// repeated ids, empty names, references outside their table, separators or line ends inside texts,
// more than five see-also rubros, a rubro redirecting to itself, more than 3000 cities or 50 useful numbers in a guide,
// lines over 1,499 characters. All text is Windows-1252. Stateless; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CatalogWriter {
public:
    struct Province {
        int32_t id = 0;
        std::string name;
    };
    struct Guide {
        int32_t id = 0;
        std::string name;
    };
    struct Locality {
        int32_t id = 0;
        std::string name;
        int32_t province = 0;        // 0: none
        std::vector<int32_t> guides; // in the order the guides should list the province; none: no guide
        int32_t areaCode = 0;
    };
    struct Rubro {
        int32_t id = 0;
        std::string name;
        char kind = 0;                // 'C' commercial, 'P' professional, 0 none
        std::vector<int32_t> seeAlso; // related rubro ids
        int32_t redirect = 0;         // 0: none
    };
    struct Country {
        int32_t id = 0;
        int32_t dialCode = 0;
        std::string name;
        std::string winter;
        std::string summer;
        std::string notes; // lines separated by "|"
    };
    struct City {
        int32_t country = 0;
        std::string code;
        std::string name;
    };
    struct UsefulNumber {
        int32_t id = 0;
        std::string entity;
        std::string number;
        std::vector<int32_t> guides; // the guides that list it
    };
    struct Tables {
        std::vector<Province> provinces;
        std::vector<Guide> guides;
        std::vector<Locality> localities;
        std::vector<Rubro> rubros;
        std::vector<Country> countries;
        std::vector<City> cities;
        std::vector<UsefulNumber> usefulNumbers;
    };

    static constexpr size_t kMaxSeeAlso = 5; // the see-also line has five links

    // The entry a refusal is about: its table and its position there.
    enum class Table { None, Provinces, Guides, Localities, Rubros, Countries, Cities, UsefulNumbers };
    struct Refused {
        Table table = Table::None;
        size_t index = 0;
    };

    // The file's bytes. False (out empty) when the tables cannot be written; error then says why and
    // refused (when given) which entry.
    static bool build(const Tables& tables, std::vector<uint8_t>& out, std::string* error = nullptr,
                      Refused* refused = nullptr);
    // build, then writes the file.
    static bool save(const Tables& tables, const std::string& path, std::string* error = nullptr,
                     Refused* refused = nullptr);
};
