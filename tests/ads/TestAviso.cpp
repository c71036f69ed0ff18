#include "ads/aviso.h"
#include "builder/AdStoreWriter.h"
#include "builder/HuffmanTableBuilder.h"
#include "engine/Bytes.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

void putStore(MemoryFiles& fs, const AdStoreWriter& writer)
{
    AdStoreWriter::Files files;
    std::string error;
    ASSERT_TRUE(writer.finish(files, &error)) << error;
    fs.put("AVI.dat", files.data);
    fs.put("AVI.pk", files.offsets);
    fs.put("AVI.hfm", {files.table.begin(), files.table.end()});
}

std::unique_ptr<aviso> openStore(MemoryFiles& fs)
{
    auto store = std::make_unique<aviso>("AVI.dat", "AVI.pk", 512, fs.opener());
    EXPECT_TRUE(store->LoadCodeTable("AVI.hfm", fs.opener()));
    return store;
}

// One hand-made entry: kind, reference, image number when the kind has one, then the stream.
std::vector<uint8_t> entry(int8_t kind, int32_t reference, int32_t image, const std::vector<uint8_t>& stream)
{
    std::vector<uint8_t> e{static_cast<uint8_t>(kind)};
    bytes::putLe32(e, static_cast<uint32_t>(reference));
    if (kind == 0 || kind == 5)
        bytes::putLe32(e, static_cast<uint32_t>(image));
    e.insert(e.end(), stream.begin(), stream.end());
    return e;
}

std::vector<uint8_t> offsets(const std::vector<uint32_t>& values)
{
    std::vector<uint8_t> pk;
    for (uint32_t v : values)
        bytes::putLe32(pk, v);
    return pk;
}

std::vector<uint8_t> coded(const huffman& table, std::string_view text)
{
    std::vector<uint8_t> out(text.size() * 4 + 8);
    const int32_t bits = table.Encode(out.data(), static_cast<int32_t>(out.size()), text, 0);
    out.resize(static_cast<size_t>((bits + 7) / 8));
    return out;
}

TEST(aviso, AdNumbersOutsideTheStoreReadNothing)
{
    AdStoreWriter writer;
    ASSERT_TRUE(writer.addLines(0, 11, 21, {"Primero"}));
    ASSERT_TRUE(writer.addLines(8, 12, 0, {"Segundo"}));
    MemoryFiles fs;
    putStore(fs, writer);
    auto store = openStore(fs);
    ASSERT_EQ(store->adCount(), 2);
    ASSERT_TRUE(store->Read(1));
    for (int32_t n : {0, -1, INT32_MIN, 3, INT32_MAX})
        EXPECT_FALSE(store->Read(n)) << n;
    // A failed read leaves the last ad in place.
    EXPECT_EQ(store->kind(), 0);
    EXPECT_EQ(store->reference(), 11);
    EXPECT_EQ(store->imageNumber(), 21);
    EXPECT_EQ(store->lines(), Lines{"Primero"});
}

TEST(aviso, KindsDecideWhereTheTextStarts)
{
    AdStoreWriter writer;
    ASSERT_TRUE(writer.addLines(5, 100, 777, {"Foto"}));
    ASSERT_TRUE(writer.addLines(3, 123456, 999, {"En el servidor"})); // no image field is stored
    ASSERT_TRUE(writer.addLines(-2, -7, 0, {"Otro"}));
    ASSERT_TRUE(writer.addLines(0, 1, -5, {}));
    MemoryFiles fs;
    putStore(fs, writer);
    auto store = openStore(fs);
    ASSERT_TRUE(store->Read(1));
    EXPECT_EQ(store->kind(), 5);
    EXPECT_EQ(store->imageNumber(), 777);
    EXPECT_EQ(store->lines(), Lines{"Foto"});

    ASSERT_TRUE(store->Read(2));
    EXPECT_EQ(store->kind(), 3);
    EXPECT_EQ(store->reference(), 123456);
    EXPECT_EQ(store->imageNumber(), 777); // untouched by a kind without the field
    EXPECT_EQ(store->lines(), Lines{"En el servidor"});

    ASSERT_TRUE(store->Read(3));
    EXPECT_EQ(store->kind(), -2); // widened with its sign
    EXPECT_EQ(store->reference(), -7);
    EXPECT_EQ(store->lines(), Lines{"Otro"});

    ASSERT_TRUE(store->Read(4));
    EXPECT_EQ(store->kind(), 0);
    EXPECT_EQ(store->imageNumber(), -5);
    EXPECT_TRUE(store->lines().empty());
}

TEST(aviso, LineSplitting)
{
    AdStoreWriter writer;
    for (const char* text : {"Title\x01\x01"
                             "Body\x01",
                             "Title\x01\x01"
                             "Body",
                             "\x01", "\x01\x01", "", "Solo",
                             "\x01"
                             "A"})
        ASSERT_TRUE(writer.add({8, 0, 0, text}));
    MemoryFiles fs;
    putStore(fs, writer);
    auto store = openStore(fs);
    const std::vector<std::string>* list = &store->lines();
    const std::vector<Lines> expected{
        {"Title", "", "Body"}, {"Title", "", "Body"}, {""}, {"", ""}, {}, {"Solo"}, {"", "A"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(store->Read(static_cast<int32_t>(i + 1)));
        EXPECT_EQ(store->lines(), expected[i]) << "ad " << i + 1;
        EXPECT_EQ(&store->lines(), list); // the same list object, refilled
    }
}

TEST(aviso, LastAdRunsToTheEndOfTheDataFile)
{
    SymbolCounts counts{};
    countSymbols(counts, "uno dos tres");
    const huffman table = makeHuffman(counts);
    std::vector<uint8_t> data = entry(8, 1, 0, coded(table, "uno"));
    const auto second = static_cast<uint32_t>(data.size());
    const auto e2 = entry(8, 2, 0, coded(table, "dos tres"));
    data.insert(data.end(), e2.begin(), e2.end());
    data.insert(data.end(), {0xAA, 0xBB}); // bytes past the terminator belong to the last entry
    MemoryFiles fs;
    fs.put("AVI.dat", data);
    fs.put("AVI.pk", offsets({0, second}));
    fs.put("AVI.hfm", {table.raw().begin(), table.raw().end()});
    auto store = openStore(fs);
    EXPECT_EQ(store->EntryLength(1), static_cast<int32_t>(second));
    EXPECT_EQ(store->EntryLength(2), static_cast<int32_t>(e2.size() + 2));
    ASSERT_TRUE(store->Read(2));
    EXPECT_EQ(store->lines(), Lines{"dos tres"});
}

TEST(aviso, OffsetFileSizeGivesTheAdCount)
{
    MemoryFiles fs;
    fs.put("AVI.dat", entry(8, 0, 0, {}));
    std::vector<uint8_t> pk = offsets({0, 0});
    pk.insert(pk.end(), {1, 2}); // 10 bytes: the remainder is dropped
    fs.put("AVI.pk", pk);
    aviso store("AVI.dat", "AVI.pk", 512, fs.opener());
    EXPECT_EQ(store.adCount(), 2);

    aviso none("AVI.dat", "missing.pk", 512, fs.opener());
    EXPECT_EQ(none.adCount(), 0);
    EXPECT_FALSE(none.Read(1));
    EXPECT_EQ(none.EntryLength(1), -1);
    EXPECT_EQ(store.EntryLength(0), 0);
    EXPECT_EQ(store.EntryLength(3), 0);
}

TEST(aviso, ReadsAtMost8000BytesOfAnEntry)
{
    // Every byte value equally frequent: all codes are 8 bits, so each entry byte is one character.
    SymbolCounts counts{};
    counts.fill(1);
    const huffman table = makeHuffman(counts);
    std::string text;
    for (int i = 0; i < 9000; ++i)
        text.push_back(static_cast<char>('A' + i % 26));
    const auto data = entry(8, 0, 0, coded(table, text));
    ASSERT_EQ(data.size(), 9006u);
    MemoryFiles fs;
    fs.put("AVI.dat", data);
    fs.put("AVI.pk", offsets({0}));
    fs.put("AVI.hfm", {table.raw().begin(), table.raw().end()});
    auto store = openStore(fs);
    EXPECT_EQ(store->EntryLength(1), 9006);
    ASSERT_TRUE(store->Read(1));
    ASSERT_EQ(store->lines().size(), 1u);
    EXPECT_EQ(store->lines()[0], text.substr(0, 7995));
}

TEST(aviso, DecodedTextStopsAt9999Characters)
{
    SymbolCounts counts{};
    countSymbols(counts, std::string(1000, 'a') + "b");
    const huffman table = makeHuffman(counts);
    const std::string text = std::string(12000, 'a');
    const auto stream = coded(table, text);
    ASSERT_LT(stream.size(), 7000u);
    MemoryFiles fs;
    fs.put("AVI.dat", entry(2, 0, 0, stream));
    fs.put("AVI.pk", offsets({0}));
    fs.put("AVI.hfm", {table.raw().begin(), table.raw().end()});
    auto store = openStore(fs);
    ASSERT_TRUE(store->Read(1));
    ASSERT_EQ(store->lines().size(), 1u);
    EXPECT_EQ(store->lines()[0].size(), 9999u);
}

TEST(aviso, BrokenFilesGiveNoAd)
{
    SymbolCounts counts{};
    countSymbols(counts, "abc");
    const huffman table = makeHuffman(counts);
    std::vector<uint8_t> data = entry(8, 5, 0, coded(table, "abc")); // 0: a good entry
    const auto good = static_cast<uint32_t>(data.size());
    data.insert(data.end(), {8, 1, 2});                // 1: shorter than a header
    data.insert(data.end(), {0, 1, 0, 0, 0, 9, 9, 9}); // 2: kind 0, image number cut short
    const auto size = static_cast<uint32_t>(data.size());
    MemoryFiles fs;
    fs.put("AVI.dat", data);
    // Ads: 1 good, 2 too short, 3 image cut short, 4 offsets going backwards, 5 followed by an
    // offset past 2 GiB, 6 starting there, 7 the last, starting past the end of the file.
    fs.put("AVI.pk", offsets({0, good, good + 3, size, good, 0x90000000u, size + 10}));
    fs.put("AVI.hfm", {table.raw().begin(), table.raw().end()});
    auto store = openStore(fs);
    ASSERT_EQ(store->adCount(), 7);
    ASSERT_TRUE(store->Read(1));
    EXPECT_EQ(store->lines(), Lines{"abc"});
    EXPECT_EQ(store->EntryLength(3), 8);
    EXPECT_EQ(store->EntryLength(4), static_cast<int32_t>(good) - static_cast<int32_t>(size));
    EXPECT_EQ(store->EntryLength(5), 0);
    EXPECT_EQ(store->EntryLength(6), 0);
    EXPECT_EQ(store->EntryLength(7), -10);
    for (int32_t n = 2; n <= 7; ++n)
        EXPECT_FALSE(store->Read(n)) << n;
    EXPECT_EQ(store->lines(), Lines{"abc"});
    EXPECT_EQ(store->reference(), 5);

    // The offsets are there but the data file is not.
    aviso noData("missing.dat", "AVI.pk", 512, fs.opener());
    EXPECT_EQ(noData.adCount(), 7);
    EXPECT_FALSE(noData.Read(1));

    // Offsets pointing into a data file shorter than they say: only the bytes read are parsed.
    fs.put("short.dat", {0, 1, 0, 0, 0, 3});
    fs.put("short.pk", offsets({0, 100}));
    aviso shortData("short.dat", "short.pk", 512, fs.opener());
    EXPECT_FALSE(shortData.Read(1));
}

TEST(aviso, TextThatNeverReachesTheTerminatorKeepsWhatWasDecoded)
{
    SymbolCounts counts{};
    countSymbols(counts, "xy\x01z");
    const huffman table = makeHuffman(counts);
    std::vector<uint8_t> stream(40);
    const int32_t bits = table.Encode(stream.data(), 40, "xy\x01zx", huffman::kNoTerminator);
    stream.resize(static_cast<size_t>((bits + 7) / 8));
    MemoryFiles fs;
    fs.put("AVI.dat", entry(8, 0, 0, stream));
    fs.put("AVI.pk", offsets({0}));
    fs.put("AVI.hfm", {table.raw().begin(), table.raw().end()});
    auto store = openStore(fs);
    ASSERT_TRUE(store->Read(1));
    ASSERT_EQ(store->lines().size(), 2u);
    EXPECT_EQ(store->lines()[0], "xy");
    EXPECT_EQ(store->lines()[1].substr(0, 2), "zx"); // padding bits may decode a little more

    // Random tables and entries: never a read outside the buffers.
    std::mt19937 rng(3);
    for (int round = 0; round < 30; ++round) {
        std::vector<uint8_t> raw(huffman::kTableSize), data(3000 + rng() % 9000), pk(4 * (1 + rng() % 8));
        for (auto* v : {&raw, &data, &pk})
            for (auto& b : *v)
                b = static_cast<uint8_t>(rng());
        for (size_t i = 0; i + 3 < pk.size(); i += 4)
            bytes::setLe32(&pk[i], static_cast<uint32_t>(rng() % (data.size() + 50)));
        fs.put("r.dat", data);
        fs.put("r.pk", pk);
        fs.put("r.hfm", raw);
        aviso r("r.dat", "r.pk", 512, fs.opener());
        ASSERT_TRUE(r.LoadCodeTable("r.hfm", fs.opener()));
        for (int32_t n = 0; n <= r.adCount() + 1; ++n)
            if (r.Read(n)) {
                size_t total = 0;
                for (const auto& line : r.lines())
                    total += line.size() + 1;
                EXPECT_LE(total, 10000u);
            }
    }
}

TEST(AdStoreWriter, RandomAdsRoundTrip)
{
    std::mt19937 rng(11);
    const int8_t kinds[] = {0, 2, 3, 5, 8, -1, 127};
    AdStoreWriter writer;
    struct Expected {
        int8_t kind;
        int32_t reference, image;
        Lines lines;
    };
    std::vector<Expected> ads;
    for (int i = 0; i < 400; ++i) {
        Expected ad{kinds[rng() % 7], static_cast<int32_t>(rng()), static_cast<int32_t>(rng()), {}};
        ad.lines.resize(rng() % 12);
        for (auto& line : ad.lines) {
            line.resize(rng() % 5 == 0 ? 0 : rng() % 400);
            for (char& ch : line)
                ch = static_cast<char>(rng() % 100 == 0 ? 2 + rng() % 254 : 'a' + rng() % 26);
        }
        ASSERT_TRUE(writer.addLines(ad.kind, ad.reference, ad.image, ad.lines));
        ads.push_back(ad);
    }
    // One at the text limit: 9999 characters with its separators.
    Expected big{8, 1, 0, {std::string(4999, 'q'), std::string(4998, 'r')}};
    ASSERT_TRUE(writer.addLines(big.kind, big.reference, big.image, big.lines));
    ads.push_back(big);

    MemoryFiles fs;
    putStore(fs, writer);
    auto store = openStore(fs);
    ASSERT_EQ(store->adCount(), static_cast<int32_t>(ads.size()));
    int32_t lastImage = 0;
    for (size_t i = 0; i < ads.size(); ++i) {
        ASSERT_TRUE(store->Read(static_cast<int32_t>(i + 1))) << i + 1;
        EXPECT_EQ(store->kind(), ads[i].kind);
        EXPECT_EQ(store->reference(), ads[i].reference);
        if (ads[i].kind == 0 || ads[i].kind == 5)
            lastImage = ads[i].image;
        EXPECT_EQ(store->imageNumber(), lastImage);
        EXPECT_EQ(store->lines(), ads[i].lines) << "ad " << i + 1;
    }
}

TEST(AdStoreWriter, RejectsWhatTheReaderWouldCut)
{
    AdStoreWriter writer;
    EXPECT_FALSE(writer.add({8, 0, 0, std::string(10000, 'a')}));
    EXPECT_TRUE(writer.add({8, 0, 0, std::string(9999, 'a')}));
    EXPECT_FALSE(writer.add({8, 0, 0, std::string("a\0b", 3)}));
    EXPECT_FALSE(writer.addLines(8, 0, 0,
                                 {"a\x01"
                                  "b"}));
    EXPECT_FALSE(writer.addLines(8, 0, 0, {std::string(5000, 'a'), std::string(5000, 'b')}));
    EXPECT_EQ(writer.adCount(), 1u);

    // Every byte value about equally often: about 8 bits a character, far over 8000 bytes.
    std::string spread;
    for (int i = 0; i < 9999; ++i)
        spread.push_back(static_cast<char>(1 + i % 255));
    ASSERT_TRUE(writer.add({0, 0, 0, spread}));
    AdStoreWriter::Files files;
    std::string error;
    EXPECT_FALSE(writer.finish(files, &error));
    EXPECT_NE(error.find("ad 2 codes to"), std::string::npos) << error;
}

TEST(AdStoreWriter, SavesFilesTheStoreOpens)
{
    const auto dir = std::filesystem::temp_directory_path() / ("ortelia-aviso-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    AdStoreWriter writer;
    ASSERT_TRUE(writer.addLines(2, 9, 0,
                                {"Ferreter\xED"
                                 "a \xD1"
                                 "and\xFA",
                                 "Env\xEDos"}));
    std::string error;
    ASSERT_TRUE(writer.save((dir / "AVI.dat").string(), (dir / "AVI.pk").string(), (dir / "AVI.hfm").string(), &error))
        << error;
    aviso store((dir / "AVI.dat").string(), (dir / "AVI.pk").string(), 512);
    ASSERT_TRUE(store.LoadCodeTable((dir / "AVI.hfm").string()));
    ASSERT_TRUE(store.Read(1));
    EXPECT_EQ(store.lines(), (Lines{"Ferreter\xED"
                                    "a \xD1"
                                    "and\xFA",
                                    "Env\xEDos"}));
    EXPECT_EQ(std::filesystem::file_size(dir / "AVI.hfm"), static_cast<uintmax_t>(huffman::kTableSize));
    EXPECT_FALSE(writer.save((dir / "no" / "AVI.dat").string(), "x", "y", &error));
    std::filesystem::remove_all(dir);
}

} // namespace
