#include "ui/common_controls.h"

#include "app/system_library.h"

namespace lanhosts {
namespace {

CommonControlsCalls g_calls = {nullptr};
bool g_classesReady = false;

}  // namespace

bool BindSystemCommonControls() {
    CommonControlsCalls calls = {nullptr};
    if (!BindExport(LoadSystemLibrary("comctl32.dll"), "InitCommonControlsEx", calls.initCommonControlsEx))
        return false;
    BindCommonControlsCalls(calls);
    return true;
}

void BindCommonControlsCalls(const CommonControlsCalls& calls) {
    g_calls = calls;
    g_classesReady = false;
}

const CommonControlsCalls& BoundCommonControlsCalls() { return g_calls; }

bool InitCommonControlsOnce() {
    if (g_classesReady) return true;
    if (!g_calls.initCommonControlsEx && !BindSystemCommonControls()) return false;
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    g_classesReady = g_calls.initCommonControlsEx(&init) != FALSE;
    return g_classesReady;
}

}  // namespace lanhosts
