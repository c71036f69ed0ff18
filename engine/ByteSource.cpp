#include "engine/ByteSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(std::FILE* f) : m_file(f) {}

    int64_t size() override
    {
        if (std::fseek(m_file.get(), 0, SEEK_END) != 0)
            return -1;
        const long end = std::ftell(m_file.get());
        m_pos = -1;
        return end;
    }

    int64_t readAt(int64_t pos, void* dst, int64_t n) override
    {
        if (pos < 0 || n < 0)
            return -1;
        // Consecutive reads (an index walk, a sequential record scan) need no seek.
        if (pos != m_pos) {
            if (std::fseek(m_file.get(), static_cast<long>(pos), SEEK_SET) != 0) {
                m_pos = -1;
                return -1;
            }
        }
        const size_t got = std::fread(dst, 1, static_cast<size_t>(n), m_file.get());
        m_pos = pos + static_cast<int64_t>(got);
        if (got < static_cast<size_t>(n))
            std::clearerr(m_file.get());
        return static_cast<int64_t>(got);
    }

private:
    std::unique_ptr<std::FILE, FileCloser> m_file;
    int64_t m_pos = -1;
};

} // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return nullptr;
    return std::make_unique<FileByteSource>(f);
}

bool readWholeSource(const SourceOpener& opener, const std::string& path, std::vector<uint8_t>& out, int64_t limit)
{
    std::unique_ptr<ByteSource> src = opener(path);
    if (!src)
        return false;
    int64_t n = src->size();
    if (n < 0)
        n = 0;
    if (n > limit)
        n = limit;
    out.resize(static_cast<size_t>(n));
    const int64_t got = n > 0 ? src->readAt(0, out.data(), n) : 0;
    out.resize(static_cast<size_t>(got > 0 ? got : 0));
    return true;
}

int64_t MemoryByteSource::readAt(int64_t pos, void* dst, int64_t n)
{
    if (pos < 0 || n < 0)
        return -1;
    const auto size = static_cast<int64_t>(m_bytes.size());
    if (pos >= size || n == 0)
        return 0;
    const int64_t k = std::min(n, size - pos);
    std::memcpy(dst, m_bytes.data() + pos, static_cast<size_t>(k));
    return k;
}
