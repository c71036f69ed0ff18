// TPanelDDI: the international-dialling panel pnlDDI of the information section: the country
// chooser, the country's code, time texts and notes, and its cities with their codes. Reads the
// catalogs (not owned; they outlive the panel). A Qt child of PnlInformacion. Main thread.
#pragma once

#include "search/QdLocs.h"
#include "widgets/PicturePanel.h"

#include <memory>

class ComboCatalogList;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

class TPanelDDI final : public PicturePanel {
    Q_OBJECT
public:
    TPanelDDI(const QdLocs& locs, QWidget* parent);
    ~TPanelDDI() override;

    // Start-up: every country, the first chosen, and its page.
    void fillCountries();
    void cbxPaisesChange();
    // Shows one country's page.
    void updControls(int32_t country);

    PicturePanel* DDI_Image1 = nullptr;
    QComboBox* cbxPaises = nullptr;
    QLabel* lbl_DDICodPais = nullptr;
    QLabel* lblPaiscod = nullptr;
    QLabel* lblInvierno = nullptr;
    QLabel* lblVerano = nullptr;
    QPlainTextEdit* mmDDI = nullptr;
    QPlainTextEdit* mmNotas = nullptr;
    QTableWidget* lvCiudades = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const QdLocs& m_locs;
    std::unique_ptr<ComboCatalogList> m_countryList;
};
