#include "agenda/DbfLocate.h"

int32_t DbfLocate::first(const DbfTable& table, const DbfFilter* filter, int field1, int32_t value1, int field2,
                         int32_t value2, int32_t fromRow)
{
    for (int32_t row = fromRow < 1 ? 1 : fromRow; row <= table.rowCount(); ++row) {
        if (table.isDeleted(row))
            continue;
        const DbfRecord r = table.record(row);
        if (r.integer(field1).value_or(0) == value1 && r.integer(field2).value_or(0) == value2 &&
            (filter == nullptr || filter->passes(r)))
            return row;
    }
    return 0;
}
