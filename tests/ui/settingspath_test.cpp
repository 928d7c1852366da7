// Where the settings file lives.
#include <gtest/gtest.h>

#include <filesystem>

#include "tempfolder.h"
#include "ui/settingspath.h"

namespace {

TEST(SettingsPath, BesideAWritableExecutable) {
    TempFolder folder;
    EXPECT_EQ(SettingsFilePath(folder.Path(), "/xdg", "/home/u"), folder.Path() + "/tavrel.ini");
}

TEST(SettingsPath, AnInstalledProgramNeverWritesBesideItself) {
    // bin/ with ../lib/<triplet>/tavrel beside it, writable (as for root).
    TempFolder prefix;
    const std::string bin = prefix.Path() + "/bin";
    const std::string arch = TAVREL_LIBRARY_ARCHITECTURE;
    const std::string lib = prefix.Path() + (arch.empty() ? "/lib/tavrel" : "/lib/" + arch + "/tavrel");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(lib);
    EXPECT_EQ(SettingsFilePath(bin, "/xdg", "/home/u"), "/xdg/tavrel/tavrel.ini");
}

TEST(SettingsPath, UserConfigurationFolderOtherwise) {
    const std::string unwritable = "/nonexistent/tavrel/bin";
    EXPECT_EQ(SettingsFilePath(unwritable, "/xdg", "/home/u"), "/xdg/tavrel/tavrel.ini");
    EXPECT_EQ(SettingsFilePath(unwritable, "/xdg/", "/home/u"), "/xdg/tavrel/tavrel.ini");
    // Unset, empty or relative XDG_CONFIG_HOME means ~/.config.
    EXPECT_EQ(SettingsFilePath(unwritable, nullptr, "/home/u"),
              "/home/u/.config/tavrel/tavrel.ini");
    EXPECT_EQ(SettingsFilePath(unwritable, "", "/home/u"), "/home/u/.config/tavrel/tavrel.ini");
    EXPECT_EQ(SettingsFilePath(unwritable, "rel/config", "/home/u"),
              "/home/u/.config/tavrel/tavrel.ini");
}

TEST(SettingsPath, ExecutableFolderOfThisTest) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.back(), '/');
}

} // namespace
