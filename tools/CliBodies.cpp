#include "tools/CliBodies.h"

#include "engine/Cp1252.h"
#include "engine/DataFiles.h"
#include "search/OfficialBodies.h"
#include "search/TelephoneInfo.h"

#include <nlohmann/json.hpp>

#include <charconv>

using json = nlohmann::ordered_json;

const char* const kBodiesUsage = "       ortelia-cli DATA bodies --tree | --search KEYWORD | --detail PATH\n"
                                 "       ortelia-cli DATA dialling --province ID | --country ID\n"
                                 "       ortelia-cli DATA useful --guide ID\n";

namespace {

std::string u(const std::string& cp)
{
    return cp1252::toUtf8(cp);
}

int fail(std::ostream& err, const std::string& why)
{
    err << "ortelia-cli: " << why << '\n';
    return 2;
}

bool parseId(const std::string& text, int32_t& id)
{
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
    return ec == std::errc() && p == text.data() + text.size() && id >= 0;
}

json nodeJson(const OfficialBodies& t, int32_t index)
{
    const OfficialBodies::Node& n = t.node(index);
    json pairs = json::array();
    for (size_t i = 1; i + 1 < n.items.size(); i += 2)
        pairs.push_back({{"description", u(n.items[i])}, {"value", u(n.items[i + 1])}});
    json children = json::array();
    for (const int32_t c : n.children)
        children.push_back(nodeJson(t, c));
    return {{"caption", u(n.caption)}, {"value", u(n.items.front())}, {"pairs", pairs}, {"children", children}};
}

} // namespace

int cliBodies(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const bool tree = args.size() == 1 && args[0] == "--tree";
    const bool search = args.size() == 2 && args[0] == "--search";
    const bool detail = args.size() == 2 && args[0] == "--detail";
    if (!tree && !search && !detail)
        return fail(err, std::string("usage:\n") + kBodiesUsage);
    OfficialBodies bodies;
    if (!bodies.LoadData(data.path(datafiles::kBodies), data.path(datafiles::kBodiesTable)))
        return fail(err,
                    "cannot open " + data.path(datafiles::kBodies) + " with " + data.path(datafiles::kBodiesTable));
    json result = json::array();
    if (tree) {
        for (const int32_t r : bodies.roots())
            result.push_back(nodeJson(bodies, r));
    } else if (search) {
        std::string keyword;
        if (!cp1252::fromUtf8(args[1], keyword))
            return fail(err, "the keyword holds a character outside Windows-1252");
        // As the keyword field shows it: upper case.
        keyword = cp1252::upper(keyword);
        if (keyword.empty())
            return fail(err, "Ingrese una palabra clave para realizar una búsqueda rápida.");
        for (const int32_t n : bodies.search(keyword))
            result.push_back({{"path", bodies.pathOf(n)}, {"caption", u(bodies.node(n).caption)}});
    } else {
        const int32_t n = bodies.nodeAtPath(args[1]);
        if (n < 0)
            return fail(err, "no node at " + args[1]);
        for (const OfficialBodies::DetailRow& row : bodies.detailRows(n))
            result.push_back({{"description", u(row.description)}, {"value", u(row.value)}});
    }
    out << result.dump(2) << '\n';
    return 0;
}

int cliDialling(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int32_t id = 0;
    if (args.size() != 2 || (args[0] != "--province" && args[0] != "--country") || !parseId(args[1], id))
        return fail(err, std::string("usage:\n") + kBodiesUsage);
    json result;
    if (args[0] == "--province") {
        result = json::array();
        for (const QdLocs::LocalityRow& r : telinfo::localityRows(data.catalogs(), id))
            result.push_back({{"id", r.id}, {"name", u(r.name)}, {"locality", u(r.upperName)}, {"code", r.areaCode}});
    } else {
        const telinfo::CountryPage page = telinfo::countryPage(data.catalogs(), id);
        json notes = json::array();
        for (const std::string& line : page.notes)
            notes.push_back(u(line));
        json cities = json::array();
        for (const QdLocs::CityRow& c : page.cities)
            cities.push_back({{"name", u(c.name)}, {"code", u(c.code)}});
        result = {{"code", page.dialCode}, {"winter", u(page.winter)}, {"summer", u(page.summer)},
                  {"notes", notes},        {"cities", cities},         {"code_column_width", page.codeColumnWidth}};
    }
    out << result.dump(2) << '\n';
    return 0;
}

int cliUseful(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int32_t id = 0;
    if (args.size() != 2 || args[0] != "--guide" || !parseId(args[1], id))
        return fail(err, std::string("usage:\n") + kBodiesUsage);
    json result = json::array();
    for (const QdLocs::UsefulNumberRow& r : telinfo::usefulNumbers(data.catalogs(), id))
        result.push_back({{"entity", u(r.entity)}, {"number", u(r.number)}});
    out << result.dump(2) << '\n';
    return 0;
}
