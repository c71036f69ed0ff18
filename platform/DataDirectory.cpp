#include "platform/DataDirectory.h"

#include "engine/CaseInsensitivePath.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

const std::string kDataFolder = "data";

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

// Fields of one mount-table line: device, mount point, type, options, ...
std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        const size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
            ++pos;
        if (pos > start)
            out.push_back(line.substr(start, pos - start));
    }
    return out;
}

std::string discs(const std::string& mountTable, const DataDirectory::Probe& probe)
{
    for (const std::string& root : DataDirectory::opticalDiscs(mountTable)) {
        std::string found = probe(root == "/" ? root + kDataFolder : root + "/" + kDataFolder);
        if (!found.empty())
            return DataDirectory::withSeparator(std::move(found));
    }
    return {};
}

std::string here(const DataDirectory::Probe& probe)
{
    return DataDirectory::withSeparator(probe(kDataFolder));
}

} // namespace

DataDirectory::Probe DataDirectory::fileSystem()
{
    return [](const std::string& path) {
        if (path.empty())
            return std::string();
        std::string real = casepath::resolve(path);
        std::error_code ec;
        return std::filesystem::is_directory(real, ec) ? real : std::string();
    };
}

std::string DataDirectory::systemMountTable()
{
    // A file of the proc file system reports size 0: read it to its end.
    std::ifstream in("/proc/self/mounts", std::ios::binary);
    if (!in)
        return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string DataDirectory::locate(const std::string& database, const std::string& mountTable, const Probe& probe)
{
    if (std::string found = here(probe); !found.empty())
        return found;
    if (!database.empty()) {
        if (std::string found = probe(database); !found.empty())
            return withSeparator(std::move(found));
    }
    return discs(mountTable, probe);
}

std::string DataDirectory::scan(const std::string& mountTable, const Probe& probe)
{
    if (std::string found = here(probe); !found.empty())
        return found;
    return discs(mountTable, probe);
}

std::vector<std::string> DataDirectory::opticalDiscs(std::string_view mountTable)
{
    std::vector<std::string> out;
    while (!mountTable.empty()) {
        const size_t end = mountTable.find('\n');
        const std::string_view line = mountTable.substr(0, end);
        mountTable.remove_prefix(end == std::string_view::npos ? mountTable.size() : end + 1);
        const std::vector<std::string_view> f = fields(line);
        if (f.size() >= 3 && (f[2] == "iso9660" || f[2] == "udf"))
            out.push_back(decodeMountField(f[1]));
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::string DataDirectory::decodeMountField(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            const int code = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (code <= 0xFF) {
                out.push_back(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

std::string DataDirectory::withSeparator(std::string path)
{
    if (path.empty())
        return path;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.back() != '/')
        path.push_back('/');
    return path;
}
