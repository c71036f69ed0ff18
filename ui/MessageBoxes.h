// The program's modal message boxes, with a hook for tests: while answers are queued, a box is not
// shown; it is recorded and takes the next queued answer. Captions and texts are the program's
// own. Main thread.
#pragma once

#include <QMessageBox>
#include <QString>

#include <deque>
#include <vector>

namespace messageboxes {

struct Shown {
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// Shows a box with an information icon; returns the button pressed.
QMessageBox::StandardButton show(QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::Icon icon = QMessageBox::Information);
// "Atención" Yes/No confirmation: true for Yes.
bool confirm(QWidget* parent, const QString& text);

// Test hook.
void queueAnswer(QMessageBox::StandardButton answer);
[[nodiscard]] const std::vector<Shown>& shown();
void clearShown();
[[nodiscard]] bool answersQueued();

} // namespace messageboxes
