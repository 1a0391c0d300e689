#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "scan/host_scan.h"
#include "scan/literals.h"
#include "tests/test_support.h"

namespace lanhosts {
namespace {

using test::CountingHeap;
using test::Hex;

// A fake neighbourhood and fake controls that record every call in order.
struct FakeWorld {
    std::vector<const char*> servers;  // null: an entry without a name
    std::map<std::string, std::string> addresses;
    std::map<std::string, std::string> hardware;
    std::vector<std::string> calls;
    std::int32_t rows = 0;
};
FakeWorld* g_world = nullptr;

std::string Show(const char* text) { return text ? text : "<null>"; }

std::int32_t FakeListServers(OwnedTextList& hosts) {
    g_world->calls.push_back("ListServers");
    OwnedTextList list = AllocateTextList(static_cast<std::int32_t>(g_world->servers.size()));
    for (std::size_t i = 0; i < g_world->servers.size(); ++i) {
        TextListSlots(list.get())[i] = CopyText(g_world->servers[i]).release();
    }
    hosts = std::move(list);
    return TextListCount(hosts.get());
}

OwnedText Look(const std::map<std::string, std::string>& table, const char* key) {
    auto it = table.find(key);
    return it == table.end() ? OwnedText() : CopyText(it->second.c_str());
}
OwnedText FakeHostAddress(const char* name) {
    g_world->calls.push_back("LookUpHostAddress " + Show(name));
    return Look(g_world->addresses, name);
}
OwnedText FakeHardwareAddress(const char* address) {
    g_world->calls.push_back("LookUpHardwareAddress " + Show(address));
    return Look(g_world->hardware, address);
}
std::int32_t FakeInsertRow(const char* text) {
    g_world->calls.push_back("InsertRow " + Show(text));
    return g_world->rows++;
}
void FakeSetCellText(std::int32_t row, std::int32_t column, const char* text) {
    g_world->calls.push_back("SetCellText " + std::to_string(row) + " " + std::to_string(column) + " " + Show(text));
}
std::int32_t FakeAppendStatusPane(const char* text, std::int32_t width) {
    g_world->calls.push_back("AppendStatusPane " + Show(text) + " " + std::to_string(width));
    return 0;
}
void FakeClearStatusPanes() { g_world->calls.push_back("ClearStatusPanes"); }

constexpr ScanServices kFakes = {FakeListServers,      FakeHostAddress, FakeHardwareAddress,
                                 FakeInsertRow,        FakeSetCellText, FakeAppendStatusPane,
                                 FakeClearStatusPanes};

class HostScanTest : public ::testing::Test {
protected:
    void SetUp() override { g_world = &world; }
    void TearDown() override { g_world = nullptr; }

    std::vector<std::string> Scan() {
        {
            CountingHeap heap;
            HostScan(kFakes);
            EXPECT_EQ(heap.liveBlocks(), 0) << "blocks left after the scan";
        }
        return world.calls;
    }
    static std::string Progress() { return std::string("AppendStatusPane ") + kLiterals.scanProgress + " -1"; }
    static std::string Summary(int n) {
        return std::string("AppendStatusPane ") + kLiterals.scanSuccessHead + std::to_string(n) +
               kLiterals.scanSuccessTail + " -1";
    }
    static std::vector<std::string> Row(int row, const std::string& name, const std::string& address,
                                        const std::string& hardware, bool lookups = true) {
        std::vector<std::string> calls;
        if (lookups) {
            calls.push_back("LookUpHostAddress " + name);
            calls.push_back("LookUpHardwareAddress " + address);
        }
        calls.push_back("InsertRow " + name);
        calls.push_back("SetCellText " + std::to_string(row) + " 1 " + address);
        calls.push_back("SetCellText " + std::to_string(row) + " 2 " + hardware);
        return calls;
    }
    static std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> out;
        for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    }

    FakeWorld world;
};

TEST_F(HostScanTest, NoServerEndsWithTheFailureText) {
    EXPECT_EQ(Scan(), (std::vector<std::string>{Progress(), "ListServers", "ClearStatusPanes",
                                                std::string("AppendStatusPane ") + kLiterals.scanFailure + " -1"}));
}

TEST_F(HostScanTest, OneHostGetsItsRowAndTheCount) {
    world.servers = {"\\\\PC1"};
    world.addresses = {{"PC1", "127.0.0.2"}};
    world.hardware = {{"127.0.0.2", "00-1A-2B-3C-4D-5E"}};
    EXPECT_EQ(Scan(), Concat({{Progress(), "ListServers"},
                              Row(0, "PC1", "127.0.0.2", "00-1A-2B-3C-4D-5E"),
                              {"ClearStatusPanes", Summary(1)}}));
    EXPECT_EQ(Hex(Summary(1).substr(17, 25)),
              "b6 c1 c8 a1 b3 c9 b9 a6 a3 ac b9 b2 d3 c3 31 b8 f6 d6 f7 bb fa c1 d0 b1 ed");
}

TEST_F(HostScanTest, SeveralHostsFailedLookupsDuplicatesAndFurtherFields) {
    world.servers = {"\\\\PC1", "\\\\NOWHERE", "\\\\PC2\\share\\x", "\\\\PC1"};
    world.addresses = {{"PC1", "127.0.0.2"}, {"PC2", "127.0.0.3"}};
    world.hardware = {{"127.0.0.2", "00-1A-2B-3C-4D-5E"}};
    // A failed address lookup still asks for the hardware address, with "".
    EXPECT_EQ(Scan(), Concat({{Progress(), "ListServers"},
                              Row(0, "PC1", "127.0.0.2", "00-1A-2B-3C-4D-5E"),
                              Row(1, "NOWHERE", "", ""),
                              Row(2, "PC2", "127.0.0.3", ""),
                              Row(3, "PC1", "127.0.0.2", "00-1A-2B-3C-4D-5E"),
                              {"ClearStatusPanes", Summary(4)}}));
}

// Entries that are not "\\name" come from other machines: each still gets its
// row, as reported, and the scan goes on instead of stopping the program.
TEST_F(HostScanTest, EntriesWithFewerThanThreeFieldsKeepTheirRow) {
    world.servers = {"\\\\PC1", nullptr, "PC9", "\\\\", "\\", "\\\\PC2"};
    world.addresses = {{"PC1", "127.0.0.2"}, {"PC2", "127.0.0.3"}};
    EXPECT_EQ(Scan(), Concat({{Progress(), "ListServers"},
                              Row(0, "PC1", "127.0.0.2", ""),
                              Row(1, "", "", "", false),
                              Row(2, "PC9", "", "", false),
                              Row(3, "\\\\", "", "", false),
                              Row(4, "\\", "", "", false),
                              Row(5, "PC2", "127.0.0.3", ""),
                              {"ClearStatusPanes", Summary(6)}}));
}

TEST_F(HostScanTest, AnEmptyNameFieldIsLookedUpAsTheEmptyText) {
    world.servers = {"\\\\\\x"};  // three backslashes: the third field is absent
    EXPECT_EQ(Scan(), Concat({{Progress(), "ListServers"}, Row(0, "", "", ""), {"ClearStatusPanes", Summary(1)}}));
}

TEST_F(HostScanTest, ManyHostsReleaseEverything) {
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) names.push_back("\\\\PC" + std::to_string(i));
    for (const auto& n : names) world.servers.push_back(n.c_str());
    std::vector<std::string> calls = Scan();
    EXPECT_EQ(calls.size(), 2 + 300 * 5 + 2u);
    EXPECT_EQ(calls.back(), Summary(300));
}

}  // namespace
}  // namespace lanhosts
