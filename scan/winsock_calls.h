// The platform calls of the two lookups, one table per platform library, so
// that tests can put recorded or failing calls in their place. Bind before the
// scan's worker thread starts; the lookups only read the tables.
#pragma once

#include <winsock2.h>
#include <windows.h>

namespace lanhosts {

// Winsock (ws2_32, a known DLL, imported directly).
struct WinsockCalls {
    int(WSAAPI* startup)(WORD version, WSADATA* data);
    int(WSAAPI* cleanup)();
    hostent*(WSAAPI* getHostByName)(const char* name);
    char*(WSAAPI* inetNtoa)(in_addr address);
    unsigned long(WSAAPI* inetAddr)(const char* text);
    hostent*(WSAAPI* getHostByAddr)(const char* address, int length, int family);
};

// The IP helper (iphlpapi). Addresses are IPv4 in network byte order.
struct IpHelperCalls {
    DWORD(WINAPI* sendArp)(ULONG destination, ULONG source, void* hardwareAddress, ULONG* length);
};

void BindWinsockCalls(const WinsockCalls& calls);
const WinsockCalls& BoundWinsockCalls();
// The ws2_32 exports; the binding the program starts with.
const WinsockCalls& SystemWinsockCalls();

void BindIpHelperCalls(const IpHelperCalls& calls);
const IpHelperCalls& BoundIpHelperCalls();
// The binding the program starts with. iphlpapi.dll is loaded from the system
// directory at the first ARP request, once per process, and stays loaded. When
// the library or its SendARP export is missing, every request fails with
// ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND.
const IpHelperCalls& SystemIpHelperCalls();

}  // namespace lanhosts
