// TypeAheadCombo: the typing rule of the editable search lists. Only prefixes of existing entries
// can be typed: each key completes the edit to the first entry beginning with the typed text (the
// rest selected), and a key that would leave no such entry is dropped. On entering the list its
// drop-down becomes 450 pixels wide and the whole text is selected; Enter or Tab on a prefix of an
// entry chooses that entry and runs the list's handler. Owned by the combo box; main thread.
#pragma once

#include <QObject>

#include <functional>

class QComboBox;
class CatalogList;

class TypeAheadCombo : public QObject {
    Q_OBJECT
public:
    // chosen runs after Enter or Tab chose an entry.
    TypeAheadCombo(QComboBox* combo, const CatalogList& list, std::function<void()> chosen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void typed(const QString& text);
    bool choose();

    QComboBox* m_combo;
    const CatalogList& m_list;
    std::function<void()> m_chosen;
};
