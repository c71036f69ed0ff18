#include "builder/SourceReader.h"

#include "builder/CodedLinesWriter.h"
#include "builder/PictureFileWriter.h"
#include "engine/Cp1252.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct ReadError {
    std::string text;
};

// One tab-separated file with a header line naming its columns.
class Table {
public:
    Table(const fs::path& path, bool required) : m_name(path.filename().string())
    {
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (!fs::exists(status)) {
            if (required)
                throw ReadError{m_name + ": missing"};
            return;
        }
        // A folder opens as an empty stream here and would read as a table without rows.
        if (!fs::is_regular_file(status))
            throw ReadError{m_name + ": not a file"};
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw ReadError{m_name + ": cannot be read"};
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
                line.erase(0, 3);
            if (line.empty() || line[0] == '#')
                continue;
            std::vector<std::string> cells;
            size_t start = 0;
            for (;;) {
                const size_t tab = line.find('\t', start);
                cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
                if (tab == std::string::npos)
                    break;
                start = tab + 1;
            }
            if (m_columns.empty()) {
                for (size_t i = 0; i < cells.size(); ++i)
                    m_columns[cells[i]] = i;
                m_width = cells.size();
                continue;
            }
            // A missing or extra tab shifts every later column into the wrong field.
            if (cells.size() != m_width)
                throw ReadError{m_name + ":" + std::to_string(number) + ": " + std::to_string(cells.size()) +
                                " columns where the header names " + std::to_string(m_width)};
            m_rows.push_back({number, std::move(cells)});
        }
    }

    struct Row {
        int line;
        std::vector<std::string> cells;
    };
    [[nodiscard]] const std::vector<Row>& rows() const { return m_rows; }
    [[nodiscard]] const std::string& name() const { return m_name; }

    [[nodiscard]] std::string where(const Row& r) const { return m_name + ":" + std::to_string(r.line) + ": "; }

    // The cell of a column as Windows-1252 text.
    [[nodiscard]] std::string text(const Row& r, const char* column, bool required = true) const
    {
        const auto it = m_columns.find(column);
        if (it == m_columns.end()) {
            if (required)
                throw ReadError{m_name + ": no column \"" + column + "\""};
            return {};
        }
        const std::string utf8 = it->second < r.cells.size() ? r.cells[it->second] : std::string();
        std::string out;
        size_t bad = 0;
        if (!cp1252::fromUtf8(utf8, out, &bad))
            throw ReadError{where(r) + "column \"" + column + "\": a character Windows-1252 cannot hold at byte " +
                            std::to_string(bad + 1)};
        return out;
    }

    [[nodiscard]] int32_t number(const Row& r, const char* column, bool required = true) const
    {
        const std::string t = text(r, column, required);
        if (t.empty())
            return 0;
        int32_t v = 0;
        const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec != std::errc() || p != t.data() + t.size())
            throw ReadError{where(r) + "column \"" + column + "\": \"" + cp1252::toUtf8(t) + "\" is not a number"};
        return v;
    }

    [[nodiscard]] std::vector<int32_t> numbers(const Row& r, const char* column) const
    {
        std::vector<int32_t> out;
        std::stringstream in(text(r, column, false));
        std::string item;
        while (std::getline(in, item, ',')) {
            if (item.empty())
                continue;
            int32_t v = 0;
            const auto [p, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
            if (ec != std::errc() || p != item.data() + item.size())
                throw ReadError{where(r) + "column \"" + column + "\": \"" + item + "\" is not a number"};
            out.push_back(v);
        }
        return out;
    }

private:
    std::string m_name;
    std::map<std::string, size_t> m_columns;
    size_t m_width = 0;
    std::vector<Row> m_rows;
};

void check(bool ok, const Table& t, const Table::Row& r, const std::string& why)
{
    if (!ok)
        throw ReadError{t.where(r) + why};
}

std::vector<std::string> splitBar(const std::string& s)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t bar = s.find('|', start);
        out.push_back(s.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return out;
        start = bar + 1;
    }
}

bool readBytes(const fs::path& p, std::vector<uint8_t>& out)
{
    std::error_code ec;
    if (!fs::is_regular_file(p, ec))
        return false;
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

} // namespace

bool SourceReader::read(const std::string& folder, SourceModel& m, std::string* error)
{
    try {
        const fs::path dir(folder);
        if (!fs::is_directory(dir))
            throw ReadError{folder + ": not a folder"};
        auto& c = m.catalogs;
        std::set<int32_t> provinces, guides, localities, rubros, countries;
        std::map<int32_t, char> rubroKind;

        const Table prov(dir / "provincias.tsv", true);
        for (const auto& r : prov.rows()) {
            c.provinces.push_back({prov.number(r, "id"), prov.text(r, "nombre")});
            m.origin.provinces.push_back(r.line);
            check(provinces.insert(c.provinces.back().id).second, prov, r, "province id given twice");
        }
        const Table guia(dir / "guias.tsv", true);
        for (const auto& r : guia.rows()) {
            c.guides.push_back({guia.number(r, "id"), guia.text(r, "nombre")});
            m.origin.guides.push_back(r.line);
            check(guides.insert(c.guides.back().id).second, guia, r, "guide id given twice");
        }
        const Table loc(dir / "localidades.tsv", true);
        for (const auto& r : loc.rows()) {
            CatalogWriter::Locality l;
            l.id = loc.number(r, "id");
            l.name = loc.text(r, "nombre");
            l.province = loc.number(r, "provincia");
            l.guides = loc.numbers(r, "guias");
            l.areaCode = loc.number(r, "caracteristica", false);
            check(provinces.count(l.province) != 0, loc, r, "unknown province " + std::to_string(l.province));
            for (int32_t g : l.guides)
                check(guides.count(g) != 0, loc, r, "unknown guide " + std::to_string(g));
            check(localities.insert(l.id).second, loc, r, "locality id given twice");
            c.localities.push_back(std::move(l));
            m.origin.localities.push_back(r.line);
        }
        const Table rub(dir / "rubros.tsv", true);
        for (const auto& r : rub.rows()) {
            CatalogWriter::Rubro x;
            x.id = rub.number(r, "id");
            x.name = rub.text(r, "nombre");
            const std::string kind = rub.text(r, "guia");
            check(kind == "C" || kind == "P", rub, r, "guide must be C or P");
            x.kind = kind[0];
            x.seeAlso = rub.numbers(r, "ver_tambien");
            check(x.seeAlso.size() <= CatalogWriter::kMaxSeeAlso, rub, r,
                  std::to_string(x.seeAlso.size()) + " see-also rubros where the line shows at most " +
                      std::to_string(CatalogWriter::kMaxSeeAlso));
            x.redirect = rub.number(r, "redirige", false);
            check(x.redirect != x.id || x.id == 0, rub, r, "the rubro redirects to itself");
            check(rubros.insert(x.id).second, rub, r, "rubro id given twice");
            rubroKind[x.id] = x.kind;
            c.rubros.push_back(std::move(x));
            m.origin.rubros.push_back(r.line);
        }
        for (size_t i = 0; i < c.rubros.size(); ++i) {
            const auto& row = rub.rows()[i];
            for (int32_t s : c.rubros[i].seeAlso)
                check(rubros.count(s) != 0, rub, row, "see-also rubro " + std::to_string(s) + " unknown");
            check(c.rubros[i].redirect == 0 || rubros.count(c.rubros[i].redirect) != 0, rub, row,
                  "redirect to an unknown rubro");
        }
        const Table pais(dir / "paises.tsv", false);
        for (const auto& r : pais.rows()) {
            c.countries.push_back({pais.number(r, "id"), pais.number(r, "codigo"), pais.text(r, "nombre"),
                                   pais.text(r, "invierno", false), pais.text(r, "verano", false),
                                   pais.text(r, "notas", false)});
            check(countries.insert(c.countries.back().id).second, pais, r, "country id given twice");
            m.origin.countries.push_back(r.line);
        }
        const Table ciu(dir / "ciudades.tsv", false);
        for (const auto& r : ciu.rows()) {
            c.cities.push_back({ciu.number(r, "pais"), ciu.text(r, "codigo"), ciu.text(r, "nombre")});
            check(countries.count(c.cities.back().country) != 0, ciu, r, "unknown country");
            m.origin.cities.push_back(r.line);
        }
        const Table uti(dir / "utiles.tsv", false);
        for (const auto& r : uti.rows()) {
            c.usefulNumbers.push_back(
                {uti.number(r, "id"), uti.text(r, "entidad"), uti.text(r, "numero"), uti.numbers(r, "guias")});
            for (int32_t g : c.usefulNumbers.back().guides)
                check(guides.count(g) != 0, uti, r, "unknown guide " + std::to_string(g));
            m.origin.usefulNumbers.push_back(r.line);
        }

        // Pictures are loaded as the ads name them; numbered in order of first use.
        std::map<std::string, int32_t> pictureIds;
        std::map<int32_t, size_t> adIndex; // the source's ad number -> position
        const Table avi(dir / "avisos.tsv", false);
        for (const auto& r : avi.rows()) {
            SourceAd a;
            const int32_t number = avi.number(r, "numero");
            check(number > 0 && adIndex.emplace(number, m.ads.size()).second, avi, r,
                  "ad number must be positive and given once");
            const int32_t kind = avi.number(r, "tipo");
            check(kind >= -128 && kind <= 127, avi, r, "ad kind outside -128..127");
            a.kind = static_cast<int8_t>(kind);
            a.reference = avi.number(r, "referencia", false);
            a.lines = splitBar(avi.text(r, "lineas", false));
            const std::string file = avi.text(r, "imagen", false);
            if (!file.empty()) {
                auto [it, added] = pictureIds.emplace(file, static_cast<int32_t>(pictureIds.size() + 1));
                if (added) {
                    std::vector<uint8_t> bytes;
                    check(readBytes(dir / "imagenes" / cp1252::toUtf8(file), bytes), avi, r,
                          "missing picture imagenes/" + cp1252::toUtf8(file));
                    if (!picturefile::isPngOrJpeg(bytes)) {
                        std::vector<uint8_t> png;
                        check(m_convert && m_convert(bytes, png), avi, r,
                              "picture imagenes/" + cp1252::toUtf8(file) + " is not a readable PNG, JPEG or GIF");
                        bytes.swap(png);
                    }
                    m.pictures[it->second] = std::move(bytes);
                    m.origin.pictureFiles[it->second] = "imagenes/" + cp1252::toUtf8(file);
                }
                a.pictureId = it->second;
            }
            m.ads.push_back(std::move(a));
            m.origin.ads.push_back(r.line);
        }

        const Table org(dir / "organismos.tsv", false);
        const std::string valueTooLong =
            "\"valor\" longer than the " + std::to_string(CodedLinesWriter::kValueWidth) + " characters the file holds";
        for (const auto& r : org.rows()) {
            const std::string level = org.text(r, "nivel");
            if (level == "T") {
                check(!m.officialBodies.empty() && m.officialBodies.back().level == 4, org, r,
                      "a telephone line needs an office (level 4) before it");
                m.officialBodies.back().phones.emplace_back(org.text(r, "nombre"), org.text(r, "valor", false));
                check(m.officialBodies.back().phones.back().second.size() <= CodedLinesWriter::kValueWidth, org, r,
                      valueTooLong);
                continue;
            }
            check(level.size() == 1 && level[0] >= '1' && level[0] <= '4', org, r, "level must be 1 to 4 or T");
            const int lv = level[0] - '0';
            check(lv == 1 || (!m.officialBodies.empty() && lv <= m.officialBodies.back().level + 1), org, r,
                  "level " + level + " needs a level " + std::to_string(lv - 1) + " before it");
            m.officialBodies.push_back({lv, org.text(r, "nombre"), org.text(r, "valor", false), {}});
            check(m.officialBodies.back().value.size() <= CodedLinesWriter::kValueWidth, org, r, valueTooLong);
            m.origin.officialBodies.push_back(r.line);
        }

        const Table abo(dir / "abonados.tsv", true);
        size_t lineCount = 0;
        for (const auto& r : abo.rows()) {
            check(++lineCount <= 11'999'999, abo, r, "more than 11,999,999 listings: beyond the record limit");
            Listing l;
            const std::string g = abo.text(r, "guia");
            check(g == "A" || g == "C" || g == "P", abo, r, "guide must be A, C or P");
            l.guide = g == "A" ? GuideKind::Alphabetical : g == "C" ? GuideKind::Commercial : GuideKind::Professional;
            l.guideId = abo.number(r, "guia_regional", false);
            check(l.guideId == 0 || guides.count(l.guideId) != 0, abo, r, "unknown regional guide");
            l.localityId = abo.number(r, "localidad");
            check(localities.count(l.localityId) != 0, abo, r, "unknown locality " + std::to_string(l.localityId));
            l.rubroId = abo.number(r, "rubro", false);
            check(l.rubroId == 0 || rubros.count(l.rubroId) != 0, abo, r, "unknown rubro " + std::to_string(l.rubroId));
            check(l.guide == GuideKind::Alphabetical || l.rubroId != 0, abo, r,
                  "a commercial or professional listing needs a rubro");
            check(l.rubroId == 0 || l.guide == GuideKind::Alphabetical ||
                      rubroKind[l.rubroId] == (l.guide == GuideKind::Commercial ? 'C' : 'P'),
                  abo, r, "the rubro belongs to the other guide");
            l.areaCode = abo.number(r, "caracteristica", false);
            const std::string phone = abo.text(r, "telefono", false);
            check(phone.find_first_not_of("0123456789") == std::string::npos, abo, r, "telephone must be digits");
            check(phone.empty() || l.areaCode > 0, abo, r, "a telephone needs an area code");
            check(l.areaCode >= 0 && l.areaCode <= 65535, abo, r, "area code outside 0..65535");
            if (!phone.empty()) {
                check(phone.size() >= 4 && phone.size() <= 9, abo, r, "telephone of 4 to 9 digits expected");
                l.phoneLine = std::stoi(phone.substr(phone.size() - 4));
                l.phonePrefix = phone.size() > 4 ? std::stoi(phone.substr(0, phone.size() - 4)) : 0;
                check(l.phonePrefix <= 65535, abo, r, "telephone prefix above 65535");
            }
            const int32_t ad = abo.number(r, "aviso", false);
            if (ad != 0) {
                const auto it = adIndex.find(ad);
                check(it != adIndex.end(), abo, r, "unknown ad " + std::to_string(ad));
                l.adNumber = static_cast<int32_t>(it->second + 1);
            }
            const std::string name = abo.text(r, "nombre"), address = abo.text(r, "direccion", false),
                              web = abo.text(r, "web", false), mail = abo.text(r, "mail", false);
            l.name = name;
            l.address = address;
            l.web = web;
            l.mail = mail;
            m.listings.add(l);
            m.origin.listings.push_back(r.line);
        }

        const fs::path banners = dir / "banners";
        if (fs::is_directory(banners)) {
            for (const auto& folder : fs::directory_iterator(banners)) {
                int k = 0;
                const std::string f = folder.path().filename().string();
                const auto [p, ec] = std::from_chars(f.data(), f.data() + f.size(), k);
                if (!folder.is_directory() || ec != std::errc() || p != f.data() + f.size())
                    continue;
                for (int n = 1;; ++n) {
                    std::vector<uint8_t> gif;
                    if (!readBytes(folder.path() / (std::to_string(n) + ".gif"), gif))
                        break;
                    m.banners[k].push_back(std::move(gif));
                }
            }
        }
        std::vector<uint8_t> html;
        std::error_code ec;
        if (fs::exists(dir / "productos.html", ec) && !fs::is_regular_file(dir / "productos.html", ec))
            throw ReadError{"productos.html: not a file"};
        if (readBytes(dir / "productos.html", html))
            m.productsHtml.assign(html.begin(), html.end());
        return true;
    } catch (const ReadError& e) {
        if (error)
            *error = e.text;
        return false;
    }
}
