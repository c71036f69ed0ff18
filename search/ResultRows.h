// ResultRows: the rows of the result list as the pager sees them: one page of record numbers in
// list order, filled by the pager and drawn by whoever shows them (the UI's list view, a vector in
// tests). Adding a row is where the implementation reads and decodes the record. Main thread only.
#pragma once

#include <cstdint>

class ResultRows {
public:
    virtual ~ResultRows() = default;

    [[nodiscard]] virtual int rowCount() const = 0;
    [[nodiscard]] virtual int32_t recnoAt(int row) const = 0;
    // flags is the record's word of the bit set, read by the pager that holds it: the row needs no
    // second access to the bit set.
    virtual void insertFirst(int32_t record, uint32_t flags) = 0;
    virtual void append(int32_t record, uint32_t flags) = 0;
    virtual void removeFirst() = 0;
    virtual void removeLast() = 0;
    virtual void clearRows() = 0;
    // -1: none selected.
    [[nodiscard]] virtual int selectedRow() const = 0;
    virtual void selectRow(int row) = 0;
    // Brackets a change of many rows so the view can hold its repainting.
    virtual void beginUpdate() {}
    virtual void endUpdate() {}

protected:
    ResultRows() = default;
    ResultRows(const ResultRows&) = default;
    ResultRows& operator=(const ResultRows&) = default;
};
