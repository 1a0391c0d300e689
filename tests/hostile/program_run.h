// A process of ours under test, started under Wine with a fixture network,
// and its main window read back from outside as a user would see it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lanhosts {
namespace hostile {

constexpr DWORD kStartBound = 30000;  // bounds for waits, not measurements
constexpr DWORD kExitBound = 5000;

using Rows = std::vector<std::vector<std::string>>;

class ProgramRun {
public:
    // Starts exe with the fixture network file ("" for none), in directory
    // (empty: the test's own).
    ProgramRun(const std::string& exe, const std::string& arguments, const std::string& fixture,
               const std::string& directory = "") {
        SetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", fixture.empty() ? nullptr : fixture.c_str());
        std::string commandLine = "\"" + exe + "\" " + arguments;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        started_ = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  directory.empty() ? nullptr : directory.c_str(), &si, &pi_) != FALSE;
        SetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", nullptr);
    }
    ~ProgramRun() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, kExitBound);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() const { return started_; }
    bool running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

    // The visible main window of the process, once it is there.
    HWND WaitForMainWindow(const char* className = "LanHostsMainWindow") {
        for (DWORD waited = 0; started_ && waited < kStartBound; waited += 20) {
            if (HWND found = FindTopLevel(className, nullptr, true)) return main_ = found;
            if (WaitForSingleObject(pi_.hProcess, 20) != WAIT_TIMEOUT) return nullptr;
        }
        return nullptr;
    }

    HWND FindTopLevel(const char* className, const char* title, bool visible) const {
        Search search = {pi_.dwProcessId, className, title, visible, nullptr};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND Child(const char* className) const { return FindWindowExA(main_, nullptr, className, nullptr); }

    // The status line's text (its first pane).
    std::string StatusText() const {
        char buffer[256] = {};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(Child(STATUSCLASSNAMEA), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                            SMTO_ABORTIFHUNG, 2000, &result);
        return buffer;
    }

    bool WaitForStatus(const std::string& text, DWORD bound = kStartBound) {
        for (DWORD waited = 0; waited < bound; waited += 50) {
            if (StatusText() == text) return true;
            if (WaitForSingleObject(pi_.hProcess, 50) != WAIT_TIMEOUT) return false;
        }
        return false;
    }

    // The rows of the host list, each cell read through memory in the
    // program, up to cellBytes - 1 bytes a cell.
    Rows ReadRows(SIZE_T cellBytes = 256) const {
        HWND list = Child(WC_LISTVIEWA);
        int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        Rows rows;
        void* remote = VirtualAllocEx(pi_.hProcess, nullptr, sizeof(LVITEMA) + cellBytes, MEM_COMMIT, PAGE_READWRITE);
        if (!remote) return rows;
        char* remoteText = static_cast<char*>(remote) + sizeof(LVITEMA);
        std::vector<char> text(cellBytes);
        for (int row = 0; row < count; ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < 3; ++column) {
                LVITEMA item = {};
                item.iSubItem = column;
                item.pszText = remoteText;
                item.cchTextMax = static_cast<int>(cellBytes);
                WriteProcessMemory(pi_.hProcess, remote, &item, sizeof item, nullptr);
                SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
                std::fill(text.begin(), text.end(), '\0');
                ReadProcessMemory(pi_.hProcess, remoteText, text.data(), cellBytes - 1, nullptr);
                cells.push_back(text.data());
            }
            rows.push_back(cells);
        }
        VirtualFreeEx(pi_.hProcess, remote, 0, MEM_RELEASE);
        return rows;
    }

    void PressEscape() const { PostMessageA(Child(WC_LISTVIEWA), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }
    void PostClose() const { PostMessageA(main_, WM_CLOSE, 0, 0); }

    // The exit status, or -2 when the process did not end within the bound.
    long WaitForExit(DWORD bound = kExitBound) const {
        if (WaitForSingleObject(pi_.hProcess, bound) != WAIT_OBJECT_0) return -2;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    struct Search {
        DWORD pid;
        const char* className;
        const char* title;
        bool visible;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND hwnd, LPARAM lParam) {
        auto* s = reinterpret_cast<Search*>(lParam);
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

    PROCESS_INFORMATION pi_ = {};
    bool started_ = false;
    HWND main_ = nullptr;
};

}  // namespace hostile
}  // namespace lanhosts
