// Commands of the main window around the list and the window itself: the record-number tools and
// the credits behind the hidden commands, the about dialog, the web link of the selected row and
// the way back from the notification area.
#include "ui/TFormMain.h"

#include "ui/AppearanceSettings.h"
#include "ui/ListRows.h"
#include "ui/ResultList.h"
#include "ui/TfAbout.h"
#include "ui/TfCreditos.h"
#include "ui/WindowShortcuts.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"
#include "widgets/UiText.h"

#include "engine/FiltroBits.h"
#include "platform/ShellOpener.h"
#include "search/GridData.h"
#include "search/ThreadFillList.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {

const QString kWebCaption = u"Ver sitio WWW"_s;

// An integer as the user typed it, blanks around it allowed.
std::optional<int32_t> parseInteger(const QString& text)
{
    bool ok = false;
    const int32_t n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int32_t>(n) : std::nullopt;
}

} // namespace

void TFormMain::setupToolCommands()
{
    const auto key = [](Qt::Key k) { return Qt::ControlModifier | Qt::AltModifier | k; };
    // Armed or not, the keys are the window's: they never reach the focused control.
    m_shortcuts->add(key(Qt::Key_C), [this] {
        Crditos1Click();
        return true;
    });
    m_shortcuts->add(key(Qt::Key_R), [this] {
        RecNo1Click();
        return true;
    });
    m_shortcuts->add(key(Qt::Key_G), [this] {
        GotoRecno1Click();
        return true;
    });
    m_shortcuts->add(key(Qt::Key_M), [this] {
        InsertRecnoExecute();
        return true;
    });
    m_shortcuts->add(key(Qt::Key_A), [this] {
        RegistrosGuiaExecute();
        return true;
    });

    mnuRegistroVerSitioWWW = new QAction(kWebCaption, this);
    mnuRegistroVerSitioWWW->setObjectName(u"mnuRegistroVerSitioWWW"_s);
    mnuRegistroVerSitioWWW1 = pnlLista->popupLista->findChild<QAction*>(u"popupLista2"_s);
    // The list's item runs openWebPage through the list's web hook.
    connect(mnuRegistroVerSitioWWW, &QAction::triggered, this, &TFormMain::openWebPage);
    for (QAction* a : {mnuRegistroVerSitioWWW, mnuRegistroVerSitioWWW1}) {
        if (a != nullptr)
            a->setEnabled(false);
    }
}

void TFormMain::RecNo1Click()
{
    if (!m_hiddenCommandsArmed)
        return;
    const ResultItem* row = pnlLista->focusedRow();
    if (row == nullptr)
        return;
    messageboxes::show(this, appearance().txTitulo, QString::number(row->grid.recno));
}

void TFormMain::GotoRecno1Click()
{
    if (!m_hiddenCommandsArmed)
        return;
    const std::optional<QString> answer = messageboxes::askText(this, u"Ir al registro N"_s, u"Registro"_s);
    if (!answer || answer->isEmpty() || !m_worker)
        return;
    FiltroBits::Bounds range;
    {
        auto bits = m_worker->accessBits();
        range = bits->selectedBounds();
    }
    const std::optional<int32_t> n = parseInteger(*answer);
    if (!n) {
        messageboxes::show(this, appearance().txTitulo, u"Valor inválido."_s, QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    if (*n < range.first || *n > range.last) {
        messageboxes::show(this, appearance().txTitulo,
                           u"El rango de registros va del "_s + QString::number(range.first) + u" al "_s +
                               QString::number(range.last));
        return;
    }
    // The scroll bar moves the list; with every record of the range passing, the window then starts
    // at record n.
    pnlLista->scrbRegistros->setValue(*n - range.first);
}

void TFormMain::InsertRecnoExecute()
{
    const std::optional<QString> answer = messageboxes::askText(this, u"Agregar el registro N"_s, u"Registro"_s);
    if (!answer || answer->isEmpty())
        return;
    const std::optional<int32_t> n = parseInteger(*answer);
    if (!n) {
        messageboxes::show(this, appearance().txTitulo, u"'"_s + *answer + u"' no es un valor entero válido."_s,
                           QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    // Appended whatever the page size; a number without a record gives an empty row.
    pnlLista->AddResultRow(*n, -1);
}

void TFormMain::RegistrosGuiaExecute()
{
    pnlLista->SetAgendaMode(true);
}

void TFormMain::Crditos1Click()
{
    if (!m_hiddenCommandsArmed)
        return;
    TfCreditos credits(this);
    modal::exec(credits);
    m_hiddenCommandsArmed = false;
    Timer2.stop();
}

void TFormMain::mnuAyudaAcercaDeClick()
{
    TfAbout about(m_env.shell.get(), this);
    modal::exec(about);
}

void TFormMain::updateWebLink(const GridData* row, bool hasWeb)
{
    const bool on = row != nullptr && hasWeb;
    // The address travels in the record command's caption, which openWebPage reads back.
    const QString caption = on ? kWebCaption + u" "_s + uitext::fromData(row->web) : kWebCaption;
    if (mnuRegistroVerSitioWWW != nullptr) {
        mnuRegistroVerSitioWWW->setText(caption);
        mnuRegistroVerSitioWWW->setEnabled(on);
    }
    if (mnuRegistroVerSitioWWW1 != nullptr) {
        QString shown = caption;
        mnuRegistroVerSitioWWW1->setText(shown.replace(u'&', u"&&"_s));
        mnuRegistroVerSitioWWW1->setEnabled(on);
    }
}

void TFormMain::openWebPage()
{
    if (mnuRegistroVerSitioWWW == nullptr)
        return;
    QString address = mnuRegistroVerSitioWWW->text().mid(14, 100).trimmed();
    if (address.isEmpty())
        return;
    // An address that names its scheme keeps it (http or https, in any case); one without a
    // scheme is a host name and goes to http. Anything but http and https is refused by the
    // shell opener.
    static const QRegularExpression scheme(u"^[A-Za-z][A-Za-z0-9+.\\-]*://"_s);
    if (!scheme.match(address).hasMatch())
        address.prepend(u"http://"_s);
    if (m_env.shell)
        m_env.shell->openAddress(address);
}

void TFormMain::restoreFromTray()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}
