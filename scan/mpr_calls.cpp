#include "scan/mpr_calls.h"

#include "app/system_library.h"

namespace lanhosts {
namespace {

DWORD WINAPI NoNetworkOpenEnum(DWORD, DWORD, DWORD, LPNETRESOURCEA, LPHANDLE handle) {
    if (handle) *handle = nullptr;
    return ERROR_NO_NETWORK;
}
DWORD WINAPI NoNetworkEnumResource(HANDLE, LPDWORD, LPVOID, LPDWORD) { return ERROR_NO_NETWORK; }
DWORD WINAPI NoNetworkCloseEnum(HANDLE) { return ERROR_INVALID_HANDLE; }

constexpr MprCalls kNoNetwork = {NoNetworkOpenEnum, NoNetworkEnumResource, NoNetworkCloseEnum};

MprCalls g_calls = kNoNetwork;

}  // namespace

bool BindSystemMprCalls() {
    HMODULE mpr = LoadSystemLibrary("mpr.dll");
    MprCalls bound{};
    if (!BindExport(mpr, "WNetOpenEnumA", bound.WNetOpenEnumA) ||
        !BindExport(mpr, "WNetEnumResourceA", bound.WNetEnumResourceA) ||
        !BindExport(mpr, "WNetCloseEnum", bound.WNetCloseEnum)) {
        if (mpr) FreeLibrary(mpr);
        g_calls = kNoNetwork;
        return false;
    }
    g_calls = bound;
    return true;
}

void BindMprCalls(const MprCalls& calls) { g_calls = calls; }
const MprCalls& BoundMprCalls() { return g_calls; }

}  // namespace lanhosts
