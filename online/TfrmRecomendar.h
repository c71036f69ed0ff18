// TfrmRecomendar: the "Recomendá a un amigo" dialog: the sender's name and address, the fixed
// subject (rewritten when the name box is left), the friend's address and a comment. Send closes it
// with the OK result only when the friend's address is not blank. Created for one request by its
// caller and destroyed after it. Main thread.
#pragma once

#include "online/OnlineRequests.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class PictureButton;

class TfrmRecomendar : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRecomendar(QWidget* parent = nullptr);

    // What was typed, in the data's Windows-1252; the comment's lines joined by CR LF.
    [[nodiscard]] RecommendFields fields() const;

    void sb_sendClick();
    void tFromNombreExit();

    QLineEdit* tFromNombre = nullptr;
    QLineEdit* tFrom = nullptr;
    QLineEdit* tSubject = nullptr;
    QLineEdit* tTo = nullptr;
    QPlainTextEdit* tNota = nullptr;
    PictureButton* sb_send = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
