// Section switches of the main window: which regions, header panels, buttons and colours each of
// the seven sections shows, and the calls into the search that a switch makes.
#include "ui/TFormMain.h"

#include "ui/AppearanceSettings.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"
#include "ui/StatusBar2.h"

#include "engine/FiltroBits.h"
#include "search/QdLocs.h"
#include "search/ThreadFillList.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

size_t flagIndex(Section s)
{
    switch (s) {
    case Section::Home: return 0;
    case Section::Commercial: return 1;
    case Section::Telephone: return 2;
    case Section::Professional: return 3;
    case Section::OfficialBodies: return 4;
    case Section::Information: return 5;
    case Section::Agenda: break;
    }
    return 6;
}

void setLabelColour(QLabel* label, const QColor& colour)
{
    if (label == nullptr)
        return;
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

} // namespace

bool TFormMain::sectionFlag(Section s) const
{
    const size_t i = flagIndex(s);
    return i < m_flags.size() && m_flags[i];
}

void TFormMain::setSectionFlag(Section s)
{
    m_flags.fill(false);
    const size_t i = flagIndex(s);
    if (i < m_flags.size())
        m_flags[i] = true;
    m_section = s;
}

void TFormMain::processPending()
{
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormMain::showHeaderPanel(QWidget* shown)
{
    for (QWidget* p : {static_cast<QWidget*>(pnlSecciones), static_cast<QWidget*>(pnlOrgOf),
                       static_cast<QWidget*>(pnlAgenda), static_cast<QWidget*>(pnlInfoHeader)})
        p->setVisible(p == shown);
}

void TFormMain::setActiveTab(PictureButton* tab, const QString& activePicture)
{
    tab->setPicture(picture(activePicture));
}

void TFormMain::setActionButtons(bool print, bool sel, bool add, bool remove, bool online)
{
    btn_imprimir->setVisible(print);
    for (PictureButton* b : {btnSelAll, btnUnselectAll, btnShowSelected})
        b->setVisible(sel);
    btnAgendar->setVisible(add);
    btnDelFromAgenda->setVisible(remove);
    btnMailSelected->setVisible(online);
    btnRecomendarSelected->setVisible(online);
    // Shown buttons line up from the left in their fixed order.
    int x = 4;
    for (PictureButton* b : {btn_imprimir, btnAgendar, btnDelFromAgenda, btnSelAll, btnUnselectAll, btnShowSelected,
                             btnMailSelected, btnRecomendarSelected}) {
        if (b->isHidden())
            continue;
        b->move(x, 0);
        x += b->width() + 4;
    }
}

void TFormMain::setRubroVisible(bool visible, bool enabled)
{
    cbxRubro->setVisible(visible);
    lbl_Rubro->setVisible(visible);
    cbxRubro->setEnabled(enabled);
}

void TFormMain::leaveOfficialBodies(bool wasCurrent)
{
    if (!wasCurrent)
        return;
    processPending();
    fClearOO();
}

void TFormMain::EnablePrinting(bool on)
{
    m_printingEnabled = on && m_printerInstalled;
}

void TFormMain::SizeMainWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QSize s = screen->geometry().size();
    resize(s.width() / 12 * 9, s.height() / 8 * 7);
}

void TFormMain::LayoutHeaderPanels()
{
    logo->setGeometry(0, 0, 186, 101);
    for (PicturePanel* p : {pnlSecciones, pnlOrgOf, pnlAgenda, pnlInfoHeader})
        p->setGeometry(235, 0, 650, 101);
}

void TFormMain::LayoutTabBar()
{
    const AppearanceSettings& a = appearance();
    const std::pair<PictureButton*, bool> tabs[] = {{spbuHome, a.ckHome},      {spbuComercial, a.ckCom},
                                                    {spbuTelefonos, a.ckAlfa}, {spbuOrgOficial, a.ckOrgOf},
                                                    {spbuAgenda, a.ckAgenda},  {spbuInformacion, a.ckInfoUtil}};
    int x = 194;
    for (const auto& [tab, shown] : tabs) {
        tab->setVisible(shown);
        if (!shown)
            continue;
        tab->move(x, tab->y());
        x += tab->width() + 4;
    }
}

void TFormMain::ArrangeSearchFields(bool commercial)
{
    const int searchX = 10, criterionX = 175, rubroX = 336;
    const auto place = [](QWidget* label, QWidget* field, int x) {
        label->move(x, label->y());
        field->move(x == 175 ? 176 : x, field->y());
    };
    if (commercial && edBusqueda->x() < cbxRubro->x()) {
        place(lbl_Rubro, cbxRubro, searchX);
        place(lbl_busqueda, edBusqueda, criterionX);
        place(lbl_Criterio, cbxCriterio, rubroX);
    } else if (!commercial && cbxRubro->x() < edBusqueda->x()) {
        place(lbl_busqueda, edBusqueda, searchX);
        place(lbl_Criterio, cbxCriterio, criterionX);
        place(lbl_Rubro, cbxRubro, rubroX);
    }
    edBusqueda0->move(edBusqueda->x(), edBusqueda0->y());
    edBusqueda1->move(edBusqueda->x() + edBusqueda->width() - edBusqueda1->width(), edBusqueda1->y());
}

void TFormMain::ApplyColourScheme(int s)
{
    m_scheme = s;
    const ColourScheme& c = appearance().scheme(s);
    // 1. Tabs and the tab bar.
    spbuHome->setPicture(picture(c.spbuHome));
    spbuTelefonos->setPicture(picture(c.spbuTelefonos));
    spbuComercial->setPicture(picture(c.spbuComercial));
    spbuOrgOficial->setPicture(picture(c.spbuOrgOficial));
    spbuAgenda->setPicture(picture(c.spbuAgenda));
    spbuInformacion->setPicture(picture(c.spbuInformacion));
    pnlSolapas->setPicture(picture(c.fondoSolapas));
    // 2. Header panels of the information and agenda sections; the see-also strip.
    pnlInfoHeader->setPicture(picture(c.imgSecciones));
    pnlAgenda->setPicture(picture(c.imgSecciones));
    imgVerTambien->setPicture(picture(c.imgVerTambien_none));
    // 3. Selection and agenda buttons.
    btnSelAll->setPicture(picture(c.btn_marcar));
    btnUnselectAll->setPicture(picture(c.btn_desmarcar));
    btnShowSelected->setPicture(picture(m_filters[3] ? c.btn_seleccionados_on : c.btn_seleccionados_off));
    btnDelFromAgenda->setPicture(picture(c.btn_delagenda_on));
    btnAgendar->setPicture(picture(c.btn_agendar));
    // 4. Header backgrounds.
    pnlBodyHeader->setPicture(picture(c.FondoBarra));
    pnlOrgOf->setPicture(picture(c.FondoBarra));
    // 5. Separators.
    for (PicturePanel* v : vertBars) {
        v->setStretch(true);
        v->setPicture(picture(c.vertBar));
    }
    // 6. Search, clear and help pictures.
    for (PictureButton* b : {bbuLimpiar, bbuLimpiarAgenda, bbuClear})
        b->setPicture(picture(c.bbuLimpiar));
    for (PictureButton* b : {bbuBuscar, bbuBuscarAgenda, bbuBuscarOO})
        b->setPicture(picture(c.bbuBuscar));
    for (PictureButton* b : {bbuHelp, bbuHelp0, bbuHelp1, imgHelp0})
        b->setPicture(picture(c.btn_help));
    // 7. The rest of the strips and buttons.
    Panel2->setPicture(picture(c.FondoPanel2));
    logo->setPicture(picture(c.logo));
    btn_imprimir->setPicture(picture(c.btn_imprimir));
    pnlSecciones->setPicture(picture(c.imgSecciones));
    pnlBanner->setPicture(QPixmap()); // the banner background stays hidden behind the strip's colour
    btnRecomendarSelected->setPicture(picture(c.btnRecomendarSelected));
    btnMailSelected->setPicture(picture(c.btnMailSelected));
    // 8. Label colours.
    for (QLabel* l : {lbl_Rubro, lbl_Guia, lbl_Localidad, lbl_Criterio, lbl_Provincia, lbl_busqueda, lblVerTambien,
                      lblOOPalClave, lbl_DDNProv, lbl_DDNIngreseLoc, lbl_DDICodPais, lbl_NUSeleccioneGuia})
        setLabelColour(l, c.Fuente);
    if (s != 2)
        setLabelColour(lbl_AQuien, c.Fuente);
    // 9. See-also labels.
    setLabelColour(lblVerTambien, c.lblVerTambien);
    for (QLabel* l : lblVerTambienLinks)
        setLabelColour(l, c.lblVerTambien);
    // The action bar's button widths may differ between schemes.
    setActionButtons(!btn_imprimir->isHidden(), !btnSelAll->isHidden(), !btnAgendar->isHidden(),
                     !btnDelFromAgenda->isHidden(), !btnMailSelected->isHidden());
}

void TFormMain::HomeExecute(QObject*)
{
    const bool fromBodies = m_section == Section::OfficialBodies;
    SetAgendaMode(false);
    pnlHome->show();
    for (QWidget* w : {static_cast<QWidget*>(pnlSolapas), pnlBody, static_cast<QWidget*>(pnlBanner),
                       static_cast<QWidget*>(spbuHome)})
        w->hide();
    PnlInformacion->hide();
    setSectionFlag(Section::Home);
    ShowHomeText(0);
    pnlHomeResize();
    leaveOfficialBodies(fromBodies);
}

void TFormMain::showSectionFrame(int scheme, PictureButton* tab, const QString& activePicture, QWidget* header)
{
    ApplyColourScheme(scheme);
    setActiveTab(tab, activePicture);
    pnlHome->hide();
    for (QWidget* w : {static_cast<QWidget*>(pnlSolapas), pnlBody, static_cast<QWidget*>(pnlBanner),
                       static_cast<QWidget*>(spbuHome)})
        w->show();
    showHeaderPanel(header);
    processPending();
}

void TFormMain::showBodyRegion(QWidget* region, bool actionBar)
{
    for (QWidget* w : {pnlLista, gbOrgOf, PnlInformacion})
        w->setVisible(w == region);
    Panel2->setVisible(actionBar);
}

void TFormMain::enterGuide(Section section)
{
    // The commercial and the alphabetical telephone sections differ only in their range, scheme,
    // rubro list and texts.
    const bool commercial = section == Section::Commercial;
    const bool fromBodies = m_section == Section::OfficialBodies;
    SetAgendaMode(false);
    const AppearanceSettings& a = appearance();
    showSectionFrame(commercial ? 1 : 2, commercial ? spbuComercial : spbuTelefonos,
                     commercial ? a.spbuComercial : a.spbuTelefonos, pnlSecciones);
    showBodyRegion(pnlLista, true);
    EnablePrinting(true);
    setRubroVisible(commercial, commercial);
    if (commercial) {
        m_locs->FillRubros('C');
        ColShow(8);
    } else {
        ColHide(8);
    }
    lblVerTambien->setVisible(commercial);
    ArrangeSearchFields(commercial);
    if (m_worker) {
        m_worker->SetRange(commercial ? 1 : 0);
        m_worker->SetRubro(0);
    }
    m_searchDone = false;
    DropSelectionMarks();
    ResetFilters();
    ResetSearchForm();
    setSectionFlag(section);
    statusBar2->setPanelText(2, commercial ? u"Sección Comercial"_s : u"Sección Alfabética"_s);
    setActionButtons(true, true, true, false, true);
    pnlNoData->setPalette(lvLista->palette());
    if (commercial)
        imgVerTambien->setPicture(picture(a.scheme(1).imgVerTambien));
    m_defaultButton = bbuBuscar;
    m_cancelButton = bbuLimpiar;
    if (edBusqueda->isEnabled() && !edBusqueda->isHidden())
        edBusqueda->setFocus();
    processPending();
    leaveOfficialBodies(fromBodies);
}

void TFormMain::GuiaComercialExecute(QObject*)
{
    enterGuide(Section::Commercial);
}

void TFormMain::GuiaTelefonosExecute(QObject*)
{
    enterGuide(Section::Telephone);
}

void TFormMain::GuiaProfesionalExecute(QObject*)
{
    if (sectionFlag(Section::Professional))
        return;
    gbOrgOf->hide();
    pnlBusqueDatos->show();
    cbxRubro->show();
    cbxRubro->setEnabled(true);
    m_locs->FillRubros('P');
    lblVerTambien->hide();
    if (m_worker) {
        m_worker->SetRange(2);
        m_worker->SetRubro(0);
    }
    ResetSearchForm();
    setSectionFlag(Section::Professional);
    statusBar2->setPanelText(2, u"Sección Profesional"_s);
    lvLista->clear();
    QPalette pal = lvLista->palette();
    pal.setColor(QPalette::Base, QColor(203, 236, 243));
    lvLista->setPalette(pal);
    pnlNoData->setPalette(pal);
}

void TFormMain::OrgOficialExecute(QObject*)
{
    if (sectionFlag(Section::OfficialBodies))
        return;
    SetAgendaMode(false);
    showSectionFrame(1, spbuOrgOficial, appearance().spbuOrgOficial, pnlOrgOf);
    showBodyRegion(gbOrgOf, false);
    pnlBusqueDatos->hide();
    EnablePrinting(false);
    lblVerTambien->hide();
    setSectionFlag(Section::OfficialBodies);
    statusBar2->setPanelText(2, u"Organismos Oficiales"_s);
    statusBar2->setPanelText(1, QString());
    pnlNoData->setPalette(lvLista->palette());
    m_defaultButton = bbuBuscarOO;
    m_cancelButton = bbuClear;
    if (tPalabraClave->isEnabled())
        tPalabraClave->setFocus();
    if (!m_bodiesLoaded) {
        m_bodiesLoaded = true;
        officialBodiesLoadData();
    }
    fClearOO();
}

void TFormMain::AgendaExecute(QObject*)
{
    showSectionFrame(1, spbuAgenda, appearance().spbuAgenda, pnlAgenda);
    showBodyRegion(pnlLista, true);
    pnlBusqueDatos->hide();
    EnablePrinting(true);
    setRubroVisible(false, false);
    lblVerTambien->hide();
    ShowLinks(false);
    if (m_worker)
        m_worker->SetRange(-1);
    m_flags.fill(false);
    m_section = Section::Agenda;
    statusBar2->setPanelText(2, u"Agenda"_s);
    setActionButtons(true, true, false, true, false);
    pnlNoData->setPalette(lvLista->palette());
    for (QLabel* l : {lbl_busqueda, lbl_Criterio, lbl_Guia, lbl_Localidad, lbl_Provincia, lbl_Rubro})
        setLabelColour(l, QColor(127, 67, 13));
    SetAgendaMode(true);
}

void TFormMain::ActInformacionExecute(QObject* sender)
{
    if (PnlInformacion->isHidden()) {
        const QColor normal = appearance().scheme(1).Fuente;
        for (QLabel* l : infoLinks)
            setLabelColour(l, normal);
        for (QLabel* l : infoBullets)
            setLabelColour(l, normal);
        pnlOrgOf->hide();
        SetAgendaMode(false);
        showSectionFrame(1, spbuInformacion, appearance().spbuInformacion, pnlInfoHeader);
        showBodyRegion(PnlInformacion, !Panel2->isHidden());
        PnlInformacion->raise();
        pnlBusqueDatos->hide();
        EnablePrinting(false);
        lblVerTambien->hide();
        ShowLinks(false);
        setSectionFlag(Section::Information);
        statusBar2->setPanelText(2, u"Información Util"_s);
        statusBar2->setPanelText(1, QString());
        setActionButtons(false, false, false, false, false);
        pnlNoData->setPalette(lvLista->palette());
    }
    ShowInfoPage(sender);
}
