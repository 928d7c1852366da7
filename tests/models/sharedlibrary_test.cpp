// Loading the coplanar library: only from the executable's own folder (or the
// installed library folder), and only a whole library file.  Broken files are
// refused at once, never with a hang or a signal.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "models/cpwlinecalc.h"
#include "models/sharedlibrary.h"

namespace {

namespace fs = std::filesystem;

// The built library, beside the test executable.
std::string BuiltLibrary() {
    return SharedLibraryFolders().at(0) + "/" + CpwLibraryFileName();
}

struct ScratchFolder {
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "tavrel-lib-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() { fs::remove_all(path); }
    std::string path;
};

// The first `bytes` bytes of the built library, as a copy cut short.
void CopyCut(const std::string& to, std::uintmax_t bytes) {
    fs::copy_file(BuiltLibrary(), to);
    fs::resize_file(to, bytes);
}

// Runs `load` in a child: 0 when it returned a handle, 1 when it returned
// nullptr, anything else when it hung (killed after 5 s) or died of a signal.
int LoadInChild(const std::function<void*()>& load) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        ::_exit(load() != nullptr ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(SharedLibrary, SearchesTheExecutablesFolderThenTheInstalledLibraryFolder) {
    const auto folders = SharedLibraryFolders();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(fs::path(folders[0]), fs::canonical("/proc/self/exe").parent_path());
    EXPECT_EQ(folders[1].substr(folders[0].size()), "/../lib/x86_64-linux-gnu/tavrel");
    EXPECT_NE(LoadSharedLibrary(CpwLibraryFileName()), nullptr);
}

TEST(SharedLibrary, NeverLoadsFromTheCurrentOrTheParentFolder) {
    ScratchFolder scratch;
    fs::create_directory(scratch.path + "/work");
    fs::copy_file(BuiltLibrary(), scratch.path + "/Stray library.so");
    fs::copy_file(BuiltLibrary(), scratch.path + "/work/Stray library.so");
    const fs::path before = fs::current_path();
    fs::current_path(scratch.path + "/work");
    for (const char* name : {"Stray library.so", "./Stray library.so", "../Stray library.so"})
        EXPECT_EQ(LoadInChild([&] { return LoadSharedLibrary(name); }), 1) << name;
    fs::current_path(before);
}

TEST(SharedLibrary, RefusesAnythingButAWholeLibraryFileFastAndWithoutASignal) {
    ScratchFolder scratch;
    const std::string dir = scratch.path + "/";
    fs::copy_file(BuiltLibrary(), dir + "whole.so");
    for (std::uintmax_t bytes : {0, 1000, 4096, 16384})
        CopyCut(dir + "cut" + std::to_string(bytes) + ".so", bytes);
    ASSERT_EQ(::mkfifo((dir + "fifo.so").c_str(), 0600), 0);
    fs::create_directory(dir + "folder.so");
    fs::create_symlink(dir + "cut4096.so", dir + "link-to-cut.so");
    fs::create_symlink(dir + "whole.so", dir + "link-to-whole.so");
    {
        std::FILE* text = std::fopen((dir + "text.so").c_str(), "w");
        std::fputs("INPUT(-lc)\n", text);
        std::fclose(text);
    }

    EXPECT_EQ(LoadInChild([&] { return LoadSharedLibraryFile(dir + "whole.so"); }), 0);
    for (const char* name :
         {"cut0.so", "cut1000.so", "cut4096.so", "cut16384.so", "fifo.so", "folder.so",
          "link-to-cut.so", "link-to-whole.so", "text.so", "missing.so"}) {
        EXPECT_EQ(LoadInChild([&] { return LoadSharedLibraryFile(dir + name); }), 1) << name;
    }
}

} // namespace
