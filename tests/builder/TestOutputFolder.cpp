// Where the builder may write: it replaces only a data set, never the source, an unrelated folder
// or a file, and a refused or failed build leaves every byte as it was.
#include "builder/DataSetBuilder.h"
#include "builder/OutputFolder.h"
#include "builder/SourceReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

const std::string kExample = std::string(ORTELIA_TEST_DATA) + "/source-example";

// Every entry under dir (links not followed) with the bytes of the files.
std::map<std::string, std::string> snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        std::string bytes = e.is_symlink() ? "link" : e.is_directory() ? "dir" : "";
        if (e.is_regular_file() && !e.is_symlink()) {
            std::ifstream in(e.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        out[fs::relative(e.path(), dir).string()] = bytes;
    }
    return out;
}

class OutputFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(kExample, m_src, fs::copy_options::recursive);
        std::string error;
        ASSERT_TRUE(SourceReader().read(m_src, m_model, &error)) << error;
    }
    // Builds into out as ortelia-build does; the error when refused.
    std::string build(const std::string& out)
    {
        DataSetBuilder builder;
        builder.setSourceFolder(m_src);
        std::string error;
        return builder.build(m_model, out, nullptr, &error) ? std::string() : error;
    }

    TempDir m_dir{"out"};
    std::string m_src = m_dir / "src";
    SourceModel m_model;
};

TEST_F(OutputFolderTest, RefusesWhatItDidNotMakeAndChangesNothing)
{
    fs::create_directories(m_dir.path() / "photos");
    std::ofstream(m_dir.path() / "photos" / "holiday.jpg") << "not a data set";
    std::ofstream(m_dir.path() / "notes.txt") << "a file";
    fs::create_directory_symlink(m_dir.path() / "photos", m_dir.path() / "link");
    // A data set with one file of the user's among its own.
    ASSERT_EQ(build(m_dir / "mixed"), "");
    std::ofstream(m_dir.path() / "mixed" / "info" / "mine.html") << "kept";
    fs::remove(m_dir.path() / "mixed" / OutputFolder::kMarker);

    const struct {
        std::string out;
        const char* reason;
    } cases[] = {
        {m_src, "is the source folder"},
        {m_src + "/", "is the source folder"},
        {m_src + "/../src/.", "is the source folder"},
        {m_dir.path().string(), "holds the source folder"},
        {m_dir / "photos", "holds \"holiday.jpg\""},
        {m_dir / "notes.txt", "is a file"},
        {m_dir / "link", "is a symbolic link"},
        {m_dir / "mixed", "holds \"info/mine.html\""},
        {"/", "root folder"},
    };
    const auto before = snapshot(m_dir.path());
    for (const auto& c : cases) {
        EXPECT_NE(OutputFolder::refusal(c.out, m_src).find(c.reason), std::string::npos) << c.out;
        EXPECT_NE(build(c.out).find(c.reason), std::string::npos) << c.out;
        EXPECT_EQ(snapshot(m_dir.path()), before) << c.out;
    }
}

TEST_F(OutputFolderTest, ReplacesADataSetItMadeOrOneHoldingNothingElse)
{
    const std::string out = m_dir / "data";
    ASSERT_EQ(build(out), "");
    ASSERT_TRUE(fs::exists(fs::path(out) / OutputFolder::kMarker));
    const auto first = snapshot(out);
    ASSERT_EQ(build(out), "") << "a data set with the marker";
    EXPECT_EQ(snapshot(out), first);

    // An older data set without the marker: only a data set's files, so it may go.
    fs::remove(fs::path(out) / OutputFolder::kMarker);
    fs::remove(fs::path(out) / "Img.bld");
    ASSERT_EQ(build(out), "");
    EXPECT_EQ(snapshot(out), first);

    fs::create_directories(m_dir.path() / "empty");
    EXPECT_EQ(build(m_dir / "empty"), "");
    EXPECT_TRUE(fs::exists(m_dir.path() / "empty" / "QD.dat"));
    for (const auto& e : fs::directory_iterator(m_dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".building-"), std::string::npos) << e.path();
}

TEST_F(OutputFolderTest, ATrailingSlashNamesTheFolderAndAFailureLeavesNoParentBehind)
{
    EXPECT_EQ(build(m_dir / "new/"), "");
    EXPECT_TRUE(fs::exists(m_dir.path() / "new" / "QD.dat"));
    EXPECT_EQ(build(m_dir / "new//"), "") << "and rebuilds it";
    EXPECT_EQ(build(m_dir / "deep/er/data/"), "");
    EXPECT_TRUE(fs::exists(m_dir.path() / "deep" / "er" / "data" / "QD.dat"));

    // A build that fails late (an ad too long for the store) under parents that did not exist.
    m_model.ads[0].lines.assign(2000, "LINEA LARGA DE AVISO");
    const auto before = snapshot(m_dir.path());
    EXPECT_NE(build(m_dir / "missing/parent/data/"), "");
    EXPECT_FALSE(fs::exists(m_dir.path() / "missing"));
    EXPECT_EQ(snapshot(m_dir.path()), before);
}

} // namespace
