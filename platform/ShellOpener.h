// ShellOpener: hands an address or a file to the desktop's default handler (the browser, a help
// viewer). The program never looks at the outcome beyond the returned flag. The real one is
// ShellOpen; tests use tests/support/RecordingShell.h. Main thread.
#pragma once

#include <QString>

class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // A web address (http or https). False when it was refused or could not be handed over.
    virtual bool openAddress(const QString& address) = 0;
    // A local file, relative to the current directory unless absolute.
    virtual bool openFile(const QString& path) = 0;
};
