#include "ui/InformationPages.h"

#include "ui/AppearanceSettings.h"
#include "ui/TPanelDDI.h"
#include "ui/TPanelDDN.h"
#include "ui/TPanelNumUtiles.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void setColour(QLabel* l, const QColor& colour)
{
    if (!l)
        return;
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
}

} // namespace

InformationPages::InformationPages(QWidget* pnlInformacion, const QdLocs& locs)
    : QObject(pnlInformacion), m_parent(pnlInformacion)
{
    pnlDDN = new TPanelDDN(locs, pnlInformacion);
    pnlDDI = new TPanelDDI(locs, pnlInformacion);
    pnlNumUtiles = new TPanelNumUtiles(locs, pnlInformacion);
    for (QWidget* p :
         {static_cast<QWidget*>(pnlDDN), static_cast<QWidget*>(pnlDDI), static_cast<QWidget*>(pnlNumUtiles)})
        p->hide();
    pnlInformacion->installEventFilter(this);
}

InformationPages::~InformationPages() = default;

void InformationPages::setLinks(const std::array<QLabel*, kLinks>& links, const std::array<QLabel*, kLinks>& bullets)
{
    for (int i = 0; i < kLinks; ++i) {
        m_links[static_cast<size_t>(i)] = links[static_cast<size_t>(i)];
        m_bullets[static_cast<size_t>(i)] = bullets[static_cast<size_t>(i)];
    }
}

void InformationPages::setBrowser(InfoBrowserFactory factory, const QString& dataFolder,
                                  std::shared_ptr<ShellOpener> shell)
{
    m_factory = std::move(factory);
    m_dataFolder = dataFolder;
    m_shell = std::move(shell);
}

QWidget* InformationPages::WebBrowser1() const
{
    return m_browser ? m_browser->widget() : nullptr;
}

QString InformationPages::pageKey(const QObject* sender)
{
    return sender ? sender->objectName().mid(3) : QString();
}

void InformationPages::showPanel(QWidget* panel)
{
    m_browserShown = false;
    if (QWidget* web = WebBrowser1())
        web->hide();
    for (QWidget* p :
         {static_cast<QWidget*>(pnlDDN), static_cast<QWidget*>(pnlDDI), static_cast<QWidget*>(pnlNumUtiles)})
        p->setVisible(p == panel);
    panel->raise();
}

void InformationPages::showPage(const QString& key)
{
    if (key == u"InfoDDN"_s) {
        showPanel(pnlDDN);
        if (pnlDDN->DDN_cbxProvincia->currentIndex() >= 0)
            pnlDDN->refillLocalities();
        colourEntry(3);
    } else if (key == u"InfoDDI"_s) {
        showPanel(pnlDDI);
        colourEntry(2);
    } else if (key == u"InfoNumerosUtiles"_s) {
        showPanel(pnlNumUtiles);
        colourEntry(1);
    } else {
        for (QWidget* p :
             {static_cast<QWidget*>(pnlDDN), static_cast<QWidget*>(pnlDDI), static_cast<QWidget*>(pnlNumUtiles)})
            p->hide();
        m_browserShown = true;
        if (QWidget* web = WebBrowser1())
            web->show();
        colourEntry(0);
        ShowInfoPage(QDir(m_dataFolder).filePath(u"info/Productos.html"_s));
    }
}

void InformationPages::colourEntry(int entry)
{
    const QColor chosen = appearance().scheme(1).FuenteSel;
    setColour(m_links[static_cast<size_t>(entry)], chosen);
    setColour(m_bullets[static_cast<size_t>(entry)], chosen);
}

void InformationPages::resetLinkColours()
{
    const QColor normal = appearance().scheme(1).Fuente;
    for (int i = 0; i < kLinks; ++i) {
        setColour(m_links[static_cast<size_t>(i)], normal);
        setColour(m_bullets[static_cast<size_t>(i)], normal);
    }
}

void InformationPages::ShowInfoPage(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return; // the browser keeps what it showed
    if (!m_browser) {
        if (!m_factory)
            return;
        m_browser = m_factory(m_parent, m_dataFolder, m_shell);
        if (!m_browser)
            return;
        QWidget* web = m_browser->widget();
        web->setObjectName(u"WebBrowser1"_s);
        web->setGeometry(m_parent->rect());
        web->lower(); // under the telephone panels
        web->setVisible(m_browserShown);
    }
    const QUrl target = QUrl::fromLocalFile(file.absoluteFilePath());
    if (m_browser->url() == target)
        return;
    m_browser->navigate(target);
    // A click meanwhile that shows another page navigates the same browser; this wait then ends
    // with that load.
    if (m_waiting || !m_browser->isLoading())
        return;
    m_waiting = true;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QPointer<QObject> alive(this);
    m_browser->setLoadEnded([&loop, this] {
        if (m_browser && !m_browser->isLoading())
            loop.quit();
    });
    limit.start(m_waitMs);
    loop.exec();
    if (!alive)
        return;
    if (m_browser)
        m_browser->setLoadEnded({});
    m_waiting = false;
}

void InformationPages::layoutRegions()
{
    for (QWidget* w : {WebBrowser1(), static_cast<QWidget*>(pnlDDN), static_cast<QWidget*>(pnlDDI),
                       static_cast<QWidget*>(pnlNumUtiles)}) {
        if (w)
            w->setGeometry(m_parent->rect());
    }
}

bool InformationPages::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_parent && event->type() == QEvent::Resize)
        layoutRegions();
    return QObject::eventFilter(watched, event);
}
