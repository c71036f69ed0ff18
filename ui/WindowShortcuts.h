// WindowShortcuts: keys that act wherever the keyboard focus is inside one window, text boxes
// included. It filters the application's key presses before any control sees them, so Ctrl+C in
// a search box runs the window's command instead of copying. A handler returns false to let the
// key go on to the focused control. Owned by the window it serves; main thread.
#pragma once

#include <QKeyCombination>
#include <QObject>

#include <functional>
#include <map>

class QWidget;

class WindowShortcuts : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool()>;

    explicit WindowShortcuts(QWidget* window);
    ~WindowShortcuts() override;

    void add(QKeyCombination key, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    std::map<int, Handler> m_handlers; // by QKeyCombination::toCombined()
};
