// ResultListDelegate: draws the result list's cells as designed: the icon columns centred (the
// selection box at the left), the text columns 5 to 10 of every second row of the page on a
// slightly darker background, and grid lines when they are switched on. Owned by the list view.
// Main thread.
#pragma once

#include <QStyledItemDelegate>

class ResultListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setGridLines(bool on) { m_grid = on; }
    [[nodiscard]] bool gridLines() const { return m_grid; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool m_grid = false;
};
