#include "ui/host_list.h"

#include "scan/literals.h"
#include "ui/common_controls.h"
#include "ui/gdi.h"
#include "ui/window_classes.h"

namespace lanhosts {
namespace {

constexpr DWORD kHostListStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL;
constexpr DWORD kHostListExtendedStyle = LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES;
constexpr UINT kColumnMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
constexpr UINT kRowMask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;

struct ColumnSpec {
    const char* heading;
    int width;
    int format;
};

const ColumnSpec kColumns[] = {
    {kLiterals.columnName, 100, LVCFMT_LEFT},
    {kLiterals.columnAddress, 100, LVCFMT_CENTER},
    {kLiterals.columnHardware, 120, LVCFMT_CENTER},
};

// The sunken edge replaces any plain border once the control exists.
void UseClientEdge(HWND hwnd) {
    SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) & ~WS_BORDER);
    SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InsertColumns(const HostList& list) {
    for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
        LVCOLUMNA column{};
        column.mask = kColumnMask;
        column.fmt = kColumns[i].format;
        column.cx = kColumns[i].width;
        // The control copies the heading; it never writes to it.
        column.pszText = const_cast<char*>(kColumns[i].heading);
        column.iSubItem = i;
        list.InsertColumn(i, column);
    }
}

}  // namespace

std::unique_ptr<HostList> CreateHostList(HWND parent, const RECT& rect, int id) {
    if (!InitCommonControlsOnce()) return nullptr;
    HWND hwnd = CreateChildWindow(WC_LISTVIEWA, kLiterals.empty, kHostListStyle, parent, rect, id);
    if (!hwnd) return nullptr;
    auto list = std::make_unique<HostList>(hwnd);
    UseClientEdge(hwnd);
    list->SetFont(StockGuiFont());
    list->SetExtendedStyle(kHostListExtendedStyle);
    list->SetTextColor(RGB(0, 0, 0));
    list->SetTextBkColor(RGB(255, 255, 255));
    list->SetBkColor(RGB(255, 255, 255));
    InsertColumns(*list);
    list->DeleteAllItems();
    return list;
}

std::int32_t InsertRow(WindowId window, ControlId control, std::optional<std::int32_t> position, const char* text) {
    ControlLease lease = LookUpControl(window, control);
    if (!lease) return -1;
    const HostList& list = *lease.as<HostList>();
    LVITEMA item{};
    item.mask = kRowMask;
    item.iItem = position && *position >= 0 ? *position : list.ItemCount();
    // Inserting copies the text; the control never writes to it.
    item.pszText = const_cast<char*>(text ? text : kLiterals.empty);
    item.iImage = -1;
    return list.InsertItem(item);
}

void SetCellText(WindowId window, ControlId control, std::int32_t row, std::int32_t column, const char* text) {
    ControlLease lease = LookUpControl(window, control);
    if (!lease) return;
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text ? text : kLiterals.empty);
    lease.as<HostList>()->SetItemText(row, item);
}

}  // namespace lanhosts
