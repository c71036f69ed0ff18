// The search panel of the main window: its lists, fields and buttons turned into criteria of the
// result-list worker, and the see-also line of the chosen rubro.
#include "ui/TFormMain.h"

#include "ui/ComboCatalogList.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PicturePanel.h"
#include "ui/TypeAheadCombo.h"
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

using namespace Qt::StringLiterals;

namespace {

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

void TFormMain::setupSearchLists()
{
    new TypeAheadCombo(cbxProvincia, *m_provinceList, [this] { cbxProvinciaChange(); });
    new TypeAheadCombo(cbxLocalidad, *m_localityList, [this] { cbxLocalidadChange(); });
    new TypeAheadCombo(cbxRubro, *m_rubroList, [this] { cbxRubroChange(); });
    connect(cbxProvincia, &QComboBox::activated, this, &TFormMain::cbxProvinciaChange);
    connect(cbxLocalidad, &QComboBox::activated, this, &TFormMain::cbxLocalidadChange);
    connect(cbxRubro, &QComboBox::activated, this, &TFormMain::cbxRubroChange);

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

void TFormMain::ResetSearchForm()
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
    m_locs->FillProvinces();
    m_localityList->setSelectedIndex(-1);
    cbxLocalidad->setEnabled(false);
    ShowLinks(false);
    lblVerTambien->hide();
    if (m_worker)
        m_worker->ResetCriteria();
    for (QComboBox* c : {cbxLocalidad, cbxProvincia, cbxGuia, cbxRubro})
        hintFromText(c);
}

void TFormMain::EnableSearchPanel(bool on)
{
    // A disabled control loses the keyboard focus to the next one; unless the user has moved it
    // meanwhile, it comes back when the pass ends.
    const bool wasIdle = m_searchIdle;
    if (!on && wasIdle)
        m_focusBeforePass = focusWidget();
    m_searchIdle = on;
    for (QWidget* w :
         {static_cast<QWidget*>(cbxGuia), static_cast<QWidget*>(cbxProvincia), static_cast<QWidget*>(cbxCriterio),
          static_cast<QWidget*>(cbxRubro), static_cast<QWidget*>(edBusqueda), static_cast<QWidget*>(edBusqueda0),
          static_cast<QWidget*>(edBusqueda1), static_cast<QWidget*>(edBusqueda2)})
        w->setEnabled(on);
    // The locality list holds entries only while a province is chosen.
    cbxLocalidad->setEnabled(on && cbxLocalidad->count() > 0);
    if (!on && wasIdle)
        m_focusMovedTo = focusWidget();
    if (on && m_focusBeforePass && focusWidget() == m_focusMovedTo && m_focusBeforePass->isEnabled() &&
        !m_focusBeforePass->isHidden())
        m_focusBeforePass->setFocus();
    if (on && m_searchPending)
        bbuBuscarClick();
}

void TFormMain::DropSelectionMarks()
{
    withBits([](FiltroBits& bits) { bits.SetCodeEverywhere(plane::kSelection, false); });
}

void TFormMain::ShowLinks(bool visible)
{
    if (m_seeAlso)
        m_seeAlso->ShowLinks(visible);
}

void TFormMain::cbxCriterioChange()
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

void TFormMain::cbxProvinciaChange()
{
    if (cbxProvincia->currentIndex() < 0)
        return;
    if (m_worker)
        m_worker->SetPlace(m_provinceList->selectedId(), 0);
    m_locs->FillLocalities();
    m_localityList->selectFirst();
    hintFromText(cbxProvincia);
    hintFromText(cbxLocalidad);
    if (cbxProvincia->currentIndex() == 0)
        bbuBuscarClick();
}

void TFormMain::cbxLocalidadChange()
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

void TFormMain::cbxRubroChange()
{
    const int index = cbxRubro->currentIndex();
    if (index < 0)
        return;
    lblVerTambien->show();
    const int32_t id = m_rubroList->selectedId();
    const std::string& redirect = m_locs->RubroRedirect(id);
    if (!redirect.empty()) {
        // Searched as the target; only the caption changes, the links of the last choice stay.
        const int32_t target = m_locs->redirectTarget(id);
        if (target != 0) {
            lblVerTambien->setText(u"Ver rubro: "_s + uitext::fromData(m_locs->RubroName(target)));
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

void TFormMain::ShowSeeAlso(int32_t rubro)
{
    lblVerTambien->setText(u"Ver también: "_s);
    lblVerTambien->adjustSize();
    if (m_seeAlso->Fill(m_locs->RubroSeeAlso(rubro), *m_locs) == 0) {
        m_seeAlso->ClearLinks();
        ShowLinks(false);
        lblVerTambien->hide();
        return;
    }
    lblVerTambien->show();
}

void TFormMain::lblVerTambien1Click(QObject* sender)
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

void TFormMain::bbuBuscarClick()
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
        if (!pnlBusqueDatos->isHidden())
            messageboxes::show(this, u"Atención"_s, u"Debe ingresar al menos un criterio de búsqueda"_s);
        bbuLimpiarClick();
        return;
    }
    DropSelectionMarks();
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

void TFormMain::bbuLimpiarClick()
{
    m_searchDone = false;
    ResetSearchForm();
}
