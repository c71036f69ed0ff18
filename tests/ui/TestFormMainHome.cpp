// The home page, the banner strip, the hidden commands, the record-number tools, the tray, the help
// pop-up with the about dialog, the credits and the web link of the selected row, on the real
// window started on a generated sample.
#include "tests/ui/FormFixture.h"

#include "builder/SampleGifWriter.h"
#include "ui/AppearanceSettings.h"
#include "ui/BannerPlayer.h"
#include "ui/ListRows.h"
#include "ui/TfAbout.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

#include "engine/FiltroBits.h"
#include "search/GridData.h"
#include "search/ResultPager.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {

// Answers the next modal dialog that opens while it lives, through the window's modal seam:
// remembers its title, size and label texts, lets the test act on it, then rejects it.
class ModalCloser {
public:
    struct Seen {
        QString title;
        QSize size;
        QStringList labels;
    };

    explicit ModalCloser(std::function<void(QDialog&)> act = {}) : m_act(std::move(act))
    {
        modal::queueResult(QDialog::Rejected, [this](QDialog& d) {
            Seen s{d.windowTitle(), d.size(), {}};
            for (const QLabel* l : d.findChildren<QLabel*>())
                s.labels.append(l->text());
            seen.push_back(s);
            if (m_act)
                m_act(d);
        });
    }
    ~ModalCloser() { modal::clear(); } // an answer no dialog took goes with it
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;

    std::vector<Seen> seen;

private:
    std::function<void(QDialog&)> m_act;
};

void press(TFormMain& form, Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier | Qt::AltModifier)
{
    QWidget* target = form.focusWidget() != nullptr ? form.focusWidget() : &form;
    QTest::keyClick(target, key, mods);
    QApplication::processEvents();
}

// A search of the telephone guide by province with at least minimum results beyond a page.
bool searchLarge(TFormMain& form, int beyondPage)
{
    form.GuiaTelefonosExecute();
    waitIdle(form);
    for (int i = 1; i < form.pnlSecciones->cbxProvincia->count(); ++i) {
        form.pnlSecciones->cbxProvincia->setCurrentIndex(i);
        form.pnlSecciones->bbuBuscar->click();
        waitIdle(form);
        if (form.pnlLista->pager().count() >= form.pnlLista->pager().pageRows() + beyondPage)
            return true;
    }
    return false;
}

void fire(QTimer& timer)
{
    // The timer's tick without waiting for it.
    ASSERT_TRUE(QMetaObject::invokeMethod(&timer, "timeout"));
}

void moveMouse(QWidget* w, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

// A copy of the shared sample whose banners the test writes: banner (folder, n) is a one-colour
// picture, so what a box shows is known by its file.
class BannerData {
public:
    BannerData()
    {
        fs::copy(sharedSample().folder(), m_dir / "data", fs::copy_options::recursive);
        fs::remove_all(m_dir / "data/banners");
    }
    void put(int folder, int n) const
    {
        const std::vector<uint8_t> gif =
            sample::encodeGif(8, 4, {0x102030, 0x405060}, {std::vector<uint8_t>(32, uint8_t(n % 2))}, 0);
        write(folder, n, std::string(gif.begin(), gif.end()));
    }
    void write(int folder, int n, const std::string& bytes) const
    {
        const fs::path dir = fs::path(m_dir / "data/banners") / std::to_string(folder);
        fs::create_directories(dir);
        std::ofstream(dir / (std::to_string(n) + ".gif"), std::ios::binary) << bytes;
    }
    [[nodiscard]] std::string folder() const { return m_dir / "data"; }

private:
    TempDir m_dir{"banners"};
};

// "folder/n" of the file a box shows, "-" for an empty box.
std::string shownIn(const TFormMain& form, int box)
{
    const BannerPlayer& p = form.bannerPlayer(box);
    if (p.file().isEmpty() || p.banner().isNull())
        return "-";
    const fs::path file = p.file().toStdString();
    return file.parent_path().filename().string() + "/" + file.stem().string();
}

std::string pair(const TFormMain& form)
{
    return "(" + shownIn(form, 0) + ", " + shownIn(form, 1) + ")";
}

class BannerForm : public ::testing::Test {
protected:
    void start()
    {
        formTestApp();
        form = std::make_unique<TFormMain>(testEnvironment(data.folder(), lock.path().string()));
        ASSERT_EQ(form->FormCreate(), TFormMain::Started::Ready);
        form->Timer3.stop(); // the test turns the rotation itself
        ASSERT_TRUE(waitIdle(*form));
    }
    std::string next()
    {
        form->showNextBanners();
        return pair(*form);
    }
    void chooseProvince(int position)
    {
        ASSERT_GT(form->pnlSecciones->cbxProvincia->count(), position);
        form->pnlSecciones->cbxProvincia->setCurrentIndex(position);
        waitIdle(*form);
    }
    void TearDown() override { form.reset(); }

    BannerData data;
    TempDir lock{"lock"};
    std::unique_ptr<TFormMain> form;
};

} // namespace

TEST_F(BannerForm, GeneralSetWalksTwoAtATimeAndWrapsAround)
{
    for (int n = 1; n <= 5; ++n)
        data.put(0, n);
    start();
    EXPECT_EQ(form->pnlSecciones->cbxProvincia->currentIndex(), 0) << "- TODAS -";
    EXPECT_EQ(pair(*form), "(0/1, 0/2)") << "the end of start-up shows the first two";
    EXPECT_EQ(next(), "(0/3, 0/4)");
    EXPECT_EQ(next(), "(0/5, 0/1)");
    EXPECT_EQ(next(), "(0/2, 0/3)");
}

TEST_F(BannerForm, ProvinceSetFollowsTheGeneralSetAndGivesWayToIt)
{
    data.put(0, 1);
    data.put(0, 2);
    data.put(3, 1);
    start();
    EXPECT_EQ(pair(*form), "(0/1, 0/2)");
    chooseProvince(3);
    EXPECT_EQ(next(), "(3/1, 0/1)");
    EXPECT_EQ(next(), "(0/2, 3/1)");
    // A province without a set of its own leaves the general set going.
    chooseProvince(5);
    EXPECT_EQ(next(), "(0/1, 0/2)");
    EXPECT_EQ(next(), "(0/1, 0/2)");
}

TEST_F(BannerForm, ProvinceChosenMidwayWaitsForTheGeneralSetToEnd)
{
    for (int n = 1; n <= 4; ++n)
        data.put(0, n);
    data.put(2, 1);
    data.put(2, 2);
    start();
    chooseProvince(2);
    EXPECT_EQ(next(), "(0/3, 0/4)");
    EXPECT_EQ(next(), "(2/1, 2/2)");
    EXPECT_EQ(next(), "(0/1, 0/2)");
}

TEST_F(BannerForm, MissingOrDamagedBannersLeaveTheirBoxEmpty)
{
    data.put(0, 1);
    data.write(0, 2, "GIF89a\x10\x00\x10\x00 broken");
    data.put(0, 3);
    start();
    EXPECT_EQ(pair(*form), "(0/1, -)");
    EXPECT_TRUE(form->imgBanner2->picture().isNull());
    EXPECT_EQ(next(), "(0/3, 0/1)");
    EXPECT_FALSE(form->imgBanner2->picture().isNull());
    EXPECT_EQ(next(), "(-, 0/3)");
    // Upper-case names on a disc are found all the same.
    fs::rename(fs::path(data.folder()) / "banners/0/3.gif", fs::path(data.folder()) / "banners/0/3.GIF");
    EXPECT_EQ(next(), "(0/1, -)");
    EXPECT_EQ(next(), "(0/3, 0/1)");
    // No banners at all: both boxes stay empty and nothing else happens.
    fs::remove_all(fs::path(data.folder()) / "banners");
    EXPECT_EQ(next(), "(-, -)");
    EXPECT_EQ(next(), "(-, -)");
    EXPECT_TRUE(form->imgBanner1->picture().isNull());
}

using FormHome = FormFixture;

TEST_F(FormHome, SampleBannersAnimateAndRotateInEverySection)
{
    EXPECT_EQ(pair(*form), "(0/1, 0/2)");
    const BannerPlayer& first = form->bannerPlayer(0);
    ASSERT_GT(first.banner().frames().size(), 1u) << "the sample's banners have several frames";
    EXPECT_TRUE(first.animating());
    const QImage before = form->imgBanner1->picture().toImage();
    const_cast<BannerPlayer&>(first).advance();
    EXPECT_EQ(first.currentFrame(), 1);
    EXPECT_NE(form->imgBanner1->picture().toImage(), before);

    EXPECT_EQ(form->Timer3.interval(), 5000);
    EXPECT_TRUE(form->Timer3.isActive());
    fire(form->Timer3);
    EXPECT_EQ(pair(*form), "(0/3, 0/4)") << "rotating while the home page hides the strip";
    form->GuiaComercialExecute();
    waitIdle(*form);
    fire(form->Timer3);
    EXPECT_EQ(shownIn(*form, 1), "0/2");
}

TEST_F(FormHome, BannerBoxesKeepTheirSizeWhenThereIsRoomAndShareItWhenNot)
{
    form->GuiaComercialExecute();
    waitIdle(*form);
    form->showNormal();
    form->resize(1280, 800);
    QApplication::processEvents();
    ASSERT_EQ(form->pnlBanner->width(), 1280);
    EXPECT_EQ(form->imgBanner1->width(), 468);
    EXPECT_EQ(form->imgBanner2->width(), 468);
    EXPECT_EQ(form->imgBanner1->x(), (1280 - 2 * 468 - 50) / 2);
    EXPECT_EQ(form->imgBanner2->x(), form->imgBanner1->x() + 468 + 50);
    EXPECT_EQ(form->imgBanner1->picture().width(), 468) << "not scaled";

    form->resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(form->imgBanner1->width(), 350);
    EXPECT_EQ(form->imgBanner2->width(), 350);
    EXPECT_EQ(form->imgBanner1->x(), (800 - 700 - 50) / 2);
    EXPECT_EQ(form->imgBanner2->x(), form->imgBanner1->x() + 350 + 50);
    EXPECT_LE(form->imgBanner1->picture().width(), 350) << "scaled into its box";
    EXPECT_LE(form->imgBanner2->picture().height(), form->imgBanner2->height());
}

TEST_F(FormHome, HiddenCommandsWorkOnlyWhileArmed)
{
    ASSERT_TRUE(searchLarge(*form, 0));
    ASSERT_GT(form->pnlLista->rows().rowCount(), 3);
    form->pnlLista->lvLista->setCurrentItem(form->pnlLista->rows().item(2));
    messageboxes::clearShown();
    {
        // Not armed: the credits, the record number and the go-to do nothing.
        ModalCloser closer;
        press(*form, Qt::Key_C);
        press(*form, Qt::Key_R);
        press(*form, Qt::Key_G);
        EXPECT_TRUE(closer.seen.empty());
        EXPECT_TRUE(messageboxes::shown().empty());
        EXPECT_TRUE(messageboxes::asked().empty());
    }

    // A double click on a banner picture is not one on the strip.
    QTest::mouseDClick(form->imgBanner1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(form->hiddenCommandsArmed());
    QTest::mouseDClick(form->pnlBanner, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(form->hiddenCommandsArmed());
    EXPECT_TRUE(form->Timer2.isActive());
    EXPECT_EQ(form->Timer2.interval(), 5000);

    messageboxes::queueAnswer(QMessageBox::Ok);
    press(*form, Qt::Key_R);
    ASSERT_EQ(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].text, QString::number(form->pnlLista->rows().recnoAt(2)));

    {
        ModalCloser closer;
        press(*form, Qt::Key_C);
        ASSERT_EQ(closer.seen.size(), 1u);
        EXPECT_EQ(closer.seen[0].title, u"Créditos"_s);
        EXPECT_EQ(closer.seen[0].size, QSize(513, 296));
        EXPECT_TRUE(closer.seen[0].labels.contains(u"Análisis, Diseño e Implementación del Motor de datos"_s));
    }
    EXPECT_FALSE(form->hiddenCommandsArmed()) << "the credits disarm";

    // Five seconds after the double click the keys are dead again.
    QTest::mouseDClick(form->pnlBanner, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_TRUE(form->hiddenCommandsArmed());
    fire(form->Timer2);
    EXPECT_FALSE(form->hiddenCommandsArmed());
    EXPECT_FALSE(form->Timer2.isActive());
    messageboxes::clearShown();
    ModalCloser closer;
    press(*form, Qt::Key_C);
    press(*form, Qt::Key_R);
    EXPECT_TRUE(closer.seen.empty());
    EXPECT_TRUE(messageboxes::shown().empty());
}

TEST_F(FormHome, GotoRecnoChecksTheRangeAndMovesTheList)
{
    ASSERT_TRUE(searchLarge(*form, 45));
    FiltroBits::Bounds range;
    {
        auto bits = form->worker()->accessBits();
        range = bits->selectedBounds();
    }
    ASSERT_GT(range.last - range.first, 100);
    const auto gotoRecord = [&](std::optional<QString> answer) {
        QTest::mouseDClick(form->pnlBanner, Qt::LeftButton, {}, QPoint(3, 3));
        messageboxes::clearShown();
        messageboxes::queueText(std::move(answer));
        messageboxes::queueAnswer(QMessageBox::Ok);
        press(*form, Qt::Key_G);
        waitIdle(*form);
        while (messageboxes::answersQueued())
            messageboxes::show(nullptr, {}, {}); // drop an answer no box took
    };

    gotoRecord(QString::number(range.first - 1));
    ASSERT_EQ(messageboxes::asked().size(), 1u);
    EXPECT_EQ(messageboxes::asked()[0].caption, u"Ir al registro N"_s);
    EXPECT_EQ(messageboxes::asked()[0].text, u"Registro"_s);
    ASSERT_GE(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].text,
              u"El rango de registros va del %1 al %2"_s.arg(range.first).arg(range.last));
    EXPECT_EQ(form->pnlLista->scrbRegistros->value(), 0);

    gotoRecord(u"cuarenta"_s);
    ASSERT_GE(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].text, u"Valor inválido."_s);
    EXPECT_EQ(form->pnlLista->scrbRegistros->value(), 0);

    gotoRecord(std::nullopt); // Cancel
    EXPECT_EQ(messageboxes::shown().size(), 1u) << "only the dropped answer";
    EXPECT_EQ(form->pnlLista->scrbRegistros->value(), 0);

    // With a search in force the position counts passing records: the 41st passing one on top.
    gotoRecord(QString::number(range.first + 40));
    EXPECT_EQ(form->pnlLista->scrbRegistros->value(), 40);
    ASSERT_GT(form->pnlLista->rows().rowCount(), 0);
    int32_t expected = 0;
    {
        auto bits = form->worker()->accessBits();
        expected = bits->NthPassing(41);
    }
    EXPECT_EQ(form->pnlLista->rows().recnoAt(0), expected);
}

TEST_F(FormHome, GotoRecnoWithNoCriterionPutsTheRecordOnTop)
{
    form->GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(*form));
    FiltroBits::Bounds range;
    {
        auto bits = form->worker()->accessBits();
        range = bits->selectedBounds();
    }
    QTest::mouseDClick(form->pnlBanner, Qt::LeftButton, {}, QPoint(3, 3));
    messageboxes::clearShown();
    messageboxes::queueText(QString::number(range.first + 40));
    press(*form, Qt::Key_G);
    waitIdle(*form);
    EXPECT_TRUE(messageboxes::shown().empty());
    EXPECT_EQ(form->pnlLista->scrbRegistros->value(), 40);
    EXPECT_EQ(form->pnlLista->rows().recnoAt(0), range.first + 40) << "every record of the range passes";
}

TEST_F(FormHome, InsertRecnoAppendsBeyondAFullPageAndRegistrosGuiaEntersAgendaMode)
{
    ASSERT_TRUE(searchLarge(*form, 1));
    const int full = form->pnlLista->rows().rowCount();
    ASSERT_EQ(full, form->pnlLista->pager().pageRows());
    const int32_t record = form->recordStore()->RecordCount();
    messageboxes::clearShown();
    messageboxes::queueText(QString::number(record));
    press(*form, Qt::Key_M); // not armed: this one does not need it
    ASSERT_EQ(messageboxes::asked().size(), 1u);
    EXPECT_EQ(messageboxes::asked()[0].caption, u"Agregar el registro N"_s);
    ASSERT_EQ(form->pnlLista->rows().rowCount(), full + 1);
    EXPECT_EQ(form->pnlLista->rows().recnoAt(full), record);
    EXPECT_FALSE(form->pnlLista->rows().item(full)->text(5).isEmpty());

    // A number that is not one is reported; nothing is added.
    messageboxes::queueText(u"12a"_s);
    messageboxes::queueAnswer(QMessageBox::Ok);
    press(*form, Qt::Key_M);
    ASSERT_EQ(messageboxes::shown().size(), 1u);
    EXPECT_EQ(messageboxes::shown()[0].text, u"'12a' no es un valor entero válido."_s);
    EXPECT_EQ(form->pnlLista->rows().rowCount(), full + 1);

    EXPECT_FALSE(form->agendaMode());
    press(*form, Qt::Key_A);
    EXPECT_TRUE(form->agendaMode());
}

TEST_F(FormHome, WebLinkFollowsTheRowAndOpensItsAddress)
{
    QAction* item = form->mnuRegistroVerSitioWWW;
    QAction* popup = form->mnuRegistroVerSitioWWW1;
    ASSERT_NE(item, nullptr);
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(item->isEnabled());

    GridData row;
    row.recno = 10;
    const auto open = [&](const std::string& web) {
        row.web = web;
        form->updateWebLink(&row, true);
        shell->clear();
        popup->trigger();
        return shell->addresses().empty() ? QString() : shell->addresses().back();
    };
    row.web = "www.tienda.example";
    form->updateWebLink(&row, true);
    EXPECT_EQ(item->text(), u"Ver sitio WWW www.tienda.example"_s);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(popup->isEnabled());

    EXPECT_EQ(open("www.tienda.example"), u"http://www.tienda.example"_s);
    EXPECT_EQ(open("http://www.tienda.example/a"), u"http://www.tienda.example/a"_s);
    EXPECT_EQ(open("https://www.tienda.example/"), u"https://www.tienda.example/"_s) << "not http://https://";
    EXPECT_EQ(open("HTTP://WWW.TIENDA.EXAMPLE"), u"HTTP://WWW.TIENDA.EXAMPLE"_s);
    EXPECT_EQ(open("  www.tienda.example/a&b  "), u"http://www.tienda.example/a&b"_s);
    const std::string longAddress = "www.tienda.example/" + std::string(120, 'x');
    EXPECT_EQ(open(longAddress), u"http://"_s + QString::fromStdString(longAddress.substr(0, 100)));
    EXPECT_EQ(open(""), QString()) << "nothing to open";

    // No row, or a row whose record has no web site: the plain caption, both items off.
    form->updateWebLink(&row, false);
    EXPECT_EQ(item->text(), u"Ver sitio WWW"_s);
    EXPECT_FALSE(item->isEnabled());
    EXPECT_FALSE(popup->isEnabled());
    form->updateWebLink(nullptr, true);
    EXPECT_EQ(popup->text(), u"Ver sitio WWW"_s);
    EXPECT_FALSE(popup->isEnabled());
}

TEST_F(FormHome, DescriptionFollowsTheMouseWithTheEdgeRule)
{
    EXPECT_EQ(form->pnlHome->homeText(), 0);
    const auto over = [&](PictureButton* b, QPoint pos) {
        moveMouse(b, pos);
        return form->pnlHome->homeText();
    };
    const QPoint middle(form->pnlHome->spbuComercial1->width() / 2, form->pnlHome->spbuComercial1->height() / 2);
    EXPECT_EQ(over(form->pnlHome->spbuOrgOficial1, middle), 1);
    EXPECT_EQ(over(form->pnlHome->spbuComercial1, middle), 2);
    EXPECT_EQ(over(form->pnlHome->spbuTelefonos1, middle), 3);
    EXPECT_EQ(over(form->pnlHome->spbuInformacion1, middle), 4);
    EXPECT_EQ(over(form->pnlHome->spbuAgenda1, middle), 5);
    EXPECT_EQ(over(form->pnlHome->spbuHome1, middle), 0) << "the home button has no description";
    EXPECT_EQ(over(form->pnlHome->spbuComercial1, QPoint(5, 5)), 2);
    EXPECT_EQ(over(form->pnlHome->spbuComercial1, QPoint(4, middle.y())), 0) << "within 4 pixels of the left edge";
    EXPECT_EQ(over(form->pnlHome->spbuComercial1, middle), 2);
    EXPECT_EQ(over(form->pnlHome->spbuComercial1, QPoint(middle.x(), form->pnlHome->spbuComercial1->height() - 4)), 0);
    moveMouse(form->pnlHome->imgHome, QPoint(100, 100));
    EXPECT_EQ(form->pnlHome->homeText(), 0);
    EXPECT_EQ(form->pnlHome->img_HomeText->picture().toImage(), picture(appearance().img_HomeText[0]).toImage());
    form->GuiaComercialExecute();
    waitIdle(*form);
    EXPECT_EQ(over(form->spbuAgenda, QPoint(30, 12)), 5) << "the tab bar's buttons count too";
    moveMouse(form->pnlSolapas, QPoint(form->pnlSolapas->width() - 5, 10));
    EXPECT_EQ(form->pnlHome->homeText(), 0) << "the bar's background";
    EXPECT_EQ(over(form->spbuAgenda, QPoint(30, 12)), 5);
    EXPECT_EQ(form->pnlHome->img_HomeText->picture().toImage(), picture(appearance().img_HomeText[5]).toImage());
}

TEST_F(FormHome, CardButtonsAndLinksAreLaidOut)
{
    form->showNormal();
    form->resize(1000, 700);
    QApplication::processEvents();
    const QRect card = form->pnlHome->pnlHomeInterior->geometry();
    EXPECT_EQ(card.size(), QSize(745, 442));
    EXPECT_EQ(card.left(), (form->pnlHome->width() - 745) / 2);
    EXPECT_EQ(card.top(), (form->pnlHome->height() - 442) / 2);
    EXPECT_EQ(form->pnlHome->imgPowerBy->geometry().right(), card.right());
    EXPECT_EQ(form->pnlHome->imgPowerBy->y(), card.bottom() + 1 + 4);
    form->resize(800, 600);
    QApplication::processEvents();
    EXPECT_GE(form->pnlHome->pnlHomeInterior->x(), 0);
    EXPECT_GE(form->pnlHome->pnlHomeInterior->y(), 0);

    // Right to left from x = 725, 4 pixels apart.
    const PictureButton* order[6] = {form->pnlHome->spbuInformacion1, form->pnlHome->spbuAgenda1,
                                     form->pnlHome->spbuOrgOficial1,  form->pnlHome->spbuTelefonos1,
                                     form->pnlHome->spbuComercial1,   form->pnlHome->spbuHome1};
    const int widths[6] = {113, 90, 133, 116, 116, 89};
    int right = 725;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(order[i]->geometry(), QRect(right - widths[i], 17, widths[i], 22)) << i;
        right -= widths[i] + 4;
    }

    // The five links open their addresses.
    for (size_t i = 0; i < form->pnlHome->homeLinks.size(); ++i) {
        ASSERT_FALSE(form->pnlHome->homeLinks[i]->isHidden()) << i;
        shell->clear();
        QTest::mouseClick(form->pnlHome->homeLinks[i], Qt::LeftButton);
        ASSERT_EQ(shell->addresses().size(), 1u) << i;
        EXPECT_EQ(shell->addresses()[0], appearance().txLink[i]);
    }
    form->pnlHome->spbuComercial1->click();
    EXPECT_EQ(form->section(), Section::Commercial);
}

TEST_F(FormHome, WithoutANotificationAreaMinimisingKeepsTheWindowReachable)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "the offscreen desktop has none";
    ASSERT_TRUE(form->isMaximized());
    form->showMinimized();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_TRUE(form->isVisible()) << "still in the taskbar";

    // Double click on the icon: back, and as large as before.
    Q_EMIT form->TrayIcon->activated(QSystemTrayIcon::DoubleClick);
    QApplication::processEvents();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->isMaximized());
    EXPECT_TRUE(form->isVisible());

    // The same from the menu, also after the window was hidden away.
    const QList<QAction*> items = form->trayMenu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), u"Restaurar"_s);
    EXPECT_EQ(items[1]->text(), u"Ortelia"_s);
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->text(), u"Salir"_s);
    form->showMinimized();
    form->hide();
    items[0]->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->isMaximized());

    items[1]->trigger();
    ASSERT_EQ(shell->addresses().size(), 1u);
    EXPECT_EQ(shell->addresses()[0], appearance().publisherSite());
}

TEST_F(FormHome, EveryHelpPictureOpensThePopupAtOnePlaceOnAnyButton)
{
    form->GuiaComercialExecute();
    waitIdle(*form);
    const Qt::MouseButton buttons[] = {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton, Qt::RightButton};
    const PictureButton* pictures[] = {form->pnlSecciones->bbuHelp, form->pnlAgenda->bbuHelp0, form->bbuHelp1, form->imgHelp0};
    QPoint first;
    for (size_t i = 0; i < std::size(pictures); ++i) {
        PictureButton* help = const_cast<PictureButton*>(pictures[i]);
        EXPECT_EQ(help->width(), 20) << help->objectName().toStdString();
        if (form->popupHelp)
            form->popupHelp->hide();
        QTest::mousePress(help, buttons[i]);
        QTest::mouseRelease(help, buttons[i]);
        ASSERT_NE(form->popupHelp, nullptr) << help->objectName().toStdString();
        EXPECT_TRUE(form->popupHelp->isVisible()) << help->objectName().toStdString();
        // One place on the screen (698, 118, moved in only where the screen ends before the menu).
        if (i == 0)
            first = form->popupHelp->pos();
        EXPECT_EQ(form->popupHelp->pos(), first) << help->objectName().toStdString();
        EXPECT_EQ(first.y(), 118);
        EXPECT_LE(first.x(), 698);
    }
    form->popupHelp->hide();
}

TEST_F(FormHome, HelpPopupOpensTheAboutDialogAndItsSupportPage)
{
    form->GuiaComercialExecute();
    waitIdle(*form);
    QTest::mousePress(form->pnlSecciones->bbuHelp, Qt::LeftButton);
    QTest::mouseRelease(form->pnlSecciones->bbuHelp, Qt::LeftButton);
    ASSERT_NE(form->popupHelp, nullptr);
    form->popupHelp->hide();
    const QList<QAction*> items = form->popupHelp->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), u"Contenidos"_s);
    EXPECT_EQ(items[2]->text(), u"Actualizaciones"_s);
    EXPECT_EQ(items[3]->text(), u"Acerca de ..."_s);

    // No help file where the program runs: nothing. With one, the file goes to the shell.
    items[0]->trigger();
    EXPECT_TRUE(shell->calls().empty());
    {
        TempDir here("help");
        std::ofstream(here / "ot.hlp") << "ayuda";
        const fs::path before = fs::current_path();
        fs::current_path(here.path());
        items[0]->trigger();
        fs::current_path(before);
        ASSERT_EQ(shell->files().size(), 1u);
        EXPECT_EQ(shell->files()[0], u"ot.hlp"_s);
        shell->clear();
    }

    QRect soporte, aceptar;
    ModalCloser closer([&](QDialog& d) {
        auto* about = qobject_cast<TfAbout*>(&d);
        ASSERT_NE(about, nullptr);
        soporte = about->btnSoporteTecnico->geometry();
        aceptar = about->btnAceptar->geometry();
        about->btnSoporteTecnico->click();
    });
    items[3]->trigger();
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_EQ(closer.seen[0].title, u"Acerca de"_s);
    EXPECT_EQ(closer.seen[0].size, QSize(320, 419));
    EXPECT_EQ(soporte, QRect(23, 386, 132, 21));
    EXPECT_EQ(aceptar, QRect(166, 386, 132, 21));
    ASSERT_EQ(shell->addresses().size(), 1u);
    EXPECT_EQ(shell->addresses()[0], appearance().publisherSite() + u"cd/faq.htm"_s);
}
