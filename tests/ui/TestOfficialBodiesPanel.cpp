#include "builder/CodedLinesWriter.h"
#include "engine/Cp1252.h"
#include "search/OfficialBodies.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/MemoryFiles.h"
#include "ui/OfficialBodiesModels.h"
#include "ui/OfficialBodiesPanel.h"
#include "widgets/MessageBoxes.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A line of the file, its name given in UTF-8 (the file is Windows-1252).
std::string line(std::string_view name, std::string_view type, std::string_view value = "")
{
    std::string cp;
    EXPECT_TRUE(cp1252::fromUtf8(name, cp));
    return CodedLinesWriter::officialBodiesLine(cp, type, value);
}

// "da2.dat" and "da2.hfm" of the lines.
void putBodies(MemoryFiles& fs, const std::vector<std::string>& lines)
{
    CodedLinesWriter writer;
    for (const std::string& l : lines)
        ASSERT_TRUE(writer.add(l));
    std::vector<uint8_t> data;
    std::array<uint8_t, huffman::kTableSize> table{};
    ASSERT_TRUE(writer.finish(data, table));
    fs.put("da2.dat", data);
    fs.put("da2.hfm", {table.begin(), table.end()});
}

const std::vector<std::string> kLines = {
    line("BUENOS AIRES", "PROVINCI"),     line("Ministerio de Salud", "ALPHAHED", "4000-0000"),
    line("Sede Central", "WSBL"),         line("Hospital de Niños", "INDD", "4000-1000"),
    line("GUARDIA", "INDT", "4000-1001"), line("TURNOS", "INDT", "4000-1002"),
    line("CORDOBA", "PROVINCI"),          line("MINISTERIO DE EDUCACION", "ALPHAHED"),
};

class BodiesPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        guiTestApp();
        messageboxes::clearShown();
        header.resize(650, 101);
        body.resize(800, 420);
        panel = std::make_unique<OfficialBodiesPanel>(&header, &body);
        window.show();
    }

    void load(const std::vector<std::string>& lines)
    {
        putBodies(fs, lines);
        ASSERT_TRUE(panel->LoadData("da2.dat", "da2.hfm", fs.opener()));
        panel->fClearOO();
    }
    [[nodiscard]] QStringList detail() const
    {
        QStringList out;
        const auto& m = panel->detailModel();
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.index(r, 0).data().toString() + u"|"_s + m.index(r, 1).data().toString();
        return out;
    }
    [[nodiscard]] QStringList results() const
    {
        QStringList out;
        const auto& m = panel->resultModel();
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.index(r, 0).data().toString();
        return out;
    }

    QApplication& app = guiTestApp(); // before the widgets below
    QWidget window;
    QWidget header{&window};
    QWidget body{&window};
    MemoryFiles fs;
    std::unique_ptr<OfficialBodiesPanel> panel;
};

} // namespace

TEST_F(BodiesPanel, LoadsOnceAndMissingFilesCountAsLoaded)
{
    EXPECT_TRUE(panel->LoadData("da2.dat", "da2.hfm", fs.opener())); // nothing there
    EXPECT_TRUE(panel->loaded());
    EXPECT_TRUE(panel->bodies().empty());
    putBodies(fs, kLines);
    EXPECT_FALSE(panel->LoadData("da2.dat", "da2.hfm", fs.opener()));
    EXPECT_EQ(fs.opens(), 0);
    EXPECT_TRUE(panel->bodies().empty());

    panel->fClearOO();
    panel->tPalabraClave->setText(u"SALUD"_s);
    panel->bbuBuscarOOClick();
    ASSERT_EQ(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].text, u"No se encontraron resultados con la palabra clave ingresada."_s);
    EXPECT_TRUE(messageboxes::shown()[0].caption.isEmpty());
}

TEST_F(BodiesPanel, KeywordSearchSelectsTheOfficeWithItsAncestorsAndLines)
{
    load(kLines);
    // Typed letters show in upper case; the search finds the mixed-case captions.
    QTest::keyClicks(panel->tPalabraClave, u"ni"_s);
    QKeyEvent enye(QEvent::KeyPress, 0, Qt::NoModifier, u"ñ"_s);
    QApplication::sendEvent(panel->tPalabraClave, &enye);
    QTest::keyClicks(panel->tPalabraClave, u"os"_s);
    EXPECT_EQ(panel->tPalabraClave->text(), u"NIÑOS"_s);
    // Enter released in the field searches once.
    QTest::keyClick(panel->tPalabraClave, Qt::Key_Return);
    EXPECT_EQ(results(), QStringList{u"Hospital de Niños"_s});
    EXPECT_TRUE(messageboxes::shown().empty());

    panel->lb1->setCurrentIndex(panel->resultModel().index(0, 0));
    EXPECT_EQ(panel->selectedNode(), panel->bodies().nodeAtPath("0/0/0/0"));
    EXPECT_TRUE(panel->tv1->isExpanded(panel->treeModel().indexOf(panel->bodies().nodeAtPath("0/0"))));
    EXPECT_EQ(detail(), (QStringList{u"BUENOS AIRES|"_s, u"    Ministerio de Salud|4000-0000"_s,
                                     u"        Sede Central|"_s, u"            Hospital de Niños|4000-1000"_s,
                                     u"        GUARDIA|4000-1001"_s, u"        TURNOS|4000-1002"_s}));

    // A province shows nothing.
    panel->tv1->setCurrentIndex(panel->treeModel().indexOf(panel->bodies().roots()[1]));
    EXPECT_TRUE(detail().isEmpty());

    // Two results in pre-order.
    panel->tPalabraClave->setText(u"MINISTERIO"_s);
    panel->bbuBuscarOOClick();
    EXPECT_EQ(results(), (QStringList{u"Ministerio de Salud"_s, u"MINISTERIO DE EDUCACION"_s}));
}

TEST_F(BodiesPanel, EmptyKeywordAsksForOneAndKeepsTheResults)
{
    load(kLines);
    panel->tPalabraClave->setText(u"SALUD"_s);
    panel->bbuBuscarOOClick();
    ASSERT_EQ(results().size(), 1);
    panel->tPalabraClave->clear();
    panel->bbuBuscarOOClick();
    ASSERT_EQ(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].caption, u"Atención"_s);
    EXPECT_EQ(messageboxes::shown()[0].text, u"Ingrese una palabra clave para realizar una búsqueda rápida."_s);
    EXPECT_EQ(results().size(), 1);
}

TEST_F(BodiesPanel, ClearEmptiesEverythingAndCollapsesOnTheFirstProvince)
{
    load(kLines);
    panel->tPalabraClave->setText(u"HOSPITAL"_s);
    panel->bbuBuscarOOClick();
    panel->lb1->setCurrentIndex(panel->resultModel().index(0, 0));
    ASSERT_FALSE(detail().isEmpty());
    panel->bbuClearClick();
    EXPECT_TRUE(panel->tPalabraClave->text().isEmpty());
    EXPECT_TRUE(results().isEmpty());
    EXPECT_TRUE(detail().isEmpty());
    EXPECT_EQ(panel->selectedNode(), panel->bodies().roots()[0]);
    for (int32_t n = 0; n < static_cast<int32_t>(panel->bodies().size()); ++n)
        EXPECT_FALSE(panel->tv1->isExpanded(panel->treeModel().indexOf(n)));
}

TEST_F(BodiesPanel, ViewsFollowThePanelWidthAndKeepTheirFontsAndColumns)
{
    load(kLines);
    body.resize(1000, 500);
    for (QTreeView* v : {panel->lb1, panel->tv1, panel->lv1})
        EXPECT_EQ(v->width(), 1000 - 2 * v->x());
    EXPECT_EQ(panel->lv1->y() + panel->lv1->height(), 500 - 4);
    EXPECT_EQ(panel->lv1->columnWidth(0), 463);
    EXPECT_EQ(panel->lv1->columnWidth(1), 145);
    EXPECT_EQ(panel->lb1->columnWidth(0), 600);
    EXPECT_EQ(panel->tv1->indentation(), 19);
    for (QTreeView* v : {panel->lb1, panel->tv1, panel->lv1}) {
        EXPECT_EQ(v->font().family(), u"Arial"_s);
        EXPECT_EQ(v->font().pointSize(), 8);
        EXPECT_EQ(v->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    EXPECT_EQ(panel->lblResultado->text(), u"Resultado de la búsqueda"_s);
    EXPECT_EQ(panel->detailModel().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"Descripcion"_s);
}

TEST_F(BodiesPanel, ReleaseDropsTheTree)
{
    load(kLines);
    panel->release();
    EXPECT_TRUE(panel->bodies().empty());
    EXPECT_EQ(panel->treeModel().rowCount(), 0);
}
