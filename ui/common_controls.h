// The common controls (list view, status bar). COMCTL32 is not one of the
// libraries that Windows protects as known DLLs, so it is loaded from the
// system directory by full path and never imported by the executable.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace lanhosts {

struct CommonControlsCalls {
    BOOL(WINAPI* initCommonControlsEx)(const INITCOMMONCONTROLSEX* init);
};

// Loads COMCTL32 from the system directory and binds its calls; false when
// it is not there. The library stays loaded for the life of the process.
bool BindSystemCommonControls();
// Binds other calls (tests); the classes count as not yet registered.
void BindCommonControlsCalls(const CommonControlsCalls& calls);
const CommonControlsCalls& BoundCommonControlsCalls();

// Registers the list view and status bar classes the first time it succeeds
// (binding the system library if nothing is bound yet). False when the common
// controls are not available: creating a control then fails. UI thread.
bool InitCommonControlsOnce();

}  // namespace lanhosts
