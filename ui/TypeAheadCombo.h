// TypeAheadCombo: the typing rule of the editable search lists. Only prefixes of existing entries
// can be typed: each key completes the edit to the first entry beginning with the typed text (the
// rest selected), and a key that would leave no such entry is dropped. On entering the list its
// drop-down becomes 450 pixels wide and the whole text is selected; Enter or Tab on a prefix of an
// entry chooses that entry and runs the list's handler. Leaving the list (Tab, focus taken by a
// click, or a click on a control that takes no focus, such as the search button) selects the
// first entry beginning with the edit text, or the first entry ("all") when none does, and runs
// the handler, so what the box shows is always what is searched. Owned by the combo box; main
// thread.
#pragma once

#include <QObject>

#include <functional>

class QComboBox;
class CatalogList;

class TypeAheadCombo : public QObject {
    Q_OBJECT
public:
    // chosen runs after an entry was chosen by Enter, Tab or leaving the list.
    TypeAheadCombo(QComboBox* combo, const CatalogList& list, std::function<void()> chosen);
    ~TypeAheadCombo() override;

    // Applies the edit text as leaving the list does. Nothing happens when the edit already shows
    // the selected entry, so a list passed through without typing searches nothing again.
    void leave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void typed(const QString& text);
    bool choose();
    void select(int index);
    // While the edit has the focus, presses anywhere else are watched: a control that takes no
    // focus leaves the list without a focus change.
    void watchPresses(bool on);

    QComboBox* m_combo;
    const CatalogList& m_list;
    std::function<void()> m_chosen;
    bool m_watching = false;
    const QEvent* m_lastTab = nullptr;
    quint64 m_lastTabTime = 0;
};
