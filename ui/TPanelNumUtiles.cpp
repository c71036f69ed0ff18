#include "ui/TPanelNumUtiles.h"

#include "search/CatalogFill.h"
#include "search/TelephoneInfo.h"
#include "ui/ComboCatalogList.h"
#include "ui/TelephonePanelParts.h"
#include "widgets/UiText.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

using namespace Qt::StringLiterals;

TPanelNumUtiles::TPanelNumUtiles(const QdLocs& locs, QWidget* parent)
    : PicturePanel(parent, telpanel::kBackground), m_locs(locs)
{
    setObjectName(u"pnlNumUtiles"_s);
    NU_Image1 = new PicturePanel(this);
    NU_Image1->setObjectName(u"NU_Image1"_s);
    NU_Image1->setAutoSize(true);
    NU_Image1->move(0, 0);
    lbl_NUSeleccioneGuia =
        telpanel::label(this, u"lbl_NUSeleccioneGuia"_s, u"Seleccione la guía a consultar"_s, 10, 38);
    cbxGuiasNU = new QComboBox(this);
    cbxGuiasNU->setObjectName(u"cbxGuiasNU"_s);
    cbxGuiasNU->setGeometry(10, 54, 400, 21);
    cbxGuiasNU->setMaxVisibleItems(16);
    m_guideList = std::make_unique<ComboCatalogList>(cbxGuiasNU);
    lvNumerosUtiles = telpanel::reportList(this, u"lvNumerosUtiles"_s, {{u"Entidad"_s, 600}, {u"Número"_s, 99}});
    lvNumerosUtiles->move(10, 84);
    connect(cbxGuiasNU, &QComboBox::currentIndexChanged, this, &TPanelNumUtiles::cbxGuiasNUChange);
}

TPanelNumUtiles::~TPanelNumUtiles() = default;

void TPanelNumUtiles::fillGuides()
{
    catalogfill::fillGuideChooser(m_locs, *m_guideList);
    cbxGuiasNUChange();
}

void TPanelNumUtiles::cbxGuiasNUChange()
{
    const std::vector<QdLocs::UsefulNumberRow> rows = telinfo::usefulNumbers(m_locs, m_guideList->selectedId());
    lvNumerosUtiles->clearContents();
    lvNumerosUtiles->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        lvNumerosUtiles->setItem(r, 0, new QTableWidgetItem(uitext::fromData(rows[static_cast<size_t>(r)].entity)));
        lvNumerosUtiles->setItem(r, 1, new QTableWidgetItem(uitext::fromData(rows[static_cast<size_t>(r)].number)));
    }
}

void TPanelNumUtiles::resizeEvent(QResizeEvent* event)
{
    PicturePanel::resizeEvent(event);
    lvNumerosUtiles->resize(600 + 99 + 2 * lvNumerosUtiles->frameWidth() + 18,
                            std::max(40, height() - lvNumerosUtiles->y() - 8));
}
