#include "platform/IniFile.h"
#include "platform/SettingsFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(SettingsFile, PathIsTheExecutableWithIni)
{
    EXPECT_EQ(SettingsFile::pathFor("/opt/ortelia/ortelia"), "/opt/ortelia/ortelia.ini");
    EXPECT_EQ(SettingsFile::pathFor("/opt/ortelia/ortelia.bin"), "/opt/ortelia/ortelia.ini");
    EXPECT_EQ(SettingsFile::pathFor("/opt/v1.2/ortelia"), "/opt/v1.2/ortelia.ini"); // a dot in a folder is no extension
    EXPECT_EQ(SettingsFile::pathFor(""), "");

    const std::string exe = SettingsFile::executablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.substr(exe.rfind('/') + 1), "TestSettingsFile");
    EXPECT_EQ(SettingsFile::defaultPath(), exe + ".ini");
}

TEST(SettingsFile, ReadsAFileWrittenOnWindows)
{
    SettingsFile s;
    s.parse("; written by the installer\r\n"
            "[Otros]\r\n"
            "Database=C:\\wrong\r\n"
            "\r\n"
            "[qd]\r\n"
            "  database =  D:\\Datos\\Guia\\  \r\n"
            "APPSERVER=\"http://server.example.org/dynamicFiles/cd/\"\r\n");
    EXPECT_EQ(s.database(), "D:\\Datos\\Guia\\");                               // backslashes kept, blanks trimmed
    EXPECT_EQ(s.appServer(), "\"http://server.example.org/dynamicFiles/cd/\""); // quotes kept
}

TEST(SettingsFile, MissingFileAndKeysGiveDefaults)
{
    TempDir dir("settings");
    SettingsFile missing;
    EXPECT_FALSE(missing.load(dir / "none.ini"));
    EXPECT_EQ(missing.database(), "");
    EXPECT_EQ(missing.appServer(), "http://www.ortelia.example/dynamicFiles/cd/");

    std::ofstream(dir / "ortelia.ini", std::ios::binary) << "[QD]\nDatabase=/srv/guia/data\n";
    SettingsFile partial;
    EXPECT_TRUE(partial.load(dir / "ortelia.ini"));
    EXPECT_EQ(partial.database(), "/srv/guia/data");
    EXPECT_EQ(partial.appServer(), SettingsFile::kDefaultAppServer);

    // A key present with no value is empty, not the default.
    SettingsFile empty;
    empty.parse("[QD]\nAppServer=\n");
    EXPECT_EQ(empty.appServer(), "");
}

TEST(IniFile, LineEndsCommentsAndOddLines)
{
    IniFile ini;
    ini.parse("\xEF\xBB\xBF"
              "top=outside any section\n"
              "[A]\rone=1\r\n"
              ";two=commented\n"
              "   ; three=commented too\n"
              "key;with=semicolon ; not a comment\n"
              "no equals sign\n"
              "=no key\n"
              "[broken header\n"
              "four=4\n"
              "one=second one\n"
              "path=a\\tb\\\\c\n"
              "[ B ]\n"
              "one=b1\n"
              "[a]\n"
              "five=5");
    EXPECT_EQ(ini.value("", "top"), std::nullopt);
    EXPECT_EQ(ini.value("A", "one"), "1"); // the first line wins
    EXPECT_EQ(ini.value("A", "two"), std::nullopt);
    EXPECT_EQ(ini.value("A", "three"), std::nullopt);
    EXPECT_EQ(ini.value("A", "key;with"), "semicolon ; not a comment");
    EXPECT_EQ(ini.value("A", "four"), "4"); // the broken header left section A open
    EXPECT_EQ(ini.value("A", "path"), "a\\tb\\\\c");
    EXPECT_EQ(ini.value("b", "ONE"), "b1");
    EXPECT_EQ(ini.value("A", "five"), "5"); // a repeated section adds to the first
    EXPECT_EQ(ini.value("B", "five"), std::nullopt);
    EXPECT_EQ(ini.entries(), 7u);
}

TEST(IniFile, NamesCompareWithoutCaseInWindows1252)
{
    IniFile latin;
    latin.parse("[A\xF1o]\nCa\xF1"
                "a=y\n"); // Windows-1252 "Año", "Caña"
    EXPECT_EQ(latin.value("A\xD1O", "CA\xD1"
                                    "A"),
              "y");
    EXPECT_EQ(latin.value("Ano", "Cana"), std::nullopt);
}

TEST(IniFile, EmptyAndHugeInputs)
{
    IniFile ini;
    ini.parse("");
    EXPECT_EQ(ini.entries(), 0u);
    ini.parse("[QD]");
    EXPECT_EQ(ini.entries(), 0u);
    ini.parse("[QD]\nDatabase");
    EXPECT_EQ(ini.value("QD", "Database"), std::nullopt);

    TempDir dir("ini");
    {
        std::ofstream out(dir / "big.ini", std::ios::binary);
        out << "[QD]\nDatabase=first\n" << std::string(IniFile::kMaxBytes, ';') << "\nAppServer=beyond\n";
    }
    EXPECT_TRUE(ini.load(dir / "big.ini"));
    EXPECT_EQ(ini.value("QD", "Database"), "first");
    EXPECT_EQ(ini.value("QD", "AppServer"), std::nullopt); // past the size read
}

} // namespace
