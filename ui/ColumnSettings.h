// ColumnSettings: the result list's eleven columns as designed (caption, width limits, stored
// width, visible flag) and the rules for hiding and showing them: a column dragged shut is hidden,
// a hidden one dragged open comes back at its stored width, the last visible column cannot be
// hidden. Pure state; the window applies the widths to its list. One process-wide table. Main
// thread only.
#pragma once

#include <array>
#include <string>

struct ColumnSetting {
    int width = 0; // stored: the width the column returns to when shown
    int minWidth = 0;
    int maxWidth = 0; // 0: none
    bool visible = true;
    bool toggleEnabled = true;
};

class ColumnSettings {
public:
    static constexpr int kColumns = 11;
    static constexpr int kNoMax = 0;

    // The designed table.
    ColumnSettings();

    [[nodiscard]] const ColumnSetting& at(int c) const { return m_cols[static_cast<size_t>(c)]; }
    // The width, minimum and maximum a column gets now (hidden: 0, 0, 0).
    struct Limits {
        int width, minWidth, maxWidth;
    };
    [[nodiscard]] Limits limits(int c) const;

    // Flips the column's visibility unless its toggle is disabled; false when nothing changed.
    bool ToggleColumn(int c);
    // After the user (or the program) gave column c this width: hides a visible column dragged to
    // 0, stores the width of a visible one, shows a hidden one dragged open. Returns true when the
    // visibility changed (the caller re-applies the limits and re-pages the list).
    bool widthChanged(int c, int width);
    // RUBRO in the telephone section: minimum 0, width 0, maximum 1, not visible.
    void ColHide(int c);
    // Stored maximum, width and minimum, visible.
    void ColShow(int c);
    [[nodiscard]] int visibleCount() const;

private:
    void updateToggles();

    std::array<ColumnSetting, kColumns> m_cols{};
    std::array<int, kColumns> m_designMin{}, m_designMax{};
};

[[nodiscard]] ColumnSettings& columnSettings();
