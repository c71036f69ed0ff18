#include "ads/aviso.h"
#include "builder/DataSetBuilder.h"
#include "builder/SourceReader.h"
#include "engine/Cp1252.h"
#include "engine/FiltroBits.h"
#include "engine/PictureFile.h"
#include "engine/QdData.h"
#include "engine/hfile.h"
#include "search/QdLocs.h"
#include "tests/support/SampleDataSet.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kExample = std::string(ORTELIA_TEST_DATA) + "/source-example";

std::string cp(const char* utf8)
{
    std::string out;
    EXPECT_TRUE(cp1252::fromUtf8(utf8, out));
    return out;
}

std::vector<int32_t> list(Indice& ix, int32_t key)
{
    std::vector<int32_t> out;
    if (!ix.SeekList(key, 0))
        return out;
    for (int32_t r = ix.ListFirst(0); r > 0; r = ix.ListNext(0))
        out.push_back(r);
    return out;
}

std::vector<int32_t> words(Indice& ix, const std::string& key, int area)
{
    std::vector<int32_t> out;
    auto q = ix.Query(key, area);
    if (!q)
        return out;
    for (int32_t r = ix.QueryNext(*q); r > 0; r = ix.QueryNext(*q))
        out.push_back(r);
    ix.FreeQuery(std::move(q));
    return out;
}

class BuiltExample : public ::testing::Test {
protected:
    void SetUp() override
    {
        SourceModel model;
        std::string error;
        ASSERT_TRUE(SourceReader().read(kExample, model, &error)) << error;
        ASSERT_TRUE(DataSetBuilder().build(model, m_dir / "data", &m_summary, &error)) << error;
        m_data = m_dir / "data";
    }
    [[nodiscard]] std::string at(const char* name) const { return m_data + "/" + name; }

    TempDir m_dir{"build"};
    std::string m_data;
    BuildSummary m_summary;
};

TEST_F(BuiltExample, RecordsAreOrderedByGuideRubroAndName)
{
    EXPECT_EQ(m_summary.records[0], 3);
    EXPECT_EQ(m_summary.records[1], 2);
    EXPECT_EQ(m_summary.records[2], 1);
    QdData store(at("QD.dat"), at("PK.idx"), 8192);
    store.LoadCodeTable(at("QD.hfm"));
    ASSERT_EQ(store.RecordCount(), 6);
    std::vector<std::string> names;
    registro r;
    for (int32_t n = 1; n <= 6; ++n) {
        r.Clear();
        ASSERT_TRUE(store.ReadRecord(r, n));
        names.push_back(r.name);
    }
    // Alphabetical guide by name; commercial by rubro name (FARMACIAS before PERFUMERÍAS).
    EXPECT_EQ(names,
              (std::vector<std::string>{cp("GARCÍA JUAN CARLOS"), cp("GARCÍA JUAN CARLOS"), cp("PÉREZ MARÍA"),
                                        cp("FARMACIA CENTRAL SRL"), cp("PERFUMERÍA ÑANDÚ"), cp("PÉREZ JOSÉ DR.")}));
    // The second line of one subscriber inherits name and address.
    registro raw;
    ASSERT_TRUE(store.ReadRecord(raw, 2, false));
    EXPECT_EQ(raw.flags & (registro::kNameInherited | registro::kAddressInherited),
              registro::kNameInherited | registro::kAddressInherited);
    r.Clear();
    ASSERT_TRUE(store.ReadRecord(r, 2));
    EXPECT_EQ(r.address, cp("AV. SAN MARTÍN 1234"));
    EXPECT_EQ(r.DisplayPhone(), "(011) 4348-8001");
    r.Clear();
    ASSERT_TRUE(store.ReadRecord(r, 4));
    EXPECT_EQ(r.web, "WWW.FARMACIACENTRAL.COM.AR");
    EXPECT_EQ(r.rubroId, 1);
    EXPECT_EQ(r.adNumber, 1);
    r.Clear();
    ASSERT_TRUE(store.ReadRecord(r, 6));
    EXPECT_EQ(r.DisplayPhone(), "(03541) 42-0000");
}

TEST_F(BuiltExample, KeyIndexesAndTheWordIndexFindTheRecords)
{
    Indice loc(at("ixLoc.idx"), 4096), prv(at("ixPrv.idx"), 4096), rub(at("ixRub.idx"), 4096);
    Indice area(at("ixTeA.idx"), 4096), prefix(at("ixTeP.idx"), 4096), line(at("ixTeN.idx"), 4096);
    Indice guide(at("ixGuia.idx"), 4096);
    EXPECT_EQ(list(loc, 1), (std::vector<int32_t>{1, 2, 4}));
    EXPECT_EQ(list(prv, 2), (std::vector<int32_t>{3, 6}));
    EXPECT_EQ(list(rub, 2), (std::vector<int32_t>{5}));
    EXPECT_EQ(list(area, 11), (std::vector<int32_t>{1, 2, 4}));
    EXPECT_EQ(list(prefix, 4348), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(list(line, 8001), (std::vector<int32_t>{2}));
    EXPECT_EQ(list(line, 10000), (std::vector<int32_t>{3, 4, 5, 6})); // the line 0000
    EXPECT_EQ(list(guide, 2), (std::vector<int32_t>{3, 5, 6}));

    Indice w(at("ixpal.idx"), 10240);
    ASSERT_TRUE(w.LoadCodeTable(at("ixpal.hfm")));
    EXPECT_EQ(words(w, "GARCIA.", 0), (std::vector<int32_t>{1, 2})); // Í is a word letter, folded to I
    EXPECT_EQ(words(w, "PER", 0), (std::vector<int32_t>{5}));        // É separates: PÉREZ is P + REZ
    EXPECT_EQ(words(w, "REZ.", 0), (std::vector<int32_t>{3, 6}));
    EXPECT_EQ(words(w, "MARTIN.", 1), (std::vector<int32_t>{1, 2, 6}));
    EXPECT_EQ(words(w, "CORRIENTES.", 1), (std::vector<int32_t>{4}));
    EXPECT_EQ(words(w, "corrientes", 0), (std::vector<int32_t>{}));
    EXPECT_EQ(words(w, "CENTRAL", 0), (std::vector<int32_t>{4}));
}

TEST_F(BuiltExample, FlagsRangesCatalogsAdsBodiesAndPictures)
{
    FiltroBits bits(100);
    ASSERT_TRUE(bits.LoadFlags(at("QD.flg")));
    ASSERT_TRUE(bits.LoadLimits(at("QD.lmt")));
    EXPECT_EQ(bits.guideRange(0).first, 1);
    EXPECT_EQ(bits.guideRange(0).last, 3);
    EXPECT_EQ(bits.guideRange(1).first, 4);
    EXPECT_EQ(bits.guideRange(2).last, 6);
    EXPECT_EQ(bits.wordAt(4) & 0xE0, 0xA0u); // web and ad
    EXPECT_EQ(bits.wordAt(3) & 0xE0, 0x40u); // mail
    EXPECT_EQ(bits.wordAt(5) & 0xE0, 0x80u); // ad
    EXPECT_EQ(bits.wordAt(1) & 0xE0, 0u);

    QdLocs locs;
    ASSERT_TRUE(locs.LoadFile(at("da01.dat")));
    EXPECT_EQ(locs.LocalityName(3), "VILLA CARLOS PAZ");
    EXPECT_EQ(locs.ProvinceName(2), cp("CÓRDOBA"));
    EXPECT_EQ(locs.RubroName(4), cp("ESTUDIOS JURÍDICOS"));
    EXPECT_EQ(locs.redirectTarget(4), 3);

    aviso ads(at("AVI.dat"), at("AVI.pk"), 512);
    ads.LoadCodeTable(at("AVI.hfm"));
    ASSERT_EQ(ads.adCount(), 3);
    ASSERT_TRUE(ads.Read(1));
    EXPECT_EQ(ads.kind(), 8);
    ASSERT_GE(ads.lines().size(), 3u);
    EXPECT_EQ(ads.lines()[1], "ABIERTO LAS 24 HS");
    ASSERT_TRUE(ads.Read(2));
    EXPECT_EQ(ads.imageNumber(), 1);
    ASSERT_TRUE(ads.Read(3));
    EXPECT_EQ(ads.reference(), 42);

    PictureFile pictures;
    ASSERT_TRUE(pictures.open(at("Img.bld")));
    std::vector<uint8_t> png;
    ASSERT_TRUE(pictures.read(1, png));
    EXPECT_EQ(png[1], 'P');
    EXPECT_FALSE(pictures.read(2, png));

    hfile bodies;
    ASSERT_TRUE(bodies.OpenCoded(at("da2.dat"), at("da2.hfm")));
    std::vector<std::string> lines;
    std::string line;
    while (bodies.ReadLine(line))
        lines.push_back(line);
    ASSERT_GE(lines.size(), 7u); // the long names go on in continuation lines
    EXPECT_EQ(lines[0].substr(35, 8), "PROVINCI");
    EXPECT_NE(
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.size() > 35 && l[35] == '*'; }),
        lines.end());
    EXPECT_TRUE(fs::exists(at("banners/0/1.gif")));
    EXPECT_TRUE(fs::exists(at("info/Productos.html")));
}

// Each input error names its file and line, and leaves nothing behind.
TEST(DataSetBuilderErrors, SourceErrorsNameFileAndLine)
{
    struct Case {
        const char* file;
        const char* append;
        const char* expect;
    };
    const Case cases[] = {
        {"abonados.tsv", "A\t1\t99\t\t11\t43480000\tX\tY\t\t\t\n", "abonados.tsv:8: unknown locality 99"},
        {"abonados.tsv", "A\t1\t1\t\t11\t43480000\tNAME \xE2\x82\xAC\xE2\x98\x83\tY\t\t\t\n",
         "abonados.tsv:8: column \"nombre\""},
        {"abonados.tsv", "C\t1\t1\t3\t11\t43480000\tX\tY\t\t\t\n", "the rubro belongs to the other guide"},
        {"avisos.tsv", "4\t0\t0\tmissing.png\tX\n", "avisos.tsv:5: missing picture imagenes/missing.png"},
        {"localidades.tsv", "5\tX\t9\t1\t11\n", "localidades.tsv:6: unknown province 9"},
    };
    for (const Case& c : cases) {
        TempDir dir("src");
        fs::copy(kExample, dir.path() / "src", fs::copy_options::recursive);
        std::ofstream(dir.path() / "src" / c.file, std::ios::app) << c.append;
        SourceModel model;
        std::string error;
        EXPECT_FALSE(SourceReader().read((dir.path() / "src").string(), model, &error));
        EXPECT_NE(error.find(c.expect), std::string::npos) << error;
    }
}

TEST(DataSetBuilderErrors, AFailedBuildLeavesNoFolderAndKeepsTheOldOne)
{
    TempDir dir("fail");
    SourceModel model;
    std::string error;
    ASSERT_TRUE(SourceReader().read(kExample, model, &error)) << error;
    SourceModel broken;
    ASSERT_TRUE(SourceReader().read(kExample, broken, &error));
    Listing l = broken.listings.at(0);
    l.localityId = 4000; // unknown to the catalogs
    broken.listings.add(l);
    EXPECT_FALSE(DataSetBuilder().build(broken, dir / "data", nullptr, &error));
    EXPECT_NE(error.find("unknown locality 4000"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "data"));

    ASSERT_TRUE(DataSetBuilder().build(model, dir / "data", nullptr, &error)) << error;
    const auto size = fs::file_size(dir / "data/QD.dat");
    // An ad too long for the store fails late, after most files were written.
    broken = SourceModel{};
    ASSERT_TRUE(SourceReader().read(kExample, broken, &error));
    broken.ads[0].lines.assign(2000, "LINEA LARGA DE AVISO");
    EXPECT_FALSE(DataSetBuilder().build(broken, dir / "data", nullptr, &error));
    EXPECT_EQ(fs::file_size(dir / "data/QD.dat"), size); // the old data set is untouched
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "data") << "left behind: " << e.path();
}

} // namespace

namespace {

std::vector<char> slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(SampleDataSets, TheSameSampleIsBuiltByteForByte)
{
    SampleDataSet a, b, c;
    std::string error;
    ASSERT_TRUE(a.make(1500, 7, &error)) << error;
    ASSERT_TRUE(b.make(1500, 7, &error)) << error;
    ASSERT_TRUE(c.make(1500, 8, &error)) << error;
    size_t files = 0;
    bool anyDifferent = false;
    for (const auto& e : fs::recursive_directory_iterator(a.folder())) {
        if (!e.is_regular_file())
            continue;
        const auto rel = fs::relative(e.path(), a.folder());
        ++files;
        EXPECT_EQ(slurp(e.path()), slurp(fs::path(b.folder()) / rel)) << rel;
        anyDifferent = anyDifferent || slurp(e.path()) != slurp(fs::path(c.folder()) / rel);
    }
    EXPECT_GE(files, 21u + 4u); // every data file, banners and the product page
    EXPECT_TRUE(anyDifferent);
    EXPECT_EQ(a.summary().records[0] + a.summary().records[1] + a.summary().records[2], 1500);
}

TEST(SampleDataSets, EveryRecordOfASampleReadsBackWithItsCatalogNames)
{
    SampleDataSet s;
    std::string error;
    ASSERT_TRUE(s.make(3000, 3, &error)) << error;
    QdData store(s.file("QD.dat"), s.file("PK.idx"), 8192);
    store.LoadCodeTable(s.file("QD.hfm"));
    QdLocs locs;
    ASSERT_TRUE(locs.LoadFile(s.file("da01.dat")));
    FiltroBits bits(4000);
    ASSERT_TRUE(bits.LoadFlags(s.file("QD.flg")));
    ASSERT_TRUE(bits.LoadLimits(s.file("QD.lmt")));
    ASSERT_EQ(store.RecordCount(), 3000);
    registro r;
    int inherited = 0;
    for (int32_t n = 1; n <= 3000; ++n) {
        r.Clear();
        ASSERT_TRUE(store.ReadRecord(r, n));
        registro raw;
        store.ReadRecord(raw, n, false);
        inherited += (raw.flags & registro::kNameInherited) != 0;
        ASSERT_FALSE(r.name.empty()) << n;
        ASSERT_FALSE(locs.LocalityName(r.localityId).empty()) << n;
        const int guide = n <= bits.guideRange(0).last ? 0 : n <= bits.guideRange(1).last ? 1 : 2;
        if (guide > 0) {
            ASSERT_EQ(locs.rubro(r.rubroId).kind, guide == 1 ? 'C' : 'P') << n;
        }
        EXPECT_EQ((bits.wordAt(n) >> 5) & 1u, (r.flags & registro::kHasWeb) ? 1u : 0u) << n;
    }
    EXPECT_GT(inherited, 100); // subscribers with several lines
}

} // namespace
