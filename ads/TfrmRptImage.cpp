#include "ads/TfrmRptImage.h"

#include "ads/AdAssets.h"
#include "ads/ReportPreview.h"
#include "widgets/ModalSeam.h"

#include <cmath>

namespace {

const QString kDetail = QStringLiteral("DetailBand1");
const QString kOnPage = QStringLiteral("page");
const QString kPicture = QStringLiteral("QRImage1");
const QString kNote = QStringLiteral("QRLblMsg");

} // namespace

TfrmRptImage::TfrmRptImage()
{
    report::Band detail;
    detail.name = kDetail;
    report::Picture logo;
    logo.name = QStringLiteral("QRImage2");
    logo.rect = QRectF(0, 0, 110, 110);
    logo.image = adassets::reportLogo();
    logo.stretch = true;
    detail.pictures.push_back(logo);
    m_page.bands.push_back(detail);

    // The picture and the note are placed on the page itself: a centred picture may lie below
    // the detail band.
    report::Band onPage;
    onPage.name = kOnPage;
    report::Picture picture;
    picture.name = kPicture;
    picture.stretch = true;
    onPage.pictures.push_back(picture);
    report::Label note;
    note.name = kNote;
    note.text = QStringLiteral("Esta imagen ha sido adaptada para ser impresa.");
    note.font = report::arial(8);
    note.autoSize = true;
    onPage.labels.push_back(note);
    m_page.bands.push_back(onPage);
    FormCreate(std::nullopt);
}

void TfrmRptImage::FormCreate(const std::optional<Printers::PageSetup>& printer)
{
    if (printer) {
        m_page.landscape = printer->orientation == QPageLayout::Landscape;
        m_page.size = printer->pixels(report::kDpi);
    }
    m_page.band(kDetail)->rect = QRectF(0, 0, m_page.size.width(), kDetailBandHeight);
    m_page.band(kOnPage)->rect = QRectF(QPointF(0, 0), m_page.size);
}

bool TfrmRptImage::LayOut(const QImage& image)
{
    report::Band* onPage = m_page.band(kOnPage);
    report::Picture* picture = onPage->picture(kPicture);
    picture->image = image;
    const int pageWidth = static_cast<int>(m_page.size.width());
    const int pageLength = static_cast<int>(m_page.size.height());
    int width = image.width();
    int height = image.height();
    m_shrunk = false;
    if (width > pageWidth) {
        const int w = width;
        m_shrunk = true;
        width = pageWidth - kShrinkMargin;
        height = static_cast<int>(static_cast<int64_t>(width) * height / w);
    }
    if (height > pageLength) {
        const int h = height;
        m_shrunk = true;
        height = pageLength - kShrinkMargin;
        width = static_cast<int>(static_cast<int64_t>(height) * width / h);
    }
    const double left = std::trunc((pageWidth - width) * 0.5);
    const double top = std::trunc((pageLength - height) * 0.5);
    picture->rect = QRectF(left, top, width, height);

    report::Label* note = onPage->label(kNote);
    const double noteWidth = report::textWidth(note->font, note->text);
    note->rect = QRectF(std::trunc((pageWidth - noteWidth) * 0.5), top + height + 20, noteWidth, 16);
    return m_shrunk;
}

int TfrmRptImage::PrintPicture(const QImage& image, QWidget* parent, const Printers& printers)
{
    LayOut(image);
    ReportPreview preview({m_page}, printers, parent);
    modal::exec(preview);
    return -1;
}

QRectF TfrmRptImage::pictureRect() const
{
    return const_cast<report::Page&>(m_page).band(kOnPage)->picture(kPicture)->rect;
}

QRectF TfrmRptImage::noteRect() const
{
    return m_page.findLabel(kNote)->rect;
}
