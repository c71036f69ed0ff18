// MemoryCatalogList: a CatalogList held in memory for tests. Sorts by the lists' Spanish collation
// and records what the fills did to it.
#pragma once

#include "search/CatalogList.h"
#include "search/SpanishCollation.h"

#include <algorithm>
#include <string>
#include <vector>

class MemoryCatalogList final : public CatalogList {
public:
    struct Entry {
        std::string text;
        int32_t id = 0;
    };

    void beginUpdate() override { ++m_depth; }
    void endUpdate() override { --m_depth; }
    void clear() override
    {
        m_entries.clear();
        m_selected = -1;
    }
    void setSorted(bool sorted) override { m_sorted = sorted; }
    void addItem(const std::string& text, int32_t id) override
    {
        auto at = m_entries.end();
        if (m_sorted) {
            at = std::upper_bound(m_entries.begin(), m_entries.end(), text,
                                  [](const std::string& t, const Entry& e) { return collation::less(t, e.text); });
        }
        const int index = static_cast<int>(at - m_entries.begin());
        m_entries.insert(at, Entry{text, id});
        if (m_selected >= index)
            ++m_selected;
    }
    int count() const override { return static_cast<int>(m_entries.size()); }
    std::string itemText(int index) const override
    {
        return valid(index) ? m_entries[static_cast<size_t>(index)].text : "";
    }
    int32_t itemId(int index) const override { return valid(index) ? m_entries[static_cast<size_t>(index)].id : 0; }
    void setSelectedIndex(int index) override { m_selected = valid(index) ? index : -1; }
    int selectedIndex() const override { return m_selected; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }

    [[nodiscard]] bool sorted() const { return m_sorted; }
    [[nodiscard]] int updateDepth() const { return m_depth; }
    [[nodiscard]] std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const Entry& e : m_entries)
            out.push_back(e.text);
        return out;
    }
    [[nodiscard]] std::vector<int32_t> ids() const
    {
        std::vector<int32_t> out;
        for (const Entry& e : m_entries)
            out.push_back(e.id);
        return out;
    }
    // Selects the entry carrying id, as a user's choice would; false when no entry carries it.
    bool selectId(int32_t id)
    {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].id == id) {
                m_selected = static_cast<int>(i);
                return true;
            }
        }
        return false;
    }

private:
    [[nodiscard]] bool valid(int index) const { return index >= 0 && index < count(); }

    std::vector<Entry> m_entries;
    int m_selected = -1;
    bool m_sorted = false;
    bool m_enabled = true;
    int m_depth = 0;
};
