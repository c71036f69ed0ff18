// The record dialog and the agenda's window commands, driven headless through the modal seam and
// the message-box queue on a real agenda table in a temporary folder.
#include "agenda/AgendaCommands.h"
#include "agenda/TfrmEditRecord.h"
#include "platform/ProfileFolder.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/TempDir.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"
#include "widgets/UiText.h"

#include "widgets/PictureButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <set>

using namespace Qt::StringLiterals;

namespace {

class AgendaWidgets : public ::testing::Test {
protected:
    void SetUp() override
    {
        guiTestApp();
        QCoreApplication::setApplicationName(u"Ortelia"_s);
        modal::clear();
        messageboxes::clearShown();
        agenda = std::make_unique<TAgenda>(dir.path().string() + "/");
        ASSERT_TRUE(agenda->isOpen());
        agenda->SetEdition(TAgenda::kEdition);
    }
    QString lastMessage() const
    {
        return messageboxes::shown().empty() ? QString() : messageboxes::shown().back().text;
    }
    std::set<int32_t> noted() const
    {
        std::set<int32_t> s;
        agenda->forEachNotedRecord([&s](int32_t n) { s.insert(n); });
        return s;
    }
    TempDir dir{"agenda-widgets"};
    std::unique_ptr<TAgenda> agenda;
};

} // namespace

TEST_F(AgendaWidgets, TheDialogAsDesigned)
{
    TfrmEditRecord d;
    EXPECT_EQ(d.windowTitle(), u"Datos del Contacto"_s);
    EXPECT_EQ(d.size(), QSize(479, 499));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_FALSE(d.findChild<QWidget*>(u"imgHeader"_s)->grab().toImage().isNull());
    // Tab order: name, address, locality, province, telephone, mail, web, note.
    const std::vector<QWidget*> order = {d.tFigurac, d.tDomicil, d.tLocalid, d.tProvinc,
                                         d.tTelefon, d.tEmail,   d.tWeb,     d.tNota};
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << i;
    }
    for (QLabel* l : d.findChildren<QLabel*>())
        if (l->text().endsWith(u':') || l->text().endsWith(u"(*)"_s)) {
            EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(152, 104, 4)) << l->text().toStdString();
        }
    EXPECT_EQ(d.tNota->height(), 117);
    EXPECT_EQ(d.tFigurac->width(), 2 * d.tLocalid->width() + (d.tProvinc->x() - d.tLocalid->x() - d.tLocalid->width()));

    // The clear button follows the trimmed note; clearing asks first.
    EXPECT_FALSE(d.cmdClearNote->isEnabled());
    d.tNota->setPlainText(u"  \t\n "_s);
    EXPECT_FALSE(d.cmdClearNote->isEnabled());
    d.tNota->setPlainText(u" hola "_s);
    EXPECT_TRUE(d.cmdClearNote->isEnabled());
    messageboxes::queueAnswer(QMessageBox::No);
    d.cmdClearNote->click();
    EXPECT_EQ(d.tNota->toPlainText(), u" hola "_s);
    EXPECT_EQ(messageboxes::shown().back().caption, u"Borrar comentario"_s);
    EXPECT_EQ(lastMessage(), u"¿Está seguro que desea borrar este comentario?"_s);
    messageboxes::queueAnswer(QMessageBox::Yes);
    d.cmdClearNote->click();
    EXPECT_TRUE(d.tNota->toPlainText().isEmpty());

    // The name is required; a directory record's texts cannot be edited.
    d.tFigurac->setText(u"   "_s);
    d.cmdAccept->click();
    EXPECT_EQ(lastMessage(), u"El nombre es un campo obligatorio."_s);
    EXPECT_EQ(d.result(), 0);
    d.setRecordNumber(12);
    for (QLineEdit* e : {d.tFigurac, d.tDomicil, d.tLocalid, d.tProvinc, d.tTelefon, d.tEmail, d.tWeb})
        EXPECT_FALSE(e->isEnabled());
    EXPECT_TRUE(d.tNota->isEnabled());
    d.tFigurac->setText(u"PÉREZ"_s);
    d.cmdAccept->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(AgendaWidgets, AddingTheMarkedRecordsKeepsTheLimitAndSaysSo)
{
    for (int32_t n = 1; n <= 195; ++n)
        agenda->AddRecord(n);
    std::vector<int32_t> markedNow;
    const auto mark = [&markedNow](int32_t n) { markedNow.push_back(n); };
    // Six marked, five of them saved already: the whole selection counts.
    EXPECT_FALSE(agendacommands::addSelection(nullptr, *agenda, {191, 192, 193, 194, 195, 500}, mark));
    EXPECT_EQ(lastMessage(), u"La cantidad de registros a agendar supera el máximo permitido. Restan: 5"_s);
    EXPECT_EQ(messageboxes::shown().back().caption, u"Ortelia"_s);
    EXPECT_TRUE(markedNow.empty());
    EXPECT_EQ(agenda->directoryRows(), 195);

    EXPECT_TRUE(agendacommands::addSelection(nullptr, *agenda, {191, 500, 501}, mark));
    EXPECT_EQ(lastMessage(), u"Los registros seleccionados fueron agregados a la agenda con éxito."_s);
    EXPECT_EQ(markedNow, (std::vector<int32_t>{191, 500, 501}));
    EXPECT_EQ(agenda->directoryRows(), 197);

    EXPECT_FALSE(agendacommands::addSelection(nullptr, *agenda, {}, mark));
    EXPECT_EQ(lastMessage(), u"Debe seleccionar al menos un registro para agregar a la agenda"_s);

    // The edit dialog adds without a limit: past 200 even an empty selection hears the limit.
    for (int32_t n = 600; n < 606; ++n) {
        TAgendaRecord r;
        r.recno = n;
        modal::queueResult(QDialog::Accepted);
        EXPECT_TRUE(agendacommands::editRow(nullptr, *agenda, r).accepted);
    }
    EXPECT_EQ(agenda->directoryRows(), 203);
    EXPECT_FALSE(agendacommands::addSelection(nullptr, *agenda, {}, mark));
    EXPECT_EQ(lastMessage(), u"La cantidad de registros a agendar supera el máximo permitido. Restan: -3"_s);
}

TEST_F(AgendaWidgets, RemovingAsksFirstAndClearsTheNoteMarksOfDirectoryRecords)
{
    agenda->AddRecord(40);
    TAgendaRecord typed;
    typed.name = "CONTACTO";
    const int32_t typedRow = agenda->AppendRow(typed);
    AgendaSelection selection;
    std::vector<int32_t> cleared;
    const auto clear = [&cleared](int32_t n) { cleared.push_back(n); };
    EXPECT_FALSE(agendacommands::removeSelection(nullptr, *agenda, selection, clear));
    EXPECT_EQ(messageboxes::shown().back().caption, u"Atención"_s);
    EXPECT_EQ(lastMessage(), u"Debe seleccionar al menos un registro para eliminarlo de la agenda"_s);

    selection.add(1);
    selection.add(typedRow);
    messageboxes::queueAnswer(QMessageBox::No);
    EXPECT_FALSE(agendacommands::removeSelection(nullptr, *agenda, selection, clear));
    EXPECT_EQ(lastMessage(), u"¿Está seguro que desea eliminar los registros seleccionados de la agenda?"_s);
    EXPECT_EQ(selection.rows().size(), 2u);
    EXPECT_EQ(agenda->directoryRows(), 1);

    messageboxes::queueAnswer(QMessageBox::Yes);
    EXPECT_TRUE(agendacommands::removeSelection(nullptr, *agenda, selection, clear));
    EXPECT_TRUE(selection.empty());
    EXPECT_EQ(cleared, std::vector<int32_t>{40});
    EXPECT_EQ(agenda->directoryRows(), 0);
    int shown = 0;
    agenda->forEachRow([&shown](const TAgendaRecord&) { ++shown; });
    EXPECT_EQ(shown, 0);
}

TEST_F(AgendaWidgets, NewContactsAndEditsGoThroughTheDialog)
{
    // A new contact: cancel changes nothing; OK appends the typed texts.
    modal::queueResult(QDialog::Rejected);
    EXPECT_EQ(agendacommands::newContact(nullptr, *agenda), 0);
    modal::queueResult(QDialog::Accepted, [](QDialog& d) {
        auto& f = static_cast<TfrmEditRecord&>(d);
        EXPECT_TRUE(f.tFigurac->text().isEmpty());
        EXPECT_TRUE(f.tFigurac->isEnabled());
        f.tFigurac->setText(u"Ñandú Gómez"_s);
        f.tEmail->setText(u"nandu@ejemplo.com.ar"_s);
        f.tNota->setPlainText(u"primera\nsegunda"_s);
    });
    const int32_t row = agendacommands::newContact(nullptr, *agenda);
    ASSERT_EQ(row, 1);
    TAgendaRecord stored;
    ASSERT_TRUE(agenda->readRow(row, stored));
    EXPECT_EQ(stored.name, "\xD1"
                           "and\xFA G\xF3mez");
    EXPECT_EQ(stored.note, "primera\r\nsegunda");

    // Editing it: every box editable, the texts shown upper-cased, the note as stored.
    TAgendaRecord shown = stored;
    modal::queueResult(QDialog::Accepted, [](QDialog& d) {
        auto& f = static_cast<TfrmEditRecord&>(d);
        EXPECT_EQ(f.tFigurac->text(), u"ÑANDÚ GÓMEZ"_s);
        EXPECT_EQ(f.tEmail->text(), u"nandu@ejemplo.com.ar"_s);
        EXPECT_EQ(f.tNota->toPlainText(), u"primera\nsegunda"_s);
        EXPECT_TRUE(f.tDomicil->isEnabled());
        f.tDomicil->setText(u"Av. Siempreviva 742"_s);
    });
    const auto edited = agendacommands::editRow(nullptr, *agenda, shown);
    EXPECT_TRUE(edited.accepted);
    EXPECT_TRUE(edited.hasNote);
    ASSERT_TRUE(agenda->readRow(row, stored));
    EXPECT_EQ(stored.address, "Av. Siempreviva 742");

    // A directory record not yet saved: OK with a note of spaces saves it, without a note or mark.
    TAgendaRecord listed;
    listed.recno = 77;
    listed.name = "perez";
    modal::queueResult(QDialog::Accepted, [](QDialog& d) {
        auto& f = static_cast<TfrmEditRecord&>(d);
        EXPECT_FALSE(f.tFigurac->isEnabled());
        EXPECT_EQ(f.tFigurac->text(), u"PEREZ"_s);
        f.tNota->setPlainText(u"    "_s);
    });
    const auto saved = agendacommands::editRow(nullptr, *agenda, listed);
    EXPECT_TRUE(saved.accepted);
    EXPECT_FALSE(saved.hasNote);
    EXPECT_EQ(saved.record.row, 0);
    std::string note;
    const int32_t savedRow = agenda->FindRecord(77, note);
    EXPECT_EQ(savedRow, 2);
    EXPECT_TRUE(noted().empty());

    // A list row filled before the save still says "no agenda row": the edit finds the saved row
    // instead of saving the record twice.
    modal::queueResult(QDialog::Accepted);
    EXPECT_EQ(agendacommands::editRow(nullptr, *agenda, listed).record.row, savedRow);
    EXPECT_EQ(agenda->directoryRows(), 1);

    // Its note written, then cleared: the mark follows and the row stays.
    listed.row = savedRow;
    modal::queueResult(QDialog::Accepted,
                       [](QDialog& d) { static_cast<TfrmEditRecord&>(d).tNota->setPlainText(u"cliente"_s); });
    EXPECT_TRUE(agendacommands::editRow(nullptr, *agenda, listed).hasNote);
    EXPECT_EQ(noted(), std::set<int32_t>{77});
    modal::queueResult(QDialog::Accepted, [](QDialog& d) {
        auto& f = static_cast<TfrmEditRecord&>(d);
        EXPECT_EQ(f.tNota->toPlainText(), u"cliente"_s);
        f.tNota->clear();
    });
    EXPECT_FALSE(agendacommands::editRow(nullptr, *agenda, listed).hasNote);
    EXPECT_TRUE(noted().empty());
    EXPECT_EQ(agenda->FindRecord(77, note), savedRow);

    // Rebuilding the marks clears the range first, then marks the noted records.
    agenda->RewriteRow(TAgendaRecord{savedRow, 77, 0, "", "", "", "", "", "", "", "otra"});
    std::vector<int32_t> calls;
    agendacommands::rebuildNoteMarks(
        *agenda, [&calls] { calls.push_back(-1); }, [&calls](int32_t n) { calls.push_back(n); });
    EXPECT_EQ(calls, (std::vector<int32_t>{-1, 77}));
}

TEST_F(AgendaWidgets, TheAgendaViewSortsNamesTheSpanishWay)
{
    std::vector<TAgendaRecord> rows;
    for (const char* name : {"OCAMPO",
                             "\xD1"
                             "ANDU",
                             "NUZ",
                             "NU\xD1"
                             "EZ",
                             "nunez", "ALZ",
                             "\xC1"
                             "LVAREZ",
                             "alvarez"}) {
        TAgendaRecord r;
        r.name = name;
        rows.push_back(r);
    }
    agendacommands::sortByName(rows, [](const TAgendaRecord& r) { return uitext::fromData(r.name); });
    std::vector<std::string> names;
    for (const TAgendaRecord& r : rows)
        names.push_back(r.name);
    EXPECT_EQ(names, (std::vector<std::string>{"alvarez",
                                               "\xC1"
                                               "LVAREZ",
                                               "ALZ", "nunez",
                                               "NU\xD1"
                                               "EZ",
                                               "NUZ",
                                               "\xD1"
                                               "ANDU",
                                               "OCAMPO"}));
    EXPECT_TRUE(agendacommands::nameLess(u"NUNEZ"_s, u"NUÑEZ"_s));
    // The search finds the text anywhere in the name, whatever the case.
    EXPECT_TRUE(agendacommands::nameMatches(u"ana"_s, u"JULIANA PÉREZ"_s));
    EXPECT_TRUE(agendacommands::nameMatches(u"péREZ"_s, u"JULIANA PÉREZ"_s));
    EXPECT_TRUE(agendacommands::nameMatches(QString(), u"JULIANA"_s));
    EXPECT_FALSE(agendacommands::nameMatches(u"ANAS"_s, u"JULIANA"_s));
    EXPECT_TRUE(agendacommands::nameLess(u"NUZ"_s, u"ÑANDU"_s));
    EXPECT_TRUE(agendacommands::nameLess(u"ÑANDU"_s, u"OCAMPO"_s));
}

TEST_F(AgendaWidgets, AContactTheTableRefusesIsSaidNotLost)
{
    // Writes past the current file sizes fail as on a full disk.
    const auto size = [this](const char* f) { return std::filesystem::file_size(dir / f); };
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = before;
    full.rlim_cur = std::max(size("QD_regS.dbf"), size("QD_regS.dbt"));
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
    const auto typed = [](QDialog& d) {
        auto& f = static_cast<TfrmEditRecord&>(d);
        f.tFigurac->setText(u"Contacto"_s);
        f.tNota->setPlainText(u"una nota"_s);
    };
    modal::queueResult(QDialog::Accepted, typed);
    const int32_t row = agendacommands::newContact(nullptr, *agenda);
    TAgendaRecord listed;
    listed.recno = 99;
    modal::queueResult(QDialog::Accepted, typed);
    const bool accepted = agendacommands::editRow(nullptr, *agenda, listed).accepted;
    ::setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(row, 0);
    EXPECT_FALSE(accepted) << "the window would mark a note that is not there";
    ASSERT_EQ(messageboxes::shown().size(), 2u);
    EXPECT_EQ(lastMessage(), u"No se pudo guardar el contacto en la agenda."_s);
    std::string note;
    EXPECT_EQ(agenda->FindRecord(99, note), 0);
    // The table goes on working once there is room.
    modal::queueResult(QDialog::Accepted, typed);
    EXPECT_NE(agendacommands::newContact(nullptr, *agenda), 0);
}

TEST(AgendaFolder, WithoutAProfileVariableTheTableGoesToTheTemporaryFolder)
{
    TempDir tmp("agenda-tmp");
    const EnvLookup onlyTmp = [&tmp](const std::string& name) -> std::optional<std::string> {
        if (name == "TMP")
            return tmp.path().string();
        return std::nullopt;
    };
    TAgenda agenda(ProfileFolder::find(onlyTmp));
    EXPECT_TRUE(agenda.isOpen());
    EXPECT_TRUE(std::filesystem::exists(tmp / "QD_regS.dbf"));
    EXPECT_TRUE(std::filesystem::exists(tmp / "QD_regS.dbt"));
}
