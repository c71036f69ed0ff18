// The official-bodies and information sections inside the window: the forwards reach the panels,
// the tree loads once, leaving for home clears the search, the links pick their pages and the tab
// button brings back the product page through the browser (a recording fake).
#include "tests/ui/FormFixture.h"

#include "ui/InformationPages.h"
#include "ui/OfficialBodiesModels.h"
#include "ui/OfficialBodiesPanel.h"
#include "ui/TPanelDDN.h"
#include "widgets/PictureButton.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

class FakeBrowser final : public InfoBrowser {
public:
    explicit FakeBrowser(QWidget* parent, std::vector<QUrl>* log) : m_widget(new QWidget(parent)), m_log(log) {}
    QWidget* widget() override { return m_widget; }
    void navigate(const QUrl& url) override
    {
        m_log->push_back(url);
        m_url = url;
    }
    QUrl url() const override { return m_url; }
    bool isLoading() const override { return false; }
    void setLoadEnded(std::function<void()>) override {}

private:
    QWidget* m_widget;
    std::vector<QUrl>* m_log;
    QUrl m_url;
};

class BodiesAndInfo : public ::testing::Test {
protected:
    void SetUp() override
    {
        formTestApp();
        StartupEnvironment env = testEnvironment(sharedSample().folder(), lockDir.path().string());
        env.browser = [this](QWidget* parent, const QString&, std::shared_ptr<ShellOpener>) {
            return std::make_unique<FakeBrowser>(parent, &navigations);
        };
        form = std::make_unique<TFormMain>(std::move(env));
        ASSERT_EQ(form->FormCreate(), TFormMain::Started::Ready);
        ASSERT_TRUE(waitIdle(*form));
    }
    void TearDown() override { form.reset(); }

    TempDir lockDir{"lock"};
    std::vector<QUrl> navigations;
    std::unique_ptr<TFormMain> form;
};

} // namespace

TEST_F(BodiesAndInfo, OfficialBodiesLoadOnceSearchAndClearWhenLeaving)
{
    form->OrgOficialExecute();
    ASSERT_TRUE(form->officialBodies->loaded());
    ASSERT_FALSE(form->officialBodies->bodies().empty());
    EXPECT_EQ(form->officialBodiesLoads(), 1);
    form->tPalabraClave->setText(u"HOSPITAL"_s);
    form->bbuBuscarOO->click();
    EXPECT_GT(form->officialBodies->resultModel().rowCount(), 0);
    form->HomeExecute();
    EXPECT_EQ(form->officialBodies->resultModel().rowCount(), 0);
    EXPECT_TRUE(form->tPalabraClave->text().isEmpty());
    form->OrgOficialExecute();
    EXPECT_EQ(form->officialBodiesLoads(), 1);
}

TEST_F(BodiesAndInfo, LinksPickTheirPagesAndTheTabBringsBackTheProducts)
{
    EXPECT_EQ(form->pnlDDN->DDN_cbxProvincia->itemText(0), u"- TODAS -"_s); // filled at start-up
    form->ActInformacionExecute(form->infoLinks[3]);                        // "DDN"
    EXPECT_TRUE(form->pnlDDN->isVisibleTo(form->PnlInformacion));
    EXPECT_GT(form->pnlDDN->lvLocalidades->rowCount(), 0);
    EXPECT_TRUE(navigations.empty());
    form->ActInformacionExecute(form->spbuInformacion);
    EXPECT_FALSE(form->pnlDDN->isVisibleTo(form->PnlInformacion));
    ASSERT_EQ(navigations.size(), 1u);
    EXPECT_TRUE(navigations[0].toLocalFile().endsWith(u"/info/Productos.html"_s));
}
