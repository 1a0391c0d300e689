#include "scan/winsock_calls.h"

#include "app/system_library.h"

namespace lanhosts {
namespace {

WinsockCalls& WinsockTable() {
    static WinsockCalls table = SystemWinsockCalls();
    return table;
}

using SendArpFunction = decltype(IpHelperCalls::sendArp);

struct LoadedSendArp {
    SendArpFunction function = nullptr;
    DWORD missing = NO_ERROR;  // why function is null
};

LoadedSendArp LoadSendArp() {
    LoadedSendArp loaded;
    HMODULE module = LoadSystemLibrary("iphlpapi.dll");
    if (!module) {
        loaded.missing = ERROR_MOD_NOT_FOUND;
    } else if (!BindExport(module, "SendARP", loaded.function)) {
        loaded.missing = ERROR_PROC_NOT_FOUND;
    }
    return loaded;
}

// Loading on first use keeps a start without any host from touching the IP
// helper at all. The static's initialisation is thread-safe, so the library
// is loaded exactly once whoever asks first.
DWORD WINAPI SendArpFromSystemLibrary(ULONG destination, ULONG source, void* hardwareAddress, ULONG* length) {
    static const LoadedSendArp loaded = LoadSendArp();
    if (!loaded.function) return loaded.missing;
    return loaded.function(destination, source, hardwareAddress, length);
}

IpHelperCalls& IpHelperTable() {
    static IpHelperCalls table = SystemIpHelperCalls();
    return table;
}

}  // namespace

void BindWinsockCalls(const WinsockCalls& calls) { WinsockTable() = calls; }
const WinsockCalls& BoundWinsockCalls() { return WinsockTable(); }

const WinsockCalls& SystemWinsockCalls() {
    static const WinsockCalls calls = {WSAStartup, WSACleanup, gethostbyname, inet_ntoa, inet_addr, gethostbyaddr};
    return calls;
}

void BindIpHelperCalls(const IpHelperCalls& calls) { IpHelperTable() = calls; }
const IpHelperCalls& BoundIpHelperCalls() { return IpHelperTable(); }

const IpHelperCalls& SystemIpHelperCalls() {
    static const IpHelperCalls calls = {SendArpFromSystemLibrary};
    return calls;
}

}  // namespace lanhosts
