// OutputFile: a file written front to back with one error state, so a writer can stream millions
// of entries and check once at the end. Closing is explicit; the destructor closes silently.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class OutputFile {
public:
    OutputFile() = default;
    explicit OutputFile(const std::string& path) { open(path); }
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool open(const std::string& path);
    void write(const void* data, size_t n);
    void write(const std::vector<uint8_t>& v) { write(v.data(), v.size()); }
    // Flushes and closes; false when any write, the flush or the close failed.
    bool close();
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] uint64_t written() const { return m_written; }

private:
    std::FILE* m_file = nullptr;
    bool m_ok = false;
    uint64_t m_written = 0;
    std::vector<char> m_buffer;
};

// Writes a whole file at once; false on any failure.
[[nodiscard]] bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
