#include "agenda/DbfRecord.h"

#include "agenda/DbfLayout.h"

DbfRecord::DbfRecord(const DbfHeader& header, const uint8_t* bytes)
    : m_header(&header), m_bytes(bytes, bytes + header.rowLength())
{}

const DbfField* DbfRecord::field(int index, char type) const
{
    const auto& fields = m_header->fields();
    if (index < 0 || static_cast<size_t>(index) >= fields.size() || fields[static_cast<size_t>(index)].type != type)
        return nullptr;
    return &fields[static_cast<size_t>(index)];
}

bool DbfRecord::isDeleted() const
{
    return m_bytes[0] == dbf::kDeleted;
}

std::optional<int32_t> DbfRecord::integer(int index) const
{
    const DbfField* f = field(index, 'I');
    return f ? dbf::decodeInteger(m_bytes.data() + f->offset) : std::nullopt;
}

std::string DbfRecord::character(int index) const
{
    const DbfField* f = field(index, 'C');
    return f ? dbf::decodeCharacter(m_bytes.data() + f->offset, f->length) : std::string();
}

std::optional<uint32_t> DbfRecord::memoBlock(int index) const
{
    const DbfField* f = field(index, 'M');
    return f ? dbf::decodeMemoPointer(m_bytes.data() + f->offset, f->length) : std::optional<uint32_t>(0);
}

std::string_view DbfRecord::raw(int index) const
{
    const auto& fields = m_header->fields();
    if (index < 0 || static_cast<size_t>(index) >= fields.size())
        return {};
    const DbfField& f = fields[static_cast<size_t>(index)];
    return {reinterpret_cast<const char*>(m_bytes.data() + f.offset), f.length};
}

void DbfRecord::setInteger(int index, std::optional<int32_t> value)
{
    if (const DbfField* f = field(index, 'I'))
        dbf::encodeInteger(m_bytes.data() + f->offset, value);
}

void DbfRecord::setCharacter(int index, std::string_view text)
{
    if (const DbfField* f = field(index, 'C'))
        dbf::encodeCharacter(m_bytes.data() + f->offset, f->length, text);
}

void DbfRecord::setMemo(int index, std::string text)
{
    if (field(index, 'M'))
        m_memos[index] = std::move(text);
}

void DbfRecord::setMemoBlock(int index, uint32_t block)
{
    if (const DbfField* f = field(index, 'M'))
        dbf::encodeMemoPointer(m_bytes.data() + f->offset, f->length, block);
}

void DbfRecord::setDeleted(bool deleted)
{
    m_bytes[0] = deleted ? dbf::kDeleted : dbf::kLive;
}
