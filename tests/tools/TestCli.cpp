#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace {

struct Ran {
    int status = -1;
    std::string out;
};

Ran run(const std::string& command)
{
    Ran r;
    FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf{};
    size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

class Cli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<TempDir>("cli");
        const Ran b =
            run(std::string(ORTELIA_BUILD_TOOL) + " " + ORTELIA_TEST_DATA + "/source-example " + (*s_dir / "data"));
        ASSERT_EQ(b.status, 0) << b.out;
    }
    static void TearDownTestSuite() { s_dir.reset(); }
    static nlohmann::json cli(const std::string& args, int expectStatus = 0)
    {
        const Ran r = run(std::string(ORTELIA_CLI) + " " + (*s_dir / "data") + " " + args);
        EXPECT_EQ(r.status, expectStatus) << args;
        return expectStatus == 0 ? nlohmann::json::parse(r.out) : nlohmann::json();
    }
    static inline std::unique_ptr<TempDir> s_dir;
};

TEST_F(Cli, InfoAndRecords)
{
    const auto info = cli("info");
    EXPECT_EQ(info["records"], 6);
    EXPECT_EQ(info["guides"][1]["first"], 4);
    EXPECT_EQ(info["guides"][1]["count"], 2);
    EXPECT_EQ(info["ads"], 3);
    EXPECT_TRUE(info["files"]["ixpal.idx"].is_number());

    const auto r = cli("record 2");
    EXPECT_EQ(r["name"], "GARCÍA JUAN CARLOS"); // inherited, shown in UTF-8
    EXPECT_EQ(r["phone"], "(011) 4348-8001");
    EXPECT_EQ(r["province"]["name"], "CIUDAD AUTÓNOMA DE BUENOS AIRES");
    EXPECT_TRUE(r["rubro"].is_null());
    const auto c = cli("record 4");
    EXPECT_EQ(c["rubro"]["name"], "FARMACIAS");
    EXPECT_EQ(c["web"], "WWW.FARMACIACENTRAL.COM.AR");
    EXPECT_EQ(c["ad"], 1);
}

TEST_F(Cli, AdsCatalogsAndBodies)
{
    const auto a = cli("ad 1");
    EXPECT_EQ(a["kind"], 8);
    EXPECT_EQ(a["lines"][0], "FARMACIA CENTRAL");
    EXPECT_EQ(cli("ad 2")["image"], 1);
    EXPECT_EQ(cli("catalog provinces").size(), 3u);
    EXPECT_EQ(cli("catalog localities")[2]["name"], "VILLA CARLOS PAZ");
    EXPECT_EQ(cli("catalog rubros")[3]["redirect"], 3);
    EXPECT_EQ(cli("catalog cities").size(), 3u);
    EXPECT_EQ(cli("catalog countries")[1]["name"], "ESPAÑA");
    EXPECT_EQ(cli("catalog useful")[0]["number"], "911");
    EXPECT_EQ(cli("catalog guides")[1]["provinces"], nlohmann::json::array({2, 3}));
    const auto bodies = cli("bodies");
    ASSERT_GE(bodies.size(), 6u);
    EXPECT_EQ(bodies[0]["type"], "PROVINCI");
    EXPECT_EQ(bodies[0]["name"], "CÓRDOBA");
}

TEST_F(Cli, ErrorsExitWithTwo)
{
    cli("record 0", 2);
    cli("record 7", 2);
    cli("record x", 2);
    cli("ad 4", 2);
    cli("catalog planets", 2);
    cli("frobnicate", 2);
    EXPECT_EQ(run(std::string(ORTELIA_CLI) + " /nonexistent/data info").status, 2);
    EXPECT_EQ(run(std::string(ORTELIA_CLI)).status, 2);
    EXPECT_EQ(run(std::string(ORTELIA_BUILD_TOOL) + " --sample x out").status, 2);
}

} // namespace
