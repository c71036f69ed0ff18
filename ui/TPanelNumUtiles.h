// TPanelNumUtiles: the useful-numbers panel pnlNumUtiles of the information section: the guide
// chooser and the entities of the chosen guide with their numbers. Reads the catalogs (not owned;
// they outlive the panel). A Qt child of PnlInformacion. Main thread.
#pragma once

#include "search/QdLocs.h"
#include "widgets/PicturePanel.h"

#include <memory>

class ComboCatalogList;
class QComboBox;
class QLabel;
class QTableWidget;

class TPanelNumUtiles final : public PicturePanel {
    Q_OBJECT
public:
    TPanelNumUtiles(const QdLocs& locs, QWidget* parent);
    ~TPanelNumUtiles() override;

    // When the catalogs are loaded: "- SELECCIONE LA GUIA -" and every guide.
    void fillGuides();
    void cbxGuiasNUChange();

    PicturePanel* NU_Image1 = nullptr;
    QLabel* lbl_NUSeleccioneGuia = nullptr;
    QComboBox* cbxGuiasNU = nullptr;
    QTableWidget* lvNumerosUtiles = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const QdLocs& m_locs;
    std::unique_ptr<ComboCatalogList> m_guideList;
};
