// Printers: the printers the reports can print on. The installed printers come from the print
// system (QPrinterInfo); a PDF file entry always follows them, so printing works on a machine
// without a print server too, and the list is never empty. Subclasses replace installed() in
// tests. Also sets up a QPrinter for an entry and reads the page size and orientation the reports
// lay themselves out on. Main thread.
#pragma once

#include <QPageLayout>
#include <QPrinter>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

class Printers {
public:
    struct Entry {
        QString name;
        bool pdf = false;       // the PDF file entry, not a printer of the print system
        bool isDefault = false; // the print system's default, or the PDF entry when it has none
    };

    struct PageSetup {
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        QSizeF millimetres; // the whole page, as oriented
        // The page in pixels of a screen of the given resolution, rounded to the nearest.
        [[nodiscard]] QSize pixels(double dpi) const;
    };

    virtual ~Printers() = default;

    // The installed printers in the print system's order, then the PDF entry; exactly one entry
    // has isDefault set.
    [[nodiscard]] std::vector<Entry> list() const;
    // The position of the default entry in a list from list().
    [[nodiscard]] static size_t defaultIndex(const std::vector<Entry>& entries);
    // The name the PDF entry shows.
    [[nodiscard]] static QString pdfName();

    // A high-resolution printer for the entry; the PDF entry writes to pdfFile, A4 portrait as the
    // reports are designed.
    [[nodiscard]] static std::unique_ptr<QPrinter> makePrinter(const Entry& entry, const QString& pdfFile = {});
    [[nodiscard]] static PageSetup pageSetup(const QPrinter& printer);

protected:
    // The printers of the print system, without the PDF entry.
    [[nodiscard]] virtual std::vector<Entry> installed() const;
};
