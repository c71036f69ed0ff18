// The see-also line (five links laid out left to right, filled from a rubro's see-also text) and
// the list of marked records (200 slots, marking order, no repeats).
#include "search/MarkedRecords.h"
#include "search/QdLocs.h"
#include "search/VerTambien.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FakeLabel final : public SeeAlsoLabel {
public:
    void setText(const std::string& t) override { text = t, w = static_cast<int>(t.size()) * 6; }
    void setVisible(bool v) override { visible = v; }
    [[nodiscard]] int left() const override { return x; }
    [[nodiscard]] int width() const override { return w; }
    void setLeft(int l) override { x = l; }

    std::string text;
    bool visible = true;
    int x = 0;
    int w = 0;
};

struct Line {
    Line()
    {
        labels[0].x = 90;
        for (FakeLabel& l : labels)
            links.AttachLink(&l);
        locs.loadText("R;12;CERRAJERIAS;C;;\nR;40;FERRETERIAS;C;;\nR;7;PINTURERIAS;C;;\n");
    }
    FakeLabel labels[5];
    VerTambien links;
    QdLocs locs;
};

} // namespace

TEST(VerTambien, ThreeLinksNamedAndLaidOutTenPixelsApart)
{
    Line line;
    EXPECT_EQ(line.links.Fill("12,40,7", line.locs), 3);
    EXPECT_EQ(line.labels[0].text, line.locs.RubroName(12));
    EXPECT_EQ(line.labels[1].text, line.locs.RubroName(40));
    EXPECT_EQ(line.labels[2].text, line.locs.RubroName(7));
    EXPECT_EQ(line.labels[1].x, line.labels[0].x + line.labels[0].w + 10);
    EXPECT_EQ(line.labels[2].x, line.labels[1].x + line.labels[1].w + 10);
    EXPECT_EQ(line.links.LinkId(&line.labels[1]), 40);
    EXPECT_EQ(line.links.LinkId(&line.labels[3]), 0);
    EXPECT_EQ(line.links.LinkId(nullptr), 0);
}

TEST(VerTambien, FiveAtMostAndABadPieceEndsTheLine)
{
    Line line;
    EXPECT_EQ(line.links.Fill("1,2,3,4,5,6,7", line.locs), 5);
    EXPECT_EQ(line.links.idAt(4), 5);
    EXPECT_EQ(line.links.Fill("12,x,40", line.locs), 1);
    EXPECT_EQ(line.links.idAt(1), 0) << "refilling cleared the earlier links";
    EXPECT_TRUE(line.labels[1].text.empty());
    EXPECT_EQ(line.links.Fill("", line.locs), 0);
    EXPECT_EQ(line.links.idAt(0), 0);
}

TEST(MarkedRecords, OrderLimitAndRemoval)
{
    MarkedRecords m;
    EXPECT_TRUE(m.AddMarked(30));
    EXPECT_TRUE(m.AddMarked(10));
    EXPECT_TRUE(m.AddMarked(30)) << "already listed: nothing changes";
    EXPECT_EQ(m.MarkedCount(), 2);
    for (int32_t r = 100; m.MarkedCount() < MarkedRecords::kSlots; ++r)
        EXPECT_TRUE(m.AddMarked(r));
    EXPECT_FALSE(m.AddMarked(99'999)) << "the 201st record is not listed";
    EXPECT_FALSE(m.contains(99'999));
    m.RemoveMarked(30);
    EXPECT_EQ(m.at(0), 10);
    EXPECT_EQ(m.at(1), 100);
    EXPECT_EQ(m.MarkedCount(), MarkedRecords::kSlots - 1);
    m.RemoveMarked(55); // not listed
    EXPECT_EQ(m.MarkedCount(), MarkedRecords::kSlots - 1);
    EXPECT_TRUE(m.AddMarked(99'999));
    EXPECT_EQ(m.at(MarkedRecords::kSlots - 1), 99'999);
}
