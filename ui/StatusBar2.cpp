#include "ui/StatusBar2.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {
constexpr int kGap = 2;
constexpr int kIconPanel = 106;
constexpr int kClockPanel = 110;
constexpr int kIconX[StatusBar2::kIcons] = {1, 18, 35, 52, 69, 86};
} // namespace

StatusBar2::StatusBar2(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"StatusBar2"_s);
    setMouseTracking(true);
    QFont f(u"Tahoma"_s);
    f.setPointSize(8);
    setFont(f);
}

void StatusBar2::setPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= kPanels || m_texts[static_cast<size_t>(panel)] == text)
        return;
    m_texts[static_cast<size_t>(panel)] = text;
    update(panelRect(panel));
}

QString StatusBar2::panelText(int panel) const
{
    return panel >= 0 && panel < kPanels ? m_texts[static_cast<size_t>(panel)] : QString();
}

QRect StatusBar2::panelRect(int panel) const
{
    const int textWidth = (width() - 226) / 3;
    int x = 0;
    for (int i = 0; i < kPanels; ++i) {
        const int w = i < 3 ? textWidth : (i == 3 ? kIconPanel : kClockPanel);
        if (i == panel)
            return {x, 0, w, height()};
        x += w + kGap;
    }
    return {};
}

QRect StatusBar2::iconRect(int icon) const
{
    if (icon < 0 || icon >= kIcons)
        return {};
    const QRect p = panelRect(3);
    return {p.left() + kIconX[icon], p.top() + (p.height() - 16) / 2, 16, 16};
}

void StatusBar2::setIcon(int icon, const QPixmap& pixmap, const QString& toolTip)
{
    if (icon < 0 || icon >= kIcons)
        return;
    m_icons[static_cast<size_t>(icon)] = pixmap;
    m_tips[static_cast<size_t>(icon)] = toolTip;
    update(iconRect(icon));
}

int StatusBar2::iconAt(QPoint pos) const
{
    for (int i = 0; i < kIcons; ++i) {
        if (iconRect(i).contains(pos))
            return i;
    }
    return -1;
}

void StatusBar2::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    for (int i = 0; i < kPanels; ++i) {
        const QRect r = panelRect(i);
        if (i != 3) {
            // Lowered bevel: dark top/left, light bottom/right.
            p.setPen(palette().color(QPalette::Dark));
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(palette().color(QPalette::Light));
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomRight());
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(r.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                       m_texts[static_cast<size_t>(i)]);
        }
    }
    for (int i = 0; i < kIcons; ++i) {
        if (!m_icons[static_cast<size_t>(i)].isNull())
            p.drawPixmap(iconRect(i), m_icons[static_cast<size_t>(i)]);
    }
}

void StatusBar2::mouseReleaseEvent(QMouseEvent* event)
{
    const int i = event->button() == Qt::LeftButton ? iconAt(event->position().toPoint()) : -1;
    if (i >= 0)
        Q_EMIT iconClicked(i);
    QWidget::mouseReleaseEvent(event);
}

void StatusBar2::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(iconAt(event->position().toPoint()) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

bool StatusBar2::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = iconAt(help->pos());
        if (i >= 0)
            QToolTip::showText(help->globalPos(), m_tips[static_cast<size_t>(i)], this, iconRect(i));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
