#include "platform/ShellOpen.h"
#include "tests/support/RecordingShell.h"

#include <QDir>
#include <gtest/gtest.h>

#include <type_traits>

namespace {

static_assert(!std::is_abstract_v<RecordingShell>, "the test double must implement the whole interface");

QUrl address(const char* text)
{
    return ShellOpen::addressUrl(QString::fromUtf8(text));
}

TEST(ShellOpen, OnlyWebAddressesAreHandedOver)
{
    EXPECT_EQ(address("http://www.example.com/cd/faq.htm"), QUrl(QStringLiteral("http://www.example.com/cd/faq.htm")));
    EXPECT_EQ(address("  https://example.org/a b  ").toString(), QStringLiteral("https://example.org/a b"));
    EXPECT_TRUE(address("HTTP://EXAMPLE.COM/").isValid());

    EXPECT_FALSE(address("").isValid());
    EXPECT_FALSE(address("http://").isValid());
    EXPECT_FALSE(address("www.example.com").isValid()); // callers put the scheme in front
    EXPECT_FALSE(address("file:///etc/passwd").isValid());
    EXPECT_FALSE(address("javascript:alert(1)").isValid());
    EXPECT_FALSE(address("mailto:ventas@example.com").isValid());
    EXPECT_FALSE(address("custom-handler://run").isValid());
}

TEST(ShellOpen, FilesBecomeAbsoluteFileUrls)
{
    const QUrl help = ShellOpen::fileUrl(QStringLiteral("ot.hlp"));
    EXPECT_TRUE(help.isLocalFile());
    EXPECT_EQ(help.toLocalFile(), QDir::current().absoluteFilePath(QStringLiteral("ot.hlp")));
    EXPECT_EQ(ShellOpen::fileUrl(QStringLiteral("/opt/ortelia/a b#c.hlp")).toLocalFile(),
              QStringLiteral("/opt/ortelia/a b#c.hlp")); // '#' and blanks are part of the name
    EXPECT_FALSE(ShellOpen::fileUrl(QString()).isValid());
}

TEST(ShellOpen, RefusedAddressIsNotOpened)
{
    ShellOpen shell;
    EXPECT_FALSE(shell.openAddress(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(shell.openFile(QString()));
}

} // namespace
