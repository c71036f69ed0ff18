#include "ui/TelephonePanelParts.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace telpanel {

QTableWidget* reportList(QWidget* parent, const QString& name, std::initializer_list<std::pair<QString, int>> columns)
{
    auto* list = new QTableWidget(parent);
    list->setObjectName(name);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(17);
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setMinimumSectionSize(0);
    list->horizontalHeader()->setStretchLastSection(false);
    QStringList captions;
    int c = 0;
    for (const auto& [caption, width] : columns) {
        captions << caption;
        fixColumn(list, c++, width);
    }
    list->setHorizontalHeaderLabels(captions);
    // The selection stays visible when the list loses the focus.
    QPalette pal = list->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    list->setPalette(pal);
    return list;
}

void fixColumn(QTableWidget* list, int column, int width)
{
    list->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
    list->setColumnWidth(column, width);
    list->setColumnHidden(column, width == 0);
}

QPlainTextEdit* explanatoryText(QWidget* parent, const QString& name, const QStringList& lines)
{
    auto* text = new QPlainTextEdit(parent);
    text->setObjectName(name);
    text->setPlainText(lines.join(QLatin1Char('\n')));
    text->setReadOnly(true);
    text->setEnabled(false);
    text->setFrameShape(QFrame::NoFrame);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth); // a long line wraps; each given line starts anew
    QPalette pal = text->palette();
    pal.setColor(QPalette::Base, kBackground);
    pal.setColor(QPalette::Disabled, QPalette::Base, kBackground);
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(48, 48, 48));
    text->setPalette(pal);
    return text;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

} // namespace telpanel
