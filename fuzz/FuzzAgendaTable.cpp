// Arbitrary bytes as an agenda table and its memo file (the first two bytes give the table's
// length): opening either refuses with a reason or gives rows whose fields and memos read within
// the files, and the agenda's filters evaluate on them.
#include "agenda/DbfFilter.h"
#include "agenda/DbfTable.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& folder()
{
    static const std::string path = [] {
        char name[] = "/tmp/ortelia-fuzz-agenda-XXXXXX";
        const char* made = ::mkdtemp(name);
        return std::string(made ? made : "/tmp");
    }();
    return path;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::remove(path.c_str());
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0 && std::fwrite(data, 1, size, f) != size)
            std::abort();
        std::fclose(f);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    size_t tableSize = static_cast<size_t>(data[0]) | (static_cast<size_t>(data[1]) << 8);
    data += 2;
    size -= 2;
    if (tableSize > size)
        tableSize = size;
    const std::string table = folder() + "/t.dbf";
    writeFile(table, data, tableSize);
    writeFile(folder() + "/t.dbt", data + tableSize, size - tableSize);

    std::unique_ptr<DbfTable> t;
    if (!DbfTable::open(table, t).isOk())
        return 0;
    DbfFilter filter;
    const bool filtered =
        DbfFilter::compile("dbver = 905021010 or (figurac >= \"=!!= \" and  figurac <= \"=!!=Z\")", t->header(), filter)
            .isOk();
    for (int32_t row = 1; row <= t->rowCount() && row <= 2000; ++row) {
        const DbfRecord r = t->record(row);
        for (size_t i = 0; i < t->header().fields().size(); ++i) {
            const int field = static_cast<int>(i);
            std::string text;
            (void)r.integer(field);
            (void)r.character(field);
            (void)t->readMemo(r, field, text);
        }
        if (filtered)
            (void)filter.passes(r);
    }
    return 0;
}
