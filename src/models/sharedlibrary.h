// Run-time loading of a shared library and look-up of its exports, the one
// place where the platform's loader (dlopen / LoadLibrary) is called.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// "name" with the platform's shared-library suffix (".so", ".dll", ".dylib").
std::string SharedLibraryFileName(std::string_view name);

// Loads the library `fileName` from the first of SharedLibraryFolders() that
// holds a sound copy (see LoadSharedLibraryFile).  A bare file name is never
// searched anywhere else: not in the current folder, not through
// LD_LIBRARY_PATH or the loader cache.  An absolute path is loaded as given,
// under the same checks; any other name with a slash is refused.  Returns the
// module handle, or nullptr.  The library is never unloaded: it stays until
// the process ends.
void* LoadSharedLibrary(const std::string& fileName);

// The folders LoadSharedLibrary searches, in order: the running executable's
// own folder, then the installed library folder beside it,
// <bin>/../lib/<multiarch>/tavrel.  Empty when the executable's path is unknown.
std::vector<std::string> SharedLibraryFolders();

// Loads the library at `path` only when it names a regular file itself (not a
// symbolic link, FIFO, device or folder) whose ELF header, program header
// table and every segment's file bytes lie inside the file.  Anything else
// returns nullptr at once: never a hang on a FIFO, never a SIGBUS from a
// library cut short.
void* LoadSharedLibraryFile(const std::string& path);

// The address of the export `name`, or nullptr when the library has none.
void* FindSharedLibraryExport(void* handle, const char* name);
