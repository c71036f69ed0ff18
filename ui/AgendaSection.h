// AgendaSection: the agenda's header (the panel named pnlAgenda: the name search, the search, clear
// and new-contact buttons, the help picture) and the agenda's commands in the window: the agenda
// view it fills into the result list, adding the marked records, removing the selected rows, new
// contacts, editing a row's contact and note. Owns the agenda table (opened once, for the whole
// run) and the agenda view's selection.
//
// Owned by the main window through its Qt parent; the result list and the record store are the
// window's (attach the store after start-up). Main thread only.
#pragma once

#include "agenda/AgendaSelection.h"
#include "agenda/TAgendaRecord.h"
#include "widgets/PicturePanel.h"

#include <memory>
#include <string>

class PictureButton;
class QLabel;
class QLineEdit;
class QdData;
class ResultItem;
class ResultList;
class TAgenda;
class registro;
struct ColourScheme;

class AgendaSection final : public PicturePanel {
    Q_OBJECT
public:
    AgendaSection(ResultList& list, QWidget* parent);
    ~AgendaSection() override;

    // Opens (or creates) the table in folder, which ends with a separator, for the current edition.
    // A table that cannot be opened leaves the agenda closed: its commands then change nothing.
    void open(const std::string& folder);
    void attach(QdData* store) { m_store = store; }
    [[nodiscard]] TAgenda* agenda() const { return m_agenda.get(); }
    [[nodiscard]] bool isOpen() const;
    [[nodiscard]] AgendaSelection& selection() { return m_selection; }
    void applyColours(const ColourScheme& c, int scheme);

    // The agenda view: the rows that pass the name search and the list's filters, by name.
    void fillView();
    void RefreshAgendaView();

    void bbuBuscarAgendaClick();
    void bbuClearAgendaClick();
    void bbuNuevoAgenda1Click();
    void AddSelectionToAgenda();
    void btnDelFromAgendaClick();
    void mnuRegistroEditarClick();
    // A list row's contact as the record dialog takes it: the texts as the cells show them, the
    // record number, agenda row, web and mail of its row data; no note.
    [[nodiscard]] static TAgendaRecord shownContact(const ResultItem& row);

    QLabel* lbl_AQuien = nullptr;
    QLineEdit* edBusquedaAgenda = nullptr;
    PictureButton *bbuBuscarAgenda = nullptr, *bbuClearAgenda = nullptr, *bbuNuevoAgenda = nullptr,
                  *bbuHelp0 = nullptr;
    PicturePanel *vertBar20 = nullptr, *vertBar21 = nullptr;

private:
    void build();
    // The decoded record a list row shows for a directory record (read from the store) or a
    // typed-in contact.
    [[nodiscard]] registro directoryRecord(int32_t recno) const;

    ResultList& m_list;
    QdData* m_store = nullptr;
    std::unique_ptr<TAgenda> m_agenda;
    AgendaSelection m_selection;
};
