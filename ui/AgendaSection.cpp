#include "ui/AgendaSection.h"

#include "ui/AppearanceSettings.h"
#include "ui/ControlMakers.h"
#include "ui/ListRows.h"
#include "ui/ResultList.h"
#include "ui/UpperCaseValidator.h"
#include "widgets/UiText.h"

#include "agenda/AgendaCommands.h"
#include "agenda/TAgenda.h"
#include "engine/Cp1252.h"
#include "engine/FiltroBits.h"
#include "engine/QdData.h"
#include "engine/registro.h"
#include "search/MarkedRecords.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace controls;

namespace {

bool blank(const std::string& text)
{
    return cp1252::trim(text).empty();
}

// A typed-in contact as the list shows it: no locality or rubro number, no ad.
registro contactRecord(const TAgendaRecord& a)
{
    registro r;
    r.name = a.name;
    r.address = a.address;
    r.phoneText = a.phone;
    r.localityText = a.locality;
    r.provinceText = a.province;
    r.web = a.web;
    r.mail = a.mail;
    return r;
}

} // namespace

AgendaSection::AgendaSection(ResultList& list, QWidget* parent) : PicturePanel(parent), m_list(list)
{
    setObjectName(u"pnlAgenda"_s);
    setStretch(true);
    build();
    m_list.fillAgenda = [this] { fillView(); };
}

AgendaSection::~AgendaSection()
{
    m_list.fillAgenda = nullptr;
    m_list.attachAgenda(nullptr, nullptr);
}

void AgendaSection::build()
{
    lbl_AQuien = label(this, u"lbl_AQuien"_s, u"¿A quien Buscás?"_s, 10, 10);
    edBusquedaAgenda = new QLineEdit(this);
    edBusquedaAgenda->setObjectName(u"edBusquedaAgenda"_s);
    edBusquedaAgenda->setGeometry(10, 26, 155, 21);
    edBusquedaAgenda->setMaxLength(255);
    edBusquedaAgenda->setValidator(new UpperCaseValidator(edBusquedaAgenda));
    bbuBuscarAgenda = pictureButton(this, u"bbuBuscarAgenda"_s, kButtonsX, kButtonsY);
    bbuClearAgenda = pictureButton(this, u"bbuClearAgenda"_s, kButtonsX + 78, kButtonsY);
    vertBar20 = separator(this, u"vertBar20"_s, kBarX0);
    bbuHelp0 = pictureButton(this, u"bbuHelp0"_s, kHelpX, kHelpY);
    vertBar21 = separator(this, u"vertBar21"_s, kBarX1);
    bbuNuevoAgenda = pictureButton(this, u"bbuNuevoAgenda"_s, kButtonsX, 26);
    bbuNuevoAgenda->setToolTip(u"Agregar un contacto nuevo"_s);
    connect(bbuBuscarAgenda, &QAbstractButton::clicked, this, &AgendaSection::bbuBuscarAgendaClick);
    connect(bbuClearAgenda, &QAbstractButton::clicked, this, &AgendaSection::bbuClearAgendaClick);
    connect(bbuNuevoAgenda, &QAbstractButton::clicked, this, &AgendaSection::bbuNuevoAgenda1Click);
}

void AgendaSection::open(const std::string& folder)
{
    m_agenda = std::make_unique<TAgenda>(folder);
    m_agenda->SetEdition(TAgenda::kEdition);
    m_list.attachAgenda(m_agenda.get(), &m_selection);
    // Without a table there is nothing to add to: its buttons say so by being off.
    bbuNuevoAgenda->setEnabled(isOpen());
}

bool AgendaSection::isOpen() const
{
    return m_agenda != nullptr && m_agenda->isOpen();
}

void AgendaSection::applyColours(const ColourScheme& c, int scheme)
{
    setPicture(::picture(c.imgSecciones));
    for (PicturePanel* v : {vertBar20, vertBar21}) {
        v->setStretch(true);
        v->setPicture(::picture(c.vertBar));
    }
    bbuClearAgenda->setPicture(::picture(c.bbuLimpiar));
    bbuBuscarAgenda->setPicture(::picture(c.bbuBuscar));
    bbuHelp0->setPicture(::picture(c.btn_help));
    // The agenda is always shown in scheme 1; other schemes leave its label as it was.
    if (scheme == 1)
        setLabelColour(lbl_AQuien, c.Fuente);
}

registro AgendaSection::directoryRecord(int32_t recno) const
{
    registro r;
    if (m_store != nullptr)
        m_store->ReadRecord(r, recno);
    r.recno = recno;
    return r;
}

void AgendaSection::fillView()
{
    std::vector<registro> rows;
    if (isOpen()) {
        const QString search = edBusquedaAgenda->text().trimmed();
        // Filters in status-bar order: ad, mail, web, marked, note.
        const bool ad = m_list.filterOn(0), mail = m_list.filterOn(1), web = m_list.filterOn(2),
                   marked = m_list.filterOn(3), noted = m_list.filterOn(4);
        m_agenda->forEachRow([&](const TAgendaRecord& a) {
            registro r = a.recno != 0 ? directoryRecord(a.recno) : contactRecord(a);
            r.agendaRef = a.row;
            r.hasNote = !blank(a.note);
            if (!agendacommands::nameMatches(search, uitext::fromData(r.name)) || (noted && !r.hasNote) ||
                (ad && r.adNumber == 0) || (mail && blank(r.mail)) || (web && blank(r.web)) ||
                (marked && !m_selection.contains(a.row)))
                return;
            rows.push_back(std::move(r));
        });
    }
    std::vector<QString> names;
    names.reserve(rows.size());
    for (const registro& r : rows)
        names.push_back(uitext::fromData(r.name));
    std::vector<registro> sorted;
    sorted.reserve(rows.size());
    for (const size_t i : agendacommands::nameOrder(names))
        sorted.push_back(std::move(rows[i]));
    m_list.showAgendaRows(sorted);
}

void AgendaSection::RefreshAgendaView()
{
    m_list.SetAgendaMode(m_list.agendaMode());
}

void AgendaSection::bbuBuscarAgendaClick()
{
    m_list.SetAgendaMode(true);
}

void AgendaSection::bbuClearAgendaClick()
{
    edBusquedaAgenda->clear();
    m_list.SetAgendaMode(true);
}

void AgendaSection::bbuNuevoAgenda1Click()
{
    if (!isOpen())
        return;
    if (agendacommands::newContact(window(), *m_agenda) != 0)
        m_list.SetAgendaMode(true);
}

void AgendaSection::AddSelectionToAgenda()
{
    if (!isOpen())
        return;
    const MarkedRecords& marked = ResultList::marked();
    std::vector<int32_t> records;
    for (int i = 0; i < marked.MarkedCount(); ++i)
        records.push_back(marked.at(i));
    const auto mark = [this](int32_t recno) { m_list.setRecordPlane(recno, plane::kSelection, true); };
    if (!agendacommands::addSelection(window(), *m_agenda, records, mark))
        return;
    m_list.SetAllVisibleSelected(false);
    m_list.refreshNotas();
}

void AgendaSection::btnDelFromAgendaClick()
{
    if (!isOpen())
        return;
    const auto clearNote = [this](int32_t recno) { m_list.setRecordPlane(recno, plane::kNote, false); };
    if (agendacommands::removeSelection(window(), *m_agenda, m_selection, clearNote))
        RefreshAgendaView();
}

TAgendaRecord AgendaSection::shownContact(const ResultItem& row)
{
    TAgendaRecord shown;
    shown.row = row.grid.agendaRef;
    shown.recno = row.grid.recno;
    shown.name = uitext::toData(row.text(5));
    shown.phone = uitext::toData(row.text(6));
    shown.address = uitext::toData(row.text(7));
    shown.locality = uitext::toData(row.text(9));
    shown.province = uitext::toData(row.text(10));
    shown.web = row.grid.web;
    shown.mail = row.grid.mail;
    return shown;
}

void AgendaSection::mnuRegistroEditarClick()
{
    const ResultItem* focused = m_list.focusedRow();
    if (!isOpen() || focused == nullptr)
        return;
    const TAgendaRecord shown = shownContact(*focused);
    const agendacommands::EditResult edit = agendacommands::editRow(window(), *m_agenda, shown);
    if (!edit.accepted)
        return;

    registro r = shown.recno != 0 ? directoryRecord(shown.recno) : contactRecord(edit.record);
    r.agendaRef = edit.record.row; // 0 after an append: the row finds its new agenda row itself
    r.hasNote = edit.hasNote;
    if (shown.recno != 0)
        m_list.setRecordPlane(shown.recno, plane::kNote, edit.hasNote);
    // The list may have changed under the dialog (a search ending): refill the row if it is still there.
    ListRows& rows = m_list.rows();
    for (int i = 0; i < rows.rowCount(); ++i) {
        ResultItem* item = rows.item(i);
        if (item->grid.recno == shown.recno && (shown.recno != 0 || item->grid.agendaRef == shown.row)) {
            m_list.refillRow(*item, r);
            break;
        }
    }
}
