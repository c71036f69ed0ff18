// SearchPanel: the search header of the directory sections (the panel named pnlSecciones): the
// search text, the criterion, rubro, province, locality and guide lists, the search, clear and help
// buttons, turned into criteria of the result-list worker; and the see-also strip under the list
// (imgVerTambien), whose links choose another rubro. While a pass runs the panel is disabled; a
// search asked for meanwhile runs when it ends.
//
// Owned by the main window through its Qt parent (the strip through the body's); the catalogs and
// the result list are the window's, the worker is attached after start-up. Main thread only.
#pragma once

#include "widgets/PicturePanel.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>

class ComboCatalogList;
class PictureButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QdLocs;
class ResultList;
class SeeAlsoLabel;
class ThreadFillList;
class VerTambien;
struct ColourScheme;

class SearchPanel final : public PicturePanel {
    Q_OBJECT
public:
    SearchPanel(QdLocs& locs, QWidget* parent);
    ~SearchPanel() override;
    // The see-also strip, made in its parent (the body, under the list) after the list.
    void buildSeeAlso(QWidget* parent);
    // The lists' type-ahead and the strip's links; list is the result list the searches fill.
    void setupSearchLists(ResultList& list);

    void attach(ThreadFillList* worker) { m_worker = worker; }
    // The catalogs fill the four lists from now on; the criterion starts at the name.
    void bindCatalogs();
    void applyColours(const ColourScheme& c);

    [[nodiscard]] bool searchDone() const { return m_searchDone; }
    void setSearchDone(bool done) { m_searchDone = done; }
    [[nodiscard]] bool searchIdle() const { return m_searchIdle; }
    [[nodiscard]] VerTambien& seeAlso() { return *m_seeAlso; }

    void ResetSearchForm();
    void EnableSearchPanel(bool on);
    // The commercial guide puts the rubro first.
    void ArrangeSearchFields(bool commercial);
    void setRubroVisible(bool visible, bool enabled);
    void ShowLinks(bool visible);
    void cbxCriterioChange();
    void cbxProvinciaChange();
    void cbxLocalidadChange();
    void cbxRubroChange();
    void bbuBuscarClick();
    void bbuLimpiarClick();
    void ShowSeeAlso(int32_t rubro);
    void lblVerTambien1Click(QObject* sender);

    QLabel *lbl_busqueda = nullptr, *lbl_Criterio = nullptr, *lbl_Rubro = nullptr, *lbl_Guia = nullptr,
           *lbl_Provincia = nullptr, *lbl_Localidad = nullptr;
    QLineEdit *edBusqueda = nullptr, *edBusqueda0 = nullptr, *edBusqueda1 = nullptr, *edBusqueda2 = nullptr;
    QComboBox *cbxCriterio = nullptr, *cbxRubro = nullptr, *cbxGuia = nullptr, *cbxProvincia = nullptr,
              *cbxLocalidad = nullptr;
    PictureButton *bbuBuscar = nullptr, *bbuLimpiar = nullptr, *bbuHelp = nullptr;
    PicturePanel *vertBar0 = nullptr, *vertBar1 = nullptr;
    // The see-also strip.
    PicturePanel* imgVerTambien = nullptr;
    QLabel* lblVerTambien = nullptr;
    std::array<QLabel*, 5> lblVerTambienLinks{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();

    QdLocs& m_locs;
    ResultList* m_list = nullptr;
    ThreadFillList* m_worker = nullptr;
    std::unique_ptr<ComboCatalogList> m_guideList, m_provinceList, m_localityList, m_rubroList;
    std::unique_ptr<VerTambien> m_seeAlso;
    std::array<std::unique_ptr<SeeAlsoLabel>, 5> m_seeAlsoLabels;
    bool m_searchDone = false;
    bool m_searchIdle = true;
    bool m_searchPending = false;
    int m_lastCriterion = 0;
    QPointer<QWidget> m_focusBeforePass, m_focusMovedTo;
};
