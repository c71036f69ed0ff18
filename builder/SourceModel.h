// SourceModel: everything a data set is built from, in memory: the listings of the three guides,
// the catalogs, the ads with their pictures, the official bodies, the banners and the product page.
// Filled by SourceReader (the publisher's text files) or by SampleGenerator, consumed by
// DataSetBuilder. Text is Windows-1252. Listings are held compactly (one text arena, fixed fields
// in a flat array) so ten million of them fit in well under a gigabyte. One thread.
#pragma once

#include "builder/CatalogWriter.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

enum class GuideKind : uint8_t { Alphabetical = 0, Commercial = 1, Professional = 2 };

// One listing line of a printed guide, as the source gives it.
struct Listing {
    GuideKind guide = GuideKind::Alphabetical;
    int32_t guideId = 0;    // the catalog guide (regional book) the listing belongs to; 0 = none
    int32_t localityId = 0; // catalog locality; its province is the listing's province
    int32_t rubroId = 0;    // commercial and professional guides; 0 = none
    int32_t areaCode = 0;   // without the leading 0; 0 = no telephone
    int32_t phonePrefix = 0;
    int32_t phoneLine = 0; // the last four digits
    int32_t adNumber = 0;  // 1-based number in SourceModel::ads; 0 = none
    std::string_view name, address, web, mail;
};

class ListingTable {
public:
    void add(const Listing& l);
    [[nodiscard]] size_t size() const { return m_rows.size(); }
    [[nodiscard]] Listing at(size_t i) const
    {
        const Row& r = m_rows[i];
        Listing l;
        l.guide = r.guide;
        l.guideId = r.guideId;
        l.localityId = r.localityId;
        l.rubroId = r.rubroId;
        l.areaCode = r.areaCode;
        l.phonePrefix = r.phonePrefix;
        l.phoneLine = r.phoneLine;
        l.adNumber = r.adNumber;
        const char* p = m_arena.data() + r.text;
        l.name = std::string_view(p, r.lengths[0]);
        l.address = std::string_view(p += r.lengths[0], r.lengths[1]);
        l.web = std::string_view(p += r.lengths[1], r.lengths[2]);
        l.mail = std::string_view(p + r.lengths[2], r.lengths[3]);
        return l;
    }
    void reserve(size_t listings, size_t textBytes);
    void clear();

private:
    struct Row {
        uint64_t text; // offset of name, then address, web, mail in the arena
        uint16_t lengths[4];
        int32_t guideId, localityId, rubroId, areaCode, phonePrefix, phoneLine, adNumber;
        GuideKind guide;
    };
    std::vector<Row> m_rows;
    std::vector<char> m_arena;
};

struct SourceAd {
    int8_t kind = 8;       // 0 picture, 2 rounded card, 3 kept on the server, 5 picture, 8 card
    int32_t reference = 0; // the publisher's reference (kind 3: the picture's id on the server)
    int32_t pictureId = 0; // key into SourceModel::pictures; 0 = none
    std::vector<std::string> lines;
};

// One node of the official-bodies tree, in file order: level 1 province, 2 heading, 3 office group,
// 4 office; telephones belong to a level-4 node.
struct OfficialBody {
    int level = 1;
    std::string name;
    std::string value;
    std::vector<std::pair<std::string, std::string>> phones; // (description, number)
};

// Where the entries of a model were read, so that what the builder refuses later still names the
// source file and line. Each vector runs parallel to its table; empty for a generated model.
struct SourceOrigin {
    std::vector<int32_t> listings; // line in abonados.tsv
    std::vector<int32_t> provinces, guides, localities, rubros, countries, cities, usefulNumbers;
    std::vector<int32_t> ads;                    // line in avisos.tsv
    std::vector<int32_t> officialBodies;         // line in organismos.tsv of each node
    std::map<int32_t, std::string> pictureFiles; // picture id -> file name under imagenes/ (UTF-8)
};

struct SourceModel {
    ListingTable listings;
    CatalogWriter::Tables catalogs;
    std::vector<SourceAd> ads;                        // ad n is ads[n - 1]
    std::map<int32_t, std::vector<uint8_t>> pictures; // picture id -> PNG or JPEG bytes
    std::vector<OfficialBody> officialBodies;
    // banners/<folder>/<n>.gif: folder 0 is the general set, folder k the province at position k of
    // the province list; n counts from 1.
    std::map<int, std::vector<std::vector<uint8_t>>> banners;
    std::string productsHtml; // info/Productos.html, UTF-8 as a web page
    SourceOrigin origin;
};
