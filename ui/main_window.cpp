#include "ui/main_window.h"

#include "app/frame.h"
#include "app/scan_thread.h"
#include "scan/literals.h"
#include "ui/host_list.h"
#include "ui/link_label.h"
#include "ui/status_line.h"
#include "ui/window_classes.h"

namespace lanhosts {
namespace {

constexpr char kClassName[] = "LanHostsMainWindow";
constexpr char kIconName[] = "DEFAULT_ICON";
constexpr UINT kZOrderFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

const WindowDefinition kMainWindowDefinition = {
    WindowId::kMainWindow,
    kLiterals.windowTitle,
    378,
    269,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    0,
    CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
    {
        {ControlKind::kListView, "超级列表框1", ControlId::kHostList, {0, 0, 368, 200}},
        {ControlKind::kStatusBar, "状态条1", ControlId::kStatusLine, {0, 197, 369, 20}},
        {ControlKind::kLabel, "标签1", ControlId::kLinkLabel, {123, 205, 104, 15}},
    },
    OnMainWindowCreated,
    OnLinkLabelPressed,
};

struct MainWindowState {
    const WindowDefinition* definition = nullptr;
    HWND hwnd = nullptr;
    HWND controls[3] = {};
    HWND lastFocus = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};
MainWindowState g_window;

HWND ControlHandle(ControlId id) {
    for (int i = 0; i < 3; ++i) {
        if (g_window.definition && g_window.definition->controls[i].id == id) return g_window.controls[i];
    }
    return nullptr;
}

bool TakesTabFocus(HWND child) {
    LONG style = GetWindowLongA(child, GWL_STYLE);
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// The controls that take the focus with Tab, in tab order (creation order).
HWND NextTabControl(HWND from, bool backwards) {
    int count = 0;
    HWND order[3];
    for (HWND child : g_window.controls) {
        if (child && TakesTabFocus(child)) order[count++] = child;
    }
    if (count == 0) return nullptr;
    int at = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i] == from) at = i;
    }
    if (at < 0) return order[backwards ? count - 1 : 0];
    return order[(at + (backwards ? count - 1 : 1)) % count];
}

bool KeyDown(int key) { return GetKeyState(key) < 0; }

std::int32_t ModifierState() {
    return (KeyDown(VK_CONTROL) ? kKeyCtrl : 0) | (KeyDown(VK_SHIFT) ? kKeyShift : 0) |
           (KeyDown(VK_MENU) ? kKeyAlt : 0);
}

bool BelongsToMainWindow(HWND hwnd) {
    return g_window.hwnd && (hwnd == g_window.hwnd || IsChild(g_window.hwnd, hwnd));
}

// ---- message handlers ----

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(hwnd, &ps);
}

void OnSize(HWND hwnd) { DockBottomControls(hwnd); }

void OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) return;
    HWND focus = GetFocus();
    if (focus && IsChild(g_window.hwnd, focus)) g_window.lastFocus = focus;
}

void OnSetFocus() {
    HWND target = g_window.lastFocus;
    if (!target || !IsWindow(target) || !IsChild(g_window.hwnd, target)) target = NextTabControl(nullptr, false);
    if (target) SetFocus(target);
}

void OnDestroy() {
    // From here on the worker's control operations find nothing to do.
    UnloadWindowControls(WindowId::kMainWindow);
}

void OnNcDestroy() {
    g_window.hwnd = nullptr;
    for (HWND& child : g_window.controls) child = nullptr;
    g_window.lastFocus = nullptr;
    NoteWindowGone();
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: OnPaint(hwnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: OnSize(hwnd); return 0;
        case WM_ACTIVATE: OnActivate(wParam); break;
        case WM_SETFOCUS: OnSetFocus(); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_NCDESTROY: OnNcDestroy(); break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void SetIcons(HWND hwnd, HINSTANCE instance) {
    if (!g_window.bigIcon) {
        g_window.bigIcon = static_cast<HICON>(LoadImageA(instance, kIconName, IMAGE_ICON, 32, 32, 0));
    }
    if (!g_window.smallIcon) {
        g_window.smallIcon = static_cast<HICON>(LoadImageA(instance, kIconName, IMAGE_ICON, 16, 16, 0));
    }
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_window.bigIcon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_window.smallIcon));
}

HWND CreateMainFrame(const WindowDefinition& d) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterWindowClassOnce(kClassName, d.classStyle, MainWindowProc)) return nullptr;
    int x = (GetSystemMetrics(SM_CXSCREEN) - d.width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - d.height) / 2;
    HWND hwnd = CreateWindowExA(d.exStyle, kClassName, d.title, d.style, x, y, d.width, d.height, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd) return nullptr;
    RECT outer;
    GetWindowRect(hwnd, &outer);
    if (outer.right - outer.left != d.width || outer.bottom - outer.top != d.height) {
        MoveWindow(hwnd, x, y, d.width, d.height, TRUE);
    }
    SetIcons(hwnd, instance);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return hwnd;
}

Control* CreateControl(const ControlDefinition& c, HWND parent) {
    RECT r = {c.rect.left, c.rect.top, c.rect.left + c.rect.right, c.rect.top + c.rect.bottom};
    int id = static_cast<int>(c.id);
    switch (c.kind) {
        case ControlKind::kListView: return CreateHostList(parent, r, id).release();
        case ControlKind::kStatusBar: return CreateStatusLine(parent, r, id).release();
        case ControlKind::kLabel: return CreateLinkLabel(parent, r, id).release();
    }
    return nullptr;
}

// Builds window and controls with events blocked; false on any failure.
bool BuildWindow(const WindowDefinition& d) {
    HWND hwnd = CreateMainFrame(d);
    if (!hwnd) return false;
    g_window.hwnd = hwnd;
    g_window.definition = &d;
    MarkWindowLoaded(d.id, hwnd);
    for (int i = 0; i < 3; ++i) {
        Control* control = CreateControl(d.controls[i], hwnd);
        if (!control) return false;
        g_window.controls[i] = control->hwnd();
        RegisterControl(d.id, d.controls[i].id, control);
    }
    HWND label = ControlHandle(ControlId::kLinkLabel);
    HWND status = ControlHandle(ControlId::kStatusLine);
    SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, kZOrderFlags);
    SetWindowPos(status, label, 0, 0, 0, 0, kZOrderFlags);
    SetWindowPos(ControlHandle(ControlId::kHostList), status, 0, 0, 0, 0, kZOrderFlags);
    DockBottomControls(hwnd);
    for (HWND child : g_window.controls) ShowWindow(child, SW_SHOWNA);
    return true;
}

}  // namespace

const WindowDefinition* LoadWindowDefinition() {
    const WindowDefinition& d = kMainWindowDefinition;
    if (d.id != WindowId::kMainWindow || !d.title || d.width <= 0 || d.height <= 0) return nullptr;
    return &d;
}

bool LoadMainWindow(const WindowDefinition& d) {
    RaiseEventBlock();
    bool built = BuildWindow(d);
    LowerEventBlock();
    if (!built) return false;
    if (d.onCreated && !EventsBlocked()) d.onCreated();
    if (IsWindow(g_window.hwnd)) ShowWindow(g_window.hwnd, SW_SHOW);
    return true;
}

HWND MainWindowHandle() { return g_window.hwnd; }

bool PreTranslateMainWindowMessage(MSG& msg) {
    if (!BelongsToMainWindow(msg.hwnd)) return false;
    if (msg.message == WM_LBUTTONDOWN && msg.hwnd == ControlHandle(ControlId::kLinkLabel)) {
        if (!EventsBlocked() && g_window.definition->onLinkLabelPressed) {
            g_window.definition->onLinkLabelPressed(LOWORD(msg.lParam), static_cast<short>(HIWORD(msg.lParam)),
                                                    ModifierState());
        }
        return false;  // the label still gets its click
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    std::int32_t modifiers = ModifierState();
    switch (msg.wParam) {
        case VK_ESCAPE:
            if (modifiers != 0) return false;
            SendMessageA(g_window.hwnd, WM_CLOSE, 0, 0);
            return true;
        case VK_TAB: {
            if (modifiers != 0 && modifiers != kKeyShift) return false;
            HWND next = NextTabControl(GetFocus(), modifiers == kKeyShift);
            if (next) SetFocus(next);
            return true;
        }
    }
    return false;
}

void ReleaseMainWindowResources() {
    if (g_window.bigIcon) DestroyIcon(g_window.bigIcon);
    if (g_window.smallIcon) DestroyIcon(g_window.smallIcon);
    g_window.bigIcon = g_window.smallIcon = nullptr;
}

void OnMainWindowCreated() { LaunchThread(ScanThreadEntry); }

}  // namespace lanhosts
