#include "ui/HomePage.h"

#include "ui/AppearanceSettings.h"
#include "ui/ControlMakers.h"
#include "widgets/PictureButton.h"

#include <QResizeEvent>

#include <tuple>

using namespace Qt::StringLiterals;
using namespace controls;

HomePage::HomePage(std::function<void(const QString&)> openAddress, QWidget* parent)
    : PicturePanel(parent, QColor(64, 64, 64)), m_openAddress(std::move(openAddress))
{
    setObjectName(u"pnlHome"_s);
}

void HomePage::build()
{
    const AppearanceSettings& a = appearance();
    pnlHomeInterior = panel(this, u"pnlHomeInterior"_s, QColor(36, 34, 35));
    pnlHomeInterior->resize(745, 442);
    pnlHome_Solapas = panel(pnlHomeInterior, u"pnlHome_Solapas"_s);
    pnlHome_Solapas->setGeometry(0, 0, 745, 42);
    imgHome = panel(pnlHomeInterior, u"imgHome"_s);
    imgHome->setMouseTracking(true);
    img_HomeText = panel(pnlHomeInterior, u"img_HomeText"_s);
    img_HomeText->setAutoSize(true);
    PnlHomeBottom = panel(pnlHomeInterior, u"PnlHomeBottom"_s);
    PnlHomeBottom->setGeometry(0, 442 - 35, 745, 35);
    imgPowerBy = panel(this, u"imgPowerBy"_s);
    imgPowerBy->setAutoSize(true);

    const auto homeButton = [&](const QString& name, int width) {
        auto* b = new PictureButton(pnlHome_Solapas);
        b->setObjectName(name);
        b->move(0, 17);
        b->setAutoSize(false);
        b->resize(width, 22);
        return b;
    };
    spbuHome1 = homeButton(u"spbuHome1"_s, 89);
    spbuComercial1 = homeButton(u"spbuComercial1"_s, 116);
    spbuTelefonos1 = homeButton(u"spbuTelefonos1"_s, 116);
    spbuOrgOficial1 = homeButton(u"spbuOrgOficial1"_s, 133);
    spbuAgenda1 = homeButton(u"spbuAgenda1"_s, 90);
    spbuInformacion1 = homeButton(u"spbuInformacion1"_s, 113);

    // Transparent click areas over the central picture.
    const QRect areas[5] = {
        {32, 64, 337, 49}, {419, 278, 163, 64}, {582, 278, 163, 64}, {419, 342, 163, 64}, {582, 342, 163, 64}};
    for (size_t i = 0; i < homeLinks.size(); ++i) {
        auto* area = new PictureButton(pnlHomeInterior);
        area->setObjectName(i == 0 ? u"imgLink0"_s : u"spbLink"_s + QString::number(i));
        area->setAutoSize(false);
        area->setGeometry(areas[i]);
        area->setToolTip(a.txLink[i]);
        connect(area, &QAbstractButton::clicked, this, [this, i] {
            if (m_openAddress)
                m_openAddress(appearance().txLink[i]);
        });
        homeLinks[i] = area;
    }
}

void HomePage::ApplyHomeBranding()
{
    const AppearanceSettings& a = appearance();
    // 1. The strips and the central picture, laid out on the 745 x 442 card.
    pnlHome_Solapas->setPicture(::picture(a.imgHome_fondoSolapas));
    pnlHome_Solapas->setStretch(true);
    const auto corner = [](PicturePanel* strip, const QString& name, const QString& path, bool right) {
        auto* c = strip->findChild<PicturePanel*>(name, Qt::FindDirectChildrenOnly);
        if (c == nullptr) {
            c = new PicturePanel(strip);
            c->setObjectName(name);
            c->lower();
        }
        c->setAutoSize(true);
        c->setPicture(::picture(path));
        c->move(right ? strip->width() - c->width() : 0, 0);
    };
    corner(pnlHome_Solapas, u"imgHome_fondoSolapas_esqI"_s, a.imgHome_fondoSolapas_esqI, false);
    corner(pnlHome_Solapas, u"imgHome_fondoSolapas_esqD"_s, a.imgHome_fondoSolapas_esqD, true);
    PnlHomeBottom->setPicture(::picture(a.imgHome_fondoBottom));
    PnlHomeBottom->setStretch(true);
    corner(PnlHomeBottom, u"imgHome_fondoSolapas_esqIb"_s, a.imgHome_fondoSolapas_esqIb, false);
    corner(PnlHomeBottom, u"imgHome_fondoSolapas_esqDB"_s, a.imgHome_fondoSolapas_esqDB, true);
    imgHome->setAutoSize(true);
    imgHome->setPicture(::picture(a.imgHome));
    imgHome->move((pnlHomeInterior->width() - imgHome->width()) / 2, 42);
    imgHome->lower();

    // 2. The description picture.
    img_HomeText->move(a.txHomeTextsLeft.toInt(), a.txHomeTextsTop.toInt());
    img_HomeText->raise();

    // 3. Section buttons right to left from x = 725; a tab that does not exist takes no room.
    const std::tuple<PictureButton*, bool, QString> buttons[] = {{spbuInformacion1, a.ckInfoUtil, a.imSolapaH_InfoUtil},
                                                                 {spbuAgenda1, a.ckAgenda, a.imSolapaH_Agenda},
                                                                 {spbuOrgOficial1, a.ckOrgOf, a.imSolapaH_OrgOf},
                                                                 {spbuTelefonos1, a.ckAlfa, a.imSolapaH_Alfa},
                                                                 {spbuComercial1, a.ckCom, a.imSolapaH_Com},
                                                                 {spbuHome1, a.ckHome, a.imSolapaH_Home}};
    int right = 725;
    for (const auto& [button, shown, path] : buttons) {
        button->setVisible(shown);
        if (!shown)
            continue;
        button->setPicture(::picture(path));
        button->move(right - button->width(), 17);
        right = button->x() - 4;
    }
    // 4. Link areas only for configured addresses.
    for (size_t i = 0; i < homeLinks.size(); ++i) {
        homeLinks[i]->setVisible(!a.txLink[i].isEmpty());
        homeLinks[i]->raise();
    }
    // The hover description follows the mouse over the section buttons and the central picture.
    const std::pair<PictureButton*, int> hovered[] = {{spbuComercial1, 2}, {spbuTelefonos1, 3},   {spbuOrgOficial1, 1},
                                                      {spbuAgenda1, 5},    {spbuInformacion1, 4}, {spbuHome1, 0}};
    for (const auto& [b, text] : hovered)
        watchHover(b, text);
    connect(imgHome, &PicturePanel::mouseMoved, this, [this](QPoint) { ShowHomeText(0); });
}

void HomePage::watchHover(PictureButton* button, int text)
{
    connect(button, &PictureButton::mouseMoved, this, [this, button, text](QPoint pos) {
        const bool inside =
            pos.x() > 4 && pos.y() > 4 && pos.x() < button->width() - 4 && pos.y() < button->height() - 4;
        ShowHomeText(inside ? text : 0);
    });
}

void HomePage::ShowHomeText(int n)
{
    if (n == m_homeText || n < 0 || n >= static_cast<int>(appearance().img_HomeText.size()))
        return;
    m_homeText = n;
    img_HomeText->setPicture(::picture(appearance().img_HomeText[static_cast<size_t>(n)]));
}

void HomePage::pnlHomeResize()
{
    const int left = std::max(0, (width() - pnlHomeInterior->width()) / 2);
    const int top = std::max(0, (height() - pnlHomeInterior->height()) / 2);
    pnlHomeInterior->move(left, top);
    imgPowerBy->move(pnlHomeInterior->geometry().right() + 1 - imgPowerBy->width(),
                     pnlHomeInterior->geometry().bottom() + 1 + 4);
}

void HomePage::resizeEvent(QResizeEvent* event)
{
    PicturePanel::resizeEvent(event);
    pnlHomeResize();
}
