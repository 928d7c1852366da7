#include "ui/exportfile.h"

#include <unistd.h>

#include <cerrno>

#include "ui/filerewrite.h"

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

bool ExportFile(const std::string& path, std::string_view bytes) {
    FileRewrite rewrite; // removes the temporary file on every failure
    if (!rewrite.BeginReplace(path)) return false;
    const int fd = rewrite.CreateTemporary();
    return fd >= 0 && WriteAll(fd, bytes) && rewrite.Commit();
}
