#include "platform/ProfileFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

EnvLookup lookup(std::map<std::string, std::string> vars)
{
    return [vars = std::move(vars)](const std::string& name) -> std::optional<std::string> {
        const auto it = vars.find(name);
        return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

TEST(ProfileFolder, FallsBackInOrder)
{
    EXPECT_EQ(ProfileFolder::find(lookup({{"USERPROFILE", "/home/ana/perfil"}, {"HOME", "/home/ana"}})),
              "/home/ana/perfil/");
    EXPECT_EQ(ProfileFolder::find(lookup({{"HOME", "/home/ana/"}, {"TMP", "/var/tmp"}})), "/home/ana/");
    EXPECT_EQ(ProfileFolder::find(lookup({{"TMP", "/var/tmp"}, {"TMPDIR", "/tmp/x"}})), "/var/tmp/");
    EXPECT_EQ(ProfileFolder::find(lookup({{"TMPDIR", "/tmp/x"}})), "/tmp/x/");
    EXPECT_EQ(ProfileFolder::find(lookup({})), "/tmp/");
}

TEST(ProfileFolder, EmptyVariablesCountAsUnset)
{
    // The system lookup drops empty values; so must the folder search through it.
    setenv("ORTELIA_TEST_EMPTY", "", 1);
    EXPECT_EQ(systemEnvironment("ORTELIA_TEST_EMPTY"), std::nullopt);
    setenv("ORTELIA_TEST_EMPTY", "v", 1);
    EXPECT_EQ(systemEnvironment("ORTELIA_TEST_EMPTY"), "v");
    unsetenv("ORTELIA_TEST_EMPTY");

    setenv("USERPROFILE", "", 1);
    setenv("HOME", "/home/test", 1);
    EXPECT_EQ(ProfileFolder::find(), "/home/test/");
}

} // namespace
