// A fresh folder under the system's temporary folder, removed with the object.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

class TempDir {
public:
    explicit TempDir(const std::string& tag)
    {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("ortelia-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};
