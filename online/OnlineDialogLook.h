// The look the two request dialogs share: white page, a heading, labels and notes in the program's
// colours, and the send button's picture. Helpers for the dialogs' constructors; main thread.
#pragma once

#include <QString>
#include <Qt>

#include <string>

class QDialog;
class QLabel;
class QPixmap;
class QPlainTextEdit;
class QWidget;

namespace onlinelook {

// White, fixed-size and centred on the screen once sized.
void setUpPage(QDialog& dialog, const QString& caption);
void centre(QDialog& dialog);
[[nodiscard]] QLabel* heading(QWidget* parent, const QString& text);
[[nodiscard]] QLabel* label(QWidget* parent, const QString& text);
// A field's label sits level with a one-line field and at the top of a taller one.
[[nodiscard]] Qt::Alignment labelAlignment(const QWidget* field);
[[nodiscard]] QLabel* note(QWidget* parent, const QString& text);
// The send button's face: an envelope and "Enviar" on the action bar's warm gradient.
[[nodiscard]] QPixmap sendPicture();
// A comment box's text as the server takes it: Windows-1252 with CR LF line ends.
[[nodiscard]] std::string noteData(const QPlainTextEdit& box);

} // namespace onlinelook
