#include "platform/SettingsFile.h"

#include "platform/IniFile.h"

#include <filesystem>
#include <system_error>

namespace {

void take(const IniFile& ini, std::string& database, std::string& appServer)
{
    database = ini.value("QD", "Database").value_or(std::string(SettingsFile::kDefaultDatabase));
    appServer = ini.value("QD", "AppServer").value_or(std::string(SettingsFile::kDefaultAppServer));
}

} // namespace

std::string SettingsFile::pathFor(const std::string& executable)
{
    if (executable.empty())
        return {};
    return std::filesystem::path(executable).replace_extension(".ini").string();
}

std::string SettingsFile::executablePath()
{
    std::error_code ec;
    std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    if (ec)
        return {};
    // A program replaced on disk while it runs still has its settings file at the old path.
    constexpr std::string_view kDeleted = " (deleted)";
    if (exe.size() > kDeleted.size() && exe.compare(exe.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0)
        exe.resize(exe.size() - kDeleted.size());
    return exe;
}

std::string SettingsFile::defaultPath()
{
    return pathFor(executablePath());
}

bool SettingsFile::load(const std::string& path)
{
    IniFile ini;
    const bool read = ini.load(path);
    take(ini, m_database, m_appServer);
    return read;
}

void SettingsFile::parse(std::string_view text)
{
    IniFile ini;
    ini.parse(text);
    take(ini, m_database, m_appServer);
}
