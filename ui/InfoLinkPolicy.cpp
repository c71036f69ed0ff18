#include "ui/InfoLinkPolicy.h"

#include <QDir>
#include <QFileInfo>

namespace infolinks {

bool insideFolder(const QUrl& url, const QString& dataFolder)
{
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("about") || scheme == QLatin1String("data") || scheme == QLatin1String("blob"))
        return true;
    if (!url.isLocalFile() || dataFolder.isEmpty())
        return false;
    // Paths are compared cleaned, so "info/../../x" does not pass for a page of the folder.
    const QString folder = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath());
    const QString file = QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath());
    return file == folder || file.startsWith(folder + QLatin1Char('/'));
}

Route route(const QUrl& url, const QString& dataFolder, bool userLink, bool mainFrame)
{
    if (insideFolder(url, dataFolder) || !mainFrame)
        return Route::Stay;
    return userLink ? Route::Shell : Route::Drop;
}

} // namespace infolinks
