// IniFile: a reader for INI files written on Windows: "[section]" lines and "key=value" lines,
// CR LF, LF or CR line ends, ';' comment lines. Section and key names compare without case; values
// are kept byte for byte (trimmed of surrounding blanks only: a backslash is an ordinary character
// and quotes are part of the value). Read-only; one owner, any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniFile {
public:
    // Larger files are read up to this size only: a settings file is a few lines.
    static constexpr size_t kMaxBytes = 1 << 20;

    // False when the file cannot be read; the entries are then empty.
    bool load(const std::string& path);
    void parse(std::string_view text);

    // The value of the first line with this key in a section of this name.
    [[nodiscard]] std::optional<std::string> value(std::string_view section, std::string_view key) const;
    [[nodiscard]] size_t entries() const { return m_entries.size(); }

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<Entry> m_entries;
};
