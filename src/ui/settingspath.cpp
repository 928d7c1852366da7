#include "ui/settingspath.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

std::string ExecutableFolder() {
    std::vector<char> buffer(2048);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return "";
        if (static_cast<std::size_t>(n) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(n));
            const std::size_t slash = path.rfind('/');
            return slash == std::string::npos ? "" : path.substr(0, slash == 0 ? 1 : slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

// The private library folder of an installed Tavrel, relative to its bin folder.
#ifndef TAVREL_LIBRARY_ARCHITECTURE
#define TAVREL_LIBRARY_ARCHITECTURE ""
#endif
const std::string kInstalledLibraryFolder = std::string(TAVREL_LIBRARY_ARCHITECTURE).empty()
                                                ? "../lib/tavrel"
                                                : "../lib/" TAVREL_LIBRARY_ARCHITECTURE "/tavrel";

} // namespace

std::string SettingsFilePath(const std::string& executableFolder, const char* xdgConfigHome,
                             const char* home) {
    const auto join = [](const std::string& folder, const std::string& name) {
        return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
    };
    // An installed program (its coplanar library in ../lib/<triplet>/tavrel)
    // never writes into its own folder, not even as root; a build tree or a
    // portable copy keeps its settings beside it while that folder is writable.
    const bool installed = !executableFolder.empty() &&
                           ::access(join(executableFolder, kInstalledLibraryFolder).c_str(), F_OK) == 0;
    if (!executableFolder.empty() && !installed &&
        ::access(executableFolder.c_str(), W_OK | X_OK) == 0)
        return join(executableFolder, kSettingsFileName);

    std::string config;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        config = xdgConfigHome;
    } else {
        std::string homeFolder = home != nullptr && home[0] == '/' ? home : "";
        if (homeFolder.empty()) {
            if (const passwd* user = ::getpwuid(::getuid());
                user != nullptr && user->pw_dir != nullptr)
                homeFolder = user->pw_dir;
        }
        if (homeFolder.empty()) return join(executableFolder, kSettingsFileName);
        config = join(homeFolder, ".config");
    }
    return join(join(config, "tavrel"), kSettingsFileName);
}

std::string DefaultSettingsFilePath() {
    return SettingsFilePath(ExecutableFolder(), std::getenv("XDG_CONFIG_HOME"),
                            std::getenv("HOME"));
}
