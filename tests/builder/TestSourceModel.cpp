#include "builder/SourceModel.h"

#include <gtest/gtest.h>

namespace {

TEST(ListingTable, KeepsTextsAndFieldsAndCopesWithItsOwnListings)
{
    ListingTable t;
    Listing l;
    l.guide = GuideKind::Commercial;
    l.localityId = 7;
    l.rubroId = 3;
    l.phoneLine = 9999;
    l.name = "FERRETERIA EL TORNILLO SRL";
    l.address = "AV. SIEMPRE VIVA 742";
    l.web = "WWW.TORNILLO.COM.AR";
    t.add(l);
    // Adding listings read back from the table itself, while the arena grows, must copy their texts
    // before the storage moves.
    for (int i = 0; i < 2000; ++i)
        t.add(t.at(static_cast<size_t>(i)));
    ASSERT_EQ(t.size(), 2001u);
    for (size_t i : {size_t{0}, size_t{1}, size_t{1000}, size_t{2000}}) {
        const Listing back = t.at(i);
        EXPECT_EQ(back.name, "FERRETERIA EL TORNILLO SRL");
        EXPECT_EQ(back.address, "AV. SIEMPRE VIVA 742");
        EXPECT_EQ(back.web, "WWW.TORNILLO.COM.AR");
        EXPECT_EQ(back.mail, "");
        EXPECT_EQ(back.guide, GuideKind::Commercial);
        EXPECT_EQ(back.localityId, 7);
        EXPECT_EQ(back.rubroId, 3);
        EXPECT_EQ(back.phoneLine, 9999);
    }
}

} // namespace
