#include "builder/SampleOfficial.h"

#include "builder/SampleText.h"

#include <algorithm>
#include <string>

namespace sample {
namespace {

// The headings of one province, collected before they are put in alphabetical order.
struct Heading {
    std::string name;
    std::vector<OfficialBody> nodes; // the heading, then its groups and offices in order
};

class ProvinceTree {
public:
    ProvinceTree(const SampleCatalog& catalog, SamplePhones& phones, Random& random, const SampleProvince& province,
                 const std::vector<std::string>& proceres)
        : m_catalog(catalog), m_phones(phones), m_random(random), m_province(province), m_proceres(proceres)
    {
        for (size_t i = 0; i < catalog.localities.size(); ++i) {
            if (catalog.localities[i].province == province.id)
                m_localities.push_back(i);
        }
        // The largest towns first; equal weights keep the catalog order.
        std::stable_sort(m_localities.begin(), m_localities.end(), [&](size_t a, size_t b) {
            return catalog.localities[a].weight > catalog.localities[b].weight;
        });
    }

    void heading(const std::string& name)
    {
        m_headings.push_back({name, {}});
        m_headings.back().nodes.push_back({2, name, "", {}});
    }
    void group(const std::string& name, const std::string& value = "")
    {
        m_headings.back().nodes.push_back({3, name, value, {}});
    }
    // An office with its main number in the node and one line per description.
    void office(const std::string& name, size_t locality, std::initializer_list<const char*> lines)
    {
        OfficialBody node{4, name, number(locality), {}};
        for (const char* line : lines) {
            const std::string description = cp(line);
            if (description.rfind("EMERGENCIAS ", 0) == 0)
                node.phones.emplace_back(description.substr(0, description.rfind(' ')),
                                         description.substr(description.rfind(' ') + 1));
            else
                node.phones.emplace_back(description, number(locality));
        }
        m_headings.back().nodes.push_back(std::move(node));
    }
    void office(const std::string& name, std::initializer_list<const char*> lines)
    {
        office(name, m_province.capital, lines);
    }

    [[nodiscard]] size_t capital() const { return m_province.capital; }
    // The k-th largest locality of the province (the capital when there are fewer).
    [[nodiscard]] size_t town(size_t k) const { return k < m_localities.size() ? m_localities[k] : capital(); }
    [[nodiscard]] size_t towns() const { return m_localities.size(); }
    [[nodiscard]] const std::string& townName(size_t locality) const
    {
        return m_catalog.localities[locality].printedName;
    }
    [[nodiscard]] const std::string& procer()
    {
        return m_proceres[m_random.below(static_cast<uint32_t>(m_proceres.size()))];
    }
    [[nodiscard]] std::string ordinal(uint32_t maxNumber)
    {
        std::string n = cp("N° ");
        appendNumber(n, 1 + m_random.below(maxNumber));
        return n;
    }
    Random& random() { return m_random; }

    void appendTo(std::vector<OfficialBody>& out)
    {
        std::stable_sort(m_headings.begin(), m_headings.end(),
                         [](const Heading& a, const Heading& b) { return a.name < b.name; });
        for (Heading& h : m_headings) {
            for (OfficialBody& node : h.nodes)
                out.push_back(std::move(node));
        }
        m_headings.clear();
    }

private:
    std::string number(size_t locality)
    {
        const SampleLocality& l = m_catalog.localities[locality];
        std::string text;
        appendPhone(text, l.areaCode, l.localLength, m_phones.next(l.space));
        return text;
    }

    const SampleCatalog& m_catalog;
    SamplePhones& m_phones;
    Random& m_random;
    const SampleProvince& m_province;
    const std::vector<std::string>& m_proceres;
    std::vector<size_t> m_localities;
    std::vector<Heading> m_headings;
};

void buildProvince(ProvinceTree& t, bool city)
{
    const std::string capitalName = t.townName(t.capital());
    const auto c = [](const char* utf8) { return cp(utf8); };

    t.heading(city ? c("JEFATURA DE GOBIERNO") : c("GOBERNACION"));
    t.group(c("CASA DE GOBIERNO"));
    t.office(city ? c("JEFE DE GOBIERNO - SECRETARIA PRIVADA") : c("GOBERNADOR - SECRETARIA PRIVADA"),
             {"CONMUTADOR", "FAX"});
    t.office(c("SECRETARIA GENERAL DE LA GOBERNACION"), {"MESA DE ENTRADAS", "DESPACHO"});
    t.office(c("DIRECCION DE CEREMONIAL Y PROTOCOLO"), {"ATENCION AL PUBLICO"});
    t.office(c("SECRETARIA DE COMUNICACION Y PRENSA"), {"PRENSA", "FAX"});

    t.heading(c("MINISTERIO DE SALUD"));
    t.group(c("SEDE CENTRAL"));
    t.office(c("DESPACHO DEL MINISTRO"), {"SECRETARIA"});
    t.office(c("DIRECCION DE EPIDEMIOLOGIA"), {"VIGILANCIA EPIDEMIOLOGICA", "FAX"});
    t.office(c("DIRECCION DE MATERNIDAD E INFANCIA"), {"ATENCION AL PUBLICO"});
    t.office(c("DIRECCION GENERAL DE ADMINISTRACION DE RECURSOS HUMANOS DEL MINISTERIO DE SALUD"),
             {"LIQUIDACION DE HABERES", "LICENCIAS MEDICAS"});
    t.group(c("HOSPITALES PUBLICOS"));
    t.office(c("HOSPITAL REGIONAL ") + capitalName, {"GUARDIA", "CONMUTADOR", "TURNOS", "ADMINISTRACION"});
    t.office(c("HOSPITAL DE NIÑOS ") + t.procer(), {"GUARDIA", "TURNOS", "INTERNACION"});
    t.office(c("HOSPITAL MATERNO INFANTIL ") + t.procer(), {"GUARDIA", "MATERNIDAD", "NEONATOLOGIA"});
    for (size_t k = 1; k < std::min<size_t>(t.towns(), 4); ++k)
        t.office(c("HOSPITAL ZONAL ") + t.townName(t.town(k)), t.town(k), {"GUARDIA", "CONMUTADOR"});
    t.group(c("CENTROS DE ATENCION PRIMARIA DE LA SALUD"));
    for (uint32_t k = 0, n = 2 + t.random().below(3); k < n; ++k) {
        // One draw per statement: the order in which operands are evaluated is up to the compiler.
        const std::string number = t.ordinal(60);
        t.office(c("CENTRO DE SALUD ") + number + c(" BARRIO ") + t.procer(), {"ATENCION AL PUBLICO"});
    }

    t.heading(c("MINISTERIO DE EDUCACION"));
    t.group(c("SEDE CENTRAL"));
    t.office(city ? c("SUBSECRETARIA DE GESTION EDUCATIVA") : c("CONSEJO GENERAL DE EDUCACION"),
             {"MESA DE ENTRADAS", "PRESIDENCIA"});
    t.office(c("DIRECCION DE NIVEL INICIAL"), {"SECRETARIA"});
    t.office(c("DIRECCION DE NIVEL PRIMARIO"), {"SECRETARIA"});
    t.office(c("DIRECCION DE EDUCACION SECUNDARIA Y TECNICO PROFESIONAL"), {"SECRETARIA", "SUPERVISION"});
    t.office(c("JUNTA DE CLASIFICACION DOCENTE"), {"ATENCION AL DOCENTE"});
    t.group(c("ESCUELAS"));
    for (uint32_t k = 0, n = 3 + t.random().below(3); k < n; ++k) {
        const size_t where = t.town(t.random().below(4));
        const std::string number = t.ordinal(400);
        t.office(c("ESCUELA ") + number + " " + t.procer() + " - " + t.townName(where), where,
                 {"DIRECCION", "SECRETARIA"});
    }

    t.heading(c("MINISTERIO DE SEGURIDAD"));
    t.group(city ? c("POLICIA DE LA CIUDAD") : c("POLICIA DE LA PROVINCIA"));
    t.office(c("JEFATURA DE POLICIA"), {"EMERGENCIAS 911", "CONMUTADOR", "FAX"});
    t.office(c("COMISARIA PRIMERA"), {"GUARDIA"});
    t.office(c("COMISARIA SEGUNDA"), {"GUARDIA"});
    t.office(c("COMISARIA DE LA MUJER Y LA FAMILIA"), {"GUARDIA", "ATENCION A LA VICTIMA"});
    for (size_t k = 1; k < std::min<size_t>(t.towns(), 4); ++k)
        t.office(c("UNIDAD REGIONAL ") + t.townName(t.town(k)), t.town(k), {"GUARDIA"});
    t.group(c("BOMBEROS"));
    t.office(c("CUARTEL CENTRAL DE BOMBEROS"), {"EMERGENCIAS 100", "ADMINISTRACION"});
    for (size_t k = 1; k < std::min<size_t>(t.towns(), 3); ++k)
        t.office(c("BOMBEROS VOLUNTARIOS DE ") + t.townName(t.town(k)), t.town(k), {"GUARDIA"});
    t.group(c("DEFENSA CIVIL"));
    t.office(c("DIRECCION DE DEFENSA CIVIL"), {"EMERGENCIAS 103", "ADMINISTRACION"});

    t.heading(city ? c("MINISTERIO DE HACIENDA Y FINANZAS") : c("MINISTERIO DE ECONOMIA Y FINANZAS"));
    t.group(c("ORGANISMOS DEPENDIENTES"));
    t.office(city ? c("ADMINISTRACION GUBERNAMENTAL DE INGRESOS PUBLICOS") : c("DIRECCION GENERAL DE RENTAS"),
             {"ATENCION AL CONTRIBUYENTE", "FAX"});
    t.office(c("DIRECCION DE CATASTRO"), {"MESA DE ENTRADAS"});
    t.office(c("CONTADURIA GENERAL"), {"SECRETARIA"});
    t.office(c("TESORERIA GENERAL"), {"PAGOS A PROVEEDORES"});
    t.office(c("DIRECCION DE ESTADISTICA Y CENSOS"), {"INFORMES", "BIBLIOTECA"});

    t.heading(c("MINISTERIO DE GOBIERNO Y JUSTICIA"));
    t.group(c("REGISTRO CIVIL Y CAPACIDAD DE LAS PERSONAS"));
    t.office(c("REGISTRO CIVIL - SEDE CENTRAL"), {"NACIMIENTOS", "MATRIMONIOS", "DEFUNCIONES"});
    for (size_t k = 1; k < std::min<size_t>(t.towns(), 5); ++k)
        t.office(c("DELEGACION ") + t.townName(t.town(k)), t.town(k), {"ATENCION AL PUBLICO"});
    t.group(c("INSPECCION GENERAL DE PERSONAS JURIDICAS"));
    t.office(c("MESA DE ENTRADAS"), {"ATENCION AL PUBLICO"});
    t.office(c("DEPARTAMENTO DE ASOCIACIONES CIVILES Y FUNDACIONES"), {"CONSULTAS"});

    t.heading(c("PODER JUDICIAL"));
    t.group(city ? c("TRIBUNAL SUPERIOR DE JUSTICIA") : c("SUPERIOR TRIBUNAL DE JUSTICIA"));
    t.office(c("PRESIDENCIA"), {"SECRETARIA", "FAX"});
    t.office(c("SECRETARIA DE SUPERINTENDENCIA"), {"MESA DE ENTRADAS"});
    t.office(c("MESA GENERAL DE ENTRADAS"), {"ATENCION AL PUBLICO"});
    t.group(c("JUZGADOS DE PRIMERA INSTANCIA"));
    t.office(c("JUZGADO CIVIL Y COMERCIAL ") + t.ordinal(12), {"SECRETARIA"});
    t.office(c("JUZGADO DE FAMILIA ") + t.ordinal(6), {"SECRETARIA"});
    t.office(c("JUZGADO EN LO CRIMINAL Y CORRECCIONAL DE PRIMERA INSTANCIA ") + t.ordinal(8),
             {"SECRETARIA", "MESA DE ENTRADAS"});
    t.office(c("JUZGADO LABORAL ") + t.ordinal(5), {"SECRETARIA"});
    for (size_t k = 1; k < std::min<size_t>(t.towns(), 4); ++k)
        t.office(c("JUZGADO DE PAZ DE ") + t.townName(t.town(k)), t.town(k), {"SECRETARIA"});

    t.heading(c("PODER LEGISLATIVO"));
    t.group(city ? c("LEGISLATURA DE LA CIUDAD") : c("CAMARA DE DIPUTADOS"));
    t.office(c("PRESIDENCIA"), {"SECRETARIA PRIVADA"});
    t.office(c("SECRETARIA LEGISLATIVA"), {"MESA DE ENTRADAS"});
    t.office(c("SECRETARIA ADMINISTRATIVA"), {"PERSONAL"});
    t.office(c("BIBLIOTECA LEGISLATIVA"), {"ATENCION AL PUBLICO"});
    t.office(c("DIRECCION DE INFORMACION PARLAMENTARIA"), {"CONSULTAS"});

    if (city) {
        t.heading(c("COMUNAS"));
        for (uint32_t k = 1; k <= 15; k += 1 + t.random().below(3)) {
            std::string name = c("COMUNA ");
            appendNumber(name, k);
            t.group(name);
            t.office(c("SEDE COMUNAL"), {"ATENCION AL VECINO"});
        }
    } else {
        t.heading(c("MUNICIPALIDADES"));
        for (size_t k = 0; k < std::min<size_t>(t.towns(), 6); ++k) {
            const size_t where = t.town(k);
            t.group(c("MUNICIPALIDAD DE ") + t.townName(where));
            t.office(c("INTENDENCIA"), where, {"SECRETARIA PRIVADA", "CONMUTADOR"});
            t.office(c("CONCEJO DELIBERANTE"), where, {"SECRETARIA"});
            t.office(c("DIRECCION DE TRANSITO"), where, {"LICENCIAS DE CONDUCIR"});
            t.office(c("ATENCION AL VECINO"), where, {"RECLAMOS"});
        }
    }

    t.heading(c("ORGANISMOS NACIONALES"));
    t.group(city ? c("DELEGACIONES EN LA CIUDAD") : c("DELEGACIONES EN LA PROVINCIA"));
    t.office(c("ANSES - UNIDAD DE ATENCION ") + capitalName, {"ATENCION AL PUBLICO"});
    t.office(c("AFIP - AGENCIA ") + capitalName, {"ATENCION AL CONTRIBUYENTE"});
    t.office(c("REGISTRO NACIONAL DE LAS PERSONAS - CENTRO DE DOCUMENTACION ") + capitalName, {"TURNOS"});
    t.office(c("DIRECCION NACIONAL DE MIGRACIONES - DELEGACION ") + capitalName, {"ATENCION AL PUBLICO"});
    t.office(c("REGISTRO DE LA PROPIEDAD DEL AUTOMOTOR"), {"CONSULTAS"});
}

} // namespace

void buildOfficialBodies(const SampleCatalog& catalog, const SampleSeeds& seeds, SamplePhones& phones, Random& random,
                         std::vector<OfficialBody>& out)
{
    // The hand-ranked streets are named after national heroes and dates, as public buildings are.
    std::vector<std::string> proceres;
    for (size_t i = 0; i < seeds.streets.size() && i < 40; ++i)
        proceres.push_back(printed(seeds.streets[i].text));
    if (proceres.empty())
        proceres.push_back(cp("SAN MARTIN"));
    for (const SampleProvince& p : catalog.provinces) {
        const bool city = catalog.localities[p.capital].areaCode == 11;
        out.push_back({1, city ? p.printedName : cp("PROVINCIA DE ") + p.printedName, "", {}});
        ProvinceTree tree(catalog, phones, random, p, proceres);
        buildProvince(tree, city);
        tree.appendTo(out);
    }
}

} // namespace sample
