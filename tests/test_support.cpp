#include "tests/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace lanhosts::test {
namespace {

struct HeapCounters {
    std::mutex lock;
    std::unordered_map<void*, std::size_t> sizes;
    std::int64_t bytes = 0;
    std::int64_t peak = 0;
    std::int64_t allocations = 0;
    std::int64_t failAfter = -1;
};
HeapCounters& Counters() {
    static HeapCounters counters;
    return counters;
}

bool ShouldFail(HeapCounters& c) {
    if (c.failAfter < 0) return false;
    if (c.failAfter == 0) return true;
    --c.failAfter;
    return false;
}

void Record(HeapCounters& c, void* block, std::size_t size) {
    c.sizes[block] = size;
    c.bytes += static_cast<std::int64_t>(size);
    if (c.bytes > c.peak) c.peak = c.bytes;
    ++c.allocations;
}

void* CountingAllocate(std::size_t size) {
    auto& c = Counters();
    std::lock_guard<std::mutex> guard(c.lock);
    if (ShouldFail(c)) return nullptr;
    void* block = std::malloc(size ? size : 1);
    if (block) Record(c, block, size);
    return block;
}

void* CountingReallocate(void* block, std::size_t size) {
    auto& c = Counters();
    std::lock_guard<std::mutex> guard(c.lock);
    if (ShouldFail(c)) return nullptr;
    auto it = c.sizes.find(block);
    if (it == c.sizes.end()) std::abort();  // not ours: a fault in the caller
    std::size_t old = it->second;
    void* moved = std::realloc(block, size ? size : 1);
    if (!moved) return nullptr;
    c.sizes.erase(it);
    c.bytes -= static_cast<std::int64_t>(old);
    Record(c, moved, size);
    --c.allocations;
    return moved;
}

void CountingRelease(void* block) {
    auto& c = Counters();
    std::lock_guard<std::mutex> guard(c.lock);
    auto it = c.sizes.find(block);
    if (it == c.sizes.end()) std::abort();  // double free or foreign block
    c.bytes -= static_cast<std::int64_t>(it->second);
    c.sizes.erase(it);
    std::free(block);
}

struct FatalRecord {
    FatalStop pending;
    int boxes = 0;
    int clears = 0;
};
FatalRecord& Record() {
    static FatalRecord record;
    return record;
}

bool FakeBegin() { return true; }
int FakeBox(const char* text, const char* caption, unsigned style) {
    auto& r = Record();
    ++r.boxes;
    r.pending.text = text;
    r.pending.caption = caption;
    r.pending.style = style;
    return 1;
}
void FakeClear() { ++Record().clears; }
[[noreturn]] void FakeEnd(std::int32_t status) {
    FatalStop stop = Record().pending;
    stop.status = status;
    throw stop;
}
[[noreturn]] void FakeWait() { std::abort(); }

}  // namespace

CountingHeap::CountingHeap() : previous_(BoundHeap()) {
    auto& c = Counters();
    std::lock_guard<std::mutex> guard(c.lock);
    c.sizes.clear();
    c.bytes = c.peak = c.allocations = 0;
    c.failAfter = -1;
    BindHeap({CountingAllocate, CountingReallocate, CountingRelease});
}

CountingHeap::~CountingHeap() { BindHeap(previous_); }

std::int64_t CountingHeap::liveBlocks() const {
    std::lock_guard<std::mutex> guard(Counters().lock);
    return static_cast<std::int64_t>(Counters().sizes.size());
}
std::int64_t CountingHeap::liveBytes() const {
    std::lock_guard<std::mutex> guard(Counters().lock);
    return Counters().bytes;
}
std::int64_t CountingHeap::peakBytes() const {
    std::lock_guard<std::mutex> guard(Counters().lock);
    return Counters().peak;
}
std::int64_t CountingHeap::totalAllocations() const {
    std::lock_guard<std::mutex> guard(Counters().lock);
    return Counters().allocations;
}
void CountingHeap::failAfter(std::int64_t count) {
    std::lock_guard<std::mutex> guard(Counters().lock);
    Counters().failAfter = count;
}

CatchFatal::CatchFatal() : previous_(BoundFatalCalls()) {
    Record() = FatalRecord{};
    BindFatalCalls({FakeBegin, FakeBox, FakeClear, FakeEnd, FakeWait});
}
CatchFatal::~CatchFatal() { BindFatalCalls(previous_); }
int CatchFatal::boxes() const { return Record().boxes; }
int CatchFatal::endRoutineClears() const { return Record().clears; }

std::string Hex(const std::string& bytes) {
    std::string out;
    char cell[4];
    for (unsigned char b : bytes) {
        std::snprintf(cell, sizeof cell, out.empty() ? "%02x" : " %02x", b);
        out += cell;
    }
    return out;
}

}  // namespace lanhosts::test
