// A test program that runs the real frame and main window with a replaced
// scan body or counting call tables, driven by program_test.
//   frame_probe fatal-worker        the worker adds a row, then hits a bad
//                                   member index
//   frame_probe fatal-ui            the created event hits a bad member index
//   frame_probe fatal-while-ending FILE  the worker hits one after the close
//                                   began; FILE tells whether it showed a box
//   frame_probe count-calls FILE    the real scan; at the end, writes how often
//                                   OleUninitialize and WSACleanup were called
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/fatal.h"
#include "app/frame.h"
#include "app/platform_calls.h"
#include "scan/lookup.h"
#include "scan/text.h"
#include "scan/winsock_calls.h"
#include "ui/host_list.h"
#include "ui/main_window.h"
#include "ui/status_line.h"

namespace lanhosts {
namespace {

DWORD WINAPI FatalScan(LPVOID) {
    AppendStatusPane(WindowId::kMainWindow, ControlId::kStatusLine, "scanning", -1);
    InsertRow(WindowId::kMainWindow, ControlId::kHostList, std::nullopt, "PC1");
    OwnedTextList fields = SplitAtDelimiter("\\\\", "\\");
    TextListMember(fields.get(), 3);  // two fields: runtime error 1
    return 0;
}

void StartFatalScan() { LaunchThread(FatalScan); }

// A fatal report on the UI thread, from inside the created event.
void FatalOnUiThread() {
    OwnedTextList empty = NewEmptyTextList();
    TextListMember(empty.get(), 0);  // runtime error 4
}

// The worker hits a fatal error only once the close has begun: the ending
// owns the process, so no box may show and the status stays 0.
DWORD WINAPI FatalWhileEnding(LPVOID) {
    AppendStatusPane(WindowId::kMainWindow, ControlId::kStatusLine, "waiting for the close", -1);
    while (!Frame().endingStarted.load()) Sleep(1);
    RaiseRuntimeError(1);
    return 0;
}
void StartFatalWhileEnding() { LaunchThread(FatalWhileEnding); }

// How the worker's report went, seen through the bound fatal calls: it either
// shows its box or declines and waits for the end.
HANDLE g_reportDecided = nullptr;
LONG g_boxes = 0;
FatalCalls g_frameFatal;
const char* g_outcomeFile = nullptr;
FrameCalls g_realFrame;

int RecordingBox(const char* text, const char* caption, unsigned style) {
    InterlockedIncrement(&g_boxes);
    SetEvent(g_reportDecided);
    return g_frameFatal.messageBox(text, caption, style);
}
[[noreturn]] void RecordingWait() {
    SetEvent(g_reportDecided);
    g_frameFatal.waitForEnd();
}
// The close's own exit waits until the worker's report has decided.
void WINAPI ExitAfterTheReport(UINT status) {
    bool decided = WaitForSingleObject(g_reportDecided, 5000) == WAIT_OBJECT_0;
    if (FILE* f = std::fopen(g_outcomeFile, "w")) {
        std::fprintf(f, "decided=%d boxes=%ld status=%d\n", decided ? 1 : 0, g_boxes, static_cast<int>(status));
        std::fclose(f);
    }
    g_realFrame.exitProcess(status);
}
void StartRecordedFatalWhileEnding() {
    g_frameFatal = BoundFatalCalls();
    FatalCalls recording = g_frameFatal;
    recording.messageBox = RecordingBox;
    recording.waitForEnd = RecordingWait;
    BindFatalCalls(recording);
    StartFatalWhileEnding();
}

// Runs the frame as the program does, with the start window's created event
// bound to the given handler.
int RunFrame(void (*onCreated)()) {
    SetPreTranslateHook(PreTranslateMainWindowMessage);
    InitFrame();
    WindowDefinition definition = *LoadWindowDefinition();
    if (onCreated) definition.onCreated = onCreated;
    if (!LoadMainWindow(definition)) return 3;
    RunEventLoop();
    EndSequence(0);
    EndProgram(0);
}

const char* g_countFile = nullptr;
LONG g_oleUninitialize = 0;
LONG g_wsaCleanup = 0;
WinsockCalls g_realWinsock;

void WINAPI CountingOleUninitialize() {
    InterlockedIncrement(&g_oleUninitialize);
    g_realFrame.oleUninitialize();
}
int WSAAPI CountingCleanup() {
    InterlockedIncrement(&g_wsaCleanup);
    return g_realWinsock.cleanup();
}
// Balanced starts are the lookups' own pairs; count only the starts that
// succeeded, to show the end's cleanup matches the lazy start.
LONG g_wsaStartups = 0;
int WSAAPI CountingStartup(WORD version, WSADATA* data) {
    int result = g_realWinsock.startup(version, data);
    if (result == 0) InterlockedIncrement(&g_wsaStartups);
    return result;
}
void WINAPI CountingExit(UINT status) {
    if (FILE* f = std::fopen(g_countFile, "w")) {
        std::fprintf(f, "ole_uninitialize=%ld wsa_cleanup=%ld wsa_startup=%ld status=%d\n", g_oleUninitialize,
                     g_wsaCleanup, g_wsaStartups, static_cast<int>(status));
        std::fclose(f);
    }
    g_realFrame.exitProcess(status);
}

}  // namespace
}  // namespace lanhosts

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace lanhosts;
    int argc = __argc;
    char** argv = __argv;
    if (argc >= 2 && std::strcmp(argv[1], "fatal-worker") == 0) return RunFrame(StartFatalScan);
    if (argc >= 2 && std::strcmp(argv[1], "fatal-ui") == 0) return RunFrame(FatalOnUiThread);
    if (argc >= 3 && std::strcmp(argv[1], "fatal-while-ending") == 0) {
        g_outcomeFile = argv[2];
        g_reportDecided = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_realFrame = BoundFrameCalls();
        FrameCalls frame = g_realFrame;
        frame.exitProcess = ExitAfterTheReport;
        BindFrameCalls(frame);
        return RunFrame(StartRecordedFatalWhileEnding);
    }
    if (argc >= 3 && std::strcmp(argv[1], "count-calls") == 0) {
        g_countFile = argv[2];
        g_realFrame = BoundFrameCalls();
        FrameCalls counting = g_realFrame;
        counting.oleUninitialize = CountingOleUninitialize;
        counting.exitProcess = CountingExit;
        BindFrameCalls(counting);
        g_realWinsock = BoundWinsockCalls();
        WinsockCalls winsock = g_realWinsock;
        winsock.cleanup = CountingCleanup;
        winsock.startup = CountingStartup;
        BindWinsockCalls(winsock);
        return RunFrame(nullptr);
    }
    return 2;
}
