#include "builder/RecordStoreWriter.h"

#include "engine/Bytes.h"

RecordStoreWriter::RecordStoreWriter(const std::string& dataPath, const std::string& offsetPath, const huffman& codes)
    : m_codes(codes), m_data(dataPath), m_offsets(offsetPath)
{}

bool RecordStoreWriter::add(const RecordFields& r, std::string* why)
{
    m_scratch.clear();
    if (!encodeRecord(r, m_codes, m_scratch, why))
        return false;
    if (m_data.written() > INT32_MAX) {
        if (why)
            *why = "record file beyond 2 GiB";
        return false;
    }
    uint8_t offset[4];
    bytes::setLe32(offset, static_cast<uint32_t>(m_data.written()));
    m_offsets.write(offset, 4);
    m_data.write(m_scratch);
    ++m_count;
    return true;
}

bool RecordStoreWriter::finish()
{
    const bool data = m_data.close();
    const bool offsets = m_offsets.close();
    return data && offsets;
}

std::vector<uint8_t> offsetTableBytes(const std::vector<uint32_t>& offsets)
{
    std::vector<uint8_t> out;
    out.reserve(offsets.size() * 4);
    for (uint32_t o : offsets)
        bytes::putLe32(out, o);
    return out;
}
