#include "ui/TypeAheadCombo.h"

#include "search/TypeAhead.h"
#include "widgets/UiText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

TypeAheadCombo::TypeAheadCombo(QComboBox* combo, const CatalogList& list, std::function<void()> chosen)
    : QObject(combo), m_combo(combo), m_list(list), m_chosen(std::move(chosen))
{
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr); // the rule below replaces Qt's own completion
    if (QLineEdit* edit = combo->lineEdit()) {
        edit->installEventFilter(this);
        combo->installEventFilter(this);
    }
}

void TypeAheadCombo::typed(const QString& text)
{
    const TypeAheadMatch m = typeAhead(m_list, uitext::toData(text));
    QLineEdit* edit = m_combo->lineEdit();
    const QString full = uitext::fromData(m.text);
    edit->setText(full);
    edit->setSelection(static_cast<int>(m.typedLength), static_cast<int>(full.size() - m.typedLength));
}

TypeAheadCombo::~TypeAheadCombo()
{
    watchPresses(false);
}

void TypeAheadCombo::select(int index)
{
    m_combo->setCurrentIndex(index);
    // The edit shows the whole entry, also when the index did not change.
    if (QLineEdit* edit = m_combo->lineEdit())
        edit->setText(m_combo->itemText(index));
    if (m_chosen)
        m_chosen();
}

bool TypeAheadCombo::choose()
{
    const std::string text = uitext::toData(m_combo->lineEdit()->text());
    const int index = findEntryStartingWith(m_list, text);
    if (index < 0)
        return false;
    select(index);
    return true;
}

void TypeAheadCombo::leave()
{
    QLineEdit* edit = m_combo->lineEdit();
    if (!edit || m_list.count() == 0)
        return;
    const int current = m_combo->currentIndex();
    if (current >= 0 && edit->text() == m_combo->itemText(current))
        return;
    select(entryOnLeave(m_list, uitext::toData(edit->text())));
}

void TypeAheadCombo::watchPresses(bool on)
{
    if (on == m_watching || !qApp)
        return;
    m_watching = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool TypeAheadCombo::eventFilter(QObject* watched, QEvent* event)
{
    QLineEdit* edit = m_combo->lineEdit();
    if (event->type() == QEvent::MouseButtonPress && m_watching) {
        // A press outside the list, its edit and its drop-down leaves the list.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isWidgetType() && w != m_combo && !m_combo->isAncestorOf(w) &&
            w->window() != m_combo->view()->window())
            leave();
        return false;
    }
    if (watched != edit && watched != m_combo)
        return false;
    if (event->type() == QEvent::FocusIn) {
        m_combo->view()->setMinimumWidth(450);
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        watchPresses(true);
        m_lastTab = nullptr;
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        // Opening the drop-down takes the focus without leaving the list.
        // Nor does another window taking the focus, or this one closing.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            watchPresses(false);
            leave();
        }
        return false;
    }
    if (watched != edit || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Tab, which the edit leaves alone, goes up to the combo box, which hands the same event back
    // to the edit: it is seen here twice. (The first moves the focus away, so a second Tab never
    // comes to this list.)
    if (key->key() == Qt::Key_Tab) {
        if (key == m_lastTab && key->timestamp() == m_lastTabTime)
            return false;
        m_lastTab = key;
        m_lastTabTime = key->timestamp();
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!choose())
            leave();
        return true;
    case Qt::Key_Tab: choose(); return false; // Tab still moves on
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Shift:
    case Qt::Key_Backspace:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End: return false;
    default: break;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    // The typed part is the text before the completion's selection.
    const int typedEnd = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    typed(edit->text().left(typedEnd) + text);
    return true;
}
