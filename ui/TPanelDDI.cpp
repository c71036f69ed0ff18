#include "ui/TPanelDDI.h"

#include "search/CatalogFill.h"
#include "search/TelephoneInfo.h"
#include "ui/ComboCatalogList.h"
#include "ui/TelephonePanelParts.h"
#include "widgets/UiText.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextCursor>

using namespace Qt::StringLiterals;

namespace {

const QStringList kExplanation = {
    u"Recuerde que cuando desee realizar una llamada internacional, deberá marcar en primer lugar 00 (doble cero), "
    u"luego el "_s,
    u"código de "_s,
    u"país, luego el de ciudad y "_s,
    u"finalmente "_s,
    u"el "_s,
    u"número al que "_s,
    u"desee llamar."_s,
    u"Por ejemplo, para llamar a Sevilla deberá marcar el 00 34 95 32280000"_s,
};

QLabel* boldLabel(QWidget* parent, const QString& name, int x, int y, int pointSize)
{
    QLabel* l = telpanel::label(parent, name, QString(), x, y);
    QFont f(u"MS Sans Serif"_s);
    f.setPointSize(pointSize);
    f.setBold(true);
    l->setFont(f);
    l->resize(233, 18);
    return l;
}

} // namespace

TPanelDDI::TPanelDDI(const QdLocs& locs, QWidget* parent) : PicturePanel(parent, telpanel::kBackground), m_locs(locs)
{
    setObjectName(u"pnlDDI"_s);
    DDI_Image1 = new PicturePanel(this);
    DDI_Image1->setObjectName(u"DDI_Image1"_s);
    DDI_Image1->setAutoSize(true);
    DDI_Image1->move(0, 0);

    cbxPaises = new QComboBox(this);
    cbxPaises->setObjectName(u"cbxPaises"_s);
    cbxPaises->setGeometry(10, 40, 233, 21);
    cbxPaises->setMaxVisibleItems(16);
    m_countryList = std::make_unique<ComboCatalogList>(cbxPaises);
    lbl_DDICodPais = telpanel::label(this, u"lbl_DDICodPais"_s, u"Código del País:"_s, 10, 70);
    lblPaiscod = boldLabel(this, u"lblPaiscod"_s, lbl_DDICodPais->x() + lbl_DDICodPais->width() + 6, 69, 8);
    lblInvierno = boldLabel(this, u"lblInvierno"_s, 10, 90, 10);
    lblVerano = boldLabel(this, u"lblVerano"_s, 10, 110, 10);
    mmDDI = telpanel::explanatoryText(this, u"mmDDI"_s, kExplanation);
    mmDDI->setGeometry(260, 36, 540, 112);
    mmNotas = new QPlainTextEdit(this);
    mmNotas->setObjectName(u"mmNotas"_s);
    mmNotas->setReadOnly(true);
    mmNotas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmNotas->setGeometry(10, 152, 520, 52);
    lvCiudades = telpanel::reportList(this, u"lvCiudades"_s, {{u"Localidad"_s, 395}, {u"Código"_s, 99}});
    lvCiudades->move(10, 212);

    connect(cbxPaises, &QComboBox::currentIndexChanged, this, &TPanelDDI::cbxPaisesChange);
}

TPanelDDI::~TPanelDDI() = default;

void TPanelDDI::fillCountries()
{
    catalogfill::fillCountries(m_locs, *m_countryList);
    updControls(m_countryList->selectedId());
}

void TPanelDDI::cbxPaisesChange()
{
    updControls(m_countryList->selectedId());
}

void TPanelDDI::updControls(int32_t country)
{
    const telinfo::CountryPage page = telinfo::countryPage(m_locs, country);
    mmNotas->clear();
    lblPaiscod->setText(QString::fromStdString(page.dialCode));
    lblInvierno->setText(uitext::fromData(page.winter));
    lblVerano->setText(uitext::fromData(page.summer));
    QStringList notes;
    for (const std::string& line : page.notes)
        notes << uitext::fromData(line);
    mmNotas->setPlainText(notes.join(QLatin1Char('\n')));
    mmNotas->moveCursor(QTextCursor::Start);
    mmNotas->ensureCursorVisible();
    lvCiudades->clearContents();
    lvCiudades->setRowCount(static_cast<int>(page.cities.size()));
    for (int r = 0; r < static_cast<int>(page.cities.size()); ++r) {
        const QdLocs::CityRow& city = page.cities[static_cast<size_t>(r)];
        lvCiudades->setItem(r, 0, new QTableWidgetItem(uitext::fromData(city.name)));
        lvCiudades->setItem(r, 1, new QTableWidgetItem(uitext::fromData(city.code)));
    }
    telpanel::fixColumn(lvCiudades, 1, page.codeColumnWidth);
}

void TPanelDDI::resizeEvent(QResizeEvent* event)
{
    PicturePanel::resizeEvent(event);
    mmDDI->resize(std::max(200, width() - mmDDI->x() - 16), mmDDI->height());
    // The city list fills the rest of the panel.
    lvCiudades->resize(std::max(100, width() - 2 * lvCiudades->x()), std::max(40, height() - lvCiudades->y() - 8));
}
