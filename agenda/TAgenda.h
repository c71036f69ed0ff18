// TAgenda: the user's agenda, a level 7 table "QD_regS" in the profile folder holding saved
// directory records (by record number and data-edition stamp) and typed-in contacts, each with a
// note. Opens exclusively (creating the table when it is missing, packing it once), then keeps a
// cache of every row's keys and note and an index from (record number, edition) to row, kept in
// step by every write, so a page of list rows costs no table walk. A table that fails to open
// leaves the agenda closed and every operation harmless. Owned by the main window (or a command);
// main thread only.
#pragma once

#include "agenda/DbfFilter.h"
#include "agenda/DbfStatus.h"
#include "agenda/DbfTable.h"
#include "agenda/TAgendaRecord.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TAgenda {
public:
    static constexpr int32_t kEdition = 905021010;
    static constexpr int32_t kMaxDirectoryRows = 200;
    static constexpr const char* kTableName = "QD_regS";
    // The search text whose filter passes the directory rows of the current edition only.
    static constexpr const char* kDirectoryOnly = "=!!=";

    // `directory` ends with a separator; ".dbf" is appended to a name without an extension.
    explicit TAgenda(std::string directory, std::string tableName = kTableName);
    ~TAgenda();
    TAgenda(const TAgenda&) = delete;
    TAgenda& operator=(const TAgenda&) = delete;

    [[nodiscard]] bool isOpen() const { return m_table != nullptr; }
    // Why the table is closed, or what the last failed write said.
    [[nodiscard]] const DbfStatus& status() const { return m_status; }
    [[nodiscard]] const std::string& tablePath() const { return m_path; }
    [[nodiscard]] int32_t directoryRows() const { return m_directoryRows; }
    [[nodiscard]] int32_t edition() const { return m_edition; }
    [[nodiscard]] const std::string& viewFilterText() const;

    void SetEdition(int32_t edition);
    // The view filter for a search text (see the expression in the .cpp).
    void SetViewFilter(const std::string& text);
    int32_t CountDirectoryRows();
    void AddRecord(int32_t recno);
    // The new row's number, 0 when the row could not be written.
    int32_t AppendRow(const TAgendaRecord& record);
    // False when the row is not there or could not be written.
    bool RewriteRow(const TAgendaRecord& record);
    // The deleted row's record number; 0 for a typed-in contact or a row that is not there.
    int32_t DeleteRow(int32_t row);
    // The row of the record under the current edition and its note; 0 and "" when not saved.
    int32_t FindRecord(int32_t recno, std::string& note) const;

    // Every live row that passes the view filter, in table order.
    void forEachRow(const std::function<void(const TAgendaRecord&)>& visit) const;
    // One live row (whatever the filter); false when there is none.
    bool readRow(int32_t row, TAgendaRecord& out) const;
    // The record numbers of the current edition's directory rows whose trimmed note is not empty.
    void forEachNotedRecord(const std::function<void(int32_t recno)>& visit) const;

private:
    struct RowKeys {
        int32_t recno = 0;
        int32_t edition = 0;
        bool live = false;
        std::string note;
    };
    static uint64_t key(int32_t recno, int32_t edition);
    void openOrCreate();
    void rebuildCache();
    void indexAdd(int32_t row);
    void indexRemove(int32_t row);
    [[nodiscard]] int32_t indexFirst(int32_t recno, int32_t edition) const;
    [[nodiscard]] std::string filterFor(const std::string& text) const;
    void compileFilter(const std::string& expression);
    void fillRecord(int32_t row, TAgendaRecord& out) const;
    // The texts only a typed-in contact keeps in its row (a directory row reads them from the
    // directory).
    void setTexts(DbfRecord& r, const TAgendaRecord& record) const;

    std::string m_path;
    std::unique_ptr<DbfTable> m_table;
    DbfStatus m_status;
    int32_t m_edition = 0;
    int32_t m_directoryRows = 0;
    std::string m_viewText;
    DbfFilter m_filter;
    bool m_filterValid = true;
    std::vector<RowKeys> m_rows;                                // index = row - 1
    std::unordered_map<uint64_t, std::vector<int32_t>> m_index; // ascending rows
    struct Fields {
        int recno, dbver, name, address, phone, locality, province, web, mail, note;
    } m_f{};
};
