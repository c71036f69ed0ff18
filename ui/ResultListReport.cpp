#include "ui/ResultListReport.h"

#include "ui/ResultList.h"

#include <QTreeWidget>

ResultListView reportView(const ResultList& list)
{
    ResultListView view;
    const QTreeWidget& tree = *list.lvLista;
    const auto widths = list.columnWidths();
    for (int c = 0; c < tree.columnCount(); ++c)
        view.columns.push_back(
            {tree.headerItem()->text(c), c < static_cast<int>(widths.size()) ? widths[static_cast<size_t>(c)] : 0});
    for (int r = 0; r < tree.topLevelItemCount(); ++r) {
        std::vector<QString> texts;
        for (int c = 0; c < tree.columnCount(); ++c)
            texts.push_back(tree.topLevelItem(r)->text(c));
        view.rows.push_back(std::move(texts));
    }
    return view;
}
