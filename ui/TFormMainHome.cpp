// The home page's branding as the window applies it, the banner strip with its rotation and the double click that arms
// the hidden commands, and the status-bar clock.
#include "ui/TFormMain.h"

#include "ui/AgendaSection.h"
#include "ui/AppearanceSettings.h"
#include "ui/BannerPlayer.h"
#include "ui/HomePage.h"
#include "ui/SearchPanel.h"
#include "ui/StatusBar2.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

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
    pnlHome->ApplyHomeBranding();
    if (a.ckAgenda)
        pnlAgenda->bbuNuevoAgenda->setPicture(picture(a.bbuNuevoAgenda));
    // The header bars of the dialling and useful-number panels.
    DDN_Image1->setPicture(picture(a.DDN_Image1));
    DDI_Image1->setPicture(picture(a.DDI_Image1));
    NU_Image1->setPicture(picture(a.NU_Image1));
    // The tabs describe their sections on the home page too.
    const std::pair<PictureButton*, int> tabs[] = {{spbuComercial, 2}, {spbuTelefonos, 3},   {spbuOrgOficial, 1},
                                                   {spbuAgenda, 5},    {spbuInformacion, 4}, {spbuHome, 0}};
    for (const auto& [tab, text] : tabs)
        pnlHome->watchHover(tab, text);
    // A move over a tab reaches the bar as well, after the tab has set its description.
    connect(pnlSolapas, &PicturePanel::mouseMoved, this, [this](QPoint pos) {
        if (qobject_cast<PictureButton*>(pnlSolapas->childAt(pos)) == nullptr)
            pnlHome->ShowHomeText(0);
    });
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
            } else if (pnlSecciones->cbxProvincia->currentIndex() >= 0) {
                m_bannerFolder = pnlSecciones->cbxProvincia->currentIndex();
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
