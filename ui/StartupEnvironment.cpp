#include "ui/StartupEnvironment.h"

#include "platform/Printers.h"
#include "platform/SettingsFile.h"
#include "platform/ShellOpen.h"

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
