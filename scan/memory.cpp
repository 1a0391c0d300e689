#include "scan/memory.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "app/fatal.h"

namespace lanhosts {
namespace {

void* MallocAllocate(std::size_t size) { return std::malloc(size); }
void* MallocReallocate(void* block, std::size_t size) { return std::realloc(block, size); }
void MallocRelease(void* block) { std::free(block); }

constexpr HeapCalls kMallocHeap = {MallocAllocate, MallocReallocate, MallocRelease};

HeapCalls g_heap = kMallocHeap;

struct ConstantRange {
    const char* start;
    const char* end;
};
// The program registers one range; a few spare places cost nothing.
std::array<ConstantRange, 4> g_ranges{};
std::size_t g_rangeCount = 0;

const ConstantRange* FindRange(const void* p) {
    auto* c = static_cast<const char*>(p);
    for (std::size_t i = 0; i < g_rangeCount; ++i) {
        if (g_ranges[i].start <= c && c < g_ranges[i].end) return &g_ranges[i];
    }
    return nullptr;
}

}  // namespace

void BindHeap(const HeapCalls& calls) { g_heap = calls; }
const HeapCalls& BoundHeap() { return g_heap; }
const HeapCalls& DefaultHeap() { return kMallocHeap; }

void* AllocateMemory(std::int32_t size) {
    if (size < 0) ReportAllocationFailure(size);
    void* block = g_heap.allocate(static_cast<std::size_t>(size));
    if (!block) ReportAllocationFailure(size);
    return block;
}

void* ReallocateMemory(void* block, std::int32_t size) {
    if (!block) return AllocateMemory(size);
    if (size < 0) ReportAllocationFailure(size);
    if (const ConstantRange* range = FindRange(block)) {
        void* fresh = AllocateMemory(size);
        std::size_t available = static_cast<std::size_t>(range->end - static_cast<const char*>(block));
        std::size_t count = static_cast<std::size_t>(size) < available ? static_cast<std::size_t>(size) : available;
        std::memcpy(fresh, block, count);
        return fresh;
    }
    void* moved = g_heap.reallocate(block, static_cast<std::size_t>(size));
    if (!moved) ReportAllocationFailure(size);
    return moved;
}

void FreeMemory(void* block) {
    if (!block || FindRange(block)) return;
    g_heap.release(block);
}

void RegisterConstantData(const void* start, std::int32_t size) {
    if (g_rangeCount == g_ranges.size() || size <= 0) return;
    auto* s = static_cast<const char*>(start);
    g_ranges[g_rangeCount++] = {s, s + size};
}

bool IsConstantData(const void* p) { return FindRange(p) != nullptr; }

void ClearConstantData() { g_rangeCount = 0; }

}  // namespace lanhosts
