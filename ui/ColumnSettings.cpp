#include "ui/ColumnSettings.h"

ColumnSettings::ColumnSettings()
{
    const int widths[kColumns] = {28, 28, 28, 28, 28, 200, 120, 150, 100, 88, 88};
    for (int c = 0; c < kColumns; ++c) {
        ColumnSetting& s = m_cols[static_cast<size_t>(c)];
        s.width = widths[c];
        s.minWidth = c < 5 ? 28 : 40;
        s.maxWidth = c < 5 ? 28 : kNoMax;
        m_designMin[static_cast<size_t>(c)] = s.minWidth;
        m_designMax[static_cast<size_t>(c)] = s.maxWidth;
    }
}

ColumnSettings::Limits ColumnSettings::limits(int c) const
{
    const ColumnSetting& s = at(c);
    if (!s.visible)
        return {0, 0, s.maxWidth == 1 ? 1 : 0};
    return {s.width, s.minWidth, s.maxWidth};
}

int ColumnSettings::visibleCount() const
{
    int n = 0;
    for (const ColumnSetting& s : m_cols)
        n += s.visible ? 1 : 0;
    return n;
}

void ColumnSettings::updateToggles()
{
    const bool last = visibleCount() == 1;
    for (ColumnSetting& s : m_cols)
        s.toggleEnabled = s.visible ? !last : true;
}

bool ColumnSettings::ToggleColumn(int c)
{
    ColumnSetting& s = m_cols[static_cast<size_t>(c)];
    if (!s.toggleEnabled)
        return false;
    s.visible = !s.visible;
    if (s.visible) {
        s.minWidth = m_designMin[static_cast<size_t>(c)];
        s.maxWidth = m_designMax[static_cast<size_t>(c)];
    } else {
        s.maxWidth = 0;
    }
    updateToggles();
    return true;
}

bool ColumnSettings::widthChanged(int c, int width)
{
    ColumnSetting& s = m_cols[static_cast<size_t>(c)];
    if (s.visible && width < 1)
        return ToggleColumn(c);
    if (s.visible) {
        s.width = width;
        return false;
    }
    if (width >= 1)
        return ToggleColumn(c);
    return false;
}

void ColumnSettings::ColHide(int c)
{
    ColumnSetting& s = m_cols[static_cast<size_t>(c)];
    s.visible = false;
    s.minWidth = 0;
    s.maxWidth = 1;
    updateToggles();
}

void ColumnSettings::ColShow(int c)
{
    ColumnSetting& s = m_cols[static_cast<size_t>(c)];
    s.visible = true;
    s.minWidth = m_designMin[static_cast<size_t>(c)];
    s.maxWidth = m_designMax[static_cast<size_t>(c)];
    updateToggles();
}

ColumnSettings& columnSettings()
{
    static ColumnSettings table;
    return table;
}
