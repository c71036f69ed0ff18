// SampleCatalog: the catalogs of a sample data set built from the seeds: provinces (ids in the
// alphabetical order the province lists show, so banner folder k belongs to province id k), eight
// regional guides, the localities with their area codes and guides, the rubros of both guides (a
// rubro of both guides becomes one entry per guide), the countries with their time and dialling
// notes, their cities, and the useful numbers. Also keeps what the listing generator needs per
// locality and rubro. One owner, one thread.
#pragma once

#include "builder/CatalogWriter.h"
#include "builder/SamplePhones.h"
#include "builder/SampleSeeds.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sample {

struct SampleProvince {
    int32_t id = 0;
    std::string name;        // as the catalog shows it: "Córdoba"
    std::string printedName; // "CORDOBA"
    size_t capital = 0;      // index into SampleCatalog::localities
};

struct SampleLocality {
    int32_t id = 0;
    int32_t province = 0;
    int32_t guide = 0; // the guide its listings belong to
    int32_t areaCode = 0;
    int localLength = 0;
    uint32_t weight = 0;
    int space = 0;           // SamplePhones space
    bool city = false;       // a large town: more flats, more businesses with several lines
    std::string name;        // catalog text
    std::string printedName; // "RIO CUARTO"
};

struct SampleRubro {
    int32_t id = 0;
    char kind = 'C';
    std::string name;
    uint32_t weight = 1;
    std::string shopNoun;  // "FERRETERIA" when businesses of the rubro are named after it; empty otherwise
    std::string titles[2]; // professional titles for men and women ("DR.", "DRA."); empty: none
    bool people = false;   // professionals listed under their own names
};

struct SampleGuide {
    int32_t id = 0;
    std::string name;
    size_t mainLocality = 0; // index into SampleCatalog::localities
};

class SampleCatalog {
public:
    // Fills the tables; phones must have been built on seeds.localities. False with a reason when
    // the seeds lack something the catalog needs (a province capital, a rubro's target).
    bool build(const SampleSeeds& seeds, SamplePhones& phones, CatalogWriter::Tables& out, std::string* error);

    std::vector<SampleProvince> provinces;  // provinces[id - 1]
    std::vector<SampleLocality> localities; // localities[id - 1]
    std::vector<SampleRubro> rubros;        // the rubros listings may carry (no redirect entries)
    std::vector<SampleGuide> guides;        // guides[id - 1]
};

} // namespace sample
