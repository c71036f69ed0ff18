#include "builder/SampleCatalog.h"

#include "builder/SampleText.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace sample {
namespace {

struct GuideDef {
    const char* name;
    const char* provinceLetters; // last letter of the ISO code of each province it covers
    const char* mainLocality;    // where its own useful numbers are
};

constexpr GuideDef kGuides[] = {
    {"Capital Federal y Gran Buenos Aires", "C", "Buenos Aires"},
    {"Provincia de Buenos Aires", "B", "La Plata"},
    {"Córdoba", "X", "Córdoba"},
    {"Santa Fe", "S", "Rosario"},
    {"Litoral y Noreste", "EWNHP", "Corrientes"},
    {"Noroeste", "AYTGK", "San Miguel de Tucumán"},
    {"Cuyo", "MJDF", "Mendoza"},
    {"Patagonia", "LQRUVZ", "Neuquén"},
};

// Area codes of the Buenos Aires suburbs: listed in the capital's guide and in the province's.
constexpr int32_t kSuburbanAreaCodes[] = {220, 2202, 2224, 2225, 230, 2320, 237, 348};

struct CapitalDef {
    char letter;
    const char* name;
};
constexpr CapitalDef kCapitals[] = {
    {'A', "Salta"},
    {'B', "La Plata"},
    {'C', "Buenos Aires"},
    {'D', "San Luis"},
    {'E', "Paraná"},
    {'F', "La Rioja"},
    {'G', "Santiago del Estero"},
    {'H', "Resistencia"},
    {'J', "San Juan"},
    {'K', "San Fernando del Valle de Catamarca"},
    {'L', "Santa Rosa"},
    {'M', "Mendoza"},
    {'N', "Posadas"},
    {'P', "Formosa"},
    {'Q', "Neuquén"},
    {'R', "Viedma"},
    {'S', "Santa Fe"},
    {'T', "San Miguel de Tucumán"},
    {'U', "Rawson"},
    {'V', "Ushuaia"},
    {'W', "Corrientes"},
    {'X', "Córdoba"},
    {'Y', "San Salvador de Jujuy"},
    {'Z', "Río Gallegos"},
};

// Standard offset from GMT in minutes and the half of the year with daylight saving time
// (0 none, 1 northern summer, 2 southern summer).
struct TimeDef {
    const char* iso;
    int offset;
    int daylight;
};
constexpr TimeDef kTimes[] = {
    {"AD", 60, 1},   {"AE", 240, 0},  {"AL", 60, 1},   {"AO", 60, 0},   {"AR", -180, 0}, {"AT", 60, 1},
    {"AU", 600, 2},  {"BA", 60, 1},   {"BD", 360, 0},  {"BE", 60, 1},   {"BG", 120, 1},  {"BO", -240, 0},
    {"BR", -180, 0}, {"BY", 180, 0},  {"CA", -300, 1}, {"CH", 60, 1},   {"CL", -240, 2}, {"CN", 480, 0},
    {"CO", -300, 0}, {"CR", -360, 0}, {"CU", -300, 1}, {"CY", 120, 1},  {"CZ", 60, 1},   {"DE", 60, 1},
    {"DK", 60, 1},   {"DO", -240, 0}, {"DZ", 60, 0},   {"EC", -300, 0}, {"EE", 120, 1},  {"EG", 120, 0},
    {"ES", 60, 1},   {"FI", 120, 1},  {"FR", 60, 1},   {"GB", 0, 1},    {"GR", 120, 1},  {"GT", -360, 0},
    {"HK", 480, 0},  {"HN", -360, 0}, {"HR", 60, 1},   {"HU", 60, 1},   {"ID", 420, 0},  {"IE", 0, 1},
    {"IL", 120, 1},  {"IN", 330, 0},  {"IQ", 180, 0},  {"IR", 210, 0},  {"IS", 0, 0},    {"IT", 60, 1},
    {"JM", -300, 0}, {"JO", 180, 0},  {"JP", 540, 0},  {"KE", 180, 0},  {"KR", 540, 0},  {"KW", 180, 0},
    {"LB", 120, 1},  {"LK", 330, 0},  {"LT", 120, 1},  {"LU", 60, 1},   {"LV", 120, 1},  {"MA", 60, 0},
    {"MC", 60, 1},   {"ME", 60, 1},   {"MK", 60, 1},   {"MT", 60, 1},   {"MX", -360, 0}, {"MY", 480, 0},
    {"MZ", 120, 0},  {"NG", 60, 0},   {"NI", -360, 0}, {"NL", 60, 1},   {"NO", 60, 1},   {"NP", 345, 0},
    {"NZ", 720, 2},  {"PA", -300, 0}, {"PE", -300, 0}, {"PH", 480, 0},  {"PK", 300, 0},  {"PL", 60, 1},
    {"PR", -240, 0}, {"PT", 0, 1},    {"PY", -240, 2}, {"QA", 180, 0},  {"RO", 120, 1},  {"RS", 60, 1},
    {"RU", 180, 0},  {"SA", 180, 0},  {"SE", 60, 1},   {"SG", 480, 0},  {"SI", 60, 1},   {"SK", 60, 1},
    {"SV", -360, 0}, {"TH", 420, 0},  {"TN", 60, 0},   {"TR", 180, 0},  {"TW", 480, 0},  {"UA", 120, 1},
    {"US", -300, 1}, {"UY", -180, 0}, {"VE", -240, 0}, {"VN", 420, 0},  {"ZA", 120, 0},
};
constexpr int kArgentinaOffset = -180;

struct UsefulDef {
    const char* entity;
    const char* number;
};
constexpr UsefulDef kNationalNumbers[] = {
    {"POLICIA - EMERGENCIAS", "911"},
    {"BOMBEROS", "100"},
    {"EMERGENCIAS MEDICAS", "107"},
    {"DEFENSA CIVIL", "103"},
    {"EMERGENCIAS NAUTICAS - PREFECTURA", "106"},
    {"VIOLENCIA DE GENERO - LINEA 144", "144"},
    {"NIÑAS NIÑOS Y ADOLESCENTES - LINEA 102", "102"},
    {"TRATA DE PERSONAS - LINEA 145", "145"},
    {"ANSES - ATENCION TELEFONICA", "130"},
    {"PAMI - ATENCION AL AFILIADO", "138"},
    {"INFORMACION DE GUIA", "110"},
    {"HORA OFICIAL", "113"},
    {"REPARACIONES DE LINEAS", "114"},
    {"CENTRO NACIONAL DE INTOXICACIONES", "0800-333-0160"},
    {"DEFENSA DEL CONSUMIDOR", "0800-666-1518"},
};

// Titles of professionals, by a word their rubro's name contains.
struct TitleDef {
    const char* word;
    const char* male;
    const char* female;
};
constexpr TitleDef kTitles[] = {
    {"MEDICOS", "DR.", "DRA."},
    {"ODONTOLOGOS", "DR.", "DRA."},
    {"ABOGADOS", "DR.", "DRA."},
    {"BIOQUIMICOS", "DR.", "DRA."},
    {"VETERINARIOS", "DR.", "DRA."},
    {"MEDIADORES", "DR.", "DRA."},
    {"ARQUITECTOS", "ARQ.", "ARQ."},
    {"AGRONOMOS", "ING. AGR.", "ING. AGR."},
    {"INGENIEROS", "ING.", "ING."},
    {"CONTADORES", "CDOR.", "CDORA."},
    {"ESCRIBANOS", "ESC.", "ESC."},
    {"AGRIMENSORES", "AGRIM.", "AGRIM."},
    {"MARTILLEROS", "MART.", "MART."},
    {"PSICOLOGOS", "LIC.", "LIC."},
    {"PSICOPEDAGOGOS", "LIC.", "LIC."},
    {"KINESIOLOGOS", "LIC.", "LIC."},
    {"NUTRICIONISTAS", "LIC.", "LIC."},
    {"FONOAUDIOLOGOS", "LIC.", "LIC."},
    {"OBSTETRAS", "LIC.", "LIC."},
    {"TERAPISTAS", "LIC.", "LIC."},
    {"PODOLOGOS", "PODOL.", "PODOL."},
    {"PROFESORES", "PROF.", "PROF."},
    {"TRADUCTORES", "TRAD.", "TRAD."},
    {"CALIGRAFOS", "CAL.", "CAL."},
    {"DESPACHANTES", "DESP.", "DESP."},
    {"MAESTROS MAYORES", "M.M.O.", "M.M.O."},
    {"PERITOS", "", ""},
    {"PRODUCTORES", "", ""},
    {"ACOMPAÑANTES", "", ""},
};

// First words of commercial rubros whose businesses are commonly named after the trade.
constexpr std::string_view kShopWords[] = {
    "ACADEMIAS",  "AGENCIAS",      "ALMACENES",    "ASERRADEROS",   "AUTOSERVICIOS", "BARES",          "BAZARES",
    "CABAÑAS",    "CASAS",         "CENTROS",      "CEREALERAS",    "CLINICAS",      "CLUBES",         "COLEGIOS",
    "CORRALONES", "DIETETICAS",    "ESCUELAS",     "ESTACIONES",    "ESTUDIOS",      "FARMACIAS",      "FRIGORIFICOS",
    "GIMNASIOS",  "HOTELES",       "IMPRENTAS",    "INSTITUTOS",    "JARDINES",      "KIOSCOS",        "LABORATORIOS",
    "LAVADEROS",  "LOCUTORIOS",    "LUBRICENTROS", "MADERERAS",     "METALURGICAS",  "MUTUALES",       "OPTICAS",
    "ORTOPEDIAS", "PANIFICADORAS", "PARRILLAS",    "RESTAURANTES",  "SANATORIOS",    "SUPERMERCADOS",  "TALLERES",
    "TIENDAS",    "VETERINARIAS",  "VIVEROS",      "INMOBILIARIAS", "GESTORIAS",     "ADMINISTRACION",
};

// Rubros that are more common than the rest in any guide.
constexpr std::string_view kCommonRubros[] = {
    "KIOSCOS",       "ALMACENES",           "MEDICOS CLINICOS", "ABOGADOS",
    "FARMACIAS",     "TALLERES MECANICOS",  "AUTOSERVICIOS",    "PELUQUERIAS",
    "FERRETERIAS",   "CONTADORES PUBLICOS", "ODONTOLOGOS",      "REMISES",
    "INMOBILIARIAS", "RESTAURANTES",        "PANADERIAS",       "PSICOLOGOS",
    "ARQUITECTOS",   "VERDULERIAS",         "CARNICERIAS",      "ESCRIBANOS",
};

uint32_t nameHash(std::string_view text)
{
    uint32_t h = 2166136261u;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

std::string firstWord(const std::string& text)
{
    return text.substr(0, text.find(' '));
}

// "GMT -3", "GMT +5:30", "GMT 0".
std::string gmtText(int minutes)
{
    std::string out = "GMT ";
    if (minutes == 0)
        return out + "0";
    out += minutes < 0 ? '-' : '+';
    const int m = minutes < 0 ? -minutes : minutes;
    appendNumber(out, static_cast<uint64_t>(m / 60));
    if (m % 60 != 0) {
        out += ':';
        appendNumber(out, static_cast<uint64_t>(m % 60), 2);
    }
    return out;
}

// "5 h más", "1 h 30 min menos", "la misma hora".
std::string differenceText(int minutes)
{
    if (minutes == 0)
        return cp("la misma hora");
    const int m = minutes < 0 ? -minutes : minutes;
    std::string out;
    appendNumber(out, static_cast<uint64_t>(m / 60));
    out += " h";
    if (m % 60 != 0) {
        out += " ";
        appendNumber(out, static_cast<uint64_t>(m % 60));
        out += " min";
    }
    out += minutes > 0 ? cp(" más") : " menos";
    return out;
}

void buildCountries(const SampleSeeds& seeds, CatalogWriter::Tables& out)
{
    int32_t id = 0;
    for (const SeedCountry& c : seeds.countries) {
        CatalogWriter::Country country;
        country.id = ++id;
        country.dialCode = c.callingCode;
        country.name = c.name;
        std::string dial = "00 + ";
        appendNumber(dial, static_cast<uint64_t>(c.callingCode));
        country.notes = cp("Desde Argentina marque ") + dial +
                        (c.callingCode == 1 ? cp(" + código de área") : cp(" + código de ciudad")) + cp(" + número.");
        const TimeDef* time = nullptr;
        for (const TimeDef& t : kTimes) {
            if (c.iso == t.iso)
                time = &t;
        }
        if (time) {
            // Argentina has no daylight saving time: its winter is the northern summer.
            const int winter = time->offset + (time->daylight == 1 ? 60 : 0);
            const int summer = time->offset + (time->daylight == 2 ? 60 : 0);
            country.winter = ": " + gmtText(winter);
            country.summer = ": " + gmtText(summer);
            if (c.iso != "AR") {
                country.notes += cp("|Diferencia con la hora argentina: ") + differenceText(winter - kArgentinaOffset) +
                                 cp(" en invierno, ") + differenceText(summer - kArgentinaOffset) + cp(" en verano.");
            }
        }
        if (!c.cities.empty()) {
            country.notes += cp("|Códigos de las ciudades principales en la lista de abajo.");
            for (const auto& [name, code] : c.cities)
                out.cities.push_back({country.id, code, name});
        }
        out.countries.push_back(std::move(country));
    }
}

} // namespace

bool SampleCatalog::build(const SampleSeeds& seeds, SamplePhones& phones, CatalogWriter::Tables& out,
                          std::string* error)
{
    const auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    out = {};
    provinces.clear();
    localities.clear();
    rubros.clear();
    guides.clear();

    // Provinces: ids in the order of their printed names, which is the order an alphabetical list
    // shows them in (accents do not count: Córdoba comes before Corrientes).
    std::vector<size_t> order(seeds.provinces.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const std::string pa = printed(seeds.provinces[a].name), pb = printed(seeds.provinces[b].name);
        return pa != pb ? pa < pb : a < b;
    });
    std::map<std::string, int32_t> provinceByCode;
    for (size_t k = 0; k < order.size(); ++k) {
        const SeedProvince& p = seeds.provinces[order[k]];
        SampleProvince province;
        province.id = static_cast<int32_t>(k + 1);
        province.name = p.name;
        province.printedName = printed(p.name);
        provinces.push_back(province);
        provinceByCode[p.code] = province.id;
        out.provinces.push_back({province.id, p.name});
    }

    for (size_t g = 0; g < std::size(kGuides); ++g) {
        SampleGuide guide;
        guide.id = static_cast<int32_t>(g + 1);
        guide.name = cp(kGuides[g].name);
        guides.push_back(guide);
        out.guides.push_back({guide.id, guide.name});
    }
    const auto guideOfProvince = [&](const std::string& code) -> int32_t {
        for (size_t g = 0; g < std::size(kGuides); ++g) {
            if (code.size() == 4 &&
                std::string_view(kGuides[g].provinceLetters).find(code[3]) != std::string_view::npos)
                return static_cast<int32_t>(g + 1);
        }
        return 0;
    };

    for (size_t i = 0; i < seeds.localities.size(); ++i) {
        const SeedLocality& s = seeds.localities[i];
        const auto province = provinceByCode.find(s.provinceCode);
        if (province == provinceByCode.end())
            return fail("locality " + s.name + " names an unknown province " + s.provinceCode);
        SampleLocality l;
        l.id = static_cast<int32_t>(i + 1);
        l.province = province->second;
        l.areaCode = s.areaCode;
        l.localLength = s.localLength;
        l.weight = s.weight;
        l.space = phones.spaceOf(i);
        l.city = s.weight >= 100;
        l.name = s.name;
        l.printedName = printed(s.name);
        CatalogWriter::Locality entry{l.id, l.name, l.province, {}, l.areaCode};
        const int32_t home = guideOfProvince(s.provinceCode);
        const bool suburb = s.provinceCode == "AR-B" &&
                            std::find(std::begin(kSuburbanAreaCodes), std::end(kSuburbanAreaCodes), s.areaCode) !=
                                std::end(kSuburbanAreaCodes);
        if (suburb)
            entry.guides.push_back(1);
        if (home != 0)
            entry.guides.push_back(home);
        l.guide = entry.guides.empty() ? 0 : entry.guides.front();
        localities.push_back(l);
        out.localities.push_back(std::move(entry));
    }
    const auto localityNamed = [&](std::string_view utf8, int32_t provinceId, size_t& index) {
        const std::string name = cp(utf8);
        for (size_t i = 0; i < localities.size(); ++i) {
            if (localities[i].name == name && (provinceId == 0 || localities[i].province == provinceId)) {
                index = i;
                return true;
            }
        }
        return false;
    };
    for (const CapitalDef& c : kCapitals) {
        const std::string code = std::string("AR-") + c.letter;
        const auto province = provinceByCode.find(code);
        if (province == provinceByCode.end())
            continue;
        if (!localityNamed(c.name, province->second, provinces[static_cast<size_t>(province->second - 1)].capital))
            return fail(std::string("the seeds lack the capital of ") + code);
    }
    for (size_t g = 0; g < std::size(kGuides); ++g) {
        if (!localityNamed(kGuides[g].mainLocality, 0, guides[g].mainLocality))
            return fail(std::string("the seeds lack the main locality of the guide ") + kGuides[g].name);
    }

    // Rubros: one id per guide the rubro belongs to ("B" gives a commercial and a professional
    // entry of the same name), so each section's list has its own entry and see-also links stay
    // within the section.
    struct Ids {
        int32_t c = 0, p = 0;
    };
    std::map<std::string, Ids> idsByName;
    int32_t nextId = 0;
    for (const SeedRubro& r : seeds.rubros) {
        Ids ids;
        if (r.guide == 'C' || r.guide == 'B')
            ids.c = ++nextId;
        if (r.guide == 'P' || r.guide == 'B')
            ids.p = ++nextId;
        idsByName[r.name] = ids;
    }
    const auto idFor = [&](const std::string& name, char kind) -> int32_t {
        const auto found = idsByName.find(name);
        if (found == idsByName.end())
            return -1;
        const Ids& ids = found->second;
        if (kind == 'C')
            return ids.c != 0 ? ids.c : ids.p;
        return ids.p != 0 ? ids.p : ids.c;
    };
    for (const SeedRubro& r : seeds.rubros) {
        const Ids ids = idsByName[r.name];
        for (const char kind : {'C', 'P'}) {
            const int32_t id = kind == 'C' ? ids.c : ids.p;
            if (id == 0)
                continue;
            CatalogWriter::Rubro entry;
            entry.id = id;
            entry.name = r.name;
            entry.kind = kind;
            for (const std::string& s : r.seeAlso) {
                const int32_t target = idFor(s, kind);
                if (target < 0)
                    return fail("rubro " + r.name + " refers to an unknown rubro " + s);
                if (target != id &&
                    std::find(entry.seeAlso.begin(), entry.seeAlso.end(), target) == entry.seeAlso.end())
                    entry.seeAlso.push_back(target);
            }
            if (!r.redirectTo.empty()) {
                entry.redirect = idFor(r.redirectTo, kind);
                if (entry.redirect < 0)
                    return fail("rubro " + r.name + " redirects to an unknown rubro " + r.redirectTo);
            } else {
                SampleRubro rubro;
                rubro.id = id;
                rubro.kind = kind;
                rubro.name = r.name;
                rubro.weight = 2 + nameHash(r.name) % 7;
                if (std::find(std::begin(kCommonRubros), std::end(kCommonRubros), r.name) != std::end(kCommonRubros))
                    rubro.weight *= 4;
                const std::string first = firstWord(r.name);
                const bool shop =
                    (first.size() > 4 && first.compare(first.size() - 4, 4, "RIAS") == 0) ||
                    std::find(std::begin(kShopWords), std::end(kShopWords), first) != std::end(kShopWords);
                if (shop)
                    rubro.shopNoun = shopNoun(r.name);
                if (kind == 'P' && r.guide == 'P') {
                    for (const TitleDef& t : kTitles) {
                        if (r.name.find(t.word) != std::string::npos) {
                            rubro.people = true;
                            rubro.titles[0] = t.male;
                            rubro.titles[1] = t.female;
                            break;
                        }
                    }
                    if (!rubro.people && rubro.shopNoun.empty())
                        rubro.shopNoun = shopNoun(r.name);
                }
                rubros.push_back(std::move(rubro));
            }
            out.rubros.push_back(std::move(entry));
        }
    }
    std::sort(out.rubros.begin(), out.rubros.end(),
              [](const CatalogWriter::Rubro& a, const CatalogWriter::Rubro& b) { return a.id < b.id; });

    buildCountries(seeds, out);

    // Useful numbers: the national ones in every guide, then a few of each guide's main city.
    int32_t usefulId = 0;
    std::vector<int32_t> allGuides;
    for (const SampleGuide& g : guides)
        allGuides.push_back(g.id);
    for (const UsefulDef& u : kNationalNumbers)
        out.usefulNumbers.push_back({++usefulId, cp(u.entity), u.number, allGuides});
    for (const SampleGuide& g : guides) {
        const SampleLocality& city = localities[g.mainLocality];
        std::vector<std::string> entities;
        if (g.id == 1) {
            out.usefulNumbers.push_back({++usefulId, cp("ATENCION CIUDADANA - GOBIERNO DE LA CIUDAD"), "147", {g.id}});
            out.usefulNumbers.push_back({++usefulId, cp("ASISTENCIA AL SUICIDA"), "135", {g.id}});
        } else {
            entities.push_back(cp("MUNICIPALIDAD DE ") + city.printedName);
        }
        entities.push_back(cp("TERMINAL DE OMNIBUS ") + city.printedName);
        entities.push_back(cp("AEROPUERTO ") + city.printedName);
        entities.push_back(cp("HOSPITAL REGIONAL ") + city.printedName + cp(" - GUARDIA"));
        for (const std::string& entity : entities) {
            std::string number;
            appendPhone(number, city.areaCode, city.localLength, phones.next(city.space));
            out.usefulNumbers.push_back({++usefulId, entity, number, {g.id}});
        }
    }
    return true;
}

} // namespace sample
