// InfoLinkPolicy: where a navigation inside an information page goes. Pages of the data folder
// stay in the viewer; a link the user follows out of the folder opens in the user's own browser
// through the desktop's "open"; other navigations out of it (scripts, redirects) are dropped.
// Pure functions, any thread.
#pragma once

#include <QString>
#include <QUrl>

namespace infolinks {

enum class Route {
    Stay,  // load it in the viewer
    Shell, // hand it to the desktop and keep the page
    Drop,  // keep the page, open nothing
};

// True for a local file at or below dataFolder (an absolute path), and for the page-local
// addresses a page needs (about:blank, data: and blob: addresses).
[[nodiscard]] bool insideFolder(const QUrl& url, const QString& dataFolder);
// userLink: the user clicked a link or sent a form; mainFrame: the page itself, not a frame in it.
[[nodiscard]] Route route(const QUrl& url, const QString& dataFolder, bool userLink, bool mainFrame);

} // namespace infolinks
