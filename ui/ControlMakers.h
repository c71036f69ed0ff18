// Small makers for the window's controls: each made with its design name as objectName, at its
// place in the parent. Shared by the main window and the panels it is made of. Main thread only.
#pragma once

#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

#include <QColor>
#include <QLabel>
#include <QString>

namespace controls {

// Header panels: the search and clear buttons under the third column, then the help picture between
// two separators.
inline constexpr int kButtonsX = 336, kButtonsY = 67;
inline constexpr int kBarX0 = 500, kHelpX = 510, kHelpY = 40, kBarX1 = 540;

inline QLabel* label(QWidget* parent, const QString& name, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

inline PictureButton* pictureButton(QWidget* parent, const QString& name, int x, int y)
{
    auto* b = new PictureButton(parent);
    b->setObjectName(name);
    b->move(x, y);
    return b;
}

inline PicturePanel* panel(QWidget* parent, const QString& name, const QColor& background = QColor())
{
    auto* p = new PicturePanel(parent, background);
    p->setObjectName(name);
    return p;
}

// A label's text colour (the colour schemes set it); a missing label is skipped.
inline void setLabelColour(QLabel* label, const QColor& colour)
{
    if (label == nullptr)
        return;
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

inline PicturePanel* separator(QWidget* parent, const QString& name, int x)
{
    PicturePanel* p = panel(parent, name);
    p->setGeometry(x, 6, 2, 88);
    return p;
}

} // namespace controls
