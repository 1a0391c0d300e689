// What the link label needs of the shell: the browser window to own the
// request, and ShellExecuteA. Bound once at start-up; tests replace it.
#pragma once

#include <windows.h>

namespace lanhosts {

struct ShellCalls {
    HWND(WINAPI* findWindowEx)(HWND parent, HWND childAfter, LPCSTR className, LPCSTR title);
    HINSTANCE(WINAPI* shellExecute)
    (HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
};

// The real calls of USER32 and SHELL32; bound from the start.
const ShellCalls& SystemShellCalls();
void BindShellCalls(const ShellCalls& calls);
const ShellCalls& BoundShellCalls();

}  // namespace lanhosts
