// ortelia-build as a user runs it: from a desktop session whose environment names a display
// platform, and with a destination it must not touch.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct Ran {
    int status = -1; // exit status; -1 when killed by a signal
    std::string err;
};

Ran run(const std::string& command)
{
    Ran r;
    FILE* p = ::popen((command + " 2>&1 >/dev/null").c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf{};
    size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        r.err.append(buf.data(), n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

const std::string kTool = ORTELIA_BUILD_TOOL;

TEST(BuildTool, DrawsOffscreenWhateverPlatformTheEnvironmentNames)
{
    // xcb with a display that does not exist: the pictures are still drawn and the process ends
    // cleanly, with the data set complete.
    TempDir dir("tool");
    for (const char* env : {"QT_QPA_PLATFORM=xcb DISPLAY=:98", "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=none",
                            "QT_QPA_PLATFORM=offscreen"}) {
        const std::string out = dir / ("data-" + std::to_string(std::hash<std::string>()(env)));
        const Ran r = run(std::string("env ") + env + " " + kTool + " --sample 200 --seed 3 " + out);
        EXPECT_EQ(r.status, 0) << env << "\n" << r.err;
        EXPECT_TRUE(fs::exists(fs::path(out) / "Img.bld")) << env;
        EXPECT_TRUE(fs::exists(fs::path(out) / "banners" / "0" / "1.gif")) << env;
    }
}

TEST(BuildTool, ARefusedDestinationExitsWithTwoAndItsReason)
{
    TempDir dir("tool");
    const std::string src = dir / "src";
    fs::copy(std::string(ORTELIA_TEST_DATA) + "/source-example", src, fs::copy_options::recursive);
    const Ran same = run(kTool + " " + src + " " + src + "/");
    EXPECT_EQ(same.status, 2);
    EXPECT_NE(same.err.find("is the source folder"), std::string::npos) << same.err;
    EXPECT_TRUE(fs::exists(fs::path(src) / "abonados.tsv"));
    const Ran sample = run(kTool + " --sample 10 " + src);
    EXPECT_EQ(sample.status, 2);
    EXPECT_NE(sample.err.find("holds \""), std::string::npos) << sample.err;
    EXPECT_TRUE(fs::exists(fs::path(src) / "abonados.tsv"));
}

} // namespace
