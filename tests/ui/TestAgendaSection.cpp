// The agenda in the window: the agenda view against a model of the table (editions, typed-in
// contacts, the name search, the five filters, the Spanish order), and the commands through their
// buttons and menus (add marked records, edit a note, remove, new contact), on a real table in the
// test's own profile folder; and an agenda that cannot be opened.
#include "tests/ui/FormFixture.h"

#include "agenda/AgendaCommands.h"
#include "agenda/TAgenda.h"
#include "agenda/TfrmEditRecord.h"
#include "engine/Cp1252.h"
#include "engine/FiltroBits.h"
#include "engine/QdData.h"
#include "engine/registro.h"
#include "search/MarkedRecords.h"
#include "ui/ListRows.h"
#include "ui/StatusBar2.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"
#include "widgets/PictureButton.h"
#include "widgets/UiText.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <fstream>
#include <random>

using namespace Qt::StringLiterals;

namespace {

class FormAgenda : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        messageboxes::clearShown();
        modal::clear();
        markedRecords().clear();
    }
    TAgenda& agenda() { return *form->pnlAgenda->agenda(); }
    ListRows& rows() { return form->pnlLista->rows(); }
    void clickIcon(int icon)
    {
        QTest::mouseClick(form->statusBar2, Qt::LeftButton, {}, form->statusBar2->iconRect(icon).center());
    }
    bool noteMark(int32_t recno) { return form->worker()->accessBits()->TestBit(recno, plane::kNote); }
    QString lastMessage() const
    {
        return messageboxes::shown().empty() ? QString() : messageboxes::shown().back().text;
    }
    // What the list shows: record number, agenda row and name of each row, in order.
    struct Shown {
        int32_t recno, row;
        QString name;
        bool operator==(const Shown&) const = default;
    };
    std::vector<Shown> shown()
    {
        std::vector<Shown> v;
        for (int i = 0; i < rows().rowCount(); ++i)
            v.push_back({rows().item(i)->grid.recno, rows().item(i)->grid.agendaRef, rows().item(i)->text(5)});
        return v;
    }
};

// One row as the test put it in the table.
struct ModelRow {
    int32_t row, recno, edition;
    std::string name, mail, web, note;
    int32_t adNumber = 0;
};

} // namespace

TEST_F(FormAgenda, TheViewShowsTheCurrentEditionAndTypedInContactsByNameThroughEveryFilter)
{
    std::mt19937 rng(15);
    const auto [first, last] = form->worker()->accessBits()->selectedBounds();
    const char* names[] = {"ÑANDÚ", "nuñez", "NUNEZ", "Ana Gómez", "JULIANA", "álvarez", "ALVAREZ", "Zárate", "oca"};
    std::vector<ModelRow> model;
    for (int i = 0; i < 40; ++i) {
        ModelRow m{};
        if (rng() % 3 != 0) {
            m.recno = first + static_cast<int32_t>(rng() % static_cast<uint32_t>(last - first + 1));
            m.edition = rng() % 5 == 0 ? 777 : TAgenda::kEdition;
            agenda().SetEdition(m.edition);
            std::string ignored;
            if (agenda().FindRecord(m.recno, ignored) != 0)
                continue; // saved once per edition
            registro r;
            form->recordStore()->ReadRecord(r, m.recno);
            m.name = cp1252::upper(r.name), m.mail = r.mail, m.web = r.web, m.adNumber = r.adNumber;
            agenda().AddRecord(m.recno);
            m.row = agenda().FindRecord(m.recno, ignored);
            agenda().SetEdition(TAgenda::kEdition);
        } else {
            TAgendaRecord t;
            t.name = uitext::toData(QString::fromUtf8(names[rng() % std::size(names)]));
            t.mail = rng() % 2 ? "a@b.ar" : "  ";
            t.web = rng() % 2 ? "www.x.ar" : "";
            m.row = agenda().AppendRow(t);
            m.name = cp1252::upper(t.name), m.mail = t.mail, m.web = t.web;
        }
        if (rng() % 3 == 0) {
            m.note = rng() % 2 ? "nota" : "   "; // blanks are no note
            TAgendaRecord n;
            agenda().readRow(m.row, n);
            n.note = m.note;
            agenda().RewriteRow(n);
        }
        model.push_back(m);
    }
    agenda().SetEdition(TAgenda::kEdition);

    form->GuiaTelefonosExecute(); // no filter on
    ASSERT_TRUE(waitIdle(*form));
    form->AgendaExecute();
    ASSERT_TRUE(waitIdle(*form));
    // Mark a few rows in the agenda's own selection.
    std::set<int32_t> selected;
    for (int i = 0; i < rows().rowCount(); i += 3) {
        rows().selectRow(i);
        form->pnlLista->selectRecord(true);
        selected.insert(rows().item(i)->grid.agendaRef);
    }
    const auto blank = [](const std::string& s) { return cp1252::trim(s).empty(); };
    for (const QString& search : {QString(), u"an"_s, u"NU"_s, u"ez"_s, u"ÁL"_s}) {
        for (int filter = -1; filter < 5; ++filter) {
            form->pnlAgenda->edBusquedaAgenda->setText(search);
            if (filter >= 0)
                clickIcon(filter);
            form->pnlAgenda->bbuBuscarAgenda->click();
            std::vector<Shown> expected;
            for (const ModelRow& m : model) {
                const bool pass =
                    (m.recno == 0 || m.edition == TAgenda::kEdition) &&
                    uitext::fromData(m.name).contains(search.toUpper()) && (filter != 0 || m.adNumber != 0) &&
                    (filter != 1 || !blank(m.mail)) && (filter != 2 || !blank(m.web)) &&
                    (filter != 3 || selected.count(m.row) != 0) && (filter != 4 || !blank(m.note));
                if (pass)
                    expected.push_back({m.recno, m.row, uitext::fromData(m.name)});
            }
            // The reference order: a plain comparison sort (the view sorts by collation keys).
            std::stable_sort(expected.begin(), expected.end(), [&](const Shown& a, const Shown& b) {
                return agendacommands::nameLess(a.name, b.name);
            });
            const std::vector<Shown> got = shown();
            ASSERT_EQ(got.size(), expected.size()) << "search '" << search.toStdString() << "' filter " << filter;
            for (size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].name.toStdString(), expected[i].name.toStdString()) << i;
                EXPECT_FALSE(agendacommands::nameLess(got[i].name, i ? got[i - 1].name : QString()));
            }
            std::multiset<std::pair<int32_t, int32_t>> a, b;
            for (size_t i = 0; i < got.size(); ++i) {
                a.insert({got[i].recno, got[i].row});
                b.insert({expected[i].recno, expected[i].row});
            }
            EXPECT_EQ(a, b) << "search '" << search.toStdString() << "' filter " << filter;
            if (filter >= 0)
                clickIcon(filter);
        }
    }
    // Ctrl+Alt+A shows the same view from a guide section; leaving the agenda drops its selection.
    form->GuiaComercialExecute();
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_TRUE(form->pnlAgenda->selection().empty());
    form->pnlAgenda->edBusquedaAgenda->clear();
    QTest::keyClick(form->pnlLista->lvLista, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(form->agendaMode());
    int current = 0;
    for (const ModelRow& m : model)
        current += m.recno == 0 || m.edition == TAgenda::kEdition;
    EXPECT_EQ(rows().rowCount(), current);
    // In the agenda's header Enter searches and Escape clears.
    form->AgendaExecute();
    form->pnlAgenda->edBusquedaAgenda->setText(u"QQQZZZ"_s);
    QTest::keyClick(form->pnlAgenda->edBusquedaAgenda, Qt::Key_Return);
    EXPECT_EQ(rows().rowCount(), 0);
    QTest::keyClick(form->pnlAgenda->edBusquedaAgenda, Qt::Key_Escape);
    EXPECT_TRUE(form->pnlAgenda->edBusquedaAgenda->text().isEmpty());
    EXPECT_EQ(rows().rowCount(), current);
}

TEST_F(FormAgenda, MarkedRecordsJoinTheAgendaTheirNotesAreEditedAndTheyLeaveIt)
{
    form->GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(*form));
    form->pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    form->pnlSecciones->bbuBuscar->click();
    ASSERT_TRUE(waitIdle(*form));
    ASSERT_GE(rows().rowCount(), 4);
    std::vector<int32_t> recnos;
    for (int i = 0; i < 3; ++i) {
        rows().selectRow(i);
        form->pnlLista->selectRecord(true);
        recnos.push_back(rows().item(i)->grid.recno);
    }
    form->btnAgendar->click();
    EXPECT_EQ(lastMessage(), u"Los registros seleccionados fueron agregados a la agenda con éxito."_s);
    EXPECT_EQ(agenda().directoryRows(), 3);
    EXPECT_EQ(markedRecords().MarkedCount(), 0) << "the rows shown are unmarked";
    EXPECT_FALSE(form->worker()->accessBits()->TestBit(recnos[0], plane::kSelection));

    // "Editar" on a row filled before the add: its note goes to the saved row, not a second one.
    rows().selectRow(1);
    QAction* edit = form->pnlLista->popupLista->actions()[5];
    modal::queueResult(QDialog::Accepted, [](QDialog& d) {
        auto& f = static_cast<TfrmEditRecord&>(d);
        EXPECT_FALSE(f.tFigurac->isEnabled());
        f.tNota->setPlainText(u"llamar el lunes"_s);
    });
    edit->trigger();
    EXPECT_EQ(agenda().directoryRows(), 3);
    EXPECT_TRUE(noteMark(recnos[1]));
    std::string note;
    EXPECT_EQ(agenda().FindRecord(recnos[1], note), rows().item(1)->grid.agendaRef);
    EXPECT_EQ(note, "llamar el lunes");
    // A note of blanks on a record not yet saved: saved, but marks nothing.
    rows().selectRow(3);
    modal::queueResult(QDialog::Accepted,
                       [](QDialog& d) { static_cast<TfrmEditRecord&>(d).tNota->setPlainText(u"   "_s); });
    edit->trigger();
    EXPECT_EQ(agenda().directoryRows(), 4);
    EXPECT_FALSE(noteMark(rows().item(3)->grid.recno));
    EXPECT_NE(rows().item(3)->grid.agendaRef, 0);

    // The note filter shows the one noted record; a guide switch rebuilds the same mark.
    clickIcon(4);
    ASSERT_TRUE(waitIdle(*form));
    ASSERT_EQ(rows().rowCount(), 1);
    EXPECT_EQ(rows().item(0)->grid.recno, recnos[1]);
    form->GuiaComercialExecute();
    form->GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_TRUE(noteMark(recnos[1]));

    // In the agenda: all four rows; marking all and confirming empties it and clears the mark.
    form->AgendaExecute();
    ASSERT_EQ(rows().rowCount(), 4);
    form->btnDelFromAgenda->click();
    EXPECT_EQ(lastMessage(), u"Debe seleccionar al menos un registro para eliminarlo de la agenda"_s);
    form->btnSelAll->click();
    EXPECT_EQ(form->pnlAgenda->selection().rows().size(), 4u);
    messageboxes::queueAnswer(QMessageBox::No);
    form->btnDelFromAgenda->click();
    EXPECT_EQ(rows().rowCount(), 4);
    messageboxes::queueAnswer(QMessageBox::Yes);
    form->btnDelFromAgenda->click();
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_EQ(agenda().directoryRows(), 0);
    EXPECT_FALSE(noteMark(recnos[1]));

    // A new contact: cancelled, nothing; accepted, it shows with its note.
    modal::queueResult(QDialog::Rejected);
    form->pnlAgenda->bbuNuevoAgenda->click();
    EXPECT_EQ(rows().rowCount(), 0);
    modal::queueResult(QDialog::Accepted, [](QDialog& d) {
        auto& f = static_cast<TfrmEditRecord&>(d);
        f.tFigurac->setText(u"Plomero Néstor"_s);
        f.tTelefon->setText(u"15-555-0199"_s);
        f.tNota->setPlainText(u"viene los sábados"_s);
    });
    form->pnlAgenda->bbuNuevoAgenda->click();
    ASSERT_EQ(rows().rowCount(), 1);
    EXPECT_EQ(rows().item(0)->text(5), u"PLOMERO NÉSTOR"_s);
    EXPECT_EQ(rows().item(0)->grid.recno, 0);
    EXPECT_EQ(agenda().directoryRows(), 0) << "typed-in contacts are not counted";
}

TEST(FormAgendaClosed, AnAgendaThatCannotBeOpenedLeavesEveryCommandHarmless)
{
    formTestApp();
    TempDir lockDir("lock");
    const std::string notAFolder = lockDir / "file";
    std::ofstream(notAFolder) << "x";
    StartupEnvironment env = testEnvironment(sharedSample().folder(), lockDir.path().string());
    env.env = [notAFolder](const std::string& name) -> std::optional<std::string> {
        return name == "USERPROFILE" ? std::optional<std::string>(notAFolder + "/") : std::nullopt;
    };
    TFormMain form(env);
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    ASSERT_TRUE(waitIdle(form));
    EXPECT_FALSE(form.pnlAgenda->agenda()->isOpen());
    messageboxes::clearShown();
    modal::clear();
    form.GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(form));
    form.pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    form.pnlSecciones->bbuBuscar->click();
    ASSERT_TRUE(waitIdle(form));
    form.pnlLista->rows().selectRow(0);
    form.pnlLista->selectRecord(true);
    form.btnAgendar->click();
    form.pnlLista->popupLista->actions()[5]->trigger();
    form.AgendaExecute();
    form.pnlAgenda->bbuNuevoAgenda->click();
    form.btnDelFromAgenda->click();
    EXPECT_FALSE(form.pnlAgenda->bbuNuevoAgenda->isEnabled());
    EXPECT_EQ(form.pnlLista->rows().rowCount(), 0);
    EXPECT_TRUE(messageboxes::shown().empty());
    EXPECT_TRUE(modal::seen().empty());
    EXPECT_EQ(std::filesystem::file_size(notAFolder), 1u);
    markedRecords().clear();
}
