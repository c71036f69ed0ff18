#include "ui/TPanelDDN.h"

#include "search/CatalogFill.h"
#include "search/TelephoneInfo.h"
#include "ui/ComboCatalogList.h"
#include "ui/TelephonePanelParts.h"
#include "widgets/UiText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

const QStringList kExplanation = {
    u"Cuando desee realizar una llamada de larga distancia nacional recurde marcar siempre el 0 (cero) antes del "
    u"código de área "_s,
    u"y luego "_s,
    u"el número con el que desee "_s,
    u"comunicarse. "_s,
    u"Por "_s,
    u"ejemplo, si el código es 223 (perteneciente a Mar del Plata) y el teléfono es 4447 9374, deberá marcar 0223 "
    u"4473 9374. De "_s,
    u"esta "_s,
    u"misma forma deberá ingresar el "_s,
    u"código "_s,
    u"cuando "_s,
    u"desee "_s,
    u"buscar en el CD ROM."_s,
};

} // namespace

TPanelDDN::TPanelDDN(const QdLocs& locs, QWidget* parent) : PicturePanel(parent, telpanel::kBackground), m_locs(locs)
{
    setObjectName(u"pnlDDN"_s);
    DDN_Image1 = new PicturePanel(this);
    DDN_Image1->setObjectName(u"DDN_Image1"_s);
    DDN_Image1->setAutoSize(true);
    DDN_Image1->move(0, 0);

    lbl_DDNProv = telpanel::label(this, u"lbl_DDNProv"_s, u"Provincias"_s, 10, 38);
    DDN_cbxProvincia = new QComboBox(this);
    DDN_cbxProvincia->setObjectName(u"DDN_cbxProvincia"_s);
    DDN_cbxProvincia->setGeometry(10, 54, 233, 21);
    DDN_cbxProvincia->setMaxVisibleItems(16);
    m_provinceList = std::make_unique<ComboCatalogList>(DDN_cbxProvincia);
    lbl_DDNIngreseLoc = telpanel::label(this, u"lbl_DDNIngreseLoc"_s, u"Ingrese una Localidad"_s, 10, 82);
    tLocalidad = new QLineEdit(this);
    tLocalidad->setObjectName(u"tLocalidad"_s);
    tLocalidad->setGeometry(10, 98, 233, 21);
    mmDDN = telpanel::explanatoryText(this, u"mmDDN"_s, kExplanation);
    mmDDN->setGeometry(490, 36, 480, 200);
    lblLocalidades = telpanel::label(this, u"lblLocalidades"_s, u"Localidades"_s, 10, 130);
    lvLocalidades =
        telpanel::reportList(this, u"lvLocalidades"_s, {{u"ID"_s, 0}, {u"Localidad"_s, 395}, {u"Código"_s, 50}});
    lvLocalidades->move(10, 146);

    connect(DDN_cbxProvincia, &QComboBox::currentIndexChanged, this, &TPanelDDN::DDN_cbxProvinciaChange);
    connect(tLocalidad, &QLineEdit::textChanged, this, &TPanelDDN::tLocalidadChange);
    connect(lvLocalidades, &QTableWidget::itemSelectionChanged, this, &TPanelDDN::lvLocalidadesSelectItem);
}

TPanelDDN::~TPanelDDN() = default;

void TPanelDDN::fillProvinces()
{
    catalogfill::fillProvinceChooser(m_locs, *m_provinceList);
}

void TPanelDDN::DDN_cbxProvinciaChange()
{
    refillLocalities();
    tLocalidad->clear();
}

void TPanelDDN::refillLocalities()
{
    m_rows = telinfo::localityRows(m_locs, m_provinceList->selectedId());
    const bool wasSearching = m_searching;
    m_searching = true; // emptying the list is no user's choice
    lvLocalidades->setUpdatesEnabled(false);
    lvLocalidades->clearContents();
    lvLocalidades->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const QdLocs::LocalityRow& row = m_rows[static_cast<size_t>(r)];
        lvLocalidades->setItem(r, 0, new QTableWidgetItem(uitext::fromData(row.name)));
        lvLocalidades->setItem(r, 1, new QTableWidgetItem(uitext::fromData(row.upperName)));
        lvLocalidades->setItem(r, 2, new QTableWidgetItem(QString::fromStdString(row.areaCode)));
    }
    lvLocalidades->setUpdatesEnabled(true);
    m_searching = wasSearching;
}

void TPanelDDN::tLocalidadChange()
{
    if (m_searching)
        return;
    m_searching = true;
    const QString text = tLocalidad->text();
    const int row = text.isEmpty() ? -1 : telinfo::findLocality(m_rows, uitext::toData(text));
    if (row >= 0) {
        lvLocalidades->setCurrentCell(row, 1);
        lvLocalidades->scrollToItem(lvLocalidades->item(row, 1));
    }
    m_searching = false;
}

void TPanelDDN::lvLocalidadesSelectItem()
{
    if (m_searching)
        return;
    const QList<QTableWidgetItem*> chosen = lvLocalidades->selectedItems();
    if (chosen.isEmpty())
        return;
    m_searching = true;
    tLocalidad->setText(lvLocalidades->item(chosen.front()->row(), 0)->text());
    m_searching = false;
}

void TPanelDDN::resizeEvent(QResizeEvent* event)
{
    PicturePanel::resizeEvent(event);
    lvLocalidades->resize(395 + 50 + lvLocalidades->frameWidth() * 2 + 18,
                          std::max(40, height() - lvLocalidades->y() - 8));
}
