// TPanelDDN: the national-dialling panel pnlDDN of the information section: the province chooser,
// the locality search box and the list of localities with their area codes. Reads the catalogs
// (not owned; they outlive the panel). A Qt child of PnlInformacion. Main thread.
#pragma once

#include "search/QdLocs.h"
#include "widgets/PicturePanel.h"

#include <memory>
#include <vector>

class ComboCatalogList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

class TPanelDDN final : public PicturePanel {
    Q_OBJECT
public:
    TPanelDDN(const QdLocs& locs, QWidget* parent);
    ~TPanelDDN() override;

    // Start-up: "- TODAS -" and every province, the first entry chosen.
    void fillProvinces();
    // The province chosen: its localities, and an empty search box.
    void DDN_cbxProvinciaChange();
    // The locality list of the chosen province again (each visit of the page with a choice).
    void refillLocalities();
    // The typed text selects the first locality it starts; a row chosen copies its name into the
    // box. One flag keeps either from answering the other.
    void tLocalidadChange();
    void lvLocalidadesSelectItem();

    [[nodiscard]] const std::vector<QdLocs::LocalityRow>& rows() const { return m_rows; }

    PicturePanel* DDN_Image1 = nullptr;
    QLabel* lbl_DDNProv = nullptr;
    QComboBox* DDN_cbxProvincia = nullptr;
    QLabel* lbl_DDNIngreseLoc = nullptr;
    QLineEdit* tLocalidad = nullptr;
    QPlainTextEdit* mmDDN = nullptr;
    QLabel* lblLocalidades = nullptr;
    QTableWidget* lvLocalidades = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const QdLocs& m_locs;
    std::unique_ptr<ComboCatalogList> m_provinceList;
    std::vector<QdLocs::LocalityRow> m_rows;
    bool m_searching = false;
};
