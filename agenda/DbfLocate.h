// DbfLocate: the first live row, in table order from a given row, whose two integer fields hold
// the given values and that passes the filter (when one is given). A walk over the rows in memory;
// what the agenda's in-memory index must always agree with. Any thread that may read the table.
#pragma once

#include "agenda/DbfFilter.h"
#include "agenda/DbfTable.h"

#include <cstdint>

class DbfLocate {
public:
    // 0 when no row matches. Blank integers match 0.
    [[nodiscard]] static int32_t first(const DbfTable& table, const DbfFilter* filter, int field1, int32_t value1,
                                       int field2, int32_t value2, int32_t fromRow = 1);
};
