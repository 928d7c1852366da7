#include "ui/settingsfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "quantities/numberformat.h"

namespace {

// A file descriptor closed on every exit path.
class FileHandle {
  public:
    explicit FileHandle(int fd = -1) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return std::nullopt;
    std::string content;
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && info.st_size > 0)
        content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

// The file a write replaces: a symbolic link is followed, so that the link
// itself survives the rename.
std::string WriteTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
    }
    return path;
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

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

void SettingsFile::SetFileName(const std::string& path) {
    path_ = path;
    cacheValid_ = false;
    sectionRangeValid_ = false;
}

void SettingsFile::SelectSection(const std::string& section) {
    section_ = section;
    sectionRangeValid_ = false;
}

const std::optional<IniSectionRange>& SettingsFile::CurrentSection() {
    const std::string& content = Content(); // a reload forgets the range
    if (!sectionRangeValid_) {
        sectionRange_ = FindIniSection(content, section_);
        sectionRangeValid_ = true;
    }
    return sectionRange_;
}

const std::string& SettingsFile::Content() {
    Identity now;
    struct stat info {};
    if (!path_.empty() && ::stat(path_.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        now.exists = true;
        now.device = info.st_dev;
        now.inode = info.st_ino;
        now.size = static_cast<unsigned long long>(info.st_size);
        now.modified = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
        now.changed = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
    }
    if (cacheValid_ && now == cachedIdentity_) return cache_;
    cache_.clear();
    sectionRangeValid_ = false;
    if (now.exists) {
        if (auto content = ReadWholeFile(path_)) cache_ = std::move(*content);
    }
    cachedIdentity_ = now;
    cacheValid_ = true;
    return cache_;
}

bool SettingsFile::ReadText(const std::string& key, std::string& out, std::size_t size) {
    if (size == 0) return false;
    const auto& range = CurrentSection();
    if (!range) return false;
    const auto value = FindIniKey(cache_, *range, key);
    if (!value || value->empty()) return false;
    out.assign(value->substr(0, size - 1));
    return true;
}

bool SettingsFile::ReadInteger(const std::string& key, int& out) {
    std::string text;
    if (!ReadText(key, text)) return false;
    const auto value = ParseWholeInteger(text);
    if (!value) return false;
    out = *value;
    return true;
}

bool SettingsFile::ReadDouble(const std::string& key, double& out) {
    std::string text;
    if (!ReadText(key, text)) return false;
    const auto value = ParseWholeNumber(text);
    if (!value) return false;
    out = *value;
    return true;
}

bool SettingsFile::WriteInteger(const std::string& key, int value) {
    return WriteText(key, FormatInteger(value));
}

bool SettingsFile::WriteDouble(const std::string& key, double value) {
    // A value that could never be read back is not written at all.
    if (!ParseWholeNumber(FormatSettingsNumber(value))) return false;
    return WriteText(key, FormatSettingsNumber(value));
}

bool SettingsFile::WriteContent(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool SettingsFile::WriteText(const std::string& key, const std::string& text) {
    if (path_.empty() || !IsWritableIniEntry(section_, key, text)) return false;
    const std::string target = WriteTarget(path_);
    const std::string folder = Folder(target);
    MakeFolders(folder);

    // One writer at a time, across processes, for the whole read-modify-write.
    FileHandle lock(::open((target + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (lock.get() < 0) return false;
    while (::flock(lock.get(), LOCK_EX) != 0)
        if (errno != EINTR) return false;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;
    std::string current;
    if (exists) {
        auto content = ReadWholeFile(target);
        if (!content) return false;
        current = std::move(*content);
    }
    const std::string updated = WithIniValue(current, section_, key, text);
    if (exists && updated == current) return true;

    std::string temporary = folder + "/." + BaseName(target) + ".XXXXXX";
    FileHandle out(::mkstemp(temporary.data()));
    if (out.get() < 0) return false;
    const bool written = WriteContent(out.get(), updated) &&
                         ::fchmod(out.get(), exists ? (old.st_mode & 07777) : NewFileMode()) == 0 &&
                         ::fsync(out.get()) == 0 && ::close(out.release()) == 0;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The folder is not synced: after a crash either the old or the new file
    // is there, both complete, which is all the settings need.
    cacheValid_ = false;
    sectionRangeValid_ = false;
    return true;
}
