#include "online/TfrmRecomendar.h"

#include "online/OnlineDialogLook.h"
#include "widgets/PictureButton.h"
#include "widgets/UiText.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmRecomendar::TfrmRecomendar(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmRecomendar"_s);
    onlinelook::setUpPage(*this, u"Recomendá a un amigo"_s);

    tFromNombre = new QLineEdit(this);
    tFrom = new QLineEdit(this);
    tSubject = new QLineEdit(uitext::fromData(online::kRecommendSubject), this);
    tSubject->setEnabled(false);
    tTo = new QLineEdit(this);
    tNota = new QPlainTextEdit(this);
    tNota->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tNota->setFixedHeight(110);
    for (QLineEdit* e : {tFromNombre, tFrom, tSubject, tTo})
        e->setMinimumWidth(340);
    tFromNombre->setObjectName(u"tFromNombre"_s);
    tFrom->setObjectName(u"tFrom"_s);
    tSubject->setObjectName(u"tSubject"_s);
    tTo->setObjectName(u"tTo"_s);
    tNota->setObjectName(u"tNota"_s);
    sb_send = new PictureButton(this);
    sb_send->setObjectName(u"sb_send"_s);
    sb_send->setPicture(onlinelook::sendPicture());
    sb_send->setToolTip(u"Enviar"_s);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(7);
    const std::pair<QString, QWidget*> rows[] = {{u"De: (*)"_s, tFromNombre},
                                                 {u"Email del remitente (*)"_s, tFrom},
                                                 {u"Asunto:"_s, tSubject},
                                                 {u"Email del destinatario: (*)"_s, tTo},
                                                 {u"Comentario:"_s, tNota}};
    int row = 0;
    for (const auto& [caption, field] : rows) {
        grid->addWidget(onlinelook::label(this, caption), row, 0, onlinelook::labelAlignment(field));
        grid->addWidget(field, row++, 1);
    }
    grid->addWidget(sb_send, row++, 1, Qt::AlignRight);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(18, 14, 18, 14);
    page->addWidget(onlinelook::heading(this, u"Recomendá a un amigo."_s));
    page->addLayout(grid);
    page->addSpacing(6);
    page->addWidget(onlinelook::note(this, u"Los campos con (*) son obligatorios."_s));
    page->addWidget(
        onlinelook::note(this, u"Recuerde que deberá tener conexión a internet para enviar este mensaje."_s));

    tFromNombre->installEventFilter(this);
    connect(sb_send, &PictureButton::clicked, this, &TfrmRecomendar::sb_sendClick);
    onlinelook::centre(*this);
}

bool TfrmRecomendar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tFromNombre && event->type() == QEvent::FocusOut)
        tFromNombreExit();
    return QDialog::eventFilter(watched, event);
}

void TfrmRecomendar::tFromNombreExit()
{
    tSubject->setText(uitext::fromData(OnlineRequests::recommendSubject(uitext::toData(tFromNombre->text()))));
    tSubject->setCursorPosition(0); // the subject reads from its start
}

void TfrmRecomendar::sb_sendClick()
{
    if (tTo->text().trimmed().isEmpty()) {
        tTo->setFocus(Qt::OtherFocusReason);
        return;
    }
    accept();
}

RecommendFields TfrmRecomendar::fields() const
{
    RecommendFields f;
    f.from = uitext::toData(tFrom->text());
    f.fromName = uitext::toData(tFromNombre->text());
    f.to = uitext::toData(tTo->text());
    f.subject = uitext::toData(tSubject->text());
    f.note = onlinelook::noteData(*tNota);
    return f;
}
