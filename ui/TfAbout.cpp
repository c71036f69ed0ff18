#include "ui/TfAbout.h"

#include "ui/AppearanceSettings.h"

#include "platform/ShellOpener.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 320, kHeight = 419;
constexpr int kPictureHeight = 300;

QPushButton* flatButton(QWidget* parent, const QString& name, const QString& text, int x)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(x, 386, 132, 21);
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    // The band shows through; only a hairline frame and the caption are drawn.
    b->setStyleSheet(u"QPushButton { background: transparent; border: 1px solid #B58440; border-radius: 3px;"
                     " color: #5A3008; font-family: 'DejaVu Sans Condensed'; font-size: 11px; }"
                     " QPushButton:hover { background: rgba(247, 196, 106, 90); }"
                     " QPushButton:pressed { background: rgba(232, 154, 46, 120); }"
                     " QPushButton:focus { border: 1px solid #7F430D; }"_s);
    return b;
}

} // namespace

TfAbout::TfAbout(ShellOpener* shell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_shell(shell)
{
    setObjectName(u"fAbout"_s);
    setWindowTitle(u"Acerca de"_s);
    setFixedSize(kWidth, kHeight);
    btnSoporteTecnico = flatButton(this, u"btnSoporteTecnico"_s, u"Soporte técnico"_s, 23);
    btnAceptar = flatButton(this, u"btnAceptar"_s, u"Aceptar"_s, 166);
    btnAceptar->setDefault(true);
    connect(btnSoporteTecnico, &QPushButton::clicked, this, [this] {
        if (m_shell != nullptr)
            m_shell->openAddress(supportPage());
    });
    connect(btnAceptar, &QPushButton::clicked, this, &QDialog::accept);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        move(r.left() + (r.width() - kWidth) / 2, r.top() + (r.height() - kHeight) / 2);
    }
}

QString TfAbout::supportPage()
{
    return appearance().publisherSite() + u"cd/faq.htm"_s;
}

void TfAbout::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(0, 0, picture(appearance().about));
    // The band carries on the picture's warm paper down to the buttons.
    const QRect band(0, kPictureHeight, kWidth, kHeight - kPictureHeight);
    QLinearGradient paper(band.topLeft(), band.bottomLeft());
    paper.setColorAt(0, QColor(0xF6, 0xE3, 0xC4));
    paper.setColorAt(1, QColor(0xEC, 0xD0, 0xA2));
    p.fillRect(band, paper);
    p.setPen(QPen(QColor(0xCF, 0xA5, 0x6B), 1));
    p.drawLine(24, kPictureHeight + 8, kWidth - 24, kPictureHeight + 8);

    QFont strong(u"DejaVu Sans Condensed"_s);
    strong.setPixelSize(13);
    strong.setBold(true);
    p.setFont(strong);
    p.setPen(QColor(0x5A, 0x30, 0x08));
    p.drawText(QRect(0, kPictureHeight + 16, kWidth, 18), Qt::AlignHCenter | Qt::AlignVCenter,
               u"© 2026 Equipo Ortelia"_s);
    QFont plain(u"DejaVu Sans Condensed"_s);
    plain.setPixelSize(11);
    p.setFont(plain);
    p.setPen(QColor(0x48, 0x48, 0x48));
    p.drawText(QRect(16, kPictureHeight + 36, kWidth - 32, 42), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               u"Datos de la guía nacional de empresas y teléfonos. Todos los derechos reservados."_s);
}
