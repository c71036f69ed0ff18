#include "ads/TFormRpt.h"

#include "ads/AdAssets.h"
#include "ads/ReportPreview.h"
#include "widgets/ModalSeam.h"

#include <cmath>

using report::Band;
using report::Label;

namespace {

const QString kTitle = QStringLiteral("TitleBand1");
const QString kFooter = QStringLiteral("PageFooterBand1");
const QString kCells = QStringLiteral("page");

// Designed page: A4 portrait, top margin 20 mm, the others 10 mm.
constexpr double kTopMm = 20, kSideMm = 10;

Label label(const QString& name, double left, double top, double width, double height, const QString& text,
            const QFont& font, bool autoSize = false)
{
    Label l;
    l.name = name;
    l.rect = QRectF(left, top, width, height);
    l.text = text;
    l.font = font;
    l.autoSize = autoSize;
    return l;
}

} // namespace

std::vector<ResultListView::Column> ResultListView::defaultColumns()
{
    return {{QString(), 28},
            {QString(), 28},
            {QString(), 28},
            {QString(), 28},
            {QString(), 28},
            {QStringLiteral("NOMBRE/RAZON SOCIAL"), 200},
            {QStringLiteral("TELEFONO"), 120},
            {QStringLiteral("DIRECCION"), 150},
            {QStringLiteral("RUBRO"), 100},
            {QStringLiteral("LOCALIDAD"), 88},
            {QStringLiteral("PROVINCIA"), 88}};
}

TFormRpt::TFormRpt()
{
    resetColumns();
    m_page.size = QSizeF(794, 1123);
    m_page.marginTop = report::mm(kTopMm);
    m_page.marginLeft = m_page.marginRight = m_page.marginBottom = report::mm(kSideMm);

    Band title;
    title.name = kTitle;
    report::Picture logo;
    logo.name = QStringLiteral("QRImage1");
    logo.rect = QRectF(0, 0, 110, 110);
    logo.image = adassets::reportLogo();
    logo.stretch = true;
    title.pictures.push_back(logo);
    title.labels.push_back(label(QStringLiteral("lblTitulo"), 0, 24, 0, 26, QStringLiteral("Ortelia - Directorio 2010"),
                                 report::arial(16, true), true));
    title.labels.push_back(
        label(QStringLiteral("lblGuia"), 0, 72, 0, 22, QStringLiteral("Guía "), report::arial(14), true));
    for (const Entry& e : m_columns) {
        static const QString captions[6] = {QStringLiteral("Nombre/ Razón Social"),
                                            QStringLiteral("Teléfono"),
                                            QStringLiteral("Dirección"),
                                            QStringLiteral("Rubro"),
                                            QStringLiteral("Localidad"),
                                            QStringLiteral("Provincia")};
        const size_t i = static_cast<size_t>(&e - m_columns.data());
        title.labels.push_back(
            label(e.header, e.left - kCellLeft, 132, e.width, 17, captions[i], report::arial(8, true)));
    }
    title.lines.push_back({QRectF(0, 150, 0, 3), 3});
    m_page.bands.push_back(title);

    Band cells; // the data cells sit on the page itself, at page positions
    cells.name = kCells;
    m_page.bands.push_back(cells);

    Band footer;
    footer.name = kFooter;
    Label date = label(QStringLiteral("QRExprFecha"), 0, 0, 300, kFooterBandHeight, QStringLiteral("Impreso el día "),
                       report::arial(10), true);
    date.field = report::Field::Date;
    Label number = label(QStringLiteral("QRExprPagina"), 600, 0, 100, kFooterBandHeight, QStringLiteral("Página "),
                         report::arial(10), true);
    number.field = report::Field::PageNumber;
    footer.labels = {date, number};
    m_page.bands.push_back(footer);

    FormCreate(std::nullopt);
}

void TFormRpt::resetColumns()
{
    m_columns = {
        {{QStringLiteral("QRRSoc"), QStringLiteral("NOMBRE/RAZON SOCIAL"), 40, 177, QStringLiteral("QRLblFigurac")},
         {QStringLiteral("QRTel"), QStringLiteral("TELEFONO"), 182, 105, QStringLiteral("QRLblTelefon")},
         {QStringLiteral("QRDomicil"), QStringLiteral("DIRECCION"), 292, 113, QStringLiteral("QRLblDomicil")},
         {QStringLiteral("QRRubro"), QStringLiteral("RUBRO"), 410, 89, QStringLiteral("QRLblRubro")},
         {QStringLiteral("QRLocalidad"), QStringLiteral("LOCALIDAD"), 504, 113, QStringLiteral("QRLblLocalid")},
         {QStringLiteral("QRProvincia"), QStringLiteral("PROVINCIA"), 622, 85, QStringLiteral("QRLblProvinc")}}};
}

int TFormRpt::printableWidth() const
{
    return static_cast<int>(m_page.size.width() - m_page.marginLeft - m_page.marginRight);
}

void TFormRpt::FormCreate(const std::optional<Printers::PageSetup>& printer)
{
    resetColumns();
    if (printer) {
        m_page.landscape = printer->orientation == QPageLayout::Landscape;
        m_page.size = printer->pixels(report::kDpi);
    }
    const double width = printableWidth();
    Band* title = m_page.band(kTitle);
    title->rect = QRectF(m_page.marginLeft, m_page.marginTop, width, kTitleBandHeight);
    title->lines.front().rect.setWidth(width);
    // The footer sits on the bottom margin's edge; the rows stop above it (see Fill).
    Band* footer = m_page.band(kFooter);
    footer->rect = QRectF(m_page.marginLeft, m_page.size.height() - m_page.marginBottom - kFooterBandHeight, width,
                          kFooterBandHeight);
    m_page.band(kCells)->rect = QRectF(QPointF(0, 0), m_page.size);
    centreTitles();
}

void TFormRpt::centreTitles()
{
    Band* title = m_page.band(kTitle);
    for (const char* name : {"lblTitulo", "lblGuia"}) {
        Label* l = title->label(QString::fromLatin1(name));
        const double w = report::textWidth(l->font, l->text);
        l->rect.setWidth(w);
        l->rect.moveLeft(std::trunc((title->rect.width() - w) / 2));
    }
}

void TFormRpt::SetSection(const QString& text)
{
    m_page.band(kTitle)->label(QStringLiteral("lblGuia"))->text = text;
    centreTitles();
}

int TFormRpt::ColumnByCaption(const ResultListView& list, const QString& caption)
{
    for (size_t c = 0; c < list.columns.size(); ++c)
        if (list.columns[c].caption == caption)
            return static_cast<int>(c);
    return 0;
}

const report::Label* TFormRpt::cell(const QString& prefix, int row) const
{
    return m_page.band(kCells)->label(prefix + QString::number(row));
}

void TFormRpt::Fill(const ResultListView& list)
{
    Band* cells = m_page.band(kCells);
    cells->labels.clear();
    m_cells = 0;
    // The rows end above the footer band and its 20-pixel gap, both above the bottom margin.
    const int limit =
        static_cast<int>(m_page.size.height() - m_page.marginBottom - m_page.band(kFooter)->rect.height() - 20);
    const int rows = static_cast<int>(list.rows.size());
    for (int r = 0; r < rows; ++r) {
        const int y = kFirstRowTop + kRowStep * r;
        if (y >= limit - kRowStep)
            break; // one page: the rest of the list is left out
        for (const Entry& e : m_columns)
            cells->labels.push_back(
                label(e.prefix + QString::number(r), e.left, y, e.width, kRowStep, QString(), report::arial(7)));
        ++m_cells;
    }
    for (int r = 0; r < m_cells && r < rows; ++r) {
        for (const Entry& e : m_columns) {
            Label* cell = cells->label(e.prefix + QString::number(r));
            const size_t c = static_cast<size_t>(ColumnByCaption(list, e.listCaption));
            const auto& texts = list.rows[static_cast<size_t>(r)];
            cell->text = c < texts.size() ? texts[c] : QString();
        }
    }
    LayoutColumns(list);
}

void TFormRpt::LayoutColumns(const ResultListView& list)
{
    Band* cells = m_page.band(kCells);
    int sum = 0;
    for (const Entry& e : m_columns) {
        const int c = ColumnByCaption(list, e.listCaption);
        if (static_cast<size_t>(c) < list.columns.size())
            sum += list.columns[static_cast<size_t>(c)].width;
    }
    const int printable = printableWidth();
    const int rows = static_cast<int>(list.rows.size());
    if (sum <= 0) {
        for (Label& l : cells->labels)
            l.rect.setWidth(0);
    } else {
        for (int r = 0; r < m_cells && r < rows; ++r) {
            int x = kCellLeft;
            for (Entry& e : m_columns) {
                Label* cell = cells->label(e.prefix + QString::number(r));
                if (cell == nullptr)
                    continue;
                const int c = ColumnByCaption(list, e.listCaption);
                const int w = list.columns[static_cast<size_t>(c)].width * printable / sum;
                cell->rect = QRectF(x, cell->rect.top(), w, cell->rect.height());
                e.left = x;
                e.width = w;
                if (w != 0)
                    x += w + 5;
            }
        }
    }
    Band* title = m_page.band(kTitle);
    for (const Entry& e : m_columns) {
        Label* header = title->label(e.header);
        header->rect = QRectF(e.left - kCellLeft, 132, e.width, 17);
    }
}

int TFormRpt::Preview(QWidget* parent, const Printers& printers) const
{
    ReportPreview preview({m_page}, printers, parent);
    return modal::exec(preview);
}
