#include "engine/Archivo.h"
#include "engine/PkTable.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

TEST(Archivo, ReadsSpanningBlocksInOrder)
{
    MemoryFiles fs;
    const auto bytes = iota(100);
    fs.put("f", bytes);
    Archivo a("f", 16, fs.opener());
    ASSERT_TRUE(a.IsOpen());
    EXPECT_EQ(a.Size(), 100u);
    uint8_t out[40] = {};
    EXPECT_EQ(a.ReadAt(out, 40, 10), 40); // blocks 0, 1, 2 and 3
    EXPECT_EQ(std::memcmp(out, bytes.data() + 10, 40), 0);
    EXPECT_EQ(a.cachedBlock(), 3);
}

TEST(Archivo, ShortReadsAtTheEnd)
{
    MemoryFiles fs;
    const auto bytes = iota(100);
    fs.put("f", bytes);
    Archivo a("f", 16, fs.opener());
    uint8_t out[8] = {};
    EXPECT_EQ(a.ReadAt(out, 4, 98), 2); // 2 bytes before the end
    EXPECT_EQ(out[0], bytes[98]);
    EXPECT_EQ(out[1], bytes[99]);
    EXPECT_EQ(a.ReadAt(out, 4, 100), 0);  // exactly at the end
    EXPECT_EQ(a.ReadAt(out, 4, 5000), 0); // far past it
    EXPECT_EQ(a.ReadAt(out, 0, 0), 0);
    // A file that ends exactly on a block boundary: the next block is empty.
    fs.put("g", iota(32));
    Archivo b("g", 16, fs.opener());
    EXPECT_EQ(b.ReadAt(out, 8, 28), 4);
}

TEST(Archivo, RepeatedBlockCostsNoRead)
{
    int reads = 0;
    const auto bytes = iota(64);
    Archivo a("x", 16, [&](const std::string&) { return std::make_unique<FailingSource>(bytes, 1 << 30, &reads); });
    uint8_t out[4];
    ASSERT_EQ(a.ReadAt(out, 4, 0), 4);
    ASSERT_EQ(a.ReadAt(out, 4, 8), 4);
    ASSERT_EQ(a.ReadAt(out, 2, 14), 2);
    EXPECT_EQ(reads, 1);
}

TEST(Archivo, FailedSeekKeepsTheCachedBlockAndReturnsWhatWasCopied)
{
    int reads = 0;
    const auto bytes = iota(64);
    Archivo a("x", 16, [&](const std::string&) { return std::make_unique<FailingSource>(bytes, 32, &reads); });
    uint8_t out[40] = {};
    EXPECT_EQ(a.ReadAt(out, 40, 8), 24); // blocks 0 and 1 copied, block 2 fails
    EXPECT_EQ(std::memcmp(out, bytes.data() + 8, 24), 0);
    EXPECT_EQ(a.cachedBlock(), 1);
    EXPECT_EQ(a.validCount(), 16);
    EXPECT_EQ(a.LoadBlock(3), nullptr);
    EXPECT_EQ(a.cachedBlock(), 1);
}

TEST(Archivo, ClosedFilesAndMissingBuffers)
{
    MemoryFiles fs;
    fs.put("f", iota(10));
    Archivo missing("nope", 16, fs.opener());
    uint8_t out[4];
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Size(), 0u);
    EXPECT_EQ(missing.LoadBlock(0), nullptr);
    EXPECT_EQ(missing.ReadAt(out, 4, 0), 0);

    Archivo noBuffer("f", 0, fs.opener());
    EXPECT_TRUE(noBuffer.IsOpen());
    EXPECT_EQ(noBuffer.LoadBlock(0), nullptr);
    EXPECT_EQ(noBuffer.ReadAt(out, 4, 0), 0);

    Archivo a("f", 16, fs.opener());
    ASSERT_EQ(a.ReadAt(out, 4, 0), 4);
    EXPECT_FALSE(a.Open()); // already open: unchanged
    EXPECT_TRUE(a.IsOpen());
    EXPECT_EQ(a.cachedBlock(), 0);
    EXPECT_EQ(fs.opens(), 2);
    a.Close();
    EXPECT_FALSE(a.IsOpen());
    EXPECT_EQ(a.Size(), 0u);
    EXPECT_EQ(a.cachedBlock(), -1);
    EXPECT_EQ(a.ReadAt(out, 4, 0), 0);
    a.Close(); // closing twice does nothing
    EXPECT_TRUE(a.Open());
    EXPECT_EQ(a.ReadAt(out, 4, 0), 4);
}

TEST(Archivo, ReadsARealFile)
{
    const auto dir = std::filesystem::temp_directory_path() / "ortelia-test-archivo";
    std::filesystem::create_directories(dir);
    const auto path = (dir / "real.bin").string();
    const auto bytes = iota(20000);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 20000);
    Archivo a(path, 8192);
    ASSERT_TRUE(a.IsOpen());
    EXPECT_EQ(a.Size(), 20000u);
    std::vector<uint8_t> out(20000);
    EXPECT_EQ(a.ReadAt(out.data(), 20000, 0), 20000);
    EXPECT_EQ(out, bytes);
    EXPECT_EQ(a.ReadAt(out.data(), 100, 19990), 10);
    std::filesystem::remove_all(dir);
}

TEST(PkTable, CountsAndOffsets)
{
    MemoryFiles fs;
    fs.put("pk", {0x10, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0xAA, 0xBB}); // 10 bytes: 2 entries
    PkTable pk("pk", 8192, fs.opener());
    EXPECT_EQ(pk.Count(), 2u);
    EXPECT_EQ(pk.OffsetOf(1), 0x10);
    EXPECT_EQ(pk.OffsetOf(2), 0x7FFFFFFF);
    EXPECT_EQ(pk.OffsetOf(3), -1);
    EXPECT_EQ(pk.OffsetOf(0), -1);
    EXPECT_EQ(pk.OffsetOf(-5), -1);

    PkTable missing("none", 8192, fs.opener());
    EXPECT_EQ(missing.Count(), 0u);
    for (int n : {-1, 0, 1, 2, 1000})
        EXPECT_EQ(missing.OffsetOf(n), -1);

    pk.Close();
    EXPECT_EQ(pk.OffsetOf(1), -1);
}

} // namespace
