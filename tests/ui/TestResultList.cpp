// The search panel and the result list of the real window: what a search shows (checked against the
// command-line search on the same data), scrolling, the keyboard, the filters, the marks, the
// columns, the see-also links and the typing rule of the lists.
#include "tests/ui/FormFixture.h"

#include "engine/DataFiles.h"
#include "engine/FiltroBits.h"
#include "search/MarkedRecords.h"
#include "search/QdLocs.h"
#include "search/ResultPager.h"
#include "search/VerTambien.h"
#include "tools/CliSearch.h"
#include "ui/AppearanceSettings.h"
#include "ui/ColumnSettings.h"
#include "ui/ListRows.h"
#include "ui/StatusBar2.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"
#include "widgets/UiText.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QToolTip>
#include <QTreeWidget>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

using namespace Qt::StringLiterals;

namespace {

std::vector<int32_t> shownRecords(TFormMain& form)
{
    std::vector<int32_t> out;
    for (int i = 0; i < form.pnlLista->rows().rowCount(); ++i)
        out.push_back(form.pnlLista->rows().recnoAt(i));
    return out;
}

struct CliAnswer {
    int32_t count = 0;
    std::vector<int32_t> records;
};

CliAnswer cliSearchFor(CliSearchOptions options)
{
    static CliDataSet* data = [] {
        auto* d = new CliDataSet;
        EXPECT_TRUE(d->open(sharedSample().folder()));
        return d;
    }();
    const nlohmann::json j = nlohmann::json::parse(runSearch(*data, options));
    return {j.at("count").get<int32_t>(), j.at("records").get<std::vector<int32_t>>()};
}

class FormResultList : public FormFixture {
protected:
    void clickIcon(int icon)
    {
        QTest::mouseClick(form->statusBar2, Qt::LeftButton, {}, form->statusBar2->iconRect(icon).center());
    }
    void search(Section section, const QString& name)
    {
        if (section == Section::Commercial)
            form->GuiaComercialExecute();
        else
            form->GuiaTelefonosExecute();
        ASSERT_TRUE(waitIdle(*form));
        form->pnlSecciones->edBusqueda->setText(name);
        form->pnlSecciones->bbuBuscar->click();
        ASSERT_TRUE(waitIdle(*form));
    }
    CliSearchOptions options(int32_t range, const std::string& name)
    {
        CliSearchOptions o;
        o.range = range;
        o.name = name;
        o.first = form->pnlLista->pager().pageRows();
        return o;
    }
};

} // namespace

TEST_F(FormResultList, NameSearchShowsWhatTheCommandLineFinds)
{
    search(Section::Telephone, u"GARCIA"_s);
    const CliAnswer cli = cliSearchFor(options(0, "GARCIA"));
    ASSERT_GT(cli.count, form->pnlLista->pager().pageRows()) << "the sample should give more than a page";
    EXPECT_EQ(shownRecords(*form), cli.records);
    EXPECT_EQ(form->statusBar2->panelText(1), u"Registros encontrados: "_s + QString::number(cli.count));
    EXPECT_EQ(form->statusBar2->panelText(0), u"Registro Actual: 1"_s);
    EXPECT_EQ(form->pnlLista->scrbRegistros->maximum(), cli.count - form->pnlLista->pager().pageRows());
    EXPECT_TRUE(form->pnlLista->pnlBusqueDatos->isHidden());
    EXPECT_TRUE(form->pnlLista->pnlNoData->isHidden());
    // The row shows the record as decoded, with its catalog names.
    const ResultItem* first = form->pnlLista->rows().item(0);
    registro r;
    ASSERT_TRUE(form->recordStore()->ReadRecord(r, first->grid.recno));
    EXPECT_EQ(first->text(6), uitext::fromData(r.DisplayPhone()));
    EXPECT_EQ(first->text(9), uitext::fromData(form->catalogs().LocalityName(r.localityId)));
}

TEST_F(FormResultList, CommercialSearchWithProvinceAndRubro)
{
    form->GuiaComercialExecute();
    ASSERT_TRUE(waitIdle(*form));
    // The first rubro and province with records.
    form->pnlSecciones->cbxProvincia->setCurrentIndex(1);
    QMetaObject::invokeMethod(form->pnlSecciones->cbxProvincia, "activated", Q_ARG(int, 1));
    ASSERT_TRUE(waitIdle(*form));
    CliSearchOptions o = options(1, "");
    o.province = form->pnlSecciones->cbxProvincia->currentData().toInt();
    bool found = false;
    for (int i = 1; i < form->pnlSecciones->cbxRubro->count() && !found; ++i) {
        o.rubro = form->pnlSecciones->cbxRubro->itemData(i).toInt();
        found = cliSearchFor(o).count > 0;
        if (found) {
            form->pnlSecciones->cbxRubro->setCurrentIndex(i);
            QMetaObject::invokeMethod(form->pnlSecciones->cbxRubro, "activated", Q_ARG(int, i));
        }
    }
    ASSERT_TRUE(found);
    ASSERT_TRUE(waitIdle(*form));
    const CliAnswer cli = cliSearchFor(o);
    EXPECT_EQ(shownRecords(*form), cli.records);
    EXPECT_EQ(form->statusBar2->panelText(1), u"Registros encontrados: "_s + QString::number(cli.count));
}

TEST_F(FormResultList, ScrollBarJumpsAndStepsShowThePageOfThePosition)
{
    search(Section::Telephone, u"GAR"_s);
    const int32_t page = form->pnlLista->pager().pageRows();
    const int32_t max = form->pnlLista->scrbRegistros->maximum();
    ASSERT_GT(max, 3 * page);
    for (const int32_t p : {max / 2, max / 2 - 10, max / 2 - 3 * page, max, 0, 1, 2}) {
        form->pnlLista->scrbRegistros->setValue(p);
        CliSearchOptions o = options(0, "GAR");
        o.from = p;
        EXPECT_EQ(shownRecords(*form), cliSearchFor(o).records) << "position " << p;
    }
    EXPECT_EQ(form->statusBar2->panelText(0), u"Registro Actual: 3"_s);
}

TEST_F(FormResultList, KeyboardMovesThroughTheResult)
{
    search(Section::Telephone, u"GAR"_s);
    const int32_t page = form->pnlLista->pager().pageRows();
    form->pnlLista->lvLista->setFocus();
    form->pnlLista->rows().selectRow(page - 1);
    QTest::keyClick(form->pnlLista->lvLista, Qt::Key_Down);
    EXPECT_EQ(form->pnlLista->pager().position(), 1) << "Down on the last row scrolls by one";
    QTest::keyClick(form->pnlLista->lvLista, Qt::Key_PageDown);
    EXPECT_EQ(form->pnlLista->pager().position(), 1 + page + page - 1) << "o + pageRows - 1";
    form->pnlLista->rows().selectRow(0);
    const int32_t before = form->pnlLista->pager().position();
    QTest::keyClick(form->pnlLista->lvLista, Qt::Key_Up);
    EXPECT_EQ(form->pnlLista->pager().position(), before - 1);
    // At the very end Down on the last row changes nothing.
    form->pnlLista->scrbRegistros->setValue(form->pnlLista->scrbRegistros->maximum());
    const std::vector<int32_t> last = shownRecords(*form);
    form->pnlLista->rows().selectRow(page - 1);
    QTest::keyClick(form->pnlLista->lvLista, Qt::Key_Down);
    EXPECT_EQ(shownRecords(*form), last);
    // Space marks the focused row.
    const int32_t marked = form->pnlLista->rows().current()->grid.recno;
    QTest::keyClick(form->pnlLista->lvLista, Qt::Key_Space);
    EXPECT_TRUE(markedRecords().contains(marked));
    QTest::keyClick(form->pnlLista->lvLista, Qt::Key_Space);
    EXPECT_FALSE(markedRecords().contains(marked));
}

TEST_F(FormResultList, FiltersNarrowAndComeBack)
{
    search(Section::Telephone, u"GAR"_s);
    const QString all = form->statusBar2->panelText(1);
    const std::pair<int, int> filters[] = {{0, 7}, {1, 6}, {2, 5}};
    for (const auto& [icon, plane] : filters) {
        clickIcon(icon);
        EXPECT_TRUE(form->pnlLista->filterOn(icon));
        CliSearchOptions o = options(0, "GAR");
        o.filterPlanes = {plane};
        const CliAnswer cli = cliSearchFor(o);
        EXPECT_EQ(form->statusBar2->panelText(1), u"Registros encontrados: "_s + QString::number(cli.count)) << icon;
        EXPECT_EQ(shownRecords(*form), cli.records) << icon;
        clickIcon(icon);
        EXPECT_EQ(form->statusBar2->panelText(1), all);
        EXPECT_EQ(form->pnlLista->pager().position(), 0);
    }
    // The marked-records filter with nothing marked finds nothing.
    form->btnShowSelected->click();
    EXPECT_TRUE(form->pnlLista->filterOn(3));
    EXPECT_FALSE(form->pnlLista->pnlNoData->isHidden());
    form->btnShowSelected->click();
    // The grid icon is not a filter.
    clickIcon(5);
    EXPECT_TRUE(form->pnlLista->gridLines());
    EXPECT_EQ(form->statusBar2->panelText(1), all);
}

TEST_F(FormResultList, MarksSurviveANewSearchInTheListOnly)
{
    markedRecords().clear();
    search(Section::Telephone, u"GAR"_s);
    for (int row = 0; row < 3; ++row) {
        form->pnlLista->rows().selectRow(row);
        form->pnlLista->selectRecord(true);
    }
    EXPECT_EQ(markedRecords().MarkedCount(), 3);
    form->pnlSecciones->bbuBuscar->click();
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_EQ(markedRecords().MarkedCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(form->worker()->accessBits()->TestBit(form->pnlLista->rows().recnoAt(row), plane::kSelection))
            << row;

    // Select-all marks the shown rows only.
    markedRecords().clear();
    form->btnSelAll->click();
    EXPECT_EQ(markedRecords().MarkedCount(), form->pnlLista->rows().rowCount());
    form->btnShowSelected->click();
    EXPECT_EQ(form->statusBar2->panelText(1),
              u"Registros encontrados: "_s + QString::number(form->pnlLista->rows().rowCount()));
    form->btnShowSelected->click();
    form->btnUnselectAll->click();
    EXPECT_EQ(markedRecords().MarkedCount(), 0);

    // The 201st mark shows on its row but is not listed.
    for (int32_t r = 1; markedRecords().MarkedCount() < MarkedRecords::kSlots; ++r)
        markedRecords().AddMarked(1'000'000 + r);
    form->pnlLista->rows().selectRow(0);
    form->pnlLista->selectRecord(true);
    EXPECT_TRUE(form->worker()->accessBits()->TestBit(form->pnlLista->rows().recnoAt(0), plane::kSelection));
    EXPECT_FALSE(markedRecords().contains(form->pnlLista->rows().recnoAt(0)));
    markedRecords().clear();
}

TEST_F(FormResultList, ColumnsHideByWidthAndTheLastStays)
{
    search(Section::Commercial, u"FARMACIA"_s);
    QHeaderView* h = form->pnlLista->lvLista->header();
    h->resizeSection(7, 0);
    EXPECT_FALSE(columnSettings().at(7).visible);
    h->resizeSection(7, 1);
    EXPECT_TRUE(columnSettings().at(7).visible);
    EXPECT_EQ(form->pnlLista->lvLista->columnWidth(7), 150) << "back at its last width";
    h->resizeSection(7, 20);
    EXPECT_EQ(form->pnlLista->lvLista->columnWidth(7), 40) << "text columns are at least 40 wide";
    h->resizeSection(7, 150);
    // Hide every column but the name; the name then cannot be hidden.
    for (int c = 0; c < ColumnSettings::kColumns; ++c) {
        if (c != 5)
            h->resizeSection(c, 0);
    }
    for (int c = 0; c < ColumnSettings::kColumns; ++c) {
        if (c != 5) {
            ASSERT_FALSE(columnSettings().at(c).visible) << c;
        }
    }
    h->resizeSection(5, 0);
    EXPECT_TRUE(columnSettings().at(5).visible) << "the last visible column counts as visible";
    for (int c = 0; c < ColumnSettings::kColumns; ++c)
        h->resizeSection(c, 1);
    for (int c = 0; c < ColumnSettings::kColumns; ++c)
        EXPECT_TRUE(columnSettings().at(c).visible) << c;
    // In the telephone section RUBRO is shut with a maximum of one pixel.
    form->GuiaTelefonosExecute();
    waitIdle(*form);
    EXPECT_EQ(form->pnlLista->lvLista->columnWidth(8), 0);
    h->resizeSection(8, 1);
    EXPECT_EQ(form->pnlLista->lvLista->columnWidth(8), 100);
}

TEST_F(FormResultList, SeeAlsoLinksAndARedirect)
{
    form->GuiaComercialExecute();
    ASSERT_TRUE(waitIdle(*form));
    // A rubro with see-also links.
    int withLinks = -1;
    for (int i = 1; i < form->pnlSecciones->cbxRubro->count() && withLinks < 0; ++i)
        if (!form->catalogs().RubroSeeAlso(form->pnlSecciones->cbxRubro->itemData(i).toInt()).empty())
            withLinks = i;
    ASSERT_GE(withLinks, 0);
    form->pnlSecciones->cbxRubro->setCurrentIndex(withLinks);
    QMetaObject::invokeMethod(form->pnlSecciones->cbxRubro, "activated", Q_ARG(int, withLinks));
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_FALSE(form->pnlSecciones->lblVerTambien->isHidden());
    EXPECT_EQ(form->pnlSecciones->lblVerTambien->text(), u"Ver también: "_s);
    const int32_t link = form->pnlSecciones->seeAlso().idAt(0);
    ASSERT_NE(link, 0);
    EXPECT_EQ(form->pnlSecciones->lblVerTambienLinks[0]->text(), uitext::fromData(form->catalogs().RubroName(link)));
    EXPECT_EQ(form->pnlSecciones->lblVerTambienLinks[1]->x(),
              form->pnlSecciones->lblVerTambienLinks[0]->x() + form->pnlSecciones->lblVerTambienLinks[0]->width() + 10);
    QTest::mouseClick(form->pnlSecciones->lblVerTambienLinks[0], Qt::LeftButton);
    ASSERT_TRUE(waitIdle(*form));
    if (form->catalogs().rubro(link).kind == 'C') {
        EXPECT_EQ(form->pnlSecciones->cbxRubro->currentData().toInt(), link);
        EXPECT_EQ(form->worker()->values().keyOf(1), link);
    }
    // "- TODOS -" hides the line.
    form->pnlSecciones->cbxRubro->setCurrentIndex(0);
    QMetaObject::invokeMethod(form->pnlSecciones->cbxRubro, "activated", Q_ARG(int, 0));
    waitIdle(*form);
    EXPECT_TRUE(form->pnlSecciones->lblVerTambien->isHidden());

    // A redirect: professional rubros carry them in the sample.
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    waitIdle(*form);
    for (int i = 1; i < form->pnlSecciones->cbxRubro->count(); ++i) {
        const int32_t id = form->pnlSecciones->cbxRubro->itemData(i).toInt();
        const int32_t target = form->catalogs().redirectTarget(id);
        if (target == 0)
            continue;
        form->pnlSecciones->cbxRubro->setCurrentIndex(i);
        QMetaObject::invokeMethod(form->pnlSecciones->cbxRubro, "activated", Q_ARG(int, i));
        waitIdle(*form);
        EXPECT_EQ(form->pnlSecciones->lblVerTambien->text(),
                  u"Ver rubro: "_s + uitext::fromData(form->catalogs().RubroName(target)));
        EXPECT_EQ(form->worker()->values().keyOf(1), target);
        return;
    }
    ADD_FAILURE() << "the sample has no redirected rubro";
}

TEST_F(FormResultList, ListsAcceptOnlyPrefixesOfTheirEntries)
{
    form->GuiaTelefonosExecute();
    waitIdle(*form);
    QLineEdit* edit = form->pnlSecciones->cbxProvincia->lineEdit();
    edit->setFocus();
    edit->clear();
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_TRUE(edit->text().startsWith(u"B"_s, Qt::CaseInsensitive));
    const QString completed = edit->text();
    QTest::keyClick(edit, Qt::Key_Q); // no province begins with "BQ"
    EXPECT_EQ(edit->text(), completed);
    EXPECT_EQ(edit->selectedText().size(), completed.size() - 1) << "the completion beyond the typed B";
}

TEST_F(FormResultList, SearchPressedDuringAPassRunsAgainAfterIt)
{
    form->GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(*form));
    const int32_t before = form->worker()->passesCompleted();
    form->pnlSecciones->edBusqueda->setText(u"GAR"_s);
    form->pnlSecciones->bbuBuscar->click();
    // Let the pass start, but not end: its later hand-offs wait for this thread.
    QElapsedTimer t;
    t.start();
    while (form->pnlSecciones->searchIdle() && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_FALSE(form->pnlSecciones->searchIdle());
    form->btnBuscar->click(); // the header's Enter button, same handler
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_EQ(form->worker()->passesCompleted(), before + 2);
    EXPECT_TRUE(form->pnlSecciones->searchIdle());
}

TEST_F(FormResultList, NoCriterionAsksForOne)
{
    form->GuiaTelefonosExecute();
    waitIdle(*form);
    messageboxes::clearShown();
    messageboxes::queueAnswer(QMessageBox::Ok);
    form->pnlSecciones->bbuBuscar->click();
    ASSERT_EQ(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].text, u"Debe ingresar al menos un criterio de búsqueda"_s);
    EXPECT_EQ(messageboxes::shown()[0].caption, u"Atención"_s);
    EXPECT_FALSE(form->pnlSecciones->searchDone());
    waitIdle(*form);
}

// A "QD.lmt" whose ranges run past the records: the telephone range ends beyond the last record and
// the commercial one starts there. The window and the command-line search open the folder the same
// way, so they clamp and drop the same ranges and find the same records.
TEST(DamagedLimits, WindowAndCommandLineAgree)
{
    formTestApp();
    TempDir copy("damaged-lmt");
    const std::filesystem::path folder = copy.path() / "data";
    std::filesystem::copy(sharedSample().folder(), folder);
    CliDataSet cli;
    ASSERT_TRUE(cli.open(folder.string()));
    const int32_t records = cli.store->RecordCount();
    {
        std::fstream lmt(folder / datafiles::kLimits, std::ios::in | std::ios::out | std::ios::binary);
        const auto put = [&](std::streamoff at, int32_t value) {
            const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
            lmt.seekp(at);
            lmt.write(reinterpret_cast<const char*>(b), 4);
        };
        put(8, records + 5000);    // "A": last record
        put(12 + 4, records + 10); // "C": first record
        put(12 + 8, records + 20); // "C": last record
        ASSERT_TRUE(lmt.good());
    }
    ASSERT_TRUE(cli.open(folder.string()));

    TempDir lockDir("lock");
    TFormMain form(testEnvironment(folder.string(), lockDir.path().string()));
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    ASSERT_TRUE(waitIdle(form));
    {
        auto bits = form.worker()->accessBits();
        for (int32_t g = 0; g < FiltroBits::kGuides; ++g) {
            EXPECT_EQ(bits->guideRange(g).first, cli.set().bits().guideRange(g).first) << g;
            EXPECT_EQ(bits->guideRange(g).last, cli.set().bits().guideRange(g).last) << g;
        }
    }
    EXPECT_EQ(cli.set().bits().guideRange(0).last, records);
    EXPECT_EQ(cli.set().bits().guideRange(1).last, 0) << "a range wholly past the records is dropped";

    form.GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(form));
    form.pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    form.pnlSecciones->bbuBuscar->click();
    ASSERT_TRUE(waitIdle(form));
    CliSearchOptions o;
    o.range = 0;
    o.name = "GARCIA";
    o.first = form.pnlLista->pager().pageRows();
    const nlohmann::json j = nlohmann::json::parse(runSearch(cli, o));
    ASSERT_GT(j.at("count").get<int32_t>(), 0);
    EXPECT_EQ(shownRecords(form), j.at("records").get<std::vector<int32_t>>());
    EXPECT_EQ(form.statusBar2->panelText(1),
              u"Registros encontrados: "_s + QString::number(j.at("count").get<int32_t>()));
}

TEST_F(FormResultList, StatusBarIconsShowFromTheStart)
{
    // The window starts on the home page; the six filter icons are there already.
    for (int i = 0; i < StatusBar2::kIcons; ++i)
        EXPECT_FALSE(form->statusBar2->icon(i).isNull()) << i;
    form->AgendaExecute();
    ASSERT_TRUE(waitIdle(*form));
    for (int i = 0; i < StatusBar2::kIcons; ++i)
        EXPECT_FALSE(form->statusBar2->icon(i).isNull()) << "agenda " << i;
}

TEST_F(FormResultList, NoMatchCountsZeroOverTheListsOwnColour)
{
    // The first search of the section finds nothing: the count reads 0 (the edge case, where the
    // pass's own steps would leave the panel empty) over a panel of the list's colour.
    search(Section::Telephone, u"QQQQZZZ"_s);
    EXPECT_EQ(form->statusBar2->panelText(1), u"Registros encontrados: 0"_s);
    QLabel* noData = form->pnlLista->pnlNoData;
    ASSERT_FALSE(noData->isHidden());
    EXPECT_EQ(noData->palette().color(QPalette::Window), QColor(235, 235, 235));
    EXPECT_EQ(noData->palette().color(QPalette::Window), form->pnlLista->lvLista->palette().color(QPalette::Base));

    form->GuiaProfesionalExecute();
    ASSERT_TRUE(waitIdle(*form));
    form->pnlSecciones->edBusqueda->setText(u"QQQQZZZ"_s);
    form->pnlSecciones->bbuBuscar->click();
    ASSERT_TRUE(waitIdle(*form));
    ASSERT_FALSE(noData->isHidden());
    EXPECT_EQ(noData->palette().color(QPalette::Window), QColor(203, 236, 243)) << "the professional list's blue";
    EXPECT_EQ(form->statusBar2->panelText(1), u"Registros encontrados: 0"_s);
}

TEST(FormAppearance, ATabSwitchedOffStaysOffOnEverySectionSwitch)
{
    formTestApp();
    AppearanceSettings settings = AppearanceSettings::shipped();
    settings.ckHome = false;
    const ScopedAppearance scope(settings);
    TempDir lock("lock");
    TFormMain form(testEnvironment(sharedSample().folder(), lock.path().string()));
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    ASSERT_TRUE(waitIdle(form));
    for (const auto& go : {&TFormMain::GuiaComercialExecute, &TFormMain::GuiaTelefonosExecute,
                           &TFormMain::AgendaExecute, &TFormMain::GuiaProfesionalExecute}) {
        (form.*go)(nullptr);
        ASSERT_TRUE(waitIdle(form));
        EXPECT_TRUE(form.spbuHome->isHidden());
        EXPECT_FALSE(form.spbuComercial->isHidden());
    }
}

TEST_F(FormResultList, TheListTakesTheScrollBarsBandWhileTheBarIsHidden)
{
    ResultList* panel = form->pnlLista;
    form->GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(*form));
    ASSERT_TRUE(panel->scrbRegistros->isHidden()) << "no search shown yet";
    EXPECT_EQ(panel->lvLista->geometry().right(), panel->rect().right());
    search(Section::Telephone, u"GARCIA"_s);
    ASSERT_FALSE(panel->scrbRegistros->isHidden());
    EXPECT_EQ(panel->lvLista->geometry().right() + 1, panel->scrbRegistros->x());
    EXPECT_EQ(panel->scrbRegistros->geometry().right(), panel->rect().right());
    EXPECT_GT(panel->scrbRegistros->width(), 0);
    // The overlays follow the list's width.
    EXPECT_EQ(panel->pnlNoData->width(), panel->lvLista->width() - 4);
    form->AgendaExecute();
    ASSERT_TRUE(waitIdle(*form));
    ASSERT_TRUE(panel->scrbRegistros->isHidden());
    EXPECT_EQ(panel->lvLista->geometry().right(), panel->rect().right());
    EXPECT_EQ(panel->pnlNoData->width(), panel->lvLista->width() - 4);
}

// A step down while a pass still hands its matches over goes on from the rows of the new search,
// not from the page of the search before; the page stays where the user took it after the pass.
TEST_F(FormResultList, AStepDownDuringAPassContinuesTheNewSearch)
{
    search(Section::Telephone, u"GAR"_s);
    ResultList* panel = form->pnlLista;
    panel->scrbRegistros->setValue(panel->scrbRegistros->maximum() / 2);
    const int32_t page = panel->pager().pageRows();

    form->pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    form->pnlSecciones->bbuBuscar->click();
    // Run the worker's hand-offs here, without the event loop, until the new first page is full
    // and a match beyond it has been handed over, while the pass's end still waits.
    QElapsedTimer t;
    t.start();
    while ((panel->rows().rowCount() < page || panel->scrbRegistros->maximum() < 1 || panel->passesSettled()) &&
           t.elapsed() < 20000) {
        form->runHandOffs();
        QThread::usleep(200);
    }
    ASSERT_EQ(panel->rows().rowCount(), page);
    ASSERT_FALSE(panel->passesSettled()) << "the pass should still be open";
    ASSERT_GE(panel->scrbRegistros->maximum(), 1);
    CliSearchOptions o = options(0, "GARCIA");
    o.from = 1;
    const CliAnswer stepped = cliSearchFor(o);
    EXPECT_EQ(shownRecords(*form), cliSearchFor(options(0, "GARCIA")).records);
    panel->scrbRegistros->setValue(1);
    EXPECT_EQ(shownRecords(*form), stepped.records);
    EXPECT_EQ(form->statusBar2->panelText(0), u"Registro Actual: 2"_s);

    ASSERT_TRUE(waitIdle(*form));
    EXPECT_EQ(shownRecords(*form), stepped.records);
    EXPECT_EQ(panel->scrbRegistros->value(), 1);
    EXPECT_EQ(panel->scrbRegistros->maximum(), stepped.count - page);
    EXPECT_EQ(form->statusBar2->panelText(0), u"Registro Actual: 2"_s);
    EXPECT_EQ(form->statusBar2->panelText(1), u"Registros encontrados: "_s + QString::number(stepped.count));
}

TEST_F(FormResultList, ToolTipsNameTheIconColumnsOnly)
{
    search(Section::Telephone, u"GARCIA"_s);
    QTreeWidget* list = form->pnlLista->lvLista;
    const auto tipAt = [&](int column) {
        // hideText only starts the tip's fade: take the label down at once.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel"))
                w->hide();
        const QPoint at(list->header()->sectionViewportPosition(column) + list->columnWidth(column) / 2, 5);
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(1), u"Nota"_s);
    EXPECT_EQ(tipAt(2), u"Aviso"_s);
    EXPECT_EQ(tipAt(4), u"Web"_s);
    for (const int text : {5, 6, 7, 9})
        EXPECT_EQ(tipAt(text), QString()) << text;
    QToolTip::hideText();
}

TEST_F(FormResultList, AColumnResizedWhileTheListIsEmpty)
{
    form->GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(*form));
    ASSERT_EQ(form->pnlLista->rows().rowCount(), 0);
    QHeaderView* h = form->pnlLista->lvLista->header();
    h->resizeSection(7, 0);
    EXPECT_FALSE(columnSettings().at(7).visible);
    EXPECT_EQ(form->pnlLista->rows().rowCount(), 0);
    h->resizeSection(7, 1);
    EXPECT_TRUE(columnSettings().at(7).visible);
    EXPECT_EQ(form->pnlLista->lvLista->columnWidth(7), 150);
    // The search after it shows its first page as usual.
    search(Section::Telephone, u"GARCIA"_s);
    EXPECT_EQ(shownRecords(*form), cliSearchFor(options(0, "GARCIA")).records);
}

TEST_F(FormResultList, ContextMenuFollowsTheFocusedRecord)
{
    const QList<QAction*> entries = form->pnlLista->popupLista->actions();
    ASSERT_EQ(entries.size(), 6);
    form->GuiaComercialExecute();
    ASSERT_TRUE(waitIdle(*form));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(entries[i]->isEnabled()) << "no record focused " << i;
    EXPECT_TRUE(entries[4]->isEnabled());
    EXPECT_TRUE(entries[5]->isEnabled());
    // Search for the first word of the first commercial record with an ad.
    int32_t withAd = 0;
    {
        auto bits = form->worker()->accessBits();
        const auto range = bits->guideRange(1);
        for (int32_t r = range.first; r <= range.last && withAd == 0; ++r)
            if (bits->TestBit(r, plane::kAd))
                withAd = r;
    }
    ASSERT_NE(withAd, 0);
    registro adRecord;
    ASSERT_TRUE(form->recordStore()->ReadRecord(adRecord, withAd));
    search(Section::Commercial, uitext::fromData(adRecord.name.substr(0, adRecord.name.find(' '))));
    bool sawAd = false, sawNoAd = false, sawMail = false, sawNoMail = false;
    QScrollBar* bar = form->pnlLista->scrbRegistros;
    for (int p = 0; p <= bar->maximum() && !(sawAd && sawNoAd && sawMail && sawNoMail);
         p += form->pnlLista->pager().pageRows()) {
        bar->setValue(p);
        for (int row = 0; row < form->pnlLista->rows().rowCount(); ++row) {
            form->pnlLista->rows().selectRow(row);
            const ResultItem* item = form->pnlLista->rows().item(row);
            registro r;
            ASSERT_TRUE(form->recordStore()->ReadRecord(r, item->grid.recno));
            const bool ad = ((item->flags >> plane::kAd) & 1u) != 0, mail = ((item->flags >> plane::kMail) & 1u) != 0;
            EXPECT_EQ(entries[0]->isEnabled(), ad && r.adNumber != 0) << row;
            EXPECT_EQ(entries[1]->isEnabled(), mail) << row;
            EXPECT_TRUE(entries[3]->isEnabled()) << row;
            (ad ? sawAd : sawNoAd) = true;
            (mail ? sawMail : sawNoMail) = true;
        }
    }
    EXPECT_TRUE(sawAd && sawNoAd && sawMail && sawNoMail) << "the result should hold both kinds of rows ";
}
