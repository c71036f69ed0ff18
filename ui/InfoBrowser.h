// InfoBrowser: the embedded web browser of the information section, as the section uses it:
// navigate and hear when the load ends, read the address and whether it is still loading. The
// program's one is the Qt WebEngine view (ui/web/WebEngineInfoBrowser.h, its own target so the
// window library does not need the engine); tests use a recording fake. The object owns its
// widget, a Qt child of the panel it was made for. Main thread.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;
class ShellOpener;

class InfoBrowser {
public:
    virtual ~InfoBrowser() = default;

    [[nodiscard]] virtual QWidget* widget() = 0;
    virtual void navigate(const QUrl& url) = 0;
    [[nodiscard]] virtual QUrl url() const = 0;
    [[nodiscard]] virtual bool isLoading() const = 0;
    // Run each time a load ends, well or not.
    virtual void setLoadEnded(std::function<void()> ended) = 0;
};

// Makes the browser on first use. parent: the panel it fills; dataFolder: the folder whose pages it
// shows (links out of it go to shell); shell: the desktop's "open", may be null.
using InfoBrowserFactory = std::function<std::unique_ptr<InfoBrowser>(QWidget* parent, const QString& dataFolder,
                                                                      std::shared_ptr<ShellOpener> shell)>;
