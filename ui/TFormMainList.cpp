// The result list of the main window: the worker's hand-offs, one page of passing records moved by
// the separate scroll bar, the keyboard and mouse rules, the five result filters, selection marks,
// the columns' hiding and showing, and the status-bar icons.
#include "ui/TFormMain.h"

#include "ui/AppearanceSettings.h"
#include "ui/ColumnSettings.h"
#include "ui/ListRows.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"
#include "ui/ResultListDelegate.h"
#include "ui/StatusBar2.h"
#include "widgets/UiText.h"

#include "engine/Cp1252.h"
#include "engine/FiltroBits.h"
#include "engine/QdData.h"
#include "search/MarkedRecords.h"
#include "search/QdLocs.h"
#include "search/ResultPager.h"
#include "search/ThreadFillList.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Filters in status-bar order: ad, mail, web, marked, note.
constexpr int kFilterPlanes[5] = {plane::kAd, plane::kMail, plane::kWeb, plane::kSelection, plane::kNote};
constexpr int kSelectionPlane = plane::kSelection;

QIcon listIcon(int index)
{
    static QIcon icons[17];
    if (index < 0 || index > 16)
        return {};
    if (icons[index].isNull())
        icons[index] = QIcon(picture(u":/assets/icon_%1.svg"_s.arg(index, 2, 10, QLatin1Char('0'))));
    return icons[index];
}

} // namespace

void TFormMain::setupList()
{
    m_rows =
        std::make_unique<ListRows>(lvLista, [this](ResultItem& item, int32_t record) { FillResultRow(record, item); });
    m_pager = std::make_unique<ResultPager>(*m_rows);
    m_delegate = new ResultListDelegate(lvLista);
    lvLista->setItemDelegate(m_delegate);
    lvLista->setMouseTracking(true);
    lvLista->installEventFilter(this);
    lvLista->viewport()->installEventFilter(this);
    lvLista->setIconSize(QSize(16, 16));
    QHeaderView* header = lvLista->header();
    header->setSectionsMovable(false);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { columnResized(column, newSize); });
    connect(scrbRegistros, &QScrollBar::valueChanged, this, &TFormMain::scrbRegistrosChange);
    connect(lvLista, &QTreeWidget::currentItemChanged, this, [this] { lvListaSelectItem(); });
    connect(lvLista, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem*, int column) { lvListaClick(column); });
    connect(lvLista, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int column) { lvListaDblClick(column); });
    connect(statusBar2, &StatusBar2::iconClicked, this, &TFormMain::toggleFilter);
    QAction* select = popupLista->findChild<QAction*>(u"popupLista3"_s);
    if (select != nullptr)
        connect(select, &QAction::triggered, this, [this] { selectRecord(); });
    for (int c = 0; c < ColumnSettings::kColumns; ++c)
        applyColumn(c);
}

void TFormMain::PassStarted()
{
    ++m_passesStarted;
    EnableSearchPanel(false);
    m_pager->passStarted();
    statusBar2->setPanelText(1, u"*** Buscando ***"_s);
    statusBar2->repaint();
    syncScrollBar();
}

void TFormMain::MatchFound(int32_t record, int32_t count)
{
    const Match match{record, count};
    MatchesFound(std::span<const Match>(&match, 1));
}

// The first page found in one go is painted once, as the last of its matches leaves it.
void TFormMain::MatchesFound(std::span<const Match> matches)
{
    if (m_agendaMode || matches.empty())
        return;
    const int before = m_rows->rowCount();
    withBits([&](FiltroBits& bits) {
        for (const Match& m : matches)
            m_pager->matchFound(bits, m.record, m.count);
    });
    if (m_rows->rowCount() != before)
        lvLista->repaint();
    statusBar2->setPanelText(1, u"**Registros encontrados: "_s + QString::number(matches.back().count) + u"**"_s);
    syncScrollBar();
}

void TFormMain::PassEnded(int32_t count)
{
    ++m_passesEnded;
    if (m_agendaMode)
        return;
    EnableSearchPanel(true);
    m_pager->setCount(count);
    syncScrollBar();
    if (count != 0)
        ShowResults();
    pnlNoData->setVisible(count == 0);
    if (count == 0)
        pnlNoData->raise();
    statusBar2->setPanelText(1, !pnlBusqueDatos->isHidden() ? QString()
                                                            : u"Registros encontrados: "_s + QString::number(count));
}

bool TFormMain::searchSettled() const
{
    return !m_worker || (m_worker->idle() && m_passesStarted == m_passesEnded);
}

void TFormMain::syncScrollBar()
{
    const QSignalBlocker block(scrbRegistros);
    scrbRegistros->setRange(0, m_pager->maximum());
    scrbRegistros->setPageStep(std::max(1, m_pager->pageRows()));
    scrbRegistros->setSingleStep(1);
    scrbRegistros->setValue(m_pager->position());
}

void TFormMain::ShowResults()
{
    if (m_agendaMode || !m_worker)
        return;
    if (!m_searchDone) {
        scrbRegistros->hide();
        pnlBusqueDatos->show();
        pnlBusqueDatos->raise();
        ShowCurrentRecord(-1);
        return;
    }
    scrbRegistros->show();
    Panel2->show();
    int32_t count = 0;
    withBits([&](FiltroBits& bits) { count = m_pager->showResults(bits); });
    syncScrollBar();
    if (m_rows->rowCount() > 0 && lvLista->sizeHintForRow(0) != m_rowHeight)
        RepageList(); // the first rows tell the real row height
    statusBar2->setPanelText(1, u"Registros encontrados: "_s + QString::number(count));
    pnlNoData->setVisible(count < 1);
    if (count < 1)
        pnlNoData->raise();
    pnlBusqueDatos->hide();
    ShowCurrentRecord(m_rows->selectedRow());
}

void TFormMain::RepageList()
{
    if (m_agendaMode || !m_pager || !m_worker)
        return;
    // The rows that fit, minus one: the last row may be cut by the list's bottom edge. A row is as
    // high as its icons or its text, whichever is higher; measured once rows exist.
    if (lvLista->topLevelItemCount() > 0 && lvLista->sizeHintForRow(0) > 0)
        m_rowHeight = lvLista->sizeHintForRow(0);
    else if (m_rowHeight <= 0)
        m_rowHeight = std::max(lvLista->fontMetrics().height(), lvLista->iconSize().height()) + 2;
    const int fit = lvLista->viewport()->height() / m_rowHeight;
    withBits([&](FiltroBits& bits) { m_pager->repage(bits, std::max(1, fit - 1)); });
    syncScrollBar();
}

void TFormMain::AddResultRow(int32_t record, int position)
{
    if (position == 0)
        m_rows->insertFirst(record);
    else
        m_rows->append(record);
}

void TFormMain::FillResultRow(int32_t record, ResultItem& item)
{
    registro r;
    if (m_store)
        m_store->ReadRecord(r, record);
    r.recno = record;
    // The agenda fills agendaRef and the note; until it exists no record has one.
    GridData& g = item.grid;
    g.recno = record;
    g.agendaRef = r.agendaRef;
    g.adNumber = r.adNumber;
    g.web = r.web;
    g.mail = r.mail;
    g.phone = r.areaCode != 0 ? r.DisplayPhone() : std::string();

    bool marked = false, hasAd = false, hasMail = false, hasWeb = false;
    const auto planes = [&](const FiltroBits& bits) {
        marked = bits.TestBit(record, kSelectionPlane);
        hasAd = bits.TestBit(record, plane::kAd);
        hasMail = bits.TestBit(record, plane::kMail);
        hasWeb = bits.TestBit(record, plane::kWeb);
    };
    if (m_bitsInHand != nullptr)
        planes(*m_bitsInHand);
    else
        withBits(planes);
    item.setIcon(0, listIcon(marked ? 6 : 7));
    item.setIcon(1, listIcon(r.hasNote ? 8 : 9));
    if (hasAd) {
        item.setIcon(2, listIcon(m_section == Section::Telephone ? 1 : 0));
    } else {
        g.adNumber = 0;
    }
    if (hasMail)
        item.setIcon(3, listIcon(2));
    if (hasWeb)
        item.setIcon(4, listIcon(4));
    item.setText(5, uitext::fromData(cp1252::upper(r.name)));
    item.setText(6, uitext::fromData(g.phone));
    item.setText(7, uitext::fromData(r.address));
    item.setText(8, r.rubroId != 0 ? uitext::fromData(m_locs->RubroName(r.rubroId)) : QString());
    if (r.localityId != 0) {
        item.setText(9, uitext::fromData(m_locs->LocalityName(r.localityId)));
        item.setText(10, uitext::fromData(m_locs->ProvinceName(m_locs->LocalityProvince(r.localityId))));
    } else {
        item.setText(9, uitext::fromData(cp1252::upper(r.localityText)));
        item.setText(10, uitext::fromData(cp1252::upper(r.provinceText)));
    }
}

void TFormMain::scrbRegistrosChange(int position)
{
    if (m_agendaMode || !m_worker)
        return;
    if (position != m_pager->position())
        withBits([&](FiltroBits& bits) { m_pager->scrollTo(bits, position); });
    syncScrollBar();
    ShowCurrentRecord(0);
}

void TFormMain::ShowCurrentRecord(int row)
{
    if (!pnlBusqueDatos->isHidden()) {
        statusBar2->setPanelText(0, QString());
        return;
    }
    statusBar2->setPanelText(0, row < 0 || row >= m_rows->rowCount()
                                    ? u"Registro Actual: "_s
                                    : u"Registro Actual: "_s + QString::number(row + m_pager->position() + 1));
}

void TFormMain::lvListaSelectItem()
{
    const ResultItem* item = m_rows->current();
    const bool selected = item != nullptr;
    const int32_t r = selected ? item->grid.recno : 0;
    bool mail = false, web = false;
    if (selected && r != 0)
        withBits([&](FiltroBits& bits) {
            mail = bits.TestBit(r, plane::kMail);
            web = bits.TestBit(r, plane::kWeb);
        });
    const QList<QAction*> entries = popupLista->actions();
    entries[0]->setEnabled(selected && item->grid.adNumber != 0); // "Ver aviso"
    entries[1]->setEnabled(selected && mail);                     // "Realizar una consulta"
    updateWebLink(selected ? &item->grid : nullptr, web);         // "Ver sitio WWW"
    entries[3]->setEnabled(selected);                             // "Seleccionar"
    ShowCurrentRecord(m_rows->selectedRow());
}

bool TFormMain::lvListaKey(QKeyEvent* key, bool down)
{
    const int row = m_rows->selectedRow();
    if (row < 0)
        return false;
    const int o = row + m_pager->position() + 1;
    const auto scroll = [this](int p) { scrbRegistrosChange(std::clamp(p, 0, m_pager->maximum())); };
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (down) {
            m_enterDown = true;
        } else if (m_enterDown) {
            m_enterDown = false;
            if (popupLista->actions()[0]->isEnabled())
                popupLista->actions()[0]->trigger(); // the ad viewer
        }
        return true;
    case Qt::Key_Space:
        if (down)
            selectRecord();
        return true;
    case Qt::Key_PageUp:
        if (down)
            scroll(o - m_pager->pageRows() - 1);
        return false; // then the list moves its focus as usual
    case Qt::Key_PageDown:
        if (down)
            scroll(o + m_pager->pageRows() - 1);
        return true;
    case Qt::Key_Up:
        if (down && row == 0 && m_pager->position() > 0) {
            scroll(m_pager->position() - 1);
            return true;
        }
        return false;
    case Qt::Key_Down:
        if (down && row == m_rows->rowCount() - 1) {
            if (m_pager->position() < m_pager->maximum()) {
                scroll(m_pager->position() + 1);
                m_rows->selectRow(m_rows->rowCount() - 1);
            }
            return true;
        }
        return false;
    default: return false;
    }
}

int TFormMain::hitColumnAt(int x) const
{
    // Column i spans from the widths before it plus i + 1, for its own width.
    int start = 0;
    for (int i = 0; i < ColumnSettings::kColumns; ++i) {
        const int w = lvLista->isColumnHidden(i) ? 0 : lvLista->columnWidth(i);
        const int from = start + i + 1 - lvLista->header()->offset();
        if (x >= from && x <= from + w)
            return i;
        start += w;
    }
    return -1;
}

void TFormMain::lvListaClick(int column)
{
    if (column == 0 || m_hitColumn == 0)
        selectRecord();
}

void TFormMain::lvListaDblClick(int column)
{
    const int c = m_hitColumn >= 0 ? m_hitColumn : column;
    const QList<QAction*> entries = popupLista->actions();
    switch (c) {
    case 0: return;
    case 1:
        entries[5]->trigger(); // the record editor
        return;
    case 3:
        if (entries[1]->isEnabled())
            entries[1]->trigger();
        return;
    case 4:
        if (entries[2]->isEnabled())
            entries[2]->trigger();
        return;
    default:
        if (entries[0]->isEnabled())
            entries[0]->trigger();
    }
}

void TFormMain::SetAgendaMode(bool on)
{
    // The agenda fills the list with its own rows; until it exists the agenda's list is empty, and
    // agenda mode keeps the directory's hand-offs out of it.
    const bool entering = on && !m_agendaMode;
    m_agendaMode = on;
    if (entering) {
        m_pager->passStarted();
        syncScrollBar();
        scrbRegistros->hide();
        pnlNoData->hide();
        statusBar2->setPanelText(0, QString());
        statusBar2->setPanelText(1, QString());
    }
}

bool TFormMain::selectRecord(int32_t record, bool mark)
{
    if (mark)
        return markedRecords().AddMarked(record);
    markedRecords().RemoveMarked(record);
    return true;
}

void TFormMain::selectRecord(bool mark)
{
    ResultItem* item = m_rows->current();
    if (item == nullptr || m_agendaMode)
        return;
    const int32_t r = item->grid.recno;
    withBits([&](FiltroBits& bits) { bits.SetBit(r, kSelectionPlane, mark); });
    selectRecord(r, mark);
    item->setIcon(0, listIcon(mark ? 6 : 7));
}

void TFormMain::selectRecord()
{
    const ResultItem* item = m_rows->current();
    if (item == nullptr || m_agendaMode || !m_worker)
        return;
    bool marked = false;
    withBits([&](FiltroBits& bits) { marked = bits.TestBit(item->grid.recno, kSelectionPlane); });
    selectRecord(!marked);
}

void TFormMain::SetAllVisibleSelected(bool mark)
{
    if (m_agendaMode || !m_worker)
        return;
    m_rows->beginUpdate();
    for (int i = 0; i < m_rows->rowCount(); ++i) {
        ResultItem* item = m_rows->item(i);
        withBits([&](FiltroBits& bits) { bits.SetBit(item->grid.recno, kSelectionPlane, mark); });
        selectRecord(item->grid.recno, mark);
        item->setIcon(0, listIcon(mark ? 6 : 7));
    }
    m_rows->endUpdate();
}

void TFormMain::toggleFilter(int filter)
{
    if (filter == 5) {
        // The sixth icon is the grid, not a filter.
        m_gridLines = !m_gridLines;
        m_delegate->setGridLines(m_gridLines);
        lvLista->viewport()->update();
        StatusBar2Repaint();
        return;
    }
    if (filter < 0 || filter > 4)
        return;
    bool& on = m_filters[static_cast<size_t>(filter)];
    on = !on;
    withBits([&](FiltroBits& bits) {
        bits.SetRequired(kFilterPlanes[filter], on);
        bits.CountPassing();
    });
    StatusBar2Repaint();
    if (filter == 3) {
        const ColourScheme& c = appearance().scheme(m_scheme);
        btnShowSelected->setPicture(picture(on ? c.btn_seleccionados_on : c.btn_seleccionados_off));
    }
    if (m_agendaMode)
        return; // the agenda refills its own view
    m_pager->restartAtTop();
    ShowResults();
}

void TFormMain::ResetFilters()
{
    m_filters.fill(false);
    StatusBar2Repaint();
    RebuildNoteMarks();
    withBits([](FiltroBits& bits) {
        for (const int plane : kFilterPlanes)
            bits.SetRequired(plane, false);
    });
    const ColourScheme& c = appearance().scheme(m_scheme);
    btnShowSelected->setPicture(picture(c.btn_seleccionados_off));
}

void TFormMain::RebuildNoteMarks()
{
    withBits([](FiltroBits& bits) { bits.ClearCodes((1u << plane::kSelection) | (1u << plane::kNote)); });
    // The note plane is set from the agenda's notes; until the agenda exists no record has one.
}

void TFormMain::StatusBar2Repaint()
{
    static const QString tips[StatusBar2::kIcons] = {
        u"Filtrar registros con aviso"_s,     u"Filtrar registros con mail"_s, u"Filtrar registros con página web"_s,
        u"Filtrar registros seleccionados"_s, u"Filtrar registros con nota"_s, u"Mostrar / ocultar grilla"_s};
    for (int i = 0; i < StatusBar2::kIcons; ++i) {
        const bool on = i < 5 ? m_filters[static_cast<size_t>(i)] : m_gridLines;
        statusBar2->setIcon(i, listIcon(2 * i + (on ? 0 : 1)).pixmap(16, 16), tips[i]);
    }
}

void TFormMain::applyColumn(int column)
{
    const ColumnSettings::Limits l = columnSettings().limits(column);
    m_syncingColumns = true;
    lvLista->setColumnHidden(column, false);
    lvLista->setColumnWidth(column, l.width);
    m_syncingColumns = false;
}

void TFormMain::ColHide(int column)
{
    columnSettings().ColHide(column);
    applyColumn(column);
}

void TFormMain::ColShow(int column)
{
    columnSettings().ColShow(column);
    applyColumn(column);
}

void TFormMain::ToggleColumn(int column)
{
    if (!columnSettings().ToggleColumn(column))
        return;
    applyColumn(column);
    // Back to the page's first record, and the list re-pages.
    withBits([this](FiltroBits& bits) { bits.SetCursor(m_pager->topRecord()); });
    RepageList();
}

void TFormMain::columnResized(int column, int newSize)
{
    if (m_syncingColumns || column < 0 || column >= ColumnSettings::kColumns)
        return;
    // The limits the columns are designed with: fixed icon columns, text columns of 40 and more
    // while shown; a column hidden by the section can be dragged open by one pixel only.
    const ColumnSetting& s = columnSettings().at(column);
    int width = newSize;
    if (s.visible && width > 0 && width < s.minWidth)
        width = s.minWidth;
    if (s.maxWidth > 0 && width > s.maxWidth)
        width = s.maxWidth;
    const bool changed = columnSettings().widthChanged(column, width);
    if (changed) {
        applyColumn(column);
        withBits([this](FiltroBits& bits) { bits.SetCursor(m_pager->topRecord()); });
        RepageList();
    } else if (width != newSize) {
        m_syncingColumns = true;
        lvLista->setColumnWidth(column, width);
        m_syncingColumns = false;
    }
}

void TFormMain::withBits(const std::function<void(FiltroBits&)>& fn)
{
    if (m_bitsInHand != nullptr) { // already held by the caller
        fn(*m_bitsInHand);
        return;
    }
    if (!m_worker)
        return;
    auto access = m_worker->accessBits();
    struct InHand {
        FiltroBits*& slot;
        ~InHand() { slot = nullptr; }
    } inHand{m_bitsInHand};
    m_bitsInHand = &access.bits();
    fn(access.bits());
}

void TFormMain::placeOverlays()
{
    pnlBusqueDatos->setGeometry(lvLista->x() + 2, lvLista->y() + 20, std::max(0, lvLista->width() - 4),
                                std::max(0, lvLista->height() - 21));
    pnlNoData->setGeometry(lvLista->x() + 2, lvLista->y() + 24, std::max(0, lvLista->width() - 4),
                           std::max(0, lvLista->height() - 20));
}
