#include "models/sharedlibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
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
    return dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
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
