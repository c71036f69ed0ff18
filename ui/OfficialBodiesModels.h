// The item models behind the official-bodies panel's three views: the tree over an OfficialBodies
// (no copy of it; items are node indices), the result list of a keyword search and the two-column
// detail list. The models hold a pointer to the tree, which must outlive them. Main thread.
#pragma once

#include "search/OfficialBodies.h"

#include <QAbstractItemModel>
#include <QAbstractListModel>
#include <QAbstractTableModel>

#include <vector>

// tv1: one column, the captions; a node's item id is its index in the tree.
class OfficialBodiesTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit OfficialBodiesTreeModel(QObject* parent = nullptr) : QAbstractItemModel(parent) {}

    // Shows the tree as it now is (call after loading it); nullptr shows nothing.
    void setTree(const OfficialBodies* tree);
    [[nodiscard]] QModelIndex indexOf(int32_t node) const;
    [[nodiscard]] static int32_t nodeOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

private:
    const OfficialBodies* m_tree = nullptr;
    std::vector<int32_t> m_row; // each node's row under its parent
};

// lb1: the captions of the found nodes, in search order.
class OfficialBodiesResultModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit OfficialBodiesResultModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setResults(const OfficialBodies* tree, std::vector<int32_t> nodes);
    [[nodiscard]] const std::vector<int32_t>& nodes() const { return m_nodes; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const OfficialBodies* m_tree = nullptr;
    std::vector<int32_t> m_nodes;
};

// lv1: "Descripcion" and "Telefono".
class OfficialBodiesDetailModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OfficialBodiesDetailModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setRows(std::vector<OfficialBodies::DetailRow> rows);
    [[nodiscard]] const std::vector<OfficialBodies::DetailRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<OfficialBodies::DetailRow> m_rows;
};
