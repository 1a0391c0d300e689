// The host and hardware address lookups: against Winsock under Wine, where
// names come from the fixture hosts file, and against replaced call tables for
// what Wine cannot produce (a failing start, an ARP answer).
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "scan/lookup.h"
#include "scan/winsock_calls.h"
#include "tests/test_support.h"

namespace lanhosts {
namespace {

using test::CatchFatal;
using test::CountingHeap;
using test::FatalStop;
using test::Hex;

// Network byte order, as inet_addr gives it.
ULONG Ipv4(unsigned a, unsigned b, unsigned c, unsigned d) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    ULONG value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

std::string Bytes(const char* block, std::size_t count) { return std::string(block, count); }

class ScopedWinsockCalls {
public:
    explicit ScopedWinsockCalls(const WinsockCalls& calls) : previous_(BoundWinsockCalls()) { BindWinsockCalls(calls); }
    ~ScopedWinsockCalls() { BindWinsockCalls(previous_); }
    ScopedWinsockCalls(const ScopedWinsockCalls&) = delete;
    ScopedWinsockCalls& operator=(const ScopedWinsockCalls&) = delete;

private:
    WinsockCalls previous_;
};

class ScopedIpHelperCalls {
public:
    explicit ScopedIpHelperCalls(const IpHelperCalls& calls) : previous_(BoundIpHelperCalls()) {
        BindIpHelperCalls(calls);
    }
    ~ScopedIpHelperCalls() { BindIpHelperCalls(previous_); }
    ScopedIpHelperCalls(const ScopedIpHelperCalls&) = delete;
    ScopedIpHelperCalls& operator=(const ScopedIpHelperCalls&) = delete;

private:
    IpHelperCalls previous_;
};

// Fills every new block with 0xCD, so that a block the lookup does not clear
// shows its garbage instead of whatever zeros malloc happened to return.
class PoisonedHeap {
public:
    PoisonedHeap() : previous_(BoundHeap()) {
        Under() = previous_;
        BindHeap({Allocate, previous_.reallocate, previous_.release});
    }
    ~PoisonedHeap() { BindHeap(previous_); }
    PoisonedHeap(const PoisonedHeap&) = delete;
    PoisonedHeap& operator=(const PoisonedHeap&) = delete;

private:
    static HeapCalls& Under() {
        static HeapCalls under;
        return under;
    }
    static void* Allocate(std::size_t size) {
        void* block = Under().allocate(size);
        if (block) std::memset(block, 0xCD, size);
        return block;
    }
    HeapCalls previous_;
};

// --- Recorded ARP requests (Wine has no SendARP of its own) ---------------

struct ArpRecord {
    int requests = 0;
    ULONG destination = 0;
    ULONG source = 0xFFFFFFFF;
    ULONG lengthOnEntry = 0;
    std::string bufferOnEntry;
    // What the answer writes into the buffer, and the status it returns.
    std::string answer = std::string("\x00\x1A\x2B\x3C\x4D\x5E", 6);
    DWORD status = NO_ERROR;
    std::vector<std::string>* callLog = nullptr;
};
ArpRecord& Arp() {
    static ArpRecord record;
    return record;
}

DWORD WINAPI RecordedSendArp(ULONG destination, ULONG source, void* hardwareAddress, ULONG* length) {
    ArpRecord& r = Arp();
    ++r.requests;
    if (r.callLog) r.callLog->push_back("SendARP");
    r.destination = destination;
    r.source = source;
    r.lengthOnEntry = *length;
    r.bufferOnEntry = Bytes(static_cast<const char*>(hardwareAddress), 8);
    std::memcpy(hardwareAddress, r.answer.data(), r.answer.size());
    *length = static_cast<ULONG>(r.answer.size());
    return r.status;
}

// --- Replaced Winsock -----------------------------------------------------

// A host entry with its own storage.
class FakeHost {
public:
    explicit FakeHost(std::vector<ULONG> addresses) : addresses_(std::move(addresses)) {
        for (ULONG& a : addresses_) list_.push_back(reinterpret_cast<char*>(&a));
        list_.push_back(nullptr);
        entry_.h_name = name_;
        entry_.h_aliases = aliases_;
        entry_.h_addrtype = AF_INET;
        entry_.h_length = 4;
        entry_.h_addr_list = list_.data();
    }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;
    hostent* get() { return &entry_; }

private:
    std::vector<ULONG> addresses_;
    std::vector<char*> list_;
    char name_[8] = "fake";
    char* aliases_[1] = {nullptr};
    hostent entry_{};
};

struct WinsockRecord {
    std::vector<std::string> calls;
    std::vector<WORD> versions;
    int startFailures = 0;  // so many starts fail before one succeeds
    int inForce = 0;        // successful starts not yet cleaned up
    int cleanups = 0;
    bool cleanupWithoutStart = false;

    hostent* hostForName = nullptr;
    std::string nameAsked;
    bool ntoaGivesNothing = false;
    ULONG ntoaAsked = 0;
    char ntoaBuffer[16] = {};

    std::string addressTextAsked;
    ULONG addressValue = Ipv4(192, 168, 1, 20);
    bool reverseHasName = true;
    std::string reverseAsked;
    int reverseLength = 0;
    int reverseFamily = 0;
};
WinsockRecord& Ws() {
    static WinsockRecord record;
    return record;
}

int WSAAPI FakeStartup(WORD version, WSADATA* data) {
    WinsockRecord& r = Ws();
    r.calls.push_back("WSAStartup");
    r.versions.push_back(version);
    std::memset(data, 0, sizeof *data);
    if (r.startFailures > 0) {
        --r.startFailures;
        return WSASYSNOTREADY;
    }
    ++r.inForce;
    return 0;
}

int WSAAPI FakeCleanup() {
    WinsockRecord& r = Ws();
    r.calls.push_back("WSACleanup");
    ++r.cleanups;
    if (r.inForce == 0) {
        r.cleanupWithoutStart = true;
        return SOCKET_ERROR;
    }
    --r.inForce;
    return 0;
}

hostent* WSAAPI FakeGetHostByName(const char* name) {
    WinsockRecord& r = Ws();
    r.calls.push_back("gethostbyname");
    r.nameAsked = name ? name : "(null)";
    // Like Winsock: nothing resolves without a start in force.
    return r.inForce > 0 ? r.hostForName : nullptr;
}

char* WSAAPI FakeInetNtoa(in_addr address) {
    WinsockRecord& r = Ws();
    r.calls.push_back("inet_ntoa");
    std::memcpy(&r.ntoaAsked, &address, sizeof r.ntoaAsked);
    if (r.ntoaGivesNothing) return nullptr;
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    std::snprintf(r.ntoaBuffer, sizeof r.ntoaBuffer, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return r.ntoaBuffer;
}

unsigned long WSAAPI FakeInetAddr(const char* text) {
    WinsockRecord& r = Ws();
    r.calls.push_back("inet_addr");
    r.addressTextAsked = text ? text : "(null)";
    return r.addressValue;
}

hostent* WSAAPI FakeGetHostByAddr(const char* address, int length, int family) {
    static FakeHost named({Ipv4(192, 168, 1, 20)});
    WinsockRecord& r = Ws();
    r.calls.push_back("gethostbyaddr");
    r.reverseAsked = Bytes(address, static_cast<std::size_t>(length));
    r.reverseLength = length;
    r.reverseFamily = family;
    return r.reverseHasName && r.inForce > 0 ? named.get() : nullptr;
}

constexpr WinsockCalls kFakeWinsock = {FakeStartup,  FakeCleanup,  FakeGetHostByName,
                                       FakeInetNtoa, FakeInetAddr, FakeGetHostByAddr};

// Every test starts without the lazy start and ends with each successful
// start cleaned up exactly once, EndWinsockUse included.
class FakeLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        Ws() = WinsockRecord{};
        Arp() = ArpRecord{};
        Arp().callLog = &Ws().calls;
        winsockStarted = false;
    }
    void TearDown() override {
        EndWinsockUse();
        EXPECT_EQ(Ws().inForce, 0) << "a start without its cleanup";
        EXPECT_FALSE(Ws().cleanupWithoutStart) << "a cleanup without a start";
        EXPECT_FALSE(winsockStarted);
        Arp().callLog = nullptr;
    }

    CountingHeap heap_;
    ScopedWinsockCalls winsock_{kFakeWinsock};
    ScopedIpHelperCalls ipHelper_{{RecordedSendArp}};
};

// --- Host address lookup, replaced Winsock ---------------------------------

TEST_F(FakeLookupTest, FailedStartIsTriedAgainAndSuccessfulStartIsKept) {
    FakeHost pc1({Ipv4(10, 1, 2, 3)});
    Ws().hostForName = pc1.get();
    Ws().startFailures = 1;

    EXPECT_TRUE(LookUpHostAddress("PC1").absent());
    EXPECT_FALSE(winsockStarted);

    EXPECT_STREQ(LookUpHostAddress("PC1").get(), "10.1.2.3");
    EXPECT_TRUE(winsockStarted);

    EXPECT_STREQ(LookUpHostAddress("PC1").get(), "10.1.2.3");
    EXPECT_TRUE(winsockStarted);
    // One failed and one successful start, both for version 1.1; none after.
    EXPECT_EQ(Ws().versions, (std::vector<WORD>{0x0101, 0x0101}));
    EXPECT_EQ(Ws().cleanups, 0) << "the lazy start lasts until the end";
}

TEST_F(FakeLookupTest, HostEntries) {
    FakeHost twoAddresses({Ipv4(10, 1, 2, 3), Ipv4(10, 9, 9, 9)});
    FakeHost noAddresses(std::vector<ULONG>{});
    FakeHost highBytes({Ipv4(255, 254, 0, 1)});
    struct Case {
        const char* what;
        hostent* entry;
        bool ntoaGivesNothing;
        const char* expected;  // null: the absent text
    };
    const Case cases[] = {
        {"first of two addresses", twoAddresses.get(), false, "10.1.2.3"},
        {"address bytes above 127", highBytes.get(), false, "255.254.0.1"},
        {"name does not resolve", nullptr, false, nullptr},
        {"entry without addresses", noAddresses.get(), false, nullptr},
        {"inet_ntoa gives no text", twoAddresses.get(), true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ws().hostForName = c.entry;
        Ws().ntoaGivesNothing = c.ntoaGivesNothing;
        OwnedText address = LookUpHostAddress("PC1");
        if (c.expected) {
            EXPECT_STREQ(address.get(), c.expected);
        } else {
            EXPECT_TRUE(address.absent()) << address.get();
        }
        EXPECT_EQ(heap_.liveBlocks(), c.expected ? 1 : 0);
    }
    EXPECT_EQ(heap_.liveBlocks(), 0);
}

TEST_F(FakeLookupTest, NameIsPassedUnchanged) {
    FakeHost host({Ipv4(10, 1, 2, 3)});
    Ws().hostForName = host.get();
    // The empty name is asked, not rejected; a double-byte name keeps its
    // 0x5C trail byte.
    for (const char* name : {"PC1", "", "\x81\x5C"}) {
        SCOPED_TRACE(Hex(name));
        EXPECT_STREQ(LookUpHostAddress(name).get(), "10.1.2.3");
        EXPECT_EQ(Ws().nameAsked, name);
    }
}

TEST_F(FakeLookupTest, HostAddressIsAFreshCopy) {
    FakeHost host({Ipv4(10, 1, 2, 3)});
    Ws().hostForName = host.get();
    OwnedText address = LookUpHostAddress("PC1");
    // Winsock reuses its buffer at the next conversion.
    std::memset(Ws().ntoaBuffer, 'x', sizeof Ws().ntoaBuffer - 1);
    EXPECT_STREQ(address.get(), "10.1.2.3");
    EXPECT_EQ(heap_.liveBytes(), 9);
    address.reset();
    EXPECT_EQ(heap_.liveBlocks(), 0);
}

// --- Hardware address lookup, replaced Winsock and IP helper ---------------

TEST_F(FakeLookupTest, HardwareAddressFormat) {
    struct Case {
        std::string answer;  // bytes SendARP writes
        const char* expected;
    };
    const Case cases[] = {
        {std::string("\x00\x1A\x2B\x3C\x4D\x5E", 6), "00-1A-2B-3C-4D-5E"},
        {std::string("\x0A\x0B\x0C\x0D\x0E\x0F", 6), "0A-0B-0C-0D-0E-0F"},
        {std::string("\xFF\xA0\xB1\xC2\xD3\xE4", 6), "FF-A0-B1-C2-D3-E4"},
        // Only bytes 0 to 5 count, whatever else is written.
        {std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), "01-02-03-04-05-06"},
        // A success that writes nothing leaves the cleared buffer.
        {std::string(), "00-00-00-00-00-00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Arp() = ArpRecord{};
        Arp().answer = c.answer;
        OwnedText hardware = LookUpHardwareAddress("192.168.1.20");
        EXPECT_STREQ(hardware.get(), c.expected);
        EXPECT_EQ(Bytes(hardware.get() + 17, 3), std::string(3, '\0'));
        EXPECT_EQ(heap_.liveBlocks(), 1);
        EXPECT_EQ(heap_.liveBytes(), kHardwareAddressBlockSize);

        EXPECT_EQ(Arp().requests, 1);
        EXPECT_EQ(Arp().destination, Ipv4(192, 168, 1, 20)) << "the value inet_addr gave";
        EXPECT_EQ(Arp().source, 0u);
        EXPECT_EQ(Arp().lengthOnEntry, 6u);
        EXPECT_EQ(Hex(Arp().bufferOnEntry), Hex(std::string(8, '\0')));
    }
}

TEST_F(FakeLookupTest, HardwareLookupAsksForTheConvertedAddress) {
    // The text goes to inet_addr unchecked, the empty one included; what it
    // gives is what the reverse lookup gets.
    for (const char* text : {"192.168.1.20", "", "PC1"}) {
        SCOPED_TRACE(text);
        Ws().versions.clear();
        LookUpHardwareAddress(text);
        EXPECT_EQ(Ws().addressTextAsked, text);
        EXPECT_EQ(Hex(Ws().reverseAsked), "c0 a8 01 14");
        EXPECT_EQ(Ws().reverseLength, 4);
        EXPECT_EQ(Ws().reverseFamily, AF_INET);
        EXPECT_EQ(Ws().versions, std::vector<WORD>{0x0102});
    }
}

TEST_F(FakeLookupTest, HardwareLookupOutcomes) {
    using Calls = std::vector<std::string>;
    struct Case {
        const char* what;
        int startFailures;
        bool reverseHasName;
        DWORD arpStatus;
        Calls expectedCalls;
        int expectedCleanups;
        const char* expected;
    };
    const Case cases[] = {
        {"start fails", 1, true, NO_ERROR, Calls{"WSAStartup"}, 0, ""},
        {"no reverse name", 0, false, NO_ERROR,
         Calls{"WSAStartup", "inet_addr", "gethostbyaddr", "WSACleanup"}, 1, ""},
        {"no ARP answer", 0, true, ERROR_BAD_NET_NAME,
         Calls{"WSAStartup", "inet_addr", "gethostbyaddr", "SendARP", "WSACleanup"}, 1, ""},
        {"ARP not supported", 0, true, ERROR_NOT_SUPPORTED,
         Calls{"WSAStartup", "inet_addr", "gethostbyaddr", "SendARP", "WSACleanup"}, 1, ""},
        {"ARP answers", 0, true, NO_ERROR,
         Calls{"WSAStartup", "inet_addr", "gethostbyaddr", "SendARP", "WSACleanup"}, 1, "00-1A-2B-3C-4D-5E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ws().calls.clear();
        Ws().cleanups = 0;
        Ws().startFailures = c.startFailures;
        Ws().reverseHasName = c.reverseHasName;
        Arp().status = c.arpStatus;
        {
            PoisonedHeap poisoned;
            OwnedText hardware = LookUpHardwareAddress("192.168.1.20");
            ASSERT_FALSE(hardware.absent()) << "the block is the result in every case";
            EXPECT_STREQ(hardware.get(), c.expected);
            if (!*c.expected) {
                EXPECT_EQ(Hex(Bytes(hardware.get(), kHardwareAddressBlockSize)),
                          Hex(std::string(kHardwareAddressBlockSize, '\0')));
            }
            EXPECT_EQ(heap_.liveBlocks(), 1);
            EXPECT_EQ(heap_.liveBytes(), kHardwareAddressBlockSize);
        }
        EXPECT_EQ(heap_.liveBlocks(), 0) << "released by the caller";
        EXPECT_EQ(Ws().calls, c.expectedCalls);
        EXPECT_EQ(Ws().cleanups, c.expectedCleanups);
        EXPECT_EQ(Ws().inForce, 0);
        EXPECT_FALSE(winsockStarted) << "the lookup's own start is not the lazy one";
    }
}

TEST_F(FakeLookupTest, HardwareLookupLeavesTheLazyStartInForce) {
    FakeHost host({Ipv4(192, 168, 1, 20)});
    Ws().hostForName = host.get();
    ASSERT_STREQ(LookUpHostAddress("PC1").get(), "192.168.1.20");
    ASSERT_EQ(Ws().inForce, 1);

    // Each way out of the hardware lookup, with the lazy start underneath.
    struct Step {
        const char* what;
        int startFailures;
        bool reverseHasName;
        DWORD arpStatus;
    };
    const Step steps[] = {
        {"answer", 0, true, NO_ERROR},
        {"start fails", 1, true, NO_ERROR},
        {"no reverse name", 0, false, NO_ERROR},
        {"no ARP answer", 0, true, ERROR_BAD_NET_NAME},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Ws().startFailures = s.startFailures;
        Ws().reverseHasName = s.reverseHasName;
        Arp().status = s.arpStatus;
        LookUpHardwareAddress("192.168.1.20");
        EXPECT_EQ(Ws().inForce, 1);
        EXPECT_TRUE(winsockStarted);
        EXPECT_STREQ(LookUpHostAddress("PC1").get(), "192.168.1.20");
    }
    EXPECT_EQ(Ws().versions.front(), 0x0101) << "only the first start is the lazy one";
}

TEST_F(FakeLookupTest, ExhaustedMemoryStopsBeforeWinsockIsStarted) {
    CatchFatal fatal;
    heap_.failAfter(0);
    try {
        LookUpHardwareAddress("192.168.1.20");
        ADD_FAILURE() << "no fatal stop";
    } catch (const FatalStop& stop) {
        EXPECT_EQ(stop.status, -1);
        EXPECT_NE(stop.text.find("20"), std::string::npos) << stop.text;
    }
    heap_.failAfter(-1);
    EXPECT_TRUE(Ws().calls.empty());
}

// --- End of the program's use of Winsock -----------------------------------

TEST_F(FakeLookupTest, EndWinsockUse) {
    FakeHost host({Ipv4(10, 1, 2, 3)});
    struct Case {
        const char* what;
        int startFailures;
        int hostLookups;
        int hardwareLookups;
        int expectedEndCleanups;
    };
    const Case cases[] = {
        {"no lookup ran", 0, 0, 0, 0},
        {"every start failed", 99, 3, 0, 0},
        {"only hardware lookups ran", 0, 0, 2, 0},
        {"a start succeeded", 0, 2, 1, 1},
        {"a start succeeded after failures", 2, 3, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ws() = WinsockRecord{};
        Arp().callLog = &Ws().calls;
        Ws().hostForName = host.get();
        Ws().startFailures = c.startFailures;
        for (int i = 0; i < c.hostLookups; ++i) LookUpHostAddress("PC1");
        Ws().startFailures = 0;
        for (int i = 0; i < c.hardwareLookups; ++i) LookUpHardwareAddress("192.168.1.20");
        const int before = Ws().cleanups;

        EndWinsockUse();
        EndWinsockUse();  // the end sequence may run its steps twice
        EXPECT_EQ(Ws().cleanups - before, c.expectedEndCleanups);
        EXPECT_FALSE(winsockStarted);
        EXPECT_EQ(Ws().inForce, 0);
        EXPECT_FALSE(Ws().cleanupWithoutStart);
    }
}

// --- Real Winsock under Wine ------------------------------------------------

// The system's Winsock, counted, with reverse lookups kept to loopback
// addresses: a test never asks a name server about any other address.
struct RealRecord {
    int inForce = 0;
    bool cleanupWithoutStart = false;
    std::vector<std::string> reverseAsked;
};
RealRecord& Real() {
    static RealRecord record;
    return record;
}

int WSAAPI CountedStartup(WORD version, WSADATA* data) {
    int status = SystemWinsockCalls().startup(version, data);
    if (status == 0) ++Real().inForce;
    return status;
}

int WSAAPI CountedCleanup() {
    if (Real().inForce == 0) Real().cleanupWithoutStart = true;
    --Real().inForce;
    return SystemWinsockCalls().cleanup();
}

hostent* WSAAPI LoopbackOnlyGetHostByAddr(const char* address, int length, int family) {
    Real().reverseAsked.push_back(Hex(Bytes(address, static_cast<std::size_t>(length))));
    if (length != 4 || family != AF_INET || static_cast<unsigned char>(address[0]) != 127) return nullptr;
    return SystemWinsockCalls().getHostByAddr(address, length, family);
}

WinsockCalls RealWinsock() {
    WinsockCalls calls = SystemWinsockCalls();
    calls.startup = CountedStartup;
    calls.cleanup = CountedCleanup;
    calls.getHostByAddr = LoopbackOnlyGetHostByAddr;
    return calls;
}

class RealWinsockTest : public ::testing::Test {
protected:
    void SetUp() override {
        Real() = RealRecord{};
        Arp() = ArpRecord{};
        winsockStarted = false;
    }
    void TearDown() override {
        EndWinsockUse();
        EXPECT_EQ(Real().inForce, 0) << "a start without its cleanup";
        EXPECT_FALSE(Real().cleanupWithoutStart) << "a cleanup without a start";
    }

    CountingHeap heap_;
    ScopedWinsockCalls winsock_{RealWinsock()};
    ScopedIpHelperCalls ipHelper_{{RecordedSendArp}};
};

TEST_F(RealWinsockTest, FixtureNameHasTwoAddresses) {
    // Without it the first-address case below would prove nothing: glibc lists
    // every hosts line of a name only with "multi on" in host.conf.
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    const hostent* host = gethostbyname("MULTIHOME");
    ASSERT_NE(host, nullptr);
    ASSERT_NE(host->h_addr_list[0], nullptr);
    EXPECT_NE(host->h_addr_list[1], nullptr) << "MULTIHOME gives one address only";
    WSACleanup();
}

TEST_F(RealWinsockTest, HostAddresses) {
    struct Case {
        const char* name;
        const char* expected;  // null: the absent text
    };
    // In this order: a lookup after one that failed works as before.
    const Case cases[] = {
        {"PC1", "127.0.0.2"},
        {"nohost.invalid", nullptr},
        {"PC2", "127.0.0.3"},
        {"MULTIHOME", "127.0.0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OwnedText address = LookUpHostAddress(c.name);
        if (c.expected) {
            EXPECT_STREQ(address.get(), c.expected);
        } else {
            EXPECT_TRUE(address.absent()) << address.get();
        }
        EXPECT_TRUE(winsockStarted);
    }
    EXPECT_EQ(Real().inForce, 1);
    EXPECT_EQ(heap_.liveBlocks(), 0);
}

TEST_F(RealWinsockTest, ReverseNameGatesTheArpRequest) {
    struct Case {
        const char* address;
        bool arpAsked;
        const char* expected;
    };
    const Case cases[] = {
        {"127.0.0.2", true, "00-1A-2B-3C-4D-5E"},  // PC1
        {"127.0.0.9", false, ""},                  // no name in the hosts file
        {"", false, ""},
        {"PC1", false, ""},  // a name is not an address
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        Arp().requests = 0;
        OwnedText hardware = LookUpHardwareAddress(c.address);
        EXPECT_STREQ(hardware.c_str(), c.expected);
        EXPECT_EQ(Arp().requests, c.arpAsked ? 1 : 0);
        if (c.arpAsked) {
            EXPECT_EQ(Arp().destination, Ipv4(127, 0, 0, 2));
        }
        EXPECT_EQ(Real().inForce, 0);
        EXPECT_EQ(heap_.liveBytes(), kHardwareAddressBlockSize);
    }
    EXPECT_EQ(heap_.liveBlocks(), 0);
    EXPECT_FALSE(winsockStarted);
    ASSERT_FALSE(Real().reverseAsked.empty());
    EXPECT_EQ(Real().reverseAsked[0], "7f 00 00 02");
}

TEST_F(RealWinsockTest, HardwareLookupsKeepTheLazyStart) {
    EXPECT_STREQ(LookUpHostAddress("PC1").get(), "127.0.0.2");
    EXPECT_STREQ(LookUpHardwareAddress("127.0.0.2").get(), "00-1A-2B-3C-4D-5E");
    EXPECT_STREQ(LookUpHardwareAddress("127.0.0.9").get(), "");
    // Winsock is still started for the host lookup, which does not start it
    // again.
    EXPECT_EQ(Real().inForce, 1);
    EXPECT_STREQ(LookUpHostAddress("PC3").get(), "127.0.0.4");
    EXPECT_EQ(Real().inForce, 1);
}

// --- The system's IP helper --------------------------------------------------

TEST(SystemIpHelper, SendArpIsLoadedFromTheSystem) {
    unsigned char hardware[8] = {};
    ULONG length = 6;
    // Loopback only. Wine's own SendARP answers ERROR_NOT_SUPPORTED; a library
    // or export that was not found would answer these two codes instead.
    DWORD status = SystemIpHelperCalls().sendArp(Ipv4(127, 0, 0, 2), 0, hardware, &length);
    EXPECT_NE(status, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_NE(status, static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

}  // namespace
}  // namespace lanhosts
