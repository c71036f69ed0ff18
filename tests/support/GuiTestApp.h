// The one QApplication of a GUI test program, made on first use: offscreen unless a platform is
// chosen, with a private runtime folder (Qt refuses a shared one when running as root). Kept to
// the end of the process, as the window classes expect. Modal dialogs and boxes run headless.
// A test program without a fixture that makes it registers GuiTestEnvironment instead of writing
// its own main().
#pragma once

#include "widgets/ModalSeam.h"

#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline QApplication& guiTestApp()
{
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            char pattern[] = "/tmp/ortelia-xdg-XXXXXX";
            if (const char* dir = ::mkdtemp(pattern))
                qputenv("XDG_RUNTIME_DIR", QByteArray(dir));
        }
        static int argc = 1;
        static char name[] = "ortelia-tests";
        static char* argv[] = {name, nullptr};
        auto* made = new QApplication(argc, argv);
        modal::setHeadless(true); // a dialog the test did not expect never blocks the run
        return made;
    }();
    return *app;
}

// Makes the application before the first test: register once per test program with
// ::testing::AddGlobalTestEnvironment(new GuiTestEnvironment).
class GuiTestEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { guiTestApp(); }
};
