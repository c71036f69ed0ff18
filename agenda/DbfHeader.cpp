#include "agenda/DbfHeader.h"

#include "agenda/DbfLayout.h"
#include "engine/Bytes.h"

#include <cctype>
#include <cstring>
#include <ctime>

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

DbfStatus DbfHeader::headerLength(const uint8_t* bytes, size_t size, size_t& length)
{
    if (size < dbf::kHeaderSize)
        return DbfStatus::damaged("table header cut short");
    if ((bytes[dbf::kVersion] & dbf::kLevelMask) != dbf::kLevel7)
        return DbfStatus::damaged("not a level 7 table");
    length = bytes::le16(bytes + dbf::kHeaderLength);
    if (length < dbf::kHeaderSize + dbf::kDescriptorSize + 1)
        return DbfStatus::damaged("header length too small");
    return DbfStatus::ok();
}

DbfStatus DbfHeader::decode(const uint8_t* bytes, size_t size, DbfHeader& out)
{
    size_t length = 0;
    if (DbfStatus s = headerLength(bytes, size, length); !s.isOk())
        return s;
    if (size < length)
        return DbfStatus::damaged("table header cut short");
    DbfHeader h;
    h.m_bytes.assign(bytes, bytes + length);
    h.m_rowLength = bytes::le16(bytes + dbf::kRowLength);
    size_t offset = 1;
    size_t pos = dbf::kHeaderSize;
    bool terminated = false;
    while (pos < length) {
        if (bytes[pos] == dbf::kDescriptorEnd) {
            terminated = true;
            break;
        }
        if (pos + dbf::kDescriptorSize > length)
            break;
        const uint8_t* d = bytes + pos;
        DbfField f;
        size_t n = 0;
        while (n < dbf::kDescNameSize && d[dbf::kDescName + n] != 0)
            ++n;
        f.name.assign(reinterpret_cast<const char*>(d + dbf::kDescName), n);
        f.type = static_cast<char>(std::toupper(d[dbf::kDescType]));
        f.length = d[dbf::kDescLength];
        f.decimals = d[dbf::kDescDecimals];
        f.offset = offset;
        if (f.name.empty() || f.length == 0)
            return DbfStatus::damaged("field descriptor " + std::to_string(h.m_fields.size() + 1) + " is empty");
        if ((f.type == 'I' && f.length != dbf::kIntegerWidth) || (f.type == 'M' && f.length != dbf::kMemoPointerWidth))
            return DbfStatus::damaged("field " + f.name + " has an unexpected width");
        offset += f.length;
        h.m_fields.push_back(std::move(f));
        pos += dbf::kDescriptorSize;
    }
    if (!terminated && pos != length)
        return DbfStatus::damaged("field descriptors run past the header");
    if (h.m_fields.empty())
        return DbfStatus::damaged("table without fields");
    if (h.m_rowLength < offset)
        return DbfStatus::damaged("row length " + std::to_string(h.m_rowLength) + " shorter than its fields (" +
                                  std::to_string(offset) + ")");
    out = std::move(h);
    return DbfStatus::ok();
}

DbfStatus DbfHeader::make(const std::vector<DbfField>& fields, DbfHeader& out)
{
    if (fields.empty())
        return DbfStatus::invalid("no fields");
    DbfHeader h;
    const size_t length = dbf::kHeaderSize + fields.size() * dbf::kDescriptorSize + 1;
    if (length > 0xFFFF)
        return DbfStatus::invalid("too many fields");
    h.m_bytes.assign(length, 0);
    uint8_t* b = h.m_bytes.data();
    bool memo = false;
    size_t offset = 1;
    for (size_t i = 0; i < fields.size(); ++i) {
        DbfField f = fields[i];
        f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(f.type)));
        if (f.type == 'I')
            f.length = dbf::kIntegerWidth;
        else if (f.type == 'M')
            f.length = dbf::kMemoPointerWidth;
        else if (f.type != 'C' || f.length == 0)
            return DbfStatus::invalid("unsupported field " + f.name);
        if (f.name.empty() || f.name.size() > dbf::kDescNameSize - 1)
            return DbfStatus::invalid("bad field name " + f.name);
        memo |= f.type == 'M';
        uint8_t* d = b + dbf::kHeaderSize + i * dbf::kDescriptorSize;
        std::memcpy(d + dbf::kDescName, f.name.data(), f.name.size());
        d[dbf::kDescType] = static_cast<uint8_t>(f.type);
        d[dbf::kDescLength] = f.length;
        f.offset = offset;
        offset += f.length;
        h.m_fields.push_back(std::move(f));
    }
    if (offset > 0xFFFF)
        return DbfStatus::invalid("row too long");
    b[length - 1] = dbf::kDescriptorEnd;
    b[dbf::kVersion] = memo ? dbf::kLevel7WithMemo : dbf::kLevel7;
    bytes::setLe32(b + dbf::kRowCount, 0);
    b[dbf::kHeaderLength] = static_cast<uint8_t>(length);
    b[dbf::kHeaderLength + 1] = static_cast<uint8_t>(length >> 8);
    b[dbf::kRowLength] = static_cast<uint8_t>(offset);
    b[dbf::kRowLength + 1] = static_cast<uint8_t>(offset >> 8);
    std::memcpy(b + dbf::kDriverName, dbf::kDriverWindows1252, std::strlen(dbf::kDriverWindows1252));
    h.m_rowLength = offset;
    h.stampForWrite(0);
    out = std::move(h);
    return DbfStatus::ok();
}

uint32_t DbfHeader::storedRowCount() const
{
    return bytes::le32(m_bytes.data() + dbf::kRowCount);
}

bool DbfHeader::hasMemo() const
{
    for (const DbfField& f : m_fields)
        if (f.type == 'M')
            return true;
    return false;
}

bool DbfHeader::productionIndexFlag() const
{
    return m_bytes[dbf::kProductionIndex] != 0;
}

int DbfHeader::fieldIndex(std::string_view name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (sameName(m_fields[i].name, name))
            return static_cast<int>(i);
    return -1;
}

void DbfHeader::stampForWrite(uint32_t rowCount)
{
    uint8_t* b = m_bytes.data();
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    b[dbf::kDate] = static_cast<uint8_t>(t.tm_year);
    b[dbf::kDate + 1] = static_cast<uint8_t>(t.tm_mon + 1);
    b[dbf::kDate + 2] = static_cast<uint8_t>(t.tm_mday);
    bytes::setLe32(b + dbf::kRowCount, rowCount);
    // No index is kept here: a production index left flagged would go stale with the first write.
    b[dbf::kProductionIndex] = 0;
}
