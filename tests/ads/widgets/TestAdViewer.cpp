// The ad window driven headless through the modal seam, on picture files written by the builder's
// writer, broken ones included.
#include "ads/AdCard.h"
#include "ads/AdCommands.h"
#include "ads/ReportPreview.h"
#include "ads/TfrmShowItem.h"
#include "ads/WebAd.h"
#include "ads/aviso.h"
#include "builder/AdStoreWriter.h"
#include "builder/PictureFileWriter.h"
#include "tests/ads/widgets/Poppler.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/TempDir.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::vector<uint8_t> encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> solid(int w, int h, QColor colour, const char* format = "PNG")
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return encoded(image, format);
}

uint32_t crc32(const uint8_t* p, size_t n)
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// A small, well-formed PNG whose header claims width x height pixels.
std::vector<uint8_t> claiming(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> png = solid(1, 1, Qt::black);
    auto be = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            png[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (24 - 8 * i));
    };
    be(16, width); // IHDR data starts at 16: width, height
    be(20, height);
    be(29, crc32(png.data() + 12, 17)); // the chunk's CRC covers its type and 13 data bytes
    return png;
}

class AdViewer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        guiTestApp();
        s_dir = std::make_unique<TempDir>("adviewer");
        std::vector<uint8_t> cut = solid(300, 200, Qt::blue);
        cut.resize(cut.size() - 20); // the end of the picture is missing
        std::vector<uint8_t> cutJpeg = solid(300, 200, Qt::green, "JPEG");
        cutJpeg.resize(cutJpeg.size() / 2);
        std::vector<uint8_t> file;
        ASSERT_TRUE(picturefile::build({{1, solid(900, 700, QColor(200, 0, 0))},
                                        {2, solid(200, 100, QColor(0, 0, 200), "JPEG")},
                                        {3, cut},
                                        {4, claiming(30000, 30000)},
                                        {5, cutJpeg},
                                        {6, solid(400, 1200, QColor(0, 120, 0))}},
                                       file));
        std::ofstream(*s_dir / "Img.bld", std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    static void TearDownTestSuite() { s_dir.reset(); }
    void SetUp() override
    {
        modal::clear();
        messageboxes::clearShown();
    }
    static std::string pictures() { return *s_dir / "Img.bld"; }

    // Shows the ad through the seam; inspect runs while it is open.
    void show(int32_t kind, const std::vector<std::string>& lines, int32_t image,
              const std::function<void(TfrmShowItem&)>& inspect, const std::string& file = pictures())
    {
        modal::queueResult(QDialog::Rejected, [&](QDialog& d) {
            auto& form = dynamic_cast<TfrmShowItem&>(d);
            EXPECT_TRUE(form.laidOut());
            inspect(form);
        });
        TfrmShowItem::ShowAd(nullptr, kind, lines, image, file, m_library, m_printers);
        EXPECT_FALSE(modal::resultsQueued());
        // Hidden: the file is closed and the picture released, once.
        EXPECT_EQ(m_library.openFiles(), 0u);
        EXPECT_EQ(m_library.heldBitmaps(), 0u);
    }

    BlockLibrary m_library;
    Printers m_printers;
    static inline std::unique_ptr<TempDir> s_dir;
    const std::vector<std::string> m_six = {"EL CEIBO SA",   "ESTACIONAMIENTO PROPIO", "PASTAS FRESCAS",
                                            "TEL. 474-8559", "ESTACIONAMIENTO PROPIO", "LUNES A VIERNES"};
};

TEST_F(AdViewer, ALargePictureOpensFittedAndZoomsToItsNaturalSize)
{
    for (const int32_t kind : {0, 5}) {
        show(kind, m_six, 1, [&](TfrmShowItem& f) {
            EXPECT_EQ(m_library.openFiles(), 1u);
            EXPECT_EQ(m_library.heldBitmaps(), 1u);
            EXPECT_FALSE(f.cmdZoomIn->isHidden());
            EXPECT_FALSE(f.cmdZoomOut->isHidden());
            EXPECT_TRUE(f.cmdZoomIn->isEnabled());
            EXPECT_FALSE(f.cmdZoomOut->isEnabled());
            const QRect image = f.imageGeometry();
            EXPECT_EQ(image.width(), f.scrollPaneSize().width() - 10);
            EXPECT_NEAR(image.height(), image.width() * 700 / 900, 1);
            EXPECT_LE(image.height(), f.scrollPaneSize().height() - 10); // fitted both ways
            EXPECT_LE(f.clientSize().width(), TfrmShowItem::kMaxClient.width());
            EXPECT_LE(f.clientSize().height(), TfrmShowItem::kMaxClient.height());
            EXPECT_EQ(f.shownPicture().size(), QSize(900, 700)); // what prints is the whole picture

            f.cmdZoomIn->click();
            EXPECT_EQ(f.imageGeometry().size(), QSize(900, 700));
            EXPECT_FALSE(f.cmdZoomIn->isEnabled());
            EXPECT_TRUE(f.cmdZoomOut->isEnabled());
            EXPECT_EQ(f.clientSize(), TfrmShowItem::kMaxClient);
            f.cmdZoomOut->click();
            EXPECT_EQ(f.imageGeometry(), image);
        });
    }
    // Taller than wide: fitted to the height.
    show(0, {}, 6, [&](TfrmShowItem& f) {
        EXPECT_EQ(f.imageGeometry().height(), f.scrollPaneSize().height() - 10);
        EXPECT_NEAR(f.imageGeometry().width(), f.imageGeometry().height() / 3, 1);
        EXPECT_FALSE(f.cmdZoomOut->isEnabled());
    });
    EXPECT_TRUE(messageboxes::shown().empty());
}

TEST_F(AdViewer, ShowingDrawsTheAdAndHidingReleasesThePictureOnce)
{
    {
        TfrmShowItem form(nullptr, 0, m_six, 2, pictures(), m_library, m_printers);
        EXPECT_FALSE(form.laidOut());
        form.show();
        QApplication::processEvents();
        EXPECT_TRUE(form.laidOut());
        EXPECT_NE(form.libraryHandle(), 0);
        EXPECT_EQ(m_library.heldBitmaps(), 1u);
        EXPECT_EQ(form.size(), form.clientSize());
        form.hide();
        EXPECT_EQ(form.libraryHandle(), 0);
        EXPECT_EQ(m_library.openFiles(), 0u);
        EXPECT_EQ(m_library.heldBitmaps(), 0u);
        form.show(); // shown again: drawn once, nothing opened twice
        QApplication::processEvents();
        EXPECT_EQ(m_library.openFiles(), 0u);
        EXPECT_EQ(form.shownPicture().size(), QSize(200, 100));
    }
    {
        // Closed without hiding: the destructor releases.
        auto form = std::make_unique<TfrmShowItem>(nullptr, 0, m_six, 1, pictures(), m_library, m_printers);
        form->FormShow();
        EXPECT_EQ(m_library.openFiles(), 1u);
        form.reset();
        EXPECT_EQ(m_library.openFiles(), 0u);
        EXPECT_EQ(m_library.heldBitmaps(), 0u);
    }
}

TEST_F(AdViewer, ASmallPictureShowsAtItsNaturalSizeCentred)
{
    show(0, m_six, 2, [&](TfrmShowItem& f) {
        EXPECT_TRUE(f.cmdZoomIn->isHidden());
        EXPECT_TRUE(f.cmdZoomOut->isHidden());
        EXPECT_EQ(f.imageGeometry().size(), QSize(200, 100));
        EXPECT_FALSE(f.imageStretched());
        EXPECT_EQ(f.clientSize().height(), 100 + TfrmShowItem::kToolBarHeight + 10);
        EXPECT_GE(f.clientSize().width(), 300); // the tool panel's width
        EXPECT_EQ(f.imageGeometry().left(), (f.clientSize().width() - 200) / 2);
        EXPECT_EQ(f.shownPicture().pixelColor(100, 50).blue(), 200);
    });
}

TEST_F(AdViewer, BrokenPicturesGiveTheErrorMessagesAndNoPicture)
{
    // A missing file: both messages, in order.
    show(
        0, m_six, 1,
        [&](TfrmShowItem& f) {
            EXPECT_TRUE(f.shownPicture().isNull());
            EXPECT_FALSE(f.cmdImprimir->isEnabled());
            EXPECT_EQ(f.clientSize(), TfrmShowItem::kInitialClient);
        },
        *s_dir / "missing.bld");
    ASSERT_EQ(messageboxes::shown().size(), 2u);
    EXPECT_EQ(messageboxes::shown()[0].text, QStringLiteral("Error while opening image file"));
    EXPECT_EQ(messageboxes::shown()[1].text, QStringLiteral("Unable to recover image"));
    EXPECT_EQ(messageboxes::shown()[1].caption, QStringLiteral("Error"));
    EXPECT_EQ(messageboxes::shown()[1].buttons, QMessageBox::Ok);

    // Cut short (PNG and JPEG), absurdly large, or not in the file: one message each.
    for (const int32_t image : {3, 4, 5, 99}) {
        messageboxes::clearShown();
        show(0, m_six, image, [&](TfrmShowItem& f) { EXPECT_TRUE(f.shownPicture().isNull()); });
        ASSERT_EQ(messageboxes::shown().size(), 1u) << image;
        EXPECT_EQ(messageboxes::shown()[0].text, QStringLiteral("Unable to recover image"));
    }
}

// The rows of text a card holds: runs of scan lines with ink between the frames.
std::vector<std::pair<int, int>> inkRows(const QImage& card)
{
    std::vector<std::pair<int, int>> rows;
    int start = -1;
    for (int y = 8; y < card.height() - 4; ++y) {
        bool ink = false;
        for (int x = 8; x < card.width() - 8 && !ink; ++x)
            ink = qGray(card.pixel(x, y)) < 128;
        if (ink && start < 0)
            start = y;
        if (!ink && start >= 0) {
            if (y - start > 2) // text, not the separator line
                rows.emplace_back(start, y);
            start = -1;
        }
    }
    return rows;
}

int inkIn(const QImage& card, int top, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 8; x < card.width() - 8; ++x)
            n += qGray(card.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

TEST_F(AdViewer, CardsFollowTheirKind)
{
    const int h = QFontMetrics(adcard::surfaceFont(8)).height() + 3;
    QImage rounded;
    show(2, m_six, 0, [&](TfrmShowItem& f) {
        EXPECT_EQ(f.clientSize().height(), TfrmShowItem::kToolBarHeight + h * 6 + 26);
        rounded = f.shownPicture();
        EXPECT_EQ(rounded.height(), h * 6 + 25);
        EXPECT_TRUE(f.separatorShown());
        EXPECT_TRUE(f.cmdZoomIn->isHidden());
    });
    const auto rows = inkRows(rounded);
    ASSERT_EQ(rows.size(), 6u);
    // Lines 1 and 4 hold the same text: line 4 is bold, so it takes more ink.
    EXPECT_GT(inkIn(rounded, rows[4].first, rows[4].second), inkIn(rounded, rows[1].first, rows[1].second) * 11 / 10);
    // Nothing is written over the rounded frame's top border.
    EXPECT_EQ(inkIn(rounded, 0, 4), 0);

    QImage square;
    show(1, m_six, 0, [&](TfrmShowItem& f) {
        EXPECT_EQ(f.clientSize().height(), TfrmShowItem::kToolBarHeight + h * 5 + 26);
        square = f.shownPicture();
        EXPECT_FALSE(f.separatorShown());
    });
    EXPECT_EQ(square.height(), h * 5 + 25);
    EXPECT_GT(inkIn(square, 0, 4), 20); // the title sits in the top border
    const auto squareRows = inkRows(square);
    ASSERT_EQ(squareRows.size(), 5u); // the five body lines, all in the same weight
    EXPECT_NEAR(inkIn(square, squareRows[3].first, squareRows[3].second),
                inkIn(square, squareRows[0].first, squareRows[0].second), 3);

    // Kind 0 without a picture is a card as kind 8; short lines keep the initial width.
    show(0, {"A", "B"}, 0, [&](TfrmShowItem& f) {
        EXPECT_EQ(f.clientSize().width(), 301);
        EXPECT_EQ(f.shownPicture().height(), h * 1 + 25);
    });
    // No lines: nothing drawn, nothing to print.
    show(8, {}, 0, [&](TfrmShowItem& f) {
        EXPECT_TRUE(f.shownPicture().isNull());
        EXPECT_FALSE(f.cmdImprimir->isEnabled());
    });
    EXPECT_TRUE(messageboxes::shown().empty());
}

TEST_F(AdViewer, PrintingHandsTheShownCardToTheAdReport)
{
    TempDir out("adprint");
    const std::string pdf = out / "card.pdf";
    show(2, m_six, 0, [&](TfrmShowItem& f) {
        modal::queueResult(QDialog::Accepted, [&](QDialog& d) {
            auto& preview = dynamic_cast<ReportPreview&>(d);
            EXPECT_FALSE(f.cmdImprimir->isEnabled()); // while the report is open
            preview.printerChoice()->setCurrentIndex(preview.printerChoice()->findText(QStringLiteral("Archivo PDF")));
            EXPECT_TRUE(preview.printNow(QString::fromStdString(pdf)));
        });
        f.cmdImprimir->click();
        EXPECT_TRUE(f.cmdImprimir->isEnabled());
    });
    EXPECT_EQ(poppler::pages(pdf), 1);
    EXPECT_EQ(poppler::find(poppler::words(pdf), QStringLiteral("adaptada")).size(), 1u);
    const QImage page = poppler::firstPage(pdf, out / "card");
    // The card is printed in the middle of the page.
    int ink = 0;
    for (int y = page.height() / 2 - 60; y < page.height() / 2 + 60; ++y)
        for (int x = page.width() / 2 - 150; x < page.width() / 2 + 150; ++x)
            ink += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(ink, 500);
}

TEST_F(AdViewer, VerAvisoShowsLocalAdsAndSendsWebAdsToTheBrowser)
{
    TempDir data("adstore");
    AdStoreWriter writer;
    ASSERT_TRUE(writer.addLines(2, 11, 0, m_six));
    ASSERT_TRUE(writer.addLines(3, 42, 0, {"EN LA WEB"}));
    ASSERT_TRUE(writer.addLines(0, 12, 1, {"CON IMAGEN"}));
    ASSERT_TRUE(writer.save(data / "AVI.dat", data / "AVI.pk", data / "AVI.hfm"));
    std::filesystem::copy_file(pictures(), data / "Img.bld");
    aviso store(data / "AVI.dat", data / "AVI.pk", 512);
    store.LoadCodeTable(data / "AVI.hfm");
    RecordingShell shell;
    const adcommands::AdContext context{
        store, data.path().string() + "/", "http://server.example/", shell, m_library, m_printers};

    EXPECT_EQ(adcommands::VerAviso(nullptr, context, 0), adcommands::AdOutcome::NotRead);
    EXPECT_EQ(adcommands::VerAviso(nullptr, context, 4), adcommands::AdOutcome::NotRead);
    EXPECT_TRUE(modal::seen().empty());

    EXPECT_EQ(adcommands::VerAviso(nullptr, context, 2), adcommands::AdOutcome::OpenedOnServer);
    EXPECT_TRUE(modal::seen().empty()); // no window for a web ad

    QImage card;
    modal::queueResult(QDialog::Rejected, [&](QDialog& d) { card = dynamic_cast<TfrmShowItem&>(d).shownPicture(); });
    EXPECT_EQ(adcommands::VerAviso(nullptr, context, 1), adcommands::AdOutcome::Shown);
    EXPECT_FALSE(card.isNull());
    QSize picture;
    modal::queueResult(QDialog::Rejected,
                       [&](QDialog& d) { picture = dynamic_cast<TfrmShowItem&>(d).shownPicture().size(); });
    EXPECT_EQ(adcommands::VerAviso(nullptr, context, 3), adcommands::AdOutcome::Shown);
    EXPECT_EQ(picture, QSize(900, 700)); // the picture from Img.bld in the data folder
    ASSERT_EQ(modal::seen().size(), 2u);
    EXPECT_EQ(modal::seen()[0].title, QStringLiteral("Aviso"));
    EXPECT_EQ(m_library.openFiles(), 0u);
}

TEST_F(AdViewer, WebAdsSealASixteenDigitReference)
{
    EXPECT_EQ(webad::text(42), "iid=0000000000000042");
    EXPECT_EQ(webad::text(2147483647), "iid=0000002147483647");
    EXPECT_EQ(webad::text(-42), "iid=-000000000000042");
    RecordingShell shell;
    webad::open(shell, "http://server.example/", 42);
    if (const auto url = webad::address("http://server.example/", 42)) {
        ASSERT_EQ(shell.addresses().size(), 1u);
        EXPECT_TRUE(shell.addresses()[0].startsWith(QStringLiteral("http://server.example/ot_image.php?p=")));
        EXPECT_EQ(shell.addresses()[0], *url);
    }
}

} // namespace
