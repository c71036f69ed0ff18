// SettingsFile: the program's settings, read once at start-up from the file named like the
// executable with ".ini" ("/opt/ortelia/ortelia" -> "/opt/ortelia/ortelia.ini"), section "QD":
// "Database" (the data directory, used only when there is no "data" folder) and "AppServer" (the
// base address of the server scripts). A missing file or key gives the defaults. Never written.
// Owned by the main window; main thread.
#pragma once

#include <string>
#include <string_view>

class SettingsFile {
public:
    // Empty: search for the data directory.
    static constexpr std::string_view kDefaultDatabase = "";
    // The publisher's server under a reserved example domain (it never resolves); the path is the one the server
    // scripts live under.
    static constexpr std::string_view kDefaultAppServer = "http://www.ortelia.example/dynamicFiles/cd/";

    // The settings file of an executable: its extension, if any, replaced by ".ini".
    [[nodiscard]] static std::string pathFor(const std::string& executable);
    // This process's executable (from /proc/self/exe); empty when the link cannot be read.
    [[nodiscard]] static std::string executablePath();
    // pathFor(executablePath()), or empty when the executable is unknown.
    [[nodiscard]] static std::string defaultPath();

    // Reads the file; false (and the defaults) when it cannot be read.
    bool load(const std::string& path);
    // Takes the settings from the text of a settings file.
    void parse(std::string_view text);

    [[nodiscard]] const std::string& database() const { return m_database; }
    [[nodiscard]] const std::string& appServer() const { return m_appServer; }

private:
    std::string m_database{kDefaultDatabase};
    std::string m_appServer{kDefaultAppServer};
};
