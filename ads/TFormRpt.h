// TFormRpt: the printed result list: a title block with the logo, the product title and the
// section's name, six column headers, one line per row of the list page on screen and a footer
// with the date and page number, on one page (rows that do not fit are left out). Takes the rows
// and column widths as values, never the window. All sizes are report pixels (ads/ReportPage.h).
// Main thread.
#pragma once

#include "ads/ReportPage.h"
#include "platform/Printers.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

class QWidget;

// What the result list shows, as the report reads it: its columns (caption and width; a hidden
// column has width 0) and, per row, the text of every column in the same order.
struct ResultListView {
    struct Column {
        QString caption;
        int width = 0;
    };
    std::vector<Column> columns;
    std::vector<std::vector<QString>> rows;

    // The eleven columns of the result list at their designed widths.
    [[nodiscard]] static std::vector<Column> defaultColumns();
};

class TFormRpt {
public:
    struct Entry {
        QString prefix;      // cell name prefix: cell of row r is prefix + r
        QString listCaption; // the result-list column feeding it
        int left = 0;
        int width = 0;
        QString header; // the header label's name
    };

    static constexpr int kTitleBandHeight = 200;
    static constexpr int kFooterBandHeight = 18;
    static constexpr int kFirstRowTop = 240;
    static constexpr int kRowStep = 15;
    static constexpr int kCellLeft = 40;

    // Lays out the designed page (A4 portrait); FormCreate then adapts it to a printer.
    TFormRpt();

    // Page set-up: the printer's orientation and page size; nullopt when no printer is installed
    // (the designed page stays).
    void FormCreate(const std::optional<Printers::PageSetup>& printer);
    void SetSection(const QString& text);
    // Creates the data cells for the rows that fit on the page and fills them from the list.
    void Fill(const ResultListView& list);
    // Opens the preview (modal::exec), from which the user prints. Returns the dialog's result.
    int Preview(QWidget* parent, const Printers& printers) const;

    // The position of the first list column with exactly that caption; 0 when there is none.
    [[nodiscard]] static int ColumnByCaption(const ResultListView& list, const QString& caption);
    void LayoutColumns(const ResultListView& list);

    [[nodiscard]] const report::Page& page() const { return m_page; }
    [[nodiscard]] const std::array<Entry, 6>& columns() const { return m_columns; }
    [[nodiscard]] int cells() const { return m_cells; }
    [[nodiscard]] int printableWidth() const;
    [[nodiscard]] const report::Label* cell(const QString& prefix, int row) const;

private:
    void resetColumns();
    void centreTitles();

    report::Page m_page;
    std::array<Entry, 6> m_columns;
    int m_cells = 0;
};
