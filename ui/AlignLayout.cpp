#include "ui/AlignLayout.h"

#include <QWidget>
#include <QWidgetItem>

AlignLayout::AlignLayout(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

AlignLayout::~AlignLayout()
{
    for (Entry& e : m_entries)
        delete e.item;
}

void AlignLayout::add(QWidget* widget, Align align, int size)
{
    addChildWidget(widget);
    m_entries.push_back({new QWidgetItem(widget), align, size});
    invalidate();
}

void AlignLayout::setSize(QWidget* widget, int size)
{
    for (Entry& e : m_entries) {
        if (e.item->widget() == widget)
            e.size = size;
    }
    invalidate();
}

void AlignLayout::addItem(QLayoutItem* item)
{
    m_entries.push_back({item, Align::Client, 0});
}

int AlignLayout::count() const
{
    return static_cast<int>(m_entries.size());
}

QLayoutItem* AlignLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? m_entries[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* AlignLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = m_entries[static_cast<size_t>(index)].item;
    m_entries.erase(m_entries.begin() + index);
    return item;
}

QSize AlignLayout::sizeHint() const
{
    return minimumSize();
}

QSize AlignLayout::minimumSize() const
{
    return {0, 0};
}

void AlignLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    QRect free = rect;
    for (const Entry& e : m_entries) {
        QWidget* w = e.item->widget();
        if (w == nullptr || w->isHidden())
            continue;
        switch (e.align) {
        case Align::Top:
            w->setGeometry(free.left(), free.top(), free.width(), e.size);
            free.setTop(free.top() + e.size);
            break;
        case Align::Bottom:
            w->setGeometry(free.left(), free.bottom() + 1 - e.size, free.width(), e.size);
            free.setBottom(free.bottom() - e.size);
            break;
        case Align::Left:
            w->setGeometry(free.left(), free.top(), e.size, free.height());
            free.setLeft(free.left() + e.size);
            break;
        case Align::Right:
            w->setGeometry(free.right() + 1 - e.size, free.top(), e.size, free.height());
            free.setRight(free.right() - e.size);
            break;
        case Align::Client: break;
        case Align::None: break;
        }
    }
    // Clients last, so a strip added after a client still takes its room first.
    for (const Entry& e : m_entries) {
        QWidget* w = e.item->widget();
        if (w != nullptr && !w->isHidden() && e.align == Align::Client)
            w->setGeometry(free.width() > 0 && free.height() > 0 ? free : QRect(free.topLeft(), QSize(0, 0)));
    }
}
