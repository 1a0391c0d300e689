#include "ui/status_line.h"

#include <algorithm>
#include <array>

#include "scan/literals.h"
#include "ui/common_controls.h"
#include "ui/gdi.h"
#include "ui/window_classes.h"

namespace lanhosts {
namespace {

constexpr DWORD kStatusLineStyle = WS_CHILD | CCS_BOTTOM | SBT_TOOLTIPS;

bool IsBottomBar(HWND hwnd) {
    char className[32];
    if (!GetClassNameA(hwnd, className, sizeof className)) return false;
    if (lstrcmpiA(className, STATUSCLASSNAMEA) != 0) return false;
    return (GetWindowLongA(hwnd, GWL_STYLE) & CCS_BOTTOM) == CCS_BOTTOM;
}

RECT RectInParent(HWND hwnd, HWND parent) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

std::unique_ptr<StatusLine> CreateStatusLine(HWND parent, const RECT& rect, int id) {
    if (!InitCommonControlsOnce()) return nullptr;
    HWND hwnd = CreateChildWindow(STATUSCLASSNAMEA, kLiterals.empty, kStatusLineStyle, parent, rect, id);
    if (!hwnd) return nullptr;
    auto line = std::make_unique<StatusLine>(hwnd);
    line->SetFont(StockGuiFont());
    line->SetSimple(false);
    line->SetBkColor(GetSysColor(COLOR_BTNFACE));
    ApplyStatusPanes(*line);
    return line;
}

void ApplyStatusPanes(const StatusLine& line) {
    const StatusPanes& panes = line.panes();
    if (panes.empty()) {
        line.SetSimple(true);
        return;
    }
    PaneEdges edges(panes);
    const bool wasSimple = line.IsSimple();
    line.SetSimple(false);
    if (!line.SetParts(edges)) {
        line.SetSimple(wasSimple);
        return;
    }
    std::int32_t i = 0;
    for (StatusPane pane : panes) {
        line.SetText(i, pane.style, pane.text);
        line.SetIcon(i, nullptr);
        line.SetTipText(i, pane.tip);
        ++i;
    }
}

std::int32_t AppendStatusPane(WindowId window, ControlId control, const char* text, std::optional<std::int32_t> width,
                              const char* tip, std::optional<std::int32_t> icon,
                              std::optional<std::int32_t> styleCode) {
    ControlLease lease = LookUpControl(window, control);
    if (!lease) return -1;
    StatusLine& line = *lease.as<StatusLine>();
    std::int32_t index = line.panes().Append(text, width, tip, icon, styleCode);
    ApplyStatusPanes(line);
    return index;
}

void ClearStatusPanes(WindowId window, ControlId control) {
    ControlLease lease = LookUpControl(window, control);
    if (!lease) return;
    StatusLine& line = *lease.as<StatusLine>();
    line.panes().Clear();
    ApplyStatusPanes(line);
}

void DockBottomControls(HWND parent) {
    // A window has few bars; more than this many are left where they are.
    std::array<HWND, 8> bars{};
    std::size_t count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child && count < bars.size();
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsBottomBar(child)) bars[count++] = child;
    }
    for (std::size_t i = 0; i < count; ++i) SendMessageA(bars[i], WM_SIZE, SIZE_RESTORED, 0);

    std::sort(bars.begin(), bars.begin() + count, [](HWND a, HWND b) { return GetDlgCtrlID(a) > GetDlgCtrlID(b); });
    RECT client;
    GetClientRect(parent, &client);
    LONG bottom = client.bottom;
    for (std::size_t i = 0; i < count; ++i) {
        RECT rect = RectInParent(bars[i], parent);
        const LONG height = rect.bottom - rect.top;
        if (rect.bottom != bottom)
            MoveWindow(bars[i], rect.left, bottom - height, rect.right - rect.left, height, TRUE);
        bottom -= height;
    }
}

}  // namespace lanhosts
