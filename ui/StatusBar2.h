// StatusBar2: the 21-pixel status bar at the bottom of the main window. Five panels: three texts
// sharing (width - 226) / 3 each, the six filter/grid icons (106 px) and the clock (110 px), each
// panel 2 pixels right of the previous one. The icons are 16 x 16 at x = 1, 18, 35, 52, 69, 86
// inside panel 3; a click on one emits iconClicked. Owned by the main window; main thread.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>

class StatusBar2 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 21;
    static constexpr int kPanels = 5;
    static constexpr int kIcons = 6;

    explicit StatusBar2(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text);
    [[nodiscard]] QString panelText(int panel) const;
    // Panel rectangles for the current width.
    [[nodiscard]] QRect panelRect(int panel) const;
    [[nodiscard]] QRect iconRect(int icon) const;
    void setIcon(int icon, const QPixmap& pixmap, const QString& toolTip);
    [[nodiscard]] const QPixmap& icon(int icon) const { return m_icons[static_cast<size_t>(icon)]; }

Q_SIGNALS:
    void iconClicked(int icon);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    [[nodiscard]] int iconAt(QPoint pos) const;

    std::array<QString, kPanels> m_texts;
    std::array<QPixmap, kIcons> m_icons;
    std::array<QString, kIcons> m_tips;
};
