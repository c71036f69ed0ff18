#include "builder/SampleNames.h"

#include "builder/SampleText.h"
#include "engine/Cp1252.h"

#include <algorithm>

namespace sample {
namespace {

// Weights of our own where the seeds list a pattern once per variant: building numbers mostly of
// two to four digits, street names far more common than roads, few flats above the tenth floor.
uint32_t patternWeight(const SeedPattern& p)
{
    static const std::pair<const char*, uint32_t> kBuildingNumbers[] = {
        {"##", 30}, {"###", 45}, {"####", 20}, {"#####", 0}, {"S/N", 3}};
    if (p.kind == "building_number") {
        for (const auto& [pattern, weight] : kBuildingNumbers) {
            if (p.pattern == pattern)
                return weight;
        }
    }
    if (p.kind == "street_address")
        return p.pattern.find("#{road") != std::string::npos ? 1 : 30;
    if (p.kind == "secondary_address" && p.pattern.find("##") != std::string::npos)
        return 0;
    return std::max<uint32_t>(p.weight, 1);
}

bool isFamilySuffix(std::string_view suffix)
{
    return suffix.rfind("E ", 0) == 0 || suffix.rfind("Y ", 0) == 0 || suffix == "HNOS" || suffix == "S. DE H.";
}

// Company heads that suit any trade.
constexpr std::string_view kGenericHeads[] = {"CASA",    "CENTRO", "COMERCIAL", "DISTRIBUIDORA",
                                              "EMPRESA", "GRUPO",  "SERVICIOS"};

// Mail providers of the sample: invented names, not real companies.
constexpr const char* kMailProviders[] = {"CORREOSUR.COM.AR", "NETPAMPA.COM.AR", "MIPOSTA.COM.AR", "CONEXIONSUR.COM.AR",
                                          "TELERED.COM.AR"};
constexpr const char* kMailboxes[] = {"INFO", "VENTAS", "CONSULTAS", "ADMINISTRACION", "CONTACTO"};

void appendSpaced(std::string& out, std::string_view word)
{
    if (!out.empty())
        out.push_back(' ');
    out.append(word);
}

} // namespace

SampleNames::SampleNames(const SampleSeeds& seeds)
{
    for (const SeedWeighted& s : seeds.surnames) {
        m_surnames.push_back(printed(s.text));
        m_surnamesAccented.push_back(cp1252::upper(s.text));
        m_surnamePick.add(s.weight);
    }
    for (const SeedGivenName& g : seeds.givenNames) {
        const int sex = g.sex == 'f' ? 1 : 0;
        m_given[sex].push_back(printed(g.name));
        m_givenAccented[sex].push_back(cp1252::upper(g.name));
        m_givenPick[sex].add(g.weight);
    }
    for (const SeedWeighted& s : seeds.streets) {
        m_streets.push_back(printed(s.text));
        m_streetPick.add(s.weight);
    }
    for (const SeedCompanyWord& w : seeds.companyWords) {
        std::vector<std::string>* words = nullptr;
        WeightedPick* pick = nullptr;
        if (w.kind == "head") {
            words = &m_heads;
            pick = &m_headPick;
        } else if (w.kind == "place") {
            words = &m_places;
            pick = &m_placePick;
        } else if (w.kind == "fantasy") {
            words = &m_fantasies;
            pick = &m_fantasyPick;
        } else if (w.kind == "suffix") {
            words = &m_suffixes;
            pick = &m_suffixPick;
        }
        if (words) {
            words->push_back(printed(w.word));
            pick->add(w.weight);
        }
    }
    // Fallbacks keep every pick valid even with a thin seed file.
    for (auto* words : {&m_heads, &m_places, &m_fantasies, &m_suffixes}) {
        if (words->empty())
            words->push_back("SA");
    }
    for (auto* pick : {&m_headPick, &m_placePick, &m_fantasyPick, &m_suffixPick}) {
        if (pick->total() == 0)
            pick->add(1);
    }

    for (const SeedPattern& p : seeds.addressPatterns) {
        if (kindIndex(p.kind) < 0) {
            m_kindNames.push_back(p.kind);
            m_kinds.emplace_back();
        }
    }
    for (const SeedPattern& p : seeds.addressPatterns) {
        Kind& kind = m_kinds[static_cast<size_t>(kindIndex(p.kind))];
        Pattern pattern;
        const std::string& text = p.pattern;
        std::string literal;
        const auto flush = [&] {
            if (!literal.empty())
                pattern.tokens.push_back({Token::Text, printed(literal), -1, 0});
            literal.clear();
        };
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '#' && i + 1 < text.size() && text[i + 1] == '{') {
                const size_t close = text.find('}', i);
                if (close == std::string::npos) {
                    literal += text.substr(i);
                    break;
                }
                flush();
                const std::string name = text.substr(i + 2, close - i - 2);
                Token t{Token::Ref, {}, kOther, 0};
                if (name == "street")
                    t.ref = kStreet;
                else if (name == "city")
                    t.ref = kCity;
                else if (kindIndex(name) >= 0)
                    t.ref = kindIndex(name);
                pattern.tokens.push_back(t);
                i = close;
            } else if (text[i] == '#') {
                flush();
                int count = 0;
                while (i < text.size() && text[i] == '#' && !(i + 1 < text.size() && text[i + 1] == '{')) {
                    ++count;
                    ++i;
                }
                --i;
                pattern.tokens.push_back({Token::Digits, {}, -1, count});
            } else if (text[i] == '?') {
                flush();
                pattern.tokens.push_back({Token::Letter, {}, -1, 1});
            } else {
                literal += text[i];
            }
        }
        flush();
        kind.patterns.push_back(std::move(pattern));
        kind.pick.add(patternWeight(p));
        if (p.kind == "street_address" && p.pattern.find("#{road") == std::string::npos)
            m_streetPattern = static_cast<int>(kind.patterns.size() - 1);
    }
    m_streetAddress = kindIndex("street_address");
    m_secondary = kindIndex("secondary_address");

    for (size_t i = 0; i < m_suffixes.size(); ++i) {
        const uint32_t weight = seedWeight(seeds, "suffix", m_suffixes[i]);
        m_corporatePick.add(isFamilySuffix(m_suffixes[i]) ? 0 : weight);
    }
    if (m_corporatePick.total() == 0)
        m_corporatePick = m_suffixPick;
}

uint32_t SampleNames::seedWeight(const SampleSeeds& seeds, const char* kind, const std::string& word)
{
    for (const SeedCompanyWord& w : seeds.companyWords) {
        if (w.kind == kind && printed(w.word) == word)
            return w.weight;
    }
    return 1;
}

void SampleNames::prepare(const SampleSeeds& seeds, const std::vector<SampleRubro>& rubros)
{
    // A trade's own heads ("TRANSPORTES" for a transport rubro) and the generic ones.
    for (const SampleRubro& r : rubros) {
        if (r.id < 0)
            continue;
        if (static_cast<size_t>(r.id) >= m_rubroHeads.size())
            m_rubroHeads.resize(static_cast<size_t>(r.id) + 1);
        Heads& heads = m_rubroHeads[static_cast<size_t>(r.id)];
        for (size_t i = 0; i < m_heads.size(); ++i) {
            const std::string& head = m_heads[i];
            const bool generic =
                std::find(std::begin(kGenericHeads), std::end(kGenericHeads), head) != std::end(kGenericHeads);
            if (generic || (head.size() >= 5 && r.name.find(head.substr(0, 5)) != std::string::npos)) {
                heads.words.push_back(i);
                heads.pick.add(seedWeight(seeds, "head", head));
            }
        }
    }
}

const std::string& SampleNames::head(Random& random, const SampleRubro* rubro) const
{
    if (rubro && rubro->id >= 0 && static_cast<size_t>(rubro->id) < m_rubroHeads.size()) {
        const Heads& heads = m_rubroHeads[static_cast<size_t>(rubro->id)];
        if (!heads.words.empty())
            return m_heads[heads.words[heads.pick.pick(random)]];
    }
    return m_heads[std::min(m_headPick.pick(random), m_heads.size() - 1)];
}

int SampleNames::kindIndex(const std::string& name) const
{
    for (size_t i = 0; i < m_kindNames.size(); ++i) {
        if (m_kindNames[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

void SampleNames::expand(Random& random, int kindIndex, std::string_view nearby, std::string& out) const
{
    if (kindIndex == kStreet) {
        out += m_streets[m_streetPick.pick(random)];
        return;
    }
    if (kindIndex == kCity || kindIndex == kOther) {
        out += nearby;
        return;
    }
    if (kindIndex < 0 || static_cast<size_t>(kindIndex) >= m_kinds.size())
        return;
    const Kind& kind = m_kinds[static_cast<size_t>(kindIndex)];
    if (kind.patterns.empty())
        return;
    expandPattern(random, kind.patterns[kind.pick.pick(random)], nearby, out);
}

void SampleNames::expandPattern(Random& random, const Pattern& pattern, std::string_view nearby, std::string& out) const
{
    for (const Token& t : pattern.tokens) {
        switch (t.type) {
        case Token::Text: out += t.text; break;
        case Token::Digits:
            // No leading zero: "0123" is not how a number is written.
            out.push_back(static_cast<char>('1' + random.below(9)));
            for (int d = 1; d < t.count; ++d)
                out.push_back(static_cast<char>('0' + random.below(10)));
            break;
        case Token::Letter: out.push_back(static_cast<char>('A' + random.below(8))); break;
        case Token::Ref: expand(random, t.ref, nearby, out); break;
        }
    }
}

const std::string& SampleNames::surname(Random& random) const
{
    return m_surnames[m_surnamePick.pick(random)];
}

char SampleNames::initial(Random& random, bool female) const
{
    const int sex = female ? 1 : 0;
    return m_given[sex][m_givenPick[sex].pick(random)][0];
}

void SampleNames::given(Random& random, bool female, bool keepAccents, std::string& out) const
{
    const int sex = female ? 1 : 0;
    const size_t i = m_givenPick[sex].pick(random);
    appendSpaced(out, keepAccents ? m_givenAccented[sex][i] : m_given[sex][i]);
}

void SampleNames::person(Random& random, bool female, bool keepAccents, std::string& out) const
{
    const auto& surnames = keepAccents ? m_surnamesAccented : m_surnames;
    appendSpaced(out, surnames[m_surnamePick.pick(random)]);
    const uint32_t form = random.below(10000);
    if (form < 3800) {
        given(random, female, keepAccents, out);
    } else if (form < 6000) {
        given(random, female, keepAccents, out);
        given(random, female, keepAccents, out);
    } else if (form < 7800) {
        given(random, female, keepAccents, out);
        out.push_back(' ');
        out.push_back(initial(random, female));
    } else if (form < 8500) {
        appendSpaced(out, surnames[m_surnamePick.pick(random)]);
        given(random, female, keepAccents, out);
    } else if (form < 9000) {
        for (int k = 0; k < 2; ++k) {
            out.push_back(' ');
            out.push_back(initial(random, female));
        }
    } else if (female) {
        // A married woman under her husband's surname: "PEREZ DE LOPEZ MARIA".
        out += " DE ";
        out += surnames[m_surnamePick.pick(random)];
        given(random, true, keepAccents, out);
    } else {
        given(random, false, keepAccents, out);
        if (form >= 9700)
            out += " (H)"; // the son of a namesake
    }
}

void SampleNames::appendWords(Random& random, const std::vector<std::string>& words, const WeightedPick& pick,
                              std::string& out) const
{
    appendSpaced(out, words[std::min(pick.pick(random), words.size() - 1)]);
}

void SampleNames::company(Random& random, const SampleRubro* rubro, std::string& out, std::string& core) const
{
    const size_t start = out.size();
    // 0: no suffix, 1: a company form (SA, SRL), 2: any, family ones included (E HIJOS, HNOS).
    int suffix = 1;
    if (rubro && !rubro->shopNoun.empty() && random.below(10000) < 6000) {
        appendSpaced(out, rubro->shopNoun);
        if (random.below(2) == 0) {
            appendWords(random, m_fantasies, m_fantasyPick, out);
            suffix = random.chance(1500) ? 1 : 0;
        } else {
            appendSpaced(out, surname(random));
            suffix = random.chance(2000) ? 2 : 0;
        }
    } else {
        const uint32_t form = random.below(10000);
        if (form < 2500) {
            appendSpaced(out, head(random, rubro));
            appendSpaced(out, surname(random));
            suffix = 2;
        } else if (form < 4200) {
            appendSpaced(out, surname(random));
            suffix = 2;
        } else if (form < 5900) {
            appendWords(random, m_fantasies, m_fantasyPick, out);
        } else if (form < 7300) {
            appendSpaced(out, head(random, rubro));
            appendWords(random, m_places, m_placePick, out);
        } else if (form < 8300) {
            appendSpaced(out, surname(random));
            out += " Y ";
            out += surname(random);
        } else if (form < 9200) {
            appendSpaced(out, head(random, rubro));
            appendWords(random, m_fantasies, m_fantasyPick, out);
            suffix = random.chance(4000) ? 1 : 0;
        } else {
            // A one-person business under its owner's name.
            person(random, random.below(3) == 0, false, out);
            suffix = 0;
        }
    }
    core.assign(out, start, std::string::npos);
    if (suffix == 2)
        appendWords(random, m_suffixes, m_suffixPick, out);
    else if (suffix == 1)
        appendWords(random, m_suffixes, m_corporatePick, out);
}

void SampleNames::professional(Random& random, const SampleRubro& rubro, std::string& out, std::string& core) const
{
    const size_t start = out.size();
    const bool female = random.below(100) < 48;
    const std::string& title = rubro.titles[female ? 1 : 0];
    if ((title == "DR." || title == "CDOR." || title == "ARQ." || title == "ESC.") && random.chance(1200)) {
        appendSpaced(out, "ESTUDIO");
        appendSpaced(out, surname(random));
        if (random.below(2) == 0) {
            out += " Y ASOC.";
        } else {
            out += " - ";
            out += surname(random);
        }
        core.assign(out, start, std::string::npos);
        return;
    }
    appendSpaced(out, surname(random));
    given(random, female, false, out);
    const uint32_t form = random.below(100);
    if (form < 35) {
        given(random, female, false, out);
    } else if (form < 65) {
        out.push_back(' ');
        out.push_back(initial(random, female));
        out.push_back('.');
    }
    core.assign(out, start, std::string::npos);
    if (!title.empty())
        appendSpaced(out, title);
}

void SampleNames::address(Random& random, bool town, std::string_view nearby, std::string& out) const
{
    // Roads and accesses only outside the large towns, and never to the town itself.
    const size_t start = out.size();
    if (town || m_streetPattern < 0 || m_streetAddress < 0)
        expandPattern(random,
                      m_kinds[static_cast<size_t>(m_streetAddress < 0 ? 0 : m_streetAddress)]
                          .patterns[static_cast<size_t>(std::max(m_streetPattern, 0))],
                      nearby, out);
    else
        expand(random, m_streetAddress, nearby, out);
    if (out.find(',', start) != std::string::npos)
        return; // a road: no floors
    if (!random.chance(town ? 2800 : 600))
        return;
    if (random.below(2) == 0) {
        out += " PISO ";
        appendNumber(out, 1 + random.below(random.below(4) == 0 ? 14 : 6));
        out += random.below(3) == 0 ? " OF. " : " DPTO ";
        if (random.below(3) == 0)
            appendNumber(out, 1 + random.below(9));
        else
            out.push_back(static_cast<char>('A' + random.below(8)));
    } else if (m_secondary >= 0) {
        out.push_back(' ');
        expand(random, m_secondary, nearby, out);
    }
}

void SampleNames::web(Random& random, const std::string& core, std::string& out) const
{
    out += "WWW.";
    out += domainLabel(core);
    out += random.below(5) == 0 ? ".COM" : ".COM.AR";
}

void SampleNames::companyMail(Random& random, const std::string& core, std::string& out) const
{
    if (random.below(4) == 0) {
        out += domainLabel(core, 16);
        out.push_back('@');
        out += kMailProviders[random.below(std::size(kMailProviders))];
        return;
    }
    out += kMailboxes[random.below(std::size(kMailboxes))];
    out.push_back('@');
    out += domainLabel(core);
    out += ".COM.AR";
}

void SampleNames::personMail(Random& random, std::string_view name, std::string& out) const
{
    // The given name's initial and the surname: "JGONZALEZ", sometimes with two digits.
    const size_t space = name.find(' ');
    const std::string_view surnameWord = name.substr(0, space);
    if (space != std::string_view::npos && space + 1 < name.size())
        out.push_back(name[space + 1]);
    out += domainLabel(surnameWord, 16);
    if (random.below(3) == 0)
        appendNumber(out, 10 + random.below(90));
    out.push_back('@');
    out += kMailProviders[random.below(std::size(kMailProviders))];
}

} // namespace sample
