#include "ui/WindowShortcuts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

WindowShortcuts::WindowShortcuts(QWidget* window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
}

WindowShortcuts::~WindowShortcuts()
{
    qApp->removeEventFilter(this);
}

void WindowShortcuts::add(QKeyCombination key, Handler handler)
{
    m_handlers[key.toCombined()] = std::move(handler);
}

bool WindowShortcuts::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // The keypad's Enter counts as Return, whatever else is held.
    Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key() == Qt::Key_Enter ? Qt::Key_Return : key->key();
    const auto it = m_handlers.find(QKeyCombination(mods, static_cast<Qt::Key>(k)).toCombined());
    if (it == m_handlers.end())
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key so the focused control's own shortcut (copy, paste) does not take it;
        // the key press that follows runs the handler.
        event->accept();
        return false;
    }
    return it->second();
}
