// AlignLayout: docks child widgets to the edges of their parent in the order they were added, the
// way the window's regions are designed: strips of fixed height on the top or bottom, panels of
// fixed width on the left or right, and one or more "client" widgets that fill what is left (a
// client added later covers the same area). A hidden widget takes no room. Widgets added with
// Align::None keep the geometry their owner gives them. Main thread.
#pragma once

#include <QLayout>

#include <vector>

class AlignLayout : public QLayout {
public:
    enum class Align { Top, Bottom, Left, Right, Client, None };

    explicit AlignLayout(QWidget* parent);
    ~AlignLayout() override;

    // size: the height of a Top/Bottom strip or the width of a Left/Right panel.
    void add(QWidget* widget, Align align, int size = 0);
    void setSize(QWidget* widget, int size);

    void addItem(QLayoutItem* item) override;
    [[nodiscard]] int count() const override;
    [[nodiscard]] QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        Align align;
        int size;
    };
    std::vector<Entry> m_entries;
};
