#include "engine/Cp1252.h"
#include "search/QdLocs.h"
#include "search/SpanishCollation.h"
#include "search/TypeAhead.h"
#include "tests/support/MemoryCatalogList.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

namespace {

std::string cp(const char* utf8)
{
    std::string out;
    EXPECT_TRUE(cp1252::fromUtf8(utf8, out)) << utf8;
    return out;
}

// A straightforward reference: each character spelled out as (letters, accent, case) from a table
// written in UTF-8, and texts compared level by level as tuples.
class Reference {
public:
    Reference()
    {
        const struct {
            const char* upper;
            const char* lower;
            const char* letters;
            int accent;
        } table[] = {
            {"Á", "á", "A", 1}, {"À", "à", "A", 2},  {"Â", "â", "A", 3},  {"Ä", "ä", "A", 4}, {"Ã", "ã", "A", 5},
            {"Å", "å", "A", 6}, {"Æ", "æ", "AE", 0}, {"Ç", "ç", "C", 7},  {"É", "é", "E", 1}, {"È", "è", "E", 2},
            {"Ê", "ê", "E", 3}, {"Ë", "ë", "E", 4},  {"Í", "í", "I", 1},  {"Ì", "ì", "I", 2}, {"Î", "î", "I", 3},
            {"Ï", "ï", "I", 4}, {"Ñ", "ñ", "N~", 0}, {"Ó", "ó", "O", 1},  {"Ò", "ò", "O", 2}, {"Ô", "ô", "O", 3},
            {"Ö", "ö", "O", 4}, {"Õ", "õ", "O", 5},  {"Ú", "ú", "U", 1},  {"Ù", "ù", "U", 2}, {"Û", "û", "U", 3},
            {"Ü", "ü", "U", 4}, {"Ý", "ý", "Y", 1},  {"Œ", "œ", "OE", 0}, {"Š", "š", "S", 8}, {"Ž", "ž", "Z", 8},
        };
        for (const auto& t : table) {
            m_chars[cp(t.upper)[0]] = {t.letters, t.accent, 1};
            m_chars[cp(t.lower)[0]] = {t.letters, t.accent, 0};
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            m_chars[c] = {std::string(1, c), 0, 1};
            m_chars[static_cast<char>(c - 'A' + 'a')] = {std::string(1, c), 0, 0};
        }
        m_chars[cp("ß")[0]] = {"SS", 0, 0};
        m_chars[cp("ª")[0]] = {"A", 0, 0};
        m_chars[cp("º")[0]] = {"O", 0, 0};
    }

    // The letter string uses '~' after N for Ñ, and maps punctuation below digits below letters.
    [[nodiscard]] auto levels(const std::string& text) const
    {
        std::vector<int> letters, accents, cases;
        for (const char c : text) {
            const auto it = m_chars.find(c);
            if (it == m_chars.end()) {
                const auto u = static_cast<unsigned char>(c);
                letters.push_back(u >= '0' && u <= '9' ? 1000 + u : u);
                accents.push_back(0);
                cases.push_back(0);
                continue;
            }
            for (const char l : it->second.letters) {
                if (l == '~') {
                    letters.back() += 1; // Ñ: just after N, before O
                    continue;
                }
                letters.push_back(2000 + 2 * (l - 'A'));
                accents.push_back(it->second.accent);
                cases.push_back(it->second.upper);
            }
        }
        return std::make_tuple(letters, accents, cases, text);
    }

private:
    struct Char {
        std::string letters;
        int accent = 0;
        int upper = 0;
    };
    std::map<char, Char> m_chars;
};

TEST(SpanishCollation, PlacesAccentsAfterTheirLetterAndEnyeAfterN)
{
    const std::vector<const char*> ordered = {
        "- TODAS -",  "25 DE MAYO", "ÁVILA", "BUENOS AIRES", "córdoba", "CÓRDOBA", "CORRIENTES",
        "ENTRE RÍOS", "MAR",        "MARA",  "MARÁ",         "NUEVA",   "NUEVO",   "ÑANDÚ",
        "ÑANDUBAY",   "OBERÁ",      "PEREZ", "PÉREZ",        "PEREZA",  "TUCUMÁN", "ZÁRATE",
    };
    std::vector<std::string> texts;
    for (const char* t : ordered)
        texts.push_back(cp(t));
    for (size_t i = 0; i + 1 < texts.size(); ++i) {
        EXPECT_TRUE(collation::less(texts[i], texts[i + 1])) << ordered[i] << " before " << ordered[i + 1];
        EXPECT_FALSE(collation::less(texts[i + 1], texts[i])) << ordered[i + 1];
    }
    EXPECT_EQ(collation::compare(cp("CÓRDOBA"), cp("CÓRDOBA")), 0);
}

TEST(SpanishCollation, AgreesWithTheReferenceOnRandomNames)
{
    // Letters that differ in accent, case and expansion, with blanks, punctuation and digits.
    const std::vector<std::string> alphabet = {"A", "a", "Á", "à", "E", "é", "N", "n", "Ñ", "ñ", "O", "Ó",
                                               "Æ", "œ", "S", "ß", "Z", " ", "-", ".", "1", "9", "Ü", "ª"};
    std::vector<std::string> pieces;
    for (const std::string& a : alphabet)
        pieces.push_back(cp(a.c_str()));
    const Reference ref;
    std::mt19937 random(7);
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i) {
        std::string t;
        const int length = static_cast<int>(random() % 6);
        for (int k = 0; k < length; ++k)
            t += pieces[random() % pieces.size()];
        texts.push_back(t);
    }
    std::vector<std::string> byKey = texts;
    std::sort(byKey.begin(), byKey.end(), [](const auto& a, const auto& b) { return collation::less(a, b); });
    std::vector<std::string> byReference = texts;
    std::sort(byReference.begin(), byReference.end(),
              [&](const auto& a, const auto& b) { return ref.levels(a) < ref.levels(b); });
    ASSERT_EQ(byKey.size(), byReference.size());
    for (size_t i = 0; i < byKey.size(); ++i)
        ASSERT_EQ(cp1252::toUtf8(byKey[i]), cp1252::toUtf8(byReference[i])) << "at " << i;
    for (size_t i = 0; i + 1 < texts.size(); ++i) {
        const int c = collation::compare(texts[i], texts[i + 1]);
        EXPECT_EQ(c, -collation::compare(texts[i + 1], texts[i]));
        EXPECT_EQ(c == 0, texts[i] == texts[i + 1]);
    }
}

TEST(SpanishCollation, EveryCatalogListFillsInThisOrderAndTypeAheadStillMatchesPrefixes)
{
    const std::string catalog = cp("P;1;CORRIENTES\r\nP;2;CÓRDOBA\r\nP;3;ÑUBLE\r\nP;4;ZAPALA\r\nP;5;ÁREA NORTE\r\n"
                                   "P;6;NEUQUÉN\r\nG;1;GUÍA SUR\r\nG;2;GUIA NORTE\r\n"
                                   "L;1;Oberá;1;1;3755\r\nL;2;Ñandú;1;1;11\r\nL;3;Nogoyá;1;2;3435\r\n"
                                   "R;1;ÓPTICAS;C\r\nR;2;OBRAS;C\r\nR;3;ÑOQUIS;C\r\nR;4;NÁUTICA;C\r\n"
                                   "S;1;54;ARGENTINA\r\nS;2;34;ÉIRE\r\nS;3;49;ESPAÑA\r\nS;4;49;ESPANA\r\n");
    MemoryFiles files;
    files.put("da01.dat", std::vector<uint8_t>(catalog.begin(), catalog.end()));
    QdLocs locs;
    MemoryCatalogList guides, provinces, localities, rubros, countries;
    locs.BindSearchLists(guides, provinces, localities, rubros);
    locs.BindCountryList(countries);
    ASSERT_TRUE(locs.LoadFile("da01.dat", files.opener()));
    locs.FillGuides();
    ASSERT_TRUE(provinces.selectId(1));
    locs.FillLocalities();
    locs.FillRubros('C');
    locs.FillCountries();
    const auto utf8 = [](const MemoryCatalogList& l) {
        std::vector<std::string> out;
        for (const std::string& t : l.texts())
            out.push_back(cp1252::toUtf8(t));
        return out;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(utf8(guides), (Texts{"- TODAS -", "GUIA NORTE", "GUÍA SUR"}));
    EXPECT_EQ(utf8(provinces),
              (Texts{"- TODAS -", "ÁREA NORTE", "CÓRDOBA", "CORRIENTES", "NEUQUÉN", "ÑUBLE", "ZAPALA"}));
    EXPECT_EQ(utf8(localities), (Texts{"- TODAS -", "Nogoyá", "Ñandú", "Oberá"}));
    EXPECT_EQ(utf8(rubros), (Texts{"- TODOS -", "NÁUTICA", "ÑOQUIS", "OBRAS", "ÓPTICAS"}));
    EXPECT_EQ(utf8(countries), (Texts{"ARGENTINA", "ÉIRE", "ESPANA", "ESPAÑA"}));

    // Type-ahead completes to the first entry, in this order, that begins with the typed text.
    EXPECT_EQ(cp1252::toUtf8(typeAhead(provinces, "c").text), "CÓRDOBA");
    EXPECT_EQ(cp1252::toUtf8(typeAhead(provinces, "co").text), "CORRIENTES");
    EXPECT_EQ(cp1252::toUtf8(typeAhead(provinces, cp("có")).text), "CÓRDOBA");
    EXPECT_EQ(cp1252::toUtf8(typeAhead(provinces, "n").text), "NEUQUÉN");
    EXPECT_EQ(cp1252::toUtf8(typeAhead(provinces, cp("ñ")).text), "ÑUBLE");
}

} // namespace
