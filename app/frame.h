// The program frame: start-up, the event loop, the worker thread and the end.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace lanhosts {

using EndRoutine = void (*)();

struct FrameState {
    HANDLE heap = nullptr;
    DWORD uiThreadId = 0;
    HWND helperWindow = nullptr;
    bool oleInitialized = false;
    std::atomic<std::int32_t> eventBlockCount{0};
    std::atomic<bool> endingStarted{false};
    bool loopStarted = false;
    EndRoutine endOfProgramRoutine = nullptr;
    // Who ends the process: the first of a close and a fatal report claims it.
    std::atomic<bool> endClaimed{false};
};

FrameState& Frame();

// Handlers run only while no block is in force.
inline bool EventsBlocked() { return Frame().eventBlockCount.load() > 0; }
void RaiseEventBlock();
void LowerEventBlock();

std::int32_t ProgramStart();
void InitFrame();
void RegisterEndRoutine(EndRoutine routine);
void RunEventLoop();
// Starts a thread running routine(parameter). Without handle the handle is closed.
bool LaunchThread(LPTHREAD_START_ROUTINE routine, std::int32_t parameter = 0, HANDLE* handle = nullptr);
void EndSequence(std::int32_t status);
// Cuts a path to its directory: everything before the last backslash, or
// nothing when there is none ("C:\\a.exe" gives "C:").
void CutToDirectory(char* path);
// A loaded window got its last message: quit the loop when none is left.
void NoteWindowGone();
[[noreturn]] void EndProgram(std::int32_t status);

// The end of the window's message: hand the key or click to the window's
// pre-processing; true when it consumed the message.
using PreTranslateHook = bool (*)(MSG& msg);
void SetPreTranslateHook(PreTranslateHook hook);

constexpr UINT kEndRequestMessage = WM_APP + 999;

}  // namespace lanhosts
