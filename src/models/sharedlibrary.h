// Run-time loading of a shared library and look-up of its exports, the one
// place where the platform's loader (dlopen / LoadLibrary) is called.
#pragma once

#include <string>
#include <string_view>

// "name" with the platform's shared-library suffix (".so", ".dll", ".dylib").
std::string SharedLibraryFileName(std::string_view name);

// Loads the library by file name through the platform's search order (with
// an $ORIGIN run path on Linux, the folder beside the executable).  Returns
// the module handle, or nullptr when it cannot be loaded.  The library is
// never unloaded: it stays until the process ends.
void* LoadSharedLibrary(const std::string& fileName);

// The address of the export `name`, or nullptr when the library has none.
void* FindSharedLibraryExport(void* handle, const char* name);
