// TAgenda against a plain in-memory model of its rows: random sequences of every operation, with
// reopenings (which pack) and edition changes, compared after each step; then the agenda's edge
// cases that a model does not show (files on first start, exclusive use, folders and tables it
// must leave alone).
#include "agenda/TAgenda.h"
#include "engine/Cp1252.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A text as a character field of that width gives it back: cut, without trailing blanks.
std::string stored(const std::string& text, size_t width)
{
    std::string t = text.substr(0, std::min(width, text.size()));
    while (!t.empty() && (t.back() == ' ' || t.back() == '\0'))
        t.pop_back();
    return t;
}

void storeTexts(TAgendaRecord& r)
{
    r.name = stored(r.name, 80);
    r.address = stored(r.address, 80);
    r.phone = stored(r.phone, 30);
    r.locality = stored(r.locality, 40);
    r.province = stored(r.province, 40);
    r.web = stored(r.web, 60);
    r.mail = stored(r.mail, 60);
}

struct ModelRow {
    bool live = true;
    TAgendaRecord r;
};

// What the agenda must hold: rows in table order, packed (renumbered) at every reopening.
class Model {
public:
    int32_t edition = 0;
    std::vector<ModelRow> rows;

    int32_t directoryRows() const
    {
        int32_t n = 0;
        for (const ModelRow& m : rows)
            n += m.live && m.r.recno != 0 && m.r.edition == edition;
        return n;
    }
    int32_t find(int32_t recno, std::string& note) const
    {
        note.clear();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].live && recno != 0 && rows[i].r.recno == recno && rows[i].r.edition == edition) {
                note = rows[i].r.note;
                return static_cast<int32_t>(i + 1);
            }
        return 0;
    }
    int32_t append(TAgendaRecord r)
    {
        r.edition = r.recno != 0 ? edition : 0;
        if (r.recno != 0)
            r.name = r.address = r.phone = r.locality = r.province = r.web = r.mail = "";
        storeTexts(r);
        r.note = std::string(cp1252::trim(r.note));
        r.row = static_cast<int32_t>(rows.size() + 1);
        rows.push_back({true, r});
        return r.row;
    }
    void pack()
    {
        std::vector<ModelRow> kept;
        for (ModelRow& m : rows)
            if (m.live) {
                m.r.row = static_cast<int32_t>(kept.size() + 1);
                kept.push_back(m);
            }
        rows = std::move(kept);
    }
};

std::string randomText(std::mt19937& rng, size_t maxLength)
{
    static const std::string alphabet = "ABCDEFGHIJ \xD1\xE1\t";
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s)
        c = alphabet[rng() % alphabet.size()];
    return s;
}

TAgendaRecord randomRecord(std::mt19937& rng, bool directory)
{
    TAgendaRecord r;
    r.recno = directory ? static_cast<int32_t>(rng() % 25) + 1 : 0;
    r.name = std::string(cp1252::trim(randomText(rng, 20)));
    if (r.name.empty())
        r.name = "X";
    r.address = randomText(rng, 12);
    r.mail = randomText(rng, 8);
    r.note = rng() % 3 == 0 ? std::string(rng() % 4, ' ') : randomText(rng, 600);
    return r;
}

void expectSame(const TAgenda& agenda, const Model& model, const std::string& step)
{
    SCOPED_TRACE(step);
    ASSERT_EQ(agenda.directoryRows(), model.directoryRows());
    std::vector<TAgendaRecord> shown;
    agenda.forEachRow([&shown](const TAgendaRecord& r) { shown.push_back(r); });
    size_t k = 0;
    for (const ModelRow& m : model.rows) {
        if (!m.live || (m.r.recno != 0 && m.r.edition != model.edition))
            continue;
        ASSERT_LT(k, shown.size());
        const TAgendaRecord& s = shown[k++];
        EXPECT_EQ(s.row, m.r.row);
        EXPECT_EQ(s.recno, m.r.recno);
        EXPECT_EQ(s.edition, m.r.edition);
        EXPECT_EQ(s.name, m.r.name);
        EXPECT_EQ(s.address, m.r.address);
        EXPECT_EQ(s.mail, m.r.mail);
        EXPECT_EQ(s.note, m.r.note);
    }
    EXPECT_EQ(k, shown.size());
    for (int32_t recno = 1; recno <= 25; ++recno) {
        std::string want, got;
        EXPECT_EQ(agenda.FindRecord(recno, got), model.find(recno, want)) << recno;
        EXPECT_EQ(got, want);
    }
    std::vector<int32_t> noted, expected;
    agenda.forEachNotedRecord([&noted](int32_t recno) { noted.push_back(recno); });
    for (const ModelRow& m : model.rows)
        if (m.live && m.r.recno != 0 && m.r.edition == model.edition && !m.r.note.empty())
            expected.push_back(m.r.recno);
    EXPECT_EQ(noted, expected);
}

} // namespace

TEST(Agenda, MatchesAModelOverRandomOperationsReopeningsAndEditions)
{
    TempDir dir("agenda-model");
    const std::string folder = dir.path().string() + "/";
    std::mt19937 rng(4021);
    Model model;
    auto agenda = std::make_unique<TAgenda>(folder);
    ASSERT_TRUE(agenda->isOpen()) << agenda->status().toString();
    const int32_t editions[2] = {TAgenda::kEdition, 1234};
    model.edition = editions[0];
    agenda->SetEdition(model.edition);
    for (int step = 0; step < 400; ++step) {
        const int op = static_cast<int>(rng() % 20);
        std::string what = std::to_string(step) + " op " + std::to_string(op);
        if (op < 4) {
            const int32_t recno = static_cast<int32_t>(rng() % 25) + 1;
            agenda->AddRecord(recno);
            std::string note;
            if (model.find(recno, note) == 0) {
                TAgendaRecord r;
                r.recno = recno;
                model.append(r);
            }
        } else if (op < 8) {
            const TAgendaRecord r = randomRecord(rng, op < 6);
            EXPECT_EQ(agenda->AppendRow(r), model.append(r)) << what;
        } else if (op < 12) {
            const int32_t row = static_cast<int32_t>(rng() % (model.rows.size() + 2));
            TAgendaRecord r = randomRecord(rng, false);
            r.row = row;
            const bool there = row >= 1 && row <= static_cast<int32_t>(model.rows.size()) &&
                               model.rows[static_cast<size_t>(row - 1)].live;
            EXPECT_EQ(agenda->RewriteRow(r), there) << what;
            if (there) {
                TAgendaRecord& m = model.rows[static_cast<size_t>(row - 1)].r;
                if (m.recno == 0) {
                    const std::string note = m.note;
                    const int32_t recno = m.recno;
                    m = r;
                    m.recno = recno;
                    m.edition = 0;
                    m.note = note;
                    storeTexts(m);
                }
                if (cp1252::trim(r.note) != m.note)
                    m.note = std::string(cp1252::trim(r.note));
            }
        } else if (op < 15) {
            const int32_t row = static_cast<int32_t>(rng() % (model.rows.size() + 2));
            const bool there = row >= 1 && row <= static_cast<int32_t>(model.rows.size()) &&
                               model.rows[static_cast<size_t>(row - 1)].live;
            EXPECT_EQ(agenda->DeleteRow(row), there ? model.rows[static_cast<size_t>(row - 1)].r.recno : 0) << what;
            if (there)
                model.rows[static_cast<size_t>(row - 1)].live = false;
        } else if (op < 17) {
            agenda->SetViewFilter(rng() % 2 ? std::string(TAgenda::kDirectoryOnly) : std::string());
            agenda->SetViewFilter("");
        } else if (op < 19) {
            agenda.reset();
            agenda = std::make_unique<TAgenda>(folder);
            ASSERT_TRUE(agenda->isOpen()) << agenda->status().toString();
            agenda->SetEdition(model.edition);
            model.pack();
            what += " reopened";
        } else {
            model.edition = editions[rng() % 2];
            agenda->SetEdition(model.edition);
        }
        expectSame(*agenda, model, what);
        if (::testing::Test::HasFailure())
            return;
    }
}

TEST(Agenda, FirstStartCreatesTheTableAndItsMemoFileEmpty)
{
    TempDir dir("agenda-first");
    TAgenda agenda(dir.path().string() + "/");
    ASSERT_TRUE(agenda.isOpen());
    agenda.SetEdition(TAgenda::kEdition);
    int shown = 0;
    agenda.forEachRow([&shown](const TAgendaRecord&) { ++shown; });
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(agenda.tablePath(), dir / "QD_regS.dbf");
    std::ifstream f(dir / "QD_regS.dbf", std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), {});
    ASSERT_EQ(b.size(), 549u + 1);
    EXPECT_EQ(b[0], 0x8C);
    EXPECT_EQ(b[8] | (b[9] << 8), 549);
    EXPECT_EQ(b[10] | (b[11] << 8), 409);
    EXPECT_EQ(b[548], 0x0D);
    EXPECT_EQ(b[549], 0x1A);
    EXPECT_EQ(std::filesystem::file_size(dir / "QD_regS.dbt"), 512u);
    const char* names[] = {"recno",   "dbver",   "figurac", "domicil", "telefon",
                           "localid", "provinc", "web",     "mail",    "note"};
    for (int i = 0; i < 10; ++i)
        EXPECT_STREQ(reinterpret_cast<const char*>(&b[68 + 48 * i]), names[i]);
}

TEST(Agenda, RowsOfAnotherEditionAreNeitherShownCountedNorFoundAndTypedInContactsAlwaysShow)
{
    TempDir dir("agenda-editions");
    const std::string folder = dir.path().string() + "/";
    {
        TAgenda old(folder);
        old.SetEdition(111);
        old.AddRecord(42);
        old.AddRecord(43);
        TAgendaRecord typed;
        typed.name = "JULIANA";
        old.AppendRow(typed);
        EXPECT_EQ(old.directoryRows(), 2);
    }
    TAgenda agenda(folder);
    agenda.SetEdition(TAgenda::kEdition);
    EXPECT_EQ(agenda.directoryRows(), 0);
    std::string note;
    EXPECT_EQ(agenda.FindRecord(42, note), 0);
    std::vector<std::string> shown;
    agenda.forEachRow([&shown](const TAgendaRecord& r) { shown.push_back(r.name); });
    EXPECT_EQ(shown, std::vector<std::string>{"JULIANA"});
    agenda.AddRecord(42); // saved again under this edition: a new row
    EXPECT_EQ(agenda.FindRecord(42, note), 4);
    EXPECT_EQ(agenda.directoryRows(), 1);
    // Deleting a row of the old edition does not touch this edition's count.
    EXPECT_EQ(agenda.DeleteRow(1), 42);
    EXPECT_EQ(agenda.directoryRows(), 1);
}

TEST(Agenda, BlankNotesAreNoNotesAndClearingANoteKeepsTheRow)
{
    TempDir dir("agenda-notes");
    TAgenda agenda(dir.path().string() + "/");
    agenda.SetEdition(TAgenda::kEdition);
    const auto memoSize = [&dir] { return std::filesystem::file_size(dir / "QD_regS.dbt"); };
    TAgendaRecord r;
    r.recno = 9;
    r.note = "   \t ";
    const int32_t row = agenda.AppendRow(r);
    ASSERT_EQ(row, 1);
    EXPECT_EQ(memoSize(), 512u); // nothing written to the memo file
    std::vector<int32_t> noted;
    agenda.forEachNotedRecord([&noted](int32_t n) { noted.push_back(n); });
    EXPECT_TRUE(noted.empty());

    r.row = row;
    r.note = "  llamar el lunes  ";
    ASSERT_TRUE(agenda.RewriteRow(r));
    std::string note;
    EXPECT_EQ(agenda.FindRecord(9, note), row);
    EXPECT_EQ(note, "llamar el lunes");
    const auto grown = memoSize();
    r.note = "llamar el lunes \r\n"; // the same note, trimmed: not written again
    ASSERT_TRUE(agenda.RewriteRow(r));
    EXPECT_EQ(memoSize(), grown);

    r.note = "";
    ASSERT_TRUE(agenda.RewriteRow(r));
    EXPECT_EQ(agenda.FindRecord(9, note), row);
    EXPECT_EQ(note, "");
    noted.clear();
    agenda.forEachNotedRecord([&noted](int32_t n) { noted.push_back(n); });
    EXPECT_TRUE(noted.empty());
    EXPECT_EQ(agenda.directoryRows(), 1);
}

TEST(Agenda, DeletedRowsLeaveGapsUntilTheNextStart)
{
    TempDir dir("agenda-gaps");
    const std::string folder = dir.path().string() + "/";
    {
        TAgenda agenda(folder);
        agenda.SetEdition(TAgenda::kEdition);
        for (int32_t n : {5, 6, 7})
            agenda.AddRecord(n);
        EXPECT_EQ(agenda.DeleteRow(2), 6);
        EXPECT_EQ(agenda.DeleteRow(2), 0); // already gone
        std::string note;
        EXPECT_EQ(agenda.FindRecord(7, note), 3);
        EXPECT_EQ(agenda.directoryRows(), 2);
    }
    TAgenda agenda(folder);
    agenda.SetEdition(TAgenda::kEdition);
    std::string note;
    EXPECT_EQ(agenda.FindRecord(7, note), 2);
    EXPECT_EQ(agenda.FindRecord(6, note), 0);
}

TEST(Agenda, ASecondUserIsRefusedAndTheFirstKeepsWorking)
{
    TempDir dir("agenda-exclusive");
    const std::string folder = dir.path().string() + "/";
    TAgenda first(folder);
    first.SetEdition(TAgenda::kEdition);
    ASSERT_TRUE(first.isOpen());

    TAgenda second(folder); // same process, another open: refused too
    EXPECT_FALSE(second.isOpen());
    EXPECT_EQ(second.status().kind(), DbfStatus::Kind::InUse);
    second.AddRecord(1);
    EXPECT_EQ(second.AppendRow(TAgendaRecord{}), 0);
    EXPECT_EQ(second.CountDirectoryRows(), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        TAgenda other(folder);
        ::_exit(other.isOpen() ? 1 : other.status().kind() == DbfStatus::Kind::InUse ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    first.AddRecord(8);
    std::string note;
    EXPECT_EQ(first.FindRecord(8, note), 1);
}

TEST(Agenda, FoldersAndTablesItCannotUseLeaveItClosedAndUntouched)
{
    TempDir dir("agenda-closed");
    // A folder that does not exist (what an unwritable profile folder looks like to root as well).
    TAgenda nowhere(dir / "no/such/folder/");
    EXPECT_FALSE(nowhere.isOpen());
    nowhere.SetEdition(TAgenda::kEdition);
    nowhere.AddRecord(1);
    TAgendaRecord r;
    r.row = 1;
    EXPECT_EQ(nowhere.AppendRow(r), 0);
    EXPECT_FALSE(nowhere.RewriteRow(r));
    EXPECT_EQ(nowhere.DeleteRow(1), 0);
    std::string note = "x";
    EXPECT_EQ(nowhere.FindRecord(1, note), 0);
    EXPECT_EQ(note, "");
    EXPECT_EQ(nowhere.CountDirectoryRows(), 0);

    // A damaged table and a table without its memo file are refused, never recreated over.
    const std::string garbage = "this is not a table, but it may be someone's data";
    for (const char* which : {"damaged", "memoless"}) {
        TempDir d(which);
        if (std::string(which) == "damaged") {
            std::ofstream(d / "QD_regS.dbf") << garbage;
            std::ofstream(d / "QD_regS.dbt") << garbage;
        } else {
            {
                TAgenda a(d.path().string() + "/");
                a.AddRecord(3);
            }
            std::filesystem::remove(d / "QD_regS.dbt");
        }
        const auto before = std::filesystem::file_size(d / "QD_regS.dbf");
        TAgenda agenda(d.path().string() + "/");
        EXPECT_FALSE(agenda.isOpen()) << which;
        EXPECT_EQ(agenda.status().kind(), DbfStatus::Kind::Damaged) << which << agenda.status().toString();
        agenda.AddRecord(4);
        EXPECT_EQ(std::filesystem::file_size(d / "QD_regS.dbf"), before) << which;
    }
}
