#include "builder/CatalogWriter.h"
#include "search/QdLocs.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Tables = CatalogWriter::Tables;

Tables sampleTables()
{
    Tables t;
    t.provinces = {{1, "BUENOS AIRES"}, {29, "TIERRA DEL FUEGO"}, {3, "C\xD3RDOBA"}};
    t.guides = {{3, "GUIA NORTE"}, {59, "GUIA SUR"}};
    t.localities = {{10, "Tandil", 1, {3, 59}, 249},
                    {5999, " Ushuaia ", 29, {59}, 2901},
                    {7, "R\xEDo Cuarto", 3, {59}, 358},
                    {8,
                     "Sin gu\xED"
                     "a",
                     0,
                     {},
                     0}};
    t.rubros = {{1,
                 "ZAPATER\xCD"
                 "AS",
                 'C',
                 {2, 11999},
                 0},
                {2, "ABOGADOS", 'P', {}, 0},
                {11999, "CALZADO", 'C', {}, 1},
                {4, "SIN TIPO", 0, {}, 0}};
    t.countries = {{34, 34,
                    "ESPA\xD1"
                    "A",
                    "+4 horas", "+5 horas", "Prefijo 0|Celulares 6|"},
                   {249, -1, "ULTIMO", "", "", ""}};
    t.cities = {{34, "95", "Sevilla"}, {249, "1", "Uno"}, {34, "91", "Madrid"}};
    t.usefulNumbers = {{4, "BOMBEROS", "100", {3, 59}},
                       {49,
                        "POLIC\xCD"
                        "A",
                        "101",
                        {59}},
                       {1, "SIN GUIA", "0", {}}};
    return t;
}

QdLocs& loadBack(QdLocs& locs, const std::vector<uint8_t>& bytes)
{
    MemoryFiles fs;
    fs.put("da01.dat", bytes);
    EXPECT_TRUE(locs.LoadFile("da01.dat", fs.opener()));
    return locs;
}

std::string refusal(const Tables& t)
{
    std::vector<uint8_t> out{1, 2, 3};
    std::string error;
    EXPECT_FALSE(CatalogWriter::build(t, out, &error));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(error.empty());
    return error;
}

TEST(CatalogWriter, WritesLinesTheLoaderReadsBack)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(CatalogWriter::build(sampleTables(), bytes, &error)) << error;
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 18), "P;1;BUENOS AIRES\r\n");
    EXPECT_NE(text.find("L;10;Tandil;1;3;249\r\nL;10;Tandil;1;59;249\r\n"), std::string::npos);
    EXPECT_NE(text.find("R;1;ZAPATER\xCD"
                        "AS;C;2,11999;\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("U;4;BOMBEROS;100;3,59\r\n"), std::string::npos);

    QdLocs locs;
    loadBack(locs, bytes);
    EXPECT_EQ(locs.ProvinceName(3), "C\xD3RDOBA");
    EXPECT_EQ(locs.ProvinceName(29), "TIERRA DEL FUEGO");
    EXPECT_EQ(locs.guide(59).name, "GUIA SUR");
    EXPECT_EQ(locs.LocalityName(5999), " Ushuaia ");
    EXPECT_EQ(locs.LocalityProvince(7), 3);
    EXPECT_TRUE(locs.locality(10).belongsTo(3));
    EXPECT_TRUE(locs.locality(10).belongsTo(59));
    EXPECT_EQ(locs.locality(10).guide, 59);
    EXPECT_EQ(locs.locality(10).areaCode, 249);
    EXPECT_EQ(locs.LocalityName(8), "Sin gu\xED"
                                    "a");
    EXPECT_EQ(locs.guide(59).provinces[0], 1);
    EXPECT_EQ(locs.guide(59).provinces[1], 29);
    EXPECT_EQ(locs.guide(59).provinces[2], 3);
    EXPECT_EQ(locs.guide(59).provinces[3], 0);
    EXPECT_EQ(locs.RubroSeeAlso(1), "2,11999");
    EXPECT_EQ(locs.rubro(2).kind, 'P');
    EXPECT_EQ(locs.rubro(4).kind, '\0');
    EXPECT_EQ(locs.redirectTarget(11999), 1);
    EXPECT_EQ(locs.RubroRedirect(1), "");
    EXPECT_EQ(locs.CountryDialCode(34), "34");
    EXPECT_EQ(locs.CountryDialCode(249), "-1");
    EXPECT_EQ(locs.CountryTimeText(34, 'V'), "+5 horas");
    EXPECT_EQ(locs.CountryNotes(34), "Prefijo 0|Celulares 6|");
    ASSERT_EQ(locs.cities().size(), 3u);
    EXPECT_EQ(locs.ListCities(34).size(), 2u);
    EXPECT_EQ(locs.ListCities(34)[1].name, "Madrid");
    EXPECT_EQ(locs.GuideUsefulNumbers(59)[0], 4);
    EXPECT_EQ(locs.GuideUsefulNumbers(59)[1], 49);
    EXPECT_EQ(locs.UsefulNumberEntity(49), "POLIC\xCD"
                                           "A");
    EXPECT_EQ(locs.UsefulNumberNumber(1), "0");
}

TEST(CatalogWriter, FullTablesRoundTrip)
{
    Tables t;
    t.guides = {{1, "G"}};
    for (int32_t id = 1; id < catalog::kRubroSlots; ++id)
        t.rubros.push_back({id, "R" + std::to_string(id), id % 2 ? 'C' : 'P', {}, 0});
    for (int32_t id = 1; id < catalog::kLocalitySlots; ++id)
        t.localities.push_back({id, "L" + std::to_string(id), 1 + id % 29, {1}, id});
    for (int32_t id = 1; id < catalog::kUsefulNumberSlots; ++id)
        t.usefulNumbers.push_back({id, "E", std::to_string(id), {1}});
    for (int32_t i = 0; i < catalog::kCityCapacity; ++i)
        t.cities.push_back({1, std::to_string(i), "C"});
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(CatalogWriter::build(t, bytes, &error)) << error;
    QdLocs locs;
    loadBack(locs, bytes);
    EXPECT_EQ(locs.RubroName(11999), "R11999");
    EXPECT_EQ(locs.locality(5999).areaCode, 5999);
    EXPECT_EQ(locs.cities().size(), static_cast<size_t>(catalog::kCityCapacity));
    EXPECT_EQ(locs.GuideUsefulNumbers(1)[48], 49);
    int provinces = 0;
    for (const int32_t p : locs.guide(1).provinces)
        provinces += p != 0;
    EXPECT_EQ(provinces, 29);
}

TEST(CatalogWriter, LineAtTheLimitIsWrittenOneMoreIsRefused)
{
    Tables t;
    const std::string head = "P;1;";
    t.provinces = {{1, std::string(catalog::kMaxLineLength - head.size(), 'N')}};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(CatalogWriter::build(t, bytes));
    QdLocs locs;
    EXPECT_EQ(loadBack(locs, bytes).ProvinceName(1), t.provinces[0].name);

    t.provinces[0].name += 'N';
    EXPECT_NE(refusal(t).find("1500 characters"), std::string::npos);

    // A long see-also list makes the line too long as well.
    Tables r;
    r.rubros = {{1, "R", 'C', std::vector<int32_t>(300, 11111), 0}};
    EXPECT_NE(refusal(r).find("rubro 1"), std::string::npos);
}

TEST(CatalogWriter, RefusesSeparatorsAndLineEndsInTexts)
{
    Tables t;
    t.provinces = {{1, "A;B"}};
    EXPECT_NE(refusal(t).find("province 1"), std::string::npos);
    t.provinces = {{1, "A\r\nP;2;B"}};
    refusal(t);
    t.provinces = {{1, std::string("A\0B", 3)}};
    refusal(t);

    Tables c;
    c.countries = {{5, 1, "PAIS", "", "", "nota;otra"}};
    EXPECT_NE(refusal(c).find("notes"), std::string::npos);
    c.countries = {{5, 1, "PAIS", "a\nb", "", ""}};
    refusal(c);

    // ',' ends a field only in U lines.
    Tables u;
    u.usefulNumbers = {{3, "CRUZ ROJA, FILIAL", "107", {}}};
    EXPECT_NE(refusal(u).find("entity"), std::string::npos);
    u.usefulNumbers = {{3, "CRUZ ROJA", "107,108", {}}};
    refusal(u);
    Tables ok;
    ok.provinces = {{1, "SANTIAGO, EL"}};
    ok.cities = {{1, "1,2", "A, B"}};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(CatalogWriter::build(ok, bytes));
    QdLocs locs;
    loadBack(locs, bytes);
    EXPECT_EQ(locs.ProvinceName(1), "SANTIAGO, EL");
    EXPECT_EQ(locs.cities()[0].name, "A, B");

    Tables k;
    k.rubros = {{1, "R", ';', {}, 0}};
    EXPECT_NE(refusal(k).find("kind"), std::string::npos);
}

TEST(CatalogWriter, RefusesWhatTheLoaderWouldDropOrMisread)
{
    Tables t;
    t.provinces = {{0, "CERO"}};
    EXPECT_NE(refusal(t).find("outside 1..29"), std::string::npos);
    t.provinces = {{30, "X"}};
    refusal(t);
    t.provinces = {{2, "A"}, {2, "B"}};
    EXPECT_NE(refusal(t).find("twice"), std::string::npos);
    t.provinces = {{2, ""}};
    EXPECT_NE(refusal(t).find("empty"), std::string::npos);

    Tables l;
    l.localities = {{1, "L", 30, {1}, 1}};
    EXPECT_NE(refusal(l).find("province 30"), std::string::npos);
    l.localities = {{1, "L", 1, {60}, 1}};
    refusal(l);
    l.localities = {{1, "L", 1, {0}, 1}};
    refusal(l);

    Tables r;
    r.rubros = {{1, "R", 'C', {12000}, 0}};
    refusal(r);
    r.rubros = {{1, "R", 'C', {}, -4}};
    refusal(r);

    Tables c;
    c.cities.assign(static_cast<size_t>(catalog::kCityCapacity) + 1, CatalogWriter::City{1, "1", "C"});
    EXPECT_NE(refusal(c).find("3001"), std::string::npos);
    c.cities = {{250, "1", "C"}};
    refusal(c);

    Tables u;
    u.usefulNumbers = {{50, "E", "1", {}}};
    refusal(u);
    u.usefulNumbers = {{1, "E", "1", {0}}};
    refusal(u);
}

TEST(CatalogWriter, SaveWritesTheFile)
{
    const std::string path = std::string(ORTELIA_BINARY_DIR) + "/catalog-writer-test.dat";
    std::string error;
    ASSERT_TRUE(CatalogWriter::save(sampleTables(), path, &error)) << error;
    QdLocs locs;
    ASSERT_TRUE(locs.LoadFile(path));
    EXPECT_EQ(locs.ProvinceName(1), "BUENOS AIRES");
    std::remove(path.c_str());
    EXPECT_FALSE(CatalogWriter::save(sampleTables(), std::string(ORTELIA_BINARY_DIR) + "/no/such/dir/x.dat", &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

} // namespace
