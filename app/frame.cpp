#include "app/frame.h"

#include <float.h>
#include <ole2.h>

#include <cstring>

#include "app/fatal.h"
#include "app/platform_calls.h"
#include "scan/literals.h"
#include "scan/lookup.h"
#include "scan/memory.h"
#include "scan/mpr_calls.h"
#include "ui/common_controls.h"
#include "ui/control_registry.h"
#include "ui/main_window.h"
#include "ui/window_classes.h"

namespace lanhosts {
namespace {

constexpr char kHelperClassName[] = "LanHostsHelperWindow";

FrameCalls g_calls = {OleInitialize, OleUninitialize, MessageBoxA, ExitProcess};
PreTranslateHook g_preTranslate = nullptr;
const WindowDefinition* g_definition = nullptr;

// The process heap, with no flags, behind every Text and TextList.
void* ProcessHeapAllocate(std::size_t size) { return HeapAlloc(Frame().heap, 0, size); }
void* ProcessHeapReallocate(void* block, std::size_t size) { return HeapReAlloc(Frame().heap, 0, block, size); }
void ProcessHeapRelease(void* block) { HeapFree(Frame().heap, 0, block); }

bool OnUiThread() { return Frame().uiThreadId == 0 || GetCurrentThreadId() == Frame().uiThreadId; }

// Fatal reports: the first of a report and an ending owns the end.
bool BeginFatalStop() {
    RaiseEventBlock();
    if (Frame().endingStarted.load()) return false;
    return !Frame().endClaimed.exchange(true);
}
int ShowFatalBox(const char* text, const char* caption, unsigned style) {
    return g_calls.messageBox(nullptr, text, caption, style);
}
void ClearEndRoutine() { Frame().endOfProgramRoutine = nullptr; }
[[noreturn]] void WaitForEnd() {
    // Another report or the close owns the end. The UI thread keeps serving
    // messages, so that a report on the worker can hand its end over.
    if (OnUiThread()) {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        EndProgram(-1);
    }
    for (;;) Sleep(INFINITE);
}

LRESULT CALLBACK HelperWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kEndRequestMessage) EndProgram(static_cast<std::int32_t>(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateHelperWindow() {
    RegisterWindowClassOnce(kHelperClassName, 0, HelperWindowProc);
    return CreateWindowExA(WS_EX_TOOLWINDOW, kHelperClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void SetCurrentDirectoryToProgram() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    path[length] = '\0';
    CutToDirectory(path);
    SetCurrentDirectoryA(path);
}

void GlobalFinaliser() {}

void LoadStartWindow(WindowId window) {
    if (!g_definition || g_definition->id != window || !LoadMainWindow(*g_definition)) {
        ReportFatalError(kLiterals.startWindowFailed, 0);
    }
}

}  // namespace

namespace {
// Constant-initialised: there before anything runs, on either thread.
FrameState g_frame;
}  // namespace

FrameState& Frame() { return g_frame; }

void CutToDirectory(char* path) {
    // Read as multibyte text in the ANSI code page, so that a trail byte 0x5C
    // is no backslash.
    char* lastBackslash = nullptr;
    for (char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\') lastBackslash = p;
    }
    if (lastBackslash) *lastBackslash = '\0';
    else path[0] = '\0';
}

void BindFrameCalls(const FrameCalls& calls) { g_calls = calls; }
const FrameCalls& BoundFrameCalls() { return g_calls; }
void SetPreTranslateHook(PreTranslateHook hook) { g_preTranslate = hook; }

void RaiseEventBlock() { ++Frame().eventBlockCount; }
void LowerEventBlock() {
    std::int32_t count = Frame().eventBlockCount.load();
    while (count > 0 && !Frame().eventBlockCount.compare_exchange_weak(count, count - 1)) {
    }
}

void InitFrame() {
    FrameState& f = Frame();
    f.heap = GetProcessHeap();
    BindHeap({ProcessHeapAllocate, ProcessHeapReallocate, ProcessHeapRelease});
    BindFatalCalls({BeginFatalStop, ShowFatalBox, ClearEndRoutine, EndProgram, WaitForEnd});
    if (!f.oleInitialized) {
        g_calls.oleInitialize(nullptr);
        f.oleInitialized = true;
    }
    SetCurrentDirectoryToProgram();
    // The libraries that are not known DLLs, from the system directory.
    BindSystemMprCalls();
    BindSystemCommonControls();
    f.helperWindow = CreateHelperWindow();
    f.uiThreadId = GetCurrentThreadId();
    RegisterProgramLiterals();
    g_definition = LoadWindowDefinition();
    if (!g_definition) ReportFatalError(kLiterals.windowDataFailed, 0);
}

void RegisterEndRoutine(EndRoutine routine) { Frame().endOfProgramRoutine = routine; }

std::int32_t ProgramStart() {
    InitFrame();
    _fpreset();
    RegisterEndRoutine(GlobalFinaliser);
    LoadStartWindow(WindowId::kMainWindow);
    RunEventLoop();
    return 0;
}

void RunEventLoop() {
    Frame().loopStarted = true;
    if (!AnyWindowLoaded()) return;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (g_preTranslate && g_preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void NoteWindowGone() {
    if (Frame().loopStarted && !AnyWindowLoaded()) PostQuitMessage(0);
}

bool LaunchThread(LPTHREAD_START_ROUTINE routine, std::int32_t parameter, HANDLE* handle) {
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, routine, reinterpret_cast<LPVOID>(static_cast<INT_PTR>(parameter)), 0,
                                 &threadId);
    if (handle) *handle = thread;
    else if (thread) CloseHandle(thread);
    return thread != nullptr;
}

void EndSequence(std::int32_t status) {
    FrameState& f = Frame();
    RaiseEventBlock();
    if (!OnUiThread()) {
        // The UI thread owns the windows: it ends the process for us.
        if (IsWindow(f.helperWindow)) {
            SendMessageA(f.helperWindow, kEndRequestMessage, static_cast<WPARAM>(status), 0);
        }
        return;
    }
    f.endingStarted = true;
    g_definition = nullptr;
    ReleaseControlRegistry();
    if (EndRoutine routine = f.endOfProgramRoutine) {
        f.endOfProgramRoutine = nullptr;
        routine();
    }
    ReleaseMainWindowResources();
    if (IsWindow(f.helperWindow)) DestroyWindow(f.helperWindow);
    EndWinsockUse();
    if (f.oleInitialized) {
        g_calls.oleUninitialize();
        f.oleInitialized = false;
    }
}

void EndProgram(std::int32_t status) {
    EndSequence(status);
    // Reached on the worker when the hand-over did not end the process.
    g_calls.exitProcess(static_cast<UINT>(status));
    for (;;) ExitProcess(static_cast<UINT>(status));
}

}  // namespace lanhosts
