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

namespace lanhosts {
namespace {

constexpr DWORD kStartBound = 30000;  // bounds for waits, not measurements
constexpr DWORD kExitBound = 5000;

std::string FixturePath(const char* name) { return std::string(LANHOSTS_FIXTURE_DIR "/net/") + name; }

// A top-level window of one process, by class and title (null: any).
struct WindowSearch {
    DWORD pid;
    const char* className;
    const char* title;
    bool visible;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || (s->visible && !IsWindowVisible(hwnd))) return TRUE;
    char buffer[256] = {};
    if (s->className) {
        GetClassNameA(hwnd, buffer, sizeof buffer);
        if (std::string(buffer) != s->className) return TRUE;
    }
    if (s->title) {
        GetWindowTextA(hwnd, buffer, sizeof buffer);
        if (std::string(buffer) != s->title) return TRUE;
    }
    s->found = hwnd;
    return FALSE;
}

// A process of ours and its main window.
class ProgramRun {
public:
    // Starts exe with the given fixture network ("" for none).
    ProgramRun(const std::string& exe, const std::string& arguments, const std::string& fixture) {
        SetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", fixture.empty() ? nullptr : fixture.c_str());
        std::string commandLine = "\"" + exe + "\" " + arguments;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        started_ = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                  &pi_) != FALSE;
        SetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", nullptr);
    }
    ~ProgramRun() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() const { return started_; }

    // The visible main window of the process, once it is there.
    HWND WaitForMainWindow() {
        for (DWORD waited = 0; waited < kStartBound; waited += 20) {
            HWND found = FindTopLevel("LanHostsMainWindow", nullptr, true);
            if (found) return main_ = found;
            if (WaitForSingleObject(pi_.hProcess, 20) != WAIT_TIMEOUT) return nullptr;
        }
        return nullptr;
    }

    HWND FindTopLevel(const char* className, const char* title, bool visible) const {
        WindowSearch search = {pi_.dwProcessId, className, title, visible, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND Child(const char* className) const { return FindWindowExA(main_, nullptr, className, nullptr); }

    // The status line's text (its first pane; WM_GETTEXT crosses processes).
    std::string StatusText() const {
        char buffer[256] = {};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(Child(STATUSCLASSNAMEA), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                            SMTO_ABORTIFHUNG, 2000, &result);
        return buffer;
    }

    bool WaitForStatus(const std::string& text) {
        for (DWORD waited = 0; waited < kStartBound; waited += 50) {
            if (StatusText() == text) return true;
            if (WaitForSingleObject(pi_.hProcess, 50) != WAIT_TIMEOUT) return false;
        }
        return false;
    }

    // The rows of the host list, read through memory in the program.
    std::vector<std::vector<std::string>> Rows() const {
        HWND list = Child(WC_LISTVIEWA);
        int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        std::vector<std::vector<std::string>> rows;
        constexpr SIZE_T kText = 256;
        void* remote = VirtualAllocEx(pi_.hProcess, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE);
        if (!remote) return rows;
        char* remoteText = static_cast<char*>(remote) + sizeof(LVITEMA);
        for (int row = 0; row < count; ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < 3; ++column) {
                LVITEMA item = {};
                item.iSubItem = column;
                item.pszText = remoteText;
                item.cchTextMax = kText;
                WriteProcessMemory(pi_.hProcess, remote, &item, sizeof item, nullptr);
                SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
                char text[kText] = {};
                ReadProcessMemory(pi_.hProcess, remoteText, text, kText - 1, nullptr);
                cells.push_back(text);
            }
            rows.push_back(cells);
        }
        VirtualFreeEx(pi_.hProcess, remote, 0, MEM_RELEASE);
        return rows;
    }

    void PressEscape() const {
        HWND list = Child(WC_LISTVIEWA);
        PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    }

    // The exit status, or -2 when the process did not end within the bound.
    long WaitForExit(DWORD bound = kExitBound) const {
        if (WaitForSingleObject(pi_.hProcess, bound) != WAIT_OBJECT_0) return -2;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION pi_ = {};
    bool started_ = false;
    HWND main_ = nullptr;
};

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
    EXPECT_EQ(run.Rows(), expected);
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
    EXPECT_TRUE(run.Rows().empty());
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
    EXPECT_EQ(run.Rows().size(), 1u);
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
