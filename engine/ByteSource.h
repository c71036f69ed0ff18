// ByteSource: the I/O seam under every data-file reader. A source is a read-only sequence of bytes
// with positioned reads; the data set on disk uses FileByteSource, tests use MemoryByteSource or
// their own failing sources. Owned by the reader that opened it; not shared between threads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Size in bytes, or -1 when it cannot be measured.
    [[nodiscard]] virtual int64_t size() = 0;
    // Copies up to n bytes from position pos into dst. Returns the number copied (0 at or past the
    // end), or -1 when the position cannot be reached (a failed seek).
    [[nodiscard]] virtual int64_t readAt(int64_t pos, void* dst, int64_t n) = 0;
};

// Opens a path for reading in raw byte mode; none when it cannot be opened.
using SourceOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path)>;

// The default opener: a plain file ("rb").
[[nodiscard]] std::unique_ptr<ByteSource> openFileSource(const std::string& path);

// Reads a whole source into memory (for small tables); false when it cannot be opened.
[[nodiscard]] bool readWholeSource(const SourceOpener& opener, const std::string& path, std::vector<uint8_t>& out,
                                   int64_t limit = INT64_MAX);

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    [[nodiscard]] int64_t size() override { return static_cast<int64_t>(m_bytes.size()); }
    [[nodiscard]] int64_t readAt(int64_t pos, void* dst, int64_t n) override;

private:
    std::vector<uint8_t> m_bytes;
};
