#include "builder/CodedLinesWriter.h"
#include "builder/DataSetBuilder.h"
#include "builder/PlainPictureMaker.h"
#include "builder/SampleGenerator.h"
#include "engine/Cp1252.h"
#include "search/OfficialBodies.h"
#include "tests/support/MemoryFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string line(std::string_view name, std::string_view type, std::string_view value = "")
{
    return CodedLinesWriter::officialBodiesLine(name, type, value);
}

OfficialBodies treeOf(const std::vector<std::string>& lines)
{
    OfficialBodies t;
    for (const std::string& l : lines)
        t.addLine(l);
    return t;
}

std::vector<std::string> captions(const OfficialBodies& t, const std::vector<int32_t>& nodes)
{
    std::vector<std::string> out;
    for (const int32_t n : nodes)
        out.push_back(t.node(n).caption);
    return out;
}

std::vector<std::pair<std::string, std::string>> rowsOf(const std::vector<OfficialBodies::DetailRow>& rows)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& r : rows)
        out.emplace_back(r.description, r.value);
    return out;
}

void preOrder(const OfficialBodies& t, int32_t n, std::vector<int32_t>& out)
{
    out.push_back(n);
    for (const int32_t c : t.node(n).children)
        preOrder(t, c, out);
}

} // namespace

TEST(OfficialBodies, NodesNeedTheLevelAboveSinceTheLastHigherNode)
{
    const OfficialBodies t = treeOf({
        line("INDT FIRST", "INDT", "1"),    // no office yet
        line("ORPHAN HEADING", "ALPHAHED"), // no province yet
        line("BUENOS AIRES", "PROVINCI", "P"),
        line("MINISTERIOS", "ALPHAHED", "H"),
        line("EARLY OFFICE", "INDD", "0"), // right after a heading: no level-2 node since it
        line("LOST LINE", "INDT", "0"),    // and no office for this one either
        line("SALUD", "WSBL", "W"),
        line("HOSPITAL", "INDD", "4000-1000"),
        line("GUARDIA", "INDT", "4000-1001"),
        line("CORDOBA", "PROVINCI"),
        line("LATE OFFICE", "INDD"), // the previous province's group does not count
        line("LATE LINE", "INDT", "9"),
        line("ODD", "UNKNOWN", "x"),
    });
    ASSERT_EQ(t.roots().size(), 2u);
    ASSERT_EQ(t.size(), 5u);
    const auto& ba = t.node(t.roots()[0]);
    EXPECT_EQ(ba.caption, "BUENOS AIRES");
    EXPECT_EQ(ba.items, std::vector<std::string>{"P"});
    const int32_t hospital = t.nodeAtPath("0/0/0/0");
    ASSERT_GE(hospital, 0);
    EXPECT_EQ(t.node(hospital).items, (std::vector<std::string>{"4000-1000", "GUARDIA", "4000-1001"}));
    EXPECT_EQ(t.node(t.nodeAtPath("0/0")).children.size(), 1u);
    EXPECT_TRUE(t.node(t.roots()[1]).children.empty());
    EXPECT_EQ(t.pathOf(hospital), "0/0/0/0");
    for (const char* bad : {"", "2", "0/1", "0//0", "a", "0/0/0/0/0", "-1", "0/"})
        EXPECT_EQ(t.nodeAtPath(bad), -1) << bad;
}

TEST(OfficialBodies, ContinuationsExtendTheLastTakenText)
{
    const OfficialBodies t = treeOf({
        line("PROV", "PROVINCI"), line("ALPHA", "ALPHAHED"), line("GROUP", "WSBL"),
        line("DIRECCION GENERAL DE ADMINISTRACION", "INDD", "1"),
        line(" DE RECURSOS", "*"),                                 // no pairs yet: the caption
        line("MESA DE", "INDT", "2"), line(" ENTRADAS", "*"),      // the pair's description, not the value
        line("Y SALIDAS", "*"),                                    // with nothing in between
        line("IGNORED OFFICE", "UNKNOWN"), line(" NOT MINE", "*"), // continues a line that was dropped
        line("NEW HEADING", "ALPHAHED"), line("LOST", "INDD"),
        line(" ALSO LOST", "*"), // would otherwise land on the heading's caption
    });
    const int32_t office = t.nodeAtPath("0/0/0/0");
    ASSERT_GE(office, 0);
    EXPECT_EQ(t.node(office).caption, "DIRECCION GENERAL DE ADMINISTRACION DE RECURSOS");
    EXPECT_EQ(t.node(office).items, (std::vector<std::string>{"1", "MESA DE ENTRADASY SALIDAS", "2"}));
    EXPECT_EQ(t.node(t.nodeAtPath("0/1")).caption, "NEW HEADING");
}

TEST(OfficialBodies, FieldsAreCutAtTheirColumnsAndTrimmedAtTheEnd)
{
    std::string raw(150, ' ');
    raw.replace(0, 5, " NAME");
    raw.replace(35, 8, "PROVINCI");
    raw.replace(43, 2, "ZZ"); // unused columns
    raw.replace(45, 6, "VALUE ");
    raw.replace(145, 5, "AFTER"); // past the value's 100 columns
    const auto f = OfficialBodies::splitLine(raw);
    EXPECT_EQ(f.name, " NAME");
    EXPECT_EQ(f.type, "PROVINCI");
    EXPECT_EQ(f.value, "VALUE");
    const auto shortLine = OfficialBodies::splitLine("ONLY A NAME");
    EXPECT_EQ(shortLine.name, "ONLY A NAME");
    EXPECT_TRUE(shortLine.type.empty());
}

TEST(OfficialBodies, SearchFindsMixedCaseCaptionsInPreOrder)
{
    const OfficialBodies t = treeOf({
        line("Salta", "PROVINCI"),
        line("Ministerio de Salud", "ALPHAHED"),
        line("Sede", "WSBL"),
        line("Dirección de Salud Mental", "INDD"),
        line("SALUD LINE", "INDT"), // descriptions are not searched
        line("Jujuy", "PROVINCI"),
        line("salud pública", "ALPHAHED"),
    });
    EXPECT_EQ(captions(t, t.search("SALUD")),
              (std::vector<std::string>{"Ministerio de Salud", "Dirección de Salud Mental", "salud pública"}));
    EXPECT_EQ(captions(t, t.search(cp1252::upper("dirección"))), std::vector<std::string>{"Dirección de Salud Mental"});
    EXPECT_TRUE(t.search("salud").empty()); // the keyword field types upper case
    EXPECT_TRUE(t.search("NOWHERE").empty());
}

TEST(OfficialBodies, DetailRowsShowAncestorsThenTheSubtree)
{
    const OfficialBodies t = treeOf({
        line("PROV", "PROVINCI", "p"),
        line("HEAD", "ALPHAHED", "h"),
        line("GROUP", "WSBL", "g"),
        line("OFFICE A", "INDD", "a"),
        line("LINE 1", "INDT", "1"),
        line("LINE 2", "INDT", "2"),
        line("OFFICE B", "INDD", "b"),
        line("OTHER GROUP", "WSBL", "o"),
    });
    EXPECT_TRUE(t.detailRows(t.roots()[0]).empty()); // provinces show nothing
    using Rows = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(rowsOf(t.detailRows(t.nodeAtPath("0/0/0/0"))), (Rows{{"PROV", "p"},
                                                                   {"    HEAD", "h"},
                                                                   {"        GROUP", "g"},
                                                                   {"            OFFICE A", "a"},
                                                                   {"        LINE 1", "1"},
                                                                   {"        LINE 2", "2"}}));
    EXPECT_EQ(rowsOf(t.detailRows(t.nodeAtPath("0/0"))), (Rows{{"PROV", "p"},
                                                               {"    HEAD", "h"},
                                                               {"        GROUP", "g"},
                                                               {"            OFFICE A", "a"},
                                                               {"        LINE 1", "1"},
                                                               {"        LINE 2", "2"},
                                                               {"            OFFICE B", "b"},
                                                               {"        OTHER GROUP", "o"}}));
    EXPECT_TRUE(t.detailRows(-1).empty());
    EXPECT_TRUE(t.detailRows(99).empty());
}

// Random typed lines: whatever the order, the tree is well formed, creation order is the
// pre-order the search relies on, and each node's list stays odd.
TEST(OfficialBodies, RandomLinesKeepTheTreeInPreOrder)
{
    static const char* const kTypes[] = {"PROVINCI", "ALPHAHED", "WSBL", "INDD", "INDT", "*", "OTHER"};
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> lines;
        const int n = static_cast<int>(rng() % 60);
        for (int i = 0; i < n; ++i)
            lines.push_back(line("N" + std::to_string(i), kTypes[rng() % 7], std::to_string(i)));
        const OfficialBodies t = treeOf(lines);
        std::vector<int32_t> walked;
        for (const int32_t r : t.roots())
            preOrder(t, r, walked);
        ASSERT_EQ(walked.size(), t.size());
        for (size_t i = 0; i < walked.size(); ++i)
            ASSERT_EQ(walked[i], static_cast<int32_t>(i)) << "round " << round;
        for (size_t i = 0; i < t.size(); ++i) {
            const auto& node = t.node(static_cast<int32_t>(i));
            ASSERT_EQ(node.items.size() % 2, 1u);
            ASSERT_EQ(node.level, node.parent < 0 ? 0 : t.node(node.parent).level + 1);
            ASSERT_TRUE(node.level == 3 || node.items.size() == 1);
            ASSERT_EQ(t.nodeAtPath(t.pathOf(static_cast<int32_t>(i))), static_cast<int32_t>(i));
        }
        EXPECT_EQ(t.search("N").size(), t.size());
    }
}

TEST(OfficialBodies, MissingFilesLeaveAnEmptyTree)
{
    MemoryFiles fs;
    CodedLinesWriter writer;
    ASSERT_TRUE(writer.add(line("PROV", "PROVINCI")));
    std::vector<uint8_t> data;
    std::array<uint8_t, huffman::kTableSize> table{};
    ASSERT_TRUE(writer.finish(data, table));
    fs.put("da2.dat", data);
    OfficialBodies t;
    t.addLine(line("STALE", "PROVINCI"));
    EXPECT_FALSE(t.LoadData("da2.dat", "da2.hfm", fs.opener()));
    EXPECT_TRUE(t.empty());
    EXPECT_TRUE(t.search("STALE").empty());
    fs.put("da2.hfm", {table.begin(), table.end()});
    ASSERT_TRUE(t.LoadData("da2.dat", "da2.hfm", fs.opener()));
    EXPECT_EQ(captions(t, t.roots()), std::vector<std::string>{"PROV"});
}

// The sample generator's tree, through the builder's file and the reader, comes back as it was
// made: names longer than a line's name column included.
TEST(OfficialBodies, SampleTreeReadsBackAsGenerated)
{
    SampleOptions options;
    options.listings = 2000;
    options.seed = 3;
    options.maxPictures = 0;
    SourceModel model;
    const PlainPictureMaker pictures;
    std::string error;
    ASSERT_TRUE(SampleGenerator::generate(options, &pictures, model, &error)) << error;
    TempDir dir("bodies");
    ASSERT_TRUE(DataSetBuilder().build(model, dir / "data", nullptr, &error)) << error;
    OfficialBodies t;
    ASSERT_TRUE(t.LoadData(dir / "data/da2.dat", dir / "data/da2.hfm"));
    ASSERT_EQ(t.size(), model.officialBodies.size());
    bool longName = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const auto& made = model.officialBodies[i];
        const auto& read = t.node(static_cast<int32_t>(i));
        ASSERT_EQ(read.caption, made.name) << i;
        ASSERT_EQ(read.level, made.level - 1) << i;
        ASSERT_EQ(read.items.front(), made.value) << i;
        ASSERT_EQ(read.items.size(), 1 + 2 * made.phones.size()) << i;
        for (size_t p = 0; p < made.phones.size(); ++p) {
            ASSERT_EQ(read.items[1 + 2 * p], made.phones[p].first);
            ASSERT_EQ(read.items[2 + 2 * p], made.phones[p].second);
        }
        longName = longName || made.name.size() > CodedLinesWriter::kNameWidth;
    }
    EXPECT_TRUE(longName);
}
