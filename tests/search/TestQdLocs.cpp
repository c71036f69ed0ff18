#include "search/QdLocs.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::vector<uint8_t> bytesOf(std::string_view text)
{
    return {text.begin(), text.end()};
}

// Loads text through the file path, as start-up does.
void load(QdLocs& locs, std::string_view text)
{
    MemoryFiles fs;
    fs.put("da01.dat", bytesOf(text));
    ASSERT_TRUE(locs.LoadFile("da01.dat", fs.opener()));
}

std::vector<int32_t> listed(const std::array<int32_t, catalog::kGuideProvinces>& ids)
{
    std::vector<int32_t> out;
    for (const int32_t id : ids) {
        if (id == 0)
            break;
        out.push_back(id);
    }
    return out;
}

std::vector<int32_t> listedNumbers(const std::array<int32_t, catalog::kGuideUsefulNumbers>& ids)
{
    std::vector<int32_t> out;
    for (const int32_t id : ids) {
        if (id == 0)
            break;
        out.push_back(id);
    }
    return out;
}

TEST(QdLocsLoad, ReadsEveryKindOfLine)
{
    QdLocs locs;
    load(locs, "P;1;BUENOS AIRES\r\n"
               "G;3;GUIA NORTE\r\n"
               "L;10;Tandil;1;3;249\r\n"
               "R;5;ABOGADOS;P;6,7;\r\n"
               "S;34;34;ESPA\xD1"
               "A;+4;+5;Nota uno|Nota dos\r\n"
               "C;34;95;Sevilla\r\n"
               "U;4;POLICIA;101;3\r\n");
    EXPECT_EQ(locs.ProvinceName(1), "BUENOS AIRES");
    EXPECT_EQ(locs.guide(3).name, "GUIA NORTE");
    EXPECT_EQ(locs.LocalityName(10), "Tandil");
    EXPECT_EQ(locs.LocalityProvince(10), 1);
    EXPECT_EQ(locs.locality(10).areaCode, 249);
    EXPECT_TRUE(locs.locality(10).belongsTo(3));
    EXPECT_EQ(listed(locs.guide(3).provinces), std::vector<int32_t>{1});
    EXPECT_EQ(locs.RubroName(5), "ABOGADOS");
    EXPECT_EQ(locs.rubro(5).kind, 'P');
    EXPECT_EQ(locs.RubroSeeAlso(5), "6,7");
    EXPECT_EQ(locs.RubroRedirect(5), "");
    EXPECT_EQ(locs.country(34).name, "ESPA\xD1"
                                     "A");
    EXPECT_EQ(locs.CountryDialCode(34), "34");
    EXPECT_EQ(locs.CountryTimeText(34, 'I'), "+4");
    EXPECT_EQ(locs.CountryTimeText(34, 'V'), "+5");
    EXPECT_EQ(locs.CountryTimeText(34, 'X'), "");
    EXPECT_EQ(locs.CountryNotes(34), "Nota uno|Nota dos");
    ASSERT_EQ(locs.cities().size(), 1u);
    EXPECT_EQ(locs.cities()[0].country, 34);
    EXPECT_EQ(locs.cities()[0].code, "95");
    EXPECT_EQ(locs.cities()[0].name, "Sevilla");
    EXPECT_EQ(locs.UsefulNumberEntity(4), "POLICIA");
    EXPECT_EQ(locs.UsefulNumberNumber(4), "101");
    EXPECT_EQ(listedNumbers(locs.GuideUsefulNumbers(3)), std::vector<int32_t>{4});
}

TEST(QdLocsLoad, LineFraming)
{
    QdLocs locs;
    // LF-only line ends, a CR kept inside a field, a last line without its line end, a separator
    // other than ';' in column 1, lower-case and unknown letters, empty lines.
    locs.loadText("P;1;UNO\n"
                  "P;2;DO\rS\r\n"
                  "\r\n"
                  "\n"
                  "p;3;LOWER\r\n"
                  "X;4;OTHER\r\n"
                  "P 5;SPACE\r\n"
                  "P;6;LAST");
    EXPECT_EQ(locs.ProvinceName(1), "UNO");
    EXPECT_EQ(locs.ProvinceName(2), "DO\rS");
    EXPECT_EQ(locs.ProvinceName(3), "");
    EXPECT_EQ(locs.ProvinceName(4), "");
    EXPECT_EQ(locs.ProvinceName(5), "SPACE");
    EXPECT_EQ(locs.ProvinceName(6), "LAST");
}

TEST(QdLocsLoad, FieldsAndNumbers)
{
    QdLocs locs;
    locs.loadText("L;  7xyz; Con blancos ;-3;+2;0351abc\r\n" // blanks kept in texts; numbers end at junk
                  "L;8;Sin campos\r\n"                       // missing trailing fields read as 0
                  "L;9;Extra;1;2;3;4;5\r\n"                  // extra fields ignored
                  "L;10;Grande;1;2;99999999999\r\n"          // saturates instead of wrapping
                  "L;11;Negativo;1;2;-99999999999\r\n"
                  "L;abc;Sin id\r\n" // no digits: id 0, ignored
                  "S;20;;NAME\r\n"); // empty dial code reads 0
    EXPECT_EQ(locs.LocalityName(7), " Con blancos ");
    EXPECT_EQ(locs.locality(7).province, -3);
    EXPECT_EQ(locs.locality(7).guide, 2);
    EXPECT_EQ(locs.locality(7).areaCode, 351);
    EXPECT_EQ(locs.locality(8).province, 0);
    EXPECT_EQ(locs.locality(8).guide, 0);
    EXPECT_EQ(locs.locality(8).areaCode, 0);
    EXPECT_EQ(locs.locality(9).areaCode, 3);
    EXPECT_EQ(locs.locality(10).areaCode, INT32_MAX);
    EXPECT_EQ(locs.locality(11).areaCode, INT32_MIN);
    EXPECT_EQ(locs.LocalityName(0), "");
    EXPECT_EQ(locs.CountryDialCode(20), "0");
}

TEST(QdLocsLoad, LaterLinesOverwriteButLocalitiesAccumulateGuides)
{
    QdLocs locs;
    load(locs, "P;1;VIEJA\r\n"
               "P;1;NUEVA\r\n"
               "P;2;OTRA\r\n"
               "L;10;Vieja;1;3;249\r\n"
               "L;10;Nueva;2;7;2266\r\n"
               "R;5;ABOGADOS;P;6,7;9\r\n"
               "R;5;ABOGADOS II;C\r\n"); // a shorter line replaces the whole entry
    EXPECT_EQ(locs.ProvinceName(1), "NUEVA");
    const QdLocalidad& l = locs.locality(10);
    EXPECT_EQ(l.name, "Nueva");
    EXPECT_EQ(l.province, 2);
    EXPECT_EQ(l.guide, 7);
    EXPECT_EQ(l.areaCode, 2266);
    EXPECT_TRUE(l.belongsTo(3));
    EXPECT_TRUE(l.belongsTo(7));
    EXPECT_FALSE(l.belongsTo(4));
    EXPECT_EQ(listed(locs.guide(3).provinces), std::vector<int32_t>{1});
    EXPECT_EQ(listed(locs.guide(7).provinces), std::vector<int32_t>{2});
    EXPECT_EQ(locs.RubroName(5), "ABOGADOS II");
    EXPECT_EQ(locs.rubro(5).kind, 'C');
    EXPECT_EQ(locs.RubroSeeAlso(5), "");
    EXPECT_EQ(locs.RubroRedirect(5), "");
}

TEST(QdLocsLoad, GuideProvincesInOrderOfFirstAppearanceWhateverTheOrderOfPLines)
{
    QdLocs locs;
    // The provinces are named only after the localities that refer to them.
    load(locs, "G;1;GUIA\r\n"
               "L;1;A;5;1;1\r\n"
               "L;2;B;3;1;1\r\n"
               "L;3;C;5;1;1\r\n"
               "L;4;D;9;1;1\r\n"
               "L;5;E;0;1;1\r\n"  // no province: not listed
               "L;6;F;30;1;1\r\n" // outside the province table: not listed
               "P;3;TRES\r\n"
               "P;5;CINCO\r\n"
               "P;9;NUEVE\r\n"
               "G;1;GUIA RENOMBRADA\r\n"); // a later G line keeps the lists
    EXPECT_EQ(listed(locs.guide(1).provinces), (std::vector<int32_t>{5, 3, 9}));
    EXPECT_EQ(locs.guide(1).name, "GUIA RENOMBRADA");
}

TEST(QdLocsLoad, UsefulNumbers)
{
    QdLocs locs;
    load(locs, "U;4;BOMBEROS;100;1,2,2\r\n" // the guide listed twice adds the number once
               "U;5;POLICIA;101;2; 1 ;99;0;,\r\n"
               "U;4;BOMBEROS;100;2\r\n" // the same number again stays once in guide 2
               "U;6;CON,COMA;102;1\r\n" // ',' ends the entity: "COMA" is the number, "102" a guide
               "U;50;FUERA;1;1\r\n");   // outside the table: ignored, guides too
    EXPECT_EQ(listedNumbers(locs.GuideUsefulNumbers(1)), (std::vector<int32_t>{4, 5, 6}));
    EXPECT_EQ(listedNumbers(locs.GuideUsefulNumbers(2)), (std::vector<int32_t>{4, 5}));
    EXPECT_EQ(locs.UsefulNumberEntity(6), "CON");
    EXPECT_EQ(locs.UsefulNumberNumber(6), "COMA");
    EXPECT_EQ(locs.UsefulNumberEntity(50), "");
}

TEST(QdLocsLoad, IdsOutsideTheirTablesAreIgnored)
{
    QdLocs locs;
    locs.loadText("P;0;CERO\r\nP;30;TREINTA\r\nP;-1;NEG\r\nP;29;ULTIMA\r\n"
                  "G;60;X\r\nL;6000;X;1;1;1\r\nR;12000;X;C\r\nR;11999;LAST;C\r\nS;250;X\r\nU;0;X;1;1\r\n"
                  "L;0;CERO;1;2;3\r\n"       // id 0 names nothing: no guide list changes either
                  "L;12;SinGuia;1;60;11\r\n" // guide outside the table: locality kept, no guide
                  "L;13;GuiaCero;1;0;11\r\n");
    EXPECT_EQ(locs.ProvinceName(0), "");
    EXPECT_EQ(locs.ProvinceName(30), "");
    EXPECT_EQ(locs.ProvinceName(29), "ULTIMA");
    EXPECT_EQ(locs.RubroName(11999), "LAST");
    EXPECT_EQ(locs.RubroName(12000), "");
    EXPECT_EQ(locs.LocalityName(6000), "");
    EXPECT_EQ(locs.LocalityName(0), "");
    EXPECT_EQ(listed(locs.guide(2).provinces), std::vector<int32_t>{});
    EXPECT_EQ(locs.LocalityName(12), "SinGuia");
    EXPECT_EQ(locs.LocalityName(13), "GuiaCero");
    EXPECT_EQ(listed(locs.guide(0).provinces), std::vector<int32_t>{});
    for (int32_t g = 0; g < catalog::kGuideSlots; ++g)
        EXPECT_FALSE(locs.locality(12).belongsTo(g)) << g;
}

TEST(QdLocsLoad, CitiesInFileOrderUpToTheCapacity)
{
    std::string text;
    for (int i = 0; i < catalog::kCityCapacity + 5; ++i)
        text += "C;" + std::to_string(1 + i % 3) + ";" + std::to_string(i) + ";City" + std::to_string(i) + "\r\n";
    QdLocs locs;
    load(locs, text);
    ASSERT_EQ(locs.cities().size(), static_cast<size_t>(catalog::kCityCapacity));
    EXPECT_EQ(locs.cities().front().name, "City0");
    EXPECT_EQ(locs.cities().back().name, "City" + std::to_string(catalog::kCityCapacity - 1));
}

TEST(QdLocsLoad, LineLengthLimit)
{
    const std::string atLimit = "P;1;" + std::string(catalog::kMaxLineLength - 4, 'A');
    ASSERT_EQ(atLimit.size(), catalog::kMaxLineLength);
    // Over the limit; the part past the limit looks like a line of its own and must not be read as one.
    std::string overLimit = "P;2;" + std::string(catalog::kMaxLineLength - 4, 'B');
    overLimit += "P;3;TAIL";
    QdLocs locs;
    load(locs, atLimit + "\r\n" + overLimit + "\r\n" + "P;4;NEXT\r\n" + overLimit);
    EXPECT_EQ(locs.ProvinceName(1).size(), catalog::kMaxLineLength - 4);
    EXPECT_EQ(locs.ProvinceName(2), "");
    EXPECT_EQ(locs.ProvinceName(3), "");
    EXPECT_EQ(locs.ProvinceName(4), "NEXT");

    // One character more than the limit, with and without its CR.
    locs.loadText(atLimit + "X\r\nP;5;OK\r\n" + atLimit + "X");
    EXPECT_EQ(locs.ProvinceName(1), "");
    EXPECT_EQ(locs.ProvinceName(5), "OK");
}

TEST(QdLocsLoad, LinesSplitAcrossReadChunksAreJoined)
{
    // Lines long enough to straddle the loader's 64 KiB reads.
    std::string text;
    for (int i = 1; i < catalog::kLocalitySlots; ++i)
        text += "L;" + std::to_string(i) + ";" + std::string(20, 'a') + std::to_string(i) + ";1;1;" +
                std::to_string(i) + "\r\n";
    QdLocs locs;
    load(locs, text);
    for (int i = 1; i < catalog::kLocalitySlots; ++i) {
        ASSERT_EQ(locs.LocalityName(i), std::string(20, 'a') + std::to_string(i)) << i;
        ASSERT_EQ(locs.locality(i).areaCode, i);
    }
}

TEST(QdLocsLoad, TextAfterAByteZeroIsIgnored)
{
    QdLocs locs;
    locs.loadText(std::string("P;1;AB\0CD\r\nP;2;X\r\n", 18));
    EXPECT_EQ(locs.ProvinceName(1), "AB");
    EXPECT_EQ(locs.ProvinceName(2), "X");
}

TEST(QdLocsLoad, MissingOrUnreadableFileLeavesEmptyTables)
{
    QdLocs locs;
    locs.loadText("P;1;UNO\r\n");
    MemoryFiles fs;
    EXPECT_FALSE(locs.LoadFile("missing.dat", fs.opener()));
    EXPECT_EQ(locs.ProvinceName(1), ""); // an earlier load does not survive a failed one

    // A read that fails after the first chunk: nothing half-read stays.
    std::string text;
    for (int i = 1; i < 5000; ++i)
        text += "L;" + std::to_string(i) + ";" + std::string(40, 'x') + ";1;1;1\r\n";
    ASSERT_GT(text.size(), 64u * 1024);
    const SourceOpener failing = [&](const std::string&) -> std::unique_ptr<ByteSource> {
        return std::make_unique<FailingSource>(bytesOf(text), 64 * 1024, nullptr);
    };
    EXPECT_FALSE(locs.LoadFile("da01.dat", failing));
    EXPECT_EQ(locs.LocalityName(1), "");

    fs.put("empty.dat", {});
    EXPECT_TRUE(locs.LoadFile("empty.dat", fs.opener()));
    EXPECT_TRUE(locs.ListLocalities(0).empty());
}

TEST(QdLocsLookup, OutsideAndAbsentIdsGiveEmptyResults)
{
    QdLocs locs;
    load(locs, "L;1;;4;1;11\r\n" // no name: absent
               "S;2;;\r\n");
    for (const int32_t id : {-1, 0, 1, 6000, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(locs.LocalityName(id), "") << id;
        EXPECT_EQ(locs.LocalityProvince(id), 0) << id;
        EXPECT_EQ(locs.ProvinceName(id), "") << id;
        EXPECT_EQ(locs.RubroName(id), "") << id;
        EXPECT_EQ(locs.CountryDialCode(id), "") << id;
        EXPECT_EQ(locs.CountryNotes(id), "") << id;
        EXPECT_EQ(locs.CountryTimeText(id, 'I'), "") << id;
        EXPECT_EQ(locs.UsefulNumberEntity(id), "") << id;
        EXPECT_EQ(locs.redirectTarget(id), 0) << id;
        EXPECT_EQ(locs.GuideUsefulNumbers(id)[0], 0) << id;
    }
    EXPECT_EQ(locs.CountryDialCode(2), "");
}

TEST(QdLocsLookup, RedirectTargetNamesAPresentRubroAnywhereInTheTable)
{
    QdLocs locs;
    load(locs, "R;1;SIN;C\r\n"
               "R;2;A ALTO;C;;11000\r\n"
               "R;3;A NADIE;C;;77\r\n"
               "R;4;BASURA;C;;abc\r\n"
               "R;5;FUERA;C;;12000\r\n"
               "R;11000;DESTINO;C\r\n");
    EXPECT_EQ(locs.redirectTarget(1), 0);
    EXPECT_EQ(locs.redirectTarget(2), 11000);
    EXPECT_EQ(locs.redirectTarget(3), 0);
    EXPECT_EQ(locs.redirectTarget(4), 0);
    EXPECT_EQ(locs.redirectTarget(5), 0);
    EXPECT_EQ(locs.RubroRedirect(3), "77");
}

TEST(QdLocsRows, LocalitiesCitiesAndUsefulNumbers)
{
    QdLocs locs;
    load(locs, "L;2;Neuqu\xE9n;7;1;299\r\n"
               "L;1;ca\xF1uelas;1;1;2226\r\n"
               "L;3;Tandil;1;1;249\r\n"
               "L;4;;1;1;1\r\n"
               "C;5;11;Primera\r\n" // the first C line is a city like the others
               "C;6;22;Otra\r\n"
               "C;5;33;Segunda\r\n"
               "U;1;SIN NUMERO;;2\r\n"
               "U;2;POLICIA;101;2\r\n"
               "U;3;BOMBEROS;100;2\r\n");
    const auto all = locs.ListLocalities(0);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].name, "ca\xF1uelas");
    EXPECT_EQ(all[0].upperName, "CA\xD1UELAS");
    EXPECT_EQ(all[0].areaCode, "2226");
    EXPECT_EQ(all[1].upperName, "NEUQU\xC9N");
    const auto ofOne = locs.ListLocalities(1);
    ASSERT_EQ(ofOne.size(), 2u);
    EXPECT_EQ(ofOne[0].id, 1);
    EXPECT_EQ(ofOne[1].id, 3);
    EXPECT_TRUE(locs.ListLocalities(9).empty());

    const auto cities = locs.ListCities(5);
    ASSERT_EQ(cities.size(), 2u);
    EXPECT_EQ(cities[0].name, "Primera");
    EXPECT_EQ(cities[0].code, "11");
    EXPECT_EQ(cities[1].name, "Segunda");
    EXPECT_EQ(locs.ListCities(0).size(), 3u);
    EXPECT_TRUE(locs.ListCities(7).empty());

    const auto numbers = locs.usefulNumberRows(2);
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0].entity, "POLICIA");
    EXPECT_EQ(numbers[1].number, "100");
    EXPECT_TRUE(locs.usefulNumberRows(0).empty());
}

} // namespace
