#include "builder/SampleListings.h"

#include "builder/SampleText.h"

#include <algorithm>

namespace sample {
namespace {

constexpr const char* kSlogans[] = {
    "ATENDEMOS LAS 24 HS",
    "ENVIOS A DOMICILIO",
    "PRESUPUESTOS SIN CARGO",
    "ACEPTAMOS TODAS LAS TARJETAS",
    "MAS DE 30 AÑOS A SU SERVICIO",
    "CALIDAD Y ATENCION PERSONALIZADA",
    "VENTAS POR MAYOR Y MENOR",
    "ENVIOS A TODO EL PAIS",
    "ESTACIONAMIENTO PROPIO",
    "LOS MEJORES PRECIOS DE LA ZONA",
    "FINANCIACION PROPIA",
    "GARANTIA ESCRITA",
    "CONSULTE SIN COMPROMISO",
    "SERVICIO DE URGENCIAS",
    "PRECIOS DE FABRICA",
    "EMPRESA FAMILIAR",
    "AMPLIO SURTIDO",
    "ATENCION AL GREMIO",
};
constexpr const char* kProfessionalSlogans[] = {
    "ATENCION CON TURNO PREVIO", "CONSULTAS SIN CARGO", "ASESORAMIENTO INTEGRAL",     "ATENCION A DOMICILIO",
    "OBRAS SOCIALES Y PREPAGAS", "URGENCIAS LAS 24 HS", "PRIMERA CONSULTA SIN CARGO", "ATENCION EN ESPAÑOL E INGLES",
};
constexpr const char* kHours[] = {
    "LUNES A VIERNES DE 8 A 12 Y DE 16 A 20 HS",
    "LUNES A SABADOS DE 8 A 21 HS",
    "SABADOS DE 9 A 13 HS",
    "ABIERTO TODOS LOS DIAS",
    "HORARIO CORRIDO DE 9 A 18 HS",
    "DOMINGOS Y FERIADOS ABIERTO",
};

constexpr PictureTheme kThemes[] = {
    {0xFFFFFF, 0x1A1A1A, 0xC8102E, 0}, {0xFFF8DC, 0x3B2F2F, 0x8B4513, 0}, {0x0B3D91, 0xFFFFFF, 0xFFD100, 0},
    {0xFFFFFF, 0x003366, 0x0077C8, 0}, {0x1E5631, 0xFFFFFF, 0xA4DE02, 0}, {0xFFFFFF, 0x222222, 0xFF6F00, 0},
    {0xF2F2F2, 0x4B0082, 0x9B59B6, 0}, {0x000000, 0xFFFFFF, 0xE10600, 0}, {0xFFFBEA, 0x2C3E50, 0x16A085, 0},
    {0xFFFFFF, 0x5D4037, 0xFFB300, 0},
};
struct Size {
    int width, height;
};
// Most pictures fit the ad window; the last two are larger and open fitted, with zoom.
constexpr Size kPictureSizes[] = {{400, 300}, {480, 320}, {520, 360}, {600, 400},
                                  {360, 480}, {640, 440}, {760, 560}, {900, 620}};

std::vector<std::string> converted(const char* const* texts, size_t n)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < n; ++i)
        out.push_back(cp(texts[i]));
    return out;
}

} // namespace

SampleListings::SampleListings(const SampleCatalog& catalog, const SampleNames& names, SamplePhones& phones,
                               uint64_t seed)
    : m_catalog(catalog), m_names(names), m_phones(phones), m_random(seed, 0x4C495354ull), // "LIST"
      m_adRandom(seed, 0x41445321ull)                                                      // "ADS!"
{
    m_localitiesOfProvince.resize(catalog.provinces.size());
    for (size_t i = 0; i < catalog.localities.size(); ++i) {
        const SampleLocality& l = catalog.localities[i];
        m_localityPick.add(l.weight);
        if (l.province >= 1 && static_cast<size_t>(l.province) <= m_localitiesOfProvince.size())
            m_localitiesOfProvince[static_cast<size_t>(l.province - 1)].push_back(i);
    }
    for (const SampleRubro& r : catalog.rubros) {
        const int k = r.kind == 'C' ? 0 : 1;
        m_rubros[k].push_back(&r);
        m_rubroPick[k].add(r.weight);
    }
    m_slogans = converted(kSlogans, std::size(kSlogans));
    m_professionalSlogans = converted(kProfessionalSlogans, std::size(kProfessionalSlogans));
    m_hours = converted(kHours, std::size(kHours));
    for (std::string* s : {&m_name, &m_core, &m_address, &m_web, &m_mail})
        s->reserve(256);
}

int SampleListings::linesFor(Kind kind)
{
    const uint32_t r = m_random.below(10000);
    switch (kind) {
    case Kind::Resident: return r < 9500 ? 1 : r < 9940 ? 2 : 3;
    case Kind::Professional:
        if (m_rubro && m_rubro->people)
            return r < 8500 ? 1 : r < 9800 ? 2 : 3;
        [[fallthrough]];
    case Kind::Business:
    case Kind::Commercial:
        if (r < 6200)
            return 1;
        if (r < 8200)
            return 2;
        if (r < 9100)
            return 3;
        if (r < 9600)
            return 4;
        return 5 + static_cast<int>(m_random.below(4));
    }
    return 1;
}

void SampleListings::makeSubscriber(Kind kind)
{
    Random& random = m_random;
    m_locality = &m_catalog.localities[m_localityPick.pick(random)];
    m_rubro = nullptr;
    if (kind == Kind::Commercial || kind == Kind::Professional) {
        const int k = kind == Kind::Commercial ? 0 : 1;
        if (!m_rubros[k].empty())
            m_rubro = m_rubros[k][m_rubroPick[k].pick(random)];
    }
    m_name.clear();
    m_core.clear();
    m_address.clear();
    m_web.clear();
    m_mail.clear();
    if (kind == Kind::Resident) {
        const bool female = random.below(2) == 0;
        m_names.person(random, female, random.chance(300), m_name);
    } else if (kind == Kind::Professional && m_rubro && m_rubro->people) {
        m_names.professional(random, *m_rubro, m_name, m_core);
    } else {
        m_names.company(random, m_rubro, m_name, m_core);
    }

    const auto& nearby = m_localitiesOfProvince[static_cast<size_t>(m_locality->province - 1)];
    const SampleLocality& other = m_catalog.localities[nearby[random.below(static_cast<uint32_t>(nearby.size()))]];
    m_names.address(random, m_locality->city, other.printedName, m_address);

    if (kind == Kind::Resident) {
        if (random.chance(200))
            m_names.personMail(random, m_name, m_mail);
    } else {
        const bool person = kind == Kind::Professional && m_rubro && m_rubro->people;
        if (random.chance(person ? 500 : m_locality->city ? 1600 : 1100))
            m_names.web(random, m_core, m_web);
        if (random.chance(person ? 1500 : 2200)) {
            if (person)
                m_names.personMail(random, m_name, m_mail);
            else
                m_names.companyMail(random, m_core, m_mail);
        }
    }

    m_lines = linesFor(kind);
    m_local[0] = m_phones.next(m_locality->space);
    // Half the businesses with several lines have consecutive numbers, like a switchboard.
    const bool consecutive =
        kind != Kind::Resident && m_lines > 1 && m_local[0] % 10000 + m_lines <= 9999 && random.below(2) == 0;
    for (int i = 1; i < m_lines; ++i)
        m_local[i] = consecutive ? m_local[0] + i : m_phones.next(m_locality->space);
    m_adNumber = 0;
}

void SampleListings::appendPhones(std::string& out, int lines)
{
    out += lines > 1 && m_adRandom.below(2) == 0 ? "TEL/FAX " : "TEL. ";
    appendPhone(out, m_locality->areaCode, m_locality->localLength, m_local[0]);
    for (int i = 1; i < std::min(lines, 3); ++i) {
        out += " / ";
        appendLocalPhone(out, m_locality->localLength, m_local[i]);
    }
}

int32_t SampleListings::makeAd(SourceModel& out, std::vector<AdPictureRequest>& pictures, int32_t maxPictures)
{
    Random& random = m_adRandom;
    const uint32_t r = random.below(10000);
    const int32_t number = static_cast<int32_t>(out.ads.size()) + 1;
    SourceAd ad;
    // The first ads go through every kind, so that even a small sample shows each of them.
    static constexpr int8_t kFirstKinds[] = {0, 2, 8, 3, 5, 0, 2, 8};
    if (static_cast<size_t>(number) <= std::size(kFirstKinds))
        ad.kind = kFirstKinds[number - 1];
    else
        ad.kind = r < 3000 ? 0 : r < 3500 ? 5 : r < 6000 ? 2 : r < 7000 ? 3 : 8;
    ad.reference = (ad.kind == 3 ? 700000 : 200000) + number;

    const bool professional = m_rubro && m_rubro->kind == 'P';
    const std::string& slogan = professional ? random.pick(m_professionalSlogans) : random.pick(m_slogans);
    std::string where = m_address + " - " + m_locality->printedName;
    std::string phones;
    appendPhones(phones, m_lines);
    // The trade as a shop sign says it, unless the name already does.
    std::string rubroLine;
    if (m_rubro)
        rubroLine =
            m_rubro->shopNoun.empty() || m_name.rfind(m_rubro->shopNoun, 0) == 0 ? m_rubro->name : m_rubro->shopNoun;

    ad.lines.push_back(m_name);
    switch (ad.kind) {
    case 2:
        // A rounded card: three normal lines, then bold ones.
        ad.lines.push_back(slogan);
        ad.lines.push_back(rubroLine);
        ad.lines.push_back(where);
        ad.lines.push_back(phones);
        ad.lines.push_back(random.pick(m_hours));
        if (!m_web.empty() || !m_mail.empty())
            ad.lines.push_back(!m_web.empty() ? m_web : m_mail);
        break;
    case 3: ad.lines.push_back(where); break;
    case 8:
        ad.lines.push_back(slogan);
        ad.lines.push_back(m_address);
        ad.lines.push_back(m_locality->printedName + " - " +
                           m_catalog.provinces[static_cast<size_t>(m_locality->province - 1)].printedName);
        ad.lines.push_back(phones);
        if (random.below(2) == 0)
            ad.lines.push_back(random.pick(m_hours));
        if (!m_web.empty())
            ad.lines.push_back(m_web);
        if (!m_mail.empty())
            ad.lines.push_back(m_mail);
        break;
    default: // 0 and 5: a picture, its lines kept for recommendations
        ad.lines.push_back(rubroLine);
        ad.lines.push_back(slogan);
        ad.lines.push_back(where);
        ad.lines.push_back(phones);
        if (!m_web.empty() || !m_mail.empty())
            ad.lines.push_back(!m_web.empty() ? m_web : m_mail);
        {
            // Drawn whether or not pictures are made, so the rest of the sample does not change.
            const Size size = kPictureSizes[random.below(std::size(kPictureSizes))];
            PictureTheme theme = kThemes[random.below(std::size(kThemes))];
            theme.layout = static_cast<int>(random.below(4));
            const int32_t k = m_pictureAds++;
            if (maxPictures > 0) {
                ad.pictureId = k % maxPictures + 1;
                if (k < maxPictures) {
                    AdPictureRequest request;
                    request.width = size.width;
                    request.height = size.height;
                    request.theme = theme;
                    request.lines = ad.lines;
                    pictures.push_back(std::move(request));
                }
            }
        }
        break;
    }
    ad.lines.erase(std::remove(ad.lines.begin() + 1, ad.lines.end(), std::string()), ad.lines.end());
    out.ads.push_back(std::move(ad));
    return number;
}

void SampleListings::emit(SourceModel& out, GuideKind guide, int lines, bool withRubroAndAd)
{
    Listing l;
    l.guide = guide;
    l.guideId = m_locality->guide;
    l.localityId = m_locality->id;
    l.rubroId = withRubroAndAd && m_rubro ? m_rubro->id : 0;
    l.areaCode = m_locality->areaCode;
    l.adNumber = withRubroAndAd ? m_adNumber : 0;
    l.name = m_name;
    l.address = m_address;
    l.web = m_web;
    l.mail = m_mail;
    for (int i = 0; i < lines; ++i) {
        l.phonePrefix = m_local[i] / 10000;
        l.phoneLine = m_local[i] % 10000;
        out.listings.add(l);
    }
    m_emitted[static_cast<int>(guide)] += lines;
    m_textBytes += static_cast<uint64_t>(lines) * (m_name.size() + m_address.size() + m_web.size() + m_mail.size());
}

void SampleListings::generate(int32_t count, int32_t maxPictures, SourceModel& out,
                              std::vector<AdPictureRequest>& pictures,
                              const std::function<void(int32_t, int32_t)>& progress)
{
    if (count <= 0)
        return;
    const int64_t n = count;
    const int32_t quota[3] = {static_cast<int32_t>(n - n * kCommercialShare / 10000 - n * kProfessionalShare / 10000),
                              static_cast<int32_t>(n * kCommercialShare / 10000),
                              static_cast<int32_t>(n * kProfessionalShare / 10000)};
    // Measured: about 41 bytes of text per listing; a little more keeps the arena from growing.
    uint64_t reservedBytes = static_cast<uint64_t>(count) * 44 + 4096;
    out.listings.reserve(out.listings.size() + static_cast<size_t>(count), static_cast<size_t>(reservedBytes));

    int32_t nextReport = 0;
    int32_t nextCheck = 1 << 18;
    const auto tick = [&] {
        const int32_t done = m_emitted[0] + m_emitted[1] + m_emitted[2];
        if (done >= nextCheck) {
            // Grow the arena once, to the projected size, rather than let it double.
            const uint64_t projected = m_textBytes * static_cast<uint64_t>(count) / static_cast<uint64_t>(done);
            if (projected + projected / 64 + 4096 > reservedBytes) {
                reservedBytes = projected + projected / 32 + 4096;
                out.listings.reserve(static_cast<size_t>(count), static_cast<size_t>(reservedBytes));
            }
            nextCheck = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(done) * 2, INT32_MAX));
        }
        if (progress && done >= nextReport) {
            progress(done, count);
            nextReport = done + (1 << 16);
        }
    };

    const int alphabetical = static_cast<int>(GuideKind::Alphabetical);
    for (const GuideKind guide : {GuideKind::Commercial, GuideKind::Professional}) {
        const int g = static_cast<int>(guide);
        const Kind kind = guide == GuideKind::Commercial ? Kind::Commercial : Kind::Professional;
        while (m_emitted[g] < quota[g]) {
            makeSubscriber(kind);
            // A few percent, more for larger subscribers; the first handful come sooner.
            uint32_t adChance = std::min(300u + 250u * static_cast<uint32_t>(m_lines - 1), 1500u);
            if (out.ads.size() < 8)
                adChance = 2500;
            if (m_adRandom.chance(adChance))
                m_adNumber = makeAd(out, pictures, maxPictures);
            emit(out, guide, std::min(m_lines, quota[g] - m_emitted[g]), true);
            // Businesses are in the white pages too, under their name.
            if (m_random.below(2) == 0 && m_emitted[alphabetical] < quota[alphabetical])
                emit(out, GuideKind::Alphabetical, std::min(m_lines, quota[alphabetical] - m_emitted[alphabetical]),
                     false);
            tick();
        }
    }
    while (m_emitted[alphabetical] < quota[alphabetical]) {
        makeSubscriber(m_random.chance(1200) ? Kind::Business : Kind::Resident);
        emit(out, GuideKind::Alphabetical, std::min(m_lines, quota[alphabetical] - m_emitted[alphabetical]), false);
        tick();
    }
    if (progress)
        progress(count, count);
}

} // namespace sample
