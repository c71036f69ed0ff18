#include "search/TelephoneInfo.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> names(const std::vector<QdLocs::LocalityRow>& rows)
{
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.name);
    return out;
}

} // namespace

TEST(TelephoneInfo, LocalitiesSortByNameAndAllProvincesListEveryLocality)
{
    QdLocs locs;
    locs.loadText("P;1;BUENOS AIRES\nP;2;CORDOBA\n"
                  "L;1;Tandil;1;1;249\nL;2;azul;1;1;2281\nL;3;Carlos Paz;2;1;3541\nL;4;Alta Gracia;2;1;3547\n"
                  "L;5;AZUL;2;1;11\nL;6;;1;1;1\n");
    EXPECT_EQ(names(telinfo::localityRows(locs, 1)), (std::vector<std::string>{"azul", "Tandil"}));
    // Equal names keep id order; the nameless entry is absent.
    EXPECT_EQ(names(telinfo::localityRows(locs, 0)),
              (std::vector<std::string>{"Alta Gracia", "azul", "AZUL", "Carlos Paz", "Tandil"}));
    const auto rows = telinfo::localityRows(locs, 2);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].upperName, "ALTA GRACIA");
    EXPECT_EQ(rows[0].areaCode, "3547");
    EXPECT_TRUE(telinfo::localityRows(locs, 9).empty());

    EXPECT_EQ(telinfo::findLocality(rows, "car"), 2);
    EXPECT_EQ(telinfo::findLocality(rows, "A"), 0);
    EXPECT_EQ(telinfo::findLocality(rows, ""), 0);
    EXPECT_EQ(telinfo::findLocality(rows, "ZZ"), -1);
    EXPECT_EQ(telinfo::findLocality(rows, "Carlos Paz y más"), -1);
}

TEST(TelephoneInfo, CountryPageSplitsNotesAndNarrowsTheCodeColumnFromSixCities)
{
    QdLocs locs;
    std::string text = "S;1;34;ESPAÑA;+4 hs;+5 hs;Primera|Segunda|\nS;2;39;ITALIA;;;Sin separador\nS;3;1;EEUU;;;\n";
    for (int i = 0; i < 5; ++i)
        text += "C;1;9" + std::to_string(i) + ";Ciudad " + std::to_string(i) + "\n";
    for (int i = 0; i < 6; ++i)
        text += "C;2;0" + std::to_string(i) + ";Citta " + std::to_string(i) + "\n";
    locs.loadText(text);

    const telinfo::CountryPage spain = telinfo::countryPage(locs, 1);
    EXPECT_EQ(spain.dialCode, "34");
    EXPECT_EQ(spain.winter, "INVIERNO+4 hs");
    EXPECT_EQ(spain.summer, "VERANO+5 hs");
    EXPECT_EQ(spain.notes, (std::vector<std::string>{"Primera", "Segunda", ""}));
    EXPECT_EQ(spain.cities.size(), 5u);
    EXPECT_EQ(spain.codeColumnWidth, 99);

    const telinfo::CountryPage italy = telinfo::countryPage(locs, 2);
    EXPECT_EQ(italy.notes, std::vector<std::string>{"Sin separador"});
    EXPECT_EQ(italy.cities.size(), 6u);
    EXPECT_EQ(italy.codeColumnWidth, 83);
    EXPECT_EQ(italy.winter, "INVIERNO");

    const telinfo::CountryPage usa = telinfo::countryPage(locs, 3);
    EXPECT_TRUE(usa.notes.empty());
    EXPECT_TRUE(usa.cities.empty());
    EXPECT_EQ(telinfo::splitNotes("|"), (std::vector<std::string>{"", ""}));
}

TEST(TelephoneInfo, UsefulNumbersSkipEmptyNumbersAndTheChooserEntry)
{
    QdLocs locs;
    locs.loadText("G;1;GUIA NORTE\nU;1;BOMBEROS;100;1\nU;2;SIN NUMERO;;1\nU;3;POLICIA;101;1\nU;4;OTRA;102;2\n");
    const auto rows = telinfo::usefulNumbers(locs, 1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].entity, "BOMBEROS");
    EXPECT_EQ(rows[1].number, "101");
    EXPECT_TRUE(telinfo::usefulNumbers(locs, 0).empty());
}
