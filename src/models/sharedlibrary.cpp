#include "models/sharedlibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
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

void* LoadSharedLibrary(const std::string& fileName) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(LoadLibraryA(fileName.c_str()));
#else
    // A name without a slash makes dlopen search LD_LIBRARY_PATH, the run path
    // of the calling executable, the loader cache and the system folders.
    if (void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    // The run path only applies when the executable itself calls dlopen; a
    // runtime that intercepts dlopen (AddressSanitizer's) hides it.  The
    // folder of the running executable is where the run path points anyway.
    if (fileName.find('/') != std::string::npos) return nullptr;
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return nullptr;
    std::string path(exe, static_cast<std::size_t>(n));
    path.erase(path.rfind('/') + 1);
    for (const char* folder : {"", "../"}) {
        if (void* handle = dlopen((path + folder + fileName).c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    }
    return nullptr;
#endif
}

void* FindSharedLibraryExport(void* handle, const char* name) {
    if (handle == nullptr) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}
