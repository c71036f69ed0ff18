// WebEngineInfoBrowser: the information section's browser on Qt WebEngine (a real engine: the
// publisher's pages may use styles and scripts). Pages of the data folder load in the view; a
// link the user follows out of it, also one that asks for a new window, goes to the desktop's
// "open" (ui/InfoLinkPolicy.h). Owns its view, a Qt child of the panel it fills. Main thread.
// As root the engine needs QTWEBENGINE_DISABLE_SANDBOX=1 in the environment.
#pragma once

#include "ui/InfoBrowser.h"

// The factory the program hands to the main window.
[[nodiscard]] std::unique_ptr<InfoBrowser> makeWebEngineInfoBrowser(QWidget* parent, const QString& dataFolder,
                                                                    std::shared_ptr<ShellOpener> shell);
