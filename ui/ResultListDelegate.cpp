#include "ui/ResultListDelegate.h"

#include <QIcon>
#include <QPainter>

void ResultListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    const bool selected = option.state & QStyle::State_Selected;
    if (column >= 5 && index.row() % 2 == 1 && !selected)
        painter->fillRect(option.rect, QColor(229, 229, 229));
    if (column < 5) {
        if (selected)
            painter->fillRect(option.rect, option.palette.highlight());
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        if (!icon.isNull()) {
            const QSize s(16, 16);
            const int x = column == 0 ? option.rect.left() + 2 : option.rect.left() + (option.rect.width() - 16) / 2;
            icon.paint(painter, QRect(QPoint(x, option.rect.top() + (option.rect.height() - 16) / 2), s));
        }
    } else {
        QStyledItemDelegate::paint(painter, option, index);
    }
    if (m_grid) {
        painter->save();
        painter->setPen(QColor(200, 200, 200));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }
}
