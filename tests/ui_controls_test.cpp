// The three controls, created for real in a window of the test's own and read
// back with their own messages. Where a control cannot tell what it was sent,
// the messages are recorded on their way in, in order, and compared with the
// expected sequence.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/literals.h"
#include "tests/test_support.h"
#include "ui/common_controls.h"
#include "ui/control_registry.h"
#include "ui/host_list.h"
#include "ui/link_label.h"
#include "ui/shell_calls.h"
#include "ui/status_line.h"

namespace lanhosts {
namespace {

using test::CatchFatal;
using test::FatalStop;
using test::Hex;

constexpr WindowId kWindow = WindowId::kMainWindow;
constexpr ControlId kList = ControlId::kHostList;
constexpr ControlId kStatus = ControlId::kStatusLine;

// ---------------------------------------------------------------------------
// Recording messages

// One message as a control received it, with what its pointer argument
// pointed to at that moment.
struct Recorded {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;  // 0 for messages whose lParam is a pointer
    DWORD thread = 0;
    std::string text;
    std::vector<int> parts;
    LVITEMA item{};
    LVCOLUMNA column{};
};

bool PointsToData(UINT message) {
    switch (message) {
        case SB_SETTEXTA:
        case SB_SETTIPTEXTA:
        case SB_SETPARTS:
        case LVM_INSERTITEMA:
        case LVM_SETITEMTEXTA:
        case LVM_INSERTCOLUMNA:
            return true;
        default:
            return false;
    }
}

Recorded Decode(UINT message, WPARAM wParam, LPARAM lParam) {
    Recorded r;
    r.message = message;
    r.wParam = wParam;
    r.lParam = PointsToData(message) ? 0 : lParam;
    r.thread = GetCurrentThreadId();
    switch (message) {
        case SB_SETTEXTA:
        case SB_SETTIPTEXTA:
            if (lParam) r.text = reinterpret_cast<const char*>(lParam);
            break;
        case SB_SETPARTS: {
            auto* edges = reinterpret_cast<const int*>(lParam);
            if (edges) r.parts.assign(edges, edges + static_cast<int>(wParam));
            break;
        }
        case LVM_INSERTITEMA:
        case LVM_SETITEMTEXTA:
            r.item = *reinterpret_cast<const LVITEMA*>(lParam);
            if (r.item.pszText) r.text = r.item.pszText;
            r.item.pszText = nullptr;
            break;
        case LVM_INSERTCOLUMNA:
            r.column = *reinterpret_cast<const LVCOLUMNA*>(lParam);
            if (r.column.pszText) r.text = r.column.pszText;
            r.column.pszText = nullptr;
            break;
    }
    return r;
}

// What the program itself sends to its controls, as opposed to what the
// window system and the controls send about painting and focus.
bool SentByProgram(UINT message) {
    return message == WM_SETFONT || message == WM_SIZE || message == WM_WINDOWPOSCHANGING ||
           (message > WM_USER && message <= SB_GETICON) || (message >= LVM_FIRST && message < LVM_FIRST + 0x100) ||
           (message >= CCM_FIRST && message < CCM_FIRST + 0x10);
}

const char* MessageName(UINT message) {
    static const struct {
        UINT message;
        const char* name;
    } names[] = {
        {WM_SETFONT, "WM_SETFONT"},
        {WM_SIZE, "WM_SIZE"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {SB_SETTEXTA, "SB_SETTEXTA"},
        {SB_SETPARTS, "SB_SETPARTS"},
        {SB_SIMPLE, "SB_SIMPLE"},
        {SB_ISSIMPLE, "SB_ISSIMPLE"},
        {SB_SETICON, "SB_SETICON"},
        {SB_SETTIPTEXTA, "SB_SETTIPTEXTA"},
        {CCM_SETBKCOLOR, "CCM_SETBKCOLOR"},
        {LVM_GETITEMCOUNT, "LVM_GETITEMCOUNT"},
        {LVM_INSERTITEMA, "LVM_INSERTITEMA"},
        {LVM_SETITEMTEXTA, "LVM_SETITEMTEXTA"},
        {LVM_INSERTCOLUMNA, "LVM_INSERTCOLUMNA"},
        {LVM_DELETEALLITEMS, "LVM_DELETEALLITEMS"},
        {LVM_SETEXTENDEDLISTVIEWSTYLE, "LVM_SETEXTENDEDLISTVIEWSTYLE"},
        {LVM_SETTEXTCOLOR, "LVM_SETTEXTCOLOR"},
        {LVM_SETTEXTBKCOLOR, "LVM_SETTEXTBKCOLOR"},
        {LVM_SETBKCOLOR, "LVM_SETBKCOLOR"},
    };
    for (const auto& n : names) {
        if (n.message == message) return n.name;
    }
    return "?";
}

std::string Describe(const Recorded& r) {
    char line[128];
    std::snprintf(line, sizeof line, "%s(0x%04x) w=0x%lx l=0x%lx", MessageName(r.message), r.message,
                  static_cast<unsigned long>(r.wParam), static_cast<unsigned long>(r.lParam));
    std::string out = line;
    if (!r.text.empty()) out += " text=[" + Hex(r.text) + "]";
    for (int edge : r.parts) out += " " + std::to_string(edge);
    return out;
}

// An expected message: lParam is compared only for messages whose lParam is
// not a pointer; for the others the data it pointed to.
struct Expected {
    UINT message;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::string text = {};
    std::vector<int> parts = {};
};

void ExpectSequence(const std::vector<Recorded>& got, const std::vector<Expected>& want) {
    std::string gotText, wantText;
    for (const auto& r : got) gotText += Describe(r) + "\n";
    for (const auto& e : want) {
        Recorded r;
        r.message = e.message;
        r.wParam = e.wParam;
        r.lParam = PointsToData(e.message) ? 0 : e.lParam;
        r.text = e.text;
        r.parts = e.parts;
        wantText += Describe(r) + "\n";
    }
    EXPECT_EQ(wantText, gotText);
}

// Subclasses a control and records what the program sends it. Can refuse
// SB_SETPARTS and swallow WM_SIZE, to take the paths a real bar rarely takes.
class MessageLog {
public:
    explicit MessageLog(HWND hwnd) : hwnd_(hwnd) {
        SetPropA(hwnd_, kProp, this);
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageLog::Proc)));
    }
    ~MessageLog() {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropA(hwnd_, kProp);
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    std::vector<Recorded> TakeAll() { return std::move(messages_); }
    void Forget() { messages_.clear(); }
    bool refuseSetParts = false;
    bool swallowSize = false;

private:
    static constexpr const char* kProp = "lanhosts.test.log";

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* log = static_cast<MessageLog*>(GetPropA(hwnd, kProp));
        if (SentByProgram(message)) log->messages_.push_back(Decode(message, wParam, lParam));
        if (message == SB_SETPARTS && log->refuseSetParts) return FALSE;
        if (message == WM_SIZE && log->swallowSize) return 0;
        return CallWindowProcA(log->previous_, hwnd, message, wParam, lParam);
    }

    HWND hwnd_;
    WNDPROC previous_ = nullptr;
    std::vector<Recorded> messages_;
};

// Records, from a thread hook, what the program sends to controls of one
// window class while they are created, before anyone could subclass them.
class CreationLog {
public:
    explicit CreationLog(const char* className) : className_(className) {
        active_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &CreationLog::Hook, nullptr, GetCurrentThreadId());
    }
    ~CreationLog() {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    CreationLog(const CreationLog&) = delete;
    CreationLog& operator=(const CreationLog&) = delete;
    const std::vector<Recorded>& messages() const { return messages_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && active_) {
            auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
            char className[64] = "";
            GetClassNameA(sent->hwnd, className, sizeof className);
            if (lstrcmpiA(className, active_->className_) == 0 && SentByProgram(sent->message) &&
                sent->message != WM_WINDOWPOSCHANGING && sent->message != WM_SIZE) {
                active_->messages_.push_back(Decode(sent->message, sent->wParam, sent->lParam));
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static CreationLog* active_;
    const char* className_;
    HHOOK hook_ = nullptr;
    std::vector<Recorded> messages_;
};
CreationLog* CreationLog::active_ = nullptr;

// ---------------------------------------------------------------------------
// The window the controls live in

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateParent() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "LanhostsTestParent";
        return RegisterClassExA(&wc) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExA(0, "LanhostsTestParent", "controls",
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 378, 269, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Handles what arrives while a worker or a later message needs the thread.
void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpUntilSignalled(HANDLE handle) {
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) PumpMessages();
}

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() {
        if (handle_) CloseHandle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// The main window's three controls in the test's window, registered and
// loaded as the main window does it.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = CreateParent();
        ASSERT_TRUE(parent_);
        auto list = CreateHostList(parent_, {0, 0, 368, 200}, 100);
        auto status = CreateStatusLine(parent_, {0, 197, 369, 217}, 110);
        auto label = CreateLinkLabel(parent_, {123, 205, 227, 220}, 120);
        ASSERT_TRUE(list && status && label);
        list_ = list->hwnd();
        status_ = status->hwnd();
        label_ = label->hwnd();
        statusLine_ = status.get();
        RegisterControl(kWindow, ControlId::kHostList, list.release());
        RegisterControl(kWindow, ControlId::kStatusLine, status.release());
        RegisterControl(kWindow, ControlId::kLinkLabel, label.release());
        MarkWindowLoaded(kWindow, parent_);
    }

    void TearDown() override {
        ReleaseControlRegistry();
        if (parent_) DestroyWindow(parent_);
        PumpMessages();
    }

    std::int32_t RowCount() const { return static_cast<std::int32_t>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

    std::string Cell(int row, int column) const {
        char buffer[128] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    std::vector<int> Parts() const {
        int edges[16] = {};
        int count = static_cast<int>(SendMessageA(status_, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
        return std::vector<int>(edges, edges + count);
    }

    bool IsSimple() const { return SendMessageA(status_, SB_ISSIMPLE, 0, 0) != FALSE; }

    // The part's text and, in the high word of SB_GETTEXTA's result, its style.
    std::string PartText(int part, unsigned* style) const {
        char buffer[128] = "";
        LRESULT result =
            SendMessageA(status_, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer));
        *style = HIWORD(result);
        EXPECT_EQ(std::strlen(buffer), LOWORD(result));
        return buffer;
    }

    std::string PartTip(int part) const {
        char buffer[128] = "";
        SendMessageA(status_, SB_GETTIPTEXTA, MAKEWPARAM(part, sizeof buffer), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    HWND status_ = nullptr;
    HWND label_ = nullptr;
    StatusLine* statusLine_ = nullptr;
};

// ---------------------------------------------------------------------------
// The common controls

std::vector<std::string> ImportedLibraries() {
    auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> names;
    auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; directory.VirtualAddress && entry->Name; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        names.push_back(name);
    }
    return names;
}

TEST(CommonControls, AreNotImportedButLoadedFromTheSystemDirectory) {
    std::vector<std::string> imports = ImportedLibraries();
    ASSERT_FALSE(imports.empty());
    for (const auto& name : imports) EXPECT_NE("comctl32.dll", name);

    ASSERT_TRUE(BindSystemCommonControls());
    ASSERT_TRUE(InitCommonControlsOnce());
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_TRUE(comctl);
    char path[MAX_PATH], system[MAX_PATH];
    GetModuleFileNameA(comctl, path, MAX_PATH);
    UINT length = GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(CSTR_EQUAL, CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path, static_cast<int>(length), system,
                                         static_cast<int>(length)))
        << path << " is not in " << system;
}

struct InitRecord {
    int calls = 0;
    DWORD size = 0;
    DWORD classes = 0;
    BOOL result = TRUE;
};
InitRecord g_init;

BOOL WINAPI FakeInitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    ++g_init.calls;
    g_init.size = init->dwSize;
    g_init.classes = init->dwICC;
    return g_init.result;
}

TEST(CommonControls, RegisterListViewAndBarClassesOnce) {
    g_init = {};
    BindCommonControlsCalls({FakeInitCommonControlsEx});
    EXPECT_TRUE(InitCommonControlsOnce());
    EXPECT_TRUE(InitCommonControlsOnce());
    EXPECT_EQ(1, g_init.calls);
    EXPECT_EQ(sizeof(INITCOMMONCONTROLSEX), g_init.size);
    EXPECT_EQ(static_cast<DWORD>(ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES), g_init.classes);
    EXPECT_TRUE(BindSystemCommonControls());
}

TEST(CommonControls, WithoutThemNoControlIsCreated) {
    HWND parent = CreateParent();
    ASSERT_TRUE(parent);
    g_init = {};
    g_init.result = FALSE;
    BindCommonControlsCalls({FakeInitCommonControlsEx});
    EXPECT_EQ(nullptr, CreateHostList(parent, {0, 0, 368, 200}, 100));
    EXPECT_EQ(nullptr, CreateStatusLine(parent, {0, 197, 369, 217}, 110));
    EXPECT_EQ(nullptr, GetWindow(parent, GW_CHILD));
    // A failure is not remembered: each creation asks again.
    EXPECT_EQ(2, g_init.calls);
    EXPECT_TRUE(BindSystemCommonControls());
    DestroyWindow(parent);
}

// ---------------------------------------------------------------------------
// The host list

TEST_F(ControlsTest, HostListIsAHiddenReportListWithASunkenEdge) {
    EXPECT_EQ("SysListView32", ClassOf(list_));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL),
              GetWindowLongA(list_, GWL_STYLE));
    EXPECT_EQ(WS_EX_CLIENTEDGE, GetWindowLongA(list_, GWL_EXSTYLE));
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES),
              SendMessageA(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(100, GetDlgCtrlID(list_));
    EXPECT_EQ(parent_, GetParent(list_));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)), SendMessageA(list_, WM_GETFONT, 0, 0));
    EXPECT_EQ(static_cast<LRESULT>(RGB(0, 0, 0)), SendMessageA(list_, LVM_GETTEXTCOLOR, 0, 0));
    EXPECT_EQ(static_cast<LRESULT>(RGB(255, 255, 255)), SendMessageA(list_, LVM_GETTEXTBKCOLOR, 0, 0));
    EXPECT_EQ(static_cast<LRESULT>(RGB(255, 255, 255)), SendMessageA(list_, LVM_GETBKCOLOR, 0, 0));
    EXPECT_EQ(0, RowCount());
    RECT rect = ChildRect(list_);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(368, rect.right);
    EXPECT_EQ(200, rect.bottom);
}

TEST_F(ControlsTest, HostListHasThreeColumns) {
    const struct {
        const char* heading;
        int width;
        int format;
    } columns[] = {
        {kLiterals.columnName, 100, LVCFMT_LEFT},
        {"IP", 100, LVCFMT_CENTER},
        {kLiterals.columnHardware, 120, LVCFMT_CENTER},
    };
    for (int i = 0; i < 3; ++i) {
        char heading[64] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = heading;
        column.cchTextMax = sizeof heading;
        ASSERT_TRUE(SendMessageA(list_, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)))
            << i;
        EXPECT_EQ(Hex(columns[i].heading), Hex(heading)) << i;
        EXPECT_EQ(columns[i].width, column.cx) << i;
        EXPECT_EQ(columns[i].format, column.fmt & LVCFMT_JUSTIFYMASK) << i;
        EXPECT_EQ(i, column.iSubItem) << i;
    }
    LVCOLUMNA fourth{};
    fourth.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(list_, LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&fourth)));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(3, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    EXPECT_TRUE(GetWindowLongA(header, GWL_STYLE) & HDS_BUTTONS) << "headings are push buttons";
}

TEST_F(ControlsTest, HostListCreationMessages) {
    std::unique_ptr<HostList> second;
    std::vector<Recorded> messages;
    {
        CreationLog log(WC_LISTVIEWA);
        second = CreateHostList(parent_, {0, 0, 368, 200}, 101);
        messages = log.messages();
    }
    ASSERT_TRUE(second);
    const LPARAM font = reinterpret_cast<LPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    ExpectSequence(messages, {
                                 {WM_SETFONT, static_cast<WPARAM>(font), TRUE},
                                 {LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x402},
                                 {LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0)},
                                 {LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255)},
                                 {LVM_SETBKCOLOR, 0, RGB(255, 255, 255)},
                                 {LVM_INSERTCOLUMNA, 0, 0, kLiterals.columnName},
                                 {LVM_INSERTCOLUMNA, 1, 0, "IP"},
                                 {LVM_INSERTCOLUMNA, 2, 0, kLiterals.columnHardware},
                                 {LVM_DELETEALLITEMS},
                             });
    const int formats[] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_CENTER};
    const int widths[] = {100, 100, 120};
    int column = 0;
    for (const auto& r : messages) {
        if (r.message != LVM_INSERTCOLUMNA) continue;
        EXPECT_EQ(0x0Fu, r.column.mask) << column;
        EXPECT_EQ(formats[column], r.column.fmt) << column;
        EXPECT_EQ(widths[column], r.column.cx) << column;
        EXPECT_EQ(column, r.column.iSubItem) << column;
        ++column;
    }
    DestroyWindow(second->hwnd());
}

TEST_F(ControlsTest, RowsAndCells) {
    EXPECT_EQ(0, InsertRow(kWindow, kList, std::nullopt, "alpha"));
    EXPECT_EQ(1, InsertRow(kWindow, kList, std::nullopt, ""));
    EXPECT_EQ(2, InsertRow(kWindow, kList, std::nullopt, nullptr));
    SetCellText(kWindow, kList, 0, 1, "192.168.1.5");
    SetCellText(kWindow, kList, 0, 2, "00-1A-2B-3C-4D-5E");
    SetCellText(kWindow, kList, 1, 1, "10.0.0.1");
    SetCellText(kWindow, kList, 1, 1, "");
    SetCellText(kWindow, kList, 2, 0, kLiterals.columnName);
    SetCellText(kWindow, kList, 2, 2, "x");
    SetCellText(kWindow, kList, 2, 2);
    // Rows that do not exist, as after a refused insertion.
    SetCellText(kWindow, kList, -1, 1, "lost");
    SetCellText(kWindow, kList, 3, 0, "lost");

    ASSERT_EQ(3, RowCount());
    const char* cells[3][3] = {
        {"alpha", "192.168.1.5", "00-1A-2B-3C-4D-5E"},
        {"", "", ""},
        {kLiterals.columnName, "", ""},
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(Hex(cells[row][column]), Hex(Cell(row, column))) << row << "," << column;
        }
    }
}

TEST_F(ControlsTest, InsertRowAsksForTheCountOnlyWithoutAPosition) {
    ASSERT_EQ(0, InsertRow(kWindow, kList, std::nullopt, "a"));
    ASSERT_EQ(1, InsertRow(kWindow, kList, std::nullopt, "b"));
    const struct {
        std::optional<std::int32_t> position;
        bool asksCount;
        int item;
        std::int32_t result;
    } cases[] = {
        {std::nullopt, true, 2, 2}, {-1, true, 3, 3}, {-7, true, 4, 4},
        {0, false, 0, 0},           {1, false, 1, 1}, {99, false, 99, 7},
    };
    for (const auto& c : cases) {
        MessageLog log(list_);
        EXPECT_EQ(c.result, InsertRow(kWindow, kList, c.position, "row"));
        std::vector<Recorded> got = log.TakeAll();
        ASSERT_EQ(c.asksCount ? 2u : 1u, got.size());
        if (c.asksCount) {
            EXPECT_EQ(static_cast<UINT>(LVM_GETITEMCOUNT), got[0].message);
        }
        const Recorded& insert = got.back();
        EXPECT_EQ(static_cast<UINT>(LVM_INSERTITEMA), insert.message);
        EXPECT_EQ(0u, insert.wParam);
        EXPECT_EQ(0x1Fu, insert.item.mask);
        EXPECT_EQ(c.item, insert.item.iItem);
        EXPECT_EQ(0, insert.item.iSubItem);
        EXPECT_EQ(0u, insert.item.state);
        EXPECT_EQ(0u, insert.item.stateMask);
        EXPECT_EQ(-1, insert.item.iImage);
        EXPECT_EQ(0, insert.item.lParam);
        EXPECT_EQ(0, insert.item.iIndent);
        EXPECT_EQ("row", insert.text);
    }
    EXPECT_EQ("row", Cell(0, 0));
    EXPECT_EQ("row", Cell(1, 0));
    EXPECT_EQ("a", Cell(2, 0));
}

TEST_F(ControlsTest, SetCellTextNamesRowAndColumn) {
    InsertRow(kWindow, kList, std::nullopt, "a");
    MessageLog log(list_);
    SetCellText(kWindow, kList, 0, 2, "00-11-22-33-44-55");
    SetCellText(kWindow, kList, 0);
    std::vector<Recorded> got = log.TakeAll();
    ASSERT_EQ(2u, got.size());
    const struct {
        int column;
        const char* text;
    } expected[] = {{2, "00-11-22-33-44-55"}, {0, ""}};
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(static_cast<UINT>(LVM_SETITEMTEXTA), got[i].message);
        EXPECT_EQ(0u, got[i].wParam);
        EXPECT_EQ(expected[i].column, got[i].item.iSubItem);
        EXPECT_EQ(expected[i].text, got[i].text);
    }
}

// ---------------------------------------------------------------------------
// The status line

TEST_F(ControlsTest, StatusLineIsAHiddenBlankBarAtTheBottom) {
    EXPECT_EQ("msctls_statusbar32", ClassOf(status_));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | CCS_BOTTOM | SBT_TOOLTIPS), GetWindowLongA(status_, GWL_STYLE));
    EXPECT_EQ(0, GetWindowLongA(status_, GWL_EXSTYLE));
    EXPECT_EQ(110, GetDlgCtrlID(status_));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)), SendMessageA(status_, WM_GETFONT, 0, 0));
    EXPECT_TRUE(IsSimple());
    EXPECT_TRUE(statusLine_->panes().empty());
    RECT client, rect = ChildRect(status_);
    GetClientRect(parent_, &client);
    EXPECT_EQ(client.bottom, rect.bottom);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(client.right, rect.right);
}

TEST_F(ControlsTest, StatusLineCreationMessages) {
    std::unique_ptr<StatusLine> second;
    std::vector<Recorded> messages;
    {
        CreationLog log(STATUSCLASSNAMEA);
        second = CreateStatusLine(parent_, {0, 197, 369, 217}, 111);
        messages = log.messages();
    }
    ASSERT_TRUE(second);
    const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    ExpectSequence(messages, {
                                 {WM_SETFONT, font, TRUE},
                                 {SB_SIMPLE, FALSE},
                                 {CCM_SETBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE))},
                                 {SB_SIMPLE, TRUE},
                             });
    DestroyWindow(second->hwnd());
}

struct PaneArgs {
    const char* text;
    std::optional<std::int32_t> width;
    const char* tip;
    std::optional<std::int32_t> icon;
    std::optional<std::int32_t> style;
};

TEST_F(ControlsTest, PanesBecomePartsWithTextsStylesAndTips) {
    const struct {
        std::vector<PaneArgs> panes;
        std::vector<int> edges;
        std::vector<unsigned> styles;
        std::vector<std::string> tips;
    } cases[] = {
        {{{kLiterals.scanProgress, -1, nullptr, std::nullopt, std::nullopt}}, {-1}, {0}, {""}},
        {{{"a", 100, "tip a", 0, 0}, {"b", -1, nullptr, std::nullopt, 1}, {"c", 50, "", 2, 2}},
         {100, -1, 0},
         {0, SBT_NOBORDERS, SBT_POPOUT},
         {"tip a", "", ""}},
        {{{"a", 80, nullptr, std::nullopt, 7}, {"b", 120, "t", std::nullopt, std::nullopt}},
         {80, 200},
         {0, 0},
         {"", "t"}},
        {{{"w", -5, nullptr, std::nullopt, std::nullopt}, {"x", std::nullopt, nullptr, std::nullopt, std::nullopt}},
         {-1, 0},
         {0, 0},
         {"", ""}},
        {{{"", std::nullopt, nullptr, std::nullopt, std::nullopt}, {"y", 0, nullptr, std::nullopt, std::nullopt}},
         {50, 50},
         {0, 0},
         {"", ""}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(n++));
        ClearStatusPanes(kWindow, kStatus);
        EXPECT_TRUE(IsSimple());
        for (std::size_t i = 0; i < c.panes.size(); ++i) {
            const PaneArgs& p = c.panes[i];
            EXPECT_EQ(static_cast<std::int32_t>(i),
                      AppendStatusPane(kWindow, kStatus, p.text, p.width, p.tip, p.icon, p.style));
        }
        EXPECT_FALSE(IsSimple());
        EXPECT_EQ(c.edges, Parts());
        for (std::size_t i = 0; i < c.panes.size(); ++i) {
            unsigned style = 0xFFFF;
            EXPECT_EQ(Hex(c.panes[i].text), Hex(PartText(static_cast<int>(i), &style))) << i;
            EXPECT_EQ(c.styles[i], style) << i;
            EXPECT_EQ(c.tips[i], PartTip(static_cast<int>(i))) << i;
            EXPECT_EQ(0, SendMessageA(status_, SB_GETICON, i, 0)) << i;
        }
    }
}

TEST_F(ControlsTest, ClearLeavesTheBarBlankAndIndicesStartAgain) {
    EXPECT_EQ(0, AppendStatusPane(kWindow, kStatus, kLiterals.scanProgress, -1));
    EXPECT_EQ(1, AppendStatusPane(kWindow, kStatus, "more", 40));
    ClearStatusPanes(kWindow, kStatus);
    EXPECT_TRUE(IsSimple());
    EXPECT_EQ(0, LOWORD(SendMessageA(status_, SB_GETTEXTLENGTHA, SB_SIMPLEID, 0)));
    EXPECT_EQ(0, statusLine_->panes().count());
    EXPECT_EQ(0, AppendStatusPane(kWindow, kStatus, kLiterals.scanFailure, -1));
    EXPECT_EQ(std::vector<int>{-1}, Parts());
    unsigned style;
    EXPECT_EQ(Hex(kLiterals.scanFailure), Hex(PartText(0, &style)));
}

TEST_F(ControlsTest, ApplyingPanesSendsPartsThenTextIconAndTipPerPane) {
    MessageLog log(status_);
    AppendStatusPane(kWindow, kStatus, kLiterals.scanProgress, -1);
    ExpectSequence(log.TakeAll(), {
                                      {SB_ISSIMPLE},
                                      {SB_SIMPLE, FALSE},
                                      {SB_SETPARTS, 1, 0, "", {-1}},
                                      {SB_SETTEXTA, 0, 0, kLiterals.scanProgress},
                                      {SB_SETICON, 0, 0},
                                      {SB_SETTIPTEXTA, 0, 0, ""},
                                  });

    AppendStatusPane(kWindow, kStatus, "b", 50, "tip", 3, 2);
    ExpectSequence(log.TakeAll(), {
                                      {SB_ISSIMPLE},
                                      {SB_SIMPLE, FALSE},
                                      {SB_SETPARTS, 2, 0, "", {-1, 0}},
                                      {SB_SETTEXTA, 0, 0, kLiterals.scanProgress},
                                      {SB_SETICON, 0, 0},
                                      {SB_SETTIPTEXTA, 0, 0, ""},
                                      {SB_SETTEXTA, 1 | SBT_POPOUT, 0, "b"},
                                      {SB_SETICON, 1, 0},
                                      {SB_SETTIPTEXTA, 1, 0, "tip"},
                                  });

    ClearStatusPanes(kWindow, kStatus);
    ExpectSequence(log.TakeAll(), {{SB_SIMPLE, TRUE}});
}

TEST_F(ControlsTest, RefusedPartsPutTheModeBackAndSetNoText) {
    {
        MessageLog log(status_);
        log.refuseSetParts = true;
        EXPECT_EQ(0, AppendStatusPane(kWindow, kStatus, "first", -1));
        ExpectSequence(log.TakeAll(), {
                                          {SB_ISSIMPLE},
                                          {SB_SIMPLE, FALSE},
                                          {SB_SETPARTS, 1, 0, "", {-1}},
                                          {SB_SIMPLE, TRUE},
                                      });
    }
    EXPECT_TRUE(IsSimple());
    EXPECT_EQ(1, statusLine_->panes().count());

    EXPECT_EQ(1, AppendStatusPane(kWindow, kStatus, "second", -1));
    EXPECT_EQ((std::vector<int>{-1, 0}), Parts());
    {
        MessageLog log(status_);
        log.refuseSetParts = true;
        EXPECT_EQ(2, AppendStatusPane(kWindow, kStatus, "third", 10));
        ExpectSequence(log.TakeAll(), {
                                          {SB_ISSIMPLE},
                                          {SB_SIMPLE, FALSE},
                                          {SB_SETPARTS, 3, 0, "", {-1, 0, 0}},
                                          {SB_SIMPLE, FALSE},
                                      });
    }
    // The bar kept what it showed; the list holds all three panes.
    EXPECT_FALSE(IsSimple());
    EXPECT_EQ((std::vector<int>{-1, 0}), Parts());
    unsigned style;
    EXPECT_EQ("first", PartText(0, &style));
    EXPECT_EQ(3, statusLine_->panes().count());
}

TEST_F(ControlsTest, DockingKeepsTheBarOnTheBottomEdge) {
    const struct {
        int width;
        int height;
    } sizes[] = {{378, 269}, {500, 400}, {300, 150}};
    for (const auto& size : sizes) {
        SetWindowPos(parent_, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        MessageLog log(status_);
        DockBottomControls(parent_);
        std::vector<Recorded> got = log.TakeAll();
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(static_cast<UINT>(WM_SIZE), got[0].message);
        EXPECT_EQ(static_cast<WPARAM>(SIZE_RESTORED), got[0].wParam);
        EXPECT_EQ(0, got[0].lParam);
        RECT client, rect = ChildRect(status_);
        GetClientRect(parent_, &client);
        EXPECT_EQ(client.bottom, rect.bottom) << size.width << "x" << size.height;
        EXPECT_EQ(0, rect.left);
        EXPECT_EQ(client.right, rect.right);
    }
    // Only bars are docked: the list (whose report style shares a bit with
    // the bar's docking styles) stays where it was made.
    RECT list = ChildRect(list_);
    EXPECT_EQ(0, list.top);
    EXPECT_EQ(200, list.bottom);
}

TEST_F(ControlsTest, DockingMovesABarThatDidNotPlaceItself) {
    DockBottomControls(parent_);
    MessageLog log(status_);
    log.swallowSize = true;
    RECT before = ChildRect(status_);
    const int height = before.bottom - before.top;
    MoveWindow(status_, 0, 40, before.right - before.left, height, TRUE);
    log.Forget();

    DockBottomControls(parent_);
    std::vector<Recorded> got = log.TakeAll();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(static_cast<UINT>(WM_SIZE), got[0].message);
    EXPECT_EQ(static_cast<UINT>(WM_WINDOWPOSCHANGING), got[1].message);
    RECT after = ChildRect(status_);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
    EXPECT_EQ(height, after.bottom - after.top);

    // Already on the edge: not moved again.
    DockBottomControls(parent_);
    got = log.TakeAll();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(static_cast<UINT>(WM_SIZE), got[0].message);
}

// ---------------------------------------------------------------------------
// The link label

TEST_F(ControlsTest, LinkLabelWindowAndClass) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    char className[64] = "";
    ASSERT_TRUE(GetClassNameA(label_, className, sizeof className));
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), className, &wc));
    EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW), wc.style);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), wc.hCursor);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), wc.hbrBackground);
    EXPECT_EQ(nullptr, wc.hIcon);
    EXPECT_EQ(nullptr, wc.lpszMenuName);

    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_CLIPSIBLINGS), GetWindowLongA(label_, GWL_STYLE));
    EXPECT_EQ(0, GetWindowLongA(label_, GWL_EXSTYLE));
    EXPECT_EQ(120, GetDlgCtrlID(label_));
    char text[64] = "";
    GetWindowTextA(label_, text, sizeof text);
    EXPECT_EQ(Hex(kLiterals.linkLabel), Hex(text));
    EXPECT_EQ(16u, std::strlen(text));
    RECT rect = ChildRect(label_);
    EXPECT_EQ(123, rect.left);
    EXPECT_EQ(205, rect.top);
    EXPECT_EQ(104, rect.right - rect.left);
    EXPECT_EQ(15, rect.bottom - rect.top);
    EXPECT_TRUE(RegisterLinkLabelClass());
}

// The label's client area as the screen shows it after it painted.
struct LabelPicture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

LabelPicture Picture(HWND label) {
    LabelPicture picture;
    RECT client;
    GetClientRect(label, &client);
    picture.width = client.right;
    picture.height = client.bottom;
    HDC dc = GetDC(label);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(label, dc);
    return picture;
}

void ShowAndPaint(HWND parent, HWND label) {
    SetWindowPos(parent, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateWindow(parent);
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages();
    GdiFlush();
}

TEST_F(ControlsTest, LinkLabelPaintsBlueUnderlinedTextOnButtonFace) {
    ShowAndPaint(parent_, label_);
    LabelPicture picture = Picture(label_);
    ASSERT_EQ(104, picture.width);
    ASSERT_EQ(15, picture.height);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF blue = RGB(0, 0, 255);
    // Glyph edges may be smoothed towards the background: still bluish.
    auto bluish = [](COLORREF c) { return GetBValue(c) > GetRValue(c) && GetBValue(c) > GetGValue(c); };

    int ink = 0, notBlue = 0, left = picture.width, right = -1, widestRun = 0;
    for (int y = 0; y < picture.height; ++y) {
        int run = 0;
        for (int x = 0; x < picture.width; ++x) {
            COLORREF c = picture.at(x, y);
            run = c == blue ? run + 1 : 0;
            widestRun = std::max(widestRun, run);
            if (c == face) continue;
            ++ink;
            notBlue += !bluish(c);
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    EXPECT_GT(ink, 200) << "no text";
    EXPECT_EQ(0, notBlue);
    // From the left edge; eight 12-pixel characters leave the right end bare.
    EXPECT_LE(left, 2);
    EXPECT_LT(right, picture.width - 4);
    for (int y = 0; y < picture.height; ++y) EXPECT_EQ(face, picture.at(picture.width - 1, y)) << y;
    // The underline: one solid blue line under the whole text.
    EXPECT_GE(widestRun, 90);
}

TEST_F(ControlsTest, LinkLabelWithoutTextIsOnlyButtonFace) {
    SetWindowTextA(label_, "");
    ShowAndPaint(parent_, label_);
    LabelPicture picture = Picture(label_);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int other = 0;
    for (COLORREF c : picture.pixels) other += c != face;
    EXPECT_EQ(0, other);
}

struct ShellRecord {
    int finds = 0;
    bool findArgsNull = false;
    std::string title;
    HWND found = nullptr;
    int executes = 0;
    HWND owner = nullptr;
    std::string verb;
    std::string file;
    bool parametersNull = false;
    bool directoryNull = false;
    INT show = -1;
};
ShellRecord g_shell;

HWND WINAPI FakeFindWindowEx(HWND parent, HWND childAfter, LPCSTR className, LPCSTR title) {
    ++g_shell.finds;
    g_shell.findArgsNull = !parent && !childAfter && !className;
    g_shell.title = title ? title : "(null)";
    return g_shell.found;
}

HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    ++g_shell.executes;
    g_shell.owner = owner;
    g_shell.verb = verb ? verb : "(null)";
    g_shell.file = file ? file : "(null)";
    g_shell.parametersNull = !parameters;
    g_shell.directoryNull = !directory;
    g_shell.show = show;
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

class FakeShell {
public:
    explicit FakeShell(HWND browser) {
        g_shell = {};
        g_shell.found = browser;
        BindShellCalls({FakeFindWindowEx, FakeShellExecute});
    }
    ~FakeShell() { BindShellCalls(SystemShellCalls()); }
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;
};

TEST(LinkLabel, OpenWebPageHandsTheAddressToTheShell) {
    const HWND browsers[] = {nullptr, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234))};
    for (HWND browser : browsers) {
        FakeShell shell(browser);
        OpenWebPage("http://example.net/page");
        EXPECT_EQ(1, g_shell.finds);
        EXPECT_TRUE(g_shell.findArgsNull);
        EXPECT_EQ("Microsoft Internet Explorer", g_shell.title);
        EXPECT_EQ(1, g_shell.executes);
        EXPECT_EQ(browser, g_shell.owner);
        EXPECT_EQ("open", g_shell.verb);
        EXPECT_EQ("http://example.net/page", g_shell.file);
        EXPECT_TRUE(g_shell.parametersNull);
        EXPECT_TRUE(g_shell.directoryNull);
        EXPECT_EQ(SW_SHOWNORMAL, g_shell.show);
    }
}

TEST(LinkLabel, EveryPressOpensTheLinkPage) {
    EXPECT_EQ(0, std::strncmp(linkPageUrl, "http", 4)) << linkPageUrl;
    FakeShell shell(nullptr);
    const struct { std::int32_t x, y, keys; } presses[] = {{0, 0, 0}, {103, 14, 1}, {50, -3, 7}};
    int expected = 0;
    for (const auto& press : presses) {
        OnLinkLabelPressed(press.x, press.y, press.keys);
        EXPECT_EQ(++expected, g_shell.executes);
        EXPECT_EQ(linkPageUrl, g_shell.file);
        EXPECT_EQ("open", g_shell.verb);
    }
}

// ---------------------------------------------------------------------------
// Reaching the controls

TEST_F(ControlsTest, OperationsOnControlsThatAreNotThereAreFatal) {
    const struct {
        const char* what;
        WindowId window;
        ControlId list;
        ControlId status;
        bool destroy;
    } cases[] = {
        {"window never loaded", static_cast<WindowId>(2), kList, kStatus, false},
        {"control never loaded", kWindow, static_cast<ControlId>(999), static_cast<ControlId>(998), false},
        {"control window destroyed", kWindow, kList, kStatus, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.destroy) {
            DestroyWindow(list_);
            DestroyWindow(status_);
        }
        const std::function<void()> operations[] = {
            [&] { InsertRow(c.window, c.list, std::nullopt, "a"); },
            [&] { SetCellText(c.window, c.list, 0, 1, "b"); },
            [&] { AppendStatusPane(c.window, c.status, "c", -1); },
            [&] { ClearStatusPanes(c.window, c.status); },
        };
        for (const auto& operation : operations) {
            CatchFatal fatal;
            try {
                operation();
                ADD_FAILURE() << "returned";
            } catch (const FatalStop& stop) {
                EXPECT_NE(std::string::npos, stop.text.find(kLiterals.controlNotLoaded)) << Hex(stop.text);
                EXPECT_EQ(std::string::npos, stop.text.find(kLiterals.reportCodeLabel));
                EXPECT_EQ(kLiterals.errorTitle, stop.caption);
                EXPECT_EQ(-1, stop.status);
            }
            EXPECT_EQ(1, fatal.boxes());
        }
    }
}

TEST_F(ControlsTest, OperationsAfterTheWindowIsUnloadedDoNothing) {
    InsertRow(kWindow, kList, std::nullopt, "kept");
    AppendStatusPane(kWindow, kStatus, "kept", -1);
    UnloadWindowControls(kWindow);
    CatchFatal fatal;
    MessageLog listLog(list_);
    MessageLog statusLog(status_);
    EXPECT_EQ(-1, InsertRow(kWindow, kList, std::nullopt, "late"));
    SetCellText(kWindow, kList, 0, 0, "late");
    EXPECT_EQ(-1, AppendStatusPane(kWindow, kStatus, "late", -1));
    ClearStatusPanes(kWindow, kStatus);
    EXPECT_EQ(0, fatal.boxes());
    EXPECT_TRUE(listLog.TakeAll().empty());
    EXPECT_TRUE(statusLog.TakeAll().empty());
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ("kept", Cell(0, 0));
    EXPECT_EQ(1, statusLine_->panes().count());
}

// The scan's road: the operations on a second thread, carried out by the
// thread that made the controls while it handles messages.
struct WorkerResults {
    std::int32_t rows[3] = {-2, -2, -2};
    std::int32_t panes[2] = {-2, -2};
    DWORD thread = 0;
};

DWORD WINAPI ScanLikeWorker(void* parameter) {
    auto* results = static_cast<WorkerResults*>(parameter);
    results->thread = GetCurrentThreadId();
    results->panes[0] = AppendStatusPane(kWindow, kStatus, kLiterals.scanProgress, -1);
    const char* hosts[3][3] = {
        {"HOST-A", "192.168.1.2", "00-11-22-33-44-55"},
        {"HOST-B", "", ""},
        {"HOST-C", "192.168.1.9", ""},
    };
    for (int i = 0; i < 3; ++i) {
        results->rows[i] = InsertRow(kWindow, kList, std::nullopt, hosts[i][0]);
        SetCellText(kWindow, kList, results->rows[i], 1, hosts[i][1]);
        SetCellText(kWindow, kList, results->rows[i], 2, hosts[i][2]);
    }
    ClearStatusPanes(kWindow, kStatus);
    results->panes[1] = AppendStatusPane(kWindow, kStatus, kLiterals.scanFailure, -1);
    return 0;
}

TEST_F(ControlsTest, OperationsFromAnotherThreadRunOnTheControlsThread) {
    MessageLog listLog(list_);
    MessageLog statusLog(status_);
    WorkerResults results;
    OwnedHandle worker(CreateThread(nullptr, 0, ScanLikeWorker, &results, 0, nullptr));
    ASSERT_TRUE(worker.get());
    PumpUntilSignalled(worker.get());
    std::vector<Recorded> listMessages = listLog.TakeAll();
    std::vector<Recorded> statusMessages = statusLog.TakeAll();

    EXPECT_NE(GetCurrentThreadId(), results.thread);
    for (const auto& r : listMessages) EXPECT_EQ(GetCurrentThreadId(), r.thread) << Describe(r);
    for (const auto& r : statusMessages) EXPECT_EQ(GetCurrentThreadId(), r.thread) << Describe(r);
    ExpectSequence(listMessages, {
                                     {LVM_GETITEMCOUNT},
                                     {LVM_INSERTITEMA, 0, 0, "HOST-A"},
                                     {LVM_SETITEMTEXTA, 0, 0, "192.168.1.2"},
                                     {LVM_SETITEMTEXTA, 0, 0, "00-11-22-33-44-55"},
                                     {LVM_GETITEMCOUNT},
                                     {LVM_INSERTITEMA, 0, 0, "HOST-B"},
                                     {LVM_SETITEMTEXTA, 1},
                                     {LVM_SETITEMTEXTA, 1},
                                     {LVM_GETITEMCOUNT},
                                     {LVM_INSERTITEMA, 0, 0, "HOST-C"},
                                     {LVM_SETITEMTEXTA, 2, 0, "192.168.1.9"},
                                     {LVM_SETITEMTEXTA, 2},
                                 });
    ExpectSequence(statusMessages, {
                                       {SB_ISSIMPLE},
                                       {SB_SIMPLE, FALSE},
                                       {SB_SETPARTS, 1, 0, "", {-1}},
                                       {SB_SETTEXTA, 0, 0, kLiterals.scanProgress},
                                       {SB_SETICON, 0, 0},
                                       {SB_SETTIPTEXTA, 0, 0, ""},
                                       {SB_SIMPLE, TRUE},
                                       {SB_ISSIMPLE},
                                       {SB_SIMPLE, FALSE},
                                       {SB_SETPARTS, 1, 0, "", {-1}},
                                       {SB_SETTEXTA, 0, 0, kLiterals.scanFailure},
                                       {SB_SETICON, 0, 0},
                                       {SB_SETTIPTEXTA, 0, 0, ""},
                                   });

    EXPECT_EQ(0, results.rows[0]);
    EXPECT_EQ(1, results.rows[1]);
    EXPECT_EQ(2, results.rows[2]);
    EXPECT_EQ(0, results.panes[0]);
    EXPECT_EQ(0, results.panes[1]);
    ASSERT_EQ(3, RowCount());
    EXPECT_EQ("HOST-A", Cell(0, 0));
    EXPECT_EQ("192.168.1.2", Cell(0, 1));
    EXPECT_EQ("00-11-22-33-44-55", Cell(0, 2));
    EXPECT_EQ("", Cell(1, 1));
    EXPECT_EQ("192.168.1.9", Cell(2, 1));
    EXPECT_EQ(std::vector<int>{-1}, Parts());
    unsigned style;
    EXPECT_EQ(Hex(kLiterals.scanFailure), Hex(PartText(0, &style)));
}

}  // namespace
}  // namespace lanhosts
