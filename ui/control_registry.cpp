#include "ui/control_registry.h"

#include <array>

#include "app/fatal.h"
#include "scan/literals.h"

namespace lanhosts {
namespace {

constexpr std::size_t kMaxControls = 8;

struct ControlEntry {
    ControlId id;
    Control* object;
};

struct WindowSlot {
    WindowId id = WindowId::kMainWindow;
    HWND hwnd = nullptr;
    bool loaded = false;
    // Once loaded, a window that is gone is an ending, not a fault.
    bool everLoaded = false;
    std::array<ControlEntry, kMaxControls> controls{};
    std::size_t controlCount = 0;
};

// The worker reads the registry while the UI thread may unload it; every
// access holds this lock, and no lock is held across a window message.
SRWLOCK g_lock = SRWLOCK_INIT;
WindowSlot g_main;
long g_leases = 0;

class ExclusiveLock {
public:
    ExclusiveLock() { AcquireSRWLockExclusive(&g_lock); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&g_lock); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
};

WindowSlot* FindWindowSlot(WindowId window) { return window == WindowId::kMainWindow ? &g_main : nullptr; }

Control* FindControl(WindowSlot& slot, ControlId control) {
    for (std::size_t i = 0; i < slot.controlCount; ++i) {
        if (slot.controls[i].id == control) return slot.controls[i].object;
    }
    return nullptr;
}

// Lets the worker's pending SendMessage calls through while the UI thread
// waits for its leases to end.
void PumpSentMessages() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

ControlLease::~ControlLease() {
    if (!control_) return;
    ExclusiveLock guard;
    --g_leases;
}

void MarkWindowLoaded(WindowId window, HWND hwnd) {
    ExclusiveLock guard;
    WindowSlot* slot = FindWindowSlot(window);
    slot->hwnd = hwnd;
    slot->loaded = true;
    slot->everLoaded = true;
}

void RegisterControl(WindowId window, ControlId control, Control* object) {
    ExclusiveLock guard;
    WindowSlot* slot = FindWindowSlot(window);
    if (slot->controlCount < kMaxControls) slot->controls[slot->controlCount++] = {control, object};
}

void UnloadWindowControls(WindowId window) {
    ExclusiveLock guard;
    WindowSlot* slot = FindWindowSlot(window);
    slot->loaded = false;
}

void ReleaseControlRegistry() {
    for (;;) {
        {
            ExclusiveLock guard;
            g_main.loaded = false;
            if (g_leases == 0) break;
        }
        PumpSentMessages();
    }
    std::array<ControlEntry, kMaxControls> released;
    std::size_t count;
    {
        ExclusiveLock guard;
        released = g_main.controls;
        count = g_main.controlCount;
        g_main.controlCount = 0;
        g_main.hwnd = nullptr;
    }
    for (std::size_t i = 0; i < count; ++i) delete released[i].object;
}

bool AnyWindowLoaded() {
    HWND hwnd;
    {
        ExclusiveLock guard;
        if (!g_main.loaded) return false;
        hwnd = g_main.hwnd;
    }
    return IsWindow(hwnd) != FALSE;
}

ControlLease LookUpControl(WindowId window, ControlId control) {
    {
        ExclusiveLock guard;
        WindowSlot* slot = FindWindowSlot(window);
        if (slot && slot->everLoaded && !slot->loaded) return ControlLease();
        Control* object = slot && slot->loaded ? FindControl(*slot, control) : nullptr;
        if (object && IsWindow(object->hwnd())) {
            ++g_leases;
            return ControlLease(object);
        }
    }
    ReportFatalError(kLiterals.controlNotLoaded, 0);
}

}  // namespace lanhosts
