// ortelia-cli's agenda command, run as a program on a generated data set and an agenda folder:
// directory rows take their texts from the data set, notes go through TAgenda, the vCard export
// is RFC 6350 text (CRLF, folded at 75 octets, escaped values) and the table's exclusive use is
// reported plainly.
#include "agenda/TAgenda.h"
#include "engine/Cp1252.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

struct Ran {
    int status = -1;
    std::string out;
};

Ran run(const std::string& command)
{
    Ran r;
    FILE* p = ::popen(command.c_str(), "r");
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

// Content lines of a vCard text: unfolded, checked for CRLF ends and the 75-octet limit.
std::vector<std::string> unfold(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "a line without CRLF";
        if (end == std::string::npos)
            break;
        const std::string physical = text.substr(at, end - at);
        EXPECT_LE(physical.size(), 75u) << physical;
        EXPECT_EQ(physical.find('\n'), std::string::npos);
        if (!physical.empty() && physical[0] == ' ' && !lines.empty())
            lines.back() += physical.substr(1);
        else
            lines.push_back(physical);
        at = end + 2;
    }
    return lines;
}

class CliAgenda : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<TempDir>("cli-agenda");
        const Ran b = run(std::string(ORTELIA_BUILD_TOOL) + " " + ORTELIA_TEST_DATA + "/source-example " +
                          (*s_dir / "data") + " 2>&1");
        ASSERT_EQ(b.status, 0) << b.out;
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    Ran cli(const std::string& args) const
    {
        return run(std::string(ORTELIA_CLI) + " " + (*s_dir / "data") + " agenda --folder " + folder.path().string() +
                   " " + args + " 2>&1");
    }
    nlohmann::json json(const std::string& args) const
    {
        const Ran r = cli(args);
        EXPECT_EQ(r.status, 0) << args << ": " << r.out;
        return r.status == 0 ? nlohmann::json::parse(r.out) : nlohmann::json();
    }

    static inline std::unique_ptr<TempDir> s_dir;
    TempDir folder{"cli-agenda-folder"};
};

} // namespace

TEST_F(CliAgenda, ListsSavedRecordsWithTheirDirectoryTextsAndTypedInContacts)
{
    {
        TAgenda agenda(folder.path().string() + "/");
        agenda.SetEdition(TAgenda::kEdition);
        TAgendaRecord typed;
        typed.name = "GARC\xCD"
                     "A, MAR\xCD"
                     "A; \"LA NEGRA\"";
        typed.phone = "(011) 4555-1234";
        typed.mail = "negra@ejemplo.com.ar";
        typed.web = "www.ejemplo.com.ar";
        typed.locality = "CAPITAL FEDERAL";
        typed.note = "Primera l\xEDnea\r\nsegunda, con \\ barra y " + std::string(120, 'x');
        agenda.AppendRow(typed);
        agenda.SetEdition(111);
        agenda.AddRecord(1); // another edition: not listed
    }
    const auto added = json("add 2");
    EXPECT_EQ(added["recno"], 2);
    EXPECT_EQ(added["row"], 3);
    EXPECT_EQ(json("add 2")["row"], 3); // already saved: no second row
    const auto noted = json("note 2 '  llamar despu\xC3\xA9s  '");
    EXPECT_EQ(noted["note"], "llamar despu\xC3\xA9s");

    const auto record =
        nlohmann::json::parse(run(std::string(ORTELIA_CLI) + " " + (*s_dir / "data") + " record 2").out);
    const auto list = json("list");
    ASSERT_EQ(list["contacts"].size(), 2u);
    EXPECT_EQ(list["directory_rows"], 1);
    const auto& saved = list["contacts"][1];
    EXPECT_EQ(saved["recno"], 2);
    EXPECT_EQ(saved["name"], record["name"]);
    EXPECT_EQ(saved["phone"], record["phone"]);
    EXPECT_EQ(saved["locality"], record["locality"]["name"]);
    EXPECT_EQ(saved["note"], "llamar despu\xC3\xA9s");
    EXPECT_EQ(list["contacts"][0]["name"], "GARC\xC3\x8D"
                                           "A, MAR\xC3\x8D"
                                           "A; \"LA NEGRA\"");

    const std::string file = folder / "contactos.vcf";
    ASSERT_EQ(cli("export --vcard " + file).status, 0);
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::vector<std::string> lines = unfold(text);
    auto has = [&lines](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "BEGIN:VCARD"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "VERSION:4.0"), 2);
    EXPECT_TRUE(has("FN:GARC\xC3\x8D"
                    "A\\, MAR\xC3\x8D"
                    "A\\; \"LA NEGRA\""));
    EXPECT_TRUE(has("NOTE:Primera l\xC3\xADnea\\nsegunda\\, con \\\\ barra y " + std::string(120, 'x')));
    EXPECT_TRUE(has("EMAIL:negra@ejemplo.com.ar"));
    EXPECT_TRUE(has("URL:http://www.ejemplo.com.ar"));
    EXPECT_TRUE(has("ADR:;;;CAPITAL FEDERAL;;;Argentina"));
    EXPECT_TRUE(has("NOTE:llamar despu\xC3\xA9s"));
    EXPECT_TRUE(has("FN:" + record["name"].get<std::string>()));
    // Folding never splits a UTF-8 character: every physical line is valid UTF-8 on its own.
    std::istringstream physical(text);
    for (std::string line; std::getline(physical, line);) {
        std::string cp;
        EXPECT_TRUE(cp1252::fromUtf8(line.substr(line.empty() || line[0] != ' ' ? 0 : 1), cp)) << line;
    }
}

TEST_F(CliAgenda, RefusesATableInUseTheLimitAndBadNumbers)
{
    {
        TAgenda agenda(folder.path().string() + "/");
        agenda.SetEdition(TAgenda::kEdition);
        const Ran busy = cli("list");
        EXPECT_EQ(busy.status, 2);
        EXPECT_NE(busy.out.find("in use by another program"), std::string::npos) << busy.out;
        for (int32_t n = 1; n <= TAgenda::kMaxDirectoryRows; ++n) {
            TAgendaRecord r;
            r.recno = 1000 + n;
            agenda.AppendRow(r);
        }
    }
    const Ran full = cli("add 3");
    EXPECT_EQ(full.status, 2);
    EXPECT_NE(full.out.find("supera el m\xC3\xA1ximo permitido. Restan: 0"), std::string::npos) << full.out;
    EXPECT_EQ(cli("add 0").status, 2);
    EXPECT_EQ(cli("add 99999").status, 2);
    EXPECT_EQ(cli("note 2").status, 2);
    EXPECT_EQ(cli("erase 2").status, 2);
}
