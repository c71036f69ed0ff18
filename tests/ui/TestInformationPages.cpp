#include "search/QdLocs.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/TempDir.h"
#include "ui/AppearanceSettings.h"
#include "ui/InfoLinkPolicy.h"
#include "ui/InformationPages.h"
#include "ui/TPanelDDI.h"
#include "ui/TPanelDDN.h"
#include "ui/TPanelNumUtiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const char* const kCatalog =
    "P;1;BUENOS AIRES\nP;2;CORDOBA\n"
    "L;1;Tandil;1;1;249\nL;2;Azul;1;1;2281\nL;3;Carlos Paz;2;1;3541\n"
    "L;4;Alta Gracia;2;1;3547\nL;5;Cosquin;2;1;3541\n"
    "G;1;GUIA NORTE\nG;2;GUIA SUR\n"
    "U;1;BOMBEROS;100;1\nU;2;SIN NUMERO;;1\nU;3;POLICIA;101;1\n"
    "S;1;34;ESPA\xD1"
    "A;+4;+5;Primera|Segunda|\nS;2;39;ITALIA;+4;+5;Una sola\n"
    "C;1;91;Madrid\nC;1;93;Barcelona\nC;1;95;Sevilla\nC;1;96;Valencia\nC;1;94;Bilbao\n"
    "C;2;06;Roma\nC;2;02;Milano\nC;2;011;Torino\nC;2;055;Firenze\nC;2;081;Napoli\nC;2;041;Venezia\n";

QStringList column(const QTableWidget* list, int c)
{
    QStringList out;
    for (int r = 0; r < list->rowCount(); ++r)
        out << list->item(r, c)->text();
    return out;
}

int comboIndexOf(const QComboBox* combo, const QString& text)
{
    return combo->findText(text);
}

// A browser that loads nothing and remembers where it was sent.
class RecordingBrowser final : public InfoBrowser {
public:
    explicit RecordingBrowser(QWidget* parent, bool finishes) : m_widget(new QWidget(parent)), m_finishes(finishes) {}
    QWidget* widget() override { return m_widget; }
    void navigate(const QUrl& url) override
    {
        navigations.push_back(url);
        m_url = url;
        m_loading = true;
        if (m_finishes) {
            QTimer::singleShot(0, m_widget, [this] {
                m_loading = false;
                if (m_ended)
                    m_ended();
            });
        }
    }
    QUrl url() const override { return m_url; }
    bool isLoading() const override { return m_loading; }
    void setLoadEnded(std::function<void()> ended) override { m_ended = std::move(ended); }
    // A link followed inside the page.
    void follow(const QUrl& url) { m_url = url; }

    std::vector<QUrl> navigations;

private:
    QWidget* m_widget;
    bool m_finishes;
    QUrl m_url;
    bool m_loading = false;
    std::function<void()> m_ended;
};

class InfoPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        guiTestApp();
        locs.loadText(kCatalog);
        area.resize(900, 500);
        pages = new InformationPages(&area, locs);
        for (int i = 0; i < 4; ++i) {
            links[static_cast<size_t>(i)] = new QLabel(u"link"_s, &header);
            links[static_cast<size_t>(i)]->setObjectName(u"btn"_s + kKeys[i]);
            bullets[static_cast<size_t>(i)] = new QLabel(u"u"_s, &header);
            bullets[static_cast<size_t>(i)]->setObjectName(u"blt"_s + kKeys[i]);
        }
        pages->setLinks(links, bullets);
        QDir(QString::fromStdString(data.path().string())).mkpath(u"info"_s);
        writePage();
        pages->setBrowser(
            [this](QWidget* parent, const QString&, std::shared_ptr<ShellOpener>) -> std::unique_ptr<InfoBrowser> {
                ++made;
                auto b = std::make_unique<RecordingBrowser>(parent, finishes);
                browser = b.get();
                return b;
            },
            folder(), nullptr);
        pages->pnlDDN->fillProvinces();
        pages->pnlDDI->fillCountries();
        pages->pnlNumUtiles->fillGuides();
    }

    [[nodiscard]] QString folder() const { return QString::fromStdString(data.path().string()); }
    [[nodiscard]] QString page() const { return folder() + u"/info/Productos.html"_s; }
    void writePage() const
    {
        QFile f(page());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<html><body>Productos</body></html>");
    }
    [[nodiscard]] QColor colourOf(const QLabel* l) const { return l->palette().color(QPalette::WindowText); }

    static inline const QString kKeys[4] = {u"InfoProductos"_s, u"InfoNumerosUtiles"_s, u"InfoDDI"_s, u"InfoDDN"_s};
    QApplication& app = guiTestApp(); // before the widgets below
    QdLocs locs;
    QWidget header, area;
    TempDir data{"info"};
    InformationPages* pages = nullptr; // child of area
    std::array<QLabel*, 4> links{}, bullets{};
    RecordingBrowser* browser = nullptr;
    int made = 0;
    bool finishes = true;
};

} // namespace

TEST_F(InfoPages, PanelsCarryTheirExactTexts)
{
    EXPECT_EQ(pages->pnlDDN->lbl_DDNProv->text(), u"Provincias"_s);
    EXPECT_EQ(pages->pnlDDN->lbl_DDNIngreseLoc->text(), u"Ingrese una Localidad"_s);
    EXPECT_EQ(pages->pnlDDI->lbl_DDICodPais->text(), u"Código del País:"_s);
    EXPECT_EQ(pages->pnlNumUtiles->lbl_NUSeleccioneGuia->text(), u"Seleccione la guía a consultar"_s);
    const QStringList ddn = pages->pnlDDN->mmDDN->toPlainText().split(u'\n');
    ASSERT_EQ(ddn.size(), 12);
    EXPECT_TRUE(ddn[0].startsWith(u"Cuando desee realizar una llamada de larga distancia nacional recurde"_s));
    EXPECT_EQ(ddn[11], u"buscar en el CD ROM."_s);
    const QStringList ddi = pages->pnlDDI->mmDDI->toPlainText().split(u'\n');
    ASSERT_EQ(ddi.size(), 8);
    EXPECT_EQ(ddi[7], u"Por ejemplo, para llamar a Sevilla deberá marcar el 00 34 95 32280000"_s);
    EXPECT_FALSE(pages->pnlDDN->mmDDN->isEnabled());
    EXPECT_EQ(pages->pnlDDN->palette().color(QPalette::Window), pages->pnlDDN->palette().color(QPalette::Window));
}

TEST_F(InfoPages, NationalDiallingListsSearchesAndCopiesLocalities)
{
    TPanelDDN& p = *pages->pnlDDN;
    ASSERT_EQ(p.DDN_cbxProvincia->itemText(0), u"- TODAS -"_s);
    EXPECT_EQ(p.lvLocalidades->rowCount(), 0); // start-up fills only the chooser
    pages->showPage(u"InfoDDN"_s);
    EXPECT_EQ(column(p.lvLocalidades, 1),
              (QStringList{u"ALTA GRACIA"_s, u"AZUL"_s, u"CARLOS PAZ"_s, u"COSQUIN"_s, u"TANDIL"_s}));
    EXPECT_TRUE(p.lvLocalidades->isColumnHidden(0));
    EXPECT_EQ(p.lvLocalidades->columnWidth(1), 395);
    EXPECT_EQ(p.lvLocalidades->columnWidth(2), 50);

    p.DDN_cbxProvincia->setCurrentIndex(comboIndexOf(p.DDN_cbxProvincia, u"CORDOBA"_s));
    EXPECT_EQ(column(p.lvLocalidades, 0), (QStringList{u"Alta Gracia"_s, u"Carlos Paz"_s, u"Cosquin"_s}));
    EXPECT_EQ(column(p.lvLocalidades, 2), (QStringList{u"3547"_s, u"3541"_s, u"3541"_s}));

    // Typing selects the first locality it starts, and what is typed stays.
    QTest::keyClicks(p.tLocalidad, u"co"_s);
    EXPECT_EQ(p.tLocalidad->text(), u"co"_s);
    EXPECT_EQ(p.lvLocalidades->currentRow(), 2);
    // A text no locality starts leaves the selection.
    QTest::keyClicks(p.tLocalidad, u"x"_s);
    EXPECT_EQ(p.lvLocalidades->currentRow(), 2);
    // Choosing a row copies its name into the box without searching again.
    p.lvLocalidades->selectRow(1);
    EXPECT_EQ(p.tLocalidad->text(), u"Carlos Paz"_s);
    EXPECT_EQ(p.lvLocalidades->currentRow(), 1);
    // A new province empties the box.
    p.DDN_cbxProvincia->setCurrentIndex(0);
    EXPECT_TRUE(p.tLocalidad->text().isEmpty());
    EXPECT_EQ(p.lvLocalidades->rowCount(), 5);
}

TEST_F(InfoPages, InternationalDiallingShowsCodeTimesNotesAndCities)
{
    TPanelDDI& p = *pages->pnlDDI;
    ASSERT_EQ(p.cbxPaises->count(), 2);
    EXPECT_EQ(p.cbxPaises->currentText(), u"ESPAÑA"_s);
    EXPECT_EQ(p.lblPaiscod->text(), u"34"_s);
    EXPECT_EQ(p.lblInvierno->text(), u"INVIERNO+4"_s);
    EXPECT_EQ(p.lblVerano->text(), u"VERANO+5"_s);
    EXPECT_EQ(p.mmNotas->toPlainText(), u"Primera\nSegunda\n"_s);
    EXPECT_EQ(p.mmNotas->textCursor().position(), 0);
    EXPECT_EQ(p.lvCiudades->rowCount(), 5);
    EXPECT_EQ(p.lvCiudades->columnWidth(1), 99);
    p.cbxPaises->setCurrentIndex(1);
    EXPECT_EQ(p.lblPaiscod->text(), u"39"_s);
    EXPECT_EQ(p.mmNotas->toPlainText(), u"Una sola"_s);
    EXPECT_EQ(column(p.lvCiudades, 0).first(), u"Roma"_s);
    EXPECT_EQ(p.lvCiudades->columnWidth(1), 83);
    EXPECT_TRUE(p.lblInvierno->font().bold());
    EXPECT_EQ(p.lblInvierno->font().pointSize(), 10);
}

TEST_F(InfoPages, UsefulNumbersSkipEmptyNumbersAndTheChooserEmpties)
{
    TPanelNumUtiles& p = *pages->pnlNumUtiles;
    ASSERT_EQ(p.cbxGuiasNU->itemText(0), u"- SELECCIONE LA GUIA -"_s);
    EXPECT_EQ(p.lvNumerosUtiles->rowCount(), 0);
    p.cbxGuiasNU->setCurrentIndex(comboIndexOf(p.cbxGuiasNU, u"GUIA NORTE"_s));
    EXPECT_EQ(column(p.lvNumerosUtiles, 0), (QStringList{u"BOMBEROS"_s, u"POLICIA"_s}));
    EXPECT_EQ(column(p.lvNumerosUtiles, 1), (QStringList{u"100"_s, u"101"_s}));
    EXPECT_EQ(p.lvNumerosUtiles->columnWidth(0), 600);
    p.cbxGuiasNU->setCurrentIndex(0);
    EXPECT_EQ(p.lvNumerosUtiles->rowCount(), 0);
}

TEST_F(InfoPages, KeysPickPanelsAndLinksKeepTheChosenColour)
{
    const ColourScheme& s1 = appearance().scheme(1);
    pages->resetLinkColours();
    EXPECT_EQ(InformationPages::pageKey(links[3]), u"InfoDDN"_s);
    EXPECT_EQ(InformationPages::pageKey(bullets[3]), u"InfoDDN"_s);

    pages->showPage(u"InfoDDN"_s);
    EXPECT_TRUE(pages->pnlDDN->isVisibleTo(&area));
    EXPECT_FALSE(pages->pnlDDI->isVisibleTo(&area));
    EXPECT_EQ(made, 0); // no page shown yet: no browser
    pages->showPage(u"InfoProductos"_s);
    EXPECT_FALSE(pages->pnlDDN->isVisibleTo(&area));
    ASSERT_EQ(made, 1);
    EXPECT_TRUE(pages->WebBrowser1()->isVisibleTo(&area));
    // Both chosen links keep the chosen colour; the others stay normal.
    for (const int i : {0, 3}) {
        EXPECT_EQ(colourOf(links[static_cast<size_t>(i)]), s1.FuenteSel);
        EXPECT_EQ(colourOf(bullets[static_cast<size_t>(i)]), s1.FuenteSel);
    }
    EXPECT_EQ(colourOf(links[1]), s1.Fuente);
    pages->showPage(u"InfoDDI"_s);
    EXPECT_FALSE(pages->WebBrowser1()->isVisibleTo(&area));
    pages->showPage(u"InfoNumerosUtiles"_s);
    EXPECT_TRUE(pages->pnlNumUtiles->isVisibleTo(&area));
    pages->resetLinkColours();
    EXPECT_EQ(colourOf(links[0]), s1.Fuente);
}

TEST_F(InfoPages, TheDefaultPageComesBackAndLoadsOnlyWhenTheAddressDiffers)
{
    pages->showPage(u"uInformacion"_s); // spbuInformacion's key
    ASSERT_NE(browser, nullptr);
    ASSERT_EQ(browser->navigations.size(), 1u);
    EXPECT_EQ(browser->navigations[0], QUrl::fromLocalFile(page()));
    EXPECT_FALSE(pages->waiting());
    pages->showPage(u"InfoProductos"_s);
    EXPECT_EQ(browser->navigations.size(), 1u);
    browser->follow(QUrl::fromLocalFile(folder() + u"/info/otra.html"_s));
    pages->showPage(u"uInformacion"_s);
    EXPECT_EQ(browser->navigations.size(), 2u);
    EXPECT_EQ(made, 1);
}

TEST_F(InfoPages, AMissingPageLeavesTheBrowserAsItWas)
{
    QFile::remove(page());
    pages->showPage(u"InfoProductos"_s);
    EXPECT_EQ(made, 0);
    EXPECT_EQ(pages->WebBrowser1(), nullptr);
    writePage();
    pages->showPage(u"InfoProductos"_s);
    ASSERT_EQ(made, 1);
    QFile::remove(page());
    browser->follow(QUrl(u"about:blank"_s));
    pages->showPage(u"InfoProductos"_s);
    EXPECT_EQ(browser->navigations.size(), 1u);
}

TEST_F(InfoPages, AWaitForAPageThatNeverFinishesEnds)
{
    finishes = false;
    pages->setWaitLimit(50);
    bool ranMeanwhile = false;
    QTimer::singleShot(0, &area, [&] { ranMeanwhile = true; }); // the window stays responsive
    pages->showPage(u"InfoProductos"_s);
    EXPECT_TRUE(ranMeanwhile);
    EXPECT_FALSE(pages->waiting());
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isLoading());
}

TEST(InfoLinkPolicy, OnlyTheDataFolderStaysInTheViewer)
{
    using infolinks::Route;
    const QString folder = u"/cd/data"_s;
    EXPECT_EQ(infolinks::route(QUrl::fromLocalFile(u"/cd/data/info/a.html"_s), folder, true, true), Route::Stay);
    EXPECT_EQ(infolinks::route(QUrl(u"https://example.com/"_s), folder, true, true), Route::Shell);
    EXPECT_EQ(infolinks::route(QUrl(u"https://example.com/"_s), folder, false, true), Route::Drop);
    EXPECT_EQ(infolinks::route(QUrl(u"https://example.com/"_s), folder, false, false), Route::Stay);
    EXPECT_EQ(infolinks::route(QUrl::fromLocalFile(u"/cd/data/../etc/passwd"_s), folder, true, true), Route::Shell);
    EXPECT_EQ(infolinks::route(QUrl::fromLocalFile(u"/cd/database/x.html"_s), folder, true, true), Route::Shell);
    EXPECT_EQ(infolinks::route(QUrl(u"mailto:info@example.com"_s), folder, true, true), Route::Shell);
    EXPECT_EQ(infolinks::route(QUrl(u"about:blank"_s), folder, false, true), Route::Stay);
    EXPECT_FALSE(infolinks::insideFolder(QUrl::fromLocalFile(u"/x.html"_s), QString()));
}
