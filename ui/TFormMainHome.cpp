// The home page of the main window (its card, section buttons, description pictures and links)
// and the status-bar clock.
#include "ui/TFormMain.h"

#include "ui/AppearanceSettings.h"
#include "ui/PictureButton.h"
#include "ui/PicturePanel.h"
#include "ui/StatusBar2.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

void TFormMain::ApplyHomeBranding()
{
    const AppearanceSettings& a = appearance();
    // 1. The strips and the central picture, laid out on the 745 x 442 card.
    pnlHome_Solapas->setPicture(picture(a.imgHome_fondoSolapas));
    pnlHome_Solapas->setStretch(true);
    const auto corner = [](PicturePanel* strip, const QString& name, const QString& path, bool right) {
        auto* c = strip->findChild<PicturePanel*>(name, Qt::FindDirectChildrenOnly);
        if (c == nullptr) {
            c = new PicturePanel(strip);
            c->setObjectName(name);
            c->lower();
        }
        c->setAutoSize(true);
        c->setPicture(picture(path));
        c->move(right ? strip->width() - c->width() : 0, 0);
    };
    corner(pnlHome_Solapas, u"imgHome_fondoSolapas_esqI"_s, a.imgHome_fondoSolapas_esqI, false);
    corner(pnlHome_Solapas, u"imgHome_fondoSolapas_esqD"_s, a.imgHome_fondoSolapas_esqD, true);
    PnlHomeBottom->setPicture(picture(a.imgHome_fondoBottom));
    PnlHomeBottom->setStretch(true);
    corner(PnlHomeBottom, u"imgHome_fondoSolapas_esqIb"_s, a.imgHome_fondoSolapas_esqIb, false);
    corner(PnlHomeBottom, u"imgHome_fondoSolapas_esqDB"_s, a.imgHome_fondoSolapas_esqDB, true);
    imgHome->setAutoSize(true);
    imgHome->setPicture(picture(a.imgHome));
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
        button->setPicture(picture(path));
        button->move(right - button->width(), 17);
        right = button->x() - 4;
    }
    if (a.ckAgenda)
        bbuNuevoAgenda->setPicture(picture(a.bbuNuevoAgenda));

    // 4. Link areas only for configured addresses.
    for (size_t i = 0; i < homeLinks.size(); ++i) {
        homeLinks[i]->setVisible(!a.txLink[i].isEmpty());
        homeLinks[i]->raise();
    }
    // The hover description follows the mouse over the section buttons and the central picture.
    for (PictureButton* b : {spbuComercial1, spbuTelefonos1, spbuOrgOficial1, spbuAgenda1, spbuInformacion1, spbuHome1,
                             spbuComercial, spbuTelefonos, spbuOrgOficial, spbuAgenda, spbuInformacion, spbuHome})
        connect(b, &PictureButton::mouseMoved, this, [this, b](QPoint pos) { homeMouseMove(b, pos); });
    connect(imgHome, &PicturePanel::mouseMoved, this, [this](QPoint) { ShowHomeText(0); });
    connect(pnlSolapas, &PicturePanel::mouseMoved, this, [this](QPoint) { ShowHomeText(0); });
}

void TFormMain::homeMouseMove(PictureButton* button, QPoint pos)
{
    int index = 0;
    const bool inside = pos.x() > 4 && pos.y() > 4 && pos.x() < button->width() - 4 && pos.y() < button->height() - 4;
    if (inside) {
        if (button == spbuOrgOficial || button == spbuOrgOficial1)
            index = 1;
        else if (button == spbuComercial || button == spbuComercial1)
            index = 2;
        else if (button == spbuTelefonos || button == spbuTelefonos1)
            index = 3;
        else if (button == spbuInformacion || button == spbuInformacion1)
            index = 4;
        else if (button == spbuAgenda || button == spbuAgenda1)
            index = 5;
    }
    ShowHomeText(index);
}

void TFormMain::ShowHomeText(int n)
{
    if (n == m_homeText || n < 0 || n >= static_cast<int>(appearance().img_HomeText.size()))
        return;
    m_homeText = n;
    img_HomeText->setPicture(picture(appearance().img_HomeText[static_cast<size_t>(n)]));
}

void TFormMain::pnlHomeResize()
{
    const int left = std::max(0, (pnlHome->width() - pnlHomeInterior->width()) / 2);
    const int top = std::max(0, (pnlHome->height() - pnlHomeInterior->height()) / 2);
    pnlHomeInterior->move(left, top);
    imgPowerBy->move(pnlHomeInterior->geometry().right() + 1 - imgPowerBy->width(),
                     pnlHomeInterior->geometry().bottom() + 1 + 4);
}

void TFormMain::Timer1Timer()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    if (d.day() == m_lastClock[0] && t.hour() == m_lastClock[1] && t.minute() == m_lastClock[2])
        return;
    m_lastClock[0] = d.day();
    m_lastClock[1] = t.hour();
    m_lastClock[2] = t.minute();
    statusBar2->setPanelText(4, QString::asprintf("%02u/%02u/%04u %02u:%02u", static_cast<unsigned>(d.day()),
                                                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.year()),
                                                  static_cast<unsigned>(t.hour()), static_cast<unsigned>(t.minute())));
}
