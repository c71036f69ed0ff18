// ComboCatalogList: a catalog selection list shown as a drop-down list. Entries keep their catalog
// id as item data; a sorted list inserts each entry at its place in Spanish alphabetical order
// (search/SpanishCollation.h). The combo box belongs to the window; this adapter only
// holds a pointer to it. Main thread.
#pragma once

#include "search/CatalogList.h"

class QComboBox;

class ComboCatalogList final : public CatalogList {
public:
    explicit ComboCatalogList(QComboBox* combo) : m_combo(combo) {}

    void beginUpdate() override;
    void endUpdate() override;
    void clear() override;
    void setSorted(bool sorted) override { m_sorted = sorted; }
    void addItem(const std::string& text, int32_t id) override;
    [[nodiscard]] int count() const override;
    [[nodiscard]] std::string itemText(int index) const override;
    [[nodiscard]] int32_t itemId(int index) const override;
    void setSelectedIndex(int index) override;
    [[nodiscard]] int selectedIndex() const override;
    void setEnabled(bool enabled) override;
    [[nodiscard]] bool isEnabled() const override;

    [[nodiscard]] QComboBox* combo() const { return m_combo; }

private:
    QComboBox* m_combo;
    bool m_sorted = false;
    int m_updates = 0;
    bool m_signalsWereBlocked = false;
};
