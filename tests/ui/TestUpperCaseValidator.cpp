// The search text shows in upper case as it is typed, by the rule the search upper-cases it with.
#include "tests/support/GuiTestApp.h"

#include "engine/Cp1252.h"
#include "ui/UpperCaseValidator.h"
#include "widgets/UiText.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(UpperCaseValidator, TypedLettersShowRaisedAndTheCursorStays)
{
    guiTestApp();
    QLineEdit edit;
    edit.setValidator(new UpperCaseValidator(&edit));
    QTest::keyClicks(&edit, u"pérez ñandú"_s);
    EXPECT_EQ(edit.text(), u"PÉREZ ÑANDÚ"_s);
    edit.setCursorPosition(5);
    QTest::keyClicks(&edit, u"ü"_s);
    EXPECT_EQ(edit.text(), u"PÉREZÜ ÑANDÚ"_s);
    EXPECT_EQ(edit.cursorPosition(), 6);
    // Whatever is shown is what the search makes of it; ß and letters beyond the code page stay.
    edit.clear();
    QTest::keyClicks(&edit, u"straße łódź œuvre"_s);
    EXPECT_EQ(edit.text(), u"STRAßE łÓDź ŒUVRE"_s);
    const QString latin = u"abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿšœž"_s;
    edit.clear();
    QTest::keyClicks(&edit, latin);
    EXPECT_EQ(edit.text(), uitext::fromData(cp1252::upper(uitext::toData(latin))));
}
