#include "fuzz/fuzz_support.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

#include "app/fatal.h"
#include "scan/memory.h"

namespace lanhosts {
namespace fuzz {
namespace {

// Every block our allocator holds, with the size it was asked for. The map
// itself lives on the C++ heap, outside the allocator it watches.
std::unordered_map<const void*, std::size_t>& Blocks() {
    static auto* blocks = new std::unordered_map<const void*, std::size_t>;
    return *blocks;
}

void* TrackedAllocate(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (block) Blocks()[block] = size;
    return block;
}

void* TrackedReallocate(void* block, std::size_t size) {
    auto found = Blocks().find(block);
    if (found == Blocks().end()) Fail("reallocation of a block the heap never gave", __FILE__, __LINE__);
    Blocks().erase(found);
    void* moved = std::realloc(block, size ? size : 1);
    if (moved) Blocks()[moved] = size;
    return moved;
}

void TrackedRelease(void* block) {
    if (Blocks().erase(block) != 1) Fail("release of a block that is not live", __FILE__, __LINE__);
    std::free(block);
}

bool AlwaysBegin() { return true; }
int PrintBox(const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "fatal report (%s): %s\n", caption, text);
    return 1;
}
void NoEndRoutine() {}
// A fatal stop is never what a valid call should come to: abort, so that the
// fuzzer keeps the input as a crash.
[[noreturn]] void AbortEnd(std::int32_t) { std::abort(); }
[[noreturn]] void AbortWait() { std::abort(); }

}  // namespace

void Prepare() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    BindHeap({TrackedAllocate, TrackedReallocate, TrackedRelease});
    BindFatalCalls({AlwaysBegin, PrintBox, NoEndRoutine, AbortEnd, AbortWait});
}

std::size_t LiveBlocks() { return Blocks().size(); }

std::size_t BlockSize(const void* block) {
    auto found = Blocks().find(block);
    return found == Blocks().end() ? 0 : found->second;
}

void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

ExactText::ExactText(const std::string& text) : block_(static_cast<char*>(std::malloc(text.size() + 1))) {
    std::memcpy(block_, text.c_str(), text.size() + 1);
}

ExactText::~ExactText() { std::free(block_); }

std::string Reader::Bytes(std::size_t length) {
    std::size_t available = static_cast<std::size_t>(end_ - at_);
    if (length > available) length = available;
    const std::uint8_t* nul = static_cast<const std::uint8_t*>(std::memchr(at_, 0, length));
    std::string text(reinterpret_cast<const char*>(at_), nul ? static_cast<std::size_t>(nul - at_) : length);
    at_ += length;
    return text;
}

}  // namespace fuzz
}  // namespace lanhosts
