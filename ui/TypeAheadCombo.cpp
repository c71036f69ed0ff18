#include "ui/TypeAheadCombo.h"

#include "search/TypeAhead.h"
#include "widgets/UiText.h"

#include <QAbstractItemView>
#include <QComboBox>
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

bool TypeAheadCombo::choose()
{
    const std::string text = uitext::toData(m_combo->lineEdit()->text());
    const int index = findEntryStartingWith(m_list, text);
    if (index < 0)
        return false;
    m_combo->setCurrentIndex(index);
    if (m_chosen)
        m_chosen();
    return true;
}

bool TypeAheadCombo::eventFilter(QObject* watched, QEvent* event)
{
    QLineEdit* edit = m_combo->lineEdit();
    if (event->type() == QEvent::FocusIn && (watched == edit || watched == m_combo)) {
        m_combo->view()->setMinimumWidth(450);
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        return false;
    }
    if (watched != edit || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab: choose(); return key->key() != Qt::Key_Tab; // Tab still moves on
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
