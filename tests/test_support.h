// Shared test fixtures: a counting heap and a fatal report that returns to the
// test instead of ending the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/fatal.h"
#include "scan/memory.h"

namespace lanhosts::test {

// Binds a heap that counts live blocks and bytes while it is in scope.
class CountingHeap {
public:
    CountingHeap();
    ~CountingHeap();
    CountingHeap(const CountingHeap&) = delete;
    CountingHeap& operator=(const CountingHeap&) = delete;

    std::int64_t liveBlocks() const;
    std::int64_t liveBytes() const;
    std::int64_t peakBytes() const;
    std::int64_t totalAllocations() const;
    // The next allocation fails after `count` more have succeeded (-1: never).
    void failAfter(std::int64_t count);

private:
    HeapCalls previous_;
};

// What a fatal report showed; thrown by the fake end of the program.
struct FatalStop {
    std::string text;
    std::string caption;
    unsigned style = 0;
    std::int32_t status = 0;
};

// Binds fatal calls that record the box and throw FatalStop from the end.
class CatchFatal {
public:
    CatchFatal();
    ~CatchFatal();
    CatchFatal(const CatchFatal&) = delete;
    CatchFatal& operator=(const CatchFatal&) = delete;
    int boxes() const;
    int endRoutineClears() const;

private:
    FatalCalls previous_;
};

// Turns bytes into "b4 ed ..." for readable comparisons.
std::string Hex(const std::string& bytes);

}  // namespace lanhosts::test
