// The benchmarks' baseline: the platform work of lanhosts.exe and nothing
// else. It makes the same start-up calls (OLE, the helper window, the main
// window with its icons, the list view, the status bar and a label class of
// its own) and, on a worker thread, the same walk (16 KB buffers, the same
// descent rules), the same Winsock lookups and ARP call per host and the same
// messages to the list view and the status bar, with the same arguments and
// in the same order. What lanhosts keeps around that work is left out: no
// allocator, no texts or lists, no control registry, locks or handle checks.
// Names live in one static buffer, cells in stack buffers.
#include <winsock2.h>
#include <windows.h>
#include <winnetwk.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>

namespace {

// The program's texts, code page 936 like the program's (the source is UTF-8).
const char kScanProgress[] = "正在读取局域网内主机列表...";
const char kScanSuccessHead[] = "读取成功，共用";
const char kScanSuccessTail[] = "个主机列表";
const char kScanFailure[] = "获取失败";
const char kWindowTitle[] = "局域网内的所有计算机名、IP、网卡地址   制作：dulmo";
const char kColumnName[] = "计算机名称";
const char kColumnAddress[] = "IP";
const char kColumnHardware[] = "网卡地址";
const char kLinkText[] = "免费软件发布平台";

// The same class names as the program's, so a driver finds both alike.
const char kHelperClass[] = "LanHostsHelperWindow";
const char kMainClass[] = "LanHostsMainWindow";
const char kLabelClass[] = "LanhostsLinkLabel";

constexpr int kListId = 100;
constexpr int kStatusId = 110;
constexpr int kLabelId = 120;

HWND g_main = nullptr;
HWND g_list = nullptr;
HWND g_status = nullptr;
HWND g_label = nullptr;
HWND g_helper = nullptr;
HICON g_bigIcon = nullptr;
HICON g_smallIcon = nullptr;
bool g_winsockStarted = false;  // the first host's WSAStartup(1.1)

using OpenEnumFn = DWORD(WINAPI*)(DWORD, DWORD, DWORD, LPNETRESOURCEA, LPHANDLE);
using EnumResourceFn = DWORD(WINAPI*)(HANDLE, LPDWORD, LPVOID, LPDWORD);
using CloseEnumFn = DWORD(WINAPI*)(HANDLE);
using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
using SendArpFn = DWORD(WINAPI*)(ULONG, ULONG, void*, ULONG*);

OpenEnumFn g_openEnum = nullptr;
EnumResourceFn g_enumResource = nullptr;
CloseEnumFn g_closeEnum = nullptr;
InitCommonControlsExFn g_initCommonControlsEx = nullptr;
SendArpFn g_sendArp = nullptr;
bool g_sendArpLoaded = false;

HMODULE LoadFromSystemDirectory(const char* name) {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 2 + std::strlen(name) > MAX_PATH) return nullptr;
    path[length] = '\\';
    std::strcpy(path + length + 1, name);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn& fn) {
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// ---- the worker ----

// The servers' remote names, in walk order, one after the other, in one
// area reserved at the start of the scan (pages are committed as touched).
constexpr int kMaxNames = 65536;
constexpr int kNameArea = 4 * 1024 * 1024;
char* g_nameBytes = nullptr;
int* g_nameStart = nullptr;
int g_nameCount = 0;
int g_nameUsed = 0;

void ReserveNames() {
    auto* area = static_cast<char*>(
        VirtualAlloc(nullptr, kNameArea + kMaxNames * sizeof(int), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    g_nameBytes = area;
    g_nameStart = area ? reinterpret_cast<int*>(area + kNameArea) : nullptr;
}

void AddName(const char* name) {
    if (!name) name = "";
    int length = static_cast<int>(std::strlen(name)) + 1;
    if (!g_nameBytes || g_nameCount == kMaxNames || g_nameUsed + length > kNameArea) return;
    std::memcpy(g_nameBytes + g_nameUsed, name, static_cast<std::size_t>(length));
    g_nameStart[g_nameCount++] = g_nameUsed;
    g_nameUsed += length;
}

constexpr DWORD kBufferSize = 16384;
constexpr int kMaxDepth = 32;

void Walk(NETRESOURCEA* parent, int depth) {
    HANDLE handle = nullptr;
    if (g_openEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, parent, &handle) != NO_ERROR) return;
    alignas(NETRESOURCEA) unsigned char buffer[kBufferSize];
    auto* entries = reinterpret_cast<NETRESOURCEA*>(buffer);
    for (;;) {
        std::memset(buffer, 0, sizeof buffer);
        DWORD count = static_cast<DWORD>(-1);
        DWORD size = kBufferSize;
        if (g_enumResource(handle, &count, buffer, &size) != NO_ERROR) break;
        if (count > kBufferSize / sizeof(NETRESOURCEA)) count = kBufferSize / sizeof(NETRESOURCEA);
        for (DWORD i = 0; i < count; ++i) {
            NETRESOURCEA& entry = entries[i];
            if (entry.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) AddName(entry.lpRemoteName);
            if (!(entry.dwUsage & RESOURCEUSAGE_CONNECTABLE) && entry.lpRemoteName && *entry.lpRemoteName &&
                depth < kMaxDepth)
                Walk(&entry, depth + 1);
        }
    }
    g_closeEnum(handle);
}

void LookUpAddress(const char* name, char (&out)[16]) {
    out[0] = '\0';
    if (!g_winsockStarted) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(1, 1), &data) == 0) g_winsockStarted = true;
    }
    const hostent* host = gethostbyname(name);
    if (!host || !host->h_addr_list || !host->h_addr_list[0]) return;
    in_addr first;
    std::memcpy(&first, host->h_addr_list[0], sizeof first);
    lstrcpynA(out, inet_ntoa(first), sizeof out);
}

DWORD WINAPI SendArpFromSystem(ULONG destination, ULONG source, void* hardware, ULONG* length) {
    if (!g_sendArpLoaded) {
        Bind(LoadFromSystemDirectory("iphlpapi.dll"), "SendARP", g_sendArp);
        g_sendArpLoaded = true;
    }
    return g_sendArp ? g_sendArp(destination, source, hardware, length) : ERROR_PROC_NOT_FOUND;
}

void LookUpHardware(const char* address, char (&out)[20]) {
    std::memset(out, 0, sizeof out);
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 1), &data) != 0) return;
    const unsigned long value = inet_addr(address);
    if (gethostbyaddr(reinterpret_cast<const char*>(&value), 4, AF_INET)) {
        unsigned char hardware[8] = {};
        ULONG length = 6;
        if (SendArpFromSystem(value, 0, hardware, &length) == NO_ERROR) {
            std::snprintf(out, sizeof out, "%02X-%02X-%02X-%02X-%02X-%02X", hardware[0], hardware[1], hardware[2],
                          hardware[3], hardware[4], hardware[5]);
        }
    }
    WSACleanup();
}

int InsertRow(const char* text) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = static_cast<int>(SendMessageA(g_list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(text);
    item.iImage = -1;
    return static_cast<int>(SendMessageA(g_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetCell(int row, int column, const char* text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(g_list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// One pane reaching to the end of the bar, as the program shows its texts.
void ShowOnePane(const char* text) {
    SendMessageA(g_status, SB_ISSIMPLE, 0, 0);
    SendMessageA(g_status, SB_SIMPLE, FALSE, 0);
    int edges[1] = {-1};
    SendMessageA(g_status, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges));
    SendMessageA(g_status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(g_status, SB_SETICON, 0, 0);
    SendMessageA(g_status, SB_SETTIPTEXTA, 0, reinterpret_cast<LPARAM>(""));
}

DWORD WINAPI ScanThread(LPVOID) {
    ShowOnePane(kScanProgress);
    ReserveNames();
    Walk(nullptr, 1);
    for (int i = 0; i < g_nameCount; ++i) {
        const char* entry = g_nameBytes + g_nameStart[i];
        // "\\name[\...]": the name is the third field between backslashes.
        const char* first = std::strchr(entry, '\\');
        const char* second = first ? std::strchr(first + 1, '\\') : nullptr;
        if (second) ++second;
        if (!second) {
            int row = InsertRow(entry);
            SetCell(row, 1, "");
            SetCell(row, 2, "");
            continue;
        }
        char name[256];
        const char* end = std::strchr(second, '\\');
        std::size_t length = end ? static_cast<std::size_t>(end - second) : std::strlen(second);
        if (length >= sizeof name) length = sizeof name - 1;
        std::memcpy(name, second, length);
        name[length] = '\0';
        char address[16];
        char hardware[20];
        LookUpAddress(name, address);
        LookUpHardware(address, hardware);
        int row = InsertRow(name);
        SetCell(row, 1, address);
        SetCell(row, 2, hardware);
    }
    SendMessageA(g_status, SB_SIMPLE, TRUE, 0);
    char summary[64];
    if (g_nameCount != 0) {
        std::snprintf(summary, sizeof summary, "%s%d%s", kScanSuccessHead, g_nameCount, kScanSuccessTail);
        ShowOnePane(summary);
    } else {
        ShowOnePane(kScanFailure);
    }
    return 0;
}

// ---- the windows ----

void DockStatusBar(HWND parent) {
    HWND bars[8];
    int count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child && count < 8; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32];
        if (!GetClassNameA(child, name, sizeof name) || lstrcmpiA(name, STATUSCLASSNAMEA) != 0) continue;
        if ((GetWindowLongA(child, GWL_STYLE) & CCS_BOTTOM) == CCS_BOTTOM) bars[count++] = child;
    }
    for (int i = 0; i < count; ++i) SendMessageA(bars[i], WM_SIZE, SIZE_RESTORED, 0);
    RECT client;
    GetClientRect(parent, &client);
    LONG bottom = client.bottom;
    for (int i = 0; i < count; ++i) {
        RECT rect;
        GetWindowRect(bars[i], &rect);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        LONG height = rect.bottom - rect.top;
        if (rect.bottom != bottom) MoveWindow(bars[i], rect.left, bottom - height, rect.right - rect.left, height, TRUE);
        bottom -= height;
    }
}

LRESULT CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND g_lastFocus = nullptr;

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: DockStatusBar(hwnd); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) g_lastFocus = focus;
            }
            break;
        case WM_SETFOCUS: {
            HWND target = g_lastFocus && IsWindow(g_lastFocus) ? g_lastFocus : g_list;
            if (target && (GetWindowLongA(target, GWL_STYLE) & WS_VISIBLE)) SetFocus(target);
            return 0;
        }
        case WM_NCDESTROY: PostQuitMessage(0); break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT clip;
    if (GetClipBox(dc, &clip) != NULLREGION && !IsRectEmpty(&clip)) {
        RECT client;
        GetClientRect(hwnd, &client);
        RECT area;
        IntersectRect(&area, &clip, &client);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        char text[64];
        int length = GetWindowTextLengthA(hwnd);
        if (length > 0) {
            GetWindowTextA(hwnd, text, sizeof text);
            LOGFONTA logFont{};
            logFont.lfHeight = -12;
            logFont.lfWeight = FW_NORMAL;
            logFont.lfUnderline = 1;
            logFont.lfCharSet = GB2312_CHARSET;
            HFONT font = CreateFontIndirectA(&logFont);
            HGDIOBJ previous = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 255));
            DrawTextA(dc, text, -1, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
            if (previous) SelectObject(dc, previous);
            DeleteObject(font);
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

HWND CreateHelper(HINSTANCE instance) {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kHelperClass, &wc)) {
        wc = {};
        wc.lpfnWndProc = HelperProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = kHelperClass;
        RegisterClassA(&wc);
    }
    return CreateWindowExA(WS_EX_TOOLWINDOW, kHelperClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

HWND CreateMain(HINSTANCE instance) {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kMainClass, &wc)) {
        wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = MainProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = kMainClass;
        if (!RegisterClassA(&wc)) return nullptr;
    }
    const int width = 378, height = 269;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND hwnd = CreateWindowExA(0, kMainClass, kWindowTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                x, y, width, height, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return nullptr;
    RECT outer;
    GetWindowRect(hwnd, &outer);
    if (outer.right - outer.left != width || outer.bottom - outer.top != height) MoveWindow(hwnd, x, y, width, height, TRUE);
    g_bigIcon = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0));
    g_smallIcon = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0));
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_bigIcon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_smallIcon));
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return hwnd;
}

bool InitControlsOnce() {
    static bool ready = false;
    if (ready) return true;
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ready = g_initCommonControlsEx && g_initCommonControlsEx(&init);
    return ready;
}

HWND CreateList(HWND parent, HINSTANCE instance) {
    if (!InitControlsOnce()) return nullptr;
    HWND hwnd = CreateWindowExA(0, WC_LISTVIEWA, "",
                                WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL,
                                0, 0, 368, 200, parent, reinterpret_cast<HMENU>(kListId), instance, nullptr);
    if (!hwnd) return nullptr;
    SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) & ~WS_BORDER);
    SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES);
    SendMessageA(hwnd, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
    SendMessageA(hwnd, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(hwnd, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    const char* headings[3] = {kColumnName, kColumnAddress, kColumnHardware};
    const int widths[3] = {100, 100, 120};
    const int formats[3] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_CENTER};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = formats[i];
        column.cx = widths[i];
        column.pszText = const_cast<char*>(headings[i]);
        column.iSubItem = i;
        SendMessageA(hwnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(hwnd, LVM_DELETEALLITEMS, 0, 0);
    return hwnd;
}

HWND CreateStatus(HWND parent, HINSTANCE instance) {
    if (!InitControlsOnce()) return nullptr;
    HWND hwnd = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | CCS_BOTTOM | SBT_TOOLTIPS, 0, 197, 369, 20, parent,
                                reinterpret_cast<HMENU>(kStatusId), instance, nullptr);
    if (!hwnd) return nullptr;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    SendMessageA(hwnd, SB_SIMPLE, FALSE, 0);
    SendMessageA(hwnd, CCM_SETBKCOLOR, 0, GetSysColor(COLOR_BTNFACE));
    SendMessageA(hwnd, SB_SIMPLE, TRUE, 0);  // no panes yet
    return hwnd;
}

HWND CreateLabel(HWND parent, HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, kLabelClass, &wc)) {
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = LabelProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = kLabelClass;
        if (!RegisterClassExA(&wc)) return nullptr;
    }
    return CreateWindowExA(0, kLabelClass, kLinkText, WS_CHILD | WS_CLIPSIBLINGS, 123, 205, 104, 15, parent,
                           reinterpret_cast<HMENU>(kLabelId), instance, nullptr);
}

void SetCurrentDirectoryToProgram() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    path[length] = '\0';
    char* last = nullptr;
    for (char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\') last = p;
    }
    if (last) *last = '\0';
    SetCurrentDirectoryA(path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    GetProcessHeap();
    OleInitialize(nullptr);
    SetCurrentDirectoryToProgram();
    HMODULE mpr = LoadFromSystemDirectory("mpr.dll");
    Bind(mpr, "WNetOpenEnumA", g_openEnum);
    Bind(mpr, "WNetEnumResourceA", g_enumResource);
    Bind(mpr, "WNetCloseEnum", g_closeEnum);
    Bind(LoadFromSystemDirectory("comctl32.dll"), "InitCommonControlsEx", g_initCommonControlsEx);
    g_helper = CreateHelper(instance);

    g_main = CreateMain(instance);
    if (!g_main || !g_openEnum || !g_enumResource || !g_closeEnum) return 3;
    g_list = CreateList(g_main, instance);
    g_status = CreateStatus(g_main, instance);
    g_label = CreateLabel(g_main, instance);
    if (!g_list || !g_status || !g_label) return 3;
    const UINT zOrder = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
    SetWindowPos(g_label, HWND_TOP, 0, 0, 0, 0, zOrder);
    SetWindowPos(g_status, g_label, 0, 0, 0, 0, zOrder);
    SetWindowPos(g_list, g_status, 0, 0, 0, 0, zOrder);
    DockStatusBar(g_main);
    ShowWindow(g_list, SW_SHOWNA);
    ShowWindow(g_status, SW_SHOWNA);
    ShowWindow(g_label, SW_SHOWNA);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, ScanThread, nullptr, 0, &threadId);
    if (thread) CloseHandle(thread);
    ShowWindow(g_main, SW_SHOW);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && (msg.hwnd == g_main || IsChild(g_main, msg.hwnd))) {
            SendMessageA(g_main, WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (g_bigIcon) DestroyIcon(g_bigIcon);
    if (g_smallIcon) DestroyIcon(g_smallIcon);
    if (IsWindow(g_helper)) DestroyWindow(g_helper);
    if (g_winsockStarted) WSACleanup();
    OleUninitialize();
    ExitProcess(0);
}
