// The table module on files other programs write (built byte by byte here, from the format's
// description rather than from our writer) and on damaged files cut at every length.
#include "agenda/DbfFilter.h"
#include "agenda/DbfLocate.h"
#include "agenda/DbfTable.h"
#include "agenda/TAgenda.h"
#include "tests/agenda/AgendaDump.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(Bytes& b, size_t at, uint32_t v)
{
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

void writeFile(const std::string& path, const Bytes& b)
{
    // A new file each time: truncating one makes the file system flush it on close.
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}
Bytes readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(f)), {});
}

// A three-field table (ID I, NAME C12, NOTE M) as another program might write it.
struct ForeignTable {
    size_t propertiesBytes = 0; // a field-properties block after the descriptors
    bool zeroPaddedPointers = false;
    uint32_t blockSize = 512;
    int32_t headerCount = -1; // -1: the true count
    bool finalEof = true;
    uint8_t firstFlag = ' ';
    bool productionIndex = false;
    bool dbase3Memo = false; // memo blocks without the signature, ended by 0x1A

    struct Row {
        std::optional<int32_t> id;
        std::string name;
        std::string note;
        bool deleted = false;
    };
    std::vector<Row> rows;

    void write(const std::string& dbf, const std::string& dbt) const
    {
        const size_t headerLength = 68 + 3 * 48 + 1 + propertiesBytes;
        const size_t rowLength = 1 + 4 + 12 + 10;
        Bytes h(headerLength, 0);
        h[0] = 0x8C;
        h[1] = 124;
        h[2] = 5;
        h[3] = 17;
        put32(h, 4, headerCount >= 0 ? static_cast<uint32_t>(headerCount) : static_cast<uint32_t>(rows.size()));
        put16(h, 8, static_cast<uint32_t>(headerLength));
        put16(h, 10, rowLength);
        h[28] = productionIndex ? 1 : 0;
        std::memcpy(&h[32], "DB437US0", 8);
        const char* names[] = {"ID", "Name", "NOTE"};
        const char types[] = {'I', 'C', 'M'};
        const uint8_t lengths[] = {4, 12, 10};
        for (int i = 0; i < 3; ++i) {
            std::memcpy(&h[68 + 48 * i], names[i], std::strlen(names[i]));
            h[68 + 48 * i + 32] = static_cast<uint8_t>(types[i]);
            h[68 + 48 * i + 33] = lengths[i];
        }
        h[68 + 3 * 48] = 0x0D;
        for (size_t i = 0; i < propertiesBytes; ++i)
            h[68 + 3 * 48 + 1 + i] = static_cast<uint8_t>(0xA0 + i % 7);

        Bytes memo(blockSize, 0);
        put32(memo, 0, 1);
        put16(memo, 20, blockSize);
        Bytes body;
        for (size_t r = 0; r < rows.size(); ++r) {
            const Row& row = rows[r];
            Bytes b(rowLength, ' ');
            b[0] = row.deleted ? '*' : (r == 0 ? firstFlag : ' ');
            if (row.id) {
                const uint32_t raw = static_cast<uint32_t>(*row.id) ^ 0x80000000u;
                b[1] = static_cast<uint8_t>(raw >> 24);
                b[2] = static_cast<uint8_t>(raw >> 16);
                b[3] = static_cast<uint8_t>(raw >> 8);
                b[4] = static_cast<uint8_t>(raw);
            } else {
                std::memset(&b[1], 0, 4);
            }
            std::memcpy(&b[5], row.name.data(), std::min<size_t>(12, row.name.size()));
            if (!row.note.empty()) {
                const uint32_t block = static_cast<uint32_t>(memo.size() / blockSize);
                char digits[16];
                std::snprintf(digits, sizeof digits, zeroPaddedPointers ? "%010u" : "%10u", block);
                std::memcpy(&b[17], digits, 10);
                Bytes m;
                if (dbase3Memo) {
                    m.assign(row.note.begin(), row.note.end());
                    m.push_back(0x1A);
                    m.push_back(0x1A);
                } else {
                    m.assign(8 + row.note.size(), 0);
                    m[0] = 0xFF;
                    m[1] = 0xFF;
                    m[2] = 0x08;
                    put32(m, 4, static_cast<uint32_t>(row.note.size() + 8));
                    std::memcpy(&m[8], row.note.data(), row.note.size());
                }
                m.resize((m.size() + blockSize - 1) / blockSize * blockSize, ' ');
                memo.insert(memo.end(), m.begin(), m.end());
                put32(memo, 0, static_cast<uint32_t>(memo.size() / blockSize));
            }
            body.insert(body.end(), b.begin(), b.end());
        }
        h.insert(h.end(), body.begin(), body.end());
        if (finalEof)
            h.push_back(0x1A);
        writeFile(dbf, h);
        writeFile(dbt, memo);
    }
};

ForeignTable sample()
{
    ForeignTable t;
    t.rows = {{7, "PEREZ", "nota de\r\nvarias lineas"},
              {std::nullopt, "SIN NUMERO", ""},
              {-905021010, "BORRADO", "no se ve", true},
              {2147483647, "LARGA", std::string(1300, 'x') + "fin"}};
    return t;
}

} // namespace

TEST(DbfTable, ReadsTablesOtherProgramsWriteAndKeepsWhatItDoesNotUnderstand)
{
    struct Variant {
        const char* what;
        void (*change)(ForeignTable&);
    };
    const Variant variants[] = {
        {"as dBase writes it", [](ForeignTable&) {}},
        {"field properties after the descriptors", [](ForeignTable& t) { t.propertiesBytes = 250; }},
        {"memo pointers padded with zeros", [](ForeignTable& t) { t.zeroPaddedPointers = true; }},
        {"64-byte memo blocks", [](ForeignTable& t) { t.blockSize = 64; }},
        {"1024-byte memo blocks", [](ForeignTable& t) { t.blockSize = 1024; }},
        {"a count larger than the rows", [](ForeignTable& t) { t.headerCount = 9; }},
        {"a count smaller than the rows", [](ForeignTable& t) { t.headerCount = 1; }},
        {"no final 0x1A", [](ForeignTable& t) { t.finalEof = false; }},
        {"0x1A as the first row's flag", [](ForeignTable& t) { t.firstFlag = 0x1A; }},
        {"production index flagged", [](ForeignTable& t) { t.productionIndex = true; }},
        {"dBase III memo blocks", [](ForeignTable& t) { t.dbase3Memo = true; }},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.what);
        TempDir dir("foreign");
        ForeignTable t = sample();
        v.change(t);
        const std::string dbf = dir / "t.dbf";
        t.write(dbf, dir / "t.dbt");
        std::unique_ptr<DbfTable> table;
        ASSERT_TRUE(DbfTable::open(dbf, table).isOk());
        ASSERT_EQ(table->rowCount(), 4);
        const int id = table->header().fieldIndex("id"), name = table->header().fieldIndex("NAME"),
                  note = table->header().fieldIndex("note");
        ASSERT_GE(id, 0);
        for (int32_t row = 1; row <= 4; ++row) {
            const ForeignTable::Row& want = t.rows[static_cast<size_t>(row - 1)];
            const DbfRecord r = table->record(row);
            EXPECT_EQ(r.isDeleted(), want.deleted) << row;
            EXPECT_EQ(r.integer(id), want.id) << row;
            EXPECT_EQ(r.character(name), want.name) << row;
            std::string text;
            EXPECT_TRUE(table->readMemo(r, note, text).isOk()) << row;
            EXPECT_EQ(text, want.note) << row;
        }
        // A write keeps every header byte but the date, the count and the index flag, and a pack
        // the rows' bytes and their memo pointers.
        const Bytes before = readFile(dbf);
        DbfRecord added = table->blankRecord();
        added.setInteger(id, 99);
        added.setMemo(note, "nueva");
        int32_t row = 0;
        ASSERT_TRUE(table->append(added, row).isOk());
        EXPECT_EQ(row, 5);
        ASSERT_TRUE(table->needsPack());
        ASSERT_TRUE(table->pack().isOk());
        EXPECT_EQ(table->rowCount(), 4);
        const Bytes after = readFile(dbf);
        const size_t headerLength = before[8] | (before[9] << 8);
        ASSERT_GE(after.size(), headerLength);
        for (size_t i = 0; i < headerLength; ++i)
            if (!(i >= 1 && i <= 7) && i != 28) {
                ASSERT_EQ(after[i], before[i]) << "header byte " << i;
            }
        EXPECT_EQ(after[28], 0) << "the production index flag stays set on a table whose index we do not keep";
        EXPECT_EQ(after[4], 4);
        EXPECT_EQ(after.size(), headerLength + 4 * 27 + 1);
        EXPECT_EQ(after.back(), 0x1A);
        table.reset();
        const std::string dump = ourDump(dbf);
        EXPECT_NE(dump.find(hexBytes(t.rows[3].note)), std::string::npos);
        EXPECT_NE(dump.find(hexBytes("nueva")), std::string::npos);
    }
}

TEST(DbfTable, TablesCutAtAnyLengthOpenWithTheirCompleteRowsOrAreRefused)
{
    TempDir dir("cut");
    const std::string dbf = dir / "t.dbf", dbt = dir / "t.dbt";
    sample().write(dbf, dbt);
    const Bytes table = readFile(dbf), memo = readFile(dbt);
    const size_t headerLength = table[8] | (table[9] << 8);
    const std::string whole = ourDump(dbf);
    for (size_t cut = 0; cut < table.size(); ++cut) {
        writeFile(dbf, Bytes(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(cut)));
        std::unique_ptr<DbfTable> t;
        const DbfStatus s = DbfTable::open(dbf, t);
        if (cut < headerLength) {
            ASSERT_EQ(s.kind(), DbfStatus::Kind::Damaged) << cut;
            continue;
        }
        ASSERT_TRUE(s.isOk()) << cut << ": " << s.toString();
        const size_t rows = (cut - headerLength) / 27;
        ASSERT_EQ(t->rowCount(), static_cast<int32_t>(rows)) << cut;
        t.reset();
        // The complete rows read as in the whole table: its dump starts with theirs.
        const std::string dump = ourDump(dbf);
        ASSERT_EQ(whole.compare(0, dump.size(), dump), 0) << cut;
    }
    writeFile(dbf, table);
    for (size_t cut = 0; cut < memo.size(); cut += 5) {
        writeFile(dbt, Bytes(memo.begin(), memo.begin() + static_cast<std::ptrdiff_t>(cut)));
        std::unique_ptr<DbfTable> t;
        const DbfStatus s = DbfTable::open(dbf, t);
        if (!s.isOk()) {
            ASSERT_EQ(s.kind(), DbfStatus::Kind::Damaged) << cut;
            ASSERT_LT(cut, 22u);
            continue;
        }
        // A note is read whole or refused as damaged, never cut short.
        for (int32_t row = 1; row <= t->rowCount(); ++row) {
            std::string text;
            const DbfStatus m = t->readMemo(t->record(row), 2, text);
            if (m.isOk())
                ASSERT_EQ(text, sample().rows[static_cast<size_t>(row - 1)].note) << cut << " row " << row;
            else
                ASSERT_EQ(m.kind(), DbfStatus::Kind::Damaged) << cut;
        }
    }
    // Headers that lie about their own shape.
    auto refused = [&](const char* what, auto change) {
        Bytes b = table;
        change(b);
        writeFile(dbf, b);
        std::unique_ptr<DbfTable> t;
        EXPECT_EQ(DbfTable::open(dbf, t).kind(), DbfStatus::Kind::Damaged) << what;
    };
    refused("row length shorter than the fields", [](Bytes& b) { put16(b, 10, 20); });
    refused("descriptors run past the header", [](Bytes& b) { b[68 + 3 * 48] = 'X'; });
    refused("header length past the file", [](Bytes& b) { put16(b, 8, 60000); });
    refused("a level 5 table", [](Bytes& b) { b[0] = 0x83; });
    refused("an integer field four bytes wide no more", [](Bytes& b) { b[68 + 33] = 5; });
}

TEST(DbfFilter, EvaluatesTheAgendaFiltersAsDBaseDoes)
{
    TempDir dir("filter");
    const std::string path = dir / "f.dbf";
    ASSERT_TRUE(
        DbfTable::create(path, {{"recno", 'I', 4, 0, 0}, {"dbver", 'I', 4, 0, 0}, {"figurac", 'C', 80, 0, 0}}).isOk());
    std::unique_ptr<DbfTable> t;
    ASSERT_TRUE(DbfTable::open(path, t).isOk());
    const std::vector<std::tuple<std::optional<int32_t>, int32_t, std::string>> rows = {
        {5, 905021010, ""}, {0, 0, "ANA"},  {0, 0, "ANABEL"},  {std::nullopt, 0, "ANAZZ"},
        {0, 0, "ANA\xD1O"}, {0, 0, "AN"},   {0, 7, "JULIANA"}, {9, 7, "=!!=X"},
        {0, 0, "=!!= "},    {-3, -1, "ana"}};
    for (const auto& [recno, dbver, name] : rows) {
        DbfRecord r = t->blankRecord();
        r.setInteger(0, recno);
        r.setInteger(1, dbver);
        r.setCharacter(2, name);
        int32_t row = 0;
        ASSERT_TRUE(t->append(r, row).isOk());
    }
    auto passing = [&t](const std::string& expression) {
        DbfFilter f;
        const DbfStatus s = DbfFilter::compile(expression, t->header(), f);
        if (!s.isOk())
            return "error: " + s.reason();
        std::string rowsPassing;
        for (int32_t row = 1; row <= t->rowCount(); ++row)
            if (f.passes(t->record(row)))
                rowsPassing += std::to_string(row) + " ";
        return rowsPassing;
    };
    // The normal view: the current edition plus every typed-in contact (a blank number is 0).
    EXPECT_EQ(passing("dbver = 905021010 or recno = 0"), "1 2 3 4 5 6 7 9 ");
    // A name search brackets the names starting with the text; the sentinel brackets none.
    EXPECT_EQ(passing("dbver = 905021010 or (figurac >= \"ANA \" and  figurac <= \"ANAZ\")"), "1 2 3 4 ");
    EXPECT_EQ(passing("dbver = 905021010 or (figurac >= \"=!!= \" and  figurac <= \"=!!=Z\")"), "1 8 9 ");
    EXPECT_EQ(passing("figurac = \"ANA\""), "2 3 4 5 ");           // exact off: a prefix matches
    EXPECT_EQ(passing("figurac = \"\""), "1 2 3 4 5 6 7 8 9 10 "); // and the empty text matches all
    EXPECT_EQ(passing("FIGURAC <> 'AN' .and. .not. (recno < 0 .or. recno > 5)"), "1 7 9 ");
    EXPECT_EQ(passing("recno >= -3 and recno <= -3 or dbver # dbver"), "10 ");
    EXPECT_EQ(passing(""), "1 2 3 4 5 6 7 8 9 10 ");
    EXPECT_NE(passing("nombre = 1").find("unknown field nombre"), std::string::npos);
    EXPECT_NE(passing("figurac = 1").find("text compared with a number"), std::string::npos);
    EXPECT_NE(passing("figurac = \"ANA").find("unterminated string"), std::string::npos);
    EXPECT_NE(passing("(recno = 1").find("')' expected"), std::string::npos);
    EXPECT_NE(passing("recno = 1 recno").find("unexpected text"), std::string::npos);
    EXPECT_NE(passing(std::string(300, '(') + "recno = 1" + std::string(300, ')')).find("nested too deeply"),
              std::string::npos);

    // Locate by two fields agrees with the filter and skips deleted rows.
    DbfFilter normal;
    ASSERT_TRUE(DbfFilter::compile("dbver = 905021010 or recno = 0", t->header(), normal).isOk());
    EXPECT_EQ(DbfLocate::first(*t, &normal, 0, 0, 1, 0), 2);
    EXPECT_EQ(DbfLocate::first(*t, &normal, 0, 0, 1, 0, 3), 3);
    EXPECT_EQ(DbfLocate::first(*t, &normal, 0, 9, 1, 7), 0);
    EXPECT_EQ(DbfLocate::first(*t, nullptr, 0, 9, 1, 7), 8);
    ASSERT_TRUE(t->markDeleted(2).isOk());
    EXPECT_EQ(DbfLocate::first(*t, &normal, 0, 0, 1, 0), 3);
}
