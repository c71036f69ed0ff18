#include "search/QdLocs.h"

#include "engine/Cp1252.h"
#include "search/CatalogFill.h"

#include <climits>

namespace {

constexpr int64_t kReadChunk = 64 * 1024;

// atoi's reading without its overflow: blanks, a sign, digits; saturates at the 32-bit limits.
int32_t parseNumber(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() &&
           (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\v' || s[i] == '\f' || s[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > int64_t{INT32_MAX} + 1)
            value = int64_t{INT32_MAX} + 1;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        value = INT32_MAX;
    return static_cast<int32_t>(value);
}

// The fields of a line from column 2 on.
class Fields {
public:
    Fields(std::string_view line, bool commaEndsField)
    {
        if (line.size() < 2)
            return;
        std::string_view rest = line.substr(2);
        const char* separators = commaEndsField ? ";," : ";";
        for (;;) {
            const size_t end = rest.find_first_of(separators);
            m_fields.push_back(rest.substr(0, end));
            if (end == std::string_view::npos)
                break;
            rest.remove_prefix(end + 1);
        }
    }
    [[nodiscard]] size_t size() const { return m_fields.size(); }
    [[nodiscard]] std::string_view text(size_t i) const
    {
        return i < m_fields.size() ? m_fields[i] : std::string_view();
    }
    [[nodiscard]] int32_t number(size_t i) const { return parseNumber(text(i)); }

private:
    std::vector<std::string_view> m_fields;
};

template <typename T>
const T& slotOrEmpty(const std::vector<T>& table, int32_t id)
{
    static const T empty{};
    return id >= 0 && static_cast<size_t>(id) < table.size() ? table[static_cast<size_t>(id)] : empty;
}

const std::string& emptyText()
{
    static const std::string empty;
    return empty;
}

// Adds id to a 0-terminated list of ids unless it is there already or the list is full.
template <size_t N>
void addOnce(std::array<int32_t, N>& list, int32_t id)
{
    for (int32_t& slot : list) {
        if (slot == id)
            return;
        if (slot == 0) {
            slot = id;
            return;
        }
    }
}

} // namespace

// Cuts a byte stream into lines for parseLine, holding at most one line of the allowed length.
class QdLocs::Parser {
public:
    explicit Parser(QdLocs& locs) : m_locs(locs) {}

    void feed(std::string_view chunk)
    {
        for (;;) {
            const size_t lf = chunk.find('\n');
            append(chunk.substr(0, lf));
            if (lf == std::string_view::npos)
                return;
            endLine();
            chunk.remove_prefix(lf + 1);
        }
    }

    void finish()
    {
        if (m_overlong || !m_line.empty())
            endLine();
    }

private:
    void append(std::string_view part)
    {
        if (m_overlong)
            return;
        // One more than the limit leaves room for the CR that endLine drops.
        if (m_line.size() + part.size() > catalog::kMaxLineLength + 1) {
            m_overlong = true;
            m_line.clear();
            return;
        }
        m_line.append(part);
    }

    void endLine()
    {
        if (!m_line.empty() && m_line.back() == '\r')
            m_line.pop_back();
        if (!m_overlong && m_line.size() <= catalog::kMaxLineLength) {
            std::string_view line(m_line);
            line = line.substr(0, line.find('\0'));
            m_locs.parseLine(line);
        }
        m_line.clear();
        m_overlong = false;
    }

    QdLocs& m_locs;
    std::string m_line;
    bool m_overlong = false;
};

QdLocs::QdLocs()
{
    clear();
}

void QdLocs::clear()
{
    m_rubros.assign(catalog::kRubroSlots, QdRubro{});
    m_localities.assign(catalog::kLocalitySlots, QdLocalidad{});
    m_provinces.assign(catalog::kProvinceSlots, QdProvincia{});
    m_guides.assign(catalog::kGuideSlots, QdGuia{});
    m_countries.assign(catalog::kCountrySlots, QdPais{});
    m_cities.clear();
    m_usefulNumbers.assign(catalog::kUsefulNumberSlots, QdNumUtil{});
}

bool QdLocs::LoadFile(const std::string& path, const SourceOpener& opener)
{
    clear();
    std::unique_ptr<ByteSource> source = opener ? opener(path) : nullptr;
    if (!source)
        return false;
    Parser parser(*this);
    std::vector<char> buffer(static_cast<size_t>(kReadChunk));
    for (int64_t pos = 0;;) {
        const int64_t got = source->readAt(pos, buffer.data(), kReadChunk);
        if (got < 0 || got > kReadChunk) {
            clear();
            return false;
        }
        if (got == 0)
            break;
        parser.feed(std::string_view(buffer.data(), static_cast<size_t>(got)));
        pos += got;
    }
    parser.finish();
    return true;
}

void QdLocs::loadText(std::string_view text)
{
    clear();
    Parser parser(*this);
    parser.feed(text);
    parser.finish();
}

void QdLocs::parseLine(std::string_view line)
{
    if (line.empty())
        return;
    const char letter = line[0];
    const Fields f(line, letter == 'U');
    const int32_t id = f.number(0);
    switch (letter) {
    case 'P':
        if (catalog::isSlotId(id, catalog::kProvinceSlots))
            m_provinces[static_cast<size_t>(id)] = QdProvincia{id, std::string(f.text(1))};
        break;
    case 'G':
        if (catalog::isSlotId(id, catalog::kGuideSlots)) {
            QdGuia& guide = m_guides[static_cast<size_t>(id)];
            guide.id = id;
            guide.name = f.text(1);
        }
        break;
    case 'L': {
        if (!catalog::isSlotId(id, catalog::kLocalitySlots))
            break;
        QdLocalidad& locality = m_localities[static_cast<size_t>(id)];
        locality.id = id;
        locality.name = f.text(1);
        locality.province = f.number(2);
        locality.guide = f.number(3);
        locality.areaCode = f.number(4);
        if (catalog::isSlotId(locality.guide, catalog::kGuideSlots)) {
            locality.inGuide[static_cast<size_t>(locality.guide)] = 1;
            // Listed by id, so a province whose P line comes later is still listed once.
            if (catalog::isSlotId(locality.province, catalog::kProvinceSlots))
                addOnce(m_guides[static_cast<size_t>(locality.guide)].provinces, locality.province);
        }
        break;
    }
    case 'R':
        if (catalog::isSlotId(id, catalog::kRubroSlots)) {
            const std::string_view kind = f.text(2);
            m_rubros[static_cast<size_t>(id)] = QdRubro{id, std::string(f.text(1)), kind.empty() ? '\0' : kind[0],
                                                        std::string(f.text(3)), std::string(f.text(4))};
        }
        break;
    case 'S':
        if (catalog::isSlotId(id, catalog::kCountrySlots)) {
            m_countries[static_cast<size_t>(id)] = QdPais{id,
                                                          f.number(1),
                                                          std::string(f.text(2)),
                                                          std::string(f.text(3)),
                                                          std::string(f.text(4)),
                                                          std::string(f.text(5))};
        }
        break;
    case 'C':
        if (m_cities.size() < static_cast<size_t>(catalog::kCityCapacity))
            m_cities.push_back(QdCiudad{id, std::string(f.text(1)), std::string(f.text(2))});
        break;
    case 'U':
        if (!catalog::isSlotId(id, catalog::kUsefulNumberSlots))
            break;
        m_usefulNumbers[static_cast<size_t>(id)] = QdNumUtil{id, std::string(f.text(1)), std::string(f.text(2))};
        for (size_t i = 3; i < f.size(); ++i) {
            const int32_t guide = f.number(i);
            if (catalog::isSlotId(guide, catalog::kGuideSlots))
                addOnce(m_guides[static_cast<size_t>(guide)].usefulNumbers, id);
        }
        break;
    default: break;
    }
}

void QdLocs::BindSearchLists(CatalogList& guideList, CatalogList& provinceList, CatalogList& localityList,
                             CatalogList& rubroList)
{
    m_guideList = &guideList;
    m_provinceList = &provinceList;
    m_localityList = &localityList;
    m_rubroList = &rubroList;
    guideList.setEnabled(true);
    provinceList.setEnabled(true);
    localityList.setEnabled(false);
    rubroList.setEnabled(false);
}

void QdLocs::BindCountryList(CatalogList& countryList)
{
    m_countryList = &countryList;
    countryList.setEnabled(true);
}

void QdLocs::FillGuides()
{
    if (m_guideList)
        catalogfill::fillGuides(*this, *m_guideList);
    FillProvinces();
}

void QdLocs::FillProvinces()
{
    if (m_provinceList)
        catalogfill::fillProvinces(*this, *m_provinceList, m_guideList ? m_guideList->selectedId() : 0);
    FillLocalities();
}

void QdLocs::FillLocalities()
{
    if (m_localityList) {
        catalogfill::fillLocalities(*this, *m_localityList, m_provinceList ? m_provinceList->selectedId() : 0,
                                    m_guideList ? m_guideList->selectedId() : 0);
    }
}

void QdLocs::FillRubros(char kind)
{
    if (m_rubroList)
        catalogfill::fillRubros(*this, *m_rubroList, kind);
}

void QdLocs::FillCountries()
{
    if (m_countryList)
        catalogfill::fillCountries(*this, *m_countryList);
}

void QdLocs::FillGuideChooser(CatalogList& list) const
{
    catalogfill::fillGuideChooser(*this, list);
}

void QdLocs::FillProvinceChooser(CatalogList& list) const
{
    catalogfill::fillProvinceChooser(*this, list);
}

std::vector<QdLocs::LocalityRow> QdLocs::ListLocalities(int32_t provinceId) const
{
    std::vector<LocalityRow> rows;
    for (const QdLocalidad& l : m_localities) {
        if (l.present() && (provinceId == 0 || l.province == provinceId))
            rows.push_back(LocalityRow{l.id, l.name, cp1252::upper(l.name), std::to_string(l.areaCode)});
    }
    return rows;
}

std::vector<QdLocs::CityRow> QdLocs::ListCities(int32_t countryId) const
{
    std::vector<CityRow> rows;
    for (const QdCiudad& c : m_cities) {
        if (countryId == 0 || c.country == countryId)
            rows.push_back(CityRow{c.name, c.code});
    }
    return rows;
}

std::vector<QdLocs::UsefulNumberRow> QdLocs::usefulNumberRows(int32_t guideId) const
{
    std::vector<UsefulNumberRow> rows;
    if (guideId == 0)
        return rows;
    for (const int32_t id : GuideUsefulNumbers(guideId)) {
        const QdNumUtil& n = usefulNumber(id);
        if (id != 0 && !n.number.empty())
            rows.push_back(UsefulNumberRow{n.entity, n.number});
    }
    return rows;
}

const std::string& QdLocs::LocalityName(int32_t id) const
{
    return locality(id).name;
}

const std::string& QdLocs::ProvinceName(int32_t id) const
{
    return province(id).name;
}

const std::string& QdLocs::RubroName(int32_t id) const
{
    return rubro(id).name;
}

int32_t QdLocs::LocalityProvince(int32_t id) const
{
    const QdLocalidad& l = locality(id);
    return l.present() ? l.province : 0;
}

std::string QdLocs::CountryDialCode(int32_t id) const
{
    const QdPais& c = country(id);
    return c.present() ? std::to_string(c.dialCode) : std::string();
}

const std::string& QdLocs::CountryNotes(int32_t id) const
{
    return country(id).notes;
}

const std::string& QdLocs::CountryTimeText(int32_t id, char letter) const
{
    if (letter == 'I')
        return country(id).winter;
    if (letter == 'V')
        return country(id).summer;
    return emptyText();
}

const std::string& QdLocs::RubroSeeAlso(int32_t id) const
{
    return rubro(id).seeAlso;
}

const std::string& QdLocs::RubroRedirect(int32_t id) const
{
    return rubro(id).redirect;
}

int32_t QdLocs::redirectTarget(int32_t id) const
{
    const QdRubro& r = rubro(id);
    if (!r.present() || r.redirect.empty())
        return 0;
    const int32_t target = parseNumber(r.redirect);
    return catalog::isSlotId(target, catalog::kRubroSlots) && rubro(target).present() ? target : 0;
}

const std::array<int32_t, catalog::kGuideUsefulNumbers>& QdLocs::GuideUsefulNumbers(int32_t id) const
{
    return guide(id).usefulNumbers;
}

const std::string& QdLocs::UsefulNumberEntity(int32_t id) const
{
    return usefulNumber(id).entity;
}

const std::string& QdLocs::UsefulNumberNumber(int32_t id) const
{
    return usefulNumber(id).number;
}

const QdRubro& QdLocs::rubro(int32_t id) const
{
    return slotOrEmpty(m_rubros, id);
}

const QdLocalidad& QdLocs::locality(int32_t id) const
{
    return slotOrEmpty(m_localities, id);
}

const QdProvincia& QdLocs::province(int32_t id) const
{
    return slotOrEmpty(m_provinces, id);
}

const QdGuia& QdLocs::guide(int32_t id) const
{
    return slotOrEmpty(m_guides, id);
}

const QdPais& QdLocs::country(int32_t id) const
{
    return slotOrEmpty(m_countries, id);
}

const QdNumUtil& QdLocs::usefulNumber(int32_t id) const
{
    return slotOrEmpty(m_usefulNumbers, id);
}
