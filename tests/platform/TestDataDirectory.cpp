#include "platform/DataDirectory.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>

namespace {

// Folders that exist, matched without case like the real probe; counts what was asked.
class FakeFolders {
public:
    explicit FakeFolders(std::set<std::string> folders) : m_folders(std::move(folders)) {}

    DataDirectory::Probe probe()
    {
        return [this](const std::string& path) -> std::string {
            m_asked.push_back(path);
            for (const std::string& f : m_folders) {
                if (lower(f) == lower(path))
                    return f;
            }
            return {};
        };
    }
    [[nodiscard]] const std::vector<std::string>& asked() const { return m_asked; }

private:
    // Trailing separators do not change the folder a path names.
    static std::string lower(std::string s)
    {
        while (s.size() > 1 && s.back() == '/')
            s.pop_back();
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    std::set<std::string> m_folders;
    std::vector<std::string> m_asked;
};

const std::string kMounts = "sysfs /sys sysfs rw,nosuid 0 0\n"
                            "/dev/sda1 / ext4 rw,relatime 0 0\n"
                            "/dev/sr1 /media/cdrom1 udf ro,relatime 0 0\n"
                            "/dev/sr0 /media/cdrom0 iso9660 ro,nosuid,nodev 0 0\n"
                            "/dev/sdb1 /media/usb vfat rw 0 0\n"
                            "/dev/sr2 /media/Gu\\355a\\040Nacional iso9660 ro 0 0\n";

TEST(DataDirectory, OpticalDiscsFromTheMountTable)
{
    const auto discs = DataDirectory::opticalDiscs(kMounts + "/dev/sr0 /media/cdrom0 iso9660 ro 0 0\n" // mounted twice
                                                             "short line\n"
                                                             "\n"
                                                             "/dev/sr3\t/media/tabbed\tiso9660 ro 0 0");
    const std::vector<std::string> expected = {"/media/Gu\xED"
                                               "a Nacional",
                                               "/media/cdrom0", "/media/cdrom1", "/media/tabbed"};
    EXPECT_EQ(discs, expected);
    EXPECT_TRUE(DataDirectory::opticalDiscs("").empty());
}

TEST(DataDirectory, MountFieldEscapes)
{
    EXPECT_EQ(DataDirectory::decodeMountField("/media/My\\040Disc"), "/media/My Disc");
    EXPECT_EQ(DataDirectory::decodeMountField("a\\011b\\012c\\134d"), "a\tb\nc\\d");
    // Not a full escape: kept as it is, and never read past the end.
    EXPECT_EQ(DataDirectory::decodeMountField("end\\04"), "end\\04");
    EXPECT_EQ(DataDirectory::decodeMountField("x\\8000"), "x\\8000");
    EXPECT_EQ(DataDirectory::decodeMountField("\\"), "\\");
    EXPECT_EQ(DataDirectory::decodeMountField("\\400"), "\\400"); // above one byte
}

TEST(DataDirectory, LocalDataFolderWinsOverEverything)
{
    FakeFolders fs({"DATA", "/srv/guia", "/media/cdrom0/data"});
    EXPECT_EQ(DataDirectory::locate("/srv/guia", kMounts, fs.probe()), "DATA/");
    EXPECT_EQ(fs.asked(), std::vector<std::string>{"data"}); // no setting, no disc examined
}

TEST(DataDirectory, DatabaseSettingWhenNoLocalFolder)
{
    FakeFolders fs({"/srv/guia", "/media/cdrom0/data"});
    EXPECT_EQ(DataDirectory::locate("/srv/guia", kMounts, fs.probe()), "/srv/guia/");
    EXPECT_EQ(DataDirectory::locate("/srv/guia//", kMounts, fs.probe()), "/srv/guia/"); // one separator
    // A setting that names no folder: the discs are searched.
    EXPECT_EQ(DataDirectory::locate("/srv/missing", kMounts, fs.probe()), "/media/cdrom0/data/");
    EXPECT_EQ(DataDirectory::locate("", kMounts, fs.probe()), "/media/cdrom0/data/");
}

TEST(DataDirectory, FirstDiscWithDataInMountPointOrder)
{
    // cdrom0 has no data folder and is skipped; cdrom1 (udf) and the accented one both have one.
    FakeFolders fs({"/media/cdrom1/DATA",
                    "/media/Gu\xED"
                    "a Nacional/data",
                    "/media/usb/data"});
    EXPECT_EQ(DataDirectory::scan(kMounts, fs.probe()), "/media/Gu\xED"
                                                        "a Nacional/data/");
    FakeFolders two({"/media/cdrom1/DATA", "/media/cdrom0/Data"});
    EXPECT_EQ(DataDirectory::scan(kMounts, two.probe()), "/media/cdrom0/Data/");
    // A disc mounted on the root itself.
    FakeFolders live({"/data"});
    EXPECT_EQ(DataDirectory::scan("/dev/sr0 / iso9660 ro 0 0\n", live.probe()), "/data/");
}

TEST(DataDirectory, NothingFoundIsEmpty)
{
    FakeFolders fs({"/media/usb/data", "/media/cdrom0/datos"});
    EXPECT_EQ(DataDirectory::locate("/srv/missing", kMounts, fs.probe()), "");
    EXPECT_EQ(DataDirectory::scan(kMounts, fs.probe()), "");
    EXPECT_EQ(DataDirectory::scan("", fs.probe()), "");
}

TEST(DataDirectory, RealFileSystem)
{
    TempDir dir("datadir");
    std::filesystem::create_directories(dir / "disc1/DATA");
    std::filesystem::create_directories(dir / "disc0");
    std::filesystem::create_directories(dir / "setting");
    std::filesystem::create_directories(dir / "work");
    const std::string mounts =
        "/dev/sr0 " + (dir / "disc0") + " iso9660 ro 0 0\n" + "/dev/sr1 " + (dir / "disc1") + " udf ro 0 0\n";
    const auto probe = DataDirectory::fileSystem();
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir / "work");

    const std::string fromDisc = DataDirectory::locate("", mounts, probe);
    const std::string fromSetting = DataDirectory::locate(dir / "SETTING", mounts, probe);
    std::filesystem::create_directories(dir / "work/Data");
    const std::string local = DataDirectory::scan(mounts, probe);
    std::filesystem::current_path(before);

    EXPECT_EQ(fromDisc, (dir / "disc1/DATA") + "/");
    EXPECT_EQ(fromSetting, (dir / "setting") + "/");
    EXPECT_EQ(local, "Data/");
    EXPECT_EQ(probe(dir / "disc1/DATA/none"), "");
    EXPECT_EQ(probe(""), "");
    EXPECT_FALSE(DataDirectory::systemMountTable().empty());
}

TEST(DataDirectory, Separator)
{
    EXPECT_EQ(DataDirectory::withSeparator(""), "");
    EXPECT_EQ(DataDirectory::withSeparator("/"), "/");
    EXPECT_EQ(DataDirectory::withSeparator("data"), "data/");
    EXPECT_EQ(DataDirectory::withSeparator("data///"), "data/");
}

} // namespace
