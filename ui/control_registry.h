// The registry through which the worker reaches the controls of a loaded
// window: (window, control) -> live control object, from any thread.
#pragma once

#include <windows.h>

namespace lanhosts {

enum class WindowId { kMainWindow = 1 };
enum class ControlId { kHostList = 100, kStatusLine = 110, kLinkLabel = 120 };

// A live control: its window handle, plus what its kind keeps beside it.
class Control {
public:
    explicit Control(HWND hwnd) : hwnd_(hwnd) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Holds a control for the length of one operation. Empty once the end of the
// program has begun: the operation then does nothing, so a scan cut off by a
// close never touches released controls.
class ControlLease {
public:
    ControlLease() = default;
    explicit ControlLease(Control* control) : control_(control) {}
    ControlLease(ControlLease&& other) noexcept : control_(other.control_) { other.control_ = nullptr; }
    ControlLease& operator=(ControlLease&&) = delete;
    ControlLease(const ControlLease&) = delete;
    ~ControlLease();
    explicit operator bool() const { return control_ != nullptr; }
    Control* get() const { return control_; }
    template <typename T>
    T* as() const { return static_cast<T*>(control_); }

private:
    Control* control_ = nullptr;
};

// Records a control of a window being loaded (UI thread, before the worker).
void RegisterControl(WindowId window, ControlId control, Control* object);
// The window is gone: its controls are no longer loaded (UI thread).
void UnloadWindowControls(WindowId window);
// Stops new leases, waits for the leases in use (handling the messages their
// holders send meanwhile) and releases every control object (UI thread).
void ReleaseControlRegistry();
bool AnyWindowLoaded();
void MarkWindowLoaded(WindowId window, HWND hwnd);

// The live control, or the fatal report "指定窗口或窗口组件不存在或尚未载入"
// when it is not loaded or its window handle is gone. Once the end has begun it
// returns an empty lease instead.
ControlLease LookUpControl(WindowId window, ControlId control);

}  // namespace lanhosts
