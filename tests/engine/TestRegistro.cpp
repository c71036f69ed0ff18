#include "builder/HuffmanTableBuilder.h"
#include "builder/RecordEncoder.h"
#include "engine/Bytes.h"
#include "engine/registro.h"
#include "tests/support/RecordFixtures.h"

#include <gtest/gtest.h>

namespace {

huffman tableFor(const std::string& text)
{
    SymbolCounts counts{};
    countSymbols(counts, text);
    return makeHuffman(counts);
}

std::vector<uint8_t> withText(std::vector<uint8_t> head, const huffman& h, const std::string& text)
{
    uint8_t coded[512];
    const int32_t bits = h.Encode(coded, 512, text, 0);
    head.insert(head.end(), coded, coded + (bits + 7) / 8);
    return head;
}

TEST(Registro, FixedFieldsAndRubroWord)
{
    const huffman h = tableFor("NOMBRE\x01"
                               "CALLE");
    registro r;
    // W1 = 0x8005, W2 = 0x0123, area 2966 stored, prefix 430, line 75.
    auto b = withText({0x00, 0x05, 0x80, 0x23, 0x01, 0x96, 0x0B, 0xAE, 0x01, 0x4B, 0x00}, h,
                      "NOMBRE\x01"
                      "CALLE");
    ASSERT_TRUE(r.DecodeRecord(b.data(), static_cast<int32_t>(b.size()), h));
    EXPECT_EQ(r.rubroId, 5);
    EXPECT_EQ(r.localityId, 0x0123);
    EXPECT_EQ(r.areaCode, 2966);
    EXPECT_EQ(r.phonePrefix, 430);
    EXPECT_EQ(r.phoneLine, 75);
    EXPECT_EQ(r.name, "NOMBRE");
    EXPECT_EQ(r.address, "CALLE");
    EXPECT_EQ(r.DisplayPhone(), "(02966) 430-0075");

    // W1 = 0x0123: no rubro and no second word; flags 10 = area 341 and the next word is the prefix.
    b = withText({0x02, 0x23, 0x01, 0x4C, 0x04, 0x00, 0x00}, h,
                 "NOMBRE\x01"
                 "CALLE");
    ASSERT_TRUE(r.DecodeRecord(b.data(), static_cast<int32_t>(b.size()), h));
    EXPECT_EQ(r.rubroId, 0);
    EXPECT_EQ(r.localityId, 0x0123);
    EXPECT_EQ(r.areaCode, 341);
    EXPECT_EQ(r.phonePrefix, 0x044C);
    EXPECT_EQ(r.phoneLine, 0);
    EXPECT_EQ(r.DisplayPhone(), "(0341) 1100-0000");
}

TEST(Registro, DisplayPhone)
{
    EXPECT_EQ(DisplayPhone(11, 4348, 75), "(011) 4348-0075");
    EXPECT_EQ(DisplayPhone(351, 4, 9999), "(0351) 4-9999");
    EXPECT_EQ(DisplayPhone(0, 4348, 75), "");
}

TEST(Registro, TextStringsFollowTheFlagsAndAbsentOnesKeepTheirValue)
{
    const std::string text = "ACME SA\x01"
                             "SAN MARTIN 100\x01"
                             "WWW.ACME.COM.AR";
    const huffman h = tableFor(text);
    registro r;
    r.mail = "old@mail";
    r.adNumber = 77;
    r.agendaRef = 3;
    r.hasNote = true;
    const auto b = withText({0x09, 0x01, 0x00, 0x10, 0x00, 0x20, 0x00}, h, text); // flags 0x08 | area 11
    ASSERT_TRUE(r.DecodeRecord(b.data(), static_cast<int32_t>(b.size()), h));
    EXPECT_EQ(r.name, "ACME SA");
    EXPECT_EQ(r.address, "SAN MARTIN 100");
    EXPECT_EQ(r.web, "WWW.ACME.COM.AR");
    EXPECT_EQ(r.mail, "old@mail");
    EXPECT_EQ(r.adNumber, 77); // no ad field: left as it was
    EXPECT_EQ(r.agendaRef, 0);
    EXPECT_FALSE(r.hasNote);

    // Fewer strings than the flags promise: the missing ones keep their value.
    registro s;
    s.mail = "keep";
    const auto c = withText({0x0D, 0x01, 0x00, 0x10, 0x00, 0x20, 0x00}, h, "ONLY NAME"); // web | mail
    ASSERT_TRUE(s.DecodeRecord(c.data(), static_cast<int32_t>(c.size()), tableFor("ONLY NAME")));
}

TEST(Registro, DamagedRecordsStayInsideTheirBytes)
{
    const huffman h = tableFor("A");
    registro r;
    r.name = "before";
    // Ends inside the fixed fields: W2 cut off.
    const std::vector<uint8_t> cut = {0x00, 0x05, 0x80, 0x23};
    EXPECT_FALSE(r.DecodeRecord(cut.data(), static_cast<int32_t>(cut.size()), h));
    EXPECT_EQ(r.rubroId, 5);
    EXPECT_EQ(r.name, "before");
    EXPECT_FALSE(r.DecodeRecord(cut.data(), 0, h));
    // The ad field cut off.
    const std::vector<uint8_t> ad = {0x10, 0x05, 0x00, 0x01};
    EXPECT_FALSE(r.DecodeRecord(ad.data(), static_cast<int32_t>(ad.size()), h));
    // A text block that never reaches the code of 0: 'A' is the only other symbol.
    std::vector<uint8_t> endless = {0x01, 0x05, 0x00, 0x10, 0x00, 0x20, 0x00};
    uint8_t aCode[4];
    h.Encode(aCode, 4, "A", huffman::kNoTerminator);
    endless.resize(512, (aCode[0] & 0x80) ? 0xFF : 0x00);
    ASSERT_TRUE(r.DecodeRecord(endless.data(), static_cast<int32_t>(endless.size()), h));
    EXPECT_EQ(r.name.size(), 511u); // the whole text buffer, and no separator for the address
}

TEST(RecordEncoder, RandomRecordsRoundTrip)
{
    std::mt19937 rng(3);
    const auto records = randomRecords(rng, 500);
    const BuiltStore store = buildStore(records);
    huffman h;
    h.loadBytes(store.table.data(), store.table.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const uint32_t o = bytes::le32(&store.offsets[4 * i]);
        const uint32_t end =
            i + 1 < records.size() ? bytes::le32(&store.offsets[4 * i + 4]) : static_cast<uint32_t>(store.data.size());
        registro r;
        ASSERT_TRUE(r.DecodeRecord(&store.data[o], static_cast<int32_t>(end - o), h));
        const RecordFields& f = records[i];
        EXPECT_EQ(r.rubroId, f.rubroId);
        EXPECT_EQ(r.localityId, f.localityId);
        EXPECT_EQ(r.areaCode, f.areaCode);
        EXPECT_EQ(r.phonePrefix, f.phonePrefix);
        EXPECT_EQ(r.phoneLine, f.phoneLine);
        EXPECT_EQ(r.adNumber, f.adNumber);
        EXPECT_EQ((r.flags & registro::kNameInherited) != 0, f.nameInherited);
        EXPECT_EQ((r.flags & registro::kAddressInherited) != 0, f.addressInherited);
        if (!f.nameInherited) {
            EXPECT_EQ(r.name, f.name);
        }
        if (!f.addressInherited) {
            EXPECT_EQ(r.address, f.address);
        }
        EXPECT_EQ(r.web, f.web);
        EXPECT_EQ(r.mail, f.mail);
    }
}

TEST(RecordEncoder, SymbolCountsMatchTheStoredText)
{
    std::mt19937 rng(8);
    for (const auto& r : randomRecords(rng, 300)) {
        SymbolCounts direct{}, viaText{};
        countRecordSymbols(direct, r);
        countSymbols(viaText, recordText(r));
        ASSERT_EQ(direct, viaText);
    }
}

TEST(RecordEncoder, RefusesWhatTheLayoutCannotHold)
{
    const huffman h = tableFor("ABC\x01");
    std::vector<uint8_t> out;
    RecordFields r;
    r.name = "ABC";
    r.localityId = 0x8000; // would read as a rubro word
    EXPECT_FALSE(encodeRecord(r, h, out));
    r.localityId = 5;
    r.rubroId = 0x8000;
    EXPECT_FALSE(encodeRecord(r, h, out));
    r.rubroId = 0;
    r.name = "A\x01"
             "B";
    EXPECT_FALSE(encodeRecord(r, h, out));
    r.name = "XYZ"; // no code for these characters
    std::string why;
    EXPECT_FALSE(encodeRecord(r, h, out, &why));
    EXPECT_NE(why.find("code"), std::string::npos);
    r.name = std::string(600, 'A');
    EXPECT_FALSE(encodeRecord(r, h, out));
    EXPECT_TRUE(out.empty());
    r.name = "ABC";
    EXPECT_TRUE(encodeRecord(r, h, out));
    EXPECT_FALSE(out.empty());
}

} // namespace
