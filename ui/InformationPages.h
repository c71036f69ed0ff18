// InformationPages: the body of the information section: the three telephone panels (pnlDDN,
// pnlDDI, pnlNumUtiles) and the web browser WebBrowser1 lying in the same place inside
// PnlInformacion, the page table that picks one of them for a link's key, the colours of the
// header links, and ShowInfoPage. The browser is made through its factory only when a page is
// first shown, so start-up never pays for the engine. Owns the browser; the panels and the links
// are Qt children of their panels. Main thread.
#pragma once

#include "ui/InfoBrowser.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

class QLabel;
class QdLocs;
class ShellOpener;
class TPanelDDI;
class TPanelDDN;
class TPanelNumUtiles;

class InformationPages final : public QObject {
    Q_OBJECT
public:
    // The links in the header's order: "Nuestros Productos", "Números Útiles", "DDI", "DDN".
    static constexpr int kLinks = 4;
    static constexpr int kDefaultWaitMs = 10000;

    InformationPages(QWidget* pnlInformacion, const QdLocs& locs);
    ~InformationPages() override;

    // The header's links and their bullets, in the order above.
    void setLinks(const std::array<QLabel*, kLinks>& links, const std::array<QLabel*, kLinks>& bullets);
    // dataFolder: the data directory; pages are looked for under it.
    void setBrowser(InfoBrowserFactory factory, const QString& dataFolder, std::shared_ptr<ShellOpener> shell);
    // How long ShowInfoPage waits for a page that does not finish loading.
    void setWaitLimit(int ms) { m_waitMs = ms; }

    // The page key of a command's control: its name without the first three characters.
    [[nodiscard]] static QString pageKey(const QObject* sender);
    // Shows the page of a key ("InfoDDN", "InfoDDI", "InfoNumerosUtiles", anything else the
    // product page) and gives its link and bullet the chosen-link colour.
    void showPage(const QString& key);
    // An HTML file of the data folder in the browser. A missing file leaves the browser as it was.
    // Waits, keeping the window responsive, until the page has loaded or the wait limit passes.
    void ShowInfoPage(const QString& path);
    // Every link back to the normal link colour (entering the section from another one).
    void resetLinkColours();
    // Every region of the section fills PnlInformacion.
    void layoutRegions();

    [[nodiscard]] InfoBrowser* browser() const { return m_browser.get(); }
    [[nodiscard]] QWidget* WebBrowser1() const;
    [[nodiscard]] bool waiting() const { return m_waiting; }

    TPanelDDN* pnlDDN = nullptr;
    TPanelDDI* pnlDDI = nullptr;
    TPanelNumUtiles* pnlNumUtiles = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPanel(QWidget* panel);
    void colourEntry(int entry);

    QWidget* m_parent;
    std::array<QPointer<QLabel>, kLinks> m_links{}, m_bullets{};
    InfoBrowserFactory m_factory;
    QString m_dataFolder;
    std::shared_ptr<ShellOpener> m_shell;
    std::unique_ptr<InfoBrowser> m_browser;
    bool m_browserShown = false;
    int m_waitMs = kDefaultWaitMs;
    bool m_waiting = false;
};
