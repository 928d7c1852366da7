// The settings file: one private-profile (INI) file, read and written one key
// at a time.  Every write is a locked read-modify-write of the whole file
// that replaces the file atomically (a temporary file in the same folder,
// renamed over the old one, see FileRewrite), so a failed or interrupted
// write leaves the old file as it was and two windows writing at once lose
// none of each other's keys.  A write that cannot be done (read-only file or
// folder, full disk, a link out of the folder, anything but a regular file)
// is reported by the return value only, as is a file over kMaxFileBytes
// (or one a write would take there), which is left as it is.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/settingsstore.h"
#include "ui/initext.h"

class SettingsFile : public SettingsStore {
  public:
    // The buffer the window reads every value into: 62 characters and a terminator.
    static constexpr std::size_t kBufferSize = 63;
    // A larger file is treated as unreadable: nothing is read from it (the
    // defaults hold) and it is never rewritten.
    static constexpr unsigned long long kMaxFileBytes = 1 << 20;

    // Sees every number read (the section, key, text as stored and value);
    // false makes the read fail, so the caller keeps what it had.
    using NumberCheck = std::function<bool(const std::string& section, const std::string& key,
                                           const std::string& text, double value)>;
    void SetNumberCheck(NumberCheck check) { numberCheck_ = std::move(check); }
    // The file was over kMaxFileBytes when last looked at.
    bool TooLarge() {
        (void)Content();
        return tooLarge_;
    }

    SettingsFile() = default;
    virtual ~SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    void SetFileName(const std::string& path);
    const std::string& FileName() const { return path_; }
    void SelectSection(const std::string& section) override;
    const std::string& Section() const { return section_; }

    // The key's value in the current section; true when it has at least one
    // character and fits in size - 1 characters (a longer value is not read).
    bool ReadText(const std::string& key, std::string& out, std::size_t size = kBufferSize);
    // True only for a value that is entirely a base-10 integer (strtol) or a
    // finite decimal number (strtod, "." as decimal point); out is left alone otherwise.
    bool ReadInteger(const std::string& key, int& out) override;
    bool ReadDouble(const std::string& key, double& out) override;

    bool WriteText(const std::string& key, const std::string& text);
    bool WriteInteger(const std::string& key, int value) override; // "%d"
    bool WriteDouble(const std::string& key,
                     double value) override; // "%.9g"; not for NaN or infinity

  protected:
    // Writes the whole new file into the open temporary file.  Tests replace
    // it to fail part-way.
    virtual bool WriteContent(int fd, std::string_view content);

  private:
    // The file's bytes for reading; re-read only when the file has changed.
    const std::string& Content();
    // Where the current section lies in Content(); looked up once per content
    // and section, so that a huge file is scanned once, not once per key.
    const std::optional<IniSectionRange>& CurrentSection();

    struct Identity {
        unsigned long long device = 0, inode = 0, size = 0;
        long long modified = 0, changed = 0; // nanoseconds
        bool exists = false;
        bool operator==(const Identity&) const = default;
    };

    std::string path_;
    std::string section_;
    std::string cache_;
    Identity cachedIdentity_;
    bool cacheValid_ = false;
    std::optional<IniSectionRange> sectionRange_;
    bool sectionRangeValid_ = false;
    bool tooLarge_ = false;
    NumberCheck numberCheck_;
};
