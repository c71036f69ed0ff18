#include "engine/CaseInsensitivePath.h"
#include "tests/support/MemoryFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace {

void touch(const std::string& path, const std::string& text = "x")
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(CaseInsensitivePath, FindsTheRealSpellingInAFolder)
{
    TempDir dir("casepath");
    touch(dir / "QD.DAT");
    touch(dir / "PK.idx");
    std::filesystem::create_directory(dir / "DATA");
    const std::string root = dir.path().string();

    EXPECT_EQ(casepath::findInFolder(root, "qd.dat"), root + "/QD.DAT");
    EXPECT_EQ(casepath::findInFolder(root, "PK.idx"), root + "/PK.idx");
    EXPECT_EQ(casepath::findInFolder(root, "pk.IDX"), root + "/PK.idx");
    EXPECT_EQ(casepath::findInFolder(root, "data"), root + "/DATA");
    EXPECT_EQ(casepath::findInFolder(root + "/", "data"), root + "/DATA"); // no doubled separator
    // Absent names, and a name that only differs by more than case, keep the given spelling.
    EXPECT_EQ(casepath::findInFolder(root, "ixpal.idx"), root + "/ixpal.idx");
    EXPECT_EQ(casepath::findInFolder(root, "qd.da"), root + "/qd.da");
    EXPECT_EQ(casepath::findInFolder(root + "/missing", "qd.dat"), root + "/missing/qd.dat");
}

TEST(CaseInsensitivePath, PrefersTheExactSpellingThenTheSmallest)
{
    TempDir dir("casepath");
    touch(dir / "qd.hfm");
    touch(dir / "QD.hfm");
    touch(dir / "Qd.Hfm");
    const std::string root = dir.path().string();
    EXPECT_EQ(casepath::findInFolder(root, "Qd.Hfm"), root + "/Qd.Hfm");
    EXPECT_EQ(casepath::findInFolder(root, "qd.HFM"), root + "/QD.hfm"); // "QD.hfm" < "Qd.Hfm" < "qd.hfm"
}

TEST(CaseInsensitivePath, EmptyFolderIsTheCurrentDirectory)
{
    TempDir dir("casepath");
    std::filesystem::create_directory(dir / "Data");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::string found = casepath::findInFolder("", "DATA");
    const std::string absent = casepath::findInFolder("", "nothing");
    std::filesystem::current_path(before);
    EXPECT_EQ(found, "Data");
    EXPECT_EQ(absent, "nothing");
}

TEST(CaseInsensitivePath, ResolvesEveryComponent)
{
    TempDir dir("casepath");
    std::filesystem::create_directories(dir / "CDROM/DATA/BANNERS");
    touch(dir / "CDROM/DATA/BANNERS/B01.GIF");
    const std::string root = dir.path().string();

    EXPECT_EQ(casepath::resolve(root + "/cdrom/data/banners/b01.gif"), root + "/CDROM/DATA/BANNERS/B01.GIF");
    EXPECT_EQ(casepath::resolve(root + "//cdrom/Data/banners/"), root + "/CDROM/DATA/BANNERS");
    // Past the first component that is missing, the rest stays as given.
    EXPECT_EQ(casepath::resolve(root + "/cdrom/info/Productos.html"), root + "/CDROM/info/Productos.html");
    EXPECT_EQ(casepath::resolve(root + "/CDROM/DATA"), root + "/CDROM/DATA");
    EXPECT_EQ(casepath::resolve(""), "");
}

TEST(CaseInsensitivePath, OpenerOpensUpperCaseFiles)
{
    TempDir dir("casepath");
    std::filesystem::create_directory(dir / "DATA");
    touch(dir / "DATA/QD.LMT", "limits");
    const SourceOpener open = casepath::opener();

    auto source = open((dir / "data") + "/QD.lmt");
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->size(), 6);
    EXPECT_EQ(open((dir / "data") + "/QD.flg"), nullptr);

    // Another opener underneath is asked with the spelling as given first.
    MemoryFiles memory;
    memory.put("in/memory.bin", {1, 2, 3});
    const SourceOpener wrapped = casepath::opener(memory.opener());
    EXPECT_NE(wrapped("in/memory.bin"), nullptr);
    EXPECT_EQ(wrapped("in/MEMORY.bin"), nullptr);
    EXPECT_EQ(memory.opens(), 1);
}

} // namespace
