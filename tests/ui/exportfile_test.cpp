// An export replaces its target whole or not at all.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "tempfolder.h"
#include "ui/exportfile.h"

namespace {

namespace fs = std::filesystem;

TEST(ExportFile, ReplacesWholeKeepsTheOldFileOnAFailedWriteAndRefusesDanglingLinks) {
    TempFolder folder;
    const std::string target = folder.File("sweep.csv");
    TempFolder::Write(target, "old table\n");
    ASSERT_TRUE(ExportFile(target, "new table\n"));
    EXPECT_EQ(TempFolder::Read(target), "new table\n");

    // A full disk, as the file-size limit makes one: write() fails part-way.
    const std::string big(1 << 20, 'x');
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ExportFile(target, big);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(TempFolder::Read(target), "new table\n");

    // A link within the folder is kept, its file replaced; a dangling one
    // creates nothing.
    fs::create_symlink("sweep.csv", folder.File("link.csv"));
    ASSERT_TRUE(ExportFile(folder.File("link.csv"), "through the link\n"));
    EXPECT_TRUE(fs::is_symlink(folder.File("link.csv")));
    EXPECT_EQ(TempFolder::Read(target), "through the link\n");
    fs::create_symlink("gone.csv", folder.File("dangling.csv"));
    EXPECT_FALSE(ExportFile(folder.File("dangling.csv"), "x"));
    EXPECT_FALSE(fs::exists(folder.File("gone.csv")));
    EXPECT_FALSE(ExportFile(folder.File("missing/folder/sweep.csv"), "x"));
    EXPECT_FALSE(ExportFile(folder.Path(), "x")); // a folder is no file
    // No temporary file is left behind by any of these.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 3);
}

} // namespace
