#include "ui/link_label.h"

#include "scan/literals.h"
#include "scan/text.h"
#include "ui/gdi.h"
#include "ui/shell_calls.h"
#include "ui/window_classes.h"

namespace lanhosts {

const char linkPageUrl[] = LANHOSTS_LINK_URL;

namespace {

constexpr char kLinkLabelClass[] = "LanhostsLinkLabel";
constexpr DWORD kLinkLabelStyle = WS_CHILD | WS_CLIPSIBLINGS;
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr UINT kLinkTextFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;

// Underlined, and no face name: the font mapper picks one for GB2312.
LOGFONTA LinkFont() {
    LOGFONTA font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = 1;
    font.lfCharSet = GB2312_CHARSET;
    return font;
}

OwnedText WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return OwnedText();
    OwnedText text(static_cast<char*>(AllocateMemory(length + 1)));
    text.data()[GetWindowTextA(hwnd, text.data(), length + 1)] = '\0';
    return text;
}

void OnPaint(HWND hwnd) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc();
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION || IsRectEmpty(&clip)) return;

    RECT client;
    GetClientRect(hwnd, &client);
    RECT area;
    IntersectRect(&area, &clip, &client);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));

    OwnedText text = WindowText(hwnd);
    if (!*text.c_str()) return;
    const LOGFONTA logFont = LinkFont();
    OwnedFont font(CreateFontIndirectA(&logFont));
    SelectedObject selected(dc, font ? font.get() : StockGuiFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLinkColour);
    DrawTextA(dc, text.c_str(), -1, &client, kLinkTextFormat);
}

LRESULT CALLBACK LinkLabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint(hwnd);
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterLinkLabelClass() {
    return RegisterWindowClassOnce(kLinkLabelClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LinkLabelProc);
}

std::unique_ptr<LinkLabel> CreateLinkLabel(HWND parent, const RECT& rect, int id) {
    if (!RegisterLinkLabelClass()) return nullptr;
    HWND hwnd = CreateChildWindow(kLinkLabelClass, kLiterals.linkLabel, kLinkLabelStyle, parent, rect, id);
    if (!hwnd) return nullptr;
    return std::make_unique<LinkLabel>(hwnd);
}

void OpenWebPage(const char* address) {
    const ShellCalls& shell = BoundShellCalls();
    HWND owner = shell.findWindowEx(nullptr, nullptr, nullptr, kLiterals.ieWindowTitle);
    shell.shellExecute(owner, kLiterals.openVerb, address, nullptr, nullptr, SW_SHOWNORMAL);
}

void OnLinkLabelPressed(std::int32_t, std::int32_t, std::int32_t) { OpenWebPage(linkPageUrl); }

}  // namespace lanhosts
