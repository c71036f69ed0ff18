// Commands of the main window: the window-wide keys, the action bar, the help pop-up, the tray,
// and the window events (resize, minimise, close). The ad and print commands forward to the ads'
// commands, the agenda's to the agenda section, the online requests to their actions; the official
// bodies and the information pages forward to their panels.
#include "ui/TFormMain.h"

#include "ads/AdCommands.h"
#include "engine/DataFiles.h"
#include "ui/AgendaSection.h"
#include "ui/AppearanceSettings.h"
#include "ui/InformationPages.h"
#include "ui/ListRows.h"
#include "ui/OfficialBodiesPanel.h"
#include "ui/ResultList.h"
#include "ui/ResultListReport.h"
#include "ui/SearchPanel.h"
#include "ui/WindowShortcuts.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

#include "platform/BlockLibrary.h"
#include "platform/Printers.h"
#include "online/OnlineActions.h"
#include "platform/ShellOpener.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QToolTip>
#include <QTreeWidget>
#include <QWindowStateChangeEvent>

using namespace Qt::StringLiterals;

void TFormMain::buildShortcuts()
{
    auto* keys = new WindowShortcuts(this);
    const auto section = [this](void (TFormMain::*run)(QObject*)) {
        return [this, run] {
            (this->*run)(nullptr);
            return true;
        };
    };
    keys->add(Qt::CTRL | Qt::Key_H, section(&TFormMain::HomeExecute));
    keys->add(Qt::CTRL | Qt::Key_C, section(&TFormMain::GuiaComercialExecute));
    keys->add(Qt::CTRL | Qt::Key_T, section(&TFormMain::GuiaTelefonosExecute));
    keys->add(Qt::CTRL | Qt::Key_P, section(&TFormMain::GuiaProfesionalExecute));
    keys->add(Qt::CTRL | Qt::Key_O, section(&TFormMain::OrgOficialExecute));
    // Enter and Escape press the current section's search and clear buttons; in the result list
    // Enter belongs to the list.
    keys->add(QKeyCombination(Qt::Key_Return), [this] {
        // The list and the editable search lists use Enter themselves.
        QWidget* focus = focusWidget();
        const SearchPanel* p = pnlSecciones;
        // The keyword field searches on Enter's release itself.
        const bool ownEnter =
            focus == pnlLista->lvLista || focus == tPalabraClave ||
            (focus != nullptr && (p->cbxProvincia->isAncestorOf(focus) || p->cbxLocalidad->isAncestorOf(focus) ||
                                  p->cbxRubro->isAncestorOf(focus)));
        if (m_defaultButton == nullptr || ownEnter || !m_defaultButton->isEnabled() || !m_defaultButton->isVisible())
            return false;
        m_defaultButton->click();
        return true;
    });
    keys->add(QKeyCombination(Qt::Key_Escape), [this] {
        if (m_cancelButton == nullptr || !m_cancelButton->isEnabled() || !m_cancelButton->isVisible())
            return false;
        m_cancelButton->click();
        return true;
    });
    m_shortcuts = keys;
}

void TFormMain::btn_imprimirClick()
{
    mnuGuiasImprimirClick();
}

void TFormMain::mnuGuiasImprimirClick()
{
    if (m_printingEnabled) // the "Imprimir" command does nothing while printing is off
        adcommands::PrintResultList(this, reportView(*pnlLista), pnlLista->sectionName(), *m_env.printers);
}

void TFormMain::btnAgendarClick()
{
    AddSelectionToAgenda();
}

void TFormMain::AddSelectionToAgenda()
{
    pnlAgenda->AddSelectionToAgenda();
}

void TFormMain::btnDelFromAgendaClick()
{
    pnlAgenda->btnDelFromAgendaClick();
}

void TFormMain::RebuildNoteMarks()
{
    pnlLista->RebuildNoteMarks();
}

void TFormMain::refreshNotas()
{
    pnlLista->refreshNotas();
}

void TFormMain::btnSelAllClick()
{
    pnlLista->SetAllVisibleSelected(true);
}

void TFormMain::btnUnselectAllClick()
{
    pnlLista->SetAllVisibleSelected(false);
}

void TFormMain::btnShowSelectedClick()
{
    pnlLista->toggleFilter(3);
}

OnlineActions* TFormMain::online()
{
    if (!m_online && m_store)
        m_online = std::make_unique<OnlineActions>(this, *m_store, *m_locs, m_ads.get(), m_serverUrl);
    return m_online.get();
}

void TFormMain::btnMailSelectedClick()
{
    if (OnlineActions* o = online())
        o->Contact(0, ResultList::marked());
}

void TFormMain::btnRecomendarSelectedClick()
{
    if (OnlineActions* o = online())
        o->Recommend(0, ResultList::marked());
}

void TFormMain::mnuRegistroVerAvisoClick()
{
    if (const ResultItem* row = pnlLista->focusedRow())
        adcommands::VerAviso(this,
                             {*m_ads, m_dataPath, m_serverUrl, *m_env.shell, BlockLibrary::instance(), *m_env.printers},
                             row->grid.adNumber);
}

void TFormMain::mnuRegistroEditarClick()
{
    pnlAgenda->mnuRegistroEditarClick();
}

void TFormMain::mnuRegistroEnviareMailClick()
{
    if (const ResultItem* row = pnlLista->focusedRow(); row && online())
        online()->Contact(row->grid.recno, ResultList::marked());
}

void TFormMain::mnuRegistroRecomendarClick()
{
    if (const ResultItem* row = pnlLista->focusedRow(); row && online())
        online()->Recommend(row->grid.recno, ResultList::marked());
}

void TFormMain::LoadData()
{
    ++m_bodiesLoads;
    officialBodies->LoadData(m_dataPath + "/" + datafiles::kBodies, m_dataPath + "/" + datafiles::kBodiesTable);
}

void TFormMain::fClearOO()
{
    ++m_bodiesClears;
    officialBodies->fClearOO();
}

void TFormMain::ShowInfoPage(QObject* sender)
{
    informationPages->showPage(InformationPages::pageKey(sender));
}

void TFormMain::showHelpPopup()
{
    if (popupHelp == nullptr) {
        popupHelp = new QMenu(this);
        popupHelp->setObjectName(u"PopupHelp"_s);
        QAction* contents = popupHelp->addAction(u"Contenidos"_s);
        connect(contents, &QAction::triggered, this, [this] {
            const QString file = appearance().txHelpFile;
            if (m_env.shell && QFileInfo::exists(file))
                m_env.shell->openFile(file);
        });
        popupHelp->addSeparator();
        QAction* updates = popupHelp->addAction(u"Actualizaciones"_s);
        connect(updates, &QAction::triggered, this, [this] {
            if (m_env.shell)
                m_env.shell->openAddress(appearance().publisherSite() + u"cd/actualizacion.htm"_s);
        });
        QAction* about = popupHelp->addAction(u"Acerca de ..."_s);
        about->setObjectName(u"mnuAyudaAcercaDe"_s);
        connect(about, &QAction::triggered, this, &TFormMain::mnuAyudaAcercaDeClick);
    }
    // A fixed place on the screen, wherever the window is.
    popupHelp->popup(QPoint(698, 118));
}

void TFormMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    pnlLista->placeOverlays();
    pnlLista->RepageList();
}

void TFormMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Minimised, the program lives in the notification area; without one the window must stay in
    // the taskbar, or nothing would bring it back.
    if (TrayIcon != nullptr && TrayIcon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable())
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    QApplication::quit();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease) {
        for (size_t i = 0; i < infoLinks.size(); ++i) {
            if (watched == infoLinks[i] || watched == infoBullets[i]) {
                ActInformacionExecute(watched);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
