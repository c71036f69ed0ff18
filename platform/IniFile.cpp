#include "platform/IniFile.h"

#include "engine/Cp1252.h"

#include <fstream>
#include <iterator>

namespace {

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Windows compares profile names without case, in its single-byte code page.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (cp1252::upper(static_cast<unsigned char>(a[i])) != cp1252::upper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

bool IniFile::load(const std::string& path)
{
    m_entries.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string text(kMaxBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    parse(text);
    return true;
}

void IniFile::parse(std::string_view text)
{
    m_entries.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") // a byte-order mark left by an editor
        text.remove_prefix(3);
    std::string section;
    bool inSection = false; // keys above the first section header belong to none
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos) {
            text = {};
        } else {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            text.remove_prefix(end + (crlf ? 2 : 1));
        }
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos)
                continue; // not a header: ignored, the current section goes on
            section = std::string(trimBlanks(line.substr(1, close - 1)));
            inSection = true;
            continue;
        }
        const size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos)
            continue;
        const std::string_view key = trimBlanks(line.substr(0, eq));
        if (key.empty())
            continue;
        m_entries.push_back({section, std::string(key), std::string(trimBlanks(line.substr(eq + 1)))});
    }
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    for (const Entry& e : m_entries) {
        if (sameName(e.section, section) && sameName(e.key, key))
            return e.value;
    }
    return std::nullopt;
}
