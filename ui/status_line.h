// The status line: a status bar along the bottom of its parent whose panes
// the program keeps itself (StatusPanes) and pushes to the bar after every
// change. The scan changes them from its own thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "ui/control_registry.h"
#include "ui/status_panes.h"

namespace lanhosts {

// The status bar, one method per message, and the pane list behind it.
class StatusLine : public Control {
public:
    explicit StatusLine(HWND hwnd) : Control(hwnd) {}

    StatusPanes& panes() { return panes_; }
    const StatusPanes& panes() const { return panes_; }

    bool IsSimple() const { return Send(SB_ISSIMPLE) != FALSE; }
    void SetSimple(bool simple) const { Send(SB_SIMPLE, simple ? TRUE : FALSE); }
    bool SetParts(const PaneEdges& edges) const {
        return Send(SB_SETPARTS, static_cast<WPARAM>(edges.count()), reinterpret_cast<LPARAM>(edges.data())) != FALSE;
    }
    void SetText(std::int32_t part, std::uint32_t style, const char* text) const {
        Send(SB_SETTEXTA, static_cast<WPARAM>(part) | style, reinterpret_cast<LPARAM>(text));
    }
    void SetIcon(std::int32_t part, HICON icon) const {
        Send(SB_SETICON, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(icon));
    }
    void SetTipText(std::int32_t part, const char* tip) const {
        Send(SB_SETTIPTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(tip));
    }
    void SetBkColor(COLORREF colour) const { Send(CCM_SETBKCOLOR, 0, colour); }
    void SetFont(HFONT font) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd(), message, wParam, lParam);
    }

    StatusPanes panes_;
};

// Creates the bar hidden; rect is only a request, the bar places itself
// along the bottom of parent's client area. Null on failure. UI thread.
std::unique_ptr<StatusLine> CreateStatusLine(HWND parent, const RECT& rect, int id);

// Pushes the pane list to the bar: simple mode and blank without panes,
// otherwise the parts and, per pane, text, icon and tip. Should the bar refuse
// the parts, it keeps what it showed.
void ApplyStatusPanes(const StatusLine& line);

// Adds a pane (see StatusPanes::Append for the defaults) and shows the list.
// The pane's index, or -1 when the program is ending.
std::int32_t AppendStatusPane(WindowId window, ControlId control, const char* text,
                              std::optional<std::int32_t> width = std::nullopt, const char* tip = nullptr,
                              std::optional<std::int32_t> icon = std::nullopt,
                              std::optional<std::int32_t> styleCode = std::nullopt);
void ClearStatusPanes(WindowId window, ControlId control);

// Docks the status bars among parent's children (CCS_BOTTOM) to the bottom of
// its client area: each first places itself, then each that is not on the
// bottom edge is moved there, stacked upwards, the highest child identifier
// nearest the edge. Once at load and on every WM_SIZE of parent.
void DockBottomControls(HWND parent);

}  // namespace lanhosts
