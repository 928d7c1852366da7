#include "models/sharedlibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#endif

// The Debian multiarch triplet of the installed library folder, from
// CMAKE_LIBRARY_ARCHITECTURE; empty where the platform has none.
#ifndef TAVREL_LIBRARY_ARCHITECTURE
#define TAVREL_LIBRARY_ARCHITECTURE ""
#endif

std::string SharedLibraryFileName(std::string_view name) {
#if defined(_WIN32)
    constexpr std::string_view suffix = ".dll";
#elif defined(__APPLE__)
    constexpr std::string_view suffix = ".dylib";
#else
    constexpr std::string_view suffix = ".so";
#endif
    std::string fileName(name);
    fileName += suffix;
    return fileName;
}

namespace {

#if !defined(_WIN32)

std::string InstalledLibrarySubfolder() {
    const std::string triplet = TAVREL_LIBRARY_ARCHITECTURE;
    return triplet.empty() ? "../lib/tavrel" : "../lib/" + triplet + "/tavrel";
}

std::string ExecutableFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n <= 0) return "";
        if (static_cast<std::size_t>(n) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(n));
            const std::size_t slash = path.rfind('/');
            return slash == std::string::npos ? "" : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset) {
    auto* bytes = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, bytes, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// [offset, offset + length) inside a file of `size` bytes, without overflow.
bool FitsIn(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

// The loader maps every segment from the file as its program headers say,
// and touching a mapped page past the end of the file raises SIGBUS: a
// library cut short must be refused before dlopen ever sees it.
bool ElfHeadersFitInFile(int fd, std::uint64_t size) {
    ElfW(Ehdr) header;
    if (!FitsIn(0, sizeof header, size) || !ReadAt(fd, &header, sizeof header, 0)) return false;
    constexpr unsigned char kNativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    constexpr unsigned char kNativeData =
        __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != kNativeClass || header.e_ident[EI_DATA] != kNativeData ||
        header.e_type != ET_DYN || header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0)
        return false;
    const std::uint64_t tableSize = std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr));
    if (!FitsIn(header.e_phoff, tableSize, size)) return false;
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    if (!ReadAt(fd, segments.data(), tableSize, header.e_phoff)) return false;
    for (const ElfW(Phdr) & segment : segments)
        if (!FitsIn(segment.p_offset, segment.p_filesz, size)) return false;
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// dlopen opens the file again by its path, which must still name the file
// checked.  (Only whoever may write the executable's folder could swap it in
// between, and they could as well replace the executable.)  Loading through
// /proc/self/fd/N instead would register that name for the library, and a
// later library opened on the same descriptor number would be taken for it.
void* OpenCheckedFile(const std::string& path, const struct stat& checked) {
    struct stat now {};
    if (::lstat(path.c_str(), &now) != 0 || !S_ISREG(now.st_mode) || !SameFile(now, checked))
        return nullptr;
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

#endif

} // namespace

#if defined(_WIN32)

std::vector<std::string> SharedLibraryFolders() {
    char exe[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return {};
    std::string folder(exe, n);
    folder.erase(folder.find_last_of("\\/"));
    return {folder};
}

void* LoadSharedLibraryFile(const std::string& path) {
    // The library's own dependencies from its folder and System32 only.
    return reinterpret_cast<void*>(LoadLibraryExA(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
}

#else

std::vector<std::string> SharedLibraryFolders() {
    const std::string folder = ExecutableFolder();
    if (folder.empty()) return {};
    return {folder, folder + "/" + InstalledLibrarySubfolder()};
}

void* LoadSharedLibraryFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !ElfHeadersFitInFile(file.get(), static_cast<std::uint64_t>(info.st_size)))
        return nullptr;
    return OpenCheckedFile(path, info);
}

#endif

void* LoadSharedLibrary(const std::string& fileName) {
    if (fileName.empty()) return nullptr;
    if (fileName.front() == '/') return LoadSharedLibraryFile(fileName);
    if (fileName.find_first_of("/\\") != std::string::npos) return nullptr;
    for (const std::string& folder : SharedLibraryFolders())
        if (void* handle = LoadSharedLibraryFile(folder + "/" + fileName)) return handle;
    return nullptr;
}

void* FindSharedLibraryExport(void* handle, const char* name) {
    if (handle == nullptr) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}
