// TfrmConsultar: the "Enviá una consulta a un anunciante" dialog: the sender's name and address,
// the fixed subject, the names of the addressed records, a note when some chosen records have no
// mail address, and a comment. Send always closes it with the OK result. Created for one request by
// its caller and destroyed after it. Main thread.
#pragma once

#include "online/OnlineRequests.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class PictureButton;

class TfrmConsultar : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConsultar(QWidget* parent = nullptr);

    // Lists the records' names and shows or hides the note for the records without an address.
    void setTargets(const ContactTargets& targets);
    // What was typed, in the data's Windows-1252; the comment's lines joined by CR LF.
    [[nodiscard]] ContactFields fields() const;

    void sb_sendClick();

    QLineEdit* tFromNombre = nullptr;
    QLineEdit* tFrom = nullptr;
    QLineEdit* tSubject = nullptr;
    QListWidget* lsTo = nullptr;
    QLabel* lToNote = nullptr;
    QPlainTextEdit* tNota = nullptr;
    QLineEdit* tTo = nullptr; // hidden, not used
    PictureButton* sb_send = nullptr;
};
