#include "search/CatalogFill.h"
#include "search/QdLocs.h"
#include "search/TypeAhead.h"
#include "tests/support/MemoryCatalogList.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;
using Ids = std::vector<int32_t>;

constexpr const char* kCatalog = "P;1;BUENOS AIRES\r\n"
                                 "P;2;CORDOBA\r\n"
                                 "P;3;MENDOZA\r\n"
                                 "G;3;GUIA TRES\r\n"
                                 "G;7;GUIA SIETE\r\n"
                                 "G;5;GUIA VACIA\r\n"
                                 "L;10;Tandil;1;3;249\r\n"
                                 "L;11;Azul;1;3;2281\r\n"
                                 "L;10;Tandil;1;7;2266\r\n"
                                 "L;12;Rio Cuarto;2;7;358\r\n"
                                 "L;13;Villa Maria;2;3;353\r\n"
                                 "R;1;ZAPATERIAS;C\r\n"
                                 "R;2;ABOGADOS;P\r\n"
                                 "R;3;BANCOS;Comercial\r\n"
                                 "R;4;SIN GUIA;\r\n"
                                 "S;1;54;ARGENTINA\r\n"
                                 "S;2;34;ESPA\xD1"
                                 "A\r\n"
                                 "S;3;49;ALEMANIA\r\n";

// The main window's search lists bound to catalogs loaded from kCatalog, filled as start-up does.
class SearchLists : public ::testing::Test {
protected:
    void SetUp() override
    {
        MemoryFiles fs;
        fs.put("da01.dat", std::vector<uint8_t>(kCatalog, kCatalog + std::string_view(kCatalog).size()));
        locs.BindSearchLists(guides, provinces, localities, rubros);
        ASSERT_TRUE(locs.LoadFile("da01.dat", fs.opener()));
        locs.FillGuides();
    }

    // A user's choice in a list and the refill that its change handler runs.
    void chooseGuide(int32_t id)
    {
        ASSERT_TRUE(guides.selectId(id));
        locs.FillProvinces();
        provinces.selectFirst();
    }
    void chooseProvince(int32_t id)
    {
        ASSERT_TRUE(provinces.selectId(id));
        locs.FillLocalities();
        localities.selectFirst();
    }

    QdLocs locs;
    MemoryCatalogList guides, provinces, localities, rubros;
};

TEST_F(SearchLists, StartUpFillsGuidesAndEveryProvinceAndLeavesLocalitiesEmpty)
{
    EXPECT_EQ(guides.texts(), (Texts{"- TODAS -", "GUIA SIETE", "GUIA TRES", "GUIA VACIA"}));
    EXPECT_EQ(guides.ids(), (Ids{0, 7, 3, 5}));
    EXPECT_EQ(guides.selectedIndex(), 0);
    EXPECT_TRUE(guides.sorted());
    EXPECT_EQ(provinces.texts(), (Texts{"- TODAS -", "BUENOS AIRES", "CORDOBA", "MENDOZA"}));
    EXPECT_EQ(provinces.selectedId(), 0);
    EXPECT_EQ(localities.count(), 0);
    EXPECT_EQ(localities.selectedIndex(), -1);
    EXPECT_FALSE(localities.isEnabled());
    EXPECT_TRUE(guides.isEnabled());
    EXPECT_TRUE(provinces.isEnabled());
    EXPECT_FALSE(rubros.isEnabled()); // enabled by the section switch, not by the catalogs
    EXPECT_EQ(guides.updateDepth(), 0);
    EXPECT_EQ(provinces.updateDepth(), 0);
    EXPECT_EQ(localities.updateDepth(), 0);
}

TEST_F(SearchLists, AGuideListsOnlyTheProvincesOfItsLocalities)
{
    chooseGuide(7);
    EXPECT_EQ(provinces.texts(), (Texts{"- TODAS -", "BUENOS AIRES", "CORDOBA"}));
    EXPECT_EQ(provinces.ids(), (Ids{0, 1, 2}));
    chooseGuide(5);
    EXPECT_EQ(provinces.texts(), Texts{"- TODAS -"});
    chooseGuide(0);
    EXPECT_EQ(provinces.count(), 4);
}

TEST_F(SearchLists, ALocalityOfTwoGuidesIsListedUnderEachAndUnderAll)
{
    chooseGuide(3);
    chooseProvince(1);
    EXPECT_EQ(localities.texts(), (Texts{"- TODAS -", "Azul", "Tandil"}));
    EXPECT_EQ(localities.ids(), (Ids{0, 11, 10}));
    EXPECT_TRUE(localities.isEnabled());
    EXPECT_EQ(localities.selectedId(), 0);

    chooseGuide(7);
    chooseProvince(1);
    EXPECT_EQ(localities.texts(), (Texts{"- TODAS -", "Tandil"}));

    chooseGuide(0);
    chooseProvince(1);
    EXPECT_EQ(localities.texts(), (Texts{"- TODAS -", "Azul", "Tandil"}));
    EXPECT_EQ(locs.locality(10).areaCode, 2266);
}

TEST_F(SearchLists, ChoosingAllProvincesEmptiesAndDisablesTheLocalities)
{
    chooseProvince(2);
    ASSERT_EQ(localities.texts(), (Texts{"- TODAS -", "Rio Cuarto", "Villa Maria"}));
    chooseProvince(0);
    EXPECT_EQ(localities.count(), 0);
    EXPECT_EQ(localities.selectedIndex(), -1);
    EXPECT_FALSE(localities.isEnabled());

    // A guide change refills provinces and, through them, the localities.
    chooseProvince(2);
    chooseGuide(3);
    EXPECT_EQ(localities.count(), 0);
    EXPECT_FALSE(localities.isEnabled());
}

TEST_F(SearchLists, RubrosOfOneKindReplaceTheOtherKind)
{
    locs.FillRubros('C');
    EXPECT_EQ(rubros.texts(), (Texts{"- TODOS -", "BANCOS", "ZAPATERIAS"}));
    EXPECT_EQ(rubros.ids(), (Ids{0, 3, 1}));
    locs.FillRubros('P');
    EXPECT_EQ(rubros.texts(), (Texts{"- TODOS -", "ABOGADOS"}));
    EXPECT_EQ(rubros.selectedId(), 0);
    locs.FillRubros('\0'); // a rubro without kind belongs to neither guide
    EXPECT_EQ(rubros.texts(), (Texts{"- TODOS -", "SIN GUIA"}));
}

TEST(CatalogFill, ChoosersAndCountries)
{
    QdLocs locs;
    locs.loadText(kCatalog);
    MemoryCatalogList chooser;
    locs.FillGuideChooser(chooser);
    EXPECT_EQ(chooser.texts(), (Texts{"- SELECCIONE LA GUIA -", "GUIA SIETE", "GUIA TRES", "GUIA VACIA"}));
    EXPECT_EQ(chooser.selectedId(), 0);
    locs.FillProvinceChooser(chooser);
    EXPECT_EQ(chooser.texts(), (Texts{"- TODAS -", "BUENOS AIRES", "CORDOBA", "MENDOZA"}));

    MemoryCatalogList countries;
    countries.setEnabled(false);
    locs.BindCountryList(countries);
    EXPECT_TRUE(countries.isEnabled());
    locs.FillCountries();
    locs.FillCountries(); // a second fill lists each country once
    EXPECT_EQ(countries.texts(), (Texts{"ALEMANIA", "ARGENTINA",
                                        "ESPA\xD1"
                                        "A"}));
    EXPECT_EQ(countries.selectedId(), 3);
}

TEST(CatalogFill, WithoutCatalogsEveryListHoldsOnlyItsAllEntry)
{
    QdLocs locs;
    MemoryCatalogList guides, provinces, localities, rubros, countries;
    MemoryFiles fs;
    locs.BindSearchLists(guides, provinces, localities, rubros);
    locs.BindCountryList(countries);
    EXPECT_FALSE(locs.LoadFile("da01.dat", fs.opener()));
    locs.FillGuides();
    locs.FillRubros('C');
    locs.FillCountries();
    EXPECT_EQ(guides.texts(), Texts{"- TODAS -"});
    EXPECT_EQ(provinces.texts(), Texts{"- TODAS -"});
    EXPECT_EQ(rubros.texts(), Texts{"- TODOS -"});
    EXPECT_EQ(localities.count(), 0);
    EXPECT_EQ(countries.count(), 0);
    EXPECT_EQ(countries.selectedIndex(), -1);
    EXPECT_EQ(countries.selectedId(), 0);
}

TEST(CatalogFill, TheAllEntryIsSelectedEvenWhenANameSortsBeforeIt)
{
    QdLocs locs;
    locs.loadText("R;1;\"LA\" CASA;C\r\nR;2;BANCOS;C\r\n");
    MemoryCatalogList rubros;
    catalogfill::fillRubros(locs, rubros, 'C');
    ASSERT_EQ(rubros.itemText(0), "\"LA\" CASA");
    EXPECT_EQ(rubros.selectedId(), 0);
    EXPECT_EQ(rubros.itemText(rubros.selectedIndex()), "- TODOS -");
}

TEST(CatalogFill, UnboundListsAreLeftAlone)
{
    QdLocs locs;
    locs.loadText(kCatalog);
    locs.FillGuides();
    locs.FillRubros('C');
    locs.FillCountries();
    MemoryCatalogList localities;
    catalogfill::fillLocalities(locs, localities, 1, 0);
    EXPECT_EQ(localities.texts(), (Texts{"- TODAS -", "Azul", "Tandil"}));
}

// A sorted province list as the fills leave it.
MemoryCatalogList provinceList()
{
    MemoryCatalogList list;
    list.setSorted(true);
    for (const char* name : {"- TODAS -", "BUENOS AIRES", "CATAMARCA", "CHACO", "C\xD3RDOBA"})
        list.addItem(name, list.count());
    return list;
}

TEST(TypeAhead, CompletesToTheFirstEntryBeginningWithTheTypedText)
{
    const MemoryCatalogList list = provinceList();
    TypeAheadMatch m = typeAhead(list, "c");
    EXPECT_EQ(m.text, "CATAMARCA");
    EXPECT_EQ(m.typedLength, 1u);
    m = typeAhead(list, "cH");
    EXPECT_EQ(m.text, "CHACO");
    EXPECT_EQ(m.typedLength, 2u);
    m = typeAhead(list, "c\xF3"); // lower-case accented letter against its capital
    EXPECT_EQ(m.text, "C\xD3RDOBA");
    EXPECT_EQ(m.index, 4);
}

TEST(TypeAhead, ALetterThatNoEntryContinuesWithIsDropped)
{
    const MemoryCatalogList list = provinceList();
    // "BUE" was shown as "BUENOS AIRES" with "NOS AIRES" selected; the key replaced the selection.
    TypeAheadMatch m = typeAhead(list, "BUEX");
    EXPECT_EQ(m.text, "BUENOS AIRES");
    EXPECT_EQ(m.typedLength, 3u);
    m = typeAhead(list, "co"); // 'O' is not 'Ó'
    EXPECT_EQ(m.text, "CATAMARCA");
    EXPECT_EQ(m.typedLength, 1u);
    m = typeAhead(list, "XY");
    EXPECT_EQ(m.index, 0);
    EXPECT_EQ(m.typedLength, 0u);

    const MemoryCatalogList empty;
    m = typeAhead(empty, "A");
    EXPECT_EQ(m.index, -1);
    EXPECT_EQ(m.text, "");
    EXPECT_EQ(m.typedLength, 0u);
}

TEST(TypeAhead, LeavingSelectsTheFirstMatchOrTheAllEntry)
{
    const MemoryCatalogList list = provinceList();
    EXPECT_EQ(entryOnLeave(list, "cha"), 3);
    EXPECT_EQ(entryOnLeave(list, "CHACO Y MAS"), 0);
    EXPECT_EQ(entryOnLeave(MemoryCatalogList(), "A"), -1);
    EXPECT_EQ(findEntryStartingWith(list, "buenos aires"), 1);
    EXPECT_EQ(findEntryStartingWith(list, "buenos airesX"), -1);
    EXPECT_FALSE(startsWithNoCase("AB", "ABC"));
}

} // namespace
