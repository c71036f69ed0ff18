// CatalogList: a selection list that the catalogs fill: an editable drop-down list in the UI, an
// in-memory list in tests. Entries are Windows-1252 texts, each carrying a catalog id as its data.
// The list is owned by whoever shows it; the catalogs only hold a reference. Main thread only.
#pragma once

#include <cstdint>
#include <string>

class CatalogList {
public:
    virtual ~CatalogList() = default;

    // Brackets a fill so the list can suspend repainting; pairs may nest.
    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;

    // Removes every entry and the selection.
    virtual void clear() = 0;
    // While sorted, every entry added goes to its place in alphabetical order of its text, by
    // collation::compare (search/SpanishCollation.h); an entry equal to earlier ones goes after
    // them. Unsorted lists append.
    virtual void setSorted(bool sorted) = 0;
    virtual void addItem(const std::string& text, int32_t id) = 0;

    [[nodiscard]] virtual int count() const = 0;
    // Text and id of an entry; empty and 0 for an index outside the list.
    [[nodiscard]] virtual std::string itemText(int index) const = 0;
    [[nodiscard]] virtual int32_t itemId(int index) const = 0;

    // -1 (or any index outside the list) leaves no entry selected.
    virtual void setSelectedIndex(int index) = 0;
    // -1 when no entry is selected.
    [[nodiscard]] virtual int selectedIndex() const = 0;

    virtual void setEnabled(bool enabled) = 0;
    [[nodiscard]] virtual bool isEnabled() const = 0;

    void selectFirst() { setSelectedIndex(count() > 0 ? 0 : -1); }
    // The id carried by the selected entry; 0 with no selection (the "all" entries carry 0 too).
    [[nodiscard]] int32_t selectedId() const
    {
        const int index = selectedIndex();
        return index >= 0 && index < count() ? itemId(index) : 0;
    }

protected:
    CatalogList() = default;
    CatalogList(const CatalogList&) = default;
    CatalogList& operator=(const CatalogList&) = default;
};

// Holds a list in update mode for one scope.
class CatalogListUpdate {
public:
    explicit CatalogListUpdate(CatalogList& list) : m_list(list) { m_list.beginUpdate(); }
    ~CatalogListUpdate() { m_list.endUpdate(); }
    CatalogListUpdate(const CatalogListUpdate&) = delete;
    CatalogListUpdate& operator=(const CatalogListUpdate&) = delete;

private:
    CatalogList& m_list;
};
