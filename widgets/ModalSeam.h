// The one way the program runs a modal dialog (record editor, requests, ad viewer, print dialog and
// preview, about): modal::exec. Tests queue the next results; while one is queued the dialog is
// not shown: the queued action runs on it (to read or fill its fields) and its result is returned
// as if the user had closed it so. In headless mode (tests) a dialog with nothing queued is
// recorded and rejected instead of blocking. Main thread only.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

namespace modal {

// What a dialog that went through the seam looked like when its result was taken.
struct Seen {
    QString className; // the dialog's meta-object class name, e.g. "TfrmRecomendar"
    QString title;     // its window title
    bool queued;       // false: nothing was queued (headless: rejected without showing)
};

// Runs the dialog modally (QDialog::exec) or takes the next queued result; returns the result
// (QDialog::Accepted, QDialog::Rejected or any value a dialog passes to done()).
int exec(QDialog& dialog);

// Test hook: the next exec does not show its dialog; act (if any) runs on the dialog first, then
// exec returns result.
void queueResult(int result, std::function<void(QDialog&)> act = {});
// Headless: an exec with nothing queued returns QDialog::Rejected at once (recorded with
// queued = false) instead of blocking.
void setHeadless(bool on);
[[nodiscard]] bool headless();
[[nodiscard]] const std::vector<Seen>& seen();
[[nodiscard]] bool resultsQueued();
void clear(); // empties the queue and the record

} // namespace modal
