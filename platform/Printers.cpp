#include "platform/Printers.h"

#include <QPageSize>
#include <QPrinterInfo>

#include <cmath>

QSize Printers::PageSetup::pixels(double dpi) const
{
    const double perMm = dpi / 25.4;
    return {static_cast<int>(std::lround(millimetres.width() * perMm)),
            static_cast<int>(std::lround(millimetres.height() * perMm))};
}

std::vector<Printers::Entry> Printers::list() const
{
    std::vector<Entry> entries = installed();
    bool haveDefault = false;
    for (Entry& e : entries) {
        e.pdf = false;
        e.isDefault = e.isDefault && !haveDefault; // one default at most, the first one reported
        haveDefault = haveDefault || e.isDefault;
    }
    entries.push_back({pdfName(), true, !haveDefault});
    return entries;
}

size_t Printers::defaultIndex(const std::vector<Entry>& entries)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].isDefault)
            return i;
    }
    return entries.empty() ? 0 : entries.size() - 1;
}

QString Printers::pdfName()
{
    return QStringLiteral("Archivo PDF");
}

std::unique_ptr<QPrinter> Printers::makePrinter(const Entry& entry, const QString& pdfFile)
{
    if (!entry.pdf)
        return std::make_unique<QPrinter>(QPrinterInfo::printerInfo(entry.name), QPrinter::HighResolution);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfFile);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    return printer;
}

Printers::PageSetup Printers::pageSetup(const QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    PageSetup setup;
    setup.orientation = layout.orientation();
    setup.millimetres = layout.fullRect(QPageLayout::Millimeter).size();
    return setup;
}

std::vector<Printers::Entry> Printers::installed() const
{
    std::vector<Entry> entries;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    for (const QString& name : names)
        entries.push_back({name, false, name == defaultName});
    return entries;
}
