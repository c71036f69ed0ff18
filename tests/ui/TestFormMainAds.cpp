// The window's ad and print commands: "Ver aviso" on rows with an ad and "Imprimir" on the rows
// shown, through the modal seam.
#include "ads/ReportPreview.h"
#include "ads/TfrmShowItem.h"
#include "ads/aviso.h"
#include "tests/ui/FormFixture.h"
#include "ui/ListRows.h"
#include "ui/ResultList.h"
#include "ui/SearchPanel.h"
#include "ui/StatusBar2.h"
#include "widgets/ModalSeam.h"
#include "widgets/PictureButton.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class FormAds : public FormFixture {
protected:
    // A search whose rows all have an ad (the with-ad filter on).
    void rowsWithAds()
    {
        const std::pair<bool, QString> searches[] = {
            {true, u"LA"_s}, {true, u"SA"_s}, {true, u"SRL"_s}, {true, u"CASA"_s}, {true, u"CENTRO"_s}};
        for (const auto& [commercial, text] : searches) {
            if (commercial)
                form->GuiaComercialExecute();
            else
                form->GuiaTelefonosExecute();
            ASSERT_TRUE(waitIdle(*form));
            form->pnlSecciones->edBusqueda->setText(text);
            form->pnlSecciones->bbuBuscar->click();
            ASSERT_TRUE(waitIdle(*form));
            if (!form->pnlLista->filterOn(0))
                form->pnlLista->toggleFilter(0); // "Filtrar registros con aviso"
            ASSERT_TRUE(waitIdle(*form));
            if (form->pnlLista->rows().rowCount() > 0)
                return;
        }
        FAIL() << "no search of the sample shows rows with an ad";
    }
};

TEST_F(FormAds, VerAvisoOpensTheFocusedRowsAd)
{
    rowsWithAds();
    modal::clear();
    QAction* verAviso = form->pnlLista->findChild<QMenu*>(u"popupLista"_s)->actions()[0];
    int local = 0, web = 0;
    for (int row = 0; row < form->pnlLista->rows().rowCount() && row < 8; ++row) {
        form->pnlLista->rows().selectRow(row);
        QApplication::processEvents();
        if (!verAviso->isEnabled())
            continue;
        const int32_t ad = form->pnlLista->focusedRow()->grid.adNumber;
        ASSERT_TRUE(form->adStore()->Read(ad));
        const int32_t kind = form->adStore()->kind();
        QString title;
        if (kind != 3)
            modal::queueResult(QDialog::Rejected, [&](QDialog& d) {
                title = d.windowTitle();
                EXPECT_FALSE(dynamic_cast<TfrmShowItem&>(d).shownPicture().isNull());
            });
        const size_t before = modal::seen().size();
        verAviso->trigger(); // the double click and Enter trigger it too
        EXPECT_FALSE(modal::resultsQueued()) << row;
        if (kind == 3) {
            EXPECT_EQ(modal::seen().size(), before) << row; // the browser, not a window
            ++web;
        } else {
            EXPECT_EQ(title, u"Aviso"_s) << row;
            ++local;
        }
    }
    EXPECT_GT(local, 0);
}

TEST_F(FormAds, ImprimirPreviewsTheRowsShownUnderTheSectionsName)
{
    rowsWithAds();
    modal::clear();
    QString section, firstName;
    modal::queueResult(QDialog::Rejected, [&](QDialog& d) {
        const auto& pages = dynamic_cast<ReportPreview&>(d).pages();
        ASSERT_EQ(pages.size(), 1u);
        section = pages[0].findLabel(u"lblGuia"_s)->text;
        firstName = pages[0].findLabel(u"QRRSoc0"_s)->text;
    });
    form->btn_imprimir->click();
    EXPECT_EQ(modal::seen().size(), 1u);
    EXPECT_EQ(section, form->pnlLista->sectionName());
    EXPECT_TRUE(section.startsWith(u"Sección "_s));
    EXPECT_EQ(firstName, form->pnlLista->lvLista->topLevelItem(0)->text(5));
}

} // namespace
