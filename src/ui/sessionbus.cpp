#include "ui/sessionbus.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

bool HasLauncher(const std::string& folder) {
    const std::string file = (folder.empty() ? std::string(".") : folder) + "/dbus-launch";
    return ::access(file.c_str(), X_OK) == 0;
}

} // namespace

bool SessionBusMayBeFound(const char* address, const char* runtimeFolder,
                          const char* searchPath) {
    if (address != nullptr) return true;
    std::error_code ignored;
    if (runtimeFolder != nullptr && *runtimeFolder != '\0' &&
        std::filesystem::exists(std::filesystem::path(runtimeFolder) / "bus", ignored))
        return true;
    // The library's own folder first, then the search path as execvp has it.
    if (HasLauncher("/usr/bin")) return true;
    std::string_view rest = searchPath != nullptr ? searchPath : "/bin:/usr/bin";
    for (;;) {
        const std::size_t colon = rest.find(':');
        if (HasLauncher(std::string(rest.substr(0, colon)))) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}

void NameUnreachableSessionBus() {
    if (!SessionBusMayBeFound(std::getenv("DBUS_SESSION_BUS_ADDRESS"),
                              std::getenv("XDG_RUNTIME_DIR"), std::getenv("PATH")))
        ::setenv("DBUS_SESSION_BUS_ADDRESS", kUnreachableBusAddress, 0);
}
