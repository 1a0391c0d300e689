// A bare window for the start-up figure: one class, one window of the main
// window's size, shown, and a message loop. What Wine costs before any
// program does anything of its own.
#include <windows.h>

namespace {

LRESULT CALLBACK EmptyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = EmptyProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BenchEmptyWindow";
    if (!RegisterClassA(&wc)) return 3;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "empty", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                CW_USEDEFAULT, 378, 269, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 3;
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
