#include "ui/TFormLogoInicial.h"

#include "ui/AppearanceSettings.h"
#include "widgets/PicturePanel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

using namespace Qt::StringLiterals;

TFormLogoInicial::TFormLogoInicial(const QString& caption, int closeMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"FormLogoInicial"_s);
    setWindowTitle(caption);
    setFixedSize(kWidth, kHeight);
    auto* image = new PicturePanel(this, QColor(36, 34, 35));
    image->setObjectName(u"Image1"_s);
    image->setGeometry(0, 0, kWidth, kHeight);
    image->setStretch(true);
    image->setPicture(picture(appearance().splash));

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(u"lblStatus"_s);
    m_lblStatus->setGeometry(9, 283, kWidth - 18, 14);
    m_lblStatus->setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = m_lblStatus->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    m_lblStatus->setPalette(pal);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        move(r.left() + (r.width() - kWidth) / 2, r.top() + (r.height() - kHeight) / 2);
    }

    m_timer.setObjectName(u"TimerToClose"_s);
    m_timer.setInterval(closeMs);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::close);
}

void TFormLogoInicial::Progress(const QString& text)
{
    m_lblStatus->setText(text);
    m_lblStatus->repaint();
    QApplication::processEvents();
}

QString TFormLogoInicial::statusText() const
{
    return m_lblStatus->text();
}

void TFormLogoInicial::startClosing()
{
    m_timer.start();
}
