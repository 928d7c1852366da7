// Whether a session bus may be found at start.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "tempfolder.h"
#include "ui/sessionbus.h"

namespace {

TEST(SessionBus, FoundByAddressSocketOrLauncher) {
    TempFolder runtime, empty, tools;
    const bool systemLauncher = ::access("/usr/bin/dbus-launch", X_OK) == 0;
    const std::string emptyPath = empty.Path() + ":" + empty.Path();
    // Nothing to find a bus with: only the library's own launcher is left.
    EXPECT_EQ(SessionBusMayBeFound(nullptr, runtime.Path().c_str(), emptyPath.c_str()),
              systemLauncher);
    EXPECT_EQ(SessionBusMayBeFound(nullptr, nullptr, emptyPath.c_str()), systemLauncher);
    EXPECT_EQ(SessionBusMayBeFound(nullptr, "", emptyPath.c_str()), systemLauncher);
    // An address, even an empty one, is the library's to judge.
    EXPECT_TRUE(SessionBusMayBeFound("", nullptr, emptyPath.c_str()));
    EXPECT_TRUE(SessionBusMayBeFound("unix:path=/run/user/1000/bus", nullptr, emptyPath.c_str()));
    // The runtime folder's socket.
    TempFolder::Write(runtime.File("bus"), "");
    EXPECT_TRUE(SessionBusMayBeFound(nullptr, runtime.Path().c_str(), emptyPath.c_str()));
    // A launcher counts where it can be run, in any folder of the path.
    TempFolder::Write(tools.File("dbus-launch"), "#!/bin/sh\n");
    const std::string withTools = empty.Path() + ":" + tools.Path();
    EXPECT_EQ(SessionBusMayBeFound(nullptr, nullptr, withTools.c_str()), systemLauncher);
    std::filesystem::permissions(tools.File("dbus-launch"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    EXPECT_TRUE(SessionBusMayBeFound(nullptr, nullptr, withTools.c_str()));
}

} // namespace
