#include "ads/ReportPreview.h"

#include "ads/ReportOutput.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

ReportPreview::ReportPreview(std::vector<report::Page> pages, const Printers& printers, QWidget* parent)
    : QDialog(parent), m_pages(std::move(pages)), m_entries(printers.list())
{
    setWindowTitle(QStringLiteral("Vista previa"));
    setObjectName(QStringLiteral("ReportPreview"));
    // The preview draws on a PDF printer: no print server is asked anything until the user prints.
    m_previewPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_previewPrinter->setOutputFormat(QPrinter::PdfFormat);
    if (!m_pages.empty())
        report::setPaper(*m_previewPrinter, m_pages.front());

    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 6, 8, 6);
    auto tool = [&](const QString& text, const QString& tip, auto slot) {
        auto* b = new QToolButton(bar);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        b->setMinimumWidth(30);
        connect(b, &QToolButton::clicked, this, slot);
        row->addWidget(b);
        return b;
    };
    m_view = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    m_view->setObjectName(QStringLiteral("preview"));
    tool(QStringLiteral("Ajustar"), QStringLiteral("Página completa"), [this] { m_view->fitInView(); });
    tool(QStringLiteral("Ancho"), QStringLiteral("Ancho de página"), [this] { m_view->fitToWidth(); });
    tool(QStringLiteral("+"), QStringLiteral("Acercar"), [this] { m_view->zoomIn(); });
    tool(QStringLiteral("\u2212"), QStringLiteral("Alejar"), [this] { m_view->zoomOut(); });
    row->addSpacing(12);
    tool(QStringLiteral("\u25C0"), QStringLiteral("Página anterior"), [this] {
        m_view->setCurrentPage(m_view->currentPage() - 1);
        updatePageLabel();
    });
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setMinimumWidth(90);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    row->addWidget(m_pageLabel);
    tool(QStringLiteral("\u25B6"), QStringLiteral("Página siguiente"), [this] {
        m_view->setCurrentPage(m_view->currentPage() + 1);
        updatePageLabel();
    });
    row->addStretch(1);
    row->addWidget(new QLabel(QStringLiteral("Impresora:"), bar));
    m_printer = new QComboBox(bar);
    m_printer->setObjectName(QStringLiteral("printer"));
    for (const Printers::Entry& e : m_entries)
        m_printer->addItem(e.name);
    m_printer->setCurrentIndex(static_cast<int>(Printers::defaultIndex(m_entries)));
    m_printer->setMinimumContentsLength(18);
    row->addWidget(m_printer);
    m_print = new QPushButton(QStringLiteral("&Imprimir"), bar);
    m_print->setObjectName(QStringLiteral("print"));
    m_print->setDefault(true);
    connect(m_print, &QPushButton::clicked, this, [this] {
        if (printNow())
            accept();
    });
    row->addWidget(m_print);
    auto* close = new QPushButton(QStringLiteral("&Cerrar"), bar);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_view, 1);

    connect(m_view, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::paintPages);
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::updatePageLabel);
    m_view->setZoomMode(QPrintPreviewWidget::FitInView);
    resize(820, 900);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::paintPages(QPrinter* printer)
{
    QPainter painter(printer);
    const QRectF paper(QPointF(0, 0), printer->paperRect(QPrinter::DevicePixel).size());
    report::PrintContext c = m_context;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (i > 0)
            printer->newPage();
        c.pageNumber = m_context.pageNumber + static_cast<int>(i);
        report::paint(m_pages[i], painter, paper, c);
    }
}

void ReportPreview::updatePageLabel()
{
    m_pageLabel->setText(QStringLiteral("Página %1 de %2").arg(m_view->currentPage()).arg(m_view->pageCount()));
}

bool ReportPreview::printNow(const QString& pdfFile)
{
    const int index = m_printer->currentIndex();
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
        return false;
    const Printers::Entry& entry = m_entries[static_cast<size_t>(index)];
    QString file = pdfFile;
    if (entry.pdf && file.isEmpty()) {
        QFileDialog ask(this, QStringLiteral("Guardar como PDF"),
                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                        QStringLiteral("Archivos PDF (*.pdf)"));
        ask.setAcceptMode(QFileDialog::AcceptSave);
        ask.setDefaultSuffix(QStringLiteral("pdf"));
        ask.setOption(QFileDialog::DontUseNativeDialog);
        ask.selectFile(QStringLiteral("Ortelia.pdf"));
        if (modal::exec(ask) != QDialog::Accepted || ask.selectedFiles().isEmpty())
            return false;
        file = ask.selectedFiles().constFirst();
    }
    m_print->setEnabled(false);
    // The report prints on the printer chosen here, whatever the preview was drawn on.
    const auto printer = Printers::makePrinter(entry, file);
    const bool done = report::print(m_pages, *printer, m_context);
    m_print->setEnabled(true);
    if (!done) {
        messageboxes::show(this, QStringLiteral("Error"),
                           entry.pdf
                               ? QStringLiteral("No se pudo escribir el archivo %1").arg(QDir::toNativeSeparators(file))
                               : QStringLiteral("No se pudo imprimir en %1").arg(entry.name),
                           QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    if (entry.pdf)
        m_lastPdf = file;
    return true;
}
