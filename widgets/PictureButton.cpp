#include "widgets/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void PictureButton::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
    update();
}

QSize PictureButton::sizeHint() const
{
    return m_picture.isNull() ? QSize(16, 16) : m_picture.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!isEnabled())
        p.setOpacity(0.45);
    const int shift = isDown() ? 1 : 0;
    if (!m_picture.isNull())
        p.drawPixmap(QRect(shift, shift, width(), height()), m_picture);
    if (!text().isEmpty())
        p.drawText(rect().translated(shift, shift), Qt::AlignCenter, text());
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT mouseMoved(event->position().toPoint());
    QAbstractButton::mouseMoveEvent(event);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT mousePressed(event->button());
    QAbstractButton::mousePressEvent(event);
}
