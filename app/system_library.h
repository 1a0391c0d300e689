// Loading of libraries that Windows does not protect as known DLLs (MPR, the
// IP helper, the common controls): from the system directory only, never from
// the program's folder or the current directory.
#pragma once

#include <windows.h>

namespace lanhosts {

// Null when the library is not there.
HMODULE LoadSystemLibrary(const char* fileName);

// Looks up an export and casts it to the pointer type of the variable.
template <typename Fn>
bool BindExport(HMODULE module, const char* name, Fn& fn) {
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    return fn != nullptr;
}

}  // namespace lanhosts
