#include "ui/TFormMain.h"

#include "online/OnlineActions.h"

#include "ui/AgendaSection.h"
#include "ui/AlignLayout.h"
#include "ui/AppearanceSettings.h"
#include "ui/ControlMakers.h"
#include "ui/HomePage.h"
#include "ui/InformationPages.h"
#include "ui/Localization.h"
#include "ui/OfficialBodiesPanel.h"
#include "ui/ResultList.h"
#include "ui/SearchPanel.h"
#include "ui/StatusBar2.h"
#include "ui/TPanelDDI.h"
#include "ui/TPanelDDN.h"
#include "ui/TPanelNumUtiles.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

#include "ads/aviso.h"
#include "engine/QdData.h"
#include "platform/ShellOpener.h"
#include "platform/SingleInstance.h"
#include "search/DataSet.h"
#include "search/QdLocs.h"
#include "search/ThreadFillList.h"
#include "ui/MainThreadHandOff.h"
#include "ui/TFormLogoInicial.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace controls;

TFormMain::TFormMain(StartupEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment)), m_data(std::make_unique<DataSet>()),
      m_locs(&m_data->catalogs())
{
    setObjectName(u"FormMain"_s);
    setMinimumSize(800, 600);
    QFont f(u"MS Sans Serif"_s);
    f.setPointSize(8);
    setFont(f);
    buildRegions();
    readSettings();
    pnlAgenda->open(m_agendaFolder);
    LayoutHeaderPanels();
}

void TFormMain::buildRegions()
{
    central = new QWidget(this);
    central->setObjectName(u"central"_s);
    setCentralWidget(central);
    mainLayout = new AlignLayout(central);

    statusBar2 = new StatusBar2(central);
    pnlBanner = panel(central, u"pnlBanner"_s, QColor(36, 34, 35));
    pnlSolapas = panel(central, u"pnlSolapas"_s, QColor(36, 34, 35));
    pnlHome = new HomePage(
        [this](const QString& address) {
            if (m_env.shell)
                m_env.shell->openAddress(address);
        },
        central);
    pnlBody = new QWidget(central);
    pnlBody->setObjectName(u"pnlBody"_s);
    mainLayout->add(statusBar2, AlignLayout::Align::Bottom, StatusBar2::kHeight);
    mainLayout->add(pnlBanner, AlignLayout::Align::Bottom, 78);
    mainLayout->add(pnlSolapas, AlignLayout::Align::Top, 31);
    mainLayout->add(pnlHome, AlignLayout::Align::Client);
    mainLayout->add(pnlBody, AlignLayout::Align::Client);

    buildTabBar();
    buildHome();
    buildBodyHeader();
    buildList();
    pnlSecciones->buildSeeAlso(pnlBody);
    buildOfficialBodies();
    buildInformation();
    buildActionBar();
    buildBanner();
    layoutBodyRegions();
    buildShortcuts();
    pnlSecciones->setupSearchLists(*pnlLista);
    connect(pnlLista, &ResultList::passStarting, this, [this] { pnlSecciones->EnableSearchPanel(false); });
    connect(pnlLista, &ResultList::passFinished, this, [this] { pnlSecciones->EnableSearchPanel(true); });

    for (QTimer* t : {&Timer1, &Timer2, &Timer3})
        t->setParent(this);
    Timer1.setObjectName(u"Timer1"_s);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TFormMain::Timer1Timer);
    Timer2.setObjectName(u"Timer2"_s);
    Timer2.setInterval(5000);
    Timer3.setObjectName(u"Timer3"_s);
    Timer3.setInterval(5000);
    Timer3.start(); // banners rotate from the window's creation, in every section
    setupBannersAndTools();
}

void TFormMain::buildTabBar()
{
    pnlSolapas->setStretch(true);
    pnlSolapas->setMouseTracking(true);
    const auto tab = [&](const QString& name, void (TFormMain::*run)(QObject*)) {
        PictureButton* b = pictureButton(pnlSolapas, name, 0, 3);
        // Tabs keep their designed size, so the bar can be laid out before any picture is set.
        b->setAutoSize(false);
        b->resize(92, 28);
        connect(b, &QAbstractButton::clicked, this, [this, b, run] { (this->*run)(b); });
        return b;
    };
    spbuHome = tab(u"spbuHome"_s, &TFormMain::HomeExecute);
    spbuComercial = tab(u"spbuComercial"_s, &TFormMain::GuiaComercialExecute);
    spbuTelefonos = tab(u"spbuTelefonos"_s, &TFormMain::GuiaTelefonosExecute);
    spbuProfesional = tab(u"spbuProfesional"_s, &TFormMain::GuiaProfesionalExecute);
    spbuProfesional->hide();
    spbuOrgOficial = tab(u"spbuOrgOficial"_s, &TFormMain::OrgOficialExecute);
    spbuAgenda = tab(u"spbuAgenda"_s, &TFormMain::AgendaExecute);
    spbuInformacion = tab(u"spbuInformacion"_s, &TFormMain::ActInformacionExecute);
}

void TFormMain::buildHome()
{
    pnlHome->build();
    const std::pair<PictureButton*, void (TFormMain::*)(QObject*)> buttons[] = {
        {pnlHome->spbuHome1, &TFormMain::HomeExecute},
        {pnlHome->spbuComercial1, &TFormMain::GuiaComercialExecute},
        {pnlHome->spbuTelefonos1, &TFormMain::GuiaTelefonosExecute},
        {pnlHome->spbuOrgOficial1, &TFormMain::OrgOficialExecute},
        {pnlHome->spbuAgenda1, &TFormMain::AgendaExecute},
        {pnlHome->spbuInformacion1, &TFormMain::ActInformacionExecute}};
    for (const auto& [b, run] : buttons)
        connect(b, &QAbstractButton::clicked, this, [this, b = b, run = run] { (this->*run)(b); });
}

void TFormMain::buildBodyHeader()
{
    pnlBodyHeader = panel(pnlBody, u"pnlBodyHeader"_s);
    pnlBodyHeader->setStretch(true);
    logo = panel(pnlBodyHeader, u"logo"_s);
    pnlSecciones = new SearchPanel(*m_locs, pnlBodyHeader);
    pnlOrgOf = panel(pnlBodyHeader, u"pnlOrgOf"_s);
    pnlOrgOf->setStretch(true);
    pnlInfoHeader = panel(pnlBodyHeader, u"pnlInfoHeader"_s);
    pnlInfoHeader->setStretch(true);
    btnBuscar = new QPushButton(pnlBodyHeader);
    btnBuscar->setObjectName(u"btnBuscar"_s);
    btnBuscar->setGeometry(0, 0, 0, 0);
    btnBuscar->setFocusPolicy(Qt::NoFocus);
    connect(btnBuscar, &QPushButton::clicked, pnlSecciones, &SearchPanel::bbuBuscarClick);
    buildOtherHeaders();
}

void TFormMain::buildOtherHeaders()
{
    // Official bodies: keyword search.
    lblOOPalClave = label(pnlOrgOf, u"lblOOPalClave"_s, u"Palabra clave"_s, 10, 10);
    bbuBuscarOO = pictureButton(pnlOrgOf, u"bbuBuscarOO"_s, kButtonsX, kButtonsY);
    bbuClear = pictureButton(pnlOrgOf, u"bbuClear"_s, kButtonsX + 78, kButtonsY);
    vertBars[0] = separator(pnlOrgOf, u"vertBar30"_s, kBarX0);
    bbuHelp1 = pictureButton(pnlOrgOf, u"bbuHelp1"_s, kHelpX, kHelpY);
    vertBars[1] = separator(pnlOrgOf, u"vertBar31"_s, kBarX1);
    connect(bbuClear, &QAbstractButton::clicked, this, &TFormMain::fClearOO);

    // Information: the page links.
    const QString links[4][2] = {{u"btnInfoProductos"_s, u"Nuestros Productos"_s},
                                 {u"btnInfoNumerosUtiles"_s, u"Números Útiles"_s},
                                 {u"btnInfoDDI"_s, u"DDI"_s},
                                 {u"btnInfoDDN"_s, u"DDN"_s}};
    QFont linkFont(u"Verdana"_s);
    linkFont.setPointSize(8);
    linkFont.setBold(true);
    for (int i = 0; i < 4; ++i) {
        QLabel* l = label(pnlInfoHeader, links[i][0], links[i][1], 33, 11 + 20 * i);
        l->setFont(linkFont);
        l->adjustSize();
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        infoLinks[static_cast<size_t>(i)] = l;
        // The bullet runs the same page; its name gives the same page key as the link's.
        QLabel* bullet =
            label(pnlInfoHeader, u"blt"_s + links[i][0].mid(3), localization::wingdingsBullet(), 18, 13 + 20 * i);
        QFont bulletFont(u"Wingdings 3"_s);
        bulletFont.setPointSize(7);
        bullet->setFont(bulletFont);
        bullet->adjustSize();
        bullet->setCursor(Qt::PointingHandCursor);
        bullet->installEventFilter(this);
        infoBullets[static_cast<size_t>(i)] = bullet;
    }
    vertBars[2] = separator(pnlInfoHeader, u"vertBar50"_s, kBarX0);
    imgHelp0 = pictureButton(pnlInfoHeader, u"imgHelp0"_s, kHelpX, kHelpY);
    vertBars[3] = separator(pnlInfoHeader, u"vertBar51"_s, kBarX1);

    for (PictureButton* h : {pnlSecciones->bbuHelp, bbuHelp1, imgHelp0})
        connect(h, &PictureButton::mousePressed, this, &TFormMain::showHelpPopup); // any button
}

void TFormMain::buildList()
{
    pnlLista = new ResultList(statusBar2, pnlBody);
    pnlLista->searchDone = [this] { return pnlSecciones->searchDone(); };
    pnlLista->webLinkChanged = [this](const GridData* row, bool hasWeb) { updateWebLink(row, hasWeb); };
    pnlLista->openAd = [this] { mnuRegistroVerAvisoClick(); };
    pnlLista->editNote = [this] { mnuRegistroEditarClick(); };
    pnlLista->mail = [this] { mnuRegistroEnviareMailClick(); };
    pnlLista->recommend = [this] { mnuRegistroRecomendarClick(); };
    pnlLista->web = [this] { openWebPage(); };
    // The agenda's header fills the list in agenda mode, so it comes with the list.
    pnlAgenda = new AgendaSection(*pnlLista, pnlBodyHeader);
    connect(pnlAgenda->bbuHelp0, &PictureButton::mousePressed, this, &TFormMain::showHelpPopup);
    connect(pnlLista, &ResultList::resultsShown, this, [this] { Panel2->show(); });
    connect(pnlLista, &ResultList::markedFilterChanged, this, [this](bool on) {
        const ColourScheme& c = appearance().scheme(m_scheme);
        btnShowSelected->setPicture(picture(on ? c.btn_seleccionados_on : c.btn_seleccionados_off));
    });
}

void TFormMain::buildOfficialBodies()
{
    gbOrgOf = new QWidget(pnlBody);
    gbOrgOf->setObjectName(u"gbOrgOf"_s);
    officialBodies = new OfficialBodiesPanel(pnlOrgOf, gbOrgOf);
    tPalabraClave = officialBodies->tPalabraClave;
    lb1 = officialBodies->lb1;
    tv1 = officialBodies->tv1;
    lv1 = officialBodies->lv1;
    connect(bbuBuscarOO, &QAbstractButton::clicked, officialBodies, &OfficialBodiesPanel::bbuBuscarOOClick);
    gbOrgOf->hide();
}

void TFormMain::buildInformation()
{
    PnlInformacion = new QWidget(pnlBody);
    PnlInformacion->setObjectName(u"PnlInformacion"_s);
    informationPages = new InformationPages(PnlInformacion, *m_locs);
    informationPages->setLinks(infoLinks, infoBullets);
    pnlDDN = informationPages->pnlDDN;
    pnlDDI = informationPages->pnlDDI;
    pnlNumUtiles = informationPages->pnlNumUtiles;
    DDN_Image1 = pnlDDN->DDN_Image1;
    DDI_Image1 = pnlDDI->DDI_Image1;
    NU_Image1 = pnlNumUtiles->NU_Image1;
    lbl_DDNProv = pnlDDN->lbl_DDNProv;
    lbl_DDNIngreseLoc = pnlDDN->lbl_DDNIngreseLoc;
    lbl_DDICodPais = pnlDDI->lbl_DDICodPais;
    lbl_NUSeleccioneGuia = pnlNumUtiles->lbl_NUSeleccioneGuia;
    PnlInformacion->hide();
}

void TFormMain::buildActionBar()
{
    Panel2 = panel(pnlBody, u"Panel2"_s);
    Panel2->setStretch(true);
    const auto button = [&](const QString& name, void (TFormMain::*run)()) {
        PictureButton* b = pictureButton(Panel2, name, 0, 0);
        connect(b, &QAbstractButton::clicked, this, run);
        return b;
    };
    btn_imprimir = button(u"btn_imprimir"_s, &TFormMain::btn_imprimirClick);
    btnAgendar = button(u"btnAgendar"_s, &TFormMain::btnAgendarClick);
    btnDelFromAgenda = button(u"btnDelFromAgenda"_s, &TFormMain::btnDelFromAgendaClick);
    btnSelAll = button(u"btnSelAll"_s, &TFormMain::btnSelAllClick);
    btnUnselectAll = button(u"btnUnselectAll"_s, &TFormMain::btnUnselectAllClick);
    btnShowSelected = button(u"btnShowSelected"_s, &TFormMain::btnShowSelectedClick);
    btnMailSelected = button(u"btnMailSelected"_s, &TFormMain::btnMailSelectedClick);
    btnRecomendarSelected = button(u"btnRecomendarSelected"_s, &TFormMain::btnRecomendarSelectedClick);
    Panel2->installEventFilter(this);
}

void TFormMain::buildBanner()
{
    pnlBanner->setStretch(true);
    imgBanner1 = panel(pnlBanner, u"imgBanner1"_s);
    imgBanner2 = panel(pnlBanner, u"imgBanner2"_s);
    for (PicturePanel* b : {imgBanner1, imgBanner2}) {
        b->setCenter(true);
        b->setGeometry(0, 4, 468, 70);
    }
}

void TFormMain::layoutBodyRegions()
{
    auto* body = new AlignLayout(pnlBody);
    body->add(pnlBodyHeader, AlignLayout::Align::Top, 101);
    body->add(Panel2, AlignLayout::Align::Bottom, 19);
    body->add(pnlSecciones->imgVerTambien, AlignLayout::Align::Bottom, 20);
    body->add(pnlLista, AlignLayout::Align::Client);
    body->add(gbOrgOf, AlignLayout::Align::Client);
    body->add(PnlInformacion, AlignLayout::Align::Client);
}

void TFormMain::buildTray()
{
    TrayIcon = new QSystemTrayIcon(QIcon(picture(appearance().appIcon)), this);
    TrayIcon->setObjectName(u"TrayIcon"_s);
    TrayIcon->setToolTip(appearance().txTitulo);
    trayMenu = new QMenu(this);
    trayMenu->setObjectName(u"TrayMenu"_s);
    QAction* restore = trayMenu->addAction(u"Restaurar"_s);
    connect(restore, &QAction::triggered, this, &TFormMain::restoreFromTray);
    QAction* site = trayMenu->addAction(u"Ortelia"_s);
    connect(site, &QAction::triggered, this, [this] {
        if (m_env.shell)
            m_env.shell->openAddress(appearance().publisherSite());
    });
    trayMenu->addSeparator();
    QAction* quit = trayMenu->addAction(u"Salir"_s);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    TrayIcon->setContextMenu(trayMenu);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            restoreFromTray();
    });
}
