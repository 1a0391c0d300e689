// The real frame, window and scan, with the allocator bound to a heap that
// knows which blocks are live and which thread asked for each. Driven by
// hostile_tests over the same fixture networks as the program:
//   heap_probe FILE
// appends to FILE, when the scan has returned on its worker thread,
//   scan worker_live=N all_live=M sizes=S1,S2,...
// and, when the process ends,
//   exit all_live=K status=S
// counting the blocks asked for after start-up that are still live: those
// the worker asked for, all of them, and the size of each ("-" for none).
// Blocks of the start-up itself (before the binding) are not counted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "app/frame.h"
#include "app/platform_calls.h"
#include "app/scan_thread.h"
#include "scan/memory.h"
#include "ui/main_window.h"

namespace lanhosts {
namespace {

const char* g_reportFile = nullptr;
CRITICAL_SECTION g_lock;
// Live counted block -> the thread that asked for it.
std::map<void*, DWORD>* g_blocks = nullptr;
HANDLE g_heap = nullptr;
FrameCalls g_realFrame;

void* CountedAllocate(std::size_t size) {
    EnterCriticalSection(&g_lock);
    void* block = HeapAlloc(g_heap, 0, size);
    if (block) (*g_blocks)[block] = GetCurrentThreadId();
    LeaveCriticalSection(&g_lock);
    return block;
}

// A block of the start-up stays uncounted when it moves.
void* CountedReallocate(void* block, std::size_t size) {
    EnterCriticalSection(&g_lock);
    auto found = g_blocks->find(block);
    const bool counted = found != g_blocks->end();
    const DWORD owner = counted ? found->second : 0;
    void* moved = HeapReAlloc(g_heap, 0, block, size);
    if (moved && counted) {
        g_blocks->erase(block);
        (*g_blocks)[moved] = owner;
    }
    LeaveCriticalSection(&g_lock);
    return moved;
}

void CountedRelease(void* block) {
    EnterCriticalSection(&g_lock);
    g_blocks->erase(block);
    HeapFree(g_heap, 0, block);
    LeaveCriticalSection(&g_lock);
}

// Live counted blocks, all of them or those of one thread.
long LiveBlocks(DWORD thread) {
    EnterCriticalSection(&g_lock);
    long live = 0;
    for (const auto& block : *g_blocks) {
        if (thread == 0 || block.second == thread) ++live;
    }
    LeaveCriticalSection(&g_lock);
    return live;
}

// The sizes of the live counted blocks, comma-separated in address order.
std::string LiveSizes() {
    EnterCriticalSection(&g_lock);
    std::string sizes;
    for (const auto& block : *g_blocks) {
        if (!sizes.empty()) sizes += ',';
        sizes += std::to_string(HeapSize(g_heap, 0, block.first));
    }
    LeaveCriticalSection(&g_lock);
    return sizes.empty() ? "-" : sizes;
}

void Report(const char* line) {
    if (FILE* f = std::fopen(g_reportFile, "a")) {
        std::fputs(line, f);
        std::fclose(f);
    }
}

DWORD WINAPI CountedScan(LPVOID parameter) {
    DWORD result = ScanThreadEntry(parameter);
    char line[128];
    std::snprintf(line, sizeof line, "scan worker_live=%ld all_live=%ld sizes=%s\n", LiveBlocks(GetCurrentThreadId()),
                  LiveBlocks(0), LiveSizes().c_str());
    Report(line);
    return result;
}

void StartCountedScan() { LaunchThread(CountedScan); }

void WINAPI ReportingExit(UINT status) {
    char line[128];
    std::snprintf(line, sizeof line, "exit all_live=%ld status=%d\n", LiveBlocks(0), static_cast<int>(status));
    Report(line);
    g_realFrame.exitProcess(status);
}

}  // namespace
}  // namespace lanhosts

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace lanhosts;
    if (__argc < 2) return 2;
    g_reportFile = __argv[1];
    InitializeCriticalSection(&g_lock);
    g_blocks = new std::map<void*, DWORD>;
    g_heap = GetProcessHeap();
    g_realFrame = BoundFrameCalls();
    FrameCalls reporting = g_realFrame;
    reporting.exitProcess = ReportingExit;
    BindFrameCalls(reporting);

    // As the program starts, with the counting heap bound once the frame has
    // bound the process heap, and the created event starting the counted scan.
    SetPreTranslateHook(PreTranslateMainWindowMessage);
    InitFrame();
    BindHeap({CountedAllocate, CountedReallocate, CountedRelease});
    WindowDefinition definition = *LoadWindowDefinition();
    definition.onCreated = StartCountedScan;
    if (!LoadMainWindow(definition)) return 3;
    RunEventLoop();
    EndSequence(0);
    EndProgram(0);
}
