#include "ui/filerewrite.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <random>

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        fd_ = other.Release();
    }
    return *this;
}

int FileHandle::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileHandle::Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<std::string> ReadWholeFile(int fd) {
    std::string content;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

namespace {

// Temporary files are named ".<name>.tmp.<pid>.<random>", so that the next
// write can tell a killed writer's leftover from anything else.
constexpr const char* kTemporaryInfix = ".tmp.";
// A leftover whose writer may still run (another PID namespace sharing the
// folder) is removed once it is older than this; no write takes that long.
constexpr std::time_t kStaleSeconds = 60;

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// mkdir -p: the user's configuration folder may not exist yet.
void MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0777);
    ::mkdir(folder.c_str(), 0777);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// The pid in ".<name>.tmp.<pid>.<random>", or 0 when `entry` is not named so.
pid_t TemporaryWriter(const std::string& entry, const std::string& prefix) {
    if (entry.compare(0, prefix.size(), prefix) != 0) return 0;
    const char* digits = entry.c_str() + prefix.size();
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(digits, &end, 10);
    if (errno != 0 || end == digits || *end != '.' || end[1] == '\0' || pid <= 0 || pid > INT_MAX)
        return 0;
    return static_cast<pid_t>(pid);
}

} // namespace

FileRewrite::~FileRewrite() {
    if (!temporaryName_.empty()) ::unlinkat(folder_.Get(), temporaryName_.c_str(), 0);
}

bool FileRewrite::Begin(const std::string& path) {
    const std::string folder = Folder(path);
    MakeFolders(folder);
    folder_ = FileHandle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_.Get() < 0 || !ResolveName(path) || !TakeLock()) return false;
    RemoveStaleTemporaries();
    return ReadCurrent();
}

// A link is followed only to a file in the same folder, which is then
// replaced, so that the link itself survives.
bool FileRewrite::ResolveName(const std::string& path) {
    name_ = BaseName(path);
    struct stat entry {};
    if (::fstatat(folder_.Get(), name_.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISLNK(entry.st_mode))
        return true;
    char resolved[PATH_MAX];
    struct stat here {};
    struct stat there {};
    if (::realpath(path.c_str(), resolved) == nullptr || ::fstat(folder_.Get(), &here) != 0 ||
        ::stat(Folder(resolved).c_str(), &there) != 0 || !SameFile(here, there))
        return false;
    name_ = BaseName(resolved);
    return true;
}

// One writer at a time, across processes, for the whole read-modify-write.
// The lock is opened read-only, as flock needs no more: a lock file root
// created does not shut its user out.  The lock file may be removed (see
// RemoveLockFile) while this writer waits for it: the lock then counts only
// when the name still leads to the file that was locked.
bool FileRewrite::TakeLock() {
    const std::string lockName = name_ + ".lock";
    for (int attempt = 0; attempt < 100; ++attempt) {
        lock_ = FileHandle(::openat(folder_.Get(), lockName.c_str(),
                                    O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
        struct stat info {};
        if (lock_.Get() < 0 || ::fstat(lock_.Get(), &info) != 0 || !S_ISREG(info.st_mode))
            return false;
        while (::flock(lock_.Get(), LOCK_EX) != 0)
            if (errno != EINTR) return false;
        struct stat now {};
        if (::fstatat(folder_.Get(), lockName.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(now, info))
            return true;
    }
    return false;
}

bool RemoveLockFile(const std::string& path) {
    FileRewrite rewrite;
    return rewrite.RemoveLock(path);
}

bool FileRewrite::RemoveLock(const std::string& path) {
    folder_ = FileHandle(::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_.Get() < 0 || !ResolveName(path)) return false;
    const std::string lockName = name_ + ".lock";
    struct stat info {};
    if (::fstatat(folder_.Get(), lockName.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT; // nothing to remove
    // Removed under the lock: a writer waiting for it sees the name gone
    // and locks a new file.
    return TakeLock() && ::unlinkat(folder_.Get(), lockName.c_str(), 0) == 0;
}

// Called under the lock, when no live writer of this file is between
// creating its temporary file and renaming it.
void FileRewrite::RemoveStaleTemporaries() {
    const int fd = ::openat(folder_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (listing == nullptr) {
        if (fd >= 0) ::close(fd);
        return;
    }
    const std::string prefix = "." + name_ + kTemporaryInfix;
    const std::time_t now = std::time(nullptr);
    while (const dirent* item = ::readdir(listing)) {
        const std::string entry = item->d_name;
        const pid_t writer = TemporaryWriter(entry, prefix);
        struct stat info {};
        if (writer == 0 ||
            ::fstatat(folder_.Get(), entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        const bool writerGone = ::kill(writer, 0) != 0 && errno == ESRCH;
        if (writerGone || now - info.st_mtime > kStaleSeconds)
            ::unlinkat(folder_.Get(), entry.c_str(), 0);
    }
    ::closedir(listing);
}

bool FileRewrite::BeginReplace(const std::string& path) {
    folder_ = FileHandle(::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_.Get() < 0 || !ResolveName(path)) return false;
    const FileHandle file(
        ::openat(folder_.Get(), name_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    exists_ = file.Get() >= 0;
    return exists_ ? MayReplace(file.Get()) : errno == ENOENT;
}

bool FileRewrite::ReadCurrent() {
    // No link (resolved above) and no waiting on a FIFO.
    const FileHandle file(
        ::openat(folder_.Get(), name_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        exists_ = false;
        return errno == ENOENT;
    }
    exists_ = true;
    if (!MayReplace(file.Get())) return false;
    auto content = ReadWholeFile(file.Get());
    if (!content) return false;
    content_ = std::move(*content);
    return true;
}

bool FileRewrite::MayReplace(int fd) {
    if (::fstat(fd, &old_) != 0 || !S_ISREG(old_.st_mode)) return false;
    // The owner's write bit, not access(): root may write anything, but must
    // leave alone what its owner marked read-only.  Others need the right to
    // write the file itself, not only the folder's right to replace it.
    if ((old_.st_mode & S_IWUSR) == 0) return false;
    return ::geteuid() == 0 || ::faccessat(folder_.Get(), name_.c_str(), W_OK, AT_EACCESS) == 0;
}

int FileRewrite::CreateTemporary() {
    if (folder_.Get() < 0 || temporary_.Get() >= 0) return -1;
    std::random_device random;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string name = "." + name_ + kTemporaryInfix + std::to_string(::getpid()) + "." +
                                 std::to_string(random());
        const int fd = ::openat(folder_.Get(), name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            temporary_ = FileHandle(fd);
            temporaryName_ = name;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool FileRewrite::KeepOwnerAndMode(int fd) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) return false;
    uid_t owner = now.st_uid;
    gid_t group = now.st_gid;
    if (exists_) {
        owner = old_.st_uid;
        group = old_.st_gid;
    } else if (::geteuid() == 0) {
        struct stat folder {};
        if (::fstat(folder_.Get(), &folder) != 0) return false;
        owner = folder.st_uid;
        group = folder.st_gid;
    }
    // A user who cannot give the file its owner back leaves it alone rather
    // than take it over.  chown clears set-id bits: the mode comes after.
    if ((owner != now.st_uid || group != now.st_gid) && ::fchown(fd, owner, group) != 0)
        return false;
    return ::fchmod(fd, exists_ ? (old_.st_mode & 07777) : NewFileMode()) == 0;
}

bool FileRewrite::Commit() {
    const int fd = temporary_.Get();
    if (fd < 0 || !KeepOwnerAndMode(fd) || ::fsync(fd) != 0 || ::close(temporary_.Release()) != 0)
        return false;
    if (::renameat(folder_.Get(), temporaryName_.c_str(), folder_.Get(), name_.c_str()) != 0)
        return false;
    // The folder is not synced: after a crash either the old or the new file
    // is there, both complete, which is all the settings need.
    temporaryName_.clear();
    return true;
}
