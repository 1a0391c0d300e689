// The allocator under every Text and TextList: blocks from one bound heap, and
// the ranges of constant data (literal texts) that are never freed or resized.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lanhosts {

// The heap behind the allocator. Bound once at start-up, before any second
// thread exists: the process heap on Windows, malloc natively, or a counting
// wrapper in tests and benchmarks. Each call returns null on failure.
struct HeapCalls {
    void* (*allocate)(std::size_t size);
    void* (*reallocate)(void* block, std::size_t size);
    void (*release)(void* block);
};

void BindHeap(const HeapCalls& calls);
const HeapCalls& BoundHeap();
// The binding a build starts with (process heap on Windows, malloc elsewhere).
const HeapCalls& DefaultHeap();

// Never return null: a failed request goes to ReportAllocationFailure.
void* AllocateMemory(std::int32_t size);
void* ReallocateMemory(void* block, std::int32_t size);
// Ignores null and pointers into registered constant data.
void FreeMemory(void* block);

void RegisterConstantData(const void* start, std::int32_t size);
bool IsConstantData(const void* p);
// Forgets every registered range (tests only).
void ClearConstantData();

}  // namespace lanhosts
