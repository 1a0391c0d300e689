// Runs lanhosts.exe (and frame_probe.exe) as processes under Wine and reads
// their window back from outside, as a user would see it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scan/literals.h"
#include "tests/hostile/program_run.h"

namespace lanhosts {
namespace {

using hostile::kStartBound;
using hostile::ProgramRun;

std::string FixturePath(const char* name) { return std::string(LANHOSTS_FIXTURE_DIR "/net/") + name; }

std::string Summary(int n) {
    return std::string(kLiterals.scanSuccessHead) + std::to_string(n) + kLiterals.scanSuccessTail;
}

TEST(Program, ScanOverTheFixtureNetworkShowsItsRows) {
    ProgramRun run(LANHOSTS_EXE, "", FixturePath("program.net"));
    ASSERT_TRUE(run.started());
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(run.WaitForStatus(Summary(4))) << run.StatusText();
    std::vector<std::vector<std::string>> expected = {
        {"PC1", "127.0.0.2", ""},
        {"PC2", "127.0.0.3", ""},
        {"NOWHERE.invalid", "", ""},
        {"PC3", "127.0.0.4", ""},
    };
    EXPECT_EQ(run.ReadRows(), expected);
    char title[128] = {};
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, kLiterals.windowTitle);
    run.PressEscape();
    EXPECT_EQ(run.WaitForExit(), 0);
}

TEST(Program, NoNetworkEndsWithTheFailureText) {
    ProgramRun run(LANHOSTS_EXE, "", "");
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(run.WaitForStatus(kLiterals.scanFailure)) << run.StatusText();
    EXPECT_TRUE(run.ReadRows().empty());
    run.PressEscape();
    EXPECT_EQ(run.WaitForExit(), 0);
}

// The scan is slowed down by the provider; closing must not wait for it, and
// its late control operations must neither crash nor report.
TEST(Program, EscapeDuringTheScanEndsAtOnceWithStatusZero) {
    for (int i = 0; i < 20; ++i) {
        ProgramRun run(LANHOSTS_EXE, "", FixturePath("slow.net"));
        ASSERT_NE(run.WaitForMainWindow(), nullptr) << "run " << i;
        ASSERT_TRUE(run.WaitForStatus(kLiterals.scanProgress)) << "run " << i;
        if (i % 2) Sleep(static_cast<DWORD>(i * 15));  // close at different moments of the scan
        run.PressEscape();
        EXPECT_EQ(run.WaitForExit(), 0) << "run " << i;
        EXPECT_EQ(run.FindTopLevel(nullptr, kLiterals.errorTitle, false), nullptr) << "run " << i;
    }
}

TEST(Program, FatalReportOnTheWorkerEndsWithMinusOneAfterTheBox) {
    ProgramRun run(LANHOSTS_PROBE, "fatal-worker", "");
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND box = nullptr;
    for (DWORD waited = 0; !box && waited < kStartBound; waited += 50) {
        box = run.FindTopLevel(nullptr, kLiterals.errorTitle, true);
        if (!box) Sleep(50);
    }
    ASSERT_NE(box, nullptr);
    // While the box is up the window still answers and paints.
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
    EXPECT_EQ(run.ReadRows().size(), 1u);
    EXPECT_EQ(run.WaitForExit(300), -2) << "the process ended before the box was dismissed";
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    std::string expected = std::string(kLiterals.reportHead) + kLiterals.reportCodeLabel + "1\r\n\r\n" +
                           kLiterals.reportMessageLabel + kLiterals.errorIndexAboveRange + "\r\n";
    EXPECT_EQ(std::string(text), expected);
    char caption[64] = {};
    GetWindowTextA(box, caption, sizeof caption);
    EXPECT_STREQ(caption, kLiterals.errorTitle);
    EXPECT_NE(FindWindowExA(box, nullptr, "Static", nullptr), nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.WaitForExit(), static_cast<long>(0xFFFFFFFFul));
}

TEST(Program, FatalReportOnTheUiThreadEndsWithMinusOneAfterTheBox) {
    ProgramRun run(LANHOSTS_PROBE, "fatal-ui", "");
    HWND box = nullptr;
    for (DWORD waited = 0; !box && waited < kStartBound; waited += 50) {
        box = run.FindTopLevel(nullptr, kLiterals.errorTitle, true);
        if (!box) Sleep(50);
    }
    ASSERT_NE(box, nullptr);
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_EQ(std::string(text), std::string(kLiterals.reportHead) + kLiterals.reportCodeLabel + "4\r\n\r\n" +
                                     kLiterals.reportMessageLabel + kLiterals.errorIndexBelowOne + "\r\n");
    EXPECT_EQ(run.WaitForExit(300), -2) << "the process ended before the box was dismissed";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.WaitForExit(), static_cast<long>(0xFFFFFFFFul));
}

std::string TempFile(const char* name) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + name;
    DeleteFileA(file.c_str());
    return file;
}

std::string FirstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// A close and a fatal error on the worker meet: the close owns the end, so
// the worker's report shows no box and the status stays 0.
TEST(Program, FatalErrorDuringTheCloseShowsNoBox) {
    std::string outcome = TempFile("lanhosts-fatal-while-ending.txt");
    for (int i = 0; i < 5; ++i) {
        ProgramRun run(LANHOSTS_PROBE, "fatal-while-ending \"" + outcome + "\"", "");
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        ASSERT_TRUE(run.WaitForStatus("waiting for the close"));
        run.PressEscape();
        EXPECT_EQ(run.WaitForExit(10000), 0) << "run " << i;
        EXPECT_EQ(FirstLine(outcome), "decided=1 boxes=0 status=0") << "run " << i;
    }
}

TEST(Program, EndCallsOleUninitializeAndWsaCleanupOnce) {
    std::string countFile = TempFile("lanhosts-count-calls.txt");
    {
        ProgramRun run(LANHOSTS_PROBE, "count-calls \"" + countFile + "\"", FixturePath("program.net"));
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        ASSERT_TRUE(run.WaitForStatus(Summary(4))) << run.StatusText();
        run.PressEscape();
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    std::string line = FirstLine(countFile);
    // The lookups' own starts come in pairs; the end ends the lazy start once.
    int ole = -1, cleanup = -1, startup = -1, status = -1;
    std::sscanf(line.c_str(), "ole_uninitialize=%d wsa_cleanup=%d wsa_startup=%d status=%d", &ole, &cleanup,
                &startup, &status);
    EXPECT_EQ(ole, 1);
    EXPECT_EQ(cleanup, startup);
    EXPECT_GE(startup, 1);
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace lanhosts
