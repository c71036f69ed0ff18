#include "engine/hfile.h"

bool hfile::OpenCoded(const std::string& dataPath, const std::string& tablePath, const SourceOpener& opener)
{
    Close();
    if (!opener)
        return false;
    std::unique_ptr<ByteSource> source = opener(dataPath);
    if (!source)
        return false;
    huffman table;
    if (!table.LoadTable(tablePath, opener))
        return false; // the data source is dropped here: no file stays open
    m_table = table;
    m_source = std::move(source);
    m_position = 0;
    m_sourceEnded = false;
    m_atEnd = false;
    return true;
}

void hfile::Close()
{
    m_source.reset();
    m_position = 0;
    m_sourceEnded = false;
    m_atEnd = false;
}

int32_t hfile::ReadLine(char (&dst)[kLineCapacity])
{
    dst[0] = 0;
    if (!m_source)
        return 0;
    // A short read on the previous line already met the end; this call only reports it.
    if (m_sourceEnded) {
        m_atEnd = true;
        return 0;
    }
    uint8_t length = 0;
    if (m_source->readAt(m_position, &length, 1) != 1) {
        m_sourceEnded = true;
        m_atEnd = true;
        return 0;
    }
    ++m_position;
    uint8_t coded[kMaxCodedBytes];
    int64_t got = length > 0 ? m_source->readAt(m_position, coded, length) : 0;
    if (got < 0)
        got = 0; // a failed seek reads as the end of the file
    if (got < length)
        m_sourceEnded = true;
    m_position += got;
    return m_table.Decode(dst, kLineCapacity, coded, static_cast<int32_t>(got));
}

bool hfile::ReadLine(std::string& line)
{
    char buffer[kLineCapacity];
    const int32_t n = ReadLine(buffer);
    line.assign(buffer, static_cast<size_t>(n));
    return !IsEof();
}
