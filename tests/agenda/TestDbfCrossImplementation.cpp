// FreePascal's TDbf, an independent implementation of level 7 tables, reads what our module
// writes and writes what our module reads: every field of every row must come out identical.
#include "agenda/TAgenda.h"
#include "engine/Cp1252.h"
#include "tests/agenda/AgendaDump.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

const std::string kTool = ORTELIA_DBFTOOL;

std::string upperAll(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string tdbf(const std::string& mode, const std::string& path)
{
    return upperAll(runCommand("'" + kTool + "' " + mode + " '" + path + "'"));
}

class CrossImplementation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::filesystem::exists(kTool)) << "the TDbf tool was not built: install fp-compiler and "
                                                       "fp-units-db (scripts/deps.sh) and configure again";
    }
    TempDir dir{"dbfcross"};
};

std::string randomText(std::mt19937& rng, size_t maxLength)
{
    // Windows-1252 letters, accents and the line breaks of a typed note.
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcxyz0123456789.,;:-\xD1\xF1\xE1\xE9\xED\xF3\xFA\xDC\r\n";
    std::uniform_int_distribution<size_t> len(0, maxLength), pick(0, alphabet.size() - 1);
    std::string s(len(rng), ' ');
    for (char& c : s)
        c = alphabet[pick(rng)];
    return s;
}

// One expected row in the tool's format.
struct ExpectedRow {
    bool deleted = false;
    TAgendaRecord r;
};

std::string expectedDump(const std::vector<ExpectedRow>& rows)
{
    auto text = [](const std::string& s) {
        std::string t = s;
        while (!t.empty() && t.back() == ' ')
            t.pop_back();
        return t.empty() ? std::string("NULL") : hexBytes(t);
    };
    std::string out = "LEVEL 7 FIELDS 10\n";
    for (const ExpectedRow& e : rows) {
        const TAgendaRecord& r = e.r;
        out += e.deleted ? "D" : "L";
        out += "\tRECNO=" + std::to_string(r.recno) + "\tDBVER=" + std::to_string(r.edition);
        out += "\tFIGURAC=" + text(r.name) + "\tDOMICIL=" + text(r.address) + "\tTELEFON=" + text(r.phone);
        out += "\tLOCALID=" + text(r.locality) + "\tPROVINC=" + text(r.province) + "\tWEB=" + text(r.web);
        out += "\tMAIL=" + text(r.mail) + "\tNOTE=" + (r.note.empty() ? std::string("NULL") : hexBytes(r.note)) + "\n";
    }
    return out;
}

} // namespace

TEST_F(CrossImplementation, TDbfReadsEveryFieldOfTablesWeWrite)
{
    std::mt19937 rng(15);
    std::vector<ExpectedRow> model;
    {
        TAgenda agenda(dir.path().string() + "/");
        ASSERT_TRUE(agenda.isOpen()) << agenda.status().toString();
        agenda.SetEdition(TAgenda::kEdition);
        std::uniform_int_distribution<int> op(0, 9);
        for (int i = 0; i < 60; ++i) {
            const int o = op(rng);
            if (o < 4 || model.empty()) {
                TAgendaRecord r;
                r.name = std::string(cp1252::trim(randomText(rng, 90))); // longer than the field: cut at 80
                r.address = randomText(rng, 80);
                r.phone = randomText(rng, 30);
                r.locality = randomText(rng, 40);
                r.province = randomText(rng, 40);
                r.web = randomText(rng, 60);
                r.mail = randomText(rng, 60);
                r.note = randomText(rng, 1500); // up to three memo blocks
                r.row = agenda.AppendRow(r);
                ASSERT_NE(r.row, 0);
                r.name = r.name.substr(0, 80);
                r.note = std::string(cp1252::trim(r.note));
                model.push_back({false, r});
            } else if (o < 7) {
                TAgendaRecord r;
                r.recno = static_cast<int32_t>(rng() % 11999999) + 1;
                r.note = randomText(rng, 700);
                r.row = agenda.AppendRow(r);
                r.edition = TAgenda::kEdition;
                r.note = std::string(cp1252::trim(r.note));
                model.push_back({false, r});
            } else if (o < 9) {
                ExpectedRow& e = model[rng() % model.size()];
                if (e.deleted)
                    continue;
                TAgendaRecord r = e.r;
                r.note = randomText(rng, 2000);
                if (r.recno == 0)
                    r.name = "EDITADO " + std::to_string(i);
                ASSERT_TRUE(agenda.RewriteRow(r));
                r.note = std::string(cp1252::trim(r.note));
                e.r = r;
            } else {
                ExpectedRow& e = model[rng() % model.size()];
                if (!e.deleted) {
                    agenda.DeleteRow(e.r.row);
                    e.deleted = true;
                }
            }
        }
    }
    const std::string path = dir / "QD_regS.dbf";
    EXPECT_EQ(tdbf("dump", path), expectedDump(model));
    EXPECT_EQ(ourDump(path), expectedDump(model));

    // After our pack (at the next opening) TDbf sees the live rows only, notes intact.
    {
        TAgenda again(dir.path().string() + "/");
    }
    std::vector<ExpectedRow> live;
    for (const ExpectedRow& e : model)
        if (!e.deleted)
            live.push_back(e);
    EXPECT_EQ(tdbf("dump", path), expectedDump(live));
}

TEST_F(CrossImplementation, WeReadTablesTDbfWritesAndPacks)
{
    const std::string path = dir / "QD_regS.dbf";
    ASSERT_EQ(runCommand("'" + kTool + "' write '" + path + "'"), "");
    const std::string written = tdbf("dump", path);
    ASSERT_NE(written.find("LEVEL 7"), std::string::npos) << written;
    EXPECT_EQ(ourDump(path), written);

    // TDbf's pack leaves 0x1A in the first row's flag: a live row all the same.
    ASSERT_EQ(runCommand("'" + kTool + "' pack '" + path + "'"), "");
    const std::string packed = tdbf("dump", path);
    EXPECT_EQ(ourDump(path), packed);
    EXPECT_EQ(std::count(packed.begin(), packed.end(), '\n'), 6) << packed;

    // The agenda opens the table TDbf made, finds its rows and keeps their notes when it writes.
    {
        TAgenda agenda(dir.path().string() + "/");
        ASSERT_TRUE(agenda.isOpen()) << agenda.status().toString();
        agenda.SetEdition(TAgenda::kEdition);
        EXPECT_EQ(agenda.directoryRows(), 4); // rows 1, 2, 5, 6: row 4's blank recno is a typed-in contact
        std::string note;
        EXPECT_EQ(agenda.FindRecord(3500, note), 5);
        EXPECT_EQ(note, std::string(6 * 250, 'F') + "\r\nfin 6");
        TAgendaRecord r;
        r.recno = 77;
        r.note = "nota nueva";
        EXPECT_NE(agenda.AppendRow(r), 0);
    }
    const std::string after = tdbf("dump", path);
    EXPECT_EQ(ourDump(path), after);
    EXPECT_NE(after.find(hexBytes("nota nueva")), std::string::npos);
    EXPECT_NE(after.find(hexBytes(std::string(6 * 250, 'F') + "\r\nfin 6")), std::string::npos);
}
