// StartupEnvironment: what the main window takes from the machine while it starts: the settings
// file, the data-directory search, the single-instance lock folder, the environment, printers, the
// desktop's "open", the information pages' browser and the splash timing. The program uses
// system() with the WebEngine browser; tests hand in their own folders, mount tables, printers, a
// recording shell and a recording browser. Main thread.
#pragma once

#include "platform/DataDirectory.h"
#include "platform/EnvLookup.h"
#include "ui/InfoBrowser.h"

#include <functional>
#include <memory>
#include <string>

class Printers;
class ShellOpener;

struct StartupEnvironment {
    std::string settingsPath;                 // the settings file; empty: none
    std::function<std::string()> mountTable;  // the mount table's text
    DataDirectory::Probe probe;               // finds folders (case ignored)
    std::string lockFolder;                   // empty: the user's runtime folder
    EnvLookup env = systemEnvironment;        // USERPROFILE, HOME, TMP...
    std::shared_ptr<const Printers> printers; // installed printers
    std::shared_ptr<ShellOpener> shell;       // the desktop's "open"
    int splashCloseMs = 3000;                 // the splash's close timer
    InfoBrowserFactory browser;               // the information pages' browser; none: no pages

    // The real machine.
    [[nodiscard]] static StartupEnvironment system();
    // A machine whose folder "data" is dataFolder and that has no disc, opens nothing through the
    // desktop, keeps the agenda in the lock folder and closes the splash at once: the tests, the
    // benchmarks and the screenshot tool.
    [[nodiscard]] static StartupEnvironment forFolder(const std::string& dataFolder, const std::string& lockFolder);
};
