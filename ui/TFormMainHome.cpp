// The home page of the main window (its card, section buttons, description pictures and links),
// the banner strip with its rotation and the double click that arms the hidden commands, and the
// status-bar clock.
#include "ui/TFormMain.h"

#include "ui/AppearanceSettings.h"
#include "ui/BannerPlayer.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"
#include "ui/StatusBar2.h"

#include "engine/CaseInsensitivePath.h"

#include <QComboBox>
#include <QDateTime>
#include <QEvent>

#include <filesystem>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs a function for the events of the objects it is installed on; true eats the event.
class EventHook final : public QObject {
public:
    EventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> run) : QObject(parent), m_run(std::move(run)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return m_run(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> m_run;
};

bool isFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

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
    // 5. The header bars of the dialling and useful-number panels.
    DDN_Image1->setPicture(picture(a.DDN_Image1));
    DDI_Image1->setPicture(picture(a.DDI_Image1));
    NU_Image1->setPicture(picture(a.NU_Image1));
    // The hover description follows the mouse over the section buttons and the central picture.
    for (PictureButton* b : {spbuComercial1, spbuTelefonos1, spbuOrgOficial1, spbuAgenda1, spbuInformacion1, spbuHome1,
                             spbuComercial, spbuTelefonos, spbuOrgOficial, spbuAgenda, spbuInformacion, spbuHome})
        connect(b, &PictureButton::mouseMoved, this, [this, b](QPoint pos) { homeMouseMove(b, pos); });
    connect(imgHome, &PicturePanel::mouseMoved, this, [this](QPoint) { ShowHomeText(0); });
    // A move over a tab reaches the bar as well, after the tab has set its description.
    connect(pnlSolapas, &PicturePanel::mouseMoved, this, [this](QPoint pos) {
        if (qobject_cast<PictureButton*>(pnlSolapas->childAt(pos)) == nullptr)
            ShowHomeText(0);
    });
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

void TFormMain::setupBannersAndTools()
{
    m_banners[0] = new BannerPlayer(imgBanner1, this);
    m_banners[1] = new BannerPlayer(imgBanner2, this);
    auto* hook = new EventHook(this, [this](QObject* watched, QEvent* event) {
        if (watched == pnlBanner) {
            if (event->type() == QEvent::Resize)
                pnlBannerResize();
            else if (event->type() == QEvent::MouseButtonDblClick)
                pnlBannerDblClick();
            return false;
        }
        // Only the strip around the pictures arms the hidden commands.
        return event->type() == QEvent::MouseButtonDblClick;
    });
    pnlBanner->installEventFilter(hook);
    imgBanner1->installEventFilter(hook);
    imgBanner2->installEventFilter(hook);
    connect(&Timer2, &QTimer::timeout, this, &TFormMain::Timer2Timer);
    connect(&Timer3, &QTimer::timeout, this, &TFormMain::Timer3Timer);
    setupToolCommands();
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The end of start-up shows the first two banners, whatever the timer did meanwhile.
    if (!m_bannersStarted) {
        m_bannersStarted = true;
        showNextBanners();
    }
}

std::string TFormMain::bannerFile(int folder, int number) const
{
    // A disc may spell the folder or the file in upper case.
    return casepath::resolve(m_dataPath + "banners/" + std::to_string(folder) + "/" + std::to_string(number) + ".gif");
}

void TFormMain::showNextBanners()
{
    // General set (folder 0) two at a time; when it runs out, the chosen province's set if it has
    // one; when that runs out, the general set again.
    const auto nextFile = [this] {
        std::string file = bannerFile(m_bannerFolder, m_bannerNumber);
        if (!isFile(file)) {
            m_bannerNumber = 1;
            if (m_bannerFolder > 0) {
                m_bannerFolder = 0;
            } else if (cbxProvincia->currentIndex() >= 0) {
                m_bannerFolder = cbxProvincia->currentIndex();
                if (!isFile(bannerFile(m_bannerFolder, 1)))
                    m_bannerFolder = 0;
            }
            file = bannerFile(m_bannerFolder, m_bannerNumber);
        }
        return file;
    };
    for (int box = 0; box < 2; ++box) {
        LoadBanner(box, nextFile());
        ++m_bannerNumber;
    }
}

void TFormMain::LoadBanner(int box, const std::string& file)
{
    BannerPlayer* player = m_banners[static_cast<size_t>(box)];
    player->clear();
    // A missing or damaged file leaves the box empty.
    const QString path = QString::fromStdString(file);
    const GifBanner banner = GifBanner::load(path);
    player->play(banner, banner.isNull() ? QString() : path);
}

const BannerPlayer& TFormMain::bannerPlayer(int box) const
{
    return *m_banners[box == 1 ? 1 : 0];
}

void TFormMain::pnlBannerResize()
{
    if (!m_bannerWidthTaken) {
        m_bannerWidth = imgBanner1->width();
        m_bannerWidthTaken = true;
    }
    // Room for both at their own size: they keep it. Otherwise both share what there is, their
    // pictures scaled down to it.
    const bool roomy = 2 * m_bannerWidth + 50 < width();
    const int w = roomy ? m_bannerWidth : std::max(0, (width() - 100) / 2);
    imgBanner1->resize(w, imgBanner1->height());
    imgBanner2->resize(imgBanner1->width(), imgBanner2->height());
    imgBanner1->move((pnlBanner->width() - imgBanner1->width() - imgBanner2->width() - 50) / 2, imgBanner1->y());
    imgBanner2->move(imgBanner1->x() + imgBanner1->width() + 50, imgBanner2->y());
    for (BannerPlayer* p : m_banners) {
        p->setFit(!roomy);
        p->refit();
    }
}

void TFormMain::pnlBannerDblClick()
{
    m_hiddenCommandsArmed = true;
    Timer2.start();
}

void TFormMain::Timer2Timer()
{
    m_hiddenCommandsArmed = false;
    Timer2.stop();
}

void TFormMain::Timer3Timer()
{
    showNextBanners();
}
