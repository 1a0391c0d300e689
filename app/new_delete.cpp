// The shipped program's operator new and delete: our allocator, whose failure
// is the fatal report, so the program needs none of the exception machinery
// that the run-time's versions would bring along.
#include <climits>
#include <cstddef>
#include <new>

#include "app/fatal.h"
#include "scan/memory.h"

namespace {

void* Allocate(std::size_t size) {
    if (size > INT32_MAX) lanhosts::ReportAllocationFailure(INT32_MAX);
    return lanhosts::AllocateMemory(static_cast<std::int32_t>(size));
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { lanhosts::FreeMemory(block); }
void operator delete[](void* block) noexcept { lanhosts::FreeMemory(block); }
void operator delete(void* block, std::size_t) noexcept { lanhosts::FreeMemory(block); }
void operator delete[](void* block, std::size_t) noexcept { lanhosts::FreeMemory(block); }
