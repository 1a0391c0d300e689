// Text values and lists of them.
//
// A Text is NUL-terminated bytes in the ANSI code page. The absent text (null)
// and a zero-length block are one value, the empty text. Operations hand out
// fresh blocks as OwnedText / OwnedTextList, which release them with
// FreeMemory; borrowed texts are plain `const char*` and are never null when
// passed to an operation (callers pass "" for an absent text).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

#include "scan/memory.h"

namespace lanhosts {

class OwnedText {
public:
    OwnedText() = default;
    explicit OwnedText(char* block) : block_(block) {}
    OwnedText(OwnedText&& other) noexcept : block_(other.release()) {}
    OwnedText& operator=(OwnedText&& other) noexcept {
        reset(other.release());
        return *this;
    }
    OwnedText(const OwnedText&) = delete;
    OwnedText& operator=(const OwnedText&) = delete;
    ~OwnedText() { FreeMemory(block_); }

    // The bytes, or null for the absent text.
    const char* get() const { return block_; }
    char* data() { return block_; }
    // The bytes, or "" for the absent text: what an operation may be given.
    const char* c_str() const { return block_ ? block_ : ""; }
    bool absent() const { return block_ == nullptr; }
    char* release() { return std::exchange(block_, nullptr); }
    void reset(char* block = nullptr) {
        char* old = std::exchange(block_, block);
        FreeMemory(old);
    }

private:
    char* block_ = nullptr;
};

// The block of a TextList: dimension count (always 1), member count, then the
// member slots. 8 + 4*n bytes on the 32-bit target.
struct TextListHeader {
    std::int32_t dimensionCount;
    std::int32_t dimensionSize;
};
constexpr std::int32_t kTextListHeaderSize = 8;
static_assert(sizeof(TextListHeader) == kTextListHeaderSize);

inline char** TextListSlots(TextListHeader* list) {
    return reinterpret_cast<char**>(reinterpret_cast<char*>(list) + kTextListHeaderSize);
}
inline char* const* TextListSlots(const TextListHeader* list) {
    return reinterpret_cast<char* const*>(reinterpret_cast<const char*>(list) + kTextListHeaderSize);
}

void FreeTextList(TextListHeader* list);

// Owns a TextList block and, through it, its members.
class OwnedTextList {
public:
    OwnedTextList() = default;
    explicit OwnedTextList(TextListHeader* block) : block_(block) {}
    OwnedTextList(OwnedTextList&& other) noexcept : block_(other.release()) {}
    OwnedTextList& operator=(OwnedTextList&& other) noexcept {
        reset(other.release());
        return *this;
    }
    OwnedTextList(const OwnedTextList&) = delete;
    OwnedTextList& operator=(const OwnedTextList&) = delete;
    ~OwnedTextList() { FreeTextList(block_); }

    TextListHeader* get() const { return block_; }
    TextListHeader* release() { return std::exchange(block_, nullptr); }
    void reset(TextListHeader* block = nullptr) {
        TextListHeader* old = std::exchange(block_, block);
        FreeTextList(old);
    }

private:
    TextListHeader* block_ = nullptr;
};

std::int32_t TextByteCount(const char* text);
OwnedText CopyText(const char* position);
OwnedText CopyTextPrefix(const char* position, std::int32_t count);
// Always an allocation, also when every part is empty. At least one part.
OwnedText JoinTexts(std::initializer_list<const char*> parts);

// Writes the decimal form of value ("%d") and its NUL; returns the length.
constexpr std::int32_t kDecimalCapacity = 12;
std::int32_t WriteDecimal(std::int32_t value, char (&out)[kDecimalCapacity]);

OwnedText FormatNumber(std::int32_t value);
OwnedText FormatNumber(std::uint8_t value);
OwnedText FormatNumber(std::int16_t value);
OwnedText FormatNumber(std::int64_t value);
OwnedText FormatNumber(float value);
OwnedText FormatNumber(double value);

// An omitted delimiter is ","; a given empty delimiter does not split. An
// omitted maximum is no limit; a given one below 0 counts as 0.
OwnedTextList SplitAtDelimiter(const char* text,
                               std::optional<const char*> delimiter = std::nullopt,
                               std::optional<std::int32_t> maximum = std::nullopt);

OwnedTextList NewEmptyTextList();
// Dimension count 1 and member count n written; the caller fills the n slots.
OwnedTextList AllocateTextList(std::int32_t count);
std::int32_t TextListCount(const TextListHeader* list);
// 1-based; runtime error 4 below 1, runtime error 1 above the count. The
// member stays owned by the list; an absent member comes back as null.
const char* TextListMember(const TextListHeader* list, std::int32_t index);

}  // namespace lanhosts
