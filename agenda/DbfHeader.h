// DbfHeader: the header of a level 7 table as bytes (kept verbatim, so a rewrite keeps what this
// module does not understand: field properties, language driver, reserved bytes) and as decoded
// fields. Plain value; one owner at a time.
#pragma once

#include "agenda/DbfStatus.h"

#include <cstdint>
#include <string>
#include <vector>

struct DbfField {
    std::string name; // as stored; looked up case-insensitively
    char type = 'C';
    uint8_t length = 0;
    uint8_t decimals = 0;
    size_t offset = 0; // within the row, after the flag byte
};

class DbfHeader {
public:
    // Decodes the first `size` bytes of a table file (at least the whole header). Never reads
    // past size; refuses anything but a consistent level 7 header.
    static DbfStatus decode(const uint8_t* bytes, size_t size, DbfHeader& out);
    // The 68 bytes of the fixed header: enough to learn the header length before reading it all.
    static DbfStatus headerLength(const uint8_t* bytes, size_t size, size_t& length);
    // A new header for the given fields (only C, I and M), with the memo flag when there is a memo.
    static DbfStatus make(const std::vector<DbfField>& fields, DbfHeader& out);

    [[nodiscard]] const std::vector<uint8_t>& bytes() const { return m_bytes; }
    [[nodiscard]] const std::vector<DbfField>& fields() const { return m_fields; }
    [[nodiscard]] size_t headerLength() const { return m_bytes.size(); }
    [[nodiscard]] size_t rowLength() const { return m_rowLength; }
    [[nodiscard]] uint32_t storedRowCount() const;
    [[nodiscard]] bool hasMemo() const;
    [[nodiscard]] bool productionIndexFlag() const;
    // -1 when there is no such field.
    [[nodiscard]] int fieldIndex(std::string_view name) const;

    // What every write puts in: the row count, today's date, the production index flag cleared.
    void stampForWrite(uint32_t rowCount);

private:
    std::vector<uint8_t> m_bytes;
    std::vector<DbfField> m_fields;
    size_t m_rowLength = 0;
};
