// Hostile neighbourhoods through the real program under Wine: names of 1 to
// 32767 bytes, names of backslashes alone, names with bytes of 0x80 and above
// (0x81 0x5C among them), servers without names, providers that fail in the
// middle of a level, a tree 16 levels deep and 5000 servers in a workgroup.
// For each, the program must not crash, must show exactly the rows its rules
// give and the count of them, must have released every block of its
// allocator once the scan is over and at the end, and must end with 0.
//
// The rules of a row: an entry that splits into fewer than three fields at
// its backslashes gets a row of the entry as reported and two empty cells;
// any other gets a row of its third field, the address that field resolves
// to and the hardware address (always empty under Wine, whose SendARP does
// not answer).
#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scan/literals.h"
#include "tests/hostile/program_run.h"

namespace lanhosts {
namespace hostile {
namespace {

std::string FixturePath(const char* name) { return std::string(LANHOSTS_FIXTURE_DIR "/net/") + name; }

std::string TempPath(const std::string& name) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    return std::string(path) + name;
}

std::string Summary(std::size_t n) {
    if (n == 0) return kLiterals.scanFailure;
    return std::string(kLiterals.scanSuccessHead) + std::to_string(n) + kLiterals.scanSuccessTail;
}

// The address the platform gives for the empty name (this computer's),
// which is what an empty third field is looked up as.
std::string EmptyNameAddress() {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    const hostent* host = gethostbyname("");
    std::string address;
    if (host && host->h_addr_list && host->h_addr_list[0]) {
        in_addr first;
        std::memcpy(&first, host->h_addr_list[0], sizeof first);
        address = inet_ntoa(first);
    }
    WSACleanup();
    return address;
}

struct Network {
    std::string fixture;  // a Windows path
    Rows rows;            // the rows the program must show
    SIZE_T cellBytes = 256;
    DWORD bound = kStartBound;
};

std::vector<std::string> Row(const std::string& name, const std::string& address = "") { return {name, address, ""}; }

// Bytes in code page 936, written as escapes so that the source says which.
const std::string kEuro = "\x80";       // € in Wine's code page 936
const std::string kPrivateFF = "\xFF";  // U+F8F5
const std::string kNoriBytes = "\x81\x5C";  // 乗
const std::string kZhongBytes = "\xD6\xD0";  // 中

// Names of these lengths (bytes), each in a workgroup of its own between a
// server before it and one after it. Under Wine the router fits the wide
// record of an entry into the caller's 16384 bytes: with this provider's name
// an ASCII remote name of 8155 bytes is the longest that fits, and a longer
// one fails the rest of its level. A name of double-byte characters of 8155
// wide characters is 16312 bytes on the ANSI side and fits as well.
Network LongNames() {
    const std::size_t lengths[] = {1, 2, 10, 11, 255, 256, 1000, 4096, 8155, 8156, 16384, 32767};
    std::ostringstream file;
    file << "provider \"Lan Fixture Network\"\n";
    Network net;
    int domain = 0;
    auto level = [&](const std::string& utf8Name, const Rows& nameRows, bool fits) {
        file << "  domain D" << ++domain << "\n"
             << "    server \\\\PC2\n"
             << "    server \"" << utf8Name << "\"\n"
             << "    server \\\\PC3\n";
        net.rows.push_back(Row("PC2", "127.0.0.3"));
        if (!fits) return;
        net.rows.insert(net.rows.end(), nameRows.begin(), nameRows.end());
        net.rows.push_back(Row("PC3", "127.0.0.4"));
    };
    for (std::size_t n : lengths) {
        std::string name;
        Rows rows;
        if (n == 1) {
            name = "A";
            rows = {Row("A")};
        } else if (n == 2) {
            name = "AB";
            rows = {Row("AB")};
        } else {
            name = "\\\\" + std::string(n - 10, 'N') + ".invalid";
            rows = {Row(name.substr(2))};
        }
        level(name, rows, n <= 8155);
    }
    std::string zhongUtf8, zhongAnsi;
    for (int i = 0; i < 8153; ++i) {
        zhongUtf8 += "\xE4\xB8\xAD";
        zhongAnsi += kZhongBytes;
    }
    level("\\\\" + zhongUtf8, {Row(zhongAnsi)}, true);
    level("\\\\" + zhongUtf8 + "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD", {}, false);

    net.fixture = TempPath("lanhosts-hostile-long-names.net");
    std::ofstream(net.fixture, std::ios::binary) << file.str();
    net.cellBytes = 40000;
    return net;
}

enum class Hostile { kLongNames, kBackslashes, kHighBytes, kNameless, kFailing, kDeep, kMany };

Network Make(Hostile which) {
    Network net;
    switch (which) {
    case Hostile::kLongNames: return LongNames();
    case Hostile::kBackslashes: {
        const std::string local = EmptyNameAddress();
        net.fixture = FixturePath("hostile-backslashes.net");
        net.rows = {Row("\\"), Row("\\\\"), Row("", local), Row("", local), Row("", local), Row("PC1", "127.0.0.2")};
        break;
    }
    case Hostile::kHighBytes:
        net.fixture = FixturePath("hostile-high-bytes.net");
        net.rows = {
            Row("PC" + kEuro),
            Row("PC" + kPrivateFF),
            Row(kZhongBytes),
            Row(kEuro),
            Row(kEuro + "\\PC1"),
            Row(kNoriBytes),
            Row(kNoriBytes + kNoriBytes),
            Row("PC1", "127.0.0.2"),
            Row(kNoriBytes + "PC2.invalid"),
            Row(kNoriBytes + "\\" + kNoriBytes),
        };
        break;
    case Hostile::kNameless:
        net.fixture = FixturePath("hostile-nameless.net");
        net.rows = {Row(""), Row("PC1", "127.0.0.2"), Row(""), Row("")};
        break;
    case Hostile::kFailing:
        net.fixture = FixturePath("hostile-failing.net");
        net.rows = {Row("PC1", "127.0.0.2"), Row("PC2", "127.0.0.3"), Row("LAB1.invalid"),
                    Row("LAB2.invalid"),     Row("LAB3.invalid"),     Row("PC3", "127.0.0.4")};
        break;
    case Hostile::kDeep:
        net.fixture = FixturePath("hostile-deep.net");
        for (int k = 1; k <= 16; ++k) net.rows.push_back(Row("LEVEL" + std::to_string(k) + ".invalid"));
        break;
    case Hostile::kMany:
        net.fixture = FixturePath("hostile-many.net");
        for (int k = 1; k <= 5000; ++k) net.rows.push_back(Row("H" + std::to_string(k) + ".invalid"));
        net.bound = 180000;
        break;
    }
    return net;
}

std::string Name(const ::testing::TestParamInfo<Hostile>& info) {
    static const char* const kNames[] = {"LongNames", "Backslashes", "HighBytes", "Nameless",
                                         "FailingMidLevel", "Deep16", "Servers5000"};
    return kNames[static_cast<int>(info.param)];
}

// The first row that differs, for a readable failure with long rows.
std::string FirstDifference(const Rows& shown, const Rows& expected) {
    for (std::size_t i = 0; i < shown.size() && i < expected.size(); ++i) {
        if (shown[i] != expected[i]) {
            std::ostringstream out;
            out << "row " << i << ": shown {";
            for (const std::string& cell : shown[i]) out << '"' << cell.substr(0, 40) << "\" (" << cell.size() << ") ";
            out << "} expected {";
            for (const std::string& cell : expected[i]) out << '"' << cell.substr(0, 40) << "\" (" << cell.size() << ") ";
            return out.str() + "}";
        }
    }
    return "rows shown " + std::to_string(shown.size()) + ", expected " + std::to_string(expected.size());
}

class HostileNetwork : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileNetwork, ShowsTheRowsOfTheRulesAndEndsWithZero) {
    const Network net = Make(GetParam());
    ProgramRun run(LANHOSTS_EXE, "", net.fixture);
    ASSERT_TRUE(run.started());
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(run.WaitForStatus(Summary(net.rows.size()), net.bound)) << run.StatusText();
    const Rows shown = run.ReadRows(net.cellBytes);
    EXPECT_TRUE(shown == net.rows) << FirstDifference(shown, net.rows);
    EXPECT_EQ(run.FindTopLevel(nullptr, kLiterals.errorTitle, false), nullptr);
    run.PressEscape();
    EXPECT_EQ(run.WaitForExit(), 0);
}

TEST_P(HostileNetwork, EveryBlockIsReleased) {
    const Network net = Make(GetParam());
    const std::string report = TempPath("lanhosts-hostile-heap.txt");
    DeleteFileA(report.c_str());
    {
        ProgramRun run(LANHOSTS_HEAP_PROBE, "\"" + report + "\"", net.fixture);
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        ASSERT_TRUE(run.WaitForStatus(Summary(net.rows.size()), net.bound)) << run.StatusText();
        EXPECT_EQ(run.ReadRows(net.cellBytes).size(), net.rows.size());
        // The worker writes its line after its last control operation.
        for (DWORD waited = 0; waited < kStartBound; waited += 50) {
            std::ifstream in(report);
            std::string line;
            if (std::getline(in, line) && line.rfind("scan ", 0) == 0) break;
            Sleep(50);
        }
        run.PressEscape();
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    std::ifstream in(report);
    std::string scan, exit;
    std::getline(in, scan);
    std::getline(in, exit);
    // When the scan returns, one block is left of all it asked for: the status
    // line's pane block, the count, one pane's three fields and its text and
    // empty tip, which the window keeps until the end.
    const std::size_t paneBlock = 4 + 12 + Summary(net.rows.size()).size() + 1 + 1;
    EXPECT_EQ(scan, "scan worker_live=1 all_live=1 sizes=" + std::to_string(paneBlock));
    EXPECT_EQ(exit, "exit all_live=0 status=0");
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileNetwork,
                         ::testing::Values(Hostile::kLongNames, Hostile::kBackslashes, Hostile::kHighBytes,
                                           Hostile::kNameless, Hostile::kFailing, Hostile::kDeep, Hostile::kMany),
                         Name);

}  // namespace
}  // namespace hostile
}  // namespace lanhosts
