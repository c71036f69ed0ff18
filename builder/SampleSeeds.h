// SampleSeeds: the committed seed tables of the sample generator (builder/seeds/*.tsv), loaded
// once and converted from UTF-8 to Windows-1252. Each file must carry exactly the expected header;
// a missing file, a bad row or a text the code page cannot hold fails the load with the file and
// line named. Plain data after loading; one thread loads, any thread may read.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sample {

struct SeedProvince {
    std::string code; // "AR-X"
    std::string name; // "Córdoba"
    std::string abbr; // "Cba."
};

struct SeedLocality {
    std::string name;
    std::string provinceCode;
    int32_t areaCode = 0;
    int localLength = 0; // digits of the local number: 10 minus the digits of the area code
    uint32_t weight = 0;
    std::vector<std::string> prefixes; // leading local digits that belong to this locality; empty: all
};

struct SeedGivenName {
    std::string name;
    char sex = 'f';
    uint32_t weight = 0;
};

struct SeedWeighted {
    std::string text;
    uint32_t weight = 0;
};

struct SeedPattern {
    std::string kind;
    std::string pattern;
    uint32_t weight = 0;
};

struct SeedCountry {
    std::string iso;
    int32_t callingCode = 0;
    std::string name;
    std::vector<std::pair<std::string, std::string>> cities; // (name, code)
};

struct SeedRubro {
    std::string name;
    char guide = 'C'; // 'C', 'P' or 'B' (both)
    std::vector<std::string> seeAlso;
    std::string redirectTo;
};

struct SeedCompanyWord {
    std::string kind; // head, place, fantasy, suffix
    std::string word;
    uint32_t weight = 0;
};

struct SampleSeeds {
    std::vector<SeedProvince> provinces;
    std::vector<SeedLocality> localities;
    std::vector<SeedGivenName> givenNames;
    std::vector<SeedWeighted> surnames;
    std::vector<SeedWeighted> streets;
    std::vector<SeedPattern> addressPatterns;
    std::vector<SeedCountry> countries;
    std::vector<SeedRubro> rubros;
    std::vector<SeedCompanyWord> companyWords;

    // Reads every table from dir. False (the tables are then incomplete) with error naming the
    // file and line on the first problem.
    bool load(const std::string& dir, std::string* error);
};

} // namespace sample
