#include "online/TfrmConsultar.h"

#include "online/OnlineDialogLook.h"
#include "widgets/PictureButton.h"
#include "widgets/UiText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmConsultar::TfrmConsultar(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmConsultar"_s);
    onlinelook::setUpPage(*this, u"Enviá una consulta a un anunciante"_s);

    tFromNombre = new QLineEdit(this);
    tFrom = new QLineEdit(this);
    tSubject = new QLineEdit(uitext::fromData(online::kContactSubject), this);
    tSubject->setEnabled(false);
    lsTo = new QListWidget(this);
    lsTo->setSortingEnabled(true);
    lsTo->setFixedHeight(76);
    lsTo->setSelectionMode(QAbstractItemView::NoSelection);
    lToNote = new QLabel(uitext::fromData(online::kToNote), this);
    lToNote->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lToNote->setWordWrap(true);
    lToNote->setStyleSheet(u"color: #A0500F; font-size: 11px;"_s);
    tNota = new QPlainTextEdit(this);
    tNota->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tNota->setFixedHeight(110);
    tTo = new QLineEdit(this);
    tTo->hide();
    for (QWidget* e : std::initializer_list<QWidget*>{tFromNombre, tFrom, tSubject, lsTo})
        e->setMinimumWidth(340);
    tFromNombre->setObjectName(u"tFromNombre"_s);
    tFrom->setObjectName(u"tFrom"_s);
    tSubject->setObjectName(u"tSubject"_s);
    lsTo->setObjectName(u"lsTo"_s);
    lToNote->setObjectName(u"lToNote"_s);
    tNota->setObjectName(u"tNota"_s);
    tTo->setObjectName(u"tTo"_s);
    sb_send = new PictureButton(this);
    sb_send->setObjectName(u"sb_send"_s);
    sb_send->setPicture(onlinelook::sendPicture());
    sb_send->setToolTip(u"Enviar"_s);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(7);
    auto add = [&](int row, const QString& caption, QWidget* field) {
        grid->addWidget(onlinelook::label(this, caption), row, 0, onlinelook::labelAlignment(field));
        grid->addWidget(field, row, 1);
    };
    add(0, u"De: (*)"_s, tFromNombre);
    add(1, u"Email del remitente (*)"_s, tFrom);
    add(2, u"Asunto:"_s, tSubject);
    add(3, u"Para:"_s, lsTo);
    grid->addWidget(lToNote, 4, 0, 1, 2);
    add(5, u"Comentario:"_s, tNota);
    grid->addWidget(sb_send, 6, 1, Qt::AlignRight);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(18, 14, 18, 14);
    page->addWidget(onlinelook::heading(this, u"Enviá una consulta a un anunciante."_s));
    page->addLayout(grid);
    page->addSpacing(6);
    page->addWidget(onlinelook::note(this, u"Los campos con (*) son obligatorios."_s));
    page->addWidget(
        onlinelook::note(this, u"Recuerde que deberá tener conexión a internet para enviar esta consulta."_s));

    connect(sb_send, &PictureButton::clicked, this, &TfrmConsultar::sb_sendClick);
    onlinelook::centre(*this);
}

void TfrmConsultar::setTargets(const ContactTargets& targets)
{
    lsTo->clear();
    for (const std::string& name : targets.names)
        lsTo->addItem(uitext::fromData(name));
    const std::string note = OnlineRequests::toNote(targets);
    lToNote->setText(uitext::fromData(note.empty() ? online::kToNote : note));
    lToNote->setVisible(!note.empty());
    // The page takes the note's room only while it shows.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    onlinelook::centre(*this);
}

void TfrmConsultar::sb_sendClick()
{
    accept();
}

ContactFields TfrmConsultar::fields() const
{
    ContactFields f;
    f.from = uitext::toData(tFrom->text());
    f.fromName = uitext::toData(tFromNombre->text());
    f.subject = uitext::toData(tSubject->text());
    f.note = onlinelook::noteData(*tNota);
    return f;
}
