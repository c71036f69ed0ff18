// ReportPreview: the print preview of a report ("Vista previa"): the pages as they will print,
// with zoom and page buttons, the choice of printer (the installed ones and "Archivo PDF") and
// "Imprimir". Printing to "Archivo PDF" asks for the file name. Run through modal::exec by the
// reports; the pages are copied in. Main thread.
#pragma once

#include "ads/ReportPage.h"
#include "platform/Printers.h"

#include <QDialog>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QPushButton;

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(std::vector<report::Page> pages, const Printers& printers, QWidget* parent = nullptr);
    ~ReportPreview() override;

    [[nodiscard]] QComboBox* printerChoice() const { return m_printer; }
    [[nodiscard]] QPushButton* printButton() const { return m_print; }
    [[nodiscard]] QPrintPreviewWidget* view() const { return m_view; }
    [[nodiscard]] const std::vector<report::Page>& pages() const { return m_pages; }
    // Prints on the chosen entry (a PDF file goes to pdfFile when given, else the user is asked).
    // False when nothing was printed (cancelled, or the printer could not be started).
    bool printNow(const QString& pdfFile = QString());
    // The file the last print to "Archivo PDF" wrote.
    [[nodiscard]] const QString& lastPdf() const { return m_lastPdf; }

private:
    void paintPages(QPrinter* printer);
    void updatePageLabel();

    std::vector<report::Page> m_pages;
    report::PrintContext m_context;
    std::unique_ptr<QPrinter> m_previewPrinter;
    QPrintPreviewWidget* m_view = nullptr;
    QComboBox* m_printer = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_pageLabel = nullptr;
    QString m_lastPdf;
    std::vector<Printers::Entry> m_entries;
};
