#include "ui/window_classes.h"

namespace lanhosts {

bool RegisterWindowClassOnce(const char* name, UINT style, WNDPROC procedure) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, name, &wc)) return true;
    wc = {};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

HWND CreateChildWindow(const char* className, const char* text, DWORD style, HWND parent, const RECT& rect, int id) {
    return CreateWindowExA(0, className, text, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace lanhosts
