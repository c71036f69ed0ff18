// Start-up and shut-down of the main window: the data directory, the single-instance lock, the
// splash with its progress texts, every data file opened in its order, the worker created asleep;
// and the reverse order at the end.
#include "ui/TFormMain.h"

#include "online/OnlineActions.h"

#include "ui/AgendaSection.h"
#include "ui/AppearanceSettings.h"
#include "ui/HomePage.h"
#include "ui/InformationPages.h"
#include "ui/MainThreadHandOff.h"
#include "ui/OfficialBodiesPanel.h"
#include "ui/ResultList.h"
#include "ui/SearchPanel.h"
#include "ui/StatusBar2.h"
#include "ui/TFormLogoInicial.h"
#include "ui/TPanelDDI.h"
#include "ui/TPanelDDN.h"
#include "ui/TPanelNumUtiles.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

#include "ads/AdStoreOpener.h"
#include "ads/aviso.h"
#include "engine/CaseInsensitivePath.h"
#include "engine/DataFiles.h"
#include "engine/FiltroBits.h"
#include "engine/QdData.h"
#include "platform/BlockLibrary.h"
#include "platform/Printers.h"
#include "platform/ProfileFolder.h"
#include "platform/SettingsFile.h"
#include "platform/SingleInstance.h"
#include "search/DataSet.h"
#include "search/QdLocs.h"
#include "search/ThreadFillList.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

void TFormMain::readSettings()
{
    SettingsFile settings;
    if (!m_env.settingsPath.empty())
        settings.load(m_env.settingsPath);
    m_serverUrl = settings.appServer();
    // "data" here wins; then the setting, and only when it names a folder; the discs come later.
    m_dataPath = DataDirectory::locate(settings.database(), std::string(), m_env.probe);
    m_agendaFolder = ProfileFolder::find(m_env.env);
}

bool TFormMain::findDataDirectory()
{
    if (!m_dataPath.empty())
        return true;
    const auto mounts = [this] { return m_env.mountTable ? m_env.mountTable() : std::string(); };
    m_dataPath = DataDirectory::scan(mounts(), m_env.probe);
    while (m_dataPath.empty()) {
        const auto answer = messageboxes::show(nullptr, u"Información"_s, u"Inserte el CD-ROM con los datos"_s,
                                               QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok)
            return false;
        m_dataPath = DataDirectory::scan(mounts(), m_env.probe);
    }
    return true;
}

void TFormMain::Progress(const QString& text)
{
    m_progressLog.append(text);
    if (m_splash)
        m_splash->Progress(text);
}

TFormMain::Started TFormMain::FormCreate()
{
    const AppearanceSettings& a = appearance();
    QApplication::setApplicationName(a.txTitulo);
    setWindowTitle(a.txTitulo);
    setWindowIcon(QIcon(picture(a.appIcon)));
    ApplyHomeBranding();
    LayoutTabBar();

    if (!findDataDirectory())
        return Started::Cancelled;

    m_instance = std::make_unique<SingleInstance>(a.txTitulo.toStdString(), m_env.lockFolder);
    if (m_instance->acquire() == SingleInstance::Result::HeldElsewhere)
        return Started::SecondInstance;

    m_splash = std::make_unique<TFormLogoInicial>(windowTitle(), m_env.splashCloseMs);
    m_splash->show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();

    Progress(u"Configurando entorno..."_s);
    SizeMainWindow();
    pnlLista->lvLista->clear();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - height()) / 2);
    }

    openDataSet();
    pnlNumUtiles->fillGuides();

    QGuiApplication::restoreOverrideCursor();
    buildTray();
    TrayIcon->show();

    Progress(u"Filtrando registros iniciales..."_s);
    m_handOff = std::make_unique<MainThreadHandOff>(static_cast<PassListener&>(*pnlLista));
    m_worker = std::make_unique<ThreadFillList>(processFiltroBits(), *m_store, *m_handOff);
    pnlLista->attach(m_worker.get(), m_store, m_locs);
    pnlAgenda->attach(m_store);
    pnlSecciones->attach(m_worker.get());

    Progress(u"Inicializando tablero..."_s);
    pnlSecciones->cbxLocalidad->view()->setMinimumWidth(200);
    Timer1.start();
    Timer1Timer();

    Progress(u"Iniciando dispositivo telefónico..."_s);

    Progress(u"Seleccionando pantalla inicial..."_s);
    pnlHome->ShowHomeText(0);
    HomeExecute(spbuHome);
    showMaximized();
    pnlLista->lvLista->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_splash->startClosing();
    QApplication::processEvents();
    statusBar2->update();

    m_printerInstalled = m_env.printers && !m_env.printers->list().empty();
    if (!m_printerInstalled)
        EnablePrinting(false);
    informationPages->setBrowser(m_env.browser, QString::fromStdString(m_dataPath), m_env.shell);
    pnlDDN->fillProvinces();
    pnlDDI->fillCountries();

    // The splash closes itself on its timer; a user who clicks elsewhere ends the wait too.
    bool splashWasActive = false;
    while (m_splash->isVisible()) {
        if (m_splash->isActiveWindow())
            splashWasActive = true;
        else if (splashWasActive)
            break;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents, 50);
    }
    m_splash.reset();
    pnlLista->pnlBusqueDatos->raise();
    pnlLista->pnlNoData->raise();
    m_started = true;
    return Started::Ready;
}

void TFormMain::openDataSet()
{
    // A disc mounted here may show the names in upper case.
    const SourceOpener opener = casepath::opener();
    DataSet::Options options;
    options.opener = opener;
    options.bits = &processFiltroBits();
    options.progress = [this](DataSet::Step step, const std::string& text) {
        Progress(QString::fromStdString(text));
        if (step == DataSet::Step::kStartData) {
            pnlSecciones->bindCatalogs();
        } else if (step == DataSet::Step::kStartGuides) {
            m_locs->FillGuides();
        }
    };
    m_data->open(m_dataPath, options);
    m_store = &m_data->store();

    Progress(u"Abriendo avisos..."_s);
    m_ads = adstore::open(m_dataPath, opener);
    BlockLibrary::instance().BlockInit();
}

void TFormMain::runHandOffs()
{
    if (m_handOff)
        m_handOff->runPending();
}

TFormMain::~TFormMain()
{
    shutDown();
}

void TFormMain::shutDown()
{
    // The controls outlive this object's members while the window base class deletes them, and a
    // text box losing its focus then still signals: nothing may reach the handlers any more.
    const QObject* owners[] = {this, pnlHome, pnlSecciones, pnlLista};
    for (QObject* child : findChildren<QObject*>())
        for (const QObject* owner : owners)
            QObject::disconnect(child, nullptr, owner, nullptr);
    QApplication::instance()->removeEventFilter(this);
    fClearOO();
    officialBodies->release();
    if (TrayIcon)
        TrayIcon->hide();
    Timer1.stop();
    Timer2.stop();
    Timer3.stop();
    pnlLista->lvLista->clear();
    // The worker reads the record store's indexes: it must have left its loop before they go.
    if (m_worker) {
        m_worker->Stop([] { QApplication::processEvents(); });
        m_worker.reset();
    }
    pnlLista->detach();
    pnlSecciones->attach(nullptr);
    m_handOff.reset();
    m_online.reset();
    m_store = nullptr;
    m_data->closeStore();
    m_ads.reset();
}

bool TFormMain::searchSettled() const
{
    return !m_worker || (m_worker->idle() && pnlLista->passesSettled());
}
