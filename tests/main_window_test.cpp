// The real MainWindow, built in this process and read back with its own
// messages: what it looks like, how its keys and its label behave.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frame.h"
#include "scan/literals.h"
#include "ui/control_registry.h"
#include "ui/main_window.h"

namespace lanhosts {
namespace {

struct Recorded {
    int created = 0;
    bool visibleWhenCreated = true;
    bool blockedWhenCreated = true;
    std::vector<std::vector<int>> presses;
};
Recorded g_recorded;

void RecordCreated() {
    ++g_recorded.created;
    g_recorded.visibleWhenCreated = IsWindowVisible(MainWindowHandle()) != FALSE;
    g_recorded.blockedWhenCreated = EventsBlocked();
}
void RecordPress(std::int32_t x, std::int32_t y, std::int32_t keys) { g_recorded.presses.push_back({x, y, keys}); }

// Runs the messages that are waiting through the window's pre-translation,
// as the program's loop does.
void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (PreTranslateMainWindowMessage(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// Holds Ctrl, Shift and Alt as given, for GetKeyState on this thread.
void SetModifiers(bool ctrl, bool shift, bool alt) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    auto set = [&keys](int key, bool down) { keys[key] = down ? 0x80 : 0; };
    set(VK_CONTROL, ctrl);
    set(VK_SHIFT, shift);
    set(VK_MENU, alt);
    SetKeyboardState(keys);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_recorded = Recorded{};
        definition_ = *LoadWindowDefinition();
        definition_.onCreated = RecordCreated;
        definition_.onLinkLabelPressed = RecordPress;
        ASSERT_TRUE(LoadMainWindow(definition_));
        main_ = MainWindowHandle();
        Pump();
    }
    void TearDown() override {
        SetModifiers(false, false, false);
        if (IsWindow(main_)) DestroyWindow(main_);
        ReleaseControlRegistry();
    }

    HWND Control(ControlId id) const { return GetDlgItem(main_, static_cast<int>(id)); }
    RECT ClientRectOf(HWND child) const {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    WindowDefinition definition_;
    HWND main_ = nullptr;
};

TEST_F(MainWindowTest, TitleSizePositionAndStyle) {
    char title[128] = {};
    GetWindowTextA(main_, title, sizeof title);
    EXPECT_STREQ(title, kLiterals.windowTitle);
    EXPECT_EQ(std::string(title).size(), 50u);

    RECT outer;
    GetWindowRect(main_, &outer);
    EXPECT_EQ(outer.right - outer.left, 378);
    EXPECT_EQ(outer.bottom - outer.top, 269);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 378) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 269) / 2);

    LONG style = GetWindowLongA(main_, GWL_STYLE);
    // Top-level windows always get WS_CLIPSIBLINGS from the system.
    EXPECT_EQ(style & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
                                                          WS_VISIBLE));
    EXPECT_EQ(GetWindowLongA(main_, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(main_, GW_OWNER), nullptr);
    EXPECT_EQ(GetClassLongA(main_, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(GetClassLongPtrA(main_, GCLP_HBRBACKGROUND), reinterpret_cast<ULONG_PTR>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetClassLongPtrA(main_, GCLP_HICON), 0u);

    // Move and Close in the system menu; no size, minimise or maximise.
    HMENU menu = GetSystemMenu(main_, FALSE);
    EXPECT_EQ(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(MainWindowTest, IconsBigAndSmall) {
    struct Case {
        WPARAM which;
        int size;
    } cases[] = {{ICON_BIG, 32}, {ICON_SMALL, 16}};
    for (const Case& c : cases) {
        HICON icon = reinterpret_cast<HICON>(SendMessageA(main_, WM_GETICON, c.which, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, c.size);
        EXPECT_EQ(bitmap.bmHeight, c.size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(MainWindowTest, ControlsRectanglesAndZOrder) {
    HWND list = Control(ControlId::kHostList);
    HWND status = Control(ControlId::kStatusLine);
    HWND label = Control(ControlId::kLinkLabel);
    ASSERT_TRUE(list && status && label);
    char name[64];
    GetClassNameA(list, name, sizeof name);
    EXPECT_STREQ(name, "SysListView32");
    GetClassNameA(status, name, sizeof name);
    EXPECT_STREQ(name, "msctls_statusbar32");

    struct Case {
        HWND hwnd;
        RECT expected;
    } cases[] = {{list, {0, 0, 368, 200}}, {label, {123, 205, 227, 220}}};
    for (const Case& c : cases) {
        RECT r = ClientRectOf(c.hwnd);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
    // The status line docks itself along the bottom, as wide as the client.
    RECT client;
    GetClientRect(main_, &client);
    RECT bar = ClientRectOf(status);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(bar.bottom, client.bottom);

    // Label on top, then the status line, then the list.
    EXPECT_EQ(GetWindow(main_, GW_CHILD), label);
    EXPECT_EQ(GetWindow(label, GW_HWNDNEXT), status);
    EXPECT_EQ(GetWindow(status, GW_HWNDNEXT), list);
    for (HWND child : {list, status, label}) EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_NE(GetWindowLongA(list, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongA(label, GWL_STYLE) & WS_TABSTOP, 0);
}

TEST_F(MainWindowTest, CreatedEventRunsOnceBeforeTheWindowIsShown) {
    EXPECT_EQ(g_recorded.created, 1);
    EXPECT_FALSE(g_recorded.visibleWhenCreated);
    EXPECT_FALSE(g_recorded.blockedWhenCreated);
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_FALSE(EventsBlocked());
}

TEST_F(MainWindowTest, FocusGoesToTheHostListAndTabKeepsItThere) {
    SetForegroundWindow(main_);
    SetFocus(main_);
    Pump();
    HWND list = Control(ControlId::kHostList);
    EXPECT_EQ(GetFocus(), list);
    for (bool shift : {false, true}) {
        SetModifiers(false, shift, false);
        PostMessageA(list, WM_KEYDOWN, VK_TAB, 0);
        Pump();
        EXPECT_EQ(GetFocus(), list);
    }
}

TEST_F(MainWindowTest, EscapeWithoutModifiersCloses) {
    struct Case {
        bool ctrl, shift, alt;
        UINT message;
        bool closes;
    } cases[] = {
        {true, false, false, WM_KEYDOWN, false},
        {false, true, false, WM_KEYDOWN, false},
        {false, false, true, WM_SYSKEYDOWN, false},
        {false, false, false, WM_KEYDOWN, true},
    };
    HWND list = Control(ControlId::kHostList);
    for (const Case& c : cases) {
        SetModifiers(c.ctrl, c.shift, c.alt);
        PostMessageA(list, c.message, VK_ESCAPE, 0);
        Pump();
        EXPECT_EQ(IsWindow(main_) == FALSE, c.closes) << c.ctrl << c.shift << c.alt;
    }
    // Gone from the registry: nothing is loaded any more.
    EXPECT_FALSE(AnyWindowLoaded());
}

TEST_F(MainWindowTest, LabelPressReachesItsHandlerOnlyForALeftPress) {
    HWND label = Control(ControlId::kLinkLabel);
    SetModifiers(true, false, true);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
    PostMessageA(label, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 7));
    PostMessageA(label, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 7));
    PostMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(6, 7));
    Pump();
    SetModifiers(false, true, false);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0xFFFF, 0xFFFE));
    Pump();
    EXPECT_EQ(g_recorded.presses, (std::vector<std::vector<int>>{{5, 7, kKeyCtrl | kKeyAlt}, {0xFFFF, -2, kKeyShift}}));

    // While events are blocked (a fatal report is up) a press does nothing.
    RaiseEventBlock();
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    Pump();
    LowerEventBlock();
    EXPECT_EQ(g_recorded.presses.size(), 2u);
}

TEST_F(MainWindowTest, BackgroundIsButtonFace) {
    SetWindowPos(main_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    RECT client;
    GetClientRect(main_, &client);
    // The strip right of the list and left of the status line's top.
    HDC dc = GetDC(main_);
    COLORREF pixel = GetPixel(dc, client.right - 2, 100);
    ReleaseDC(main_, dc);
    EXPECT_EQ(pixel, GetSysColor(COLOR_BTNFACE));
}

// The program's folder becomes the current directory; code page 936 paths
// may hold a trail byte 0x5C that is no backslash.
TEST(ProgramDirectory, CutsAtTheLastRealBackslash) {
    struct Case {
        const char* path;
        const char* directory;
    } cases[] = {
        {"C:\\Tools\\lanhosts.exe", "C:\\Tools"},
        {"C:\\lanhosts.exe", "C:"},
        {"C:\\\x81\x5c\\lanhosts.exe", "C:\\\x81\x5c"},
        {"C:\\dir\\\x81\x5c.exe", "C:\\dir"},
        {"lanhosts.exe", ""},
    };
    for (const Case& c : cases) {
        char path[MAX_PATH];
        lstrcpynA(path, c.path, MAX_PATH);
        CutToDirectory(path);
        EXPECT_STREQ(path, c.directory) << c.path;
    }
}

}  // namespace
}  // namespace lanhosts
