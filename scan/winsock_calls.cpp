#include "scan/winsock_calls.h"

#include "app/system_library.h"

namespace lanhosts {
namespace {

using SendArpFunction = decltype(IpHelperCalls::sendArp);

struct LoadedSendArp {
    SendArpFunction function = nullptr;
    DWORD missing = NO_ERROR;  // why function is null
};

LoadedSendArp g_loadedSendArp;
INIT_ONCE g_sendArpOnce = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK LoadSendArp(PINIT_ONCE, PVOID, PVOID*) {
    HMODULE module = LoadSystemLibrary("iphlpapi.dll");
    if (!module) {
        g_loadedSendArp.missing = ERROR_MOD_NOT_FOUND;
    } else if (!BindExport(module, "SendARP", g_loadedSendArp.function)) {
        g_loadedSendArp.missing = ERROR_PROC_NOT_FOUND;
    }
    return TRUE;
}

// Loading on first use keeps a start without any host from touching the IP
// helper at all; the library is loaded exactly once whoever asks first.
DWORD WINAPI SendArpFromSystemLibrary(ULONG destination, ULONG source, void* hardwareAddress, ULONG* length) {
    InitOnceExecuteOnce(&g_sendArpOnce, LoadSendArp, nullptr, nullptr);
    if (!g_loadedSendArp.function) return g_loadedSendArp.missing;
    return g_loadedSendArp.function(destination, source, hardwareAddress, length);
}

// Plain globals, set before any second thread exists: no guarded statics.
const WinsockCalls g_systemWinsock = {WSAStartup, WSACleanup, gethostbyname, inet_ntoa, inet_addr, gethostbyaddr};
WinsockCalls g_winsock = g_systemWinsock;
constexpr IpHelperCalls kSystemIpHelper = {SendArpFromSystemLibrary};
IpHelperCalls g_ipHelper = kSystemIpHelper;

}  // namespace

void BindWinsockCalls(const WinsockCalls& calls) { g_winsock = calls; }
const WinsockCalls& BoundWinsockCalls() { return g_winsock; }
const WinsockCalls& SystemWinsockCalls() { return g_systemWinsock; }

void BindIpHelperCalls(const IpHelperCalls& calls) { g_ipHelper = calls; }
const IpHelperCalls& BoundIpHelperCalls() { return g_ipHelper; }
const IpHelperCalls& SystemIpHelperCalls() { return kSystemIpHelper; }

}  // namespace lanhosts
