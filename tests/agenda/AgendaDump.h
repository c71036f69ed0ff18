// Test helper: a table's rows as the TDbf tool prints them ("L"/"D", then NAME=value per field:
// integers in decimal, texts and memos as hex bytes, NULL for blanks), read through our module.
#pragma once

#include "agenda/DbfTable.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

inline std::string hexBytes(const std::string& s)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Our reading of a table in the tool's format; "ERROR ..." when it does not open.
inline std::string ourDump(const std::string& path)
{
    std::unique_ptr<DbfTable> t;
    if (DbfStatus s = DbfTable::open(path, t); !s.isOk())
        return "ERROR " + s.toString();
    std::ostringstream out;
    out << "LEVEL 7 FIELDS " << t->header().fields().size() << "\n";
    for (int32_t row = 1; row <= t->rowCount(); ++row) {
        const DbfRecord r = t->record(row);
        out << (r.isDeleted() ? 'D' : 'L');
        for (size_t i = 0; i < t->header().fields().size(); ++i) {
            const DbfField& f = t->header().fields()[i];
            std::string upper;
            for (char c : f.name)
                upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            out << '\t' << upper << '=';
            const int fi = static_cast<int>(i);
            if (f.type == 'I') {
                const auto v = r.integer(fi);
                if (v)
                    out << *v;
                else
                    out << "NULL";
            } else {
                std::string text;
                if (f.type == 'M') {
                    if (!t->readMemo(r, fi, text).isOk())
                        text = "<unreadable>";
                } else {
                    text = r.character(fi);
                }
                out << (text.empty() ? std::string("NULL") : hexBytes(text));
            }
        }
        out << "\n";
    }
    return out.str();
}

// The standard output of a command, with its exit status appended when it is not 0.
inline std::string runCommand(const std::string& command)
{
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr)
        return "ERROR popen";
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int rc = ::pclose(p);
    if (rc != 0)
        out += "EXIT " + std::to_string(rc);
    return out;
}
