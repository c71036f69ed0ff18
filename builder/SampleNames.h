// SampleNames: composes the texts of sample listings the way printed guides set them: residential
// names ("GONZALEZ JUAN CARLOS", "PEREZ DE LOPEZ MARIA"), company names from the company words
// ("DISTRIBUIDORA GOMEZ SRL", "FERRETERIA EL PROGRESO"), professionals ("GARCIA ANA M. DRA."),
// street addresses from the address patterns ("AV. SAN MARTIN 1234 PISO 2 DPTO B"), web and mail
// addresses. Everything is appended to caller-owned buffers, so composing allocates nothing once
// the buffers have grown. Draws from the Random it is given; one thread.
#pragma once

#include "builder/SampleCatalog.h"
#include "builder/SampleRandom.h"
#include "builder/SampleSeeds.h"

#include <string>
#include <vector>

namespace sample {

class SampleNames {
public:
    explicit SampleNames(const SampleSeeds& seeds);
    // Learns which company heads suit each rubro ("TRANSPORTES" a transport rubro); before company().
    void prepare(const SampleSeeds& seeds, const std::vector<SampleRubro>& rubros);

    // A person: "SURNAME GIVEN..." in one of the printed forms. female picks the given names.
    void person(Random& random, bool female, bool keepAccents, std::string& out) const;
    // A business name; core receives the name without its company suffix (for web addresses).
    // rubro may be null (a business of the alphabetical guide).
    void company(Random& random, const SampleRubro* rubro, std::string& out, std::string& core) const;
    // A professional of a rubro whose members are listed by name: "LOPEZ MARIA INES LIC.".
    void professional(Random& random, const SampleRubro& rubro, std::string& out, std::string& core) const;
    // A street address; in a large town no roads and more flats. nearby is the place a road leads
    // to ("CAMINO A ...").
    void address(Random& random, bool town, std::string_view nearby, std::string& out) const;
    // "WWW.ELPROGRESO.COM.AR" from a name's core.
    void web(Random& random, const std::string& core, std::string& out) const;
    // A business mailbox from the core, or a person's mailbox at a mail provider.
    void companyMail(Random& random, const std::string& core, std::string& out) const;
    void personMail(Random& random, std::string_view name, std::string& out) const;

    [[nodiscard]] const std::string& surname(Random& random) const;

private:
    struct Token {
        enum Type : uint8_t { Text, Digits, Letter, Ref } type = Text;
        std::string text; // Text: the literal
        int ref = -1;     // Ref: the kind it expands
        int count = 0;    // Digits: how many
    };
    struct Pattern {
        std::vector<Token> tokens;
    };
    struct Kind {
        std::vector<Pattern> patterns;
        WeightedPick pick;
    };
    enum SpecialKind : int { kStreet = -2, kCity = -3, kOther = -4 };

    struct Heads {
        std::vector<size_t> words; // into m_heads
        WeightedPick pick;
    };

    void expand(Random& random, int kind, std::string_view nearby, std::string& out) const;
    void expandPattern(Random& random, const Pattern& pattern, std::string_view nearby, std::string& out) const;
    [[nodiscard]] char initial(Random& random, bool female) const;
    [[nodiscard]] const std::string& head(Random& random, const SampleRubro* rubro) const;
    static uint32_t seedWeight(const SampleSeeds& seeds, const char* kind, const std::string& word);
    [[nodiscard]] int kindIndex(const std::string& name) const;
    void given(Random& random, bool female, bool keepAccents, std::string& out) const;
    void appendWords(Random& random, const std::vector<std::string>& words, const WeightedPick& pick,
                     std::string& out) const;

    std::vector<std::string> m_kindNames;
    std::vector<Kind> m_kinds;
    int m_streetAddress = -1;
    int m_secondary = -1;
    int m_streetPattern = -1; // the street_address pattern that is not a road

    std::vector<std::string> m_surnames, m_surnamesAccented;
    WeightedPick m_surnamePick;
    std::vector<std::string> m_given[2], m_givenAccented[2]; // [0] men, [1] women
    WeightedPick m_givenPick[2];
    std::vector<std::string> m_streets;
    WeightedPick m_streetPick;
    std::vector<std::string> m_heads, m_places, m_fantasies, m_suffixes;
    WeightedPick m_headPick, m_placePick, m_fantasyPick, m_suffixPick;
    WeightedPick m_corporatePick;    // suffixes that need no family name before them (SA, SRL)
    std::vector<Heads> m_rubroHeads; // by rubro id
};

} // namespace sample
