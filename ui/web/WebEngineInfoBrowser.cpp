#include "ui/web/WebEngineInfoBrowser.h"

#include "platform/ShellOpener.h"
#include "ui/InfoLinkPolicy.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

void handToShell(const QUrl& url, ShellOpener* shell)
{
    if (!shell)
        return;
    if (url.isLocalFile())
        shell->openFile(url.toLocalFile());
    else
        shell->openAddress(url.toString());
}

// A page that keeps the viewer on the data folder's pages.
class FolderPage final : public QWebEnginePage {
public:
    FolderPage(QWebEngineProfile* profile, QString folder, std::shared_ptr<ShellOpener> shell, QObject* parent)
        : QWebEnginePage(profile, parent), m_folder(std::move(folder)), m_shell(std::move(shell))
    {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        const bool userLink = type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted;
        switch (infolinks::route(url, m_folder, userLink, isMainFrame)) {
        case infolinks::Route::Stay: return true;
        case infolinks::Route::Shell: handToShell(url, m_shell.get()); return false;
        case infolinks::Route::Drop: return false;
        }
        return false;
    }

    // A link that asks for a window of its own: a throw-away page catches its address, which goes
    // to the desktop like any link out of the folder.
    QWebEnginePage* createWindow(WebWindowType) override
    {
        auto* catcher = new QWebEnginePage(profile(), this);
        connect(catcher, &QWebEnginePage::urlChanged, this, [this, catcher](const QUrl& url) {
            if (!url.isEmpty() && url.scheme() != QLatin1String("about"))
                handToShell(url, m_shell.get());
            catcher->deleteLater();
        });
        return catcher;
    }

private:
    QString m_folder;
    std::shared_ptr<ShellOpener> m_shell;
};

// An off-the-record profile for the process: the pages leave no cache or cookies in the user's
// folders. Kept to the end of the application, after every page that uses it.
QWebEngineProfile* sharedProfile()
{
    static QPointer<QWebEngineProfile> profile;
    if (!profile)
        profile = new QWebEngineProfile(QCoreApplication::instance());
    return profile;
}

class WebEngineInfoBrowser final : public InfoBrowser {
public:
    WebEngineInfoBrowser(QWidget* parent, const QString& folder, std::shared_ptr<ShellOpener> shell)
        : m_view(new QWebEngineView(parent))
    {
        m_page = new FolderPage(sharedProfile(), folder, std::move(shell), m_view);
        m_view->setPage(m_page);
        QObject::connect(m_page, &QWebEnginePage::loadFinished, m_view, [this](bool) {
            m_loading = false;
            if (m_ended)
                m_ended();
        });
    }
    ~WebEngineInfoBrowser() override { delete m_view.data(); }

    QWidget* widget() override { return m_view; }
    void navigate(const QUrl& url) override
    {
        m_loading = true; // until the engine reports the end of this load
        m_view->setUrl(url);
    }
    QUrl url() const override { return m_view ? m_view->url() : QUrl(); }
    bool isLoading() const override { return m_loading; }
    void setLoadEnded(std::function<void()> ended) override { m_ended = std::move(ended); }

private:
    QPointer<QWebEngineView> m_view;
    QWebEnginePage* m_page = nullptr;
    bool m_loading = false;
    std::function<void()> m_ended;
};

} // namespace

std::unique_ptr<InfoBrowser> makeWebEngineInfoBrowser(QWidget* parent, const QString& dataFolder,
                                                      std::shared_ptr<ShellOpener> shell)
{
    return std::make_unique<WebEngineInfoBrowser>(parent, dataFolder, std::move(shell));
}
