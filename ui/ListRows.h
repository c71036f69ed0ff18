// ListRows: the result list's rows for the pager: one ResultItem per shown record in the list view,
// filled by the result list's row filler when it is added. The view belongs to the window. Main thread.
#pragma once

#include "search/GridData.h"
#include "search/ResultRows.h"

#include <QTreeWidgetItem>

#include <functional>

class QTreeWidget;

// A row of the result list and the data it keeps about its record.
class ResultItem : public QTreeWidgetItem {
public:
    ResultItem() : QTreeWidgetItem(UserType + 1) {}
    GridData grid;
    uint32_t flags = 0; // the record's word of the bit set when the row was filled
};

class ListRows final : public ResultRows {
public:
    // flags: the record's word of the bit set, as the pager read it.
    using Filler = std::function<void(ResultItem& item, int32_t record, uint32_t flags)>;

    ListRows(QTreeWidget* view, Filler fill) : m_view(view), m_fill(std::move(fill)) {}

    [[nodiscard]] int rowCount() const override;
    [[nodiscard]] int32_t recnoAt(int row) const override;
    void insertFirst(int32_t record, uint32_t flags) override;
    void append(int32_t record, uint32_t flags) override;
    void removeFirst() override;
    void removeLast() override;
    void clearRows() override;
    [[nodiscard]] int selectedRow() const override;
    void selectRow(int row) override;
    void beginUpdate() override;
    void endUpdate() override;

    [[nodiscard]] ResultItem* item(int row) const;
    [[nodiscard]] ResultItem* current() const;

private:
    QTreeWidget* m_view;
    Filler m_fill;
    int m_updates = 0;
};
