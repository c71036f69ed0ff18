// Section switches of the main window: which regions, header panels, buttons and colours each of
// the seven sections shows, and the calls into the search that a switch makes.
#include "ui/TFormMain.h"

#include "ui/AgendaSection.h"
#include "ui/AppearanceSettings.h"
#include "ui/ControlMakers.h"
#include "ui/HomePage.h"
#include "ui/InformationPages.h"
#include "ui/OfficialBodiesPanel.h"
#include "ui/ResultList.h"
#include "ui/SearchPanel.h"
#include "ui/StatusBar2.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

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
using controls::setLabelColour;

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

} // namespace

bool TFormMain::agendaMode() const
{
    return pnlLista->agendaMode();
}

bool TFormMain::sectionFlag(Section s) const
{
    const size_t i = flagIndex(s);
    return i < m_flags.size() && m_flags[i];
}

void TFormMain::setSectionFlag(Section s)
{
    m_flags.fill(false);
    pnlLista->setTelephoneGuide(s == Section::Telephone);
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
    for (PicturePanel* p : {static_cast<PicturePanel*>(pnlSecciones), pnlOrgOf, static_cast<PicturePanel*>(pnlAgenda),
                            pnlInfoHeader})
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
    pnlAgenda->applyColours(c, s);
    pnlSecciones->applyColours(c);
    // 3. Selection and agenda buttons.
    btnSelAll->setPicture(picture(c.btn_marcar));
    btnUnselectAll->setPicture(picture(c.btn_desmarcar));
    btnShowSelected->setPicture(picture(pnlLista->filterOn(3) ? c.btn_seleccionados_on : c.btn_seleccionados_off));
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
    bbuClear->setPicture(picture(c.bbuLimpiar));
    bbuBuscarOO->setPicture(picture(c.bbuBuscar));
    for (PictureButton* b : {bbuHelp1, imgHelp0})
        b->setPicture(picture(c.btn_help));
    // 7. The rest of the strips and buttons.
    Panel2->setPicture(picture(c.FondoPanel2));
    logo->setPicture(picture(c.logo));
    btn_imprimir->setPicture(picture(c.btn_imprimir));
    pnlBanner->setPicture(QPixmap()); // the banner background stays hidden behind the strip's colour
    btnRecomendarSelected->setPicture(picture(c.btnRecomendarSelected));
    btnMailSelected->setPicture(picture(c.btnMailSelected));
    // 8. Label colours.
    for (QLabel* l : {lblOOPalClave, lbl_DDNProv, lbl_DDNIngreseLoc, lbl_DDICodPais, lbl_NUSeleccioneGuia})
        setLabelColour(l, c.Fuente);
    // The action bar's button widths may differ between schemes.
    setActionButtons(!btn_imprimir->isHidden(), !btnSelAll->isHidden(), !btnAgendar->isHidden(),
                     !btnDelFromAgenda->isHidden(), !btnMailSelected->isHidden());
}

void TFormMain::HomeExecute(QObject*)
{
    const bool fromBodies = m_section == Section::OfficialBodies;
    pnlLista->SetAgendaMode(false);
    pnlHome->show();
    for (QWidget* w : {static_cast<QWidget*>(pnlSolapas), pnlBody, static_cast<QWidget*>(pnlBanner),
                       static_cast<QWidget*>(spbuHome)})
        w->hide();
    PnlInformacion->hide();
    setSectionFlag(Section::Home);
    pnlHome->ShowHomeText(0);
    pnlHome->pnlHomeResize();
    leaveOfficialBodies(fromBodies);
}

void TFormMain::showSectionFrame(int scheme, PictureButton* tab, const QString& activePicture, QWidget* header)
{
    ApplyColourScheme(scheme);
    setActiveTab(tab, activePicture);
    pnlHome->hide();
    for (QWidget* w : {static_cast<QWidget*>(pnlSolapas), pnlBody, static_cast<QWidget*>(pnlBanner)})
        w->show();
    spbuHome->setVisible(appearance().ckHome); // a tab switched off stays off
    showHeaderPanel(header);
    processPending();
}

void TFormMain::showBodyRegion(QWidget* region, bool actionBar)
{
    for (QWidget* w : {static_cast<QWidget*>(pnlLista), gbOrgOf, PnlInformacion})
        w->setVisible(w == region);
    Panel2->setVisible(actionBar);
}

void TFormMain::enterGuide(Section section)
{
    // The commercial and the alphabetical telephone sections differ only in their range, scheme,
    // rubro list and texts.
    const bool commercial = section == Section::Commercial;
    const bool fromBodies = m_section == Section::OfficialBodies;
    pnlLista->SetAgendaMode(false);
    const AppearanceSettings& a = appearance();
    showSectionFrame(commercial ? 1 : 2, commercial ? spbuComercial : spbuTelefonos,
                     commercial ? a.spbuComercial : a.spbuTelefonos, pnlSecciones);
    showBodyRegion(pnlLista, true);
    EnablePrinting(true);
    pnlSecciones->setRubroVisible(commercial, commercial);
    if (commercial) {
        m_locs->FillRubros('C');
        pnlLista->ColShow(8);
    } else {
        pnlLista->ColHide(8);
    }
    pnlSecciones->lblVerTambien->setVisible(commercial);
    pnlSecciones->ArrangeSearchFields(commercial);
    if (m_worker) {
        m_worker->SetRange(commercial ? 1 : 0);
        m_worker->SetRubro(0);
    }
    pnlSecciones->setSearchDone(false);
    pnlLista->DropSelectionMarks();
    pnlLista->ResetFilters();
    pnlSecciones->ResetSearchForm();
    setSectionFlag(section);
    statusBar2->setPanelText(2, commercial ? u"Sección Comercial"_s : u"Sección Alfabética"_s);
    setActionButtons(true, true, true, false, true);
    pnlLista->pnlNoData->setPalette(pnlLista->lvLista->palette());
    if (commercial)
        pnlSecciones->imgVerTambien->setPicture(picture(a.scheme(1).imgVerTambien));
    m_defaultButton = pnlSecciones->bbuBuscar;
    m_cancelButton = pnlSecciones->bbuLimpiar;
    if (pnlSecciones->edBusqueda->isEnabled() && !pnlSecciones->edBusqueda->isHidden())
        pnlSecciones->edBusqueda->setFocus();
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
    pnlLista->pnlBusqueDatos->show();
    pnlSecciones->cbxRubro->show();
    pnlSecciones->cbxRubro->setEnabled(true);
    m_locs->FillRubros('P');
    pnlSecciones->lblVerTambien->hide();
    if (m_worker) {
        m_worker->SetRange(2);
        m_worker->SetRubro(0);
    }
    pnlSecciones->ResetSearchForm();
    setSectionFlag(Section::Professional);
    statusBar2->setPanelText(2, u"Sección Profesional"_s);
    pnlLista->lvLista->clear();
    QPalette pal = pnlLista->lvLista->palette();
    pal.setColor(QPalette::Base, QColor(203, 236, 243));
    pnlLista->lvLista->setPalette(pal);
    pnlLista->pnlNoData->setPalette(pal);
}

void TFormMain::OrgOficialExecute(QObject*)
{
    if (sectionFlag(Section::OfficialBodies))
        return;
    pnlLista->SetAgendaMode(false);
    showSectionFrame(1, spbuOrgOficial, appearance().spbuOrgOficial, pnlOrgOf);
    showBodyRegion(gbOrgOf, false);
    pnlLista->pnlBusqueDatos->hide();
    EnablePrinting(false);
    pnlSecciones->lblVerTambien->hide();
    setSectionFlag(Section::OfficialBodies);
    statusBar2->setPanelText(2, u"Organismos Oficiales"_s);
    statusBar2->setPanelText(1, QString());
    pnlLista->pnlNoData->setPalette(pnlLista->lvLista->palette());
    m_defaultButton = bbuBuscarOO;
    m_cancelButton = bbuClear;
    if (tPalabraClave->isEnabled())
        tPalabraClave->setFocus();
    if (!officialBodies->loaded())
        LoadData();
    fClearOO();
}

void TFormMain::AgendaExecute(QObject*)
{
    showSectionFrame(1, spbuAgenda, appearance().spbuAgenda, pnlAgenda);
    showBodyRegion(pnlLista, true);
    pnlLista->pnlBusqueDatos->hide();
    EnablePrinting(true);
    pnlSecciones->setRubroVisible(false, false);
    pnlSecciones->lblVerTambien->hide();
    pnlSecciones->ShowLinks(false);
    if (m_worker)
        m_worker->SetRange(-1);
    m_flags.fill(false);
    m_section = Section::Agenda;
    pnlLista->setTelephoneGuide(false);
    statusBar2->setPanelText(2, u"Agenda"_s);
    setActionButtons(true, true, false, true, false);
    pnlLista->pnlNoData->setPalette(pnlLista->lvLista->palette());
    for (QLabel* l : {pnlSecciones->lbl_busqueda, pnlSecciones->lbl_Criterio, pnlSecciones->lbl_Guia,
                      pnlSecciones->lbl_Localidad, pnlSecciones->lbl_Provincia, pnlSecciones->lbl_Rubro})
        setLabelColour(l, QColor(127, 67, 13));
    m_defaultButton = pnlAgenda->bbuBuscarAgenda;
    m_cancelButton = pnlAgenda->bbuClearAgenda;
    if (pnlAgenda->edBusquedaAgenda->isEnabled())
        pnlAgenda->edBusquedaAgenda->setFocus();
    pnlLista->SetAgendaMode(true);
}

void TFormMain::ActInformacionExecute(QObject* sender)
{
    if (PnlInformacion->isHidden()) {
        informationPages->resetLinkColours();
        pnlOrgOf->hide();
        pnlLista->SetAgendaMode(false);
        showSectionFrame(1, spbuInformacion, appearance().spbuInformacion, pnlInfoHeader);
        showBodyRegion(PnlInformacion, !Panel2->isHidden());
        PnlInformacion->raise();
        pnlLista->pnlBusqueDatos->hide();
        EnablePrinting(false);
        pnlSecciones->lblVerTambien->hide();
        pnlSecciones->ShowLinks(false);
        setSectionFlag(Section::Information);
        statusBar2->setPanelText(2, u"Información Util"_s);
        statusBar2->setPanelText(1, QString());
        setActionButtons(false, false, false, false, false);
        pnlLista->pnlNoData->setPalette(pnlLista->lvLista->palette());
    }
    ShowInfoPage(sender);
}
