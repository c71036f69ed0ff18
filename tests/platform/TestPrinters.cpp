#include "platform/Printers.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/TempDir.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <fstream>

namespace {

class FakePrinters final : public Printers {
public:
    explicit FakePrinters(std::vector<Entry> entries) : m_entries(std::move(entries)) {}

protected:
    std::vector<Entry> installed() const override { return m_entries; }

private:
    std::vector<Entry> m_entries;
};

TEST(Printers, ListIsNeverEmptyAndEndsWithThePdfEntry)
{
    const std::vector<Printers::Entry> onThisMachine = Printers().list();
    ASSERT_FALSE(onThisMachine.empty());
    EXPECT_TRUE(onThisMachine.back().pdf);
    EXPECT_EQ(onThisMachine.back().name, Printers::pdfName());
    int defaults = 0;
    for (const auto& e : onThisMachine)
        defaults += e.isDefault ? 1 : 0;
    EXPECT_EQ(defaults, 1);

    const auto none = FakePrinters({}).list();
    ASSERT_EQ(none.size(), 1u);
    EXPECT_TRUE(none[0].pdf);
    EXPECT_TRUE(none[0].isDefault);
    EXPECT_EQ(Printers::defaultIndex(none), 0u);
}

TEST(Printers, TheSystemDefaultStaysTheDefault)
{
    const auto entries = FakePrinters({{QStringLiteral("Oficina"), false, false},
                                       {QStringLiteral("Planta baja"), false, true},
                                       {QStringLiteral("Otra"), true, true}}) // a second default, a bogus pdf flag
                             .list();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(Printers::defaultIndex(entries), 1u);
    EXPECT_FALSE(entries[2].isDefault);
    EXPECT_FALSE(entries[2].pdf); // only our own entry writes a file
    EXPECT_FALSE(entries[3].isDefault);

    const auto noDefault = FakePrinters({{QStringLiteral("Oficina"), false, false}}).list();
    EXPECT_EQ(Printers::defaultIndex(noDefault), 1u); // the PDF entry
}

TEST(Printers, PdfEntryPrintsAnA4PortraitFile)
{
    TempDir dir("printers");
    const QString file = QString::fromStdString(dir / "page.pdf");
    const auto printer = Printers::makePrinter({Printers::pdfName(), true, true}, file);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->outputFormat(), QPrinter::PdfFormat);

    const Printers::PageSetup setup = Printers::pageSetup(*printer);
    EXPECT_EQ(setup.orientation, QPageLayout::Portrait);
    EXPECT_NEAR(setup.millimetres.width(), 210.0, 0.5);
    EXPECT_NEAR(setup.millimetres.height(), 297.0, 0.5);
    EXPECT_EQ(setup.pixels(96), QSize(794, 1123));

    printer->setPageOrientation(QPageLayout::Landscape);
    const Printers::PageSetup turned = Printers::pageSetup(*printer);
    EXPECT_EQ(turned.orientation, QPageLayout::Landscape);
    EXPECT_NEAR(turned.millimetres.width(), 297.0, 0.5);

    {
        QPainter painter;
        ASSERT_TRUE(painter.begin(printer.get()));
        painter.drawText(100, 100, QStringLiteral("Impreso el día"));
        painter.end();
    }
    std::ifstream in(dir / "page.pdf", std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
}

// The shared test application, made before the first test.
[[maybe_unused]] const ::testing::Environment* const kGuiApp =
    ::testing::AddGlobalTestEnvironment(new GuiTestEnvironment);

} // namespace
