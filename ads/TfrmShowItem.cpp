#include "ads/TfrmShowItem.h"

#include "ads/AdAssets.h"
#include "ads/AdCard.h"
#include "ads/ReportOutput.h"
#include "ads/TfrmRptImage.h"
#include "platform/Printers.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"
#include "widgets/PicturePanel.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kButtonTop = 10;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kPrintLeft = 143;
constexpr int kPrintLeftBesideZoom = 204; // right of the zoom buttons when they show
constexpr int kRightGap = 6;
constexpr int kToolBarMinWidth = 300;

QToolButton* zoomButton(QWidget* parent, const QImage& picture, int left, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setIcon(QIcon(QPixmap::fromImage(picture)));
    b->setIconSize(QSize(21, 21));
    b->setGeometry(left, kButtonTop, 25, 25);
    b->setToolTip(tip);
    b->setAutoRaise(false);
    b->hide();
    return b;
}

} // namespace

TfrmShowItem::TfrmShowItem(QWidget* owner, int32_t kind, const std::vector<std::string>& lines, int32_t imageNumber,
                           std::string pictureFile, BlockLibrary& library, const Printers& printers)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_lines(lines), m_pictureFile(std::move(pictureFile)), m_imageNumber(imageNumber), m_kind(kind),
      m_library(library), m_printers(printers)
{
    setObjectName(QStringLiteral("frmShowItem"));
    setWindowTitle(QStringLiteral("Aviso"));

    ScrollPane = new QScrollArea(this);
    ScrollPane->setObjectName(QStringLiteral("ScrollPane"));
    ScrollPane->setFrameShape(QFrame::NoFrame);
    ScrollPane->setWidgetResizable(false);
    ScrollPane->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_surface = new QWidget;
    ScrollPane->setWidget(m_surface);
    Image = new PicturePanel(m_surface);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(4, 4, 161, 113);
    Linea = new QFrame(m_surface);
    Linea->setObjectName(QStringLiteral("Linea"));
    Linea->setAutoFillBackground(true);
    QPalette black = Linea->palette();
    black.setColor(QPalette::Window, Qt::black);
    Linea->setPalette(black);
    Linea->setGeometry(4, 0, 100, 1);
    Linea->hide();

    pnlToolBar = new QWidget(this);
    pnlToolBar->setObjectName(QStringLiteral("pnlToolBar"));
    pnlToolBar->setMinimumWidth(kToolBarMinWidth);
    logoQD = new PicturePanel(pnlToolBar);
    logoQD->setObjectName(QStringLiteral("logoQD"));
    logoQD->setPicture(QPixmap::fromImage(adassets::viewerLogo()));
    logoQD->setGeometry(2, 1, 137, 43);
    cmdZoomIn = zoomButton(pnlToolBar, adassets::zoomIn(), 144, QStringLiteral("Tamaño real"));
    cmdZoomIn->setObjectName(QStringLiteral("cmdZoomIn"));
    cmdZoomIn->setEnabled(false);
    cmdZoomOut = zoomButton(pnlToolBar, adassets::zoomOut(), 174, QStringLiteral("Ajustar a la ventana"));
    cmdZoomOut->setObjectName(QStringLiteral("cmdZoomOut"));
    cmdImprimir = new QPushButton(QStringLiteral("&Imprimir"), pnlToolBar);
    cmdImprimir->setObjectName(QStringLiteral("cmdImprimir"));
    cmdImprimir->setAutoDefault(false);
    cmsSalir = new QPushButton(QStringLiteral("&Salir"), pnlToolBar);
    cmsSalir->setObjectName(QStringLiteral("cmsSalir"));
    cmsSalir->setAutoDefault(false);
    connect(cmdZoomIn, &QToolButton::clicked, this, &TfrmShowItem::cmdZoomInClick);
    connect(cmdZoomOut, &QToolButton::clicked, this, &TfrmShowItem::cmdZoomOutClick);
    connect(cmdImprimir, &QPushButton::clicked, this, &TfrmShowItem::cmdImprimirClick);
    connect(cmsSalir, &QPushButton::clicked, this, &QDialog::reject); // also Escape, as the cancel button
    applyClient();
}

TfrmShowItem::~TfrmShowItem()
{
    ReleasePicture();
}

int TfrmShowItem::ShowAd(QWidget* owner, int32_t kind, const std::vector<std::string>& lines, int32_t imageNumber,
                         const std::string& pictureFile, BlockLibrary& library, const Printers& printers)
{
    TfrmShowItem form(owner, kind, lines, imageNumber, pictureFile, library, printers);
    form.FormShow(); // laid out before it appears: no resizing on screen
    const int result = modal::exec(form);
    form.FormHide();
    return result;
}

void TfrmShowItem::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmShowItem::hideEvent(QHideEvent* event)
{
    FormHide();
    QDialog::hideEvent(event);
}

void TfrmShowItem::FormShow()
{
    if (m_drawn)
        return;
    m_drawn = true;
    DrawAd();
}

void TfrmShowItem::FormHide()
{
    ReleasePicture();
}

void TfrmShowItem::LoadPicture()
{
    m_handle = m_library.OpenBlockFile(m_pictureFile);
    if (m_handle == 0) {
        messageboxes::show(this, QStringLiteral("Error"), QStringLiteral("Error while opening image file"),
                           QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    m_picture = m_library.GetBitmap(m_handle, m_imageNumber);
}

void TfrmShowItem::ReleasePicture()
{
    // The library owns the picture until it is released, once; the surface only holds a copy.
    if (m_handle == 0)
        return;
    m_library.ReleaseBitmap(m_handle, m_picture);
    m_library.CloseBlockFile(m_handle);
    m_handle = 0;
    m_picture = 0;
}

int TfrmShowItem::toolBarWidth() const
{
    const int printLeft = cmdZoomOut->isHidden() ? kPrintLeft : kPrintLeftBesideZoom;
    return std::max(kToolBarMinWidth, printLeft + kButtonWidth + 2 + kButtonWidth + kRightGap);
}

void TfrmShowItem::setClientHeight(int height)
{
    m_client.setHeight(std::clamp(height, kToolBarHeight + 20, kMaxClient.height()));
    applyClient();
}

void TfrmShowItem::setClientWidth(int width)
{
    m_client.setWidth(std::clamp(width, toolBarWidth(), kMaxClient.width()));
    applyClient();
}

void TfrmShowItem::applyClient()
{
    const int w = m_client.width();
    const int h = m_client.height();
    setFixedSize(w, h);
    ScrollPane->setGeometry(0, 0, w, h - kToolBarHeight);
    pnlToolBar->setGeometry(0, h - kToolBarHeight, w, kToolBarHeight);
    cmdImprimir->setGeometry(cmdZoomOut->isHidden() ? kPrintLeft : kPrintLeftBesideZoom, kButtonTop, kButtonWidth,
                             kButtonHeight);
    cmsSalir->setGeometry(w - kButtonWidth - kRightGap, kButtonTop, kButtonWidth, kButtonHeight);
    placeImage();
}

void TfrmShowItem::placeImage()
{
    if (Image->width() + 4 < m_client.width())
        Image->move((m_client.width() - Image->width()) / 2, Image->y());
    if (!Linea->isHidden())
        Linea->move(Image->x() + adcard::kLeftInset, Linea->y());
    m_surface->resize(Image->x() + Image->width(), Image->y() + Image->height());
}

void TfrmShowItem::centreOnScreen()
{
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr)
        return;
    const QRect area = s->geometry();
    const QSize frame = frameGeometry().size();
    move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
}

void TfrmShowItem::DrawAd()
{
    if (m_imageNumber != 0) {
        LoadPicture();
        if (m_picture == 0 || m_library.image(m_picture) == nullptr) {
            messageboxes::show(this, QStringLiteral("Error"), QStringLiteral("Unable to recover image"),
                               QMessageBox::Ok, QMessageBox::Critical);
            cmdImprimir->setEnabled(false); // nothing to print
            centreOnScreen();
            return;
        }
    }
    if ((m_kind == 0 || m_kind == 5) && m_imageNumber != 0) {
        m_shown = *m_library.image(m_picture);
        Image->setPicture(QPixmap::fromImage(m_shown));
        Image->setStretch(false);
        const int wantedHeight = m_shown.height() + kToolBarHeight + 10;
        const int wantedWidth = m_shown.width() + 10;
        setClientHeight(wantedHeight);
        setClientWidth(wantedWidth);
        if (m_client.height() < wantedHeight || m_client.width() < wantedWidth) {
            cmdZoomIn->show();
            cmdZoomOut->show();
            setClientWidth(m_client.width()); // the tool panel is wider with them
        }
        Image->resize(m_shown.size());
        if (m_client.height() < Image->height())
            setClientWidth(m_client.width() + 16);
        if (m_client.width() < Image->width())
            setClientHeight(m_client.height() + 16);
        m_natural = m_client;
        if (!cmdZoomOut->isHidden())
            cmdZoomOutClick(); // a picture that does not fit opens fitted
    } else if (!m_lines.empty()) {
        const AdCard card = adcard::draw(m_kind, m_lines, m_client.width());
        const int h = card.picture.height() - 25; // h x rows
        setClientHeight(kToolBarHeight + h + 26);
        setClientWidth(card.clientWidth);
        Image->move(0, 0);
        Image->resize(card.picture.size());
        Image->setPicture(QPixmap::fromImage(card.picture));
        m_shown = card.picture;
        if (m_client.height() < Image->height())
            setClientWidth(m_client.width() + 16);
        if (m_client.width() < Image->width())
            setClientHeight(m_client.height() + 16);
        if (card.lineShown) {
            Linea->setGeometry(Image->x() + adcard::kLeftInset, card.lineTop, card.lineWidth, 1);
            Linea->show();
        } else {
            Linea->hide();
        }
        m_natural = m_client;
    } else {
        cmdImprimir->setEnabled(false); // an ad without lines draws nothing
    }
    centreOnScreen();
    placeImage();
}

void TfrmShowItem::cmdZoomOutClick()
{
    if (m_shown.isNull())
        return;
    const int availableHeight = scrollPaneSize().height() - 10;
    const int availableWidth = scrollPaneSize().width() - 10;
    const int64_t pw = m_shown.width();
    const int64_t ph = m_shown.height();
    // Fitted means inside both the width and the height, proportions kept.
    int width = 0, height = 0;
    if (ph > pw) {
        height = availableHeight;
        width = static_cast<int>(height * pw / ph);
        if (width > availableWidth) {
            width = availableWidth;
            height = static_cast<int>(width * ph / pw);
        }
    } else {
        width = availableWidth;
        height = static_cast<int>(width * ph / pw);
        if (height > availableHeight) {
            height = availableHeight;
            width = static_cast<int>(height * pw / ph);
        }
    }
    width = std::max(width, 1);
    height = std::max(height, 1);
    Image->resize(width, height);
    Image->setPicture(
        QPixmap::fromImage(m_shown.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Image->setStretch(true);
    setClientHeight(height + kToolBarHeight + 10);
    setClientWidth(width + 10);
    centreOnScreen();
    cmdZoomOut->setEnabled(false);
    cmdZoomIn->setEnabled(true);
}

void TfrmShowItem::cmdZoomInClick()
{
    if (m_shown.isNull())
        return;
    Image->resize(m_shown.size());
    Image->setPicture(QPixmap::fromImage(m_shown));
    Image->setStretch(false);
    setClientWidth(m_natural.width());
    setClientHeight(m_natural.height());
    centreOnScreen();
    cmdZoomOut->setEnabled(true);
    cmdZoomIn->setEnabled(false);
}

void TfrmShowItem::cmdImprimirClick()
{
    const QImage picture = shownPicture();
    if (picture.isNull())
        return;
    TfrmRptImage rpt;
    rpt.FormCreate(report::defaultPageSetup(m_printers));
    cmdImprimir->setEnabled(false);
    rpt.PrintPicture(picture, nullptr, m_printers);
    cmdImprimir->setEnabled(true);
}

QRect TfrmShowItem::imageGeometry() const
{
    return Image->geometry();
}

QSize TfrmShowItem::scrollPaneSize() const
{
    return {m_client.width(), m_client.height() - kToolBarHeight};
}

bool TfrmShowItem::imageStretched() const
{
    return Image->width() != m_shown.width() || Image->height() != m_shown.height();
}

bool TfrmShowItem::separatorShown() const
{
    return !Linea->isHidden();
}

QRect TfrmShowItem::separatorGeometry() const
{
    return Linea->geometry();
}

QImage TfrmShowItem::shownPicture() const
{
    if (m_shown.isNull() || Linea->isHidden())
        return m_shown;
    // The card prints as it shows, its separator line included.
    QImage card = m_shown.copy();
    QPainter p(&card);
    p.fillRect(QRect(Linea->x() - Image->x(), Linea->y() - Image->y(), Linea->width(), 1), Qt::black);
    return card;
}
