#include "online/OnlineDialogLook.h"

#include "widgets/UiText.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace onlinelook {

void setUpPage(QDialog& dialog, const QString& caption)
{
    dialog.setWindowTitle(caption);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    dialog.setAutoFillBackground(true);
    QPalette page = dialog.palette();
    page.setColor(QPalette::Window, Qt::white);
    dialog.setPalette(page);
    dialog.setStyleSheet(u"QLineEdit, QPlainTextEdit, QListWidget { border: 1px solid #CFA56B; border-radius: 2px;"
                         " background: white; selection-background-color: #F7C46A; padding: 1px 3px; }"
                         " QLineEdit:focus, QPlainTextEdit:focus { border: 1px solid #7F430D; }"
                         " QLineEdit:disabled { background: #FBF3E6; color: #6E6E6E; }"_s);
}

void centre(QDialog& dialog)
{
    dialog.setFixedSize(dialog.sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        dialog.move(r.left() + (r.width() - dialog.width()) / 2, r.top() + (r.height() - dialog.height()) / 2);
    }
}

QLabel* heading(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    QFont f(u"DejaVu Sans"_s);
    f.setPixelSize(17);
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(u"color: #7F430D; padding-bottom: 6px;"_s);
    return l;
}

QLabel* label(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    QFont f(u"DejaVu Sans Condensed"_s);
    f.setPixelSize(12);
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(u"color: #484848;"_s);
    l->setContentsMargins(0, 3, 0, 0); // level with the first line of a tall field
    return l;
}

Qt::Alignment labelAlignment(const QWidget* field)
{
    return Qt::AlignRight |
           (field->sizeHint().height() > 40 || field->minimumHeight() > 40 ? Qt::AlignTop : Qt::AlignVCenter);
}

QLabel* note(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    QFont f(u"DejaVu Sans Condensed"_s);
    f.setPixelSize(11);
    l->setFont(f);
    l->setStyleSheet(u"color: #6E5A3A;"_s);
    l->setWordWrap(true);
    return l;
}

QPixmap sendPicture()
{
    constexpr int w = 92, h = 24;
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, h);
    face.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    face.setColorAt(1, QColor(0xF6, 0xE3, 0xC4));
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    p.fillPath(outline, face);
    p.setPen(QPen(QColor(0xCF, 0xA5, 0x6B), 1));
    p.drawPath(outline);
    // The envelope.
    p.setPen(QPen(QColor(0x7F, 0x43, 0x0D), 1));
    p.setBrush(Qt::white);
    const QRectF envelope(9.5, 7.5, 14, 10);
    p.drawRect(envelope);
    p.drawPolyline(
        QPolygonF({envelope.topLeft(), QPointF(envelope.center().x(), envelope.top() + 6), envelope.topRight()}));
    QFont f(u"DejaVu Sans Condensed"_s);
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x48, 0x48, 0x48));
    p.drawText(QRect(28, 0, w - 34, h), Qt::AlignCenter, u"Enviar"_s);
    return pixmap;
}

std::string noteData(const QPlainTextEdit& box)
{
    QString note = box.toPlainText();
    note.replace(u'\n', u"\r\n"_s);
    return uitext::toData(note);
}

} // namespace onlinelook
