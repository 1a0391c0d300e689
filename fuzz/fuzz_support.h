// What every fuzz target shares: a heap that knows each live block and its
// size, a fatal stop that aborts (so the fuzzer records the input), and a
// reader that takes the target's arguments from the fuzzer's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lanhosts {
namespace fuzz {

// Binds the tracking heap and the aborting fatal calls; idempotent.
void Prepare();

// Live blocks of the tracking heap, and the size a live block was given
// (0 for a pointer that is no live block).
std::size_t LiveBlocks();
std::size_t BlockSize(const void* block);

[[noreturn]] void Fail(const char* what, const char* file, int line);

// A fresh malloc block of exactly the bytes of text and its NUL, so that a
// read past the NUL is caught by AddressSanitizer.
class ExactText {
public:
    explicit ExactText(const std::string& text);
    ~ExactText();
    ExactText(const ExactText&) = delete;
    ExactText& operator=(const ExactText&) = delete;
    const char* get() const { return block_; }

private:
    char* block_;
};

// Takes values from the front of the fuzzer's input; past its end every
// value is 0 and every text empty.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : at_(data), end_(data + size) {}
    bool done() const { return at_ == end_; }
    std::uint8_t Byte() { return at_ < end_ ? *at_++ : 0; }
    std::int32_t Int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
        return static_cast<std::int32_t>(value);
    }
    // A length byte, then that many bytes; a NUL byte ends the text early
    // (the bytes after it up to the length are skipped).
    std::string Text() { return Bytes(Byte()); }
    std::string Bytes(std::size_t length);
    // Everything left, cut at the first NUL.
    std::string Rest() { return Bytes(static_cast<std::size_t>(end_ - at_)); }

private:
    const std::uint8_t* at_;
    const std::uint8_t* end_;
};

}  // namespace fuzz
}  // namespace lanhosts

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::lanhosts::fuzz::Fail(#condition, __FILE__, __LINE__))
