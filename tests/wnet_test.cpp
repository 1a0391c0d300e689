// The neighbourhood walk: through Wine's real router and the fixture network
// provider (tests/netfixture, trees in tests/fixtures/net), and through a
// router made up here for what the real one cannot show (the arguments of
// every call, and which entries are opened).
#include <gtest/gtest.h>

#include <windows.h>
#include <winnetwk.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "scan/host_scan.h"
#include "scan/literals.h"
#include "scan/mpr_calls.h"
#include "scan/text.h"
#include "scan/wnet.h"
#include "tests/netfixture/net_fixture_stats.h"
#include "tests/test_support.h"

namespace lanhosts {
namespace {

using test::CountingHeap;

// Stands for an absent member; no remote name looks like it.
const std::string kAbsent = "<absent>";

std::vector<std::string> Members(const TextListHeader* list) {
    std::vector<std::string> members;
    for (std::int32_t i = 1; i <= TextListCount(list); ++i) {
        const char* member = TextListMember(list, i);
        members.push_back(member ? member : kAbsent);
    }
    return members;
}

std::int64_t PresentMembers(const std::vector<std::string>& names) {
    return std::count_if(names.begin(), names.end(), [](const std::string& n) { return n != kAbsent; });
}

// A list as a caller holds it before the walk: it must be released.
OwnedTextList OldList() { return SplitAtDelimiter("old,list"); }

// Puts the bound router calls back after a test.
class KeepMprCalls {
public:
    KeepMprCalls() : saved_(BoundMprCalls()) {}
    ~KeepMprCalls() { BindMprCalls(saved_); }
    KeepMprCalls(const KeepMprCalls&) = delete;
    KeepMprCalls& operator=(const KeepMprCalls&) = delete;

private:
    MprCalls saved_;
};

// ---------------------------------------------------------------------------
// Through Wine's router and the fixture provider.

std::string FixturePath(const char* file) { return std::string(LANHOSTS_FIXTURE_DIR) + "/net/" + file; }

void UseFixture(const char* file) {
    SetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", file ? FixturePath(file).c_str() : nullptr);
}

// The real router, seen through a table that forwards every call to it and
// keeps track of its handles and listings.
struct RouterRecord {
    MprCalls real{};
    std::set<HANDLE> open;
    std::int32_t maxOpen = 0;
    std::int32_t strayCloses = 0;
    // Successful listings per handle, the largest seen.
    std::vector<std::pair<HANDLE, std::int32_t>> listings;
    std::int32_t mostListingsOfOneLevel = 0;
};
RouterRecord g_router;

DWORD WINAPI RecordedOpenEnum(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEA parent, LPHANDLE handle) {
    DWORD result = g_router.real.WNetOpenEnumA(scope, type, usage, parent, handle);
    if (result == NO_ERROR) {
        g_router.open.insert(*handle);
        g_router.maxOpen = std::max(g_router.maxOpen, static_cast<std::int32_t>(g_router.open.size()));
        g_router.listings.emplace_back(*handle, 0);
    }
    return result;
}

DWORD WINAPI RecordedEnumResource(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD size) {
    DWORD result = g_router.real.WNetEnumResourceA(handle, count, buffer, size);
    if (result == NO_ERROR) {
        for (auto& [h, n] : g_router.listings) {
            if (h == handle) g_router.mostListingsOfOneLevel = std::max(g_router.mostListingsOfOneLevel, ++n);
        }
    }
    return result;
}

DWORD WINAPI RecordedCloseEnum(HANDLE handle) {
    if (g_router.open.erase(handle) == 0) ++g_router.strayCloses;
    // A closed handle's value may come back from a later open.
    g_router.listings.erase(std::remove_if(g_router.listings.begin(), g_router.listings.end(),
                                           [handle](const auto& l) { return l.first == handle; }),
                            g_router.listings.end());
    return g_router.real.WNetCloseEnum(handle);
}

class RealRouter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BindSystemMprCalls()) << "mpr.dll from the system directory";
        g_router = RouterRecord{};
        g_router.real = BoundMprCalls();
        BindMprCalls({RecordedOpenEnum, RecordedEnumResource, RecordedCloseEnum});
        HMODULE provider = GetModuleHandleA(kLanFixtureModule);
        ASSERT_NE(provider, nullptr) << "the router did not load the fixture provider (tools/wine-prefix registers it)";
        readStats_ = reinterpret_cast<LanFixtureReadStatsFn>(
            reinterpret_cast<void*>(GetProcAddress(provider, "LanFixtureReadStats")));
        ASSERT_NE(readStats_, nullptr);
        before_ = Stats();
    }
    void TearDown() override { UseFixture(nullptr); }

    LanFixtureStats Stats() const {
        LanFixtureStats stats{};
        readStats_(&stats);
        return stats;
    }

    // Every handle that the walk opened, the router's and the provider's, is
    // closed once, and the tree was read as written.
    void ExpectAllClosed() const {
        EXPECT_TRUE(g_router.open.empty()) << g_router.open.size() << " router handles left open";
        EXPECT_EQ(g_router.strayCloses, 0);
        LanFixtureStats after = Stats();
        EXPECT_EQ(after.openHandles, 0);
        EXPECT_EQ(after.badCloses, before_.badCloses);
        EXPECT_EQ(after.loadErrorLine, 0) << "the fixture file did not parse";
    }

private:
    KeepMprCalls keep_;
    LanFixtureReadStatsFn readStats_ = nullptr;
    LanFixtureStats before_{};
};

struct TreeCase {
    const char* name;
    const char* fixture;  // under fixtures/net; null: the variable unset
    std::vector<std::string> names;
};

const TreeCase kTreeCases[] = {
    {"WorkgroupsInOrder", "two-workgroups.txt", {"\\\\ALPHA", "\\\\BRAVO", "\\\\CHARLIE"}},
    {"DeniedSharesKeepTheirServers", "denied-shares.txt", {"\\\\PC1", "\\\\PC2", "\\\\PC3"}},
    {"NamelessServerIsAbsentAndNotWalked", "nameless-server.txt", {"\\\\PC1", kAbsent, "\\\\PC2"}},
    {"FailingProviderLeavesTheNext", "failing-provider.txt", {"\\\\A1", "\\\\B1"}},
    {"FailingLevelsEndOnlyThemselves", "failing-levels.txt", {"\\\\W1", "\\\\W2", "\\\\N1"}},
    {"DuplicatesKept", "duplicates.txt", {"\\\\SAME", "\\\\SAME", "\\\\OTHER"}},
    {"ConnectableServerIsNotOpened", "connectable-server.txt", {"\\\\DIRECT", "\\\\AFTER"}},
    // The source is UTF-8; the compiler writes these in code page 936, the
    // ANSI code page of the test process.
    {"NamesInTheAnsiCodePage", "chinese-names.txt", {"\\\\服务器一", "\\\\财务"}},
    {"LoopingTreeStopsAtTheDepthLimit", "loop.txt",
     // The router's list of providers is the first level.
     std::vector<std::string>(WNet::kMaxWalkDepth - 1, "\\\\LOOP")},
    {"NoFixtureNoNetwork", nullptr, {}},
    {"MissingFileNoNetwork", "no-such-file.txt", {}},
};

void PrintTo(const TreeCase& c, std::ostream* out) { *out << c.name; }

class RealRouterTrees : public RealRouter, public ::testing::WithParamInterface<TreeCase> {};

TEST_P(RealRouterTrees, CollectsTheServersAndReleasesTheOldList) {
    const TreeCase& c = GetParam();
    UseFixture(c.fixture);
    CountingHeap heap;
    {
        OwnedTextList hosts = OldList();
        WNet net;
        std::int32_t count = net.ListServers(hosts);

        EXPECT_EQ(Members(hosts.get()), c.names);
        EXPECT_EQ(count, static_cast<std::int32_t>(c.names.size()));
        // The new list and its names, nothing of the old one.
        EXPECT_EQ(heap.liveBlocks(), 1 + PresentMembers(c.names));
    }
    EXPECT_EQ(heap.liveBlocks(), 0);
    ExpectAllClosed();
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RealRouterTrees, ::testing::ValuesIn(kTreeCases),
                         [](const ::testing::TestParamInfo<TreeCase>& info) { return info.param.name; });

TEST_F(RealRouter, LoopingTreeHoldsNoMoreLevelsThanTheLimit) {
    UseFixture("loop.txt");
    OwnedTextList hosts = NewEmptyTextList();
    WNet().ListServers(hosts);
    EXPECT_EQ(g_router.maxOpen, WNet::kMaxWalkDepth);
    ExpectAllClosed();
}

std::vector<std::string> Generated(const char* prefix, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(std::string("\\\\") + prefix + std::to_string(i));
    return names;
}

TEST_F(RealRouter, LargeTreeInSeveralListingsPerLevel) {
    std::vector<std::string> expected;
    for (auto [prefix, count] : {std::pair{"PC", 600}, {"LAB", 500}, {"ROOM", 700}, {"DESK", 300}}) {
        std::vector<std::string> run = Generated(prefix, count);
        expected.insert(expected.end(), run.begin(), run.end());
    }
    UseFixture("large.txt");
    CountingHeap heap;
    {
        OwnedTextList hosts = NewEmptyTextList();
        WNet().ListServers(hosts);
        EXPECT_EQ(Members(hosts.get()), expected);

        // A 16 KB listing holds fewer than 200 of these; the largest
        // workgroup needs at least four.
        EXPECT_GE(g_router.mostListingsOfOneLevel, 4);

        // What stays is the list and one copy of each name; what the walk
        // held on the way stays small per host.
        std::int64_t bytes = kTextListHeaderSize + static_cast<std::int64_t>(sizeof(char*)) * expected.size();
        for (const std::string& name : expected) bytes += static_cast<std::int64_t>(name.size()) + 1;
        EXPECT_EQ(heap.liveBytes(), bytes);
        EXPECT_LT(heap.peakBytes(), 96 * static_cast<std::int64_t>(expected.size()));
    }
    EXPECT_EQ(heap.liveBlocks(), 0);
    ExpectAllClosed();
}

TEST_F(RealRouter, FixtureSwitchesBetweenWalks) {
    OwnedTextList hosts = NewEmptyTextList();
    UseFixture("duplicates.txt");
    WNet().ListServers(hosts);
    UseFixture("denied-shares.txt");
    WNet().ListServers(hosts);
    EXPECT_EQ(Members(hosts.get()), (std::vector<std::string>{"\\\\PC1", "\\\\PC2", "\\\\PC3"}));
    UseFixture(nullptr);
    WNet().ListServers(hosts);
    EXPECT_EQ(TextListCount(hosts.get()), 0);
    ExpectAllClosed();
}

// The scan over the real walk: one row per server of the tree, in its order.
struct ScanRecord {
    std::vector<std::string> lookups;
    std::vector<std::string> rows;
    std::vector<std::string> panes;
};
ScanRecord g_scan;

std::int32_t WalkTheNeighbourhood(OwnedTextList& hosts) { return WNet().ListServers(hosts); }
OwnedText RecordAddressLookup(const char* name) {
    g_scan.lookups.push_back(std::string("address ") + name);
    return CopyText("127.0.0.1");
}
OwnedText RecordHardwareLookup(const char* address) {
    g_scan.lookups.push_back(std::string("hardware ") + address);
    return OwnedText();
}
std::int32_t RecordRow(const char* text) {
    g_scan.rows.push_back(text);
    return static_cast<std::int32_t>(g_scan.rows.size()) - 1;
}
void RecordCell(std::int32_t row, std::int32_t column, const char* text) {
    g_scan.rows.at(static_cast<std::size_t>(row)) += "|" + std::to_string(column) + "=" + text;
}
std::int32_t RecordPane(const char* text, std::int32_t) {
    g_scan.panes.push_back(text);
    return static_cast<std::int32_t>(g_scan.panes.size()) - 1;
}
void ClearPanes() { g_scan.panes.clear(); }

TEST_F(RealRouter, HostScanListsTheFixtureServers) {
    UseFixture("two-workgroups.txt");
    g_scan = ScanRecord{};
    CountingHeap heap;
    HostScan({WalkTheNeighbourhood, RecordAddressLookup, RecordHardwareLookup, RecordRow, RecordCell, RecordPane,
              ClearPanes});

    EXPECT_EQ(g_scan.rows, (std::vector<std::string>{"ALPHA|1=127.0.0.1|2=", "BRAVO|1=127.0.0.1|2=",
                                                     "CHARLIE|1=127.0.0.1|2="}));
    EXPECT_EQ(g_scan.lookups,
              (std::vector<std::string>{"address ALPHA", "hardware 127.0.0.1", "address BRAVO", "hardware 127.0.0.1",
                                        "address CHARLIE", "hardware 127.0.0.1"}));
    std::string done = std::string(kLiterals.scanSuccessHead) + "3" + kLiterals.scanSuccessTail;
    ASSERT_EQ(g_scan.panes.size(), 1u);
    EXPECT_EQ(test::Hex(g_scan.panes[0]), test::Hex(done));
    EXPECT_EQ(heap.liveBlocks(), 0);
    ExpectAllClosed();
}

// ---------------------------------------------------------------------------
// Through a router made up here.

struct FakeEntry {
    DWORD displayType;
    DWORD usage;
    const char* remoteName;  // null: none
};

// A level, opened by the remote name of its entry (the top by none).
struct FakeLevel {
    const char* openedBy;  // null: the top level
    std::vector<FakeEntry> entries;
    DWORD openResult = NO_ERROR;
    // What the listing after the last entry returns.
    DWORD endResult = ERROR_NO_MORE_ITEMS;
    std::size_t batch = 2;
};

constexpr char kFakeProvider[] = "Fake Network";
constexpr DWORD kContainer = RESOURCEUSAGE_CONTAINER;
constexpr DWORD kConnectable = RESOURCEUSAGE_CONNECTABLE;
constexpr DWORD kServer = RESOURCEDISPLAYTYPE_SERVER;
constexpr DWORD kDomain = RESOURCEDISPLAYTYPE_DOMAIN;
constexpr DWORD kShare = RESOURCEDISPLAYTYPE_SHARE;
// What a failed open leaves in the handle: closing it is a fault.
const HANDLE kNotOpened = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(0xDEAD));

struct FakeHandle {
    const FakeLevel* level;
    std::size_t next = 0;
    bool closed = false;
    // The entry it was opened from, and its name then: it must stay put
    // until this level is closed.
    const NETRESOURCEA* parent;
    std::string parentName;
};

struct FakeRouter {
    std::vector<FakeLevel> levels;
    DWORD closeResult = NO_ERROR;

    std::vector<std::string> faults;
    std::vector<std::string> opens;  // "<top>", or the remote name of the parent
    std::vector<std::unique_ptr<FakeHandle>> handles;
    std::int32_t openNow = 0;
    std::int32_t maxOpen = 0;
};
FakeRouter g_fake;

FakeHandle* FindFakeHandle(HANDLE handle) {
    for (auto& h : g_fake.handles) {
        if (h.get() == handle) return h.get();
    }
    return nullptr;
}

DWORD WINAPI FakeOpenEnum(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEA parent, LPHANDLE handle) {
    if (scope != RESOURCE_GLOBALNET || type != RESOURCETYPE_ANY || usage != 0) {
        g_fake.faults.push_back("open with scope " + std::to_string(scope) + ", type " + std::to_string(type) +
                                ", usage " + std::to_string(usage));
    }
    std::string name = !parent ? "<top>" : parent->lpRemoteName ? parent->lpRemoteName : "<no name>";
    g_fake.opens.push_back(name);
    if (parent && (!parent->lpProvider || std::strcmp(parent->lpProvider, kFakeProvider) != 0)) {
        g_fake.faults.push_back("the entry " + name + " was not handed down whole");
    }
    *handle = kNotOpened;
    const FakeLevel* level = nullptr;
    for (const FakeLevel& l : g_fake.levels) {
        if (parent ? (l.openedBy && parent->lpRemoteName && name == l.openedBy) : !l.openedBy) level = &l;
    }
    if (!level) return ERROR_BAD_NET_NAME;
    if (level->openResult != NO_ERROR) return level->openResult;
    g_fake.handles.push_back(std::make_unique<FakeHandle>(FakeHandle{level, 0, false, parent, parent ? name : ""}));
    *handle = g_fake.handles.back().get();
    g_fake.maxOpen = std::max(g_fake.maxOpen, ++g_fake.openNow);
    return NO_ERROR;
}

DWORD WINAPI FakeEnumResource(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD size) {
    FakeHandle* h = FindFakeHandle(handle);
    if (!h || h->closed) {
        g_fake.faults.push_back("listing of a handle that is not open");
        return ERROR_INVALID_HANDLE;
    }
    if (*count != static_cast<DWORD>(-1)) g_fake.faults.push_back("count " + std::to_string(*count));
    if (*size != WNet::kLevelBufferSize) g_fake.faults.push_back("size " + std::to_string(*size));
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    if (std::any_of(bytes, bytes + WNet::kLevelBufferSize, [](unsigned char b) { return b != 0; })) {
        g_fake.faults.push_back("buffer not cleared");
    }
    const std::vector<FakeEntry>& entries = h->level->entries;
    if (h->next >= entries.size()) return h->level->endResult;

    std::size_t n = std::min(h->level->batch, entries.size() - h->next);
    auto* records = static_cast<NETRESOURCEA*>(buffer);
    char* strings = reinterpret_cast<char*>(records + n);
    auto place = [&strings](const char* text) {
        char* at = strings;
        std::strcpy(at, text);
        strings += std::strlen(text) + 1;
        return at;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const FakeEntry& e = entries[h->next + i];
        records[i].dwScope = RESOURCE_GLOBALNET;
        records[i].dwDisplayType = e.displayType;
        records[i].dwUsage = e.usage;
        records[i].lpRemoteName = e.remoteName ? place(e.remoteName) : nullptr;
        records[i].lpProvider = place(kFakeProvider);
    }
    h->next += n;
    // Both counts are in/out: what the router leaves in them is no input.
    *count = static_cast<DWORD>(n);
    *size = 1;
    return NO_ERROR;
}

DWORD WINAPI FakeCloseEnum(HANDLE handle) {
    FakeHandle* h = FindFakeHandle(handle);
    if (!h || h->closed) {
        g_fake.faults.push_back("close of a handle that is not open");
        return ERROR_INVALID_HANDLE;
    }
    if (h->parent && (!h->parent->lpRemoteName || h->parentName != h->parent->lpRemoteName)) {
        g_fake.faults.push_back("the entry " + h->parentName + " moved while its level was open");
    }
    h->closed = true;
    --g_fake.openNow;
    return g_fake.closeResult;
}

struct FakeCase {
    const char* name;
    std::vector<FakeLevel> levels;
    DWORD closeResult;
    std::vector<std::string> names;
    std::vector<std::string> opens;
};

std::vector<std::string> Repeated(const char* text, std::int32_t times) {
    return std::vector<std::string>(static_cast<std::size_t>(times), text);
}

const FakeCase kFakeCases[] = {
    {"DepthFirstInSeveralListings",
     {{nullptr, {{RESOURCEDISPLAYTYPE_NETWORK, kContainer, "NET"}}},
      {"NET", {{kDomain, kContainer, "WG1"}, {kDomain, kContainer, "WG2"}}},
      {"WG1", {{kServer, kContainer, "\\\\S1"}, {kServer, kContainer, "\\\\S2"}, {kServer, kContainer, "\\\\S3"}}},
      {"\\\\S1", {{kShare, kConnectable, "\\\\S1\\a"}, {kShare, kConnectable, "\\\\S1\\b"}}, NO_ERROR,
       ERROR_NO_MORE_ITEMS, 1},
      {"WG2", {{kServer, kContainer, "\\\\S4"}}}},
     NO_ERROR,
     {"\\\\S1", "\\\\S2", "\\\\S3", "\\\\S4"},
     {"<top>", "NET", "WG1", "\\\\S1", "\\\\S2", "\\\\S3", "WG2", "\\\\S4"}},
    {"EveryEndOfALevelClosesItAndTheWalkGoesOn",
     {{nullptr,
       {{kDomain, kContainer, "MORE"},
        {kDomain, kContainer, "BROKEN"},
        {kDomain, kContainer, "LOCKED"},
        {kDomain, kContainer, "LAST"}}},
      {"MORE", {{kServer, kContainer, "\\\\M1"}}, NO_ERROR, ERROR_MORE_DATA},
      {"BROKEN", {{kServer, kContainer, "\\\\B1"}, {kServer, kContainer, "\\\\B2"}, {kServer, kContainer, "\\\\B3"}},
       NO_ERROR, ERROR_UNEXP_NET_ERR},
      {"LOCKED", {{kServer, kContainer, "\\\\L1"}}, ERROR_ACCESS_DENIED},
      {"LAST", {{kServer, kContainer, "\\\\Z1"}}}},
     // A close that fails changes nothing.
     ERROR_INVALID_HANDLE,
     {"\\\\M1", "\\\\B1", "\\\\B2", "\\\\B3", "\\\\Z1"},
     {"<top>", "MORE", "\\\\M1", "BROKEN", "\\\\B1", "\\\\B2", "\\\\B3", "LOCKED", "LAST", "\\\\Z1"}},
    {"OnlyEntriesThatAreNotConnectableAndNamedAreOpened",
     {{nullptr,
       {{kServer, kContainer | kConnectable, "\\\\BOTH"},
        {RESOURCEDISPLAYTYPE_GENERIC, 0, "PLAIN"},
        {kShare, kConnectable, "\\\\X\\share"},
        {kServer, kContainer, nullptr},
        {kServer, kContainer, ""}}},
      {"PLAIN", {{kServer, kContainer, "\\\\UNDER"}}}},
     NO_ERROR,
     {"\\\\BOTH", "\\\\UNDER", kAbsent, kAbsent},
     {"<top>", "PLAIN", "\\\\UNDER"}},
    {"EndlessTreeStopsAtTheDepthLimit",
     {{nullptr, {{kServer, kContainer, "\\\\DEEP"}}}, {"\\\\DEEP", {{kServer, kContainer, "\\\\DEEP"}}}},
     NO_ERROR,
     Repeated("\\\\DEEP", WNet::kMaxWalkDepth),
     [] {
         std::vector<std::string> opens = Repeated("\\\\DEEP", WNet::kMaxWalkDepth);
         opens.front() = "<top>";
         return opens;
     }()},
    {"TopLevelThatDoesNotOpen", {{nullptr, {{kServer, kContainer, "\\\\NEVER"}}, ERROR_NO_NETWORK}}, NO_ERROR, {},
     {"<top>"}},
};

void PrintTo(const FakeCase& c, std::ostream* out) { *out << c.name; }

class FakeRouterWalks : public ::testing::TestWithParam<FakeCase> {
private:
    KeepMprCalls keep_;
};

TEST_P(FakeRouterWalks, PassesTheSameArgumentsEveryTimeAndClosesWhatItOpened) {
    const FakeCase& c = GetParam();
    g_fake = FakeRouter{};
    g_fake.levels = c.levels;
    g_fake.closeResult = c.closeResult;
    BindMprCalls({FakeOpenEnum, FakeEnumResource, FakeCloseEnum});
    CountingHeap heap;
    {
        OwnedTextList hosts = OldList();
        std::int32_t count = WNet().ListServers(hosts);
        EXPECT_EQ(Members(hosts.get()), c.names);
        EXPECT_EQ(count, static_cast<std::int32_t>(c.names.size()));
        EXPECT_EQ(heap.liveBlocks(), 1 + PresentMembers(c.names));
    }
    EXPECT_EQ(heap.liveBlocks(), 0);
    EXPECT_EQ(g_fake.opens, c.opens);
    EXPECT_EQ(g_fake.faults, std::vector<std::string>{});
    EXPECT_EQ(g_fake.openNow, 0);
    EXPECT_LE(g_fake.maxOpen, WNet::kMaxWalkDepth);
    for (const auto& h : g_fake.handles) EXPECT_TRUE(h->closed);
}

INSTANTIATE_TEST_SUITE_P(Trees, FakeRouterWalks, ::testing::ValuesIn(kFakeCases),
                         [](const ::testing::TestParamInfo<FakeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace lanhosts
