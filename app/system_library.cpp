#include "app/system_library.h"

#include <cstring>

namespace lanhosts {

HMODULE LoadSystemLibrary(const char* fileName) {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    std::size_t nameLength = std::strlen(fileName);
    if (length == 0 || length + 1 + nameLength + 1 > MAX_PATH) return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, fileName, nameLength + 1);
    // A full path, and no search of the library's own folder for what it
    // imports in turn.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace lanhosts
