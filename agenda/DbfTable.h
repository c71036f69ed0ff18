// DbfTable: a dBase level 7 table with its memo file, opened exclusively for reading and writing.
// Rows are numbered from 1 in file order (the physical row number) and stay so until `pack`.
// Every write is on disk (synced) when it returns: a memo first, then the row, then the header's
// count and date, so a crash at any point leaves at most the row being written missing. Reading
// trusts the complete rows in the file over the header's count. Owns its files, their lock and a
// copy of the rows in memory; one thread at a time.
#pragma once

#include "agenda/DbfFileHandle.h"
#include "agenda/DbfHeader.h"
#include "agenda/DbfRecord.h"
#include "agenda/DbfStatus.h"
#include "agenda/DbtMemoFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DbfTable {
public:
    // Missing when the table file is not there (only then may a caller create it); InUse when
    // another holder has it open; Damaged when its bytes make no table.
    static DbfStatus open(const std::string& path, std::unique_ptr<DbfTable>& out);
    // New, empty table and memo file from the field definitions (C, I and M), replacing any files
    // of that name. Each file is written under a temporary name and renamed into place.
    static DbfStatus create(const std::string& path, const std::vector<DbfField>& fields);
    // The memo file beside a table file: its extension becomes ".dbt" (".DBT" for ".DBF").
    [[nodiscard]] static std::string memoPathFor(const std::string& path);

    [[nodiscard]] const DbfHeader& header() const { return m_header; }
    [[nodiscard]] int32_t rowCount() const { return m_rowCount; }
    [[nodiscard]] bool isDeleted(int32_t row) const;
    // The row's bytes (row 1..rowCount); the record keeps a copy.
    [[nodiscard]] DbfRecord record(int32_t row) const;
    [[nodiscard]] DbfRecord blankRecord() const;
    DbfStatus readMemo(const DbfRecord& record, int field, std::string& text) const;

    DbfStatus append(DbfRecord& record, int32_t& row);
    DbfStatus post(int32_t row, DbfRecord& record);
    DbfStatus markDeleted(int32_t row);
    // Removes the deleted rows (and repairs a count or tail that disagrees with the rows) by
    // writing the new table beside the old one and renaming it into place. Memo blocks of removed
    // rows stay in the memo file, unreferenced: it never has to be replaced alongside.
    DbfStatus pack();
    // True when the file holds deleted rows, a count other than its rows, or a torn tail.
    [[nodiscard]] bool needsPack() const;

    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    DbfTable() = default;
    DbfStatus writeMemos(DbfRecord& record);
    DbfStatus writeHeaderStamp(uint32_t rowCount);
    [[nodiscard]] uint64_t rowOffset(int32_t row) const;

    std::string m_path;
    DbfFileHandle m_file;
    DbtMemoFile m_memo;
    DbfHeader m_header;
    std::vector<uint8_t> m_rows; // rowCount * rowLength bytes
    int32_t m_rowCount = 0;
    bool m_tailClean = true;
};
