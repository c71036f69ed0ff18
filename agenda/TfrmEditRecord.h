// TfrmEditRecord: the "Datos del Contacto" dialog: a contact's seven texts and its note. For a
// directory record (record number not 0) only the note can be edited. Created for one use by the
// command that shows it (through modal::exec); main thread.
#pragma once

#include "agenda/TAgendaRecord.h"

#include <QDialog>

#include <cstdint>

class PictureButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

class TfrmEditRecord : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditRecord(QWidget* parent = nullptr);

    // The agenda row of the contact, 0 when it has none yet.
    void setAgendaRow(int32_t row) { m_agendaRow = row; }
    [[nodiscard]] int32_t agendaRow() const { return m_agendaRow; }
    // A directory record disables the seven text boxes.
    void setRecordNumber(int32_t recno);
    [[nodiscard]] int32_t recordNumber() const { return m_recno; }

    // The boxes from a record's texts (Windows-1252), and back: row and record number from the
    // dialog, stamp 0.
    void setTexts(const TAgendaRecord& record);
    [[nodiscard]] TAgendaRecord record() const;

    // The controls, named as designed.
    QLineEdit *tFigurac = nullptr, *tDomicil = nullptr, *tLocalid = nullptr, *tProvinc = nullptr, *tTelefon = nullptr,
              *tEmail = nullptr, *tWeb = nullptr;
    QPlainTextEdit* tNota = nullptr;
    QToolButton* cmdClearNote = nullptr;
    PictureButton *cmdAccept = nullptr, *cmdCancel = nullptr;

    static constexpr int kWidth = 479;
    static constexpr int kHeight = 499;

private:
    void tNotaChange();
    void cmdClearNoteClick();
    void cmdAcceptClick();
    void cmdCancelClick();

    int32_t m_agendaRow = 0;
    int32_t m_recno = 0;
};
