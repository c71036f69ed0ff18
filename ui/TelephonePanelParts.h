// Pieces shared by the three telephone panels of the information section (pnlDDN, pnlDDI,
// pnlNumUtiles): their background, the report lists with grid lines and fixed columns, the
// explanatory text and the labels. Main thread.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QWidget;

namespace telpanel {

inline const QColor kBackground(207, 207, 207);

// A report list: one row per entry, grid lines, whole-row selection, read-only, no header click;
// each column (caption, width) fixed at its width.
QTableWidget* reportList(QWidget* parent, const QString& name, std::initializer_list<std::pair<QString, int>> columns);
// A column's minimum, maximum and width alike.
void fixColumn(QTableWidget* list, int column, int width);
// The explanatory text: disabled, read-only, borderless, on the panel's background; one line per
// entry, as given.
QPlainTextEdit* explanatoryText(QWidget* parent, const QString& name, const QStringList& lines);
QLabel* label(QWidget* parent, const QString& name, const QString& text, int x, int y);

} // namespace telpanel
