// ShellOpen: the desktop's default handler through QDesktopServices. No command line is ever
// built, so nothing in an address can reach a shell. Only http and https addresses are handed
// over: addresses come from the data set, and a scheme such as file: or a custom handler's must
// not turn a record's web field into something else. Main thread.
#pragma once

#include "platform/ShellOpener.h"

#include <QUrl>

class ShellOpen final : public ShellOpener {
public:
    bool openAddress(const QString& address) override;
    bool openFile(const QString& path) override;

    // The URL handed over for an address, or an invalid one when the address is refused.
    [[nodiscard]] static QUrl addressUrl(const QString& address);
    // The file: URL of a local file (made absolute), or an invalid one for an empty path.
    [[nodiscard]] static QUrl fileUrl(const QString& path);
};
