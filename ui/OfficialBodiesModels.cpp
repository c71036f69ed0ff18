#include "ui/OfficialBodiesModels.h"

#include "widgets/UiText.h"

using namespace Qt::StringLiterals;

void OfficialBodiesTreeModel::setTree(const OfficialBodies* tree)
{
    beginResetModel();
    m_tree = tree;
    m_row.assign(tree ? tree->size() : 0, 0);
    if (tree) {
        for (size_t r = 0; r < tree->roots().size(); ++r)
            m_row[static_cast<size_t>(tree->roots()[r])] = static_cast<int32_t>(r);
        for (size_t i = 0; i < tree->size(); ++i) {
            const auto& children = tree->node(static_cast<int32_t>(i)).children;
            for (size_t r = 0; r < children.size(); ++r)
                m_row[static_cast<size_t>(children[r])] = static_cast<int32_t>(r);
        }
    }
    endResetModel();
}

QModelIndex OfficialBodiesTreeModel::indexOf(int32_t node) const
{
    if (!m_tree || node < 0 || static_cast<size_t>(node) >= m_tree->size())
        return {};
    return createIndex(m_row[static_cast<size_t>(node)], 0, static_cast<quintptr>(node));
}

int32_t OfficialBodiesTreeModel::nodeOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<int32_t>(index.internalId()) : -1;
}

QModelIndex OfficialBodiesTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!m_tree || column != 0 || row < 0)
        return {};
    const std::vector<int32_t>& siblings = parent.isValid() ? m_tree->node(nodeOf(parent)).children : m_tree->roots();
    if (static_cast<size_t>(row) >= siblings.size())
        return {};
    return createIndex(row, 0, static_cast<quintptr>(siblings[static_cast<size_t>(row)]));
}

QModelIndex OfficialBodiesTreeModel::parent(const QModelIndex& child) const
{
    if (!m_tree || !child.isValid())
        return {};
    return indexOf(m_tree->node(nodeOf(child)).parent);
}

int OfficialBodiesTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!m_tree)
        return 0;
    if (!parent.isValid())
        return static_cast<int>(m_tree->roots().size());
    return parent.column() == 0 ? static_cast<int>(m_tree->node(nodeOf(parent)).children.size()) : 0;
}

int OfficialBodiesTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool OfficialBodiesTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant OfficialBodiesTreeModel::data(const QModelIndex& index, int role) const
{
    if (!m_tree || !index.isValid() || role != Qt::DisplayRole)
        return {};
    return uitext::fromData(m_tree->node(nodeOf(index)).caption);
}

void OfficialBodiesResultModel::setResults(const OfficialBodies* tree, std::vector<int32_t> nodes)
{
    beginResetModel();
    m_tree = tree;
    m_nodes = std::move(nodes);
    endResetModel();
}

int OfficialBodiesResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_nodes.size());
}

QVariant OfficialBodiesResultModel::data(const QModelIndex& index, int role) const
{
    if (!m_tree || !index.isValid() || role != Qt::DisplayRole)
        return {};
    return uitext::fromData(m_tree->node(m_nodes[static_cast<size_t>(index.row())]).caption);
}

void OfficialBodiesDetailModel::setRows(std::vector<OfficialBodies::DetailRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int OfficialBodiesDetailModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int OfficialBodiesDetailModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant OfficialBodiesDetailModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const OfficialBodies::DetailRow& row = m_rows[static_cast<size_t>(index.row())];
    return uitext::fromData(index.column() == 0 ? row.description : row.value);
}

QVariant OfficialBodiesDetailModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? u"Descripcion"_s : u"Telefono"_s;
}
