// The program's modal message and input boxes, with hooks for tests: while answers are queued, a
// box is not shown; it is recorded and takes the next queued answer (headless, see ModalSeam.h, an
// unqueued box is recorded and answered with no button). Captions and texts are the
// program's own. Main thread.
#pragma once

#include <QMessageBox>
#include <QString>

#include <deque>
#include <optional>
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
// An input box with a caption, a prompt and a default text: the text accepted, or nullopt for
// Cancel.
std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& value = QString());

// Test hook.
void queueAnswer(QMessageBox::StandardButton answer);
[[nodiscard]] const std::vector<Shown>& shown();
void clearShown();
[[nodiscard]] bool answersQueued();
// Input boxes: the next answers (nullopt: Cancel) and the boxes asked (text holds the prompt);
// clearShown empties both records.
void queueText(std::optional<QString> answer);
[[nodiscard]] const std::vector<Shown>& asked();

} // namespace messageboxes
