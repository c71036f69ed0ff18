#include "ui/ResultList.h"

#include "ui/AppearanceSettings.h"
#include "ui/ColumnSettings.h"
#include "ui/ListRows.h"
#include "ui/ResultListDelegate.h"
#include "ui/StatusBar2.h"
#include "widgets/PicturePanel.h"
#include "widgets/UiText.h"

#include "agenda/AgendaSelection.h"
#include "agenda/TAgenda.h"
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
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Filters in status-bar order: ad, mail, web, marked, note.
constexpr int kFilterPlanes[5] = {plane::kAd, plane::kMail, plane::kWeb, plane::kSelection, plane::kNote};
constexpr int kSelectionPlane = plane::kSelection;

bool hasPlane(uint32_t flags, int plane)
{
    return ((flags >> plane) & 1u) != 0;
}

// The list takes the scroll bar's band while the bar is hidden (no search shown, the agenda).
void placeList(ResultList& panel)
{
    const int w = panel.width(), h = panel.height();
    const int bar = panel.scrbRegistros->sizeHint().width();
    panel.lvLista->setGeometry(0, 0, panel.scrbRegistros->isHidden() ? w : w - bar, h);
    panel.scrbRegistros->setGeometry(w - bar, 0, bar, h);
    panel.placeOverlays();
}

QIcon listIcon(int index)
{
    static QIcon icons[17];
    if (index < 0 || index > 16)
        return {};
    if (icons[index].isNull())
        icons[index] = QIcon(picture(u":/assets/icon_%1.svg"_s.arg(index, 2, 10, QLatin1Char('0'))));
    return icons[index];
}

void showMark(ResultItem& item, bool mark)
{
    item.flags = mark ? item.flags | (1u << kSelectionPlane) : item.flags & ~(1u << kSelectionPlane);
    item.setIcon(0, listIcon(mark ? 6 : 7));
}

} // namespace

ResultList::ResultList(StatusBar2* statusBar, QWidget* parent) : QWidget(parent), m_statusBar(statusBar)
{
    setObjectName(u"pnlLista"_s);
    build();
    buildContextMenu();

    m_rows = std::make_unique<ListRows>(
        lvLista, [this](ResultItem& item, int32_t record, uint32_t flags) { FillResultRow(record, flags, item); });
    m_pager = std::make_unique<ResultPager>(*m_rows);
    m_delegate = new ResultListDelegate(lvLista);
    lvLista->setItemDelegate(m_delegate);
    lvLista->setMouseTracking(true);
    lvLista->installEventFilter(this);
    lvLista->viewport()->installEventFilter(this);
    scrbRegistros->installEventFilter(this);
    lvLista->setIconSize(QSize(16, 16));
    QHeaderView* header = lvLista->header();
    header->setSectionsMovable(false);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { columnResized(column, newSize); });
    connect(scrbRegistros, &QScrollBar::valueChanged, this, &ResultList::scrbRegistrosChange);
    connect(lvLista, &QTreeWidget::currentItemChanged, this, [this] { lvListaSelectItem(); });
    connect(lvLista, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem*, int column) { lvListaClick(column); });
    connect(lvLista, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int column) { lvListaDblClick(column); });
    connect(m_statusBar, &StatusBar2::iconClicked, this, &ResultList::toggleFilter);
    QAction* select = popupLista->findChild<QAction*>(u"popupLista3"_s);
    if (select != nullptr)
        connect(select, &QAction::triggered, this, [this] { selectRecord(); });
    for (int c = 0; c < ColumnSettings::kColumns; ++c)
        applyColumn(c);
    StatusBar2Repaint(); // the filter icons show from the start, not from the first section switch
}

ResultList::~ResultList()
{
    // The views outlive the members while QWidget deletes them, and a list losing its items still
    // signals: nothing may reach the handlers any more.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    lvLista->removeEventFilter(this);
    lvLista->viewport()->removeEventFilter(this);
    scrbRegistros->removeEventFilter(this);
}

void ResultList::attach(ThreadFillList* worker, QdData* store, QdLocs* locs)
{
    m_worker = worker;
    m_store = store;
    m_locs = locs;
}

void ResultList::attachAgenda(const TAgenda* agenda, AgendaSelection* selection)
{
    m_agenda = agenda;
    m_agendaSelection = selection;
}

void ResultList::build()
{
    lvLista = new QTreeWidget(this);
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

    scrbRegistros = new QScrollBar(Qt::Vertical, this);
    scrbRegistros->setObjectName(u"scrbRegistros"_s);
    scrbRegistros->setRange(0, 0);
    scrbRegistros->hide();

    pnlBusqueDatos = new PicturePanel(this, QColor(235, 235, 235));
    pnlBusqueDatos->setObjectName(u"pnlBusqueDatos"_s);
    pnlBusqueDatos->setPicture(picture(appearance().busqueDatos));
    pnlBusqueDatos->setCenter(true);
    pnlNoData = new QLabel(u"No se han encontrado resultados"_s, this);
    pnlNoData->setObjectName(u"pnlNoData"_s);
    pnlNoData->setAlignment(Qt::AlignCenter);
    pnlNoData->setAutoFillBackground(true);
    pnlNoData->hide();
}

void ResultList::buildContextMenu()
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
    const std::function<void()>* hooks[6] = {&openAd, &mail, &web, nullptr, &recommend, &editNote};
    for (int i = 0; i < 6; ++i) {
        if (hooks[i] == nullptr)
            continue;
        connect(popupLista->actions()[i], &QAction::triggered, this, [hook = hooks[i]] {
            if (*hook)
                (*hook)();
        });
    }
    connect(lvLista, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popupLista->popup(lvLista->viewport()->mapToGlobal(pos)); });
}

void ResultList::PassStarted()
{
    ++m_passesStarted;
    Q_EMIT passStarting();
    m_pager->passStarted();
    m_statusBar->setPanelText(1, u"*** Buscando ***"_s);
    m_statusBar->repaint();
    syncScrollBar();
}

void ResultList::MatchFound(int32_t record, int32_t count)
{
    const Match match{record, count};
    MatchesFound(std::span<const Match>(&match, 1));
}

// The first page found in one go is painted once, as the last of its matches leaves it.
void ResultList::MatchesFound(std::span<const Match> matches)
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
    m_statusBar->setPanelText(1, u"**Registros encontrados: "_s + QString::number(matches.back().count) + u"**"_s);
    syncScrollBar();
}

void ResultList::PassEnded(int32_t count)
{
    ++m_passesEnded;
    if (m_agendaMode)
        return;
    Q_EMIT passFinished();
    m_pager->setCount(count);
    // The page rebuilds from its own top record: a scroll during the pass left the cursor at the
    // page's bottom.
    withBits([this](FiltroBits& bits) { bits.SetCursor(m_pager->topRecord()); });
    syncScrollBar();
    // A search that found nothing still leaves the intro for "Registros encontrados: 0".
    if (count != 0 || (searchDone && searchDone()))
        ShowResults();
    showNoData(count == 0);
    m_statusBar->setPanelText(1, !pnlBusqueDatos->isHidden() ? QString()
                                                             : u"Registros encontrados: "_s + QString::number(count));
}

void ResultList::showNoData(bool visible)
{
    if (visible) {
        // Painted in the list's own colour, which the section sets.
        QPalette pal = pnlNoData->palette();
        pal.setColor(QPalette::Window, lvLista->palette().color(QPalette::Base));
        pnlNoData->setPalette(pal);
        pnlNoData->raise();
    }
    pnlNoData->setVisible(visible);
}

void ResultList::syncScrollBar()
{
    const QSignalBlocker block(scrbRegistros);
    scrbRegistros->setRange(0, m_pager->maximum());
    scrbRegistros->setPageStep(std::max(1, m_pager->pageRows()));
    scrbRegistros->setSingleStep(1);
    scrbRegistros->setValue(m_pager->position());
}

void ResultList::ShowResults()
{
    if (m_agendaMode || !m_worker)
        return;
    if (!searchDone || !searchDone()) {
        scrbRegistros->hide();
        pnlBusqueDatos->show();
        pnlBusqueDatos->raise();
        ShowCurrentRecord(-1);
        return;
    }
    scrbRegistros->show();
    Q_EMIT resultsShown();
    int32_t count = 0;
    withBits([&](FiltroBits& bits) { count = m_pager->showResults(bits); });
    syncScrollBar();
    if (m_rows->rowCount() > 0 && lvLista->sizeHintForRow(0) != m_rowHeight)
        RepageList(); // the first rows tell the real row height
    m_statusBar->setPanelText(1, u"Registros encontrados: "_s + QString::number(count));
    showNoData(count < 1);
    pnlBusqueDatos->hide();
    ShowCurrentRecord(m_rows->selectedRow());
}

void ResultList::RepageList()
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

void ResultList::AddResultRow(int32_t record, int position)
{
    uint32_t flags = 0;
    withBits([&](FiltroBits& bits) { flags = bits.InRange(record) ? bits.wordAt(record) : 0; });
    if (position == 0)
        m_rows->insertFirst(record, flags);
    else
        m_rows->append(record, flags);
}

void ResultList::FillResultRow(int32_t record, uint32_t flags, ResultItem& item)
{
    registro r;
    if (m_store)
        m_store->ReadRecord(r, record);
    r.recno = record;
    fillRow(r, flags, item);
}

void ResultList::fillRow(registro& r, uint32_t flags, ResultItem& item)
{
    // A directory row learns its agenda row and note from the agenda's in-memory index.
    if (r.agendaRef == 0 && r.recno != 0 && m_agenda != nullptr) {
        std::string note;
        r.agendaRef = m_agenda->FindRecord(r.recno, note);
        r.hasNote = r.hasNote || !cp1252::trim(note).empty();
    }
    const bool directory = r.recno != 0;
    GridData& g = item.grid;
    g.recno = r.recno;
    g.agendaRef = r.agendaRef;
    g.adNumber = r.adNumber;
    g.web = r.web;
    g.mail = r.mail;
    g.phone = !directory ? r.phoneText : r.areaCode != 0 ? r.DisplayPhone() : std::string();

    item.flags = flags;
    const bool marked = m_agendaMode && m_agendaSelection != nullptr ? m_agendaSelection->contains(r.agendaRef)
                                                                     : hasPlane(flags, kSelectionPlane);
    const bool hasAd = directory && hasPlane(flags, plane::kAd);
    const bool hasMail = directory ? hasPlane(flags, plane::kMail) : !r.mail.empty();
    const bool hasWeb = directory ? hasPlane(flags, plane::kWeb) : !r.web.empty();
    item.setIcon(0, listIcon(marked ? 6 : 7));
    item.setIcon(1, listIcon(r.hasNote ? 8 : 9));
    item.setIcon(2, hasAd ? listIcon(m_telephoneGuide ? 1 : 0) : QIcon());
    if (!hasAd)
        g.adNumber = 0;
    item.setIcon(3, hasMail ? listIcon(2) : QIcon());
    item.setIcon(4, hasWeb ? listIcon(4) : QIcon());
    item.setText(5, uitext::fromData(cp1252::upper(r.name)));
    item.setText(6, uitext::fromData(directory ? g.phone : cp1252::upper(g.phone)));
    item.setText(7, uitext::fromData(r.address));
    item.setText(8, r.rubroId != 0 && m_locs ? uitext::fromData(m_locs->RubroName(r.rubroId)) : QString());
    if (r.localityId != 0 && m_locs) {
        item.setText(9, uitext::fromData(m_locs->LocalityName(r.localityId)));
        item.setText(10, uitext::fromData(m_locs->ProvinceName(m_locs->LocalityProvince(r.localityId))));
    } else {
        item.setText(9, uitext::fromData(cp1252::upper(r.localityText)));
        item.setText(10, uitext::fromData(cp1252::upper(r.provinceText)));
    }
}

uint32_t ResultList::agendaFlags(const registro& r, const FiltroBits* bits) const
{
    if (r.recno != 0 && bits != nullptr && bits->InRange(r.recno))
        return bits->wordAt(r.recno) & ~(1u << kSelectionPlane);
    uint32_t flags = 0;
    if (r.adNumber != 0)
        flags |= 1u << plane::kAd;
    if (!cp1252::trim(r.mail).empty())
        flags |= 1u << plane::kMail;
    if (!cp1252::trim(r.web).empty())
        flags |= 1u << plane::kWeb;
    return flags;
}

void ResultList::showAgendaRows(const std::vector<registro>& records)
{
    if (!m_agendaMode)
        return;
    // Filled off the view and added in one go: a large agenda paints once.
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(records.size()));
    const auto fill = [&](const FiltroBits* bits) {
        for (const registro& record : records) {
            auto* item = new ResultItem;
            registro r = record;
            fillRow(r, agendaFlags(r, bits), *item);
            items.append(item);
        }
    };
    if (m_worker)
        withBits([&](FiltroBits& bits) { fill(&bits); });
    else
        fill(nullptr);
    m_rows->beginUpdate();
    m_rows->clearRows();
    lvLista->addTopLevelItems(items);
    m_rows->endUpdate();
    if (!items.isEmpty())
        m_rows->selectRow(0);
    m_statusBar->setPanelText(1, u"Registros encontrados: "_s + QString::number(items.size()));
    ShowCurrentRecord(m_rows->selectedRow());
}

void ResultList::refillRow(ResultItem& item, const registro& record)
{
    registro r = record;
    uint32_t flags = m_agendaMode ? agendaFlags(r, nullptr) : 0; // without a worker, no bit set
    withBits([&](FiltroBits& bits) {
        flags = m_agendaMode ? agendaFlags(r, &bits) : bits.InRange(r.recno) ? bits.wordAt(r.recno) : 0;
    });
    fillRow(r, flags, item);
}

void ResultList::setRecordPlane(int32_t record, int plane, bool on)
{
    if (record != 0)
        withBits([&](FiltroBits& bits) { bits.SetBit(record, plane, on); });
}

void ResultList::refreshNotas()
{
    if (m_agendaMode)
        return; // the agenda's rows carry their notes themselves
    withBits([this](FiltroBits& bits) {
        for (int i = 0; i < m_rows->rowCount(); ++i) {
            ResultItem* item = m_rows->item(i);
            item->setIcon(1, listIcon(bits.TestBit(item->grid.recno, plane::kNote) ? 8 : 9));
        }
    });
}

void ResultList::scrbRegistrosChange(int position)
{
    if (m_agendaMode || !m_worker)
        return;
    if (position != m_pager->position())
        withBits([&](FiltroBits& bits) { m_pager->scrollTo(bits, position); });
    syncScrollBar();
    ShowCurrentRecord(0);
}

void ResultList::ShowCurrentRecord(int row)
{
    if (m_agendaMode) {
        m_statusBar->setPanelText(0, row < 0 ? u"Registro Actual: "_s : u"Registro Actual: "_s + QString::number(row + 1));
        return;
    }
    if (!pnlBusqueDatos->isHidden()) {
        m_statusBar->setPanelText(0, QString());
        return;
    }
    m_statusBar->setPanelText(0, row < 0 || row >= m_rows->rowCount()
                                     ? u"Registro Actual: "_s
                                     : u"Registro Actual: "_s + QString::number(row + m_pager->position() + 1));
}

void ResultList::lvListaSelectItem()
{
    const ResultItem* item = m_rows->current();
    const bool selected = item != nullptr;
    const int32_t r = selected ? item->grid.recno : 0;
    // The row keeps its record's flag word: this runs while the pager holds the bit set too.
    const bool mail = selected && r != 0 && hasPlane(item->flags, plane::kMail);
    const bool web = selected && r != 0 && hasPlane(item->flags, plane::kWeb);
    const QList<QAction*> entries = popupLista->actions();
    entries[0]->setEnabled(selected && item->grid.adNumber != 0); // "Ver aviso"
    entries[1]->setEnabled(selected && mail);                     // "Realizar una consulta"
    if (webLinkChanged)                                           // "Ver sitio WWW"
        webLinkChanged(selected ? &item->grid : nullptr, web);
    entries[3]->setEnabled(selected); // "Seleccionar"
    ShowCurrentRecord(m_rows->selectedRow());
}

bool ResultList::lvListaKey(QKeyEvent* key, bool down)
{
    const int row = m_rows->selectedRow();
    if (row < 0)
        return false;
    // The agenda shows all its rows: only Enter and Space are the list's own there.
    if (m_agendaMode && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter && key->key() != Qt::Key_Space)
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

int ResultList::hitColumnAt(int x) const
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

void ResultList::lvListaClick(int column)
{
    if (column == 0 || m_hitColumn == 0)
        selectRecord();
}

void ResultList::lvListaDblClick(int column)
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

void ResultList::SetAgendaMode(bool on)
{
    const bool entering = on && !m_agendaMode;
    m_agendaMode = on;
    scrbRegistros->hide();
    if (!on) {
        if (m_agendaSelection != nullptr)
            m_agendaSelection->clear();
        lvLista->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return;
    }
    if (entering) {
        // The directory's page is dropped; the agenda's rows scroll in the list itself.
        m_pager->passStarted();
        syncScrollBar();
        pnlNoData->hide();
        pnlBusqueDatos->hide();
        lvLista->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_statusBar->setPanelText(0, QString());
        m_statusBar->setPanelText(1, QString());
    }
    if (fillAgenda)
        fillAgenda();
    else
        m_rows->clearRows();
    lvLista->repaint();
}

bool ResultList::selectRecord(int32_t record, bool mark)
{
    if (mark)
        return markedRecords().AddMarked(record);
    markedRecords().RemoveMarked(record);
    return true;
}

void ResultList::selectRecord(bool mark)
{
    ResultItem* item = m_rows->current();
    if (item == nullptr)
        return;
    if (m_agendaMode) {
        if (m_agendaSelection != nullptr)
            m_agendaSelection->set(item->grid.agendaRef, mark);
        showMark(*item, mark);
        return;
    }
    const int32_t r = item->grid.recno;
    withBits([&](FiltroBits& bits) { bits.SetBit(r, kSelectionPlane, mark); });
    selectRecord(r, mark);
    showMark(*item, mark);
}

void ResultList::selectRecord()
{
    const ResultItem* item = m_rows->current();
    if (item == nullptr)
        return;
    if (m_agendaMode) {
        selectRecord(m_agendaSelection == nullptr || !m_agendaSelection->contains(item->grid.agendaRef));
        return;
    }
    if (!m_worker)
        return;
    bool marked = false;
    withBits([&](FiltroBits& bits) { marked = bits.TestBit(item->grid.recno, kSelectionPlane); });
    selectRecord(!marked);
}

void ResultList::SetAllVisibleSelected(bool mark)
{
    if (m_agendaMode) {
        m_rows->beginUpdate();
        for (int i = 0; i < m_rows->rowCount(); ++i) {
            ResultItem* item = m_rows->item(i);
            if (m_agendaSelection != nullptr)
                m_agendaSelection->set(item->grid.agendaRef, mark);
            showMark(*item, mark);
        }
        m_rows->endUpdate();
        return;
    }
    if (!m_worker)
        return;
    m_rows->beginUpdate();
    for (int i = 0; i < m_rows->rowCount(); ++i) {
        ResultItem* item = m_rows->item(i);
        withBits([&](FiltroBits& bits) { bits.SetBit(item->grid.recno, kSelectionPlane, mark); });
        selectRecord(item->grid.recno, mark);
        showMark(*item, mark);
    }
    m_rows->endUpdate();
}

void ResultList::toggleFilter(int filter)
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
    if (filter == 3)
        Q_EMIT markedFilterChanged(on);
    if (m_agendaMode) {
        if (fillAgenda)
            fillAgenda();
        return;
    }
    m_pager->restartAtTop();
    ShowResults();
}

void ResultList::ResetFilters()
{
    m_filters.fill(false);
    StatusBar2Repaint();
    RebuildNoteMarks();
    withBits([](FiltroBits& bits) {
        for (const int plane : kFilterPlanes)
            bits.SetRequired(plane, false);
    });
    Q_EMIT markedFilterChanged(false);
}

void ResultList::DropSelectionMarks()
{
    withBits([](FiltroBits& bits) { bits.SetCodeEverywhere(kSelectionPlane, false); });
}

void ResultList::RebuildNoteMarks()
{
    withBits([this](FiltroBits& bits) {
        bits.ClearCodes((1u << plane::kSelection) | (1u << plane::kNote));
        if (m_agenda == nullptr)
            return;
        m_agenda->forEachNotedRecord([&bits](int32_t recno) {
            if (bits.InRange(recno)) // a record outside the section's range stays unmarked
                bits.SetBit(recno, plane::kNote, true);
        });
    });
}

void ResultList::StatusBar2Repaint()
{
    static const QString tips[StatusBar2::kIcons] = {
        u"Filtrar registros con aviso"_s,     u"Filtrar registros con mail"_s, u"Filtrar registros con página web"_s,
        u"Filtrar registros seleccionados"_s, u"Filtrar registros con nota"_s, u"Mostrar / ocultar grilla"_s};
    for (int i = 0; i < StatusBar2::kIcons; ++i) {
        const bool on = i < 5 ? m_filters[static_cast<size_t>(i)] : m_gridLines;
        m_statusBar->setIcon(i, listIcon(2 * i + (on ? 0 : 1)).pixmap(16, 16), tips[i]);
    }
}

void ResultList::applyColumn(int column)
{
    const ColumnSettings::Limits l = columnSettings().limits(column);
    m_syncingColumns = true;
    lvLista->setColumnHidden(column, false);
    lvLista->setColumnWidth(column, l.width);
    m_syncingColumns = false;
}

void ResultList::ColHide(int column)
{
    columnSettings().ColHide(column);
    applyColumn(column);
}

void ResultList::ColShow(int column)
{
    columnSettings().ColShow(column);
    applyColumn(column);
}

void ResultList::ToggleColumn(int column)
{
    if (!columnSettings().ToggleColumn(column))
        return;
    applyColumn(column);
    // Back to the page's first record, and the list re-pages.
    withBits([this](FiltroBits& bits) { bits.SetCursor(m_pager->topRecord()); });
    RepageList();
}

void ResultList::columnResized(int column, int newSize)
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

void ResultList::withBits(const std::function<void(FiltroBits&)>& fn)
{
    if (!m_worker)
        return;
    auto access = m_worker->accessBits();
    fn(access.bits());
}

void ResultList::placeOverlays()
{
    pnlBusqueDatos->setGeometry(lvLista->x() + 2, lvLista->y() + 20, std::max(0, lvLista->width() - 4),
                                std::max(0, lvLista->height() - 21));
    pnlNoData->setGeometry(lvLista->x() + 2, lvLista->y() + 24, std::max(0, lvLista->width() - 4),
                           std::max(0, lvLista->height() - 20));
}

void ResultList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeList(*this);
    RepageList();
}

bool ResultList::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == scrbRegistros && (type == QEvent::ShowToParent || type == QEvent::HideToParent)) {
        placeList(*this);
        return false;
    }
    if (watched == lvLista && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() || type == QEvent::KeyPress)
            return lvListaKey(key, type == QEvent::KeyPress);
        return false;
    }
    if (watched == lvLista && (type == QEvent::FocusIn || type == QEvent::FocusOut)) {
        // Enter belongs to the list while it has the focus; the search button gets it back after.
        m_enterDown = false;
        return false;
    }
    if (watched == lvLista->viewport()) {
        if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            m_hitColumn = hitColumnAt(static_cast<QMouseEvent*>(event)->position().toPoint().x());
        if (type == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            static const QString tips[5] = {QString(), u"Nota"_s, u"Aviso"_s, u"Mail"_s, u"Web"_s};
            m_hitColumn = hitColumnAt(help->pos().x());
            if (m_hitColumn >= 1 && m_hitColumn <= 4)
                QToolTip::showText(help->globalPos(), tips[m_hitColumn], lvLista->viewport());
            else
                QToolTip::hideText();
            return true;
        }
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

ResultItem* ResultList::focusedRow() const
{
    return m_rows->current();
}

std::vector<GridData> ResultList::shownRows() const
{
    std::vector<GridData> shown;
    shown.reserve(static_cast<size_t>(m_rows->rowCount()));
    for (int i = 0; i < m_rows->rowCount(); ++i)
        shown.push_back(m_rows->item(i)->grid);
    return shown;
}

MarkedRecords& ResultList::marked()
{
    return markedRecords();
}

QString ResultList::sectionName() const
{
    return m_statusBar->panelText(2);
}

std::array<int, ColumnSettings::kColumns> ResultList::columnWidths() const
{
    std::array<int, ColumnSettings::kColumns> widths{};
    for (int c = 0; c < ColumnSettings::kColumns; ++c)
        widths[static_cast<size_t>(c)] = lvLista->isColumnHidden(c) ? 0 : lvLista->columnWidth(c);
    return widths;
}
