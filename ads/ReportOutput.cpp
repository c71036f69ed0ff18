#include "ads/ReportOutput.h"

#include "platform/Printers.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace report {

void setPaper(QPrinter& printer, const Page& page)
{
    // The page is stored as oriented; the paper is named portrait and turned.
    QSizeF portrait(page.size.width() * 25.4 / kDpi, page.size.height() * 25.4 / kDpi);
    if (page.landscape)
        portrait.transpose();
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool print(const std::vector<Page>& pages, QPrinter& printer, const PrintContext& context)
{
    if (pages.empty())
        return false;
    setPaper(printer, pages.front());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    PrintContext c = context;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            printer.newPage();
        c.pageNumber = context.pageNumber + static_cast<int>(i);
        paint(pages[i], painter, QRectF(QPointF(0, 0), printer.paperRect(QPrinter::DevicePixel).size()), c);
    }
    return painter.end();
}

bool writePdf(const std::vector<Page>& pages, const QString& path, const PrintContext& context)
{
    const auto printer = Printers::makePrinter({Printers::pdfName(), true, true}, path);
    printer->setCreator(QStringLiteral("Ortelia"));
    return print(pages, *printer, context);
}

} // namespace report

namespace report {

std::optional<Printers::PageSetup> defaultPageSetup(const Printers& printers)
{
    const std::vector<Printers::Entry> entries = printers.list();
    if (entries.empty())
        return std::nullopt;
    const auto printer = Printers::makePrinter(entries[Printers::defaultIndex(entries)]);
    return Printers::pageSetup(*printer);
}

} // namespace report
