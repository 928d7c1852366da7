// The session message bus at program start.  With no bus address in the
// environment and no bus socket in the runtime folder, the D-Bus library asks
// `dbus-launch` for a bus: the accessibility bridge, started with the first
// window, then forks the whole program and tries to run that launcher from
// every folder on the PATH, while the window waits.  Where no launcher is
// installed the attempt can only fail, and no bus (so no screen reader) is
// reachable either way: the bus is then named as unreachable at once.
#pragma once

// An address that no bus listens on.
inline constexpr const char* kUnreachableBusAddress = "unix:path=/nonexistent/session-bus";

// Whether a session bus may be found: an address is given (even an empty
// one), `runtimeFolder`/bus exists, or an executable dbus-launch is in
// /usr/bin or on `searchPath` (colon-separated, an empty entry meaning the
// current folder).  Null arguments are unset variables.
bool SessionBusMayBeFound(const char* address, const char* runtimeFolder, const char* searchPath);

// Sets DBUS_SESSION_BUS_ADDRESS to kUnreachableBusAddress when no session
// bus may be found for this process's environment.  Call before any thread
// starts: it changes the environment.
void NameUnreachableSessionBus();
