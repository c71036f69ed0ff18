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
}

TEST_F(Cli, BodiesDiallingAndUsefulNumbers)
{
    const auto tree = cli("bodies --tree");
    ASSERT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree[0]["caption"], "CÓRDOBA");
    const auto& group = tree[0]["children"][0]["children"][0];
    EXPECT_EQ(group["caption"], "MINISTERIO DE SALUD DE LA PROVINCIA DE CÓRDOBA"); // one continuation
    const auto& office = group["children"][0];
    EXPECT_EQ(office["caption"], "HOSPITAL DE NIÑOS DE LA SANTÍSIMA TRINIDAD");
    ASSERT_EQ(office["pairs"].size(), 2u);
    EXPECT_EQ(office["pairs"][1]["value"], "(0351) 458-6500");

    const auto found = cli("bodies --search niños");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]["path"], "0/0/0/0");
    EXPECT_EQ(cli("bodies --search MINISTERIO").size(), 2u); // the heading and the group, in pre-order
    EXPECT_TRUE(cli("bodies --search XYZ").empty());
    const auto detail = cli("bodies --detail 0/0/0/0");
    ASSERT_EQ(detail.size(), 6u);
    EXPECT_EQ(detail[3]["description"], "            HOSPITAL DE NIÑOS DE LA SANTÍSIMA TRINIDAD");
    EXPECT_EQ(detail[4]["description"], "        GUARDIA");
    EXPECT_TRUE(cli("bodies --detail 0").empty());
    cli("bodies --detail 0/9", 2);
    cli("bodies --search ''", 2);
    cli("bodies", 2);

    const auto cordoba = cli("dialling --province 2");
    ASSERT_EQ(cordoba.size(), 2u);
    EXPECT_EQ(cordoba[1]["locality"], "VILLA CARLOS PAZ");
    EXPECT_EQ(cordoba[1]["code"], "3541");
    EXPECT_EQ(cli("dialling --province 0").size(), 4u);
    const auto spain = cli("dialling --country 2");
    EXPECT_EQ(spain["code"], "34");
    EXPECT_EQ(spain["winter"], "INVIERNOGMT +1");
    EXPECT_EQ(spain["notes"].size(), 2u);
    EXPECT_EQ(spain["cities"].size(), 2u);
    EXPECT_EQ(spain["code_column_width"], 99);
    EXPECT_EQ(cli("useful --guide 2").size(), 3u);
    EXPECT_TRUE(cli("useful --guide 0").empty());
    cli("useful --guide x", 2);
    cli("dialling --planet 1", 2);
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
