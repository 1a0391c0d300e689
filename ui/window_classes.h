// Thin helpers over window classes and child windows, shared by the main
// window, its controls and the frame's helper window.
#pragma once

#include <windows.h>

namespace lanhosts {

// Registers a class of this module once: the arrow cursor, the null brush and
// no icon, as all of ours have. True when the class is there.
bool RegisterWindowClassOnce(const char* name, UINT style, WNDPROC procedure);

// A child window of parent with the given identifier; rect is left, top,
// right, bottom in the parent's client coordinates. Null on failure.
HWND CreateChildWindow(const char* className, const char* text, DWORD style, HWND parent, const RECT& rect, int id);

}  // namespace lanhosts
