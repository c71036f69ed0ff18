#include "ui/ListRows.h"

#include <QTreeWidget>

int ListRows::rowCount() const
{
    return m_view->topLevelItemCount();
}

ResultItem* ListRows::item(int row) const
{
    return static_cast<ResultItem*>(m_view->topLevelItem(row));
}

ResultItem* ListRows::current() const
{
    QTreeWidgetItem* i = m_view->currentItem();
    return i != nullptr && i->type() == QTreeWidgetItem::UserType + 1 ? static_cast<ResultItem*>(i) : nullptr;
}

int32_t ListRows::recnoAt(int row) const
{
    const ResultItem* i = item(row);
    return i != nullptr ? i->grid.recno : 0;
}

void ListRows::insertFirst(int32_t record, uint32_t flags)
{
    auto* i = new ResultItem;
    m_view->insertTopLevelItem(0, i);
    m_fill(*i, record, flags);
}

void ListRows::append(int32_t record, uint32_t flags)
{
    auto* i = new ResultItem;
    m_view->addTopLevelItem(i);
    m_fill(*i, record, flags);
}

void ListRows::removeFirst()
{
    delete m_view->takeTopLevelItem(0);
}

void ListRows::removeLast()
{
    delete m_view->takeTopLevelItem(m_view->topLevelItemCount() - 1);
}

void ListRows::clearRows()
{
    m_view->clear();
}

int ListRows::selectedRow() const
{
    QTreeWidgetItem* i = m_view->currentItem();
    return i != nullptr ? m_view->indexOfTopLevelItem(i) : -1;
}

void ListRows::selectRow(int row)
{
    QTreeWidgetItem* i = row >= 0 ? m_view->topLevelItem(row) : nullptr;
    m_view->setCurrentItem(i);
    if (i == nullptr)
        m_view->clearSelection();
}

void ListRows::beginUpdate()
{
    if (m_updates++ == 0)
        m_view->setUpdatesEnabled(false);
}

void ListRows::endUpdate()
{
    if (m_updates > 0 && --m_updates == 0)
        m_view->setUpdatesEnabled(true);
}
