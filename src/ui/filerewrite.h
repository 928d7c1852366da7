// One locked, atomic rewrite of a small file, safe in a folder others can
// reach: every step works relative to the opened folder of the file, never
// follows a symbolic link out of that folder and touches regular files only.
// The new content goes into a temporary file beside the old one, which
// takes the old file's owner and mode and is renamed over it, so a failed or
// killed write leaves the old file as it was.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

// A file descriptor closed on every exit path.
class FileHandle {
  public:
    explicit FileHandle(int fd = -1) : fd_(fd) {}
    ~FileHandle() { Reset(); }
    FileHandle(FileHandle&& other) noexcept : fd_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd_; }
    int Release();
    void Reset();

  private:
    int fd_;
};

// All bytes of an open file; nullopt on a read error.
std::optional<std::string> ReadWholeFile(int fd);

class FileRewrite {
  public:
    FileRewrite() = default;
    ~FileRewrite(); // removes a temporary file that was not committed
    FileRewrite(const FileRewrite&) = delete;
    FileRewrite& operator=(const FileRewrite&) = delete;

    // Creates the folder if needed, takes the lock "<name>.lock" beside the
    // file (for the life of this object), removes temporary files left by
    // killed writes and reads the current file.  False, with nothing
    // changed, when the file must not be rewritten: a link that leads out of
    // its folder, anything but a regular file, a file without its owner's
    // write permission (for root too), or one this user may not write.
    bool Begin(const std::string& path);
    // For a file written whole, such as an export: the same refusals, but
    // no folder is created, no lock taken and the old file is not read.
    bool BeginReplace(const std::string& path);
    bool Exists() const { return exists_; }
    const std::string& Content() const { return content_; }

    // Removes the lock file beside `path` (when the program is done with the
    // file), waiting for a writer that holds it; true when it is gone.
    bool RemoveLock(const std::string& path);

    // A new, empty temporary file beside the file, for the caller to fill;
    // -1 on failure.
    int CreateTemporary();
    // Gives the temporary file the old file's owner and mode (a new file
    // that root creates in a user's folder goes to the folder's owner),
    // syncs it and renames it over the file.  False when any step fails; the
    // old file is then untouched.
    bool Commit();

  private:
    bool ResolveName(const std::string& path);
    bool TakeLock();
    void RemoveStaleTemporaries();
    bool ReadCurrent();
    bool MayReplace(int fd);
    bool KeepOwnerAndMode(int fd);

    FileHandle folder_;
    std::string name_;
    FileHandle lock_;
    bool exists_ = false;
    struct stat old_ {};
    std::string content_;
    FileHandle temporary_;
    std::string temporaryName_;
};

// FileRewrite::RemoveLock on a FileRewrite of its own.
bool RemoveLockFile(const std::string& path);
