#include "engine/Bytes.h"
#include "engine/QdData.h"
#include "tests/support/MemoryFiles.h"
#include "tests/support/RecordFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

struct Store {
    MemoryFiles fs;
    std::unique_ptr<QdData> data;
    explicit Store(const BuiltStore& b, bool withData = true, bool withOffsets = true)
    {
        if (withData)
            fs.put("QD.dat", b.data);
        if (withOffsets)
            fs.put("PK.idx", b.offsets);
        fs.put("QD.hfm", {b.table.begin(), b.table.end()});
        data = std::make_unique<QdData>("QD.dat", "PK.idx", 8192, fs.opener());
        data->LoadCodeTable("QD.hfm");
    }
};

RecordFields named(const std::string& name, const std::string& address, bool inheritName = false,
                   bool inheritAddress = false)
{
    RecordFields r;
    r.name = name;
    r.address = address;
    r.nameInherited = inheritName;
    r.addressInherited = inheritAddress;
    r.areaCode = 11;
    r.phonePrefix = 4348;
    r.phoneLine = 75;
    return r;
}

TEST(RecordStore, LengthsAndBounds)
{
    const BuiltStore b = buildStore({named("UNO", "CALLE 1"), named("DOS", "CALLE 2"), named("TRES", "CALLE 3")});
    Store s(b);
    ASSERT_EQ(s.data->RecordCount(), 3);
    const int32_t o3 = static_cast<int32_t>(bytes::le32(&b.offsets[8]));
    EXPECT_EQ(s.data->RecordLength(3), static_cast<int32_t>(b.data.size()) - o3); // runs to the end
    EXPECT_EQ(s.data->RecordLength(1), static_cast<int32_t>(bytes::le32(&b.offsets[4])));
    EXPECT_EQ(s.data->RecordLength(0), 0);
    EXPECT_EQ(s.data->RecordLength(4), 0);

    registro r;
    r.name = "untouched";
    EXPECT_FALSE(s.data->ReadRecord(r, 0));
    EXPECT_FALSE(s.data->ReadRecord(r, 4));
    EXPECT_EQ(r.name, "untouched");
    EXPECT_EQ(r.recno, 0);
    ASSERT_TRUE(s.data->ReadRecord(r, 3));
    EXPECT_EQ(r.recno, 3);
    EXPECT_EQ(r.name, "TRES");
    EXPECT_EQ(r.DisplayPhone(), "(011) 4348-0075");
}

TEST(RecordStore, MissingFiles)
{
    const BuiltStore b = buildStore({named("UNO", "CALLE 1")});
    Store noOffsets(b, true, false);
    registro r;
    EXPECT_EQ(noOffsets.data->RecordCount(), 0);
    EXPECT_FALSE(noOffsets.data->ReadRecord(r, 1));
    Store noData(b, false, true);
    EXPECT_EQ(noData.data->RecordCount(), 1);
    EXPECT_FALSE(noData.data->ReadRecord(r, 1));
    EXPECT_EQ(noData.data->RecordLength(1), 0); // the last record runs to the end of an empty file
}

TEST(RecordStore, InheritedNameFromThePreviousRecord)
{
    Store s(buildStore({named("GARCIA JUAN", "CALLE 1"), named("", "CALLE 2", true, false)}));
    registro r;
    ASSERT_TRUE(s.data->ReadRecord(r, 2));
    EXPECT_EQ(r.name, "GARCIA JUAN");
    EXPECT_EQ(r.address, "CALLE 2");
    EXPECT_EQ(r.flags & registro::kNameInherited, 0);
    registro raw;
    ASSERT_TRUE(s.data->ReadRecord(raw, 2, false));
    EXPECT_NE(raw.flags & registro::kNameInherited, 0);
    EXPECT_EQ(raw.name, "");
}

TEST(RecordStore, ReadingTheEndOfARunAloneWalksBack)
{
    Store s(buildStore({named("ACME SA", "RUTA 9 KM 5"), named("", "", true, true), named("", "", true, true)}));
    registro r;
    ASSERT_TRUE(s.data->ReadRecord(r, 3));
    EXPECT_EQ(r.name, "ACME SA");
    EXPECT_EQ(r.address, "RUTA 9 KM 5");
    EXPECT_EQ(r.flags & (registro::kNameInherited | registro::kAddressInherited), 0);
}

TEST(RecordStore, ARunReachingRecordOneKeepsTheDecodedField)
{
    Store s(buildStore({named("", "CALLE", true, false), named("", "", true, true)}));
    registro r;
    ASSERT_TRUE(s.data->ReadRecord(r, 2));
    EXPECT_EQ(r.address, "CALLE");
    EXPECT_EQ(r.name, "");
    EXPECT_NE(r.flags & registro::kNameInherited, 0);
}

TEST(RecordStore, RandomStoresReadInAnyOrderMatchTheSource)
{
    std::mt19937 rng(17);
    for (int round = 0; round < 5; ++round) {
        auto records = randomRecords(rng, 400);
        records[0].nameInherited = records[0].addressInherited = false;
        Store s(buildStore(records));
        // The expected resolved name/address of each record.
        std::vector<std::string> names, addresses;
        for (const auto& f : records) {
            names.push_back(f.nameInherited ? names.back() : f.name);
            addresses.push_back(f.addressInherited ? addresses.back() : f.address);
        }
        std::vector<int32_t> order(records.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int32_t>(i + 1);
        if (round % 2)
            std::shuffle(order.begin(), order.end(), rng);
        else if (round == 2)
            std::reverse(order.begin(), order.end());
        for (int32_t n : order) {
            registro r;
            ASSERT_TRUE(s.data->ReadRecord(r, n));
            const auto& f = records[static_cast<size_t>(n - 1)];
            ASSERT_EQ(r.name, names[static_cast<size_t>(n - 1)]) << "record " << n;
            ASSERT_EQ(r.address, addresses[static_cast<size_t>(n - 1)]) << "record " << n;
            EXPECT_EQ(r.localityId, f.localityId);
            EXPECT_EQ(r.rubroId, f.rubroId);
            EXPECT_EQ(r.web, f.web);
            EXPECT_EQ(r.mail, f.mail);
        }
    }
}

TEST(RecordStore, DamagedOffsetsAndTruncatedFiles)
{
    std::mt19937 rng(23);
    const auto records = randomRecords(rng, 50);
    BuiltStore b = buildStore(records);
    // Record 10 points back before record 9: a negative length reads 512 bytes.
    bytes::setLe32(&b.offsets[4 * 9], 3);
    // Record 20 points past the end of the file.
    bytes::setLe32(&b.offsets[4 * 19], 0x7FFFFFF0);
    // Negative offsets far apart: their difference does not fit 32 bits.
    bytes::setLe32(&b.offsets[4 * 29], 0x80000001u);
    bytes::setLe32(&b.offsets[4 * 30], 0x7FFFFFF0u);
    b.data.resize(b.data.size() - 7); // the last record is cut short
    Store s(b);
    EXPECT_EQ(s.data->RecordLength(9), 3 - static_cast<int32_t>(bytes::le32(&b.offsets[4 * 8])));
    registro r;
    for (int32_t n = 1; n <= s.data->RecordCount(); ++n)
        s.data->ReadRecord(r, n);
    for (int32_t n = s.data->RecordCount(); n >= 1; --n)
        s.data->ReadRecord(r, n);
    EXPECT_EQ(s.data->RecordLength(30), INT32_MAX);
    EXPECT_EQ(s.data->RecordLength(31), static_cast<int32_t>(bytes::le32(&b.offsets[4 * 31])) - 0x7FFFFFF0);
    EXPECT_TRUE(s.data->ReadRecord(r, 20)); // an offset past the end decodes nothing
    EXPECT_EQ(r.recno, 20);
}

TEST(RecordStore, IndexSlots)
{
    const BuiltStore b = buildStore({named("UNO", "CALLE 1")});
    Store s(b);
    EXPECT_EQ(s.data->IndexAt(0), nullptr);
    EXPECT_EQ(s.data->IndexAt(1), nullptr);
    for (int slot = 1; slot <= 10; ++slot)
        EXPECT_EQ(s.data->AddIndex("missing.idx", 4096), slot);
    EXPECT_EQ(s.data->AddIndex("missing.idx", 4096), 0);
    EXPECT_EQ(s.data->AddWordIndex("missing.idx", "missing.hfm", 10240), 0);
    EXPECT_NE(s.data->IndexAt(10), nullptr);
    EXPECT_EQ(s.data->IndexAt(11), nullptr);
}

TEST(RecordStore, ReadsFilesWrittenByTheStoreWriter)
{
    std::mt19937 rng(29);
    const auto records = randomRecords(rng, 2000);
    SymbolCounts counts{};
    for (const auto& r : records)
        countSymbols(counts, recordText(r));
    const huffman codes = makeHuffman(counts);
    const auto dir = std::filesystem::temp_directory_path() / "ortelia-test-store";
    std::filesystem::create_directories(dir);
    RecordStoreWriter w((dir / "QD.dat").string(), (dir / "PK.idx").string(), codes);
    for (const auto& r : records)
        ASSERT_TRUE(w.add(r));
    ASSERT_TRUE(w.finish());
    ASSERT_TRUE(writeFile((dir / "QD.hfm").string(), {codes.raw().begin(), codes.raw().end()}));
    QdData store((dir / "QD.dat").string(), (dir / "PK.idx").string(), 8192);
    store.LoadCodeTable((dir / "QD.hfm").string());
    ASSERT_EQ(store.RecordCount(), 2000);
    registro r;
    std::string lastName;
    for (int32_t n = 1; n <= 2000; ++n) {
        r.Clear();
        ASSERT_TRUE(store.ReadRecord(r, n));
        const auto& f = records[static_cast<size_t>(n - 1)];
        if (!f.nameInherited)
            lastName = f.name;
        ASSERT_EQ(r.name, lastName);
        EXPECT_EQ(r.phoneLine, f.phoneLine);
    }
    std::filesystem::remove_all(dir);
}

} // namespace
