// lanhosts with a counting heap under its allocator: the real frame, main
// window and scan (as frame_probe runs them), with the process heap wrapped
// so that every block our allocator takes and gives back is counted.
//   counted_lanhosts RESULT_FILE
// At the end of the process it writes one line of key=value figures to
// RESULT_FILE: the bytes and blocks held through the allocator at the start
// of the scan, their peak during the scan, after the scan and at the end,
// and the process's private bytes (GetProcessMemoryInfo) at those moments.
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "app/frame.h"
#include "app/platform_calls.h"
#include "app/scan_thread.h"
#include "scan/memory.h"
#include "ui/main_window.h"

namespace lanhosts {
namespace {

HANDLE g_heap = nullptr;
std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_peakBytes{0};
std::atomic<long> g_liveBlocks{0};
std::atomic<long> g_allocations{0};

void Grow(long long bytes) {
    long long live = g_liveBytes.fetch_add(bytes) + bytes;
    long long peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
}

void* CountedAllocate(std::size_t size) {
    void* block = HeapAlloc(g_heap, 0, size);
    if (block) {
        Grow(static_cast<long long>(size));
        ++g_liveBlocks;
        ++g_allocations;
    }
    return block;
}

void* CountedReallocate(void* block, std::size_t size) {
    const SIZE_T old = HeapSize(g_heap, 0, block);
    void* moved = HeapReAlloc(g_heap, 0, block, size);
    if (moved) {
        Grow(static_cast<long long>(size) - static_cast<long long>(old));
        ++g_allocations;
    }
    return moved;
}

void CountedRelease(void* block) {
    const SIZE_T size = HeapSize(g_heap, 0, block);
    if (HeapFree(g_heap, 0, block)) {
        g_liveBytes -= static_cast<long long>(size);
        --g_liveBlocks;
    }
}

struct Snapshot {
    long long bytes = 0;
    long blocks = 0;
    long allocations = 0;
    unsigned long long privateBytes = 0;
    unsigned long long peakPagefile = 0;
};

Snapshot Take() {
    Snapshot s;
    s.bytes = g_liveBytes.load();
    s.blocks = g_liveBlocks.load();
    s.allocations = g_allocations.load();
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        // Under Wine PrivateUsage stays zero; PagefileUsage is the same figure.
        s.privateBytes = counters.PrivateUsage > counters.PagefileUsage ? counters.PrivateUsage : counters.PagefileUsage;
        s.peakPagefile = counters.PeakPagefileUsage;
    }
    return s;
}

const char* g_resultFile = nullptr;
Snapshot g_beforeScan;
Snapshot g_afterScan;
long long g_scanPeakBytes = 0;
FrameCalls g_realFrame;

DWORD WINAPI MeasuredScan(LPVOID parameter) {
    // The peak of the scan alone: start it from what is held now.
    g_peakBytes = g_liveBytes.load();
    ScanThreadEntry(parameter);
    g_scanPeakBytes = g_peakBytes.load();
    g_afterScan = Take();
    return 0;
}

void StartMeasuredScan() {
    g_beforeScan = Take();
    LaunchThread(MeasuredScan);
}

void Write(std::FILE* f, const char* name, const Snapshot& s) {
    std::fprintf(f, " %s_bytes=%lld %s_blocks=%ld %s_allocations=%ld %s_private=%llu %s_peak_pagefile=%llu", name,
                 s.bytes, name, s.blocks, name, s.allocations, name, s.privateBytes, name, s.peakPagefile);
}

void WINAPI WriteFiguresAndExit(UINT status) {
    Snapshot end = Take();
    if (std::FILE* f = std::fopen(g_resultFile, "w")) {
        std::fprintf(f, "status=%u scan_peak_bytes=%lld", status, g_scanPeakBytes);
        Write(f, "before", g_beforeScan);
        Write(f, "after", g_afterScan);
        Write(f, "end", end);
        std::fprintf(f, "\n");
        std::fclose(f);
    }
    g_realFrame.exitProcess(status);
}

}  // namespace
}  // namespace lanhosts

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace lanhosts;
    if (__argc < 2) return 2;
    g_resultFile = __argv[1];
    g_realFrame = BoundFrameCalls();
    FrameCalls calls = g_realFrame;
    calls.exitProcess = WriteFiguresAndExit;
    BindFrameCalls(calls);

    SetPreTranslateHook(PreTranslateMainWindowMessage);
    InitFrame();
    // InitFrame binds the process heap; the same heap, counted, from here on
    // (nothing has been allocated through it yet).
    g_heap = GetProcessHeap();
    BindHeap({CountedAllocate, CountedReallocate, CountedRelease});
    WindowDefinition definition = *LoadWindowDefinition();
    definition.onCreated = StartMeasuredScan;
    if (!LoadMainWindow(definition)) return 3;
    RunEventLoop();
    EndSequence(0);
    EndProgram(0);
}
