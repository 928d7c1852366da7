#include "ui/settingsfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "quantities/numberformat.h"
#include "ui/filerewrite.h"

namespace {

bool OverSizeLimit(const struct stat& info) {
    return static_cast<unsigned long long>(info.st_size) > SettingsFile::kMaxFileBytes;
}

// The file's bytes, when it is a regular file within the size limit; never
// waits on a FIFO.
std::optional<std::string> ReadSettingsFile(const std::string& path) {
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        OverSizeLimit(info))
        return std::nullopt;
    return ReadWholeFile(file.Get());
}

// Checked before a rewrite reads the whole file.
bool FileOverSizeLimit(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && OverSizeLimit(info);
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
    tooLarge_ = now.exists && now.size > kMaxFileBytes;
    if (now.exists && !tooLarge_) {
        if (auto content = ReadSettingsFile(path_)) cache_ = std::move(*content);
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
    // A value longer than the buffer is unreadable as a whole: cut, it could
    // read as another number ("1.000...0e-5" as 1).
    if (!value || value->empty() || value->size() > size - 1) return false;
    out.assign(*value);
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
    if (!value || (numberCheck_ && !numberCheck_(section_, key, text, *value))) return false;
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
    if (path_.empty() || !IsWritableIniEntry(section_, key, text) || FileOverSizeLimit(path_))
        return false;
    FileRewrite rewrite;
    if (!rewrite.Begin(path_)) return false;
    const std::string updated = WithIniValue(rewrite.Content(), section_, key, text);
    if (rewrite.Exists() && updated == rewrite.Content()) return true;
    if (updated.size() > kMaxFileBytes) return false; // it would not be read again
    const int out = rewrite.CreateTemporary();
    if (out < 0 || !WriteContent(out, updated) || !rewrite.Commit()) return false;
    cacheValid_ = false;
    sectionRangeValid_ = false;
    return true;
}
