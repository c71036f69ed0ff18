// The post, seal and unseal commands of ortelia-cli: bad options end with status 2 before anything
// is sent; posts reach PHP's built-in server running the server scripts through the same requests
// the dialogs use; seal and unseal undo each other whatever form the sealed text is copied in.
#include "online/SealText.h"
#include "tests/support/LocalServers.h"
#include "tests/support/SampleDataSet.h"
#include "tools/CliPost.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun post(CliDataSet& data, const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = cliPost(data, args, out, err);
    return {status, out.str(), err.str()};
}

CliRun seal(bool sealing, const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = cliSeal(sealing, args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(CliPost, BadOptionsEndWithStatus2AndSendNothing)
{
    SampleDataSet sample;
    ASSERT_TRUE(sample.make(60, 2));
    CliDataSet data;
    ASSERT_TRUE(data.open(sample.folder()));
    // A server that records every request: none may arrive.
    localservers::ScriptedServer server({});
    const std::string s = server.base();
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"mail"},
        {"recommend", "--server", s, "--record", "1"},               // no recipient
        {"recommend", "--server", s, "--to", "  ", "--record", "1"}, // blank recipient
        {"recommend", "--to", "a@b.ar", "--record", "1"},            // no server
        {"recommend", "--server", s, "--to", "a@b.ar"},              // no record
        {"recommend", "--server", s, "--to", "a@b.ar", "--record", "1", "--records", "2"},
        {"recommend", "--server", s, "--to", "a@b.ar", "--record", "x"},
        {"recommend", "--server", s, "--to", "a@b.ar", "--record", "0"},
        {"recommend", "--server", s, "--to", "a@b.ar", "--record", "99999"}, // outside the data set
        {"recommend", "--server", s, "--to", "a@b.ar", "--records", "1,,2"},
        {"recommend", "--server", s, "--to", "a@b.ar", "--record", "1", "--note"},
        {"recommend", "--server", s, "--to", "a@b.ar", "--record", "1", "--colour", "red"},
        {"recommend", "--server", s, "--to", "\xE2\x82\xAC\xE2\x9C\x93", "--record", "1"}, // ✓ is not in 1252
        {"contact", "--server", s, "--to", "a@b.ar", "--record", "1"},
        {"contact", "--server", s, "--record", "1", "--timeout", "0"},
    };
    for (const auto& args : bad) {
        const CliRun r = post(data, args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("ortelia-cli: "), std::string::npos);
    }
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(seal(true, {}).status, 2);
    EXPECT_EQ(seal(true, {"a", "b"}).status, 2);
    EXPECT_EQ(seal(false, {"not base64!"}).status, 2);
}

TEST(CliPost, SealAndUnsealUndoEachOther)
{
    const std::string text = "iid=0000000000700003 & señal 100%";
    const CliRun sealed = seal(true, {text});
    ASSERT_EQ(sealed.status, 0) << sealed.err;
    const nlohmann::json j = nlohmann::json::parse(sealed.out);
    EXPECT_EQ(j["sealed"], SealText("iid=0000000000700003 & se\xF1"
                                    "al 100%"));
    for (const std::string& form : {j["sealed"].get<std::string>(), j["url_encoded"].get<std::string>(),
                                    "p=" + j["url_encoded"].get<std::string>()}) {
        const CliRun back = seal(false, {form});
        ASSERT_EQ(back.status, 0) << form;
        EXPECT_EQ(nlohmann::json::parse(back.out)["text"], text);
    }
}

TEST(CliPost, PostsThroughTheServerScripts)
{
    if (!localservers::PhpServer::available())
        GTEST_SKIP() << "php is not installed (Debian package php-cli): the server scripts cannot run";
    SampleDataSet sample;
    ASSERT_TRUE(sample.make(300, 3));
    CliDataSet data;
    ASSERT_TRUE(data.open(sample.folder()));
    TempDir spool("cli-spool");
    localservers::PhpServer server(ORTELIA_SERVER_DIR, {"ORTELIA_SPOOL=" + spool / "s.jsonl"});
    ASSERT_TRUE(server.ready());

    const CliRun ok = post(data, {"recommend", "--server", server.base(), "--to", "amigo@example.net", "--name",
                                  "Ana Núñez", "--note", "Hola\nqué tal", "--records", "1,2,3"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(nlohmann::json::parse(ok.out),
              nlohmann::json::parse(R"({"caption":"Recomendar","text":"MENSAJE ENVIADO"})"));
    std::ifstream in(spool / "s.jsonl");
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    const nlohmann::json entry = nlohmann::json::parse(line);
    EXPECT_EQ(entry["subject"], "Recomendación de Ana Núñez enviada desde el cd de Ortelia");
    EXPECT_EQ(entry["note"], "Hola\r\nqué tal");
    EXPECT_EQ(entry["records"].size(), 3u);

    const CliRun refused = post(data, {"recommend", "--server", server.base(), "--to", "nadie", "--record", "4"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(nlohmann::json::parse(refused.out)["text"],
              "Error #4\nEL MENSAJE NO HA PODIDO SER ENTREGADO.\n\nPOR FAVOR REVISE LOS DATOS INGRESADOS.");
}
