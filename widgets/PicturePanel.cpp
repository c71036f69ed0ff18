#include "widgets/PicturePanel.h"

#include <QMouseEvent>
#include <QPainter>

PicturePanel::PicturePanel(QWidget* parent, const QColor& background) : QWidget(parent), m_background(background) {}

void PicturePanel::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
    update();
}

void PicturePanel::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void PicturePanel::setBackground(const QColor& colour)
{
    m_background = colour;
    update();
}

void PicturePanel::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
}

void PicturePanel::setCenter(bool center)
{
    m_center = center;
    update();
}

void PicturePanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_background.isValid())
        p.fillRect(rect(), m_background);
    if (m_picture.isNull())
        return;
    if (m_stretch) {
        p.drawPixmap(rect(), m_picture);
    } else if (m_center) {
        const QSize s = m_picture.deviceIndependentSize().toSize();
        p.drawPixmap((width() - s.width()) / 2, (height() - s.height()) / 2, m_picture);
    } else {
        p.drawPixmap(0, 0, m_picture);
    }
}

void PicturePanel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void PicturePanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

void PicturePanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_EMIT doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

void PicturePanel::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT mouseMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}
