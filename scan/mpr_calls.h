// The network provider router (MPR) calls that the neighbourhood walk makes.
// Bound once at start-up from the system directory's mpr.dll; tests replace
// the table to see the exact arguments.
#pragma once

#include <windows.h>
#include <winnetwk.h>

namespace lanhosts {

struct MprCalls {
    DWORD(WINAPI* WNetOpenEnumA)(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEA parent, LPHANDLE handle);
    DWORD(WINAPI* WNetEnumResourceA)(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD bufferSize);
    DWORD(WINAPI* WNetCloseEnum)(HANDLE handle);
};

// Loads mpr.dll from the system directory and binds its three calls. On
// false (no library, or an export missing) the table keeps calls that report
// no network, so a walk finds nothing. The library stays loaded for the life
// of the process.
bool BindSystemMprCalls();
void BindMprCalls(const MprCalls& calls);
const MprCalls& BoundMprCalls();

}  // namespace lanhosts
