#include "ui/StartupEnvironment.h"

#include "platform/Printers.h"
#include "platform/SettingsFile.h"
#include "platform/ShellOpen.h"

namespace {

class NoShell final : public ShellOpener {
public:
    bool openAddress(const QString&) override { return false; }
    bool openFile(const QString&) override { return false; }
};

} // namespace

StartupEnvironment StartupEnvironment::system()
{
    StartupEnvironment e;
    e.settingsPath = SettingsFile::defaultPath();
    e.mountTable = DataDirectory::systemMountTable;
    e.probe = DataDirectory::fileSystem();
    e.printers = std::make_shared<Printers>();
    e.shell = std::make_shared<ShellOpen>();
    return e;
}

StartupEnvironment StartupEnvironment::forFolder(const std::string& dataFolder, const std::string& lockFolder)
{
    StartupEnvironment e;
    e.mountTable = [] { return std::string(); };
    e.probe = [dataFolder](const std::string& path) { return path == "data" ? dataFolder : std::string(); };
    e.lockFolder = lockFolder;
    // The agenda goes beside the lock: a test or a screenshot run never touches the user's own.
    e.env = [lockFolder](const std::string& name) -> std::optional<std::string> {
        if (name == "USERPROFILE" && !lockFolder.empty())
            return lockFolder + "/";
        return systemEnvironment(name);
    };
    e.printers = std::make_shared<Printers>();
    e.shell = std::make_shared<NoShell>();
    e.splashCloseMs = 0;
    return e;
}
