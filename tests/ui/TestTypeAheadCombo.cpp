// The editable search lists as a user leaves them: every way out applies what the box shows.
#include "tests/support/GuiTestApp.h"

#include "ui/ComboCatalogList.h"
#include "ui/TypeAheadCombo.h"
#include "widgets/PictureButton.h"
#include "widgets/UiText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class LeavingAList : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&m_window);
        m_combo = new QComboBox;
        m_combo->setEditable(true);
        m_next = new QLineEdit;
        m_search = new PictureButton;
        m_search->setText(u"Buscar"_s);
        m_search->setFixedSize(72, 22);
        layout->addWidget(m_combo);
        layout->addWidget(m_next);
        layout->addWidget(m_search);
        m_list = std::make_unique<ComboCatalogList>(m_combo);
        m_list->setSorted(true);
        m_list->addItem("- TODAS -", 0);
        for (const char* utf8 : {"BUENOS AIRES", "CÓRDOBA", "CORRIENTES", "SANTA FE"})
            m_list->addItem(uitext::toData(QString::fromUtf8(utf8)), m_list->count());
        m_typeAhead = new TypeAheadCombo(m_combo, *m_list, [this] { m_chosen.push_back(m_list->selectedId()); });
        QObject::connect(m_search, &QAbstractButton::clicked, [this] { m_searchedWith = m_list->selectedId(); });
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_list->setSelectedIndex(1); // BUENOS AIRES, chosen earlier
        enter();
    }

    void enter()
    {
        m_combo->lineEdit()->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_combo->lineEdit()->hasFocus());
    }
    // The edit after a user's keys: all text selected on entry, then Delete or letters.
    void clearText() { QTest::keyClick(m_combo->lineEdit(), Qt::Key_Delete); }
    [[nodiscard]] QString shown() const { return m_combo->lineEdit()->text(); }

    QApplication& m_app = guiTestApp();       // before the first widget
    std::unique_ptr<ComboCatalogList> m_list; // outlives the window, which may report a focus change
    QWidget m_window;
    QComboBox* m_combo = nullptr;
    QLineEdit* m_next = nullptr;
    PictureButton* m_search = nullptr;
    TypeAheadCombo* m_typeAhead = nullptr;
    std::vector<int32_t> m_chosen;
    int32_t m_searchedWith = -1;
};

TEST_F(LeavingAList, TabOnAClearedBoxChoosesAll)
{
    // The drop-down lists in Spanish order: the accented Ó right after O's plain letters' place.
    QStringList items;
    for (int i = 0; i < m_combo->count(); ++i)
        items << m_combo->itemText(i);
    EXPECT_EQ(items, (QStringList{u"- TODAS -"_s, u"BUENOS AIRES"_s, u"CÓRDOBA"_s, u"CORRIENTES"_s, u"SANTA FE"_s}));

    m_combo->lineEdit()->selectAll();
    clearText();
    ASSERT_EQ(shown(), u""_s);
    QTest::keyClick(m_combo->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(m_list->selectedIndex(), 0);
    EXPECT_EQ(shown(), u"- TODAS -"_s);
    EXPECT_EQ(m_chosen, (std::vector<int32_t>{0})) << "once: Tab chose, leaving found nothing left to do";
    EXPECT_TRUE(m_next->hasFocus());
}

TEST_F(LeavingAList, AClickOnTheSearchButtonAppliesThePrefixFirst)
{
    // "Cor" left by Backspace after "CORRIENTES" was completed: the search button takes no focus.
    m_combo->lineEdit()->setText(u"Cor"_s);
    QTest::mouseClick(m_search, Qt::LeftButton);
    EXPECT_EQ(m_list->selectedId(), 3);
    EXPECT_EQ(shown(), u"CORRIENTES"_s);
    EXPECT_EQ(m_searchedWith, 3) << "the search ran with what the box shows";
    EXPECT_TRUE(m_combo->lineEdit()->hasFocus());

    m_combo->lineEdit()->setText(QString());
    QTest::mouseClick(m_search, Qt::LeftButton);
    EXPECT_EQ(m_searchedWith, 0) << "an emptied box searches every province";
    EXPECT_EQ(shown(), u"- TODAS -"_s);
}

TEST_F(LeavingAList, AClickIntoAnotherFieldLeavesWithTheFirstMatchOrAll)
{
    m_combo->lineEdit()->setText(u"co"_s);
    QTest::mouseClick(m_next, Qt::LeftButton);
    ASSERT_TRUE(m_next->hasFocus());
    EXPECT_EQ(shown(), u"CORRIENTES"_s) << "'O' is not 'Ó'";
    enter();
    m_combo->lineEdit()->setText(u"XYZ"_s); // pasted: begins no entry
    m_next->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(m_list->selectedIndex(), 0);
    EXPECT_EQ(m_chosen, (std::vector<int32_t>{3, 0}));
}

TEST_F(LeavingAList, EnterAppliesTheTextAndPassingThroughOrOpeningTheDropDownDoesNot)
{
    m_combo->lineEdit()->setText(u"XYZ"_s);
    QTest::keyClick(m_combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(m_list->selectedIndex(), 0);
    EXPECT_EQ(m_chosen.size(), 1u);

    m_combo->showPopup();
    QCoreApplication::processEvents();
    m_combo->hidePopup();
    enter();
    QTest::mouseClick(m_next, Qt::LeftButton);
    QTest::mouseClick(m_search, Qt::LeftButton);
    EXPECT_EQ(m_chosen.size(), 1u) << "nothing was typed: nothing to apply";
    EXPECT_EQ(m_searchedWith, 0);
}

} // namespace
