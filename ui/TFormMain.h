// TFormMain: the main window. Owns every long-lived object of the program (record store, catalogs,
// see-also links, ad store, result-list worker) and shows one of seven sections at a time. The
// constructor builds the regions; FormCreate runs the start-up sequence (data directory, single
// instance, splash, data files, worker) and answers whether the program goes on. The destructor
// stops the worker before the record store it reads is destroyed. Main thread only.
//
// The members are split by job over several files: TFormMain.cpp (regions and controls),
// TFormMainStartup.cpp (start-up and shut-down), TFormMainSections.cpp (section switches and
// colour schemes), TFormMainHome.cpp (home page, banners, timers), TFormMainTools.cpp (record-number tools, hidden
// commands, web link, about and credits), TFormMainCommands.cpp (action bar, menus, shortcuts, tray, help, window
// events). The search panel (SearchPanel) and the result list (ResultList) own their controls and handlers.
#pragma once

#include "ui/StartupEnvironment.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class QShortcut;
class QSystemTrayIcon;
class QTreeView;
class InformationPages;
class OfficialBodiesPanel;
class TPanelDDI;
class TPanelDDN;
class TPanelNumUtiles;
class QTreeWidget;
class QTreeWidgetItem;
class QKeyEvent;
class QWidget;

class AgendaSection;
class AlignLayout;
class BannerPlayer;
struct GridData;
class QAction;
class HomePage;
class ResultList;
class SearchPanel;
class MainThreadHandOff;
class OnlineActions;
class PictureButton;
class PicturePanel;
class DataSet;
class QdData;
class QdLocs;
class SingleInstance;
class StatusBar2;
class TFormLogoInicial;
class WindowShortcuts;
class ThreadFillList;
class aviso;

enum class Section { Home, Commercial, Telephone, Professional, OfficialBodies, Agenda, Information };

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    enum class Started {
        Ready,          // the window is up on its home page
        Cancelled,      // no data directory and the user gave up: nothing was opened
        SecondInstance, // another copy runs: this one ends silently
    };

    // Steps before the window is shown: settings, data directory, profile folder, header layout.
    explicit TFormMain(StartupEnvironment environment, QWidget* parent = nullptr);
    ~TFormMain() override;

    // The start-up sequence. Returns once the splash has closed (or at once on Cancelled and
    // SecondInstance, with the window never shown).
    Started FormCreate();

    // Section switches; sender is the control that asked (only the information switch uses it).
    void HomeExecute(QObject* sender = nullptr);
    void GuiaComercialExecute(QObject* sender = nullptr);
    void GuiaTelefonosExecute(QObject* sender = nullptr);
    void GuiaProfesionalExecute(QObject* sender = nullptr);
    void OrgOficialExecute(QObject* sender = nullptr);
    void AgendaExecute(QObject* sender = nullptr);
    void ActInformacionExecute(QObject* sender = nullptr);

    void EnablePrinting(bool on);
    void LayoutTabBar();
    void LayoutHeaderPanels();
    void SizeMainWindow();
    void ApplyColourScheme(int s);

    // State read by tests and by the later parts of the window.
    [[nodiscard]] Section section() const { return m_section; }
    [[nodiscard]] bool sectionFlag(Section s) const;
    [[nodiscard]] bool printingEnabled() const { return m_printingEnabled; }
    [[nodiscard]] bool printerInstalled() const { return m_printerInstalled; }
    [[nodiscard]] bool agendaMode() const;
    [[nodiscard]] const std::string& dataPath() const { return m_dataPath; }
    [[nodiscard]] const std::string& serverUrl() const { return m_serverUrl; }
    [[nodiscard]] const std::string& agendaFolder() const { return m_agendaFolder; }
    [[nodiscard]] QdData* recordStore() const { return m_store; }
    [[nodiscard]] QdLocs& catalogs() const { return *m_locs; }
    [[nodiscard]] ThreadFillList* worker() const { return m_worker.get(); }
    [[nodiscard]] aviso* adStore() const { return m_ads.get(); }
    [[nodiscard]] int colourScheme() const { return m_scheme; }
    [[nodiscard]] int officialBodiesLoads() const { return m_bodiesLoads; }
    [[nodiscard]] int officialBodiesClears() const { return m_bodiesClears; }
    // The progress texts shown on the splash, in order.
    [[nodiscard]] const QStringList& progressLog() const { return m_progressLog; }
    // The worker's pending hand-offs run now (tests without an event loop turn).
    void runHandOffs();

    // No pass asked for or running, and every pass's end has reached the window (the worker is idle
    // a moment before its last hand-off runs here).
    [[nodiscard]] bool searchSettled() const;

    // Banners, hidden commands, record-number tools, dialogs and web links (TFormMainHome.cpp,
    // TFormMainTools.cpp).
    void showNextBanners();
    void pnlBannerResize();
    [[nodiscard]] bool hiddenCommandsArmed() const { return m_hiddenCommandsArmed; }
    // The player of banner box 0 (imgBanner1) or 1 (imgBanner2).
    [[nodiscard]] const BannerPlayer& bannerPlayer(int box) const;
    void RecNo1Click();
    void GotoRecno1Click();
    void InsertRecnoExecute();
    void RegistrosGuiaExecute();
    // The agenda's commands (the agenda section does the work).
    void btnAgendarClick();
    void AddSelectionToAgenda();
    void btnDelFromAgendaClick();
    void mnuRegistroEditarClick();
    void RebuildNoteMarks();
    void refreshNotas();
    void Crditos1Click();
    void mnuAyudaAcercaDeClick();
    // Both "Ver sitio WWW" items follow the selected row: row is null without a selection, hasWeb
    // is the record's has-web flag.
    void updateWebLink(const GridData* row, bool hasWeb);
    void openWebPage();
    // Back from the notification area, in the state the window had (maximised stays maximised).
    void restoreFromTray();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The online requests on the open data set; null when no record store is open.
    OnlineActions* online();
    // Construction of the regions (TFormMain.cpp).
    void buildRegions();
    void buildTabBar();
    void buildHome();
    void buildBodyHeader();
    void buildOtherHeaders();
    void buildList();
    void buildOfficialBodies();
    void buildInformation();
    void buildActionBar();
    void buildBanner();
    void buildShortcuts();
    void buildTray();
    void layoutBodyRegions();

    // Start-up steps (TFormMainStartup.cpp).
    void readSettings();
    bool findDataDirectory();
    void Progress(const QString& text);
    void openDataSet();
    void shutDown();

    // Section switches (TFormMainSections.cpp).
    void showHeaderPanel(QWidget* panel);
    // The steps every section but home and professional share: scheme, active tab, the regions
    // around the body and the header panel.
    void showSectionFrame(int scheme, PictureButton* tab, const QString& activePicture, QWidget* header);
    // One of the list, the official bodies and the information fills the body.
    void showBodyRegion(QWidget* region, bool actionBar);
    void enterGuide(Section section);
    void setActiveTab(PictureButton* tab, const QString& activePicture);
    void setActionButtons(bool print, bool sel, bool add, bool remove, bool online);
    void setSectionFlag(Section s);
    void leaveOfficialBodies(bool wasCurrent);
    void processPending();

    // Commands whose work belongs to the agenda, the ads and reports, the online requests, the
    // official bodies and the information pages: forwards those modules fill (TFormMainCommands.cpp).
    void btn_imprimirClick();
    void mnuGuiasImprimirClick();
    void btnSelAllClick();
    void btnUnselectAllClick();
    void btnShowSelectedClick();
    void btnMailSelectedClick();
    void btnRecomendarSelectedClick();
    void mnuRegistroVerAvisoClick();
    void mnuRegistroEnviareMailClick();
    void mnuRegistroRecomendarClick();
    void LoadData();
    void fClearOO();
    void ShowInfoPage(QObject* sender);
    void showHelpPopup();

    // Home page and banners (TFormMainHome.cpp).
    void ApplyHomeBranding();
    void Timer1Timer();
    void setupBannersAndTools();
    void setupToolCommands();
    [[nodiscard]] std::string bannerFile(int folder, int number) const;
    void LoadBanner(int box, const std::string& file);
    void pnlBannerDblClick();
    void Timer2Timer();
    void Timer3Timer();

public:
    // Controls by the names the program's parts use (owned by the window through Qt parents).
    QWidget* central = nullptr;
    AlignLayout* mainLayout = nullptr;
    PicturePanel* pnlSolapas = nullptr;
    PictureButton *spbuHome = nullptr, *spbuComercial = nullptr, *spbuTelefonos = nullptr, *spbuProfesional = nullptr,
                  *spbuOrgOficial = nullptr, *spbuAgenda = nullptr, *spbuInformacion = nullptr;
    HomePage* pnlHome = nullptr;
    QWidget* pnlBody = nullptr;
    PicturePanel* pnlBodyHeader = nullptr;
    PicturePanel* logo = nullptr;
    SearchPanel* pnlSecciones = nullptr;
    PicturePanel *pnlOrgOf = nullptr, *pnlInfoHeader = nullptr;
    AgendaSection* pnlAgenda = nullptr;
    QPushButton* btnBuscar = nullptr;
    PictureButton *bbuHelp1 = nullptr, *imgHelp0 = nullptr;
    std::array<PicturePanel*, 4> vertBars{}; // vertBar30, 31, 50, 51
    // Other headers.
    QLineEdit* tPalabraClave = nullptr;
    QLabel* lblOOPalClave = nullptr;
    PictureButton *bbuBuscarOO = nullptr, *bbuClear = nullptr;
    PicturePanel* pnlOrgOfHeaderBack = nullptr;
    std::array<QLabel*, 4> infoLinks{};
    std::array<QLabel*, 4> infoBullets{};
    ResultList* pnlLista = nullptr;
    // Official bodies and information.
    QWidget* gbOrgOf = nullptr;
    QTreeView *lb1 = nullptr, *tv1 = nullptr, *lv1 = nullptr; // the official-bodies panel's
    OfficialBodiesPanel* officialBodies = nullptr;            // child of gbOrgOf
    QWidget* PnlInformacion = nullptr;
    InformationPages* informationPages = nullptr; // child of PnlInformacion; makes WebBrowser1 on first use
    TPanelDDN* pnlDDN = nullptr;
    TPanelDDI* pnlDDI = nullptr;
    TPanelNumUtiles* pnlNumUtiles = nullptr;
    PicturePanel *DDN_Image1 = nullptr, *DDI_Image1 = nullptr, *NU_Image1 = nullptr;
    QLabel *lbl_DDNProv = nullptr, *lbl_DDNIngreseLoc = nullptr, *lbl_DDICodPais = nullptr,
           *lbl_NUSeleccioneGuia = nullptr;
    // Action bar.
    PicturePanel* Panel2 = nullptr;
    PictureButton *btn_imprimir = nullptr, *btnAgendar = nullptr, *btnDelFromAgenda = nullptr, *btnSelAll = nullptr,
                  *btnUnselectAll = nullptr, *btnShowSelected = nullptr, *btnMailSelected = nullptr,
                  *btnRecomendarSelected = nullptr;
    // Banner strip and status bar.
    PicturePanel* pnlBanner = nullptr;
    PicturePanel *imgBanner1 = nullptr, *imgBanner2 = nullptr;
    StatusBar2* statusBar2 = nullptr;
    QMenu* trayMenu = nullptr;
    QMenu* popupHelp = nullptr;
    // "Ver sitio WWW": the record command (no menu bar shows it) and the list's context-menu item.
    QAction *mnuRegistroVerSitioWWW = nullptr, *mnuRegistroVerSitioWWW1 = nullptr;
    QSystemTrayIcon* TrayIcon = nullptr;
    QTimer Timer1, Timer2, Timer3;

private:
    StartupEnvironment m_env;
    std::string m_dataPath;
    std::string m_serverUrl;
    std::string m_agendaFolder;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<DataSet> m_data;
    QdLocs* m_locs = nullptr;  // m_data's catalogs
    QdData* m_store = nullptr; // m_data's record store, once open
    std::unique_ptr<aviso> m_ads;
    // The online requests borrow the store, catalogs and ad store: made on first use, released before them.
    std::unique_ptr<OnlineActions> m_online;
    std::unique_ptr<MainThreadHandOff> m_handOff;
    std::unique_ptr<ThreadFillList> m_worker; // declared after what it reads: destroyed first
    std::unique_ptr<TFormLogoInicial> m_splash;
    WindowShortcuts* m_shortcuts = nullptr; // child of the window
    QStringList m_progressLog;

    Section m_section = Section::Home;
    std::array<bool, 6> m_flags{}; // Home, Commercial, Telephone, Professional, OfficialBodies, Information
    int m_scheme = 0;
    bool m_printingEnabled = false;
    bool m_printerInstalled = false;
    int m_bodiesLoads = 0;
    int m_bodiesClears = 0;
    bool m_started = false;
    // The buttons that Enter and Escape press in the current section.
    QPointer<PictureButton> m_defaultButton, m_cancelButton;
    std::array<BannerPlayer*, 2> m_banners{}; // children of the window
    int m_bannerFolder = 0, m_bannerNumber = 1;
    int m_bannerWidth = 0;
    bool m_bannerWidthTaken = false;
    bool m_bannersStarted = false;
    bool m_hiddenCommandsArmed = false;
    int m_lastClock[3] = {0, 0, 0};
};
