// DbfFilter: a dBase filter expression compiled against a table's fields and evaluated per row.
// The language: field names, integer literals, string literals ("..." or '...'), the comparisons
// = <> # < > <= >=, and, or, not (also .and. .or. .not.), parentheses. Names and keywords ignore
// case. Strings compare byte by byte as dBase does with SET EXACT OFF: the left side, a character
// field with its padding, is cut or space-padded to the right side's length first, so
// `figurac >= "T "` and `figurac <= "TZ"` bracket the names that start with T. A blank integer
// counts as 0. Immutable once compiled; any thread.
#pragma once

#include "agenda/DbfHeader.h"
#include "agenda/DbfRecord.h"
#include "agenda/DbfStatus.h"

#include <memory>
#include <string>
#include <string_view>

class DbfFilter {
public:
    DbfFilter();
    ~DbfFilter();
    DbfFilter(DbfFilter&&) noexcept;
    DbfFilter& operator=(DbfFilter&&) noexcept;

    // An empty expression passes every row.
    static DbfStatus compile(std::string_view expression, const DbfHeader& header, DbfFilter& out);
    [[nodiscard]] bool passes(const DbfRecord& record) const;
    [[nodiscard]] const std::string& text() const { return m_text; }

    struct Node;

private:
    std::string m_text;
    std::unique_ptr<Node> m_root;
};
