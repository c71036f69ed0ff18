#include "ui/ComboCatalogList.h"

#include "search/SpanishCollation.h"
#include "widgets/UiText.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
// Texts stored as the data set's bytes, and their sort keys for the sorted insert.
constexpr int kBytesRole = Qt::UserRole + 1;
constexpr int kKeyRole = Qt::UserRole + 2;
} // namespace

void ComboCatalogList::beginUpdate()
{
    // Fills must not run the window's change handlers entry by entry.
    if (m_updates++ == 0) {
        m_signalsWereBlocked = m_combo->blockSignals(true);
        m_combo->setUpdatesEnabled(false);
    }
}

void ComboCatalogList::endUpdate()
{
    if (m_updates > 0 && --m_updates == 0) {
        m_combo->setUpdatesEnabled(true);
        m_combo->blockSignals(m_signalsWereBlocked);
    }
}

void ComboCatalogList::clear()
{
    m_combo->clear();
    if (m_combo->isEditable())
        m_combo->setEditText({});
}

void ComboCatalogList::addItem(const std::string& text, int32_t id)
{
    int at = m_combo->count();
    const std::string key = collation::sortKey(text);
    const QByteArray keyBytes(key.data(), static_cast<qsizetype>(key.size()));
    if (m_sorted) {
        // After every entry that does not sort after it: equal texts keep their order.
        int lo = 0, hi = m_combo->count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (m_combo->itemData(mid, kKeyRole).toByteArray() <= keyBytes)
                lo = mid + 1;
            else
                hi = mid;
        }
        at = lo;
    }
    m_combo->insertItem(at, uitext::fromData(text), id);
    m_combo->setItemData(at, QByteArray(text.data(), static_cast<qsizetype>(text.size())), kBytesRole);
    m_combo->setItemData(at, keyBytes, kKeyRole);
}

int ComboCatalogList::count() const
{
    return m_combo->count();
}

std::string ComboCatalogList::itemText(int index) const
{
    if (index < 0 || index >= m_combo->count())
        return {};
    const QByteArray bytes = m_combo->itemData(index, kBytesRole).toByteArray();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

int32_t ComboCatalogList::itemId(int index) const
{
    if (index < 0 || index >= m_combo->count())
        return 0;
    return m_combo->itemData(index).toInt();
}

void ComboCatalogList::setSelectedIndex(int index)
{
    m_combo->setCurrentIndex(index >= 0 && index < m_combo->count() ? index : -1);
    if (m_combo->currentIndex() < 0 && m_combo->isEditable())
        m_combo->setEditText({});
}

int ComboCatalogList::selectedIndex() const
{
    return m_combo->currentIndex();
}

void ComboCatalogList::setEnabled(bool enabled)
{
    m_combo->setEnabled(enabled);
}

bool ComboCatalogList::isEnabled() const
{
    return m_combo->isEnabled();
}
