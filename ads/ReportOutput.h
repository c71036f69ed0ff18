// ReportOutput: sends laid-out report pages to a printer of the print system or to a PDF file,
// the page size and orientation taken from the pages. Main thread.
#pragma once

#include "ads/ReportPage.h"

#include <QString>

#include <vector>

class QPrinter;

namespace report {

// The printer gets the pages' paper (size and orientation) and prints every page full-bleed. False
// when the printer cannot be started (no such printer, an unwritable file).
bool print(const std::vector<Page>& pages, QPrinter& printer, const PrintContext& context = {});
// The pages as a PDF file at path.
bool writePdf(const std::vector<Page>& pages, const QString& path, const PrintContext& context = {});
// Gives the printer the paper of the page, as the reports set it up.
void setPaper(QPrinter& printer, const Page& page);

} // namespace report

#include "platform/Printers.h"

#include <optional>

namespace report {
// The page set-up of the default printer the reports lay themselves out on; nullopt when no
// printer is installed (never while the PDF entry is offered).
[[nodiscard]] std::optional<Printers::PageSetup> defaultPageSetup(const Printers& printers);
} // namespace report
