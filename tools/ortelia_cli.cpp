// ortelia-cli: the command-line companion for publishers and tests. Prints what a data folder
// holds as JSON (UTF-8): counts and files, decoded records and ads, the catalogs and the official
// bodies. Exit status 0 on success, 2 with a message on standard error otherwise.
#include "engine/Cp1252.h"
#include "engine/DataFiles.h"
#include "engine/FiltroBits.h"
#include "tools/CliBodies.h"
#include "tools/CliDataSet.h"
#include "tools/CliSearch.h"
#ifdef ORTELIA_CLI_PRINT
#include "tools/CliPrint.h"
#endif

#include <nlohmann/json.hpp>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <string_view>

using json = nlohmann::ordered_json;

namespace {

struct UsageError {
    std::string text;
};

std::string u(const std::string& cp)
{
    return cp1252::toUtf8(cp);
}

int32_t number(std::string_view s, const char* what)
{
    int32_t v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        throw UsageError{std::string(what) + " must be a number: " + std::string(s)};
    return v;
}

json named(int32_t id, const std::string& name)
{
    json j;
    j["id"] = id;
    j["name"] = u(name);
    return j;
}

json info(CliDataSet& d)
{
    json j;
    j["records"] = d.store->RecordCount();
    json guides = json::array();
    // The ranges as the window uses them (clamped to the records the store can read).
    const FiltroBits& limits = d.set().bits();
    static const char* const names[3] = {"A", "C", "P"};
    for (int g = 0; g < 3; ++g) {
        const auto r = limits.savedRange(g);
        guides.push_back({{"guide", names[g]},
                          {"first", r.first},
                          {"last", r.last},
                          {"count", r.first > 0 && r.last >= r.first ? r.last - r.first + 1 : 0}});
    }
    j["guides"] = guides;
    j["ads"] = d.ads->adCount();
    json files = json::object();
    for (const char* name : datafiles::kAll) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(d.path(name), ec);
        files[name] = ec ? json(nullptr) : json(size);
    }
    j["files"] = files;
    json keys = json::object();
    for (int s = slot::ixTeA; s <= slot::ixRub; ++s)
        if (Indice* ix = d.store->IndexAt(s))
            keys[datafiles::kIndexes[s - slot::ixTeA]] = ix->isTrie() ? json("trie") : json(ix->keyCount(0));
    j["index_keys"] = keys;
    return j;
}

json record(CliDataSet& d, int32_t n)
{
    if (n < 1 || n > d.store->RecordCount())
        throw UsageError{"record " + std::to_string(n) + " outside 1.." + std::to_string(d.store->RecordCount())};
    registro r;
    if (!d.store->ReadRecord(r, n))
        throw UsageError{"record " + std::to_string(n) + " cannot be read"};
    json j;
    j["recno"] = r.recno;
    j["flags"] = r.flags;
    j["name"] = u(r.name);
    j["address"] = u(r.address);
    j["web"] = (r.flags & registro::kHasWeb) ? json(u(r.web)) : json(nullptr);
    j["mail"] = (r.flags & registro::kHasMail) ? json(u(r.mail)) : json(nullptr);
    j["phone"] = r.DisplayPhone();
    j["area_code"] = r.areaCode;
    j["prefix"] = r.phonePrefix;
    j["line"] = r.phoneLine;
    j["locality"] = named(r.localityId, d.catalogs().LocalityName(r.localityId));
    const int32_t province = d.catalogs().LocalityProvince(r.localityId);
    j["province"] = named(province, d.catalogs().ProvinceName(province));
    j["rubro"] = r.rubroId ? named(r.rubroId, d.catalogs().RubroName(r.rubroId)) : json(nullptr);
    j["ad"] = (r.flags & registro::kHasAd) ? json(r.adNumber) : json(nullptr);
    return j;
}

json ad(CliDataSet& d, int32_t n)
{
    if (n < 1 || n > d.ads->adCount())
        throw UsageError{"ad " + std::to_string(n) + " outside 1.." + std::to_string(d.ads->adCount())};
    if (!d.ads->Read(n))
        throw UsageError{"ad " + std::to_string(n) + " cannot be read"};
    json j;
    j["ad"] = n;
    j["kind"] = d.ads->kind();
    j["reference"] = d.ads->reference();
    j["image"] = (d.ads->kind() == 0 || d.ads->kind() == 5) ? json(d.ads->imageNumber()) : json(nullptr);
    json lines = json::array();
    for (const auto& l : d.ads->lines())
        lines.push_back(u(l));
    j["lines"] = lines;
    return j;
}

json catalogOf(CliDataSet& d, std::string_view which)
{
    const QdLocs& c = d.catalogs();
    json out = json::array();
    if (which == "provinces") {
        for (int32_t id = 1; id < catalog::kProvinceSlots; ++id)
            if (!c.province(id).name.empty())
                out.push_back(named(id, c.province(id).name));
    } else if (which == "localities") {
        for (int32_t id = 1; id < catalog::kLocalitySlots; ++id) {
            const QdLocalidad& l = c.locality(id);
            if (!l.present())
                continue;
            json j = named(id, l.name);
            j["province"] = l.province;
            j["area_code"] = l.areaCode;
            json guides = json::array();
            for (int32_t g = 1; g < catalog::kGuideSlots; ++g)
                if (l.belongsTo(g))
                    guides.push_back(g);
            j["guides"] = guides;
            out.push_back(j);
        }
    } else if (which == "guides") {
        for (int32_t id = 1; id < catalog::kGuideSlots; ++id) {
            const QdGuia& g = c.guide(id);
            if (!g.present())
                continue;
            json j = named(id, g.name);
            json provinces = json::array(), useful = json::array();
            for (int32_t p : g.provinces)
                if (p)
                    provinces.push_back(p);
            for (int32_t n : g.usefulNumbers)
                if (n)
                    useful.push_back(n);
            j["provinces"] = provinces;
            j["useful_numbers"] = useful;
            out.push_back(j);
        }
    } else if (which == "rubros") {
        for (int32_t id = 1; id < catalog::kRubroSlots; ++id) {
            const QdRubro& r = c.rubro(id);
            if (!r.present())
                continue;
            json j = named(id, r.name);
            j["kind"] = r.kind ? std::string(1, r.kind) : std::string();
            j["see_also"] = u(r.seeAlso);
            j["redirect"] = c.redirectTarget(id);
            out.push_back(j);
        }
    } else if (which == "countries") {
        for (int32_t id = 1; id < catalog::kCountrySlots; ++id) {
            const QdPais& p = c.country(id);
            if (!p.present())
                continue;
            json j = named(id, p.name);
            j["dial_code"] = p.dialCode;
            j["winter"] = u(p.winter);
            j["summer"] = u(p.summer);
            j["notes"] = u(p.notes);
            out.push_back(j);
        }
    } else if (which == "cities") {
        for (const QdCiudad& city : c.cities())
            out.push_back({{"country", city.country}, {"code", u(city.code)}, {"name", u(city.name)}});
    } else if (which == "useful") {
        for (int32_t id = 1; id < catalog::kUsefulNumberSlots; ++id) {
            const QdNumUtil& n = c.usefulNumber(id);
            if (n.entity.empty() && n.number.empty())
                continue;
            out.push_back({{"id", id}, {"entity", u(n.entity)}, {"number", u(n.number)}});
        }
    } else {
        throw UsageError{"unknown catalog: " + std::string(which) +
                         " (provinces, localities, guides, rubros, countries, cities, useful)"};
    }
    return out;
}

const std::string kUsage = std::string("usage: ortelia-cli DATA info\n"
                                       "       ortelia-cli DATA record N\n"
                                       "       ortelia-cli DATA ad N\n"
                                       "       ortelia-cli DATA catalog "
                                       "provinces|localities|guides|rubros|countries|cities|useful\n") +
                           kBodiesUsage + kSearchUsage
#ifdef ORTELIA_CLI_PRINT
                           + kPrintUsage
#endif
    ;

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc < 3)
            throw UsageError{kUsage};
        CliDataSet data;
        if (!data.open(argv[1]))
            throw UsageError{std::string("no data folder at ") + argv[1]};
        const std::string_view command = argv[2];
        json out;
        auto needs = [&](int n) {
            if (argc != 3 + n)
                throw UsageError{kUsage};
        };
        if (command == "info") {
            needs(0);
            out = info(data);
        } else if (command == "record") {
            needs(1);
            out = record(data, number(argv[3], "the record number"));
#ifdef ORTELIA_CLI_PRINT
        } else if (command == "ad" && argc > 4) {
            return cliAdOutput(data, std::vector<std::string>(argv + 3, argv + argc), std::cout, std::cerr);
        } else if (command == "print") {
            return cliPrint(data, std::vector<std::string>(argv + 3, argv + argc), std::cout, std::cerr);
#endif
        } else if (command == "ad") {
            needs(1);
            out = ad(data, number(argv[3], "the ad number"));
        } else if (command == "catalog") {
            needs(1);
            out = catalogOf(data, argv[3]);
        } else if (command == "search") {
            return cliSearch(data, std::vector<std::string>(argv + 3, argv + argc), std::cout, std::cerr);
        } else if (command == "bodies" || command == "dialling" || command == "useful") {
            const std::vector<std::string> args(argv + 3, argv + argc);
            if (command == "bodies")
                return cliBodies(data, args, std::cout, std::cerr);
            return command == "dialling" ? cliDialling(data, args, std::cout, std::cerr)
                                         : cliUseful(data, args, std::cout, std::cerr);
        } else {
            throw UsageError{kUsage};
        }
        std::cout << out.dump(2) << '\n';
        return 0;
    } catch (const UsageError& e) {
        std::cerr << "ortelia-cli: " << e.text << (e.text.back() == '\n' ? "" : "\n");
        return 2;
    }
}
