#include "builder/CatalogWriter.h"

#include "builder/OutputFile.h"
#include "search/CatalogLimits.h"

#include <set>
#include <string_view>

namespace {

void setError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

// Collects the lines and the first error; every check names the entry it refuses.
class Lines {
public:
    Lines(std::string* error, CatalogWriter::Refused* refused) : m_error(error), m_refused(refused) {}

    [[nodiscard]] bool ok() const { return m_ok; }

    // The entry the next checks are about.
    void entry(CatalogWriter::Table table, size_t index) { m_entry = {table, index}; }

    bool fail(const std::string& what, const std::string& why)
    {
        if (m_ok) {
            setError(m_error, what + ": " + why);
            if (m_refused)
                *m_refused = m_entry;
        }
        m_ok = false;
        return false;
    }

    // A field text: no field separator (',' too in U lines), no line end, no byte 0 and no
    // Ctrl-Z, which ends a text-mode read on the platform the data set is made for.
    bool text(const std::string& what, const char* field, std::string_view value, bool commaEndsField = false)
    {
        for (const char c : value) {
            if (c == ';' || (commaEndsField && c == ',')) {
                return fail(what, std::string(field) + " holds the field separator '" + c + "'");
            }
            if (c == '\n' || c == '\r' || c == '\0' || c == '\x1a')
                return fail(what, std::string(field) + " holds a line end or control character");
        }
        return true;
    }

    bool name(const std::string& what, std::string_view value)
    {
        if (value.empty())
            return fail(what, "the name is empty (it would read back as no entry)");
        return text(what, "the name", value);
    }

    // An entry's own id: 1 to slots - 1, once per table.
    bool id(const std::string& what, int32_t value, int32_t slots, std::set<int32_t>& seen)
    {
        if (!catalog::isSlotId(value, slots))
            return fail(what, "the id is outside 1.." + std::to_string(slots - 1));
        if (!seen.insert(value).second)
            return fail(what, "the id is listed twice");
        return true;
    }

    // A reference to another table's entry: 0 (none) or a slot of that table.
    bool reference(const std::string& what, const char* field, int32_t value, int32_t slots, bool zeroAllowed)
    {
        if ((zeroAllowed && value == 0) || catalog::isSlotId(value, slots))
            return true;
        return fail(what, std::string(field) + " " + std::to_string(value) + " is outside " +
                              (zeroAllowed ? "0.." : "1..") + std::to_string(slots - 1));
    }

    void add(const std::string& what, const std::string& line)
    {
        if (!m_ok)
            return;
        if (line.size() > catalog::kMaxLineLength) {
            fail(what, "its line is " + std::to_string(line.size()) + " characters long; the limit is " +
                           std::to_string(catalog::kMaxLineLength));
            return;
        }
        m_bytes.insert(m_bytes.end(), line.begin(), line.end());
        m_bytes.push_back('\r');
        m_bytes.push_back('\n');
    }

    std::vector<uint8_t> take() { return std::move(m_bytes); }

private:
    std::string* m_error;
    CatalogWriter::Refused* m_refused;
    CatalogWriter::Refused m_entry;
    bool m_ok = true;
    std::vector<uint8_t> m_bytes;
};

std::string label(const char* table, int32_t id)
{
    return std::string(table) + " " + std::to_string(id);
}

std::string joinIds(const std::vector<int32_t>& ids)
{
    std::string text;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i > 0)
            text += ',';
        text += std::to_string(ids[i]);
    }
    return text;
}

void writeProvinces(const std::vector<CatalogWriter::Province>& provinces, Lines& lines)
{
    std::set<int32_t> seen;
    for (const auto& p : provinces) {
        lines.entry(CatalogWriter::Table::Provinces, static_cast<size_t>(&p - provinces.data()));
        const std::string what = label("province", p.id);
        if (lines.id(what, p.id, catalog::kProvinceSlots, seen) && lines.name(what, p.name))
            lines.add(what, "P;" + std::to_string(p.id) + ";" + p.name);
    }
}

void writeGuides(const std::vector<CatalogWriter::Guide>& guides, Lines& lines)
{
    std::set<int32_t> seen;
    for (const auto& g : guides) {
        lines.entry(CatalogWriter::Table::Guides, static_cast<size_t>(&g - guides.data()));
        const std::string what = label("guide", g.id);
        if (lines.id(what, g.id, catalog::kGuideSlots, seen) && lines.name(what, g.name))
            lines.add(what, "G;" + std::to_string(g.id) + ";" + g.name);
    }
}

void writeLocalities(const std::vector<CatalogWriter::Locality>& localities, Lines& lines)
{
    std::set<int32_t> seen;
    for (const auto& l : localities) {
        lines.entry(CatalogWriter::Table::Localities, static_cast<size_t>(&l - localities.data()));
        const std::string what = label("locality", l.id);
        if (!lines.id(what, l.id, catalog::kLocalitySlots, seen) || !lines.name(what, l.name) ||
            !lines.reference(what, "province", l.province, catalog::kProvinceSlots, true))
            return;
        const std::string head = "L;" + std::to_string(l.id) + ";" + l.name + ";" + std::to_string(l.province) + ";";
        const std::string tail = ";" + std::to_string(l.areaCode);
        if (l.guides.empty())
            lines.add(what, head + "0" + tail);
        for (const int32_t g : l.guides) {
            if (!lines.reference(what, "guide", g, catalog::kGuideSlots, false))
                return;
            lines.add(what, head + std::to_string(g) + tail);
        }
    }
}

void writeRubros(const std::vector<CatalogWriter::Rubro>& rubros, Lines& lines)
{
    std::set<int32_t> seen;
    for (const auto& r : rubros) {
        lines.entry(CatalogWriter::Table::Rubros, static_cast<size_t>(&r - rubros.data()));
        const std::string what = label("rubro", r.id);
        if (!lines.id(what, r.id, catalog::kRubroSlots, seen) || !lines.name(what, r.name) ||
            !lines.text(what, "the kind", std::string_view(&r.kind, r.kind != 0 ? 1 : 0)) ||
            !lines.reference(what, "redirect", r.redirect, catalog::kRubroSlots, true))
            return;
        if (r.redirect == r.id) {
            lines.fail(what, "it redirects to itself");
            return;
        }
        if (r.seeAlso.size() > CatalogWriter::kMaxSeeAlso) {
            lines.fail(what, std::to_string(r.seeAlso.size()) + " see-also rubros; the line shows " +
                                 std::to_string(CatalogWriter::kMaxSeeAlso));
            return;
        }
        for (const int32_t s : r.seeAlso) {
            if (!lines.reference(what, "see-also rubro", s, catalog::kRubroSlots, false))
                return;
        }
        std::string line = "R;" + std::to_string(r.id) + ";" + r.name + ";";
        if (r.kind != 0)
            line += r.kind;
        line += ";" + joinIds(r.seeAlso) + ";";
        if (r.redirect != 0)
            line += std::to_string(r.redirect);
        lines.add(what, line);
    }
}

void writeCountries(const std::vector<CatalogWriter::Country>& countries, Lines& lines)
{
    std::set<int32_t> seen;
    for (const auto& c : countries) {
        lines.entry(CatalogWriter::Table::Countries, static_cast<size_t>(&c - countries.data()));
        const std::string what = label("country", c.id);
        if (lines.id(what, c.id, catalog::kCountrySlots, seen) && lines.name(what, c.name) &&
            lines.text(what, "the winter text", c.winter) && lines.text(what, "the summer text", c.summer) &&
            lines.text(what, "the notes", c.notes)) {
            lines.add(what, "S;" + std::to_string(c.id) + ";" + std::to_string(c.dialCode) + ";" + c.name + ";" +
                                c.winter + ";" + c.summer + ";" + c.notes);
        }
    }
}

void writeCities(const std::vector<CatalogWriter::City>& cities, Lines& lines)
{
    if (cities.size() > static_cast<size_t>(catalog::kCityCapacity)) {
        lines.entry(CatalogWriter::Table::Cities, static_cast<size_t>(catalog::kCityCapacity));
        lines.fail("cities",
                   std::to_string(cities.size()) + " are more than " + std::to_string(catalog::kCityCapacity));
        return;
    }
    for (size_t i = 0; i < cities.size(); ++i) {
        lines.entry(CatalogWriter::Table::Cities, i);
        const auto& c = cities[i];
        const std::string what = "city " + std::to_string(i + 1) + " (" + c.name + ")";
        if (lines.reference(what, "country", c.country, catalog::kCountrySlots, false) &&
            lines.text(what, "the code", c.code) && lines.text(what, "the name", c.name))
            lines.add(what, "C;" + std::to_string(c.country) + ";" + c.code + ";" + c.name);
    }
}

void writeUsefulNumbers(const std::vector<CatalogWriter::UsefulNumber>& numbers, Lines& lines)
{
    std::set<int32_t> seen;
    std::vector<std::set<int32_t>> listed(static_cast<size_t>(catalog::kGuideSlots));
    for (const auto& n : numbers) {
        lines.entry(CatalogWriter::Table::UsefulNumbers, static_cast<size_t>(&n - numbers.data()));
        const std::string what = label("useful number", n.id);
        if (!lines.id(what, n.id, catalog::kUsefulNumberSlots, seen) ||
            !lines.text(what, "the entity", n.entity, true) || !lines.text(what, "the number", n.number, true))
            return;
        for (const int32_t g : n.guides) {
            if (!lines.reference(what, "guide", g, catalog::kGuideSlots, false))
                return;
            auto& ids = listed[static_cast<size_t>(g)];
            ids.insert(n.id);
            if (ids.size() > static_cast<size_t>(catalog::kGuideUsefulNumbers)) {
                lines.fail(what, "guide " + std::to_string(g) + " would list more than " +
                                     std::to_string(catalog::kGuideUsefulNumbers) + " useful numbers");
                return;
            }
        }
        std::string line = "U;" + std::to_string(n.id) + ";" + n.entity + ";" + n.number;
        if (!n.guides.empty())
            line += ";" + joinIds(n.guides);
        lines.add(what, line);
    }
}

} // namespace

bool CatalogWriter::build(const Tables& tables, std::vector<uint8_t>& out, std::string* error, Refused* refused)
{
    out.clear();
    Lines lines(error, refused);
    writeProvinces(tables.provinces, lines);
    writeGuides(tables.guides, lines);
    writeLocalities(tables.localities, lines);
    writeRubros(tables.rubros, lines);
    writeCountries(tables.countries, lines);
    writeCities(tables.cities, lines);
    writeUsefulNumbers(tables.usefulNumbers, lines);
    if (!lines.ok())
        return false;
    out = lines.take();
    return true;
}

bool CatalogWriter::save(const Tables& tables, const std::string& path, std::string* error, Refused* refused)
{
    std::vector<uint8_t> bytes;
    if (!build(tables, bytes, error, refused))
        return false;
    if (!writeFile(path, bytes)) {
        setError(error, "cannot write " + path);
        return false;
    }
    return true;
}
