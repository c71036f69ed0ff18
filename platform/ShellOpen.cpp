#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>

bool ShellOpen::openAddress(const QString& address)
{
    const QUrl url = addressUrl(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool ShellOpen::openFile(const QString& path)
{
    const QUrl url = fileUrl(path);
    return url.isValid() && QDesktopServices::openUrl(url);
}

QUrl ShellOpen::addressUrl(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {};
    return url;
}

QUrl ShellOpen::fileUrl(const QString& path)
{
    if (path.isEmpty())
        return {};
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}
