// The two printed reports: their layout as values, and the PDF files they print read back with
// poppler (text positions, page count, pixels).
#include "ads/ReportOutput.h"
#include "ads/ReportPreview.h"
#include "ads/TFormRpt.h"
#include "ads/TfrmRptImage.h"
#include "tests/ads/widgets/Poppler.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/TempDir.h"
#include "widgets/ModalSeam.h"

#include <QComboBox>
#include <QFileDialog>
#include <gtest/gtest.h>

namespace {

using poppler::kPointsPerPixel;

ResultListView listOf(int rows)
{
    ResultListView list;
    list.columns = ResultListView::defaultColumns();
    for (int r = 0; r < rows; ++r) {
        std::vector<QString> texts(11);
        texts[5] = QStringLiteral("NOMBRE%1").arg(r);
        texts[6] = QStringLiteral("(011)%1").arg(4000 + r);
        texts[7] = QStringLiteral("CALLE%1").arg(r);
        texts[8] = QStringLiteral("RUBRO%1").arg(r);
        texts[9] = QStringLiteral("LOCALIDAD%1").arg(r);
        texts[10] = QStringLiteral("PROVINCIA%1").arg(r);
        list.rows.push_back(texts);
    }
    return list;
}

// A page whose printable width (page less the 10 mm side margins) is exactly 746 pixels.
Printers::PageSetup printable746()
{
    Printers::PageSetup setup;
    setup.millimetres = QSizeF(822 * 25.4 / 96, 297);
    return setup;
}

class Reports : public ::testing::Test {
protected:
    void SetUp() override
    {
        guiTestApp();
        modal::clear();
    }
    TempDir dir{"reports"};
};

TEST_F(Reports, ListRowsColumnsAndTitlesPrintWhereTheLayoutPutsThem)
{
    TFormRpt rpt;
    rpt.FormCreate(printable746());
    ASSERT_EQ(rpt.printableWidth(), 746);
    rpt.SetSection(QStringLiteral("Sección Comercial"));
    const ResultListView list = listOf(3);
    rpt.Fill(list);
    EXPECT_EQ(rpt.cells(), 3);
    const int lefts[6] = {40, 245, 370, 525, 630, 723};
    const int widths[6] = {200, 120, 150, 100, 88, 88};
    for (size_t c = 0; c < 6; ++c) {
        EXPECT_EQ(rpt.columns()[c].left, lefts[c]) << c;
        EXPECT_EQ(rpt.columns()[c].width, widths[c]) << c;
        for (int r = 0; r < 3; ++r) {
            const report::Label* cell = rpt.cell(rpt.columns()[c].prefix, r);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->rect, QRectF(lefts[c], 240 + 15 * r, widths[c], 15));
        }
        EXPECT_EQ(rpt.page().findLabel(rpt.columns()[c].header)->rect.left(), lefts[c] - 40);
    }
    EXPECT_EQ(rpt.cell(QStringLiteral("QRRSoc"), 3), nullptr);

    const std::string pdf = dir / "list.pdf";
    report::PrintContext when;
    when.date = QDate(2010, 3, 7);
    ASSERT_TRUE(report::writePdf({rpt.page()}, QString::fromStdString(pdf), when));
    ASSERT_EQ(poppler::pages(pdf), 1);
    const auto words = poppler::words(pdf);
    // Each row's cells share a line 15 pixels below the last, each text at its column's left.
    for (int r = 0; r < 3; ++r) {
        const QString texts[6] = {QStringLiteral("NOMBRE%1").arg(r),    QStringLiteral("(011)%1").arg(4000 + r),
                                  QStringLiteral("CALLE%1").arg(r),     QStringLiteral("RUBRO%1").arg(r),
                                  QStringLiteral("LOCALIDAD%1").arg(r), QStringLiteral("PROVINCIA%1").arg(r)};
        for (size_t c = 0; c < 6; ++c) {
            const auto found = poppler::find(words, texts[c]);
            ASSERT_EQ(found.size(), 1u) << texts[c].toStdString();
            EXPECT_NEAR(found[0].xMin, lefts[c] * kPointsPerPixel, 1.0) << texts[c].toStdString();
            EXPECT_NEAR(found[0].yMin, (240 + 15 * r) * kPointsPerPixel, 2.5) << texts[c].toStdString();
        }
    }
    for (const char* text : {"Ortelia", "Directorio", "Comercial", "Teléfono", "Dirección", "Provincia", "07/03/2010"})
        EXPECT_EQ(poppler::find(words, QString::fromUtf8(text)).size(), 1u) << text;
    const auto page = poppler::find(words, QStringLiteral("Página"));
    ASSERT_EQ(page.size(), 1u);
    EXPECT_NEAR(page[0].xMin, (rpt.page().marginLeft + 600) * kPointsPerPixel, 1.0);
    // The title is centred on the band, the footer at the bottom, under every row.
    const auto title = poppler::find(words, QStringLiteral("Ortelia"));
    const auto dash = poppler::find(words, QStringLiteral("2010"));
    ASSERT_FALSE(dash.empty());
    const double centre = (title[0].xMin + dash[0].xMax) / 2;
    EXPECT_NEAR(centre, (rpt.page().marginLeft + 746 / 2.0) * kPointsPerPixel, 2.0);
    EXPECT_GT(page[0].yMin, (rpt.page().size.height() - 70) * kPointsPerPixel);
}

TEST_F(Reports, EveryPageNumbersItselfAndCarriesThePrintDate)
{
    TFormRpt rpt;
    rpt.Fill(listOf(1));
    const std::string pdf = dir / "pages.pdf";
    report::PrintContext when;
    when.date = QDate(2026, 12, 31);
    ASSERT_TRUE(report::writePdf({rpt.page(), rpt.page(), rpt.page()}, QString::fromStdString(pdf), when));
    ASSERT_EQ(poppler::pages(pdf), 3);
    const auto words = poppler::words(pdf); // the pages' words, one page after the other
    std::vector<QString> numbers;
    for (size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i].text == QStringLiteral("Página"))
            numbers.push_back(words[i + 1].text);
    EXPECT_EQ(numbers, (std::vector<QString>{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(poppler::find(words, QStringLiteral("31/12/2026")).size(), 3u);
}

TEST_F(Reports, HiddenColumnsTakeNoRoomAndAnEmptyListKeepsTheDesign)
{
    TFormRpt rpt;
    rpt.FormCreate(printable746());
    ResultListView list = listOf(2);
    list.columns[6].width = 0; // TELEFONO hidden by the user
    list.columns[5].width = 320;
    rpt.Fill(list);
    // sum = 320 + 150 + 100 + 88 + 88 = 746: the phone column is 0 wide, the address starts where
    // the phone would have.
    EXPECT_EQ(rpt.columns()[0].width, 320);
    EXPECT_EQ(rpt.columns()[1].width, 0);
    EXPECT_EQ(rpt.columns()[2].left, 40 + 320 + 5);
    const std::string pdf = dir / "hidden.pdf";
    ASSERT_TRUE(report::writePdf({rpt.page()}, QString::fromStdString(pdf)));
    const auto words = poppler::words(pdf);
    EXPECT_TRUE(poppler::find(words, QStringLiteral("(011)4000")).empty());
    EXPECT_TRUE(poppler::find(words, QStringLiteral("Teléfono")).empty());
    ASSERT_EQ(poppler::find(words, QStringLiteral("CALLE0")).size(), 1u);
    EXPECT_NEAR(poppler::find(words, QStringLiteral("CALLE0"))[0].xMin, 365 * kPointsPerPixel, 1.0);

    // With no list columns at all, every cell is laid out to nothing.
    TFormRpt none;
    ResultListView noColumns = listOf(2);
    noColumns.columns.clear();
    none.Fill(noColumns);
    EXPECT_EQ(none.cell(QStringLiteral("QRRSoc"), 0)->rect.width(), 0);

    TFormRpt empty;
    empty.Fill(listOf(0));
    EXPECT_EQ(empty.cells(), 0);
    const int headerLefts[6] = {0, 142, 252, 370, 464, 582};
    for (size_t c = 0; c < 6; ++c)
        EXPECT_EQ(empty.page().findLabel(empty.columns()[c].header)->rect.left(), headerLefts[c]);
    const std::string emptyPdf = dir / "empty.pdf";
    ASSERT_TRUE(report::writePdf({empty.page()}, QString::fromStdString(emptyPdf)));
    const auto emptyWords = poppler::words(emptyPdf);
    EXPECT_EQ(poppler::find(emptyWords, QStringLiteral("Rubro")).size(), 1u);
    for (const auto& w : emptyWords)
        EXPECT_FALSE(w.text.startsWith(QStringLiteral("NOMBRE")));
}

TEST_F(Reports, ALongListStopsAboveTheFooterOnOnePage)
{
    TFormRpt rpt; // A4: 1123 pixels long
    rpt.Fill(listOf(200));
    const int limit = static_cast<int>(1123 - rpt.page().marginBottom - TFormRpt::kFooterBandHeight - 20);
    int expected = 0;
    while (240 + 15 * expected < limit - 15)
        ++expected;
    EXPECT_EQ(rpt.cells(), expected);
    const std::string pdf = dir / "long.pdf";
    ASSERT_TRUE(report::writePdf({rpt.page()}, QString::fromStdString(pdf)));
    EXPECT_EQ(poppler::pages(pdf), 1);
    const auto words = poppler::words(pdf);
    const auto last = poppler::find(words, QStringLiteral("NOMBRE%1").arg(expected - 1));
    ASSERT_EQ(last.size(), 1u);
    EXPECT_TRUE(poppler::find(words, QStringLiteral("NOMBRE%1").arg(expected)).empty());
    const auto footer = poppler::find(words, QStringLiteral("Impreso"));
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_LT(last[0].yMax, footer[0].yMin); // no row runs into the footer
}

TEST_F(Reports, AdPicturesAreCentredAndShrunkByThePageRule)
{
    TfrmRptImage rpt; // A4 portrait, 794 x 1123
    QImage small(400, 300, QImage::Format_RGB32);
    small.fill(QColor(200, 0, 0));
    EXPECT_FALSE(rpt.LayOut(small));
    EXPECT_EQ(rpt.pictureRect(), QRectF(197, 411, 400, 300));
    EXPECT_EQ(rpt.noteRect().top(), 411 + 300 + 20);
    EXPECT_NEAR(rpt.noteRect().center().x(), 397, 1.0);

    const std::string pdf = dir / "ad.pdf";
    ASSERT_TRUE(report::writePdf({rpt.page()}, QString::fromStdString(pdf)));
    const QImage page = poppler::firstPage(pdf, dir / "ad");
    ASSERT_EQ(page.size(), QSize(794, 1123));
    EXPECT_EQ(page.pixelColor(397, 561), QColor(200, 0, 0));
    EXPECT_EQ(page.pixelColor(199, 413), QColor(200, 0, 0));
    EXPECT_EQ(page.pixelColor(193, 561), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(397, 407), QColor(Qt::white));
    const auto words = poppler::words(pdf);
    const auto note = poppler::find(words, QStringLiteral("Esta"));
    ASSERT_EQ(note.size(), 1u);
    EXPECT_NEAR(note[0].yMin, (411 + 300 + 20) * kPointsPerPixel, 2.5);

    EXPECT_TRUE(rpt.LayOut(QImage(2000, 500, QImage::Format_RGB32)));
    EXPECT_EQ(rpt.pictureRect().size(), QSizeF(474, 118)); // 794 - 320 wide, 474 * 500 / 2000 high
    EXPECT_TRUE(rpt.LayOut(QImage(1600, 4000, QImage::Format_RGB32)));
    // 474 x 1185 is still higher than the page: 1123 - 320 high, 803 * 474 / 1185 wide.
    EXPECT_EQ(rpt.pictureRect().size(), QSizeF(321, 803));
    EXPECT_EQ(rpt.pictureRect().topLeft(), QPointF(236, 160));
    EXPECT_EQ(rpt.noteRect().top(), 160 + 803 + 20);
}

TEST_F(Reports, PreviewPrintsToTheChosenPdfFile)
{
    TFormRpt rpt;
    rpt.SetSection(QStringLiteral("Agenda"));
    rpt.Fill(listOf(1));
    const std::string pdf = dir / "chosen.pdf";
    bool offered = false;
    modal::queueResult(QDialog::Accepted, [&](QDialog& d) {
        auto& preview = dynamic_cast<ReportPreview&>(d);
        const int pdfEntry = preview.printerChoice()->findText(QStringLiteral("Archivo PDF"));
        offered = pdfEntry >= 0;
        preview.printerChoice()->setCurrentIndex(pdfEntry);
        // The file dialog goes through the seam too: the user names the file.
        modal::queueResult(QDialog::Accepted, [&](QDialog& ask) {
            dynamic_cast<QFileDialog&>(ask).selectFile(QString::fromStdString(pdf));
        });
        EXPECT_TRUE(preview.printNow());
    });
    rpt.Preview(nullptr, Printers());
    EXPECT_TRUE(offered);
    EXPECT_EQ(poppler::pages(pdf), 1);
    EXPECT_EQ(poppler::find(poppler::words(pdf), QStringLiteral("NOMBRE0")).size(), 1u);
    ASSERT_EQ(modal::seen().size(), 2u);
    EXPECT_EQ(modal::seen()[0].title, QStringLiteral("Vista previa"));
}

} // namespace
