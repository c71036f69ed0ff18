#include "builder/OutputFile.h"

OutputFile::~OutputFile()
{
    if (m_file)
        std::fclose(m_file);
}

bool OutputFile::open(const std::string& path)
{
    if (m_file)
        std::fclose(m_file);
    m_written = 0;
    m_file = std::fopen(path.c_str(), "wb");
    m_ok = m_file != nullptr;
    if (m_file) {
        m_buffer.resize(1 << 20);
        std::setvbuf(m_file, m_buffer.data(), _IOFBF, m_buffer.size());
    }
    return m_ok;
}

void OutputFile::write(const void* data, size_t n)
{
    if (!m_file || n == 0)
        return;
    if (std::fwrite(data, 1, n, m_file) != n)
        m_ok = false;
    m_written += n;
}

bool OutputFile::close()
{
    if (!m_file)
        return false;
    if (std::fflush(m_file) != 0)
        m_ok = false;
    if (std::fclose(m_file) != 0)
        m_ok = false;
    m_file = nullptr;
    return m_ok;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    OutputFile f(path);
    f.write(bytes);
    return f.close();
}
