#include "ui/SearchPanel.h"

#include "ui/AppearanceSettings.h"
#include "ui/ControlMakers.h"
#include "ui/ResultList.h"
#include "widgets/PictureButton.h"

#include "ui/ComboCatalogList.h"
#include "ui/TypeAheadCombo.h"
#include "ui/UpperCaseValidator.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PicturePanel.h"
#include "widgets/UiText.h"

#include "engine/Cp1252.h"
#include "engine/WordFold.h"
#include "search/PhoneSplit.h"
#include "search/QdLocs.h"
#include "search/ThreadFillList.h"
#include "search/VerTambien.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;
using namespace controls;

namespace {

QComboBox* combo(QWidget* parent, const QString& name, int x, int y, int w)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 21);
    c->setMaxVisibleItems(16);
    return c;
}

QLineEdit* digitsField(QWidget* parent, const QString& name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    // Only digits can be typed; the key filter of the search panel drops everything else.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), e));
    e->hide();
    return e;
}

bool atFirstOrNone(const QComboBox* c)
{
    return c->currentIndex() <= 0;
}

void hintFromText(QComboBox* c)
{
    c->setToolTip(c->currentText());
    // A long entry shows its beginning, not its end.
    if (QLineEdit* edit = c->lineEdit())
        edit->setCursorPosition(0);
}

// A see-also link label as the line's layout sees it.
class LinkLabel final : public SeeAlsoLabel {
public:
    explicit LinkLabel(QLabel* label) : m_label(label) {}
    void setText(const std::string& windows1252) override
    {
        m_label->setText(uitext::fromData(windows1252));
        m_label->adjustSize();
    }
    void setVisible(bool visible) override { m_label->setVisible(visible); }
    [[nodiscard]] int left() const override { return m_label->x(); }
    [[nodiscard]] int width() const override { return m_label->width(); }
    void setLeft(int left) override { m_label->move(left, m_label->y()); }
    [[nodiscard]] QLabel* label() const { return m_label; }

private:
    QLabel* m_label;
};

} // namespace

SearchPanel::SearchPanel(QdLocs& locs, QWidget* parent) : PicturePanel(parent), m_locs(locs)
{
    setObjectName(u"pnlSecciones"_s);
    setStretch(true);
    QWidget* p = this;
    lbl_busqueda = label(p, u"lbl_busqueda"_s, u"¿Qué Buscas?"_s, 10, 10);
    edBusqueda = new QLineEdit(p);
    edBusqueda->setObjectName(u"edBusqueda"_s);
    edBusqueda->setGeometry(10, 26, 155, 21);
    edBusqueda->setMaxLength(255);
    edBusqueda->setValidator(new UpperCaseValidator(edBusqueda)); // shown as it is searched
    edBusqueda0 = digitsField(p, u"edBusqueda0"_s, 5);
    edBusqueda1 = digitsField(p, u"edBusqueda1"_s, 8);
    edBusqueda2 = digitsField(p, u"edBusqueda2"_s, 4);
    edBusqueda0->setGeometry(10, 26, 45, 21);
    edBusqueda1->setGeometry(60, 26, 105, 21);
    edBusqueda2->setGeometry(120, 26, 45, 21);

    lbl_Criterio = label(p, u"lbl_Criterio"_s, u"Buscar por"_s, 175, 10);
    cbxCriterio = combo(p, u"cbxCriterio"_s, 176, 26, 150);
    cbxCriterio->addItems({u"Nombre/Razón Soc."_s, u"Direcciones"_s, u"Teléfonos"_s});
    lbl_Rubro = label(p, u"lbl_Rubro"_s, u"Rubro"_s, 336, 10);
    cbxRubro = combo(p, u"cbxRubro"_s, 336, 26, 155);
    lbl_Provincia = label(p, u"lbl_Provincia"_s, u"Provincia"_s, 10, 52);
    cbxProvincia = combo(p, u"cbxProvincia"_s, 10, 68, 155);
    lbl_Localidad = label(p, u"lbl_Localidad"_s, u"Localidad"_s, 176, 52);
    cbxLocalidad = combo(p, u"cbxLocalidad"_s, 176, 68, 150);
    lbl_Guia = label(p, u"lbl_Guia"_s, u"Guía"_s, 336, 52);
    cbxGuia = combo(p, u"cbxGuia"_s, 336, 68, 155);
    lbl_Guia->hide();
    cbxGuia->hide(); // its selection stays "- TODAS -"
    for (QComboBox* c : {cbxRubro, cbxProvincia, cbxLocalidad, cbxGuia})
        c->setEditable(true);

    m_guideList = std::make_unique<ComboCatalogList>(cbxGuia);
    m_provinceList = std::make_unique<ComboCatalogList>(cbxProvincia);
    m_localityList = std::make_unique<ComboCatalogList>(cbxLocalidad);
    m_rubroList = std::make_unique<ComboCatalogList>(cbxRubro);

    // Everything stays inside the 565 pixels the header has at the window's minimum width.
    bbuBuscar = pictureButton(p, u"bbuBuscar"_s, kButtonsX, kButtonsY);
    bbuBuscar->setToolTip(u"Buscar"_s);
    bbuLimpiar = pictureButton(p, u"bbuLimpiar"_s, kButtonsX + 78, kButtonsY);
    bbuLimpiar->setToolTip(u"Limpiar"_s);
    vertBar0 = separator(p, u"vertBar0"_s, kBarX0);
    bbuHelp = pictureButton(p, u"bbuHelp"_s, kHelpX, kHelpY);
    vertBar1 = separator(p, u"vertBar1"_s, kBarX1);
    connect(bbuBuscar, &QAbstractButton::clicked, this, &SearchPanel::bbuBuscarClick);
    connect(bbuLimpiar, &QAbstractButton::clicked, this, &SearchPanel::bbuLimpiarClick);
    connect(cbxCriterio, &QComboBox::currentIndexChanged, this, &SearchPanel::cbxCriterioChange);
}

SearchPanel::~SearchPanel() = default;

void SearchPanel::buildSeeAlso(QWidget* parent)
{
    imgVerTambien = panel(parent, u"imgVerTambien"_s);
    imgVerTambien->setStretch(true);
    lblVerTambien = label(imgVerTambien, u"lblVerTambien"_s, u"Ver también: "_s, 10, 3);
    QFont bold = lblVerTambien->font();
    bold.setBold(true);
    lblVerTambien->setFont(bold);
    lblVerTambien->adjustSize();
    lblVerTambien->hide();
    int x = lblVerTambien->x() + lblVerTambien->width() + 10;
    for (size_t i = 0; i < lblVerTambienLinks.size(); ++i) {
        QLabel* l = label(imgVerTambien, u"lblVerTambien"_s + QString::number(i + 1), QString(), x, 3);
        l->setCursor(Qt::PointingHandCursor);
        l->hide();
        lblVerTambienLinks[i] = l;
    }
}

void SearchPanel::ArrangeSearchFields(bool commercial)
{
    const int searchX = 10, criterionX = 175, rubroX = 336;
    const auto place = [](QWidget* label, QWidget* field, int x) {
        label->move(x, label->y());
        field->move(x == 175 ? 176 : x, field->y());
    };
    if (commercial && edBusqueda->x() < cbxRubro->x()) {
        place(lbl_Rubro, cbxRubro, searchX);
        place(lbl_busqueda, edBusqueda, criterionX);
        place(lbl_Criterio, cbxCriterio, rubroX);
    } else if (!commercial && cbxRubro->x() < edBusqueda->x()) {
        place(lbl_busqueda, edBusqueda, searchX);
        place(lbl_Criterio, cbxCriterio, criterionX);
        place(lbl_Rubro, cbxRubro, rubroX);
    }
    edBusqueda0->move(edBusqueda->x(), edBusqueda0->y());
    edBusqueda1->move(edBusqueda->x() + edBusqueda->width() - edBusqueda1->width(), edBusqueda1->y());
}

void SearchPanel::setRubroVisible(bool visible, bool enabled)
{
    cbxRubro->setVisible(visible);
    lbl_Rubro->setVisible(visible);
    cbxRubro->setEnabled(enabled);
}

void SearchPanel::setupSearchLists(ResultList& list)
{
    m_list = &list;
    new TypeAheadCombo(cbxProvincia, *m_provinceList, [this] { cbxProvinciaChange(); });
    new TypeAheadCombo(cbxLocalidad, *m_localityList, [this] { cbxLocalidadChange(); });
    new TypeAheadCombo(cbxRubro, *m_rubroList, [this] { cbxRubroChange(); });
    connect(cbxProvincia, &QComboBox::activated, this, &SearchPanel::cbxProvinciaChange);
    connect(cbxLocalidad, &QComboBox::activated, this, &SearchPanel::cbxLocalidadChange);
    connect(cbxRubro, &QComboBox::activated, this, &SearchPanel::cbxRubroChange);

    // The see-also links start on the caption's line, 10 pixels right of it.
    m_seeAlso = std::make_unique<VerTambien>();
    lblVerTambienLinks[0]->move(lblVerTambien->geometry().right() + 1 + VerTambien::kGap, lblVerTambien->y());
    for (size_t i = 0; i < lblVerTambienLinks.size(); ++i) {
        QLabel* l = lblVerTambienLinks[i];
        l->move(l->x(), lblVerTambien->y());
        l->installEventFilter(this);
        m_seeAlsoLabels[i] = std::make_unique<LinkLabel>(l);
        m_seeAlso->AttachLink(m_seeAlsoLabels[i].get());
    }
}

void SearchPanel::ResetSearchForm()
{
    for (QLineEdit* e : {edBusqueda, edBusqueda0, edBusqueda1, edBusqueda2})
        e->clear();
    edBusqueda->show();
    for (QLineEdit* e : {edBusqueda0, edBusqueda1, edBusqueda2})
        e->hide();
    {
        const QSignalBlocker criterion(cbxCriterio);
        m_guideList->selectFirst();
        m_provinceList->selectFirst();
        m_rubroList->selectFirst();
        cbxCriterio->setCurrentIndex(0);
        m_lastCriterion = 0;
    }
    lbl_busqueda->setText(u"¿Qué Buscas?"_s);
    lbl_busqueda->adjustSize();
    m_locs.FillProvinces();
    m_localityList->setSelectedIndex(-1);
    cbxLocalidad->setEnabled(false);
    ShowLinks(false);
    lblVerTambien->hide();
    if (m_worker)
        m_worker->ResetCriteria();
    for (QComboBox* c : {cbxLocalidad, cbxProvincia, cbxGuia, cbxRubro})
        hintFromText(c);
}

void SearchPanel::EnableSearchPanel(bool on)
{
    // A disabled control loses the keyboard focus to the next one; unless the user has moved it
    // meanwhile, it comes back when the pass ends.
    const bool wasIdle = m_searchIdle;
    if (!on && wasIdle)
        m_focusBeforePass = window()->focusWidget();
    m_searchIdle = on;
    for (QWidget* w :
         {static_cast<QWidget*>(cbxGuia), static_cast<QWidget*>(cbxProvincia), static_cast<QWidget*>(cbxCriterio),
          static_cast<QWidget*>(cbxRubro), static_cast<QWidget*>(edBusqueda), static_cast<QWidget*>(edBusqueda0),
          static_cast<QWidget*>(edBusqueda1), static_cast<QWidget*>(edBusqueda2)})
        w->setEnabled(on);
    // The locality list holds entries only while a province is chosen.
    cbxLocalidad->setEnabled(on && cbxLocalidad->count() > 0);
    if (!on && wasIdle)
        m_focusMovedTo = window()->focusWidget();
    if (on && m_focusBeforePass && window()->focusWidget() == m_focusMovedTo && m_focusBeforePass->isEnabled() &&
        !m_focusBeforePass->isHidden())
        m_focusBeforePass->setFocus();
    if (on && m_searchPending)
        bbuBuscarClick();
}

void SearchPanel::bindCatalogs()
{
    cbxCriterio->setCurrentIndex(0);
    m_locs.BindSearchLists(*m_guideList, *m_provinceList, *m_localityList, *m_rubroList);
}

void SearchPanel::applyColours(const ColourScheme& c)
{
    imgVerTambien->setPicture(::picture(c.imgVerTambien_none));
    for (PicturePanel* v : {vertBar0, vertBar1}) {
        v->setStretch(true);
        v->setPicture(::picture(c.vertBar));
    }
    bbuLimpiar->setPicture(::picture(c.bbuLimpiar));
    bbuBuscar->setPicture(::picture(c.bbuBuscar));
    bbuHelp->setPicture(::picture(c.btn_help));
    setPicture(::picture(c.imgSecciones));
    for (QLabel* l : {lbl_Rubro, lbl_Guia, lbl_Localidad, lbl_Criterio, lbl_Provincia, lbl_busqueda})
        setLabelColour(l, c.Fuente);
    setLabelColour(lblVerTambien, c.lblVerTambien);
    for (QLabel* l : lblVerTambienLinks)
        setLabelColour(l, c.lblVerTambien);
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (QLabel* l : lblVerTambienLinks) {
            if (watched == l) {
                lblVerTambien1Click(l);
                return true;
            }
        }
    }
    return PicturePanel::eventFilter(watched, event);
}

void SearchPanel::ShowLinks(bool visible)
{
    if (m_seeAlso)
        m_seeAlso->ShowLinks(visible);
}

void SearchPanel::cbxCriterioChange()
{
    m_searchDone = false;
    const int entry = cbxCriterio->currentIndex();
    const bool phone = entry == 2;
    if (phone) {
        edBusqueda1->clear();
        edBusqueda2->clear();
    } else if (m_lastCriterion == 2) {
        edBusqueda->clear();
    }
    m_lastCriterion = entry;
    edBusqueda->setVisible(!phone);
    edBusqueda0->setVisible(phone);
    edBusqueda1->setVisible(phone);
    lbl_busqueda->setText(phone ? u"Tel(ej. 011 - 43488000)"_s : u"¿Qué Buscas?"_s);
    lbl_busqueda->adjustSize();
    if (m_worker) {
        m_worker->SetPhone(0, 0, 0);
        m_worker->SetNameText({});
        m_worker->SetAddressText({});
    }
}

void SearchPanel::cbxProvinciaChange()
{
    if (cbxProvincia->currentIndex() < 0)
        return;
    if (m_worker)
        m_worker->SetPlace(m_provinceList->selectedId(), 0);
    m_locs.FillLocalities();
    m_localityList->selectFirst();
    hintFromText(cbxProvincia);
    hintFromText(cbxLocalidad);
    if (cbxProvincia->currentIndex() == 0)
        bbuBuscarClick();
}

void SearchPanel::cbxLocalidadChange()
{
    if (cbxLocalidad->currentIndex() < 0)
        return;
    if (cbxProvincia->currentIndex() < 0)
        m_provinceList->selectFirst();
    if (m_worker)
        m_worker->SetPlace(m_provinceList->selectedId(), m_localityList->selectedId());
    hintFromText(cbxLocalidad);
    bbuBuscarClick();
}

void SearchPanel::cbxRubroChange()
{
    const int index = cbxRubro->currentIndex();
    if (index < 0)
        return;
    lblVerTambien->show();
    const int32_t id = m_rubroList->selectedId();
    const std::string& redirect = m_locs.RubroRedirect(id);
    if (!redirect.empty()) {
        // Searched as the target; only the caption changes, the links of the last choice stay.
        const int32_t target = m_locs.redirectTarget(id);
        if (target != 0) {
            lblVerTambien->setText(u"Ver rubro: "_s + uitext::fromData(m_locs.RubroName(target)));
            lblVerTambien->adjustSize();
            if (m_worker)
                m_worker->SetRubro(target);
            return;
        }
    }
    if (m_worker)
        m_worker->SetRubro(id);
    hintFromText(cbxRubro);
    ShowSeeAlso(id);
    if (index != 0)
        bbuBuscarClick();
}

void SearchPanel::ShowSeeAlso(int32_t rubro)
{
    lblVerTambien->setText(u"Ver también: "_s);
    lblVerTambien->adjustSize();
    // Only an empty text hides the line: one whose first piece is no number shows the caption
    // without links.
    const std::string seeAlso = m_locs.RubroSeeAlso(rubro);
    m_seeAlso->Fill(seeAlso, m_locs);
    if (seeAlso.empty()) {
        m_seeAlso->ClearLinks();
        ShowLinks(false);
        lblVerTambien->hide();
        return;
    }
    lblVerTambien->show();
}

void SearchPanel::lblVerTambien1Click(QObject* sender)
{
    int32_t id = 0;
    for (size_t i = 0; i < lblVerTambienLinks.size(); ++i) {
        if (sender == lblVerTambienLinks[i])
            id = m_seeAlso->LinkId(m_seeAlsoLabels[i].get());
    }
    if (id == 0)
        return;
    for (int i = 0; i < m_rubroList->count(); ++i) {
        if (m_rubroList->itemId(i) == id) {
            m_rubroList->setSelectedIndex(i);
            cbxRubroChange();
            return;
        }
    }
}

void SearchPanel::bbuBuscarClick()
{
    if (!m_searchIdle) {
        m_searchPending = true;
        return;
    }
    m_searchPending = false;
    const int entry = cbxCriterio->currentIndex();
    const std::string text = cp1252::upper(uitext::toData(edBusqueda->text()));
    const bool textMet = entry == 2 || wordfold::HasWord(text, entry == 1 ? 1 : 0);
    if (!textMet && atFirstOrNone(cbxProvincia) && atFirstOrNone(cbxLocalidad) && atFirstOrNone(cbxRubro) &&
        atFirstOrNone(cbxGuia)) {
        if (!m_list->pnlBusqueDatos->isHidden())
            messageboxes::show(window(), u"Atención"_s, u"Debe ingresar al menos un criterio de búsqueda"_s);
        bbuLimpiarClick();
        return;
    }
    m_list->DropSelectionMarks();
    m_searchDone = true;
    if (!m_worker)
        return;
    if (entry == 0) {
        m_worker->SetNameText(text);
    } else if (entry == 1) {
        m_worker->SetAddressText(text);
    } else {
        const PhoneParts parts = SplitPhoneNumber(uitext::toData(edBusqueda1->text()));
        bool ok = false;
        const int area = edBusqueda0->text().toInt(&ok);
        m_worker->SetPhone(ok ? area : 0, parts.prefix, lineCriterion(parts.line));
    }
}

void SearchPanel::bbuLimpiarClick()
{
    m_searchDone = false;
    ResetSearchForm();
}
