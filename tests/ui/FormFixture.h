// A main window started on a generated sample data set, the way the program starts, with the
// machine replaced: the "data" folder is the sample, the lock lives in a private folder, the
// splash closes at once, the desktop's "open" is recorded and message boxes take queued answers.
#pragma once

#include "tests/support/GuiTestApp.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/SampleDataSet.h"
#include "tests/support/TempDir.h"

#include "platform/Printers.h"
#include "search/ThreadFillList.h"
#include "ui/HomePage.h"
#include "ui/Localization.h"
#include "ui/ResultList.h"
#include "ui/AgendaSection.h"
#include "ui/SearchPanel.h"
#include "ui/TFormMain.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

// The application as the program prepares it: Spanish, with its fonts.
inline QApplication& formTestApp()
{
    QApplication& app = guiTestApp();
    localization::prepare(app);
    return app;
}

// The sample every window test of a program shares: built once.
inline const SampleDataSet& sharedSample()
{
    static SampleDataSet* sample = [] {
        auto* s = new SampleDataSet;
        std::string error;
        if (!s->make(20000, 7, &error))
            ADD_FAILURE() << error;
        return s;
    }();
    return *sample;
}

// A StartupEnvironment whose "data" folder is dataFolder (empty: none) and whose optical discs are
// discs (each folder given is a disc's data folder).
inline StartupEnvironment testEnvironment(const std::string& dataFolder, const std::string& lockFolder,
                                          std::shared_ptr<RecordingShell> shell = std::make_shared<RecordingShell>())
{
    StartupEnvironment e = StartupEnvironment::forFolder(dataFolder, lockFolder);
    // The agenda lives in the test's own lock folder.
    e.env = [lockFolder](const std::string& name) -> std::optional<std::string> {
        if (name == "USERPROFILE")
            return lockFolder + "/";
        return std::nullopt;
    };
    e.shell = std::move(shell);
    return e;
}

// Runs the event loop until the worker has no pass asked for or running (at most a few seconds).
inline bool waitIdle(TFormMain& form)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        form.runHandOffs();
        if (form.searchSettled()) {
            QApplication::processEvents();
            return true;
        }
    }
    return false;
}

class FormFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        formTestApp();
        shell = std::make_shared<RecordingShell>();
        form = std::make_unique<TFormMain>(testEnvironment(sharedSample().folder(), lockDir.path().string(), shell));
        ASSERT_EQ(form->FormCreate(), TFormMain::Started::Ready);
        ASSERT_TRUE(waitIdle(*form));
    }
    void TearDown() override { form.reset(); }

    TempDir lockDir{"lock"};
    std::shared_ptr<RecordingShell> shell;
    std::unique_ptr<TFormMain> form;
};
