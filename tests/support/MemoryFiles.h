// Test doubles at the I/O seam: an in-memory file system handing out MemoryByteSources, and
// sources that fail on purpose (seeks that fail, reads that stop short).
#pragma once

#include "engine/ByteSource.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class MemoryFiles {
public:
    void put(const std::string& path, std::vector<uint8_t> bytes) { m_files[path] = std::move(bytes); }
    [[nodiscard]] int opens() const { return m_opens; }

    [[nodiscard]] SourceOpener opener()
    {
        return [this](const std::string& path) -> std::unique_ptr<ByteSource> {
            const auto it = m_files.find(path);
            if (it == m_files.end())
                return nullptr;
            ++m_opens;
            return std::make_unique<MemoryByteSource>(it->second);
        };
    }

private:
    std::map<std::string, std::vector<uint8_t>> m_files;
    int m_opens = 0;
};

// Behaves like a file of the given size whose seeks fail from failFrom on, counting every read.
class FailingSource final : public ByteSource {
public:
    FailingSource(std::vector<uint8_t> bytes, int64_t failFrom, int* reads)
        : m_bytes(std::move(bytes)), m_failFrom(failFrom), m_reads(reads)
    {}
    int64_t size() override { return static_cast<int64_t>(m_bytes.size()); }
    int64_t readAt(int64_t pos, void* dst, int64_t n) override
    {
        if (m_reads)
            ++*m_reads;
        if (pos >= m_failFrom)
            return -1;
        return MemoryByteSource(m_bytes).readAt(pos, dst, n);
    }

private:
    std::vector<uint8_t> m_bytes;
    int64_t m_failFrom;
    int* m_reads;
};

inline std::vector<uint8_t> iota(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(i * 7 + 3);
    return v;
}
