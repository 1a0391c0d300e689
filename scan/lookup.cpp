#include "scan/lookup.h"

#include <cstdio>
#include <cstring>

#include "scan/winsock_calls.h"

namespace lanhosts {

std::atomic<bool> winsockStarted{false};

namespace {

constexpr WORD kHostLookupVersion = MAKEWORD(1, 1);
constexpr WORD kHardwareLookupVersion = MAKEWORD(2, 1);

// One successful WSAStartup of the hardware lookup, ended on every way out.
class WinsockUse {
public:
    explicit WinsockUse(const WinsockCalls& calls) : calls_(calls) {
        WSADATA data;
        started_ = calls_.startup(kHardwareLookupVersion, &data) == 0;
    }
    ~WinsockUse() {
        if (started_) calls_.cleanup();
    }
    WinsockUse(const WinsockUse&) = delete;
    WinsockUse& operator=(const WinsockUse&) = delete;
    bool started() const { return started_; }

private:
    const WinsockCalls& calls_;
    bool started_ = false;
};

}  // namespace

void EnsureWinsockStarted() {
    if (winsockStarted.load()) return;
    WSADATA data;
    if (BoundWinsockCalls().startup(kHostLookupVersion, &data) == 0) winsockStarted.store(true);
}

OwnedText LookUpHostAddress(const char* name) {
    // Not checked: without Winsock the resolution below fails by itself.
    EnsureWinsockStarted();
    const WinsockCalls& calls = BoundWinsockCalls();
    const hostent* host = calls.getHostByName(name);
    if (!host || !host->h_addr_list || !host->h_addr_list[0]) return OwnedText();
    in_addr first;
    std::memcpy(&first, host->h_addr_list[0], sizeof first);
    // The dotted text lives in Winsock's per-thread buffer: copy it out.
    return CopyText(calls.inetNtoa(first));
}

OwnedText LookUpHardwareAddress(const char* address) {
    OwnedText result(static_cast<char*>(AllocateMemory(kHardwareAddressBlockSize)));
    std::memset(result.data(), 0, kHardwareAddressBlockSize);

    const WinsockCalls& calls = BoundWinsockCalls();
    WinsockUse use(calls);
    if (!use.started()) return result;

    // Not validated: a text that is no address fails the reverse lookup.
    const unsigned long value = calls.inetAddr(address);
    // ARP is only asked about addresses that have a name.
    if (!calls.getHostByAddr(reinterpret_cast<const char*>(&value), 4, AF_INET)) return result;

    // SendARP writes at most 6 bytes here; the returned length is not read,
    // so a short answer must leave zeros rather than stack contents.
    unsigned char hardware[8] = {};
    ULONG length = 6;
    if (BoundIpHelperCalls().sendArp(value, 0, hardware, &length) != NO_ERROR) return result;

    wsprintfA(result.data(), "%02X-%02X-%02X-%02X-%02X-%02X", hardware[0], hardware[1],
              hardware[2], hardware[3], hardware[4], hardware[5]);
    return result;
}

void EndWinsockUse() {
    // exchange: a second call, even a concurrent one, finds the flag clear.
    if (winsockStarted.exchange(false)) BoundWinsockCalls().cleanup();
}

}  // namespace lanhosts
