// Opening a data folder: the start-up texts in their order, the guide ranges clamped to the records
// the store can read whatever the size of the bit set, and the parts left empty by missing files.
#include "search/DataSet.h"

#include "engine/DataFiles.h"
#include "tests/support/SearchFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace searchtest;

namespace {

std::vector<Entry> entries()
{
    std::vector<Entry> e;
    for (int i = 0; i < 12; ++i)
        e.push_back(Entry::of(i < 8 ? GuideKind::Alphabetical : GuideKind::Commercial, 1 + i % 5, i < 8 ? 0 : 1, 11,
                              4348, 100 + i, "NOMBRE", "CALLE 1"));
    return e;
}

// Overwrites entry k of "QD.lmt" with letter and range.
void writeLimit(const std::string& folder, int k, char letter, int32_t first, int32_t last)
{
    std::fstream f(folder + "/" + datafiles::kLimits, std::ios::in | std::ios::out | std::ios::binary);
    uint8_t b[12] = {static_cast<uint8_t>(letter)};
    for (int i = 0; i < 4; ++i) {
        b[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(first) >> (8 * i));
        b[8 + i] = static_cast<uint8_t>(static_cast<uint32_t>(last) >> (8 * i));
    }
    f.seekp(12 * k);
    f.write(reinterpret_cast<const char*>(b), sizeof b);
}

} // namespace

TEST(DataSet, AnnouncesEveryStepWithTheStartUpTexts)
{
    BuiltDataSet built(entries());
    std::vector<std::string> texts;
    std::vector<DataSet::Step> steps;
    DataSet::Options options;
    options.progress = [&](DataSet::Step s, const std::string& text) {
        steps.push_back(s);
        texts.push_back(text);
    };
    DataSet d;
    ASSERT_TRUE(d.open(built.folder(), options));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Abriendo datos...", "Abriendo indice de teléfonos...", "Abriendo indice de localidades...",
                         "Abriendo indice de provincias...", "Abriendo indice de guías...",
                         "Abriendo indice de palabras...", "Abriendo indice de rubros...", "Iniciando datos...",
                         "Cargando provincias y localidades...", "Iniciando guías...", "Iniciando filtros...",
                         "Iniciando filtros...", "Estableciendo filtro inicial..."}));
    ASSERT_EQ(steps.size(), texts.size());
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(static_cast<size_t>(steps[i]), i) << "steps arrive in their declared order";
    for (int s = slot::ixTeA; s <= slot::ixRub; ++s)
        EXPECT_NE(d.store().IndexAt(s), nullptr) << s;
    EXPECT_EQ(d.store().IndexAt(slot::kSelection), nullptr);
    EXPECT_TRUE(d.store().IndexAt(slot::ixpal)->isTrie());
    EXPECT_EQ(d.catalogs().ProvinceName(1), cp("BUENOS AIRES"));
}

// A damaged "QD.lmt" opens the same whether the bit set has one word per record or is far larger
// (the window's): ranges past the records end at the last one, ranges wholly past them are dropped.
TEST(DataSet, DamagedLimitsGiveTheSameRangesWhateverTheSizeOfTheBitSet)
{
    const int32_t records = static_cast<int32_t>(entries().size());
    struct Case {
        int32_t aFirst, aLast, cFirst, cLast;
        FiltroBits::Bounds a, c;
    };
    const Case cases[] = {
        {1, records + 50, records + 1, records + 9, {1, records}, {0, 0}}, // A runs over, C wholly past
        {3, 1'000'000, 2, records, {3, records}, {2, records}},            // A far past; C intact
        {5, 4, records, records, {0, 0}, {records, records}},              // A reversed: refused
    };
    for (const Case& c : cases) {
        BuiltDataSet built(entries(), [&](const std::string& folder) {
            writeLimit(folder, 0, 'A', c.aFirst, c.aLast);
            writeLimit(folder, 1, 'C', c.cFirst, c.cLast);
        });
        FiltroBits large(records + 100'000);
        DataSet lent;
        DataSet::Options options;
        options.bits = &large;
        ASSERT_TRUE(lent.open(built.folder(), options));
        const auto own = DataSet::open(built.folder());
        ASSERT_TRUE(own);
        const std::unique_ptr<FiltroBits> fresh = own->freshBits();
        for (FiltroBits* bits : {&large, &own->bits(), fresh.get()}) {
            EXPECT_EQ(bits->guideRange(0).first, c.a.first) << c.aLast;
            EXPECT_EQ(bits->guideRange(0).last, c.a.last) << c.aLast;
            EXPECT_EQ(bits->guideRange(1).first, c.c.first) << c.cFirst;
            EXPECT_EQ(bits->guideRange(1).last, c.c.last) << c.cFirst;
        }
        for (int32_t k = 0; k < 2; ++k) {
            large.SelectRange(k);
            own->bits().SelectRange(k);
            EXPECT_EQ(passing(large), passing(own->bits())) << k;
        }
    }
}

TEST(DataSet, MissingFilesLeaveEmptyParts)
{
    EXPECT_EQ(DataSet::open("/nonexistent/ortelia-data"), nullptr);
    DataSet missing;
    EXPECT_FALSE(missing.open("/nonexistent/ortelia-data", DataSet::Options()));
    EXPECT_EQ(missing.store().RecordCount(), 0);

    // Without the offset table no record can be read: the limits are not applied at all.
    BuiltDataSet built(entries(), [](const std::string& folder) {
        std::filesystem::remove(std::filesystem::path(folder) / datafiles::kOffsets);
    });
    const auto d = DataSet::open(built.folder());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->store().RecordCount(), 0);
    for (int32_t k = 0; k < FiltroBits::kGuides; ++k)
        EXPECT_EQ(d->bits().guideRange(k).last, 0) << k;
    EXPECT_EQ(d->bits().CountPassing(), 0);
}
