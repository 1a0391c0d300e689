// The frame's platform calls that tests count or replace: OLE, the modal box
// and the process exit. Bound once at start; the defaults are the real calls.
#pragma once

#include <windows.h>

namespace lanhosts {

struct FrameCalls {
    HRESULT(WINAPI* oleInitialize)(LPVOID reserved);
    void(WINAPI* oleUninitialize)();
    int(WINAPI* messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
    void(WINAPI* exitProcess)(UINT status);
};

void BindFrameCalls(const FrameCalls& calls);
const FrameCalls& BoundFrameCalls();

}  // namespace lanhosts
