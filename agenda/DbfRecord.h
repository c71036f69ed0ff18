// DbfRecord: one row of a table as bytes, read and edited field by field before it is appended or
// posted. Memo texts set here wait in the record until the table writes them to the memo file.
// Plain value, tied to the header it was made from (which must outlive it).
#pragma once

#include "agenda/DbfHeader.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class DbfRecord {
public:
    DbfRecord(const DbfHeader& header, const uint8_t* bytes);

    [[nodiscard]] bool isDeleted() const;
    // Field access by index (DbfHeader::fieldIndex); a field of another type reads as blank.
    [[nodiscard]] std::optional<int32_t> integer(int field) const;
    [[nodiscard]] std::string character(int field) const;
    // The memo's first block, 0 for none, nullopt when the stored pointer is not a number.
    [[nodiscard]] std::optional<uint32_t> memoBlock(int field) const;
    // The raw bytes of a field, as the filter compares them (character fields keep their padding).
    [[nodiscard]] std::string_view raw(int field) const;

    void setInteger(int field, std::optional<int32_t> value);
    void setCharacter(int field, std::string_view text);
    // Written to the memo file when the record is posted; an empty text clears the pointer.
    void setMemo(int field, std::string text);

    [[nodiscard]] const std::vector<uint8_t>& bytes() const { return m_bytes; }
    [[nodiscard]] std::map<int, std::string>& pendingMemos() { return m_memos; }
    void setMemoBlock(int field, uint32_t block);
    void setDeleted(bool deleted);

private:
    [[nodiscard]] const DbfField* field(int index, char type) const;

    const DbfHeader* m_header;
    std::vector<uint8_t> m_bytes;
    std::map<int, std::string> m_memos;
};
