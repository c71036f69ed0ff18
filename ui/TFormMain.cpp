#include "ui/TFormMain.h"

#include "ui/AlignLayout.h"
#include "ui/AppearanceSettings.h"
#include "ui/ComboCatalogList.h"
#include "ui/Localization.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"
#include "ui/StatusBar2.h"

#include "ads/aviso.h"
#include "engine/QdData.h"
#include "platform/ShellOpener.h"
#include "platform/SingleInstance.h"
#include "search/DataSet.h"
#include "search/QdLocs.h"
#include "search/ResultPager.h"
#include "search/VerTambien.h"
#include "ui/ListRows.h"
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

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

PictureButton* pictureButton(QWidget* parent, const QString& name, int x, int y)
{
    auto* b = new PictureButton(parent);
    b->setObjectName(name);
    b->move(x, y);
    return b;
}

PicturePanel* panel(QWidget* parent, const QString& name, const QColor& background = QColor())
{
    auto* p = new PicturePanel(parent, background);
    p->setObjectName(name);
    return p;
}

// Header panels: the search and clear buttons under the third column, then the help picture between
// two separators.
constexpr int kButtonsX = 336, kButtonsY = 67;
constexpr int kBarX0 = 500, kHelpX = 510, kHelpY = 40, kBarX1 = 540;

PicturePanel* separator(QWidget* parent, const QString& name, int x)
{
    PicturePanel* p = panel(parent, name);
    p->setGeometry(x, 6, 2, 88);
    return p;
}

QComboBox* combo(QWidget* parent, const QString& name, int x, int y, int w)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 21);
    c->setMaxVisibleItems(16);
    return c;
}

QLineEdit* digitsField(QWidget* parent, const QString& name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    // Only digits can be typed; the key filter of the search panel drops everything else.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), e));
    e->hide();
    return e;
}

} // namespace

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
    pnlHome = panel(central, u"pnlHome"_s, QColor(64, 64, 64));
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
    buildSeeAlso();
    buildOfficialBodies();
    buildInformation();
    buildActionBar();
    buildBanner();
    layoutBodyRegions();
    buildContextMenu();
    buildShortcuts();
    setupList();
    setupSearchLists();

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
    const AppearanceSettings& a = appearance();
    pnlHomeInterior = panel(pnlHome, u"pnlHomeInterior"_s, QColor(36, 34, 35));
    pnlHomeInterior->resize(745, 442);
    pnlHome_Solapas = panel(pnlHomeInterior, u"pnlHome_Solapas"_s);
    pnlHome_Solapas->setGeometry(0, 0, 745, 42);
    imgHome = panel(pnlHomeInterior, u"imgHome"_s);
    imgHome->setMouseTracking(true);
    img_HomeText = panel(pnlHomeInterior, u"img_HomeText"_s);
    img_HomeText->setAutoSize(true);
    PnlHomeBottom = panel(pnlHomeInterior, u"PnlHomeBottom"_s);
    PnlHomeBottom->setGeometry(0, 442 - 35, 745, 35);
    imgPowerBy = panel(pnlHome, u"imgPowerBy"_s);
    imgPowerBy->setAutoSize(true);

    const auto homeButton = [&](const QString& name, int width, void (TFormMain::*run)(QObject*)) {
        PictureButton* b = pictureButton(pnlHome_Solapas, name, 0, 17);
        b->setAutoSize(false);
        b->resize(width, 22);
        connect(b, &QAbstractButton::clicked, this, [this, b, run] { (this->*run)(b); });
        return b;
    };
    spbuHome1 = homeButton(u"spbuHome1"_s, 89, &TFormMain::HomeExecute);
    spbuComercial1 = homeButton(u"spbuComercial1"_s, 116, &TFormMain::GuiaComercialExecute);
    spbuTelefonos1 = homeButton(u"spbuTelefonos1"_s, 116, &TFormMain::GuiaTelefonosExecute);
    spbuOrgOficial1 = homeButton(u"spbuOrgOficial1"_s, 133, &TFormMain::OrgOficialExecute);
    spbuAgenda1 = homeButton(u"spbuAgenda1"_s, 90, &TFormMain::AgendaExecute);
    spbuInformacion1 = homeButton(u"spbuInformacion1"_s, 113, &TFormMain::ActInformacionExecute);

    // Transparent click areas over the central picture.
    const QRect areas[5] = {
        {32, 64, 337, 49}, {419, 278, 163, 64}, {582, 278, 163, 64}, {419, 342, 163, 64}, {582, 342, 163, 64}};
    for (size_t i = 0; i < homeLinks.size(); ++i) {
        auto* area = new PictureButton(pnlHomeInterior);
        area->setObjectName(i == 0 ? u"imgLink0"_s : u"spbLink"_s + QString::number(i));
        area->setAutoSize(false);
        area->setGeometry(areas[i]);
        area->setToolTip(a.txLink[i]);
        connect(area, &QAbstractButton::clicked, this, [this, i] {
            if (m_env.shell)
                m_env.shell->openAddress(appearance().txLink[i]);
        });
        homeLinks[i] = area;
    }
    pnlHome->installEventFilter(this);
}

void TFormMain::buildBodyHeader()
{
    pnlBodyHeader = panel(pnlBody, u"pnlBodyHeader"_s);
    pnlBodyHeader->setStretch(true);
    logo = panel(pnlBodyHeader, u"logo"_s);
    pnlSecciones = panel(pnlBodyHeader, u"pnlSecciones"_s);
    pnlSecciones->setStretch(true);
    pnlOrgOf = panel(pnlBodyHeader, u"pnlOrgOf"_s);
    pnlOrgOf->setStretch(true);
    pnlAgenda = panel(pnlBodyHeader, u"pnlAgenda"_s);
    pnlAgenda->setStretch(true);
    pnlInfoHeader = panel(pnlBodyHeader, u"pnlInfoHeader"_s);
    pnlInfoHeader->setStretch(true);
    btnBuscar = new QPushButton(pnlBodyHeader);
    btnBuscar->setObjectName(u"btnBuscar"_s);
    btnBuscar->setGeometry(0, 0, 0, 0);
    btnBuscar->setFocusPolicy(Qt::NoFocus);
    connect(btnBuscar, &QPushButton::clicked, this, &TFormMain::bbuBuscarClick);
    buildSearchPanel();
    buildOtherHeaders();
}

void TFormMain::buildSearchPanel()
{
    QWidget* p = pnlSecciones;
    lbl_busqueda = label(p, u"lbl_busqueda"_s, u"¿Qué Buscas?"_s, 10, 10);
    edBusqueda = new QLineEdit(p);
    edBusqueda->setObjectName(u"edBusqueda"_s);
    edBusqueda->setGeometry(10, 26, 155, 21);
    edBusqueda->setMaxLength(255);
    edBusqueda0 = digitsField(p, u"edBusqueda0"_s, 5);
    edBusqueda1 = digitsField(p, u"edBusqueda1"_s, 8);
    edBusqueda2 = digitsField(p, u"edBusqueda2"_s, 4);
    edBusqueda0->setGeometry(10, 26, 45, 21);
    edBusqueda1->setGeometry(60, 26, 105, 21);
    edBusqueda2->setGeometry(120, 26, 45, 21);

    lbl_Criterio = label(p, u"lbl_Criterio"_s, u"Buscar por"_s, 175, 10);
    cbxCriterio = combo(p, u"cbxCriterio"_s, 176, 26, 150);
    cbxCriterio->addItems({u"Nombre/Razón Soc."_s, u"Direcciones"_s, u"Teléfonos"_s});
    lbl_Rubro = label(p, u"lbl_Rubro"_s, u"Rubro"_s, 336, 10);
    cbxRubro = combo(p, u"cbxRubro"_s, 336, 26, 155);
    lbl_Provincia = label(p, u"lbl_Provincia"_s, u"Provincia"_s, 10, 52);
    cbxProvincia = combo(p, u"cbxProvincia"_s, 10, 68, 155);
    lbl_Localidad = label(p, u"lbl_Localidad"_s, u"Localidad"_s, 176, 52);
    cbxLocalidad = combo(p, u"cbxLocalidad"_s, 176, 68, 150);
    lbl_Guia = label(p, u"lbl_Guia"_s, u"Guía"_s, 336, 52);
    cbxGuia = combo(p, u"cbxGuia"_s, 336, 68, 155);
    lbl_Guia->hide();
    cbxGuia->hide(); // its selection stays "- TODAS -"
    for (QComboBox* c : {cbxRubro, cbxProvincia, cbxLocalidad, cbxGuia})
        c->setEditable(true);

    m_guideList = std::make_unique<ComboCatalogList>(cbxGuia);
    m_provinceList = std::make_unique<ComboCatalogList>(cbxProvincia);
    m_localityList = std::make_unique<ComboCatalogList>(cbxLocalidad);
    m_rubroList = std::make_unique<ComboCatalogList>(cbxRubro);

    // Everything stays inside the 565 pixels the header has at the window's minimum width.
    bbuBuscar = pictureButton(p, u"bbuBuscar"_s, kButtonsX, kButtonsY);
    bbuBuscar->setToolTip(u"Buscar"_s);
    bbuLimpiar = pictureButton(p, u"bbuLimpiar"_s, kButtonsX + 78, kButtonsY);
    bbuLimpiar->setToolTip(u"Limpiar"_s);
    vertBars[0] = separator(p, u"vertBar0"_s, kBarX0);
    bbuHelp = pictureButton(p, u"bbuHelp"_s, kHelpX, kHelpY);
    vertBars[1] = separator(p, u"vertBar1"_s, kBarX1);
    connect(bbuBuscar, &QAbstractButton::clicked, this, &TFormMain::bbuBuscarClick);
    connect(bbuLimpiar, &QAbstractButton::clicked, this, &TFormMain::bbuLimpiarClick);
    connect(cbxCriterio, &QComboBox::currentIndexChanged, this, &TFormMain::cbxCriterioChange);
}

void TFormMain::buildOtherHeaders()
{
    // Official bodies: keyword search.
    lblOOPalClave = label(pnlOrgOf, u"lblOOPalClave"_s, u"Palabra clave"_s, 10, 10);
    tPalabraClave = new QLineEdit(pnlOrgOf);
    tPalabraClave->setObjectName(u"tPalabraClave"_s);
    tPalabraClave->setGeometry(10, 26, 300, 21);
    bbuBuscarOO = pictureButton(pnlOrgOf, u"bbuBuscarOO"_s, kButtonsX, kButtonsY);
    bbuClear = pictureButton(pnlOrgOf, u"bbuClear"_s, kButtonsX + 78, kButtonsY);
    vertBars[4] = separator(pnlOrgOf, u"vertBar30"_s, kBarX0);
    bbuHelp1 = pictureButton(pnlOrgOf, u"bbuHelp1"_s, kHelpX, kHelpY);
    vertBars[5] = separator(pnlOrgOf, u"vertBar31"_s, kBarX1);
    connect(bbuClear, &QAbstractButton::clicked, this, &TFormMain::fClearOO);

    // Agenda: search over the agenda and the new-contact button; the agenda fills them in.
    lbl_AQuien = label(pnlAgenda, u"lbl_AQuien"_s, u"¿A Quién Buscas?"_s, 10, 10);
    bbuBuscarAgenda = pictureButton(pnlAgenda, u"bbuBuscarAgenda"_s, kButtonsX, kButtonsY);
    bbuLimpiarAgenda = pictureButton(pnlAgenda, u"bbuLimpiarAgenda"_s, kButtonsX + 78, kButtonsY);
    vertBars[2] = separator(pnlAgenda, u"vertBar20"_s, kBarX0);
    bbuHelp0 = pictureButton(pnlAgenda, u"bbuHelp0"_s, kHelpX, kHelpY);
    vertBars[3] = separator(pnlAgenda, u"vertBar21"_s, kBarX1);
    bbuNuevoAgenda = pictureButton(pnlAgenda, u"bbuNuevoAgenda"_s, 336, 26);

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
    vertBars[6] = separator(pnlInfoHeader, u"vertBar50"_s, kBarX0);
    imgHelp0 = pictureButton(pnlInfoHeader, u"imgHelp0"_s, kHelpX, kHelpY);
    vertBars[7] = separator(pnlInfoHeader, u"vertBar51"_s, kBarX1);

    for (PictureButton* h : {bbuHelp, bbuHelp0, bbuHelp1, imgHelp0})
        connect(h, &QAbstractButton::pressed, this, &TFormMain::showHelpPopup);
}

void TFormMain::buildList()
{
    pnlLista = new QWidget(pnlBody);
    pnlLista->setObjectName(u"pnlLista"_s);
    lvLista = new QTreeWidget(pnlLista);
    lvLista->setObjectName(u"lvLista"_s);
    lvLista->setRootIsDecorated(false);
    lvLista->setUniformRowHeights(true);
    lvLista->setSelectionMode(QAbstractItemView::SingleSelection);
    lvLista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvLista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvLista->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lvLista->setContextMenuPolicy(Qt::CustomContextMenu);
    QFont listFont(u"Verdana"_s);
    listFont.setPointSize(8);
    lvLista->setFont(listFont);
    QPalette pal = lvLista->palette();
    pal.setColor(QPalette::Base, QColor(235, 235, 235));
    lvLista->setPalette(pal);
    lvLista->setColumnCount(11);
    const QStringList headers = {
        QString(),     QString(),      QString(),  QString(),      QString(),     u"NOMBRE/RAZON SOCIAL"_s,
        u"TELEFONO"_s, u"DIRECCION"_s, u"RUBRO"_s, u"LOCALIDAD"_s, u"PROVINCIA"_s};
    lvLista->setHeaderLabels(headers);
    const int widths[11] = {28, 28, 28, 28, 28, 200, 120, 150, 100, 88, 88};
    const int headerIcons[5] = {15, 16, 12, 13, 14};
    QHeaderView* header = lvLista->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    for (int c = 0; c < 11; ++c) {
        lvLista->setColumnWidth(c, widths[c]);
        if (c < 5) {
            // The icon columns cannot be resized.
            header->setSectionResizeMode(c, QHeaderView::Fixed);
            lvLista->headerItem()->setIcon(
                c, QIcon(picture(u":/assets/icon_%1.svg"_s.arg(headerIcons[c], 2, 10, QLatin1Char('0')))));
        }
    }

    scrbRegistros = new QScrollBar(Qt::Vertical, pnlLista);
    scrbRegistros->setObjectName(u"scrbRegistros"_s);
    scrbRegistros->setRange(0, 0);
    scrbRegistros->hide();

    pnlBusqueDatos = panel(pnlLista, u"pnlBusqueDatos"_s, QColor(235, 235, 235));
    pnlBusqueDatos->setPicture(picture(appearance().busqueDatos));
    pnlBusqueDatos->setCenter(true);
    pnlNoData = new QLabel(u"No se han encontrado resultados"_s, pnlLista);
    pnlNoData->setObjectName(u"pnlNoData"_s);
    pnlNoData->setAlignment(Qt::AlignCenter);
    pnlNoData->setAutoFillBackground(true);
    pnlNoData->hide();
    pnlLista->installEventFilter(this);
}

void TFormMain::buildSeeAlso()
{
    imgVerTambien = panel(pnlBody, u"imgVerTambien"_s);
    imgVerTambien->setStretch(true);
    lblVerTambien = label(imgVerTambien, u"lblVerTambien"_s, u"Ver también: "_s, 10, 3);
    QFont bold = lblVerTambien->font();
    bold.setBold(true);
    lblVerTambien->setFont(bold);
    lblVerTambien->adjustSize();
    lblVerTambien->hide();
    int x = lblVerTambien->x() + lblVerTambien->width() + 10;
    for (size_t i = 0; i < lblVerTambienLinks.size(); ++i) {
        QLabel* l = label(imgVerTambien, u"lblVerTambien"_s + QString::number(i + 1), QString(), x, 3);
        l->setCursor(Qt::PointingHandCursor);
        l->hide();
        lblVerTambienLinks[i] = l;
    }
}

void TFormMain::buildOfficialBodies()
{
    gbOrgOf = new QWidget(pnlBody);
    gbOrgOf->setObjectName(u"gbOrgOf"_s);
    lb1 = new QListWidget(gbOrgOf);
    lb1->setObjectName(u"lb1"_s);
    lb1->setGeometry(8, 8, 600, 120);
    tv1 = new QTreeWidget(gbOrgOf);
    tv1->setObjectName(u"tv1"_s);
    tv1->setHeaderHidden(true);
    tv1->setGeometry(8, 136, 600, 160);
    lv1 = new QTreeWidget(gbOrgOf);
    lv1->setObjectName(u"lv1"_s);
    lv1->setRootIsDecorated(false);
    lv1->setHeaderHidden(true); // its columns come with the official bodies' data
    lv1->setGeometry(8, 304, 600, 100);
    gbOrgOf->installEventFilter(this);
    gbOrgOf->hide();
}

void TFormMain::buildInformation()
{
    PnlInformacion = new QWidget(pnlBody);
    PnlInformacion->setObjectName(u"PnlInformacion"_s);
    WebBrowser1 = new QWidget(PnlInformacion);
    WebBrowser1->setObjectName(u"WebBrowser1"_s);
    const auto infoPanel = [&](const QString& name) {
        auto* w = new QWidget(PnlInformacion);
        w->setObjectName(name);
        w->hide();
        return w;
    };
    pnlDDN = infoPanel(u"pnlDDN"_s);
    pnlDDI = infoPanel(u"pnlDDI"_s);
    pnlNumUtiles = infoPanel(u"pnlNumUtiles"_s);
    const auto headerBar = [&](QWidget* parent, const QString& name) {
        PicturePanel* bar = panel(parent, name);
        bar->setAutoSize(true);
        bar->move(0, 0);
        return bar;
    };
    DDN_Image1 = headerBar(pnlDDN, u"DDN_Image1"_s);
    DDI_Image1 = headerBar(pnlDDI, u"DDI_Image1"_s);
    NU_Image1 = headerBar(pnlNumUtiles, u"NU_Image1"_s);
    lbl_DDNProv = label(pnlDDN, u"lbl_DDNProv"_s, u"Provincia"_s, 10, 40);
    lbl_DDNIngreseLoc = label(pnlDDN, u"lbl_DDNIngreseLoc"_s, u"Ingrese la localidad"_s, 10, 80);
    lbl_DDICodPais = label(pnlDDI, u"lbl_DDICodPais"_s, u"País"_s, 10, 40);
    lbl_NUSeleccioneGuia = label(pnlNumUtiles, u"lbl_NUSeleccioneGuia"_s, u"Seleccione la guía"_s, 10, 40);
    PnlInformacion->installEventFilter(this);
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
    btn_imprimir = button(u"btn_imprimir"_s, &TFormMain::printCommand);
    btnAgendar = button(u"btnAgendar"_s, &TFormMain::agendaAddCommand);
    btnDelFromAgenda = button(u"btnDelFromAgenda"_s, &TFormMain::agendaRemoveCommand);
    btnSelAll = pictureButton(Panel2, u"btnSelAll"_s, 0, 0);
    connect(btnSelAll, &QAbstractButton::clicked, this, [this] { selectAllCommand(true); });
    btnUnselectAll = pictureButton(Panel2, u"btnUnselectAll"_s, 0, 0);
    connect(btnUnselectAll, &QAbstractButton::clicked, this, [this] { selectAllCommand(false); });
    btnShowSelected = button(u"btnShowSelected"_s, &TFormMain::showSelectedCommand);
    btnMailSelected = button(u"btnMailSelected"_s, &TFormMain::mailSelectedCommand);
    btnRecomendarSelected = button(u"btnRecomendarSelected"_s, &TFormMain::recommendSelectedCommand);
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
    body->add(imgVerTambien, AlignLayout::Align::Bottom, 20);
    body->add(pnlLista, AlignLayout::Align::Client);
    body->add(gbOrgOf, AlignLayout::Align::Client);
    body->add(PnlInformacion, AlignLayout::Align::Client);
}

void TFormMain::buildContextMenu()
{
    popupLista = new QMenu(this);
    popupLista->setObjectName(u"popupLista"_s);
    const QString items[6] = {u"Ver aviso"_s,   u"Realizar una consulta"_s, u"Ver sitio WWW"_s,
                              u"Seleccionar"_s, u"Recomendar a un amigo"_s, u"Editar"_s};
    for (int i = 0; i < 6; ++i) {
        QAction* a = popupLista->addAction(items[i]);
        a->setObjectName(u"popupLista%1"_s.arg(i));
        // The first four follow the focused record; they stay off until a record is selected.
        a->setEnabled(i >= 4);
    }
    connect(lvLista, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popupLista->popup(lvLista->viewport()->mapToGlobal(pos)); });
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
