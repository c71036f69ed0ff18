#include "agenda/AgendaCommands.h"

#include "agenda/TfrmEditRecord.h"
#include "engine/Cp1252.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"

#include <QCollator>
#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace agendacommands {

namespace {

void plainMessage(QWidget* parent, const QString& text)
{
    messageboxes::show(parent, QCoreApplication::applicationName(), text);
}

// A contact the user accepted but the table did not take (a full disk, say) must not vanish unseen.
void saveFailed(QWidget* parent)
{
    messageboxes::show(parent, QCoreApplication::applicationName(), u"No se pudo guardar el contacto en la agenda."_s,
                       QMessageBox::Ok, QMessageBox::Warning);
}

const QCollator& spanish()
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Spanish, QLocale::Argentina)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

} // namespace

bool addSelection(QWidget* parent, TAgenda& agenda, const std::vector<int32_t>& marked,
                  const std::function<void(int32_t)>& markSelected)
{
    const int32_t remaining = TAgenda::kMaxDirectoryRows - agenda.directoryRows();
    const auto n = static_cast<int32_t>(std::min<size_t>(marked.size(), TAgenda::kMaxDirectoryRows));
    if (remaining < n) {
        plainMessage(parent, u"La cantidad de registros a agendar supera el máximo permitido. Restan: "_s +
                                 QString::number(remaining));
        return false;
    }
    if (n == 0) {
        plainMessage(parent, u"Debe seleccionar al menos un registro para agregar a la agenda"_s);
        return false;
    }
    for (int32_t i = 0; i < n; ++i) {
        markSelected(marked[static_cast<size_t>(i)]);
        agenda.AddRecord(marked[static_cast<size_t>(i)]);
    }
    plainMessage(parent, u"Los registros seleccionados fueron agregados a la agenda con éxito."_s);
    return true;
}

bool removeSelection(QWidget* parent, TAgenda& agenda, AgendaSelection& selection,
                     const std::function<void(int32_t)>& clearNoteMark)
{
    if (selection.empty()) {
        messageboxes::show(parent, u"Atención"_s,
                           u"Debe seleccionar al menos un registro para eliminarlo de la agenda"_s);
        return false;
    }
    if (!messageboxes::confirm(parent, u"¿Está seguro que desea eliminar los registros seleccionados de la agenda?"_s))
        return false;
    for (int32_t row : selection.rows())
        if (const int32_t recno = agenda.DeleteRow(row); recno != 0)
            clearNoteMark(recno);
    selection.clear();
    return true;
}

int32_t newContact(QWidget* parent, TAgenda& agenda)
{
    TfrmEditRecord dialog(parent);
    if (modal::exec(dialog) != QDialog::Accepted)
        return 0;
    TAgendaRecord r = dialog.record();
    r.row = 0;
    r.recno = 0;
    r.edition = 0;
    const int32_t row = agenda.AppendRow(r);
    if (row == 0)
        saveFailed(parent);
    return row;
}

EditResult editRow(QWidget* parent, TAgenda& agenda, const TAgendaRecord& shown)
{
    TAgendaRecord texts = shown;
    for (std::string* s : {&texts.name, &texts.address, &texts.phone, &texts.locality, &texts.province})
        *s = cp1252::upper(*s);
    if (shown.row != 0) {
        TAgendaRecord stored;
        texts.note = agenda.readRow(shown.row, stored) ? stored.note : std::string();
    } else if (shown.recno != 0) {
        // The list's row may predate the record's saving (the add button does not refill rows).
        texts.row = agenda.FindRecord(shown.recno, texts.note);
    }
    TfrmEditRecord dialog(parent);
    dialog.setAgendaRow(texts.row);
    dialog.setRecordNumber(shown.recno);
    dialog.setTexts(texts);

    EditResult result;
    if (modal::exec(dialog) != QDialog::Accepted)
        return result;
    result.accepted = true;
    result.record = dialog.record();
    result.record.edition = 0;
    const bool saved =
        result.record.row != 0 ? agenda.RewriteRow(result.record) : agenda.AppendRow(result.record) != 0;
    if (!saved) {
        saveFailed(parent);
        result.accepted = false; // nothing changed: the row and its mark stay as they were
        return result;
    }
    // Trimmed, as the table keeps it: a note of blanks marks nothing.
    result.hasNote = !cp1252::trim(result.record.note).empty();
    return result;
}

void rebuildNoteMarks(const TAgenda& agenda, const std::function<void()>& clearRange,
                      const std::function<void(int32_t)>& setNoteMark)
{
    clearRange();
    agenda.forEachNotedRecord(setNoteMark);
}

bool nameMatches(const QString& search, const QString& name)
{
    return search.isEmpty() || name.toUpper().contains(search.toUpper());
}

bool nameLess(const QString& a, const QString& b)
{
    return spanish().compare(a.toUpper(), b.toUpper()) < 0;
}

std::vector<size_t> nameOrder(const std::vector<QString>& names)
{
    // One key per name: comparing keys is far cheaper than collating the strings each time.
    std::vector<std::pair<QCollatorSortKey, size_t>> keys;
    keys.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        keys.emplace_back(spanish().sortKey(names[i].toUpper()), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& x, const auto& y) { return x.first.compare(y.first) < 0; });
    std::vector<size_t> order;
    order.reserve(keys.size());
    for (const auto& k : keys)
        order.push_back(k.second);
    return order;
}

void sortByName(std::vector<TAgendaRecord>& rows, const std::function<QString(const TAgendaRecord&)>& nameOf)
{
    std::vector<QString> names;
    names.reserve(rows.size());
    for (const TAgendaRecord& r : rows)
        names.push_back(nameOf(r));
    std::vector<TAgendaRecord> sorted;
    sorted.reserve(rows.size());
    for (const size_t i : nameOrder(names))
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

} // namespace agendacommands
