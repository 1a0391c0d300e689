// MainWindow: the program's only window, its definition and its events.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/control_registry.h"

namespace lanhosts {

enum class ControlKind { kListView, kStatusBar, kLabel };

struct ControlDefinition {
    ControlKind kind;
    const char* designName;
    ControlId id;
    RECT rect;  // left, top, width, height in client coordinates
};

// What the window is made of, and which handlers its events reach.
struct WindowDefinition {
    WindowId id;
    const char* title;
    int width;
    int height;
    DWORD style;
    DWORD exStyle;
    UINT classStyle;
    ControlDefinition controls[3];
    void (*onCreated)();
    void (*onLinkLabelPressed)(std::int32_t x, std::int32_t y, std::int32_t keys);
};

// The definition stored in the program, checked; null when it is unusable.
const WindowDefinition* LoadWindowDefinition();

// Builds the window hidden, creates its controls, fires the created event and
// shows the window. False when the window or a control could not be made.
bool LoadMainWindow(const WindowDefinition& definition);

HWND MainWindowHandle();

// Keyboard and label-click handling before dispatch; true when consumed.
bool PreTranslateMainWindowMessage(MSG& msg);

// Icons and other objects the window kept; after the window is gone.
void ReleaseMainWindowResources();

// The created event's handler: starts the scan on its worker thread.
void OnMainWindowCreated();

// Key state bits of a label press.
constexpr std::int32_t kKeyCtrl = 1;
constexpr std::int32_t kKeyShift = 2;
constexpr std::int32_t kKeyAlt = 4;

}  // namespace lanhosts
