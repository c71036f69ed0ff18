// The search text shows in upper case as it is typed, by the rule the search upper-cases it with.
#include "tests/support/GuiTestApp.h"

#include "engine/Cp1252.h"
#include "ui/UpperCaseValidator.h"
#include "widgets/UiText.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
// Key presses carrying the characters, as a keyboard layout would send them.
void type(QLineEdit& edit, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
    }
}
} // namespace

TEST(UpperCaseValidator, TypedLettersShowRaisedAndTheCursorStays)
{
    guiTestApp();
    QLineEdit edit;
    edit.setValidator(new UpperCaseValidator(&edit));
    type(edit, u"pérez ñandú"_s);
    EXPECT_EQ(edit.text(), u"PÉREZ ÑANDÚ"_s);
    edit.setCursorPosition(5);
    type(edit, u"ü"_s);
    EXPECT_EQ(edit.text(), u"PÉREZÜ ÑANDÚ"_s);
    EXPECT_EQ(edit.cursorPosition(), 6);
    // Whatever is shown is what the search makes of it; ß and letters beyond the code page stay.
    edit.clear();
    type(edit, u"straße łódź œuvre"_s);
    EXPECT_EQ(edit.text(), u"STRAßE łÓDź ŒUVRE"_s);
    const QString latin = u"abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿšœž"_s;
    edit.clear();
    type(edit, latin);
    EXPECT_EQ(edit.text(), uitext::fromData(cp1252::upper(uitext::toData(latin))));
}
