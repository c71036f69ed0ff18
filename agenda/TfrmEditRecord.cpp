#include "agenda/TfrmEditRecord.h"

#include "engine/Cp1252.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"
#include "widgets/UiText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The dialog's pictures are compiled into this static library: registered by hand before use.
static void registerPictures()
{
    Q_INIT_RESOURCE(agenda);
}

namespace {

// Layout of the 479 x 499 client area, in pixels.
constexpr int kMargin = 16;
constexpr int kFullWidth = TfrmEditRecord::kWidth - 2 * kMargin;
constexpr int kGap = 17;
constexpr int kHalfWidth = (kFullWidth - kGap) / 2;
constexpr int kRightX = kMargin + kHalfWidth + kGap;
constexpr int kEditHeight = 21;
constexpr int kLabelHeight = 15;
constexpr int kRowStep = 46; // label + box + space
constexpr int kFirstRowY = 104;
constexpr int kNoteHeight = 117;

const QColor kLabelColour(152, 104, 4);
const QColor kTitleColour(127, 67, 13);
const QColor kBackground(255, 250, 240);

QLabel* label(QWidget* parent, const QString& text, int x, int y, int width)
{
    auto* l = new QLabel(text, parent);
    QFont f(u"Verdana"_s);
    f.setPointSize(8);
    f.setBold(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kLabelColour);
    l->setPalette(p);
    l->setGeometry(x, y, width, kLabelHeight);
    return l;
}

QLineEdit* edit(QWidget* parent, const QString& name, int x, int y, int width, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, width, kEditHeight);
    e->setMaxLength(maxLength);
    return e;
}

QLabel* centredText(QWidget* parent, const QString& text, int y, bool bold)
{
    auto* l = new QLabel(text, parent);
    QFont f(u"Verdana"_s);
    f.setPointSize(bold ? 9 : 8);
    f.setBold(bold);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kTitleColour);
    l->setPalette(p);
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(0, y, TfrmEditRecord::kWidth, 18);
    return l;
}

QString trimmedNote(const QString& text)
{
    return uitext::fromData(cp1252::trim(uitext::toData(text)));
}

} // namespace

TfrmEditRecord::TfrmEditRecord(QWidget* parent) : QDialog(parent)
{
    static const bool registered = (registerPictures(), true);
    (void)registered;
    setObjectName(u"frmEditRecord"_s);
    setWindowTitle(u"Datos del Contacto"_s);
    setFixedSize(kWidth, kHeight);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);

    auto* header = new PicturePanel(this);
    header->setObjectName(u"imgHeader"_s);
    header->setPicture(QPixmap(u":/agenda/frmEditRecord_header.svg"_s));
    header->setGeometry(0, 0, kWidth, 64);
    centredText(this, u"Editá los datos de tu contacto."_s, 74, true);

    int y = kFirstRowY;
    label(this, u"Nombre: (*)"_s, kMargin, y, kFullWidth);
    tFigurac = edit(this, u"tFigurac"_s, kMargin, y + kLabelHeight + 2, kFullWidth, 80);
    y += kRowStep;
    label(this, u"Domicilio:"_s, kMargin, y, kFullWidth);
    tDomicil = edit(this, u"tDomicil"_s, kMargin, y + kLabelHeight + 2, kFullWidth, 80);
    y += kRowStep;
    label(this, u"Localidad:"_s, kMargin, y, kHalfWidth);
    tLocalid = edit(this, u"tLocalid"_s, kMargin, y + kLabelHeight + 2, kHalfWidth, 40);
    label(this, u"Provincia:"_s, kRightX, y, kHalfWidth);
    tProvinc = edit(this, u"tProvinc"_s, kRightX, y + kLabelHeight + 2, kHalfWidth, 40);
    y += kRowStep;
    label(this, u"Teléfono:"_s, kMargin, y, kHalfWidth);
    tTelefon = edit(this, u"tTelefon"_s, kMargin, y + kLabelHeight + 2, kHalfWidth, 30);
    label(this, u"Comentario:"_s, kRightX, y, kHalfWidth - 24);
    cmdClearNote = new QToolButton(this);
    cmdClearNote->setObjectName(u"cmdClearNote"_s);
    cmdClearNote->setText(u"X"_s);
    cmdClearNote->setAutoRaise(true);
    cmdClearNote->setToolTip(u"Borrar comentario"_s);
    cmdClearNote->setGeometry(kRightX + kHalfWidth - 18, y - 2, 18, 17);
    tNota = new QPlainTextEdit(this);
    tNota->setObjectName(u"tNota"_s);
    tNota->setGeometry(kRightX, y + kLabelHeight + 2, kHalfWidth, kNoteHeight);
    tNota->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tNota->setTabChangesFocus(false);
    y += kRowStep;
    label(this, u"Email:"_s, kMargin, y, kHalfWidth);
    tEmail = edit(this, u"tEmail"_s, kMargin, y + kLabelHeight + 2, kHalfWidth, 60);
    y += kRowStep;
    label(this, u"Web:"_s, kMargin, y, kHalfWidth);
    tWeb = edit(this, u"tWeb"_s, kMargin, y + kLabelHeight + 2, kHalfWidth, 60);
    y += kRowStep + 16;
    centredText(this, u"Los campos con (*) son obligatorios."_s, y, false);

    cmdAccept = new PictureButton(this);
    cmdAccept->setObjectName(u"cmdAccept"_s);
    cmdAccept->setPicture(QPixmap(u":/agenda/cmdAccept.svg"_s));
    cmdCancel = new PictureButton(this);
    cmdCancel->setObjectName(u"cmdCancel"_s);
    cmdCancel->setPicture(QPixmap(u":/agenda/cmdCancel.svg"_s));
    const int buttonsY = kHeight - 26 - 28;
    cmdAccept->setGeometry(kWidth / 2 - 96 - 8, buttonsY, 96, 26);
    cmdCancel->setGeometry(kWidth / 2 + 8, buttonsY, 96, 26);
    cmdAccept->setFocusPolicy(Qt::StrongFocus);
    cmdCancel->setFocusPolicy(Qt::StrongFocus);

    QWidget* order[] = {tFigurac, tDomicil, tLocalid, tProvinc, tTelefon, tEmail, tWeb, tNota, cmdAccept, cmdCancel};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    tFigurac->setFocus();

    connect(tNota, &QPlainTextEdit::textChanged, this, &TfrmEditRecord::tNotaChange);
    connect(cmdClearNote, &QToolButton::clicked, this, &TfrmEditRecord::cmdClearNoteClick);
    connect(cmdAccept, &QAbstractButton::clicked, this, &TfrmEditRecord::cmdAcceptClick);
    connect(cmdCancel, &QAbstractButton::clicked, this, &TfrmEditRecord::cmdCancelClick);
    tNotaChange();
}

void TfrmEditRecord::setRecordNumber(int32_t recno)
{
    m_recno = recno;
    for (QLineEdit* e : {tFigurac, tDomicil, tLocalid, tProvinc, tTelefon, tEmail, tWeb})
        e->setEnabled(recno == 0);
    if (recno != 0)
        tNota->setFocus();
}

void TfrmEditRecord::setTexts(const TAgendaRecord& r)
{
    tFigurac->setText(uitext::fromData(r.name));
    tDomicil->setText(uitext::fromData(r.address));
    tLocalid->setText(uitext::fromData(r.locality));
    tProvinc->setText(uitext::fromData(r.province));
    tTelefon->setText(uitext::fromData(r.phone));
    tEmail->setText(uitext::fromData(r.mail));
    tWeb->setText(uitext::fromData(r.web));
    tNota->setPlainText(uitext::fromData(r.note).replace(u"\r\n"_s, u"\n"_s));
}

TAgendaRecord TfrmEditRecord::record() const
{
    TAgendaRecord r;
    r.row = m_agendaRow;
    r.recno = m_recno;
    r.name = uitext::toData(tFigurac->text());
    r.address = uitext::toData(tDomicil->text());
    r.locality = uitext::toData(tLocalid->text());
    r.province = uitext::toData(tProvinc->text());
    r.phone = uitext::toData(tTelefon->text());
    r.mail = uitext::toData(tEmail->text());
    r.web = uitext::toData(tWeb->text());
    // The note box keeps line feeds; the table keeps them as typed on Windows.
    r.note = uitext::toData(tNota->toPlainText().replace(u"\n"_s, u"\r\n"_s));
    return r;
}

void TfrmEditRecord::tNotaChange()
{
    cmdClearNote->setEnabled(!trimmedNote(tNota->toPlainText()).isEmpty());
}

void TfrmEditRecord::cmdClearNoteClick()
{
    if (messageboxes::show(this, u"Borrar comentario"_s, u"¿Está seguro que desea borrar este comentario?"_s,
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) == QMessageBox::Yes)
        tNota->clear();
}

void TfrmEditRecord::cmdAcceptClick()
{
    if (uitext::fromData(cp1252::trim(uitext::toData(tFigurac->text()))).isEmpty()) {
        messageboxes::show(this, QCoreApplication::applicationName(), u"El nombre es un campo obligatorio."_s);
        return;
    }
    accept();
}

void TfrmEditRecord::cmdCancelClick()
{
    reject();
}
