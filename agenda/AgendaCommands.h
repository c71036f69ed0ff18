// AgendaCommands: the agenda's window commands as far as they do not depend on how the result list
// is built: adding the marked records (with its limit and its three messages), removing the
// selected rows (with its confirmation), the new-contact and edit dialogs, the note marks, and the
// Spanish order of the agenda view. The window passes in what it owns (the marked records, the
// selection, the bit set's mark setters). Main thread.
#pragma once

#include "agenda/AgendaSelection.h"
#include "agenda/TAgenda.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

namespace agendacommands {

// AddSelectionToAgenda: refuses (limit message, or the empty-selection message) or adds every
// marked record, calling markSelected for each, and shows the success message. True when added;
// the caller then unmarks the rows shown and refreshes the note icons.
bool addSelection(QWidget* parent, TAgenda& agenda, const std::vector<int32_t>& marked,
                  const std::function<void(int32_t recno)>& markSelected);

// btnDelFromAgendaClick up to the refresh: the empty-selection message or the confirmation, then
// every selected row deleted (clearNoteMark for each directory record) and the selection emptied.
// True when rows were deleted; the caller then refreshes the agenda view.
bool removeSelection(QWidget* parent, TAgenda& agenda, AgendaSelection& selection,
                     const std::function<void(int32_t recno)>& clearNoteMark);

// bbuNuevoAgenda1Click up to the refresh: the dialog with empty boxes; on OK the contact is
// appended. The new row, or 0 on cancel or when the table refused the row (said in a message).
int32_t newContact(QWidget* parent, TAgenda& agenda);

// mnuRegistroEditarClick: `shown` is the focused list row (its texts as the cells show them, its
// record number and agenda row). The dialog opens with the texts upper-cased and the contact's
// note; on OK the row is rewritten or the record appended. A directory record the list shows
// without its agenda row (saved since the row was filled) is found by its number, so an edit never
// saves a record twice. A row the table refuses is said in a message and counts as not accepted.
struct EditResult {
    bool accepted = false;
    TAgendaRecord record; // as the dialog left it: row 0 after an append
    bool hasNote = false; // the trimmed note is not empty (the note mark follows it)
};
EditResult editRow(QWidget* parent, TAgenda& agenda, const TAgendaRecord& shown);

// RebuildNoteMarks: every record of the current range loses its selection and note marks (through
// clearRange), then the records with a note in the agenda get their note mark back.
void rebuildNoteMarks(const TAgenda& agenda, const std::function<void()>& clearRange,
                      const std::function<void(int32_t recno)>& setNoteMark);

// The agenda view's search (edBusquedaAgenda): an empty text passes every name, any other passes
// the names that contain it anywhere, both upper-cased with the Spanish rules.
bool nameMatches(const QString& search, const QString& name);

// The agenda view's order: Spanish (Argentina) collation of the upper-cased names, case and accents
// secondary, Ñ after N.
bool nameLess(const QString& a, const QString& b);
// The positions of names in the agenda view's order (stable).
std::vector<size_t> nameOrder(const std::vector<QString>& names);
void sortByName(std::vector<TAgendaRecord>& rows, const std::function<QString(const TAgendaRecord&)>& nameOf);

} // namespace agendacommands
