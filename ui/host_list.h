// The host list: a report-view list view with the columns computer name, IP
// and hardware address, filled row by row by the scan from its own thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "ui/control_registry.h"

namespace lanhosts {

// The list view, one method per message. Safe from any thread: each is a
// SendMessageA, carried out by the thread that created the control.
class HostList : public Control {
public:
    explicit HostList(HWND hwnd) : Control(hwnd) {}

    std::int32_t ItemCount() const { return static_cast<std::int32_t>(Send(LVM_GETITEMCOUNT)); }
    std::int32_t InsertItem(const LVITEMA& item) const {
        return static_cast<std::int32_t>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    void SetItemText(std::int32_t row, const LVITEMA& item) const {
        Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    std::int32_t InsertColumn(std::int32_t index, const LVCOLUMNA& column) const {
        return static_cast<std::int32_t>(
            Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    void DeleteAllItems() const { Send(LVM_DELETEALLITEMS); }
    void SetExtendedStyle(DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    void SetTextColor(COLORREF colour) const { Send(LVM_SETTEXTCOLOR, 0, colour); }
    void SetTextBkColor(COLORREF colour) const { Send(LVM_SETTEXTBKCOLOR, 0, colour); }
    void SetBkColor(COLORREF colour) const { Send(LVM_SETBKCOLOR, 0, colour); }
    void SetFont(HFONT font) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd(), message, wParam, lParam);
    }
};

// Creates the list hidden, at rect (client coordinates of parent), with its
// columns and no rows. Null when the common controls or the window could not
// be had. UI thread.
std::unique_ptr<HostList> CreateHostList(HWND parent, const RECT& rect, int id);

// Inserts a row with the given first-column text at position, or after the
// last row when position is omitted or negative. The new row's index, or -1
// when the control refused it or the program is ending.
std::int32_t InsertRow(WindowId window, ControlId control, std::optional<std::int32_t> position, const char* text);

// Sets the text of one cell: column 0 is the row's item text. A row that does
// not exist is left alone.
void SetCellText(WindowId window, ControlId control, std::int32_t row, std::int32_t column = 0, const char* text = "");

}  // namespace lanhosts
