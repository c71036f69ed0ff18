// The search panel and the result list of the main window: the panel's handlers, the worker's
// hand-offs, and one page of passing records shown in the list.
#include "ui/TFormMain.h"

#include "ui/AppearanceSettings.h"
#include "ui/MessageBoxes.h"
#include "ui/PictureButton.h"
#include "ui/PicturePanel.h"
#include "ui/StatusBar2.h"
#include "ui/UiText.h"

#include "engine/Cp1252.h"
#include "engine/FiltroBits.h"
#include "engine/QdData.h"
#include "engine/WordFold.h"
#include "search/PhoneSplit.h"
#include "search/QdLocs.h"
#include "search/ThreadFillList.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFilterPlanes[5] = {7, 6, 5, 14, 20};
constexpr int kRecnoRole = Qt::UserRole;

bool atFirstOrNone(const QComboBox* c)
{
    return c->currentIndex() <= 0;
}

} // namespace

void TFormMain::ResetSearchForm()
{
    for (QLineEdit* e : {edBusqueda, edBusqueda0, edBusqueda1, edBusqueda2})
        e->clear();
    edBusqueda->show();
    for (QLineEdit* e : {edBusqueda0, edBusqueda1, edBusqueda2})
        e->hide();
    const QSignalBlocker criterion(cbxCriterio);
    cbxGuia->setCurrentIndex(cbxGuia->count() > 0 ? 0 : -1);
    cbxProvincia->setCurrentIndex(cbxProvincia->count() > 0 ? 0 : -1);
    cbxRubro->setCurrentIndex(cbxRubro->count() > 0 ? 0 : -1);
    cbxCriterio->setCurrentIndex(0);
    lbl_busqueda->setText(u"¿Qué Buscas?"_s);
    lbl_busqueda->adjustSize();
    m_locs->FillProvinces();
    cbxLocalidad->setCurrentIndex(-1);
    cbxLocalidad->setEnabled(false);
    ShowLinks(false);
    lblVerTambien->hide();
    if (m_worker)
        m_worker->ResetCriteria();
    for (QComboBox* c : {cbxLocalidad, cbxProvincia, cbxGuia, cbxRubro})
        c->setToolTip(c->currentText());
}

void TFormMain::EnableSearchPanel(bool on)
{
    // A disabled control loses the keyboard focus to the next one; unless the user has moved it
    // meanwhile, it comes back when the pass ends.
    const bool wasIdle = m_searchIdle;
    if (!on && wasIdle)
        m_focusBeforePass = focusWidget();
    m_searchIdle = on;
    for (QWidget* w :
         {static_cast<QWidget*>(cbxGuia), static_cast<QWidget*>(cbxProvincia), static_cast<QWidget*>(cbxCriterio),
          static_cast<QWidget*>(cbxRubro), static_cast<QWidget*>(edBusqueda), static_cast<QWidget*>(edBusqueda0),
          static_cast<QWidget*>(edBusqueda1), static_cast<QWidget*>(edBusqueda2)})
        w->setEnabled(on);
    // The locality list is enabled only while a province is chosen.
    cbxLocalidad->setEnabled(on && cbxProvincia->currentIndex() > 0);
    if (!on && wasIdle)
        m_focusMovedTo = focusWidget();
    if (on && m_focusBeforePass && focusWidget() == m_focusMovedTo && m_focusBeforePass->isEnabled() &&
        !m_focusBeforePass->isHidden())
        m_focusBeforePass->setFocus();
    if (on && m_searchPending)
        bbuBuscarClick();
}

void TFormMain::DropSelectionMarks()
{
    if (!m_worker)
        return;
    auto bits = m_worker->accessBits();
    bits->SetCodeEverywhere(14, false);
}

void TFormMain::ResetFilters()
{
    m_filters.fill(false);
    if (m_worker) {
        auto bits = m_worker->accessBits();
        for (const int plane : kFilterPlanes)
            bits->SetRequired(plane, false);
    }
    const ColourScheme& c = appearance().scheme(m_scheme);
    btnShowSelected->setPicture(picture(c.btn_seleccionados_off));
    StatusBar2Repaint();
}

void TFormMain::StatusBar2Repaint()
{
    static const QString tips[StatusBar2::kIcons] = {
        u"Filtrar registros con aviso"_s,     u"Filtrar registros con mail"_s, u"Filtrar registros con página web"_s,
        u"Filtrar registros seleccionados"_s, u"Filtrar registros con nota"_s, u"Mostrar / ocultar grilla"_s};
    for (int i = 0; i < StatusBar2::kIcons; ++i) {
        const bool on = i < 5 ? m_filters[static_cast<size_t>(i)] : m_gridLines;
        const int index = 2 * i + (on ? 0 : 1);
        statusBar2->setIcon(i, picture(u":/assets/icon_%1.svg"_s.arg(index, 2, 10, QLatin1Char('0'))), tips[i]);
    }
}

void TFormMain::SetAgendaMode(bool on)
{
    // The agenda fills the list itself once it exists; until then agenda mode only stops the
    // directory's hand-offs from writing into the list.
    m_agendaMode = on;
}

void TFormMain::ColHide(int column)
{
    QHeaderView* h = lvLista->header();
    if (h->sectionSize(column) > 0)
        m_storedWidths[static_cast<size_t>(column)] = h->sectionSize(column);
    lvLista->setColumnHidden(column, true);
}

void TFormMain::ColShow(int column)
{
    lvLista->setColumnHidden(column, false);
    const int w = m_storedWidths[static_cast<size_t>(column)];
    if (w > 0)
        lvLista->setColumnWidth(column, w);
}

void TFormMain::ShowLinks(bool visible)
{
    for (QLabel* l : lblVerTambienLinks)
        l->setVisible(visible);
}

void TFormMain::cbxCriterioChange()
{
    m_searchDone = false;
    const int entry = cbxCriterio->currentIndex();
    const bool phone = entry == 2;
    if (phone) {
        edBusqueda1->clear();
        edBusqueda2->clear();
    } else if (m_lastCriterion == 2) {
        edBusqueda->clear();
    }
    m_lastCriterion = entry;
    edBusqueda->setVisible(!phone);
    edBusqueda0->setVisible(phone);
    edBusqueda1->setVisible(phone);
    lbl_busqueda->setText(phone ? u"Tel(ej. 011 - 43488000)"_s : u"¿Qué Buscas?"_s);
    lbl_busqueda->adjustSize();
    if (m_worker) {
        m_worker->SetPhone(0, 0, 0);
        m_worker->SetNameText({});
        m_worker->SetAddressText({});
    }
}

void TFormMain::bbuBuscarClick()
{
    if (!m_searchIdle) {
        m_searchPending = true;
        return;
    }
    m_searchPending = false;
    const int entry = cbxCriterio->currentIndex();
    const std::string text = cp1252::upper(uitext::toData(edBusqueda->text()));
    const bool textMet = entry == 2 || wordfold::HasWord(text, entry == 1 ? 1 : 0);
    if (!textMet && atFirstOrNone(cbxProvincia) && atFirstOrNone(cbxLocalidad) && atFirstOrNone(cbxRubro) &&
        atFirstOrNone(cbxGuia)) {
        if (!pnlBusqueDatos->isHidden())
            messageboxes::show(this, u"Atención"_s, u"Debe ingresar al menos un criterio de búsqueda"_s);
        bbuLimpiarClick();
        return;
    }
    DropSelectionMarks();
    m_searchDone = true;
    if (!m_worker)
        return;
    if (entry == 0) {
        m_worker->SetNameText(text);
    } else if (entry == 1) {
        m_worker->SetAddressText(text);
    } else {
        const PhoneParts parts = SplitPhoneNumber(uitext::toData(edBusqueda1->text()));
        bool ok = false;
        const int area = edBusqueda0->text().toInt(&ok);
        m_worker->SetPhone(ok ? area : 0, parts.prefix, lineCriterion(parts.line));
    }
}

void TFormMain::bbuLimpiarClick()
{
    m_searchDone = false;
    ResetSearchForm();
}

void TFormMain::PassStarted()
{
    EnableSearchPanel(false);
    lvLista->clear();
    statusBar2->setPanelText(1, u"*** Buscando ***"_s);
    statusBar2->repaint();
    m_topRecord = 0;
    m_shownPosition = 0;
    scrbRegistros->setMaximum(0);
}

void TFormMain::MatchFound(int32_t record, int32_t count)
{
    if (m_agendaMode)
        return;
    if (lvLista->topLevelItemCount() < m_pageRows) {
        AddResultRow(record, -1);
        lvLista->repaint();
    }
    statusBar2->setPanelText(1, u"**Registros encontrados: "_s + QString::number(count) + u"**"_s);
    scrbRegistros->setMaximum(std::max(0, count - m_pageRows));
    if (lvLista->topLevelItemCount() > 0)
        lvLista->setCurrentItem(lvLista->topLevelItem(0));
}

void TFormMain::PassEnded(int32_t count)
{
    if (m_agendaMode)
        return;
    EnableSearchPanel(true);
    if (count != 0)
        ShowResults();
    pnlNoData->setVisible(count == 0);
    statusBar2->setPanelText(1, !pnlBusqueDatos->isHidden() ? QString()
                                                            : u"Registros encontrados: "_s + QString::number(count));
}

void TFormMain::ShowResults()
{
    if (m_agendaMode || !m_worker)
        return;
    if (!m_searchDone) {
        scrbRegistros->hide();
        pnlBusqueDatos->show();
        pnlBusqueDatos->raise();
        return;
    }
    scrbRegistros->show();
    Panel2->show();
    int32_t count = 0;
    std::vector<int32_t> page;
    {
        auto bits = m_worker->accessBits();
        count = bits->CountPassing();
        int32_t start = 0;
        if (m_topRecord == 0) {
            start = bits->FirstPassing();
            m_shownPosition = 0;
            scrbRegistros->setMaximum(std::max(0, count - m_pageRows));
            scrbRegistros->setValue(0);
        } else {
            start = bits->SeekPassing();
        }
        for (int32_t r = start; r != 0 && static_cast<int>(page.size()) < m_pageRows; r = bits->NextPassing())
            page.push_back(r);
    }
    statusBar2->setPanelText(1, u"Registros encontrados: "_s + QString::number(count));
    lvLista->setUpdatesEnabled(false);
    lvLista->clear();
    if (count < 1) {
        pnlNoData->show();
        pnlNoData->raise();
    } else {
        pnlNoData->hide();
        if (!page.empty()) {
            m_topRecord = page.front();
            m_bottomRecord = page.back();
        }
        for (const int32_t r : page)
            AddResultRow(r, -1);
    }
    lvLista->setUpdatesEnabled(true);
    lvLista->setCurrentItem(lvLista->topLevelItemCount() > 0 ? lvLista->topLevelItem(0) : nullptr);
    pnlBusqueDatos->hide();
}

void TFormMain::AddResultRow(int32_t record, int position)
{
    auto* item = new QTreeWidgetItem;
    if (position == 0)
        lvLista->insertTopLevelItem(0, item);
    else
        lvLista->addTopLevelItem(item);
    FillResultRow(record, item);
}

void TFormMain::FillResultRow(int32_t record, QTreeWidgetItem* item)
{
    registro r;
    if (m_store)
        m_store->ReadRecord(r, record);
    item->setData(0, kRecnoRole, record);
    item->setText(5, uitext::fromData(cp1252::upper(r.name)));
    item->setText(6, uitext::fromData(r.DisplayPhone()));
    item->setText(7, uitext::fromData(r.address));
    item->setText(8, r.rubroId != 0 ? uitext::fromData(m_locs->RubroName(r.rubroId)) : QString());
    if (r.localityId != 0) {
        item->setText(9, uitext::fromData(m_locs->LocalityName(r.localityId)));
        item->setText(10, uitext::fromData(m_locs->ProvinceName(m_locs->LocalityProvince(r.localityId))));
    } else {
        item->setText(9, uitext::fromData(cp1252::upper(r.localityText)));
        item->setText(10, uitext::fromData(cp1252::upper(r.provinceText)));
    }
}

void TFormMain::RepageList()
{
    if (m_agendaMode)
        return;
    const int rowHeight = std::max(1, lvLista->fontMetrics().height() + 4);
    const int fit = std::max(1, (lvLista->viewport()->height()) / rowHeight);
    m_pageRows = std::max(1, fit - 1);
    scrbRegistros->setPageStep(m_pageRows);
}
