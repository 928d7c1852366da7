// The settings file: private-profile reads and writes, and durability of the
// file against failed writes, concurrent writers and hostile content.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>

#include "tempfolder.h"
#include "ui/filerewrite.h"
#include "ui/settingsfile.h"

namespace {

class SettingsFileTest : public ::testing::Test {
  protected:
    SettingsFileTest() { settings.SetFileName(path); }
    TempFolder folder;
    std::string path = folder.File("tavrel.ini");
    SettingsFile settings;
};

// What closing the window right after a first start with the defaults
// writes: the microstrip section, then the material section, in a new file.
TEST_F(SettingsFileTest, FirstCloseWritesTheDefaultSections) {
    settings.SelectSection("Microstrip Line");
    settings.WriteInteger("Phys Length Unit", 0);
    settings.WriteDouble("Length", 0.01);
    settings.WriteDouble("Width", 0.00005);
    settings.WriteInteger("Width Unit", 0);
    settings.WriteDouble("Height", 0.0001);
    settings.WriteInteger("Height Unit", 0);
    settings.WriteDouble("Thickness", 0.000001);
    settings.WriteInteger("Thickness Unit", 0);
    settings.SelectSection("Material Parameter");
    settings.WriteDouble("Diel Constant", 12.9);
    settings.WriteDouble("Loss Tangent", 0.0005);
    settings.WriteDouble("Conductivity", 61400000);
    settings.WriteInteger("Conductivity Unit", 3);
    EXPECT_EQ(
        TempFolder::Read(path),
        "[Microstrip Line]\nPhys Length Unit=0\nLength=0.01\nWidth=5e-05\nWidth "
        "Unit=0\nHeight=0.0001\n"
        "Height Unit=0\nThickness=1e-06\nThickness Unit=0\n\n"
        "[Material Parameter]\nDiel Constant=12.9\nLoss Tangent=0.0005\nConductivity=61400000\n"
        "Conductivity Unit=3\n");
}

TEST_F(SettingsFileTest, ReadsWholeNumbersOnlyAndLeavesOutAloneOtherwise) {
    TempFolder::Write(
        path,
        "[Microstrip Line]\nWidth Unit=4\nWidth=0.000127\nLength=abc\nHeight=0.02x\nThickness=\n"
        "Phys Length Unit=7\nGap=INF\nGap Unit=2.5\nBig Unit=99999999999\n");
    settings.SelectSection("Microstrip Line");
    int unit = -1;
    double value = -1;
    EXPECT_TRUE(settings.ReadInteger("Width Unit", unit));
    EXPECT_EQ(unit, 4);
    EXPECT_TRUE(settings.ReadDouble("Width", value));
    EXPECT_EQ(value, 0.000127);
    EXPECT_TRUE(settings.ReadInteger("Phys Length Unit", unit));
    EXPECT_EQ(unit, 7); // the window maps it to 0
    value = -1;
    unit = -1;
    for (const char* key : {"Length", "Height", "Thickness", "Gap", "Missing"})
        EXPECT_FALSE(settings.ReadDouble(key, value)) << key;
    for (const char* key : {"Gap Unit", "Big Unit", "Length", "Missing"})
        EXPECT_FALSE(settings.ReadInteger(key, unit)) << key;
    EXPECT_EQ(value, -1);
    EXPECT_EQ(unit, -1);
    settings.SelectSection("Strip Line");
    EXPECT_FALSE(settings.ReadDouble("Width", value));
}

TEST_F(SettingsFileTest, ValueLongerThanTheBufferIsUnreadable) {
    // 62 characters fit the buffer.  Cut at 62, the 72 characters of
    // "1.000...0e-5" once read as 1 metre.
    const std::string fits = "0.000127" + std::string(54, '0');
    TempFolder::Write(path, "[S]\nfits=" + fits + "\nlong=1." + std::string(67, '0') + "e-5\n");
    settings.SelectSection("S");
    double value = 7;
    EXPECT_TRUE(settings.ReadDouble("fits", value));
    EXPECT_EQ(value, 0.000127);
    value = 7;
    EXPECT_FALSE(settings.ReadDouble("long", value));
    EXPECT_EQ(value, 7);
    std::string text;
    EXPECT_FALSE(settings.ReadText("fits", text, 4));
}

TEST_F(SettingsFileTest, ReadingNeverCreatesTheFile) {
    settings.SelectSection("Material Parameter");
    double value = 0;
    EXPECT_FALSE(settings.ReadDouble("Diel Constant", value));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SettingsFileTest, UnknownContentSurvivesEveryWrite) {
    const std::string before =
        "; written by hand\n\n[Unknown]\r\nfoo = bar \n\n[Coax Line]\nInner diameter=1\n# note\n\n";
    TempFolder::Write(path, before);
    settings.SelectSection("Coax Line");
    EXPECT_TRUE(settings.WriteDouble("Inner diameter ", 0.0001));
    EXPECT_TRUE(settings.WriteInteger("Inner diameter Unit", 1));
    EXPECT_EQ(TempFolder::Read(path), "; written by hand\n\n[Unknown]\r\nfoo = bar \n\n[Coax "
                                      "Line]\nInner diameter =0.0001\n# note\n"
                                      "Inner diameter Unit=1\n\n");
}

TEST_F(SettingsFileTest, SeesWritesOfAnotherWindow) {
    SettingsFile other;
    other.SetFileName(path);
    settings.SelectSection("S");
    other.SelectSection("S");
    int value = 0;
    other.WriteInteger("k", 1);
    ASSERT_TRUE(settings.ReadInteger("k", value));
    EXPECT_EQ(value, 1);
    other.WriteInteger("k", 2); // same size, written within the same instant
    ASSERT_TRUE(settings.ReadInteger("k", value));
    EXPECT_EQ(value, 2);
}

TEST_F(SettingsFileTest, NonFiniteValuesAreNotWritten) {
    settings.SelectSection("S");
    EXPECT_FALSE(settings.WriteDouble("k", std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(settings.WriteDouble("k", std::nan("")));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SettingsFileTest, WritesThroughASymbolicLink) {
    const std::string real = folder.File("real.ini");
    TempFolder::Write(real, "[S]\nk=1\n");
    std::filesystem::remove(path);
    std::filesystem::create_symlink(real, path);
    settings.SelectSection("S");
    EXPECT_TRUE(settings.WriteInteger("k", 2));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(TempFolder::Read(real), "[S]\nk=2\n");
}

// Each row puts something hostile where the file or its lock would be; no
// write may change anything outside the folder or anything but a regular file.
TEST_F(SettingsFileTest, NeverWritesThroughALinkOutOfTheFolderOrIntoANonRegularFile) {
    TempFolder outside;
    const std::string victim = outside.File("victim");
    const std::string made = outside.File("made");
    struct Row {
        const char* what;
        std::function<void()> setUp;
    };
    const Row rows[] = {
        {"link to a file elsewhere", [&] { std::filesystem::create_symlink(victim, path); }},
        {"link to a missing file elsewhere", [&] { std::filesystem::create_symlink(made, path); }},
        {"link to a folder's link elsewhere",
         [&] {
             std::filesystem::create_symlink(victim, folder.File("hop"));
             std::filesystem::create_symlink("hop", path);
         }},
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
        {"folder", [&] { std::filesystem::create_directory(path); }},
        {"lock linked elsewhere", [&] { std::filesystem::create_symlink(made, path + ".lock"); }},
    };
    for (const Row& row : rows) {
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            std::filesystem::remove_all(entry.path());
        TempFolder::Write(victim, "root:x:0:0\n");
        row.setUp();
        settings.SelectSection("S");
        EXPECT_FALSE(settings.WriteInteger("k", 1)) << row.what;
        EXPECT_EQ(TempFolder::Read(victim), "root:x:0:0\n") << row.what;
        EXPECT_FALSE(std::filesystem::exists(made)) << row.what;
        EXPECT_FALSE(std::filesystem::exists(victim + ".lock")) << row.what;
    }
}

// Root writing a user's file: the user keeps it, and root leaves alone what
// its owner made read-only (access() would allow root anything).
TEST_F(SettingsFileTest, RootKeepsTheOwnerAndLeavesReadOnlyFilesAlone) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root";
    constexpr uid_t kUser = 65534;
    ASSERT_EQ(::chown(folder.Path().c_str(), kUser, kUser), 0);
    settings.SelectSection("S");
    ASSERT_TRUE(settings.WriteInteger("new", 1)); // a new file goes to the folder's owner
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kUser);

    TempFolder::Write(path, "[S]\nk=1\n");
    ASSERT_EQ(::chown(path.c_str(), kUser, kUser + 1), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    EXPECT_TRUE(settings.WriteInteger("k", 2));
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kUser);
    EXPECT_EQ(info.st_gid, kUser + 1);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(TempFolder::Read(path), "[S]\nk=2\n");

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(settings.WriteInteger("k", 3));
    EXPECT_EQ(TempFolder::Read(path), "[S]\nk=2\n");
}

TEST_F(SettingsFileTest, NextWriteRemovesTemporaryFilesOfKilledWrites) {
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string own = ".tavrel.ini.tmp." + std::to_string(::getpid());
    const std::string deadWriters = folder.File(".tavrel.ini.tmp." + std::to_string(gone) + ".1");
    const std::string oldOne = folder.File(own + ".2");
    const std::string liveAndFresh = folder.File(own + ".3");
    const std::string unrelated = folder.File(".tavrel.ini.tmp.backup");
    for (const std::string& file : {deadWriters, oldOne, liveAndFresh, unrelated})
        TempFolder::Write(file, std::string(1000, 'x'));
    const timespec twoMinutesAgo[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, oldOne.c_str(), twoMinutesAgo, 0), 0);

    settings.SelectSection("S");
    ASSERT_TRUE(settings.WriteInteger("k", 1));
    EXPECT_FALSE(std::filesystem::exists(deadWriters));
    EXPECT_FALSE(std::filesystem::exists(oldOne));
    EXPECT_TRUE(std::filesystem::exists(liveAndFresh));
    EXPECT_TRUE(std::filesystem::exists(unrelated));
}

TEST_F(SettingsFileTest, CreatesTheConfigurationFolder) {
    SettingsFile nested;
    nested.SetFileName(folder.File("config/tavrel/tavrel.ini"));
    nested.SelectSection("S");
    EXPECT_TRUE(nested.WriteInteger("k", 1));
    EXPECT_EQ(TempFolder::Read(folder.File("config/tavrel/tavrel.ini")), "[S]\nk=1\n");
}

// Files left in the folder besides the settings file and its lock.
int StrayFiles(const TempFolder& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        const std::string name = entry.path().filename().string();
        if (name != "tavrel.ini" && name != "tavrel.ini.lock") ++count;
    }
    return count;
}

// Writes half of the new file, then fails, as a crash or a full disk would.
class FailingSettingsFile : public SettingsFile {
  protected:
    bool WriteContent(int fd, std::string_view content) override {
        SettingsFile::WriteContent(fd, content.substr(0, content.size() / 2));
        return false;
    }
};

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileIntact) {
    const std::string before = "[Material Parameter]\nDiel Constant=9.8\n";
    TempFolder::Write(path, before);
    FailingSettingsFile failing;
    failing.SetFileName(path);
    failing.SelectSection("Material Parameter");
    EXPECT_FALSE(failing.WriteDouble("Diel Constant", 12.9));
    EXPECT_FALSE(failing.WriteDouble("Loss Tangent", 0.0005));
    EXPECT_EQ(TempFolder::Read(path), before);
    EXPECT_EQ(StrayFiles(folder), 0);
}

TEST_F(SettingsFileTest, FullDiskLeavesTheOldFileIntact) {
    // The file-size limit makes write() fail with EFBIG once the new file
    // would grow past it: the same path as a disk running out of space.
    const std::string before = "[Keep]\n" + std::string(3000, 'x') + "\n";
    TempFolder::Write(path, before);
    settings.SelectSection("Material Parameter");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{2048, 2048};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(settings.WriteDouble("Diel Constant", 12.9) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write claimed success";
    EXPECT_EQ(TempFolder::Read(path), before);
    EXPECT_EQ(StrayFiles(folder), 0);
}

// Runs body in a child process without the rights of the owner of the
// files (root is dropped to "nobody", since root may write anywhere) and
// returns its exit status.
int RunUnprivileged(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST_F(SettingsFileTest, ReadOnlyFileOrFolderBreaksNothing) {
    const std::string before = "[Material Parameter]\nDiel Constant=9.8\n";
    TempFolder::Write(path, before);
    ::chmod(path.c_str(), 0444);
    ::chmod(folder.Path().c_str(), 0777);
    // Read-only file in a writable folder: no write, the reads still work.
    const auto tryWrite = [&] {
        SettingsFile file;
        file.SetFileName(path);
        file.SelectSection("Material Parameter");
        double value = 0;
        if (!file.ReadDouble("Diel Constant", value) || value != 9.8) return 2;
        return file.WriteDouble("Diel Constant", 12.9) || file.WriteInteger("Conductivity Unit", 1)
                   ? 1
                   : 0;
    };
    EXPECT_EQ(RunUnprivileged(tryWrite), 0);
    EXPECT_EQ(TempFolder::Read(path), before);
    // Writable file in a read-only folder: the file cannot be replaced either.
    ::chmod(path.c_str(), 0666);
    ::chmod(folder.Path().c_str(), 0555);
    EXPECT_EQ(RunUnprivileged(tryWrite), 0);
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(TempFolder::Read(path), before);
}

// Two windows closing at the same moment: every key of each survives.
TEST_F(SettingsFileTest, ConcurrentWritersLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kKeys = 25;
    TempFolder::Write(path, "; shared\n");
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SettingsFile writer;
            writer.SetFileName(path);
            bool ok = true;
            for (int k = 0; k < kKeys; ++k) {
                writer.SelectSection("Writer " + std::to_string(w));
                ok = writer.WriteInteger("Key " + std::to_string(k), w * 1000 + k) && ok;
                writer.SelectSection("Shared");
                ok = writer.WriteInteger("Writer " + std::to_string(w), k) && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SettingsFile reader;
    reader.SetFileName(path);
    for (int w = 0; w < kWriters; ++w) {
        reader.SelectSection("Writer " + std::to_string(w));
        for (int k = 0; k < kKeys; ++k) {
            int value = -1;
            ASSERT_TRUE(reader.ReadInteger("Key " + std::to_string(k), value)) << w << " " << k;
            EXPECT_EQ(value, w * 1000 + k);
        }
        reader.SelectSection("Shared");
        int last = -1;
        EXPECT_TRUE(reader.ReadInteger("Writer " + std::to_string(w), last));
        EXPECT_EQ(last, kKeys - 1);
    }
    EXPECT_EQ(TempFolder::Read(path).rfind("; shared\n", 0), 0u);
    EXPECT_EQ(StrayFiles(folder), 0);
}

// The time bounds hold for an optimised build; sanitizers and unoptimised
// code run many times slower.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr double kSlowdown = 20;
#else
constexpr double kSlowdown = 1;
#endif

// The reads of a start-up: the material section and a line section.
double TimeStartUpReads(SettingsFile& file) {
    const auto start = std::chrono::steady_clock::now();
    double value = 0;
    int unit = 0;
    file.SelectSection("Material Parameter");
    for (const char* key : {"Diel Constant", "Loss Tangent", "Conductivity"})
        file.ReadDouble(key, value);
    file.ReadInteger("Conductivity Unit", unit);
    file.SelectSection("Microstrip Line");
    file.ReadInteger("Phys Length Unit", unit);
    file.ReadDouble("Length", value);
    for (const char* key : {"Width", "Height", "Thickness"}) {
        file.ReadInteger(std::string(key) + " Unit", unit);
        file.ReadDouble(key, value);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(SettingsFileTest, HostileFilesLoadFastAndKeepTheirBytes) {
    std::mt19937 random(11);
    std::string garbage;
    for (int i = 0; i < 1 << 20; ++i)
        garbage.push_back(static_cast<char>(random()));
    std::string sections;
    for (int s = 0; s < 5000; ++s)
        sections += "[Section " + std::to_string(s) + "]\nkey=value\nother=1\n";
    const std::string cases[] = {garbage,
                                 "[Microstrip Line]\nWidth=" + std::string(10 << 20, '7') + "\n",
                                 sections, std::string(10 << 20, '\n')};
    for (const std::string& content : cases) {
        TempFolder::Write(path, content);
        const double seconds = TimeStartUpReads(settings);
        EXPECT_LT(seconds, 0.5 * kSlowdown) << "case " << (&content - cases);
        settings.SelectSection("Material Parameter");
        // Over 1 MiB a file is not read, and no write takes it there: it
        // stays as it is.
        EXPECT_EQ(settings.TooLarge(), content.size() > SettingsFile::kMaxFileBytes);
        const bool full = content.size() >= SettingsFile::kMaxFileBytes;
        ASSERT_EQ(settings.WriteDouble("Diel Constant", 12.9), !full);
        const std::string after = TempFolder::Read(path);
        EXPECT_EQ(after.compare(0, content.size(), content), 0) << "old content changed";
        if (full) EXPECT_EQ(after.size(), content.size());
        double value = 0;
        EXPECT_EQ(settings.ReadDouble("Diel Constant", value), !full);
        EXPECT_EQ(value, full ? 0.0 : 12.9);
    }
}

} // namespace

// Closing the window removes the lock; a writer that waited for the removed
// lock file locks the new one, so two writers never hold different files.
TEST_F(SettingsFileTest, LockFileIsRemovedUnderTheLockAndWritesGoOn) {
    settings.SelectSection("S");
    ASSERT_TRUE(settings.WriteInteger("k", 1));
    const std::string lock = path + ".lock";
    ASSERT_TRUE(std::filesystem::exists(lock));
    EXPECT_TRUE(RemoveLockFile(path));
    EXPECT_FALSE(std::filesystem::exists(lock));
    EXPECT_TRUE(RemoveLockFile(path)); // nothing left to remove

    // A second writer holds the lock while the first closes: removal waits.
    ASSERT_TRUE(settings.WriteInteger("k", 2));
    const int held = ::open(lock.c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(held); // the lock belongs to the parent's descriptor only
        _exit(RemoveLockFile(path) ? 0 : 1);
    }
    ::usleep(100000);
    EXPECT_TRUE(std::filesystem::exists(lock)); // still held, still there
    ::close(held);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(std::filesystem::exists(lock));
    ASSERT_TRUE(settings.WriteInteger("k", 3));
    EXPECT_EQ(TempFolder::Read(path), "[S]\nk=3\n");
}
