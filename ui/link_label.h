// The link label: blue, underlined text that opens the maker's web page when
// it is pressed. A window class of its own that paints its text itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/control_registry.h"

namespace lanhosts {

// The page the label opens.
extern const char linkPageUrl[];

class LinkLabel : public Control {
public:
    explicit LinkLabel(HWND hwnd) : Control(hwnd) {}
};

// Registers the label's window class once per process; true when it is
// there. CreateLinkLabel does it itself when needed.
bool RegisterLinkLabelClass();

// Creates the label hidden at rect (client coordinates of parent) with its
// text. Null on failure. UI thread.
std::unique_ptr<LinkLabel> CreateLinkLabel(HWND parent, const RECT& rect, int id);

// Hands address to the shell; a running browser window owns the request.
void OpenWebPage(const char* address);

// The label's left-button-pressed event: opens linkPageUrl. The position and
// key state do not matter.
void OnLinkLabelPressed(std::int32_t x, std::int32_t y, std::int32_t keys);

}  // namespace lanhosts
