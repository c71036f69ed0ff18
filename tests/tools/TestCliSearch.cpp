// The search command of ortelia-cli: option errors, and searches whose JSON must match a fresh
// brute-force search of the decoded records.
#include "tests/support/SearchFixture.h"
#include "tools/CliSearch.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

using namespace searchtest;

namespace {

std::vector<Entry> entries()
{
    using G = GuideKind;
    const auto e = &Entry::of;
    return {e(G::Alphabetical, 1, 0, 11, 4348, 8000, "JOSÉ ARIAS", "AV. SAN MARTIN 100", false),
            e(G::Alphabetical, 1, 0, 11, 4348, 0, "JOSEFINA PAZ", "SAN MARTIN 200", true),
            e(G::Alphabetical, 3, 0, 351, 4220, 1234, "GOMEZ S.A.", "BELGRANO 5", true),
            e(G::Alphabetical, 4, 0, 353, 4221, 1, "PEREZ", "SAN JUAN 5", false),
            e(G::Commercial, 1, 1, 11, 4951, 1, "FARMACIA GARCIA", "AV. CORRIENTES 1", true),
            e(G::Commercial, 3, 1, 351, 4221, 3, "FARMACIA CENTRAL", "COLON 8", false),
            e(G::Commercial, 3, 2, 351, 4221, 2, "FERRETERIA PEREZ", "SAN MARTIN 5", false)};
}

class CliSearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_data = std::make_unique<BuiltDataSet>(entries());
        s_all = decodeAll(*s_data);
        s_cli = std::make_unique<CliDataSet>();
        ASSERT_TRUE(s_cli->open(s_data->folder()));
    }
    static void TearDownTestSuite()
    {
        s_cli.reset();
        s_all.clear();
        s_data.reset();
    }

    static nlohmann::json run(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        EXPECT_EQ(cliSearch(*s_cli, args, out, err), 0) << err.str();
        return nlohmann::json::parse(out.str());
    }
    static std::vector<int32_t> names(const nlohmann::json& records, std::vector<std::string>* text = nullptr)
    {
        std::vector<int32_t> out;
        for (const auto& r : records) {
            out.push_back(r.get<int32_t>());
            if (text)
                text->push_back(cp1252::toUtf8(s_all[static_cast<size_t>(out.back() - 1)].rec.name));
        }
        return out;
    }
    static std::vector<int32_t> expected(int32_t range, const criteria::Values& v, uint32_t filters = 0)
    {
        FiltroBits limits(s_data->store().RecordCount() + 1);
        limits.LoadLimits(s_data->folder() + "/" + datafiles::kLimits);
        return reference(s_all, v, limits.guideRange(range).first, limits.guideRange(range).last, filters);
    }
    static criteria::Values values(std::initializer_list<std::pair<int, int32_t>> keys, const std::string& name = "",
                                   const std::string& address = "")
    {
        criteria::Values v;
        for (const auto& [code, key] : keys)
            v.key[static_cast<size_t>(criteria::rowOf(code))] = key;
        v.text[static_cast<size_t>(criteria::rowOf(criteria::kNameWords))] = name;
        v.text[static_cast<size_t>(criteria::rowOf(criteria::kAddressWords))] = address;
        return v;
    }

    static std::unique_ptr<BuiltDataSet> s_data;
    static std::vector<Decoded> s_all;
    static std::unique_ptr<CliDataSet> s_cli;
};

std::unique_ptr<BuiltDataSet> CliSearchTest::s_data;
std::vector<Decoded> CliSearchTest::s_all;
std::unique_ptr<CliDataSet> CliSearchTest::s_cli;

TEST(CliSearchOptions, WrongOptionsAreRefusedWithAReason)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--colour", "red"}, "unknown search option: --colour"},
        {{"--name"}, "--name needs a value"},
        {{"--name", "A", "--name", "B"}, "--name given twice"},
        {{"--guide", "X"}, "--guide must be A, C or P"},
        {{"--phone", "43-48"}, "--phone must be 1 to 8 digits"},
        {{"--phone", "123456789"}, "--phone must be 1 to 8 digits"},
        {{"--area", "0111111"}, "--area holds at most 5 digits"},
        {{"--area", "-3"}, "--area must be a number"},
        {{"--province", "99999999999"}, "--province must be a number"},
        {{"--filter", "ad,,web"}, "unknown filter \"\""},
        {{"--filter", "ads"}, "unknown filter \"ads\""},
        {{"--name", "\xC3"}, "--name: byte 0"},
        {{"--name", "\xE2\x82\xAC \xE2\x98\x83"}, "--name: byte 4"}, // the euro sign fits, the snowman does not
        {{"--first", "2000000"}, "--first lists at most"},
    };
    for (const auto& [args, message] : cases) {
        CliSearchOptions o;
        std::string error;
        EXPECT_FALSE(parseSearchOptions(args, o, error)) << args[0];
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    CliSearchOptions o;
    std::string error;
    ASSERT_TRUE(parseSearchOptions({"--guide", "c", "--name", "josé", "--area", "011", "--phone", "43480000",
                                    "--filter", "web,selected", "--first", "5", "--from", "2"},
                                   o, error))
        << error;
    EXPECT_EQ(o.range, 1);
    EXPECT_EQ(o.name, cp("JOSÉ")); // upper case, as the search field shows it
    EXPECT_EQ(o.area, 11);
    EXPECT_EQ(o.phone, "43480000");
    EXPECT_EQ(o.filterPlanes, (std::vector<int>{5, 14}));
    EXPECT_EQ(o.first, 5);
    EXPECT_EQ(o.from, 2);
}

TEST_F(CliSearchTest, ErrorsExitWithStatusTwo)
{
    std::ostringstream out, err;
    EXPECT_EQ(cliSearch(*s_cli, {"--rubro", "x"}, out, err), 2);
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(err.str().rfind("ortelia-cli: --rubro must be a number", 0), 0u) << err.str();
}

TEST_F(CliSearchTest, SearchesGiveTheFreshResult)
{
    using namespace criteria;
    std::vector<std::string> text;
    // Lower-case é becomes É, a separator: the word JOS.
    nlohmann::json j = run({"--name", "josé"});
    EXPECT_EQ(names(j["records"], &text), expected(0, values({}, "JOS")));
    EXPECT_EQ(text, (std::vector<std::string>{"JOSEFINA PAZ", "JOSÉ ARIAS"}));
    EXPECT_EQ(j["count"], 2);
    EXPECT_EQ(j["first_matches"], j["records"]);

    j = run({"--address", "av. san martin"});
    EXPECT_EQ(names(j["records"]), expected(0, values({}, "", "SAN MARTIN")));

    // 0000 is searched as 10000; the leading 0 of the area code goes.
    text.clear();
    j = run({"--area", "011", "--phone", "43480000"});
    EXPECT_EQ(names(j["records"], &text).size(), 1u);
    EXPECT_EQ(text, std::vector<std::string>{"JOSEFINA PAZ"});

    j = run({"--guide", "C", "--rubro", "1", "--province", "2"});
    EXPECT_EQ(names(j["records"]), expected(1, values({{kRubro, 1}, {kProvince, 2}})));
    EXPECT_EQ(j["count"], 1);

    j = run({"--province", "2", "--locality", "4"});
    EXPECT_EQ(names(j["records"]), expected(0, values({{kProvince, 2}, {kLocality, 4}})));

    j = run({"--filter", "web"});
    EXPECT_EQ(names(j["records"]), expected(0, values({}), 1u << 5));
    EXPECT_EQ(j["count"], 2);
}

TEST_F(CliSearchTest, PagesLikeTheScrollBar)
{
    const std::vector<int32_t> all = expected(0, criteria::Values{});
    ASSERT_EQ(all.size(), 4u);
    nlohmann::json j = run({"--first", "2", "--from", "1"});
    EXPECT_EQ(names(j["records"]), (std::vector<int32_t>{all[1], all[2]}));
    EXPECT_EQ(j["count"], 4);
    j = run({"--from", "3"});
    EXPECT_EQ(names(j["records"]), std::vector<int32_t>{all[3]});
    j = run({"--from", "4"});
    EXPECT_TRUE(j["records"].empty());
    j = run({"--from", "2147483647"});
    EXPECT_TRUE(j["records"].empty());
    // The selection filter survives the pass that withdraws the selection criterion: nothing is
    // marked, so nothing passes.
    j = run({"--filter", "selected"});
    EXPECT_EQ(j["count"], 0);
}

} // namespace
