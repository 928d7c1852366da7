// An export (CSV, PNG, Touchstone) written whole or not at all: the bytes go
// into a temporary file in the target's folder, renamed over the target only
// once all are on disk.  A failed write (a full disk) leaves the old file as
// it was; a dangling symbolic link, a link out of the folder or anything but
// a regular file is refused and nothing is created.
#pragma once

#include <string>
#include <string_view>

bool ExportFile(const std::string& path, std::string_view bytes);
