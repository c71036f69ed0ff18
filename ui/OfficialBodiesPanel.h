// OfficialBodiesPanel: the official-bodies section: the keyword field in the section's header, and
// in its body the result list lb1, the tree tv1 and the detail list lv1, with their handlers. Owns
// the tree data (loaded once, on the section's first entry) and the three models; the controls are
// Qt children of the two panels given to the constructor, which the main window owns. Main thread.
#pragma once

#include "engine/ByteSource.h"
#include "search/OfficialBodies.h"

#include <QObject>

#include <string>

class QLabel;
class QLineEdit;
class QTreeView;
class QWidget;
class OfficialBodiesDetailModel;
class OfficialBodiesResultModel;
class OfficialBodiesTreeModel;

class OfficialBodiesPanel final : public QObject {
    Q_OBJECT
public:
    // header: pnlOrgOf (takes the keyword field); body: gbOrgOf (the three views).
    OfficialBodiesPanel(QWidget* header, QWidget* body);
    ~OfficialBodiesPanel() override;

    // The first call reads the files and marks the panel loaded, whether or not they could be
    // read; later calls do nothing. True when this call read the tree.
    bool LoadData(const std::string& dataPath, const std::string& tablePath,
                  const SourceOpener& opener = openFileSource);
    [[nodiscard]] bool loaded() const { return m_loaded; }

    // Empties the keyword, the results and the details, selects the first province and collapses
    // the tree.
    void fClearOO();
    // The keyword search (the search button, Enter released in the keyword field).
    void bbuBuscarOOClick();
    void bbuClearClick() { fClearOO(); }
    // A result chosen: its node becomes the tree's selection.
    void lb1SelectItem(int row);
    // The tree's selection changed: the detail list shows the node.
    void tv1Change(int32_t node);
    void gbOrgOfResize();
    // Shut-down: clear, then drop the tree and its texts.
    void release();

    [[nodiscard]] const OfficialBodies& bodies() const { return m_bodies; }
    [[nodiscard]] int32_t selectedNode() const;
    [[nodiscard]] const OfficialBodiesTreeModel& treeModel() const { return *m_treeModel; }
    [[nodiscard]] const OfficialBodiesResultModel& resultModel() const { return *m_resultModel; }
    [[nodiscard]] const OfficialBodiesDetailModel& detailModel() const { return *m_detailModel; }

    QLineEdit* tPalabraClave = nullptr;
    QLabel* lblResultado = nullptr;
    QTreeView* lb1 = nullptr;
    QTreeView* tv1 = nullptr;
    QTreeView* lv1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void upperCaseKeyword();

    QWidget* m_body;
    OfficialBodies m_bodies;
    bool m_loaded = false;
    OfficialBodiesTreeModel* m_treeModel;
    OfficialBodiesResultModel* m_resultModel;
    OfficialBodiesDetailModel* m_detailModel;
};
