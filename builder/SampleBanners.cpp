#include "builder/SampleBanners.h"

#include "builder/SampleText.h"

namespace sample {
namespace {

constexpr PictureTheme kBannerThemes[] = {
    {0x0B3D91, 0xFFFFFF, 0xFFD100, 0}, {0xFFFFFF, 0x1A1A1A, 0xC8102E, 1}, {0x1E5631, 0xFFFFFF, 0xA4DE02, 2},
    {0x000000, 0xFFFFFF, 0xE10600, 3}, {0xFFF8DC, 0x3B2F2F, 0x8B4513, 0}, {0xFFFFFF, 0x003366, 0x0077C8, 1},
    {0x4B0082, 0xFFFFFF, 0xF1C40F, 2}, {0xFFFBEA, 0x2C3E50, 0x16A085, 3},
};

constexpr const char* kBannerSlogans[] = {
    "CALIDAD Y SERVICIO", "ATENDEMOS LAS 24 HS", "ENVIOS A DOMICILIO",       "PRESUPUESTOS SIN CARGO",
    "TODAS LAS TARJETAS", "PRECIOS DE FABRICA",  "MAS DE 20 AÑOS CON USTED", "VISITE NUESTRO LOCAL",
};

BannerRequest request(Random& random, std::vector<std::vector<std::string>> frames)
{
    BannerRequest r;
    r.width = kBannerWidth;
    r.height = kBannerHeight;
    r.theme = kBannerThemes[random.below(std::size(kBannerThemes))];
    r.frames = std::move(frames);
    r.frameDelay = 150;
    return r;
}

} // namespace

std::vector<std::pair<int, BannerRequest>> bannerRequests(const SampleCatalog& catalog, const SampleNames& names,
                                                          SamplePhones& phones, Random& random)
{
    const auto c = [](const char* utf8) { return cp(utf8); };
    std::vector<std::pair<int, BannerRequest>> out;
    std::string rubros;
    appendNumber(rubros, catalog.rubros.size());
    out.emplace_back(
        0, request(random, {{c("ORTELIA"), c("GUIA TELEFONICA Y COMERCIAL DE LA REPUBLICA ARGENTINA")},
                            {c("TODO EL PAIS EN SU COMPUTADORA"), c("GUIAS ALFABETICA, COMERCIAL Y PROFESIONAL")}}));
    out.emplace_back(0, request(random, {{c("ANUNCIE EN ORTELIA"), c("SU EMPRESA A LA VISTA DE TODO EL PAIS")},
                                         {c("AVISOS Y BANNERS"), c("CONSULTE POR NUESTROS PLANES")}}));
    out.emplace_back(0, request(random, {{c("BUSQUE POR RUBRO"), rubros + c(" RUBROS COMERCIALES Y PROFESIONALES")},
                                         {c("GUIA COMERCIAL"), c("ENCUENTRE LO QUE NECESITA CERCA SUYO")},
                                         {c("GUIA PROFESIONAL"), c("MEDICOS, ABOGADOS, CONTADORES Y MAS")}}));
    out.emplace_back(0, request(random, {{c("ORGANISMOS OFICIALES"), c("LOS TELEFONOS DE TODAS LAS PROVINCIAS")},
                                         {c("NUMEROS UTILES"), c("CODIGOS DE AREA NACIONALES E INTERNACIONALES")}}));

    std::vector<const SampleRubro*> commercial;
    for (const SampleRubro& r : catalog.rubros) {
        if (r.kind == 'C')
            commercial.push_back(&r);
    }
    for (const SampleProvince& p : catalog.provinces) {
        // The province's largest towns carry its banners.
        std::vector<size_t> towns;
        for (size_t i = 0; i < catalog.localities.size(); ++i) {
            if (catalog.localities[i].province == p.id && catalog.localities[i].city)
                towns.push_back(i);
        }
        if (towns.empty())
            towns.push_back(p.capital);
        out.emplace_back(
            p.id, request(random, {{c("ORTELIA ") + p.printedName, c("TODOS LOS TELEFONOS DE LA PROVINCIA")},
                                   {c("BUSQUE POR NOMBRE, DOMICILIO O TELEFONO"), c("EN TODAS LAS LOCALIDADES")}}));
        const uint32_t local = 1 + random.below(3);
        for (uint32_t k = 0; k < local && !commercial.empty(); ++k) {
            const SampleRubro& rubro = *commercial[random.below(static_cast<uint32_t>(commercial.size()))];
            const SampleLocality& town = catalog.localities[towns[random.below(static_cast<uint32_t>(towns.size()))]];
            std::string name, core;
            names.company(random, &rubro, name, core);
            std::string phone = c("TEL. ");
            appendPhone(phone, town.areaCode, town.localLength, phones.next(town.space));
            out.emplace_back(p.id, request(random, {{name, rubro.name},
                                                    {c(kBannerSlogans[random.below(std::size(kBannerSlogans))]),
                                                     phone + " - " + town.printedName}}));
        }
    }
    return out;
}

} // namespace sample
