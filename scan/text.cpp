#include "scan/text.h"

#include <cinttypes>
#include <cstdarg>
#include <climits>
#include <cstdio>
#include <cstring>

#include "app/fatal.h"

namespace lanhosts {
namespace {

char* AllocateText(std::int32_t length) {
    return static_cast<char*>(AllocateMemory(length + 1));
}

OwnedText CopyFormatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
OwnedText CopyFormatted(const char* format, ...) {
    char digits[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(digits, sizeof digits, format, args);
    va_end(args);
    return CopyText(digits);
}

// The pieces found so far by a split, grown by doubling on the allocator.
class PieceCollection {
public:
    PieceCollection() = default;
    PieceCollection(const PieceCollection&) = delete;
    PieceCollection& operator=(const PieceCollection&) = delete;
    ~PieceCollection() {
        for (std::int32_t i = 0; i < count_; ++i) FreeMemory(pieces_[i]);
        FreeMemory(pieces_);
    }

    void Add(OwnedText piece) {
        if (count_ == capacity_) {
            std::int32_t grown = capacity_ ? capacity_ * 2 : 4;
            pieces_ = static_cast<char**>(ReallocateMemory(
                pieces_, static_cast<std::int32_t>(sizeof(char*)) * grown));
            capacity_ = grown;
        }
        pieces_[count_++] = piece.release();
    }

    // Moves the pieces into one fresh list, in the order found.
    OwnedTextList TakeList() {
        OwnedTextList list = AllocateTextList(count_);
        char** slots = TextListSlots(list.get());
        for (std::int32_t i = 0; i < count_; ++i) slots[i] = pieces_[i];
        count_ = 0;
        return list;
    }

private:
    char** pieces_ = nullptr;
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
};

}  // namespace

std::int32_t TextByteCount(const char* text) {
    return text ? static_cast<std::int32_t>(std::strlen(text)) : 0;
}

OwnedText CopyText(const char* position) {
    if (!position || !*position) return OwnedText();
    std::int32_t length = TextByteCount(position);
    char* block = AllocateText(length);
    std::memcpy(block, position, static_cast<std::size_t>(length) + 1);
    return OwnedText(block);
}

OwnedText CopyTextPrefix(const char* position, std::int32_t count) {
    if (count <= 0) return OwnedText();
    char* block = AllocateText(count);
    std::memcpy(block, position, static_cast<std::size_t>(count));
    block[count] = '\0';
    return OwnedText(block);
}

OwnedText JoinTexts(std::initializer_list<const char*> parts) {
    // Measure first, allocate once.
    std::int64_t total = 0;
    for (const char* part : parts) total += TextByteCount(part);
    if (total >= INT32_MAX) ReportAllocationFailure(INT32_MAX);
    char* block = AllocateText(static_cast<std::int32_t>(total));
    char* out = block;
    for (const char* part : parts) {
        std::int32_t length = TextByteCount(part);
        if (length) std::memcpy(out, part, static_cast<std::size_t>(length));
        out += length;
    }
    *out = '\0';
    return OwnedText(block);
}

std::int32_t WriteDecimal(std::int32_t value, char (&out)[kDecimalCapacity]) {
    // Digits of the magnitude, taken unsigned so that INT32_MIN has one too.
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char reversed[10];
    std::int32_t digits = 0;
    do {
        reversed[digits++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::int32_t length = 0;
    if (value < 0) out[length++] = '-';
    while (digits > 0) out[length++] = reversed[--digits];
    out[length] = '\0';
    return length;
}

OwnedText FormatNumber(std::int32_t value) {
    char digits[kDecimalCapacity];
    WriteDecimal(value, digits);
    return CopyText(digits);
}
OwnedText FormatNumber(std::uint8_t value) { return CopyFormatted("%u", static_cast<unsigned>(value)); }
OwnedText FormatNumber(std::int16_t value) { return CopyFormatted("%d", static_cast<int>(value)); }
OwnedText FormatNumber(std::int64_t value) { return CopyFormatted("%" PRId64, value); }
OwnedText FormatNumber(float value) { return CopyFormatted("%.6g", static_cast<double>(value)); }
OwnedText FormatNumber(double value) { return CopyFormatted("%.13g", value); }

OwnedTextList SplitAtDelimiter(const char* text, std::optional<const char*> delimiter,
                               std::optional<std::int32_t> maximum) {
    const char* delim = delimiter.value_or(",");
    bool limited = maximum.has_value();
    std::int32_t remainingPieces = limited && *maximum > 0 ? *maximum : 0;
    std::int32_t length = TextByteCount(text);
    std::int32_t delimLength = TextByteCount(delim);

    PieceCollection pieces;
    if (length == 0 || (limited && remainingPieces == 0)) return pieces.TakeList();
    if (delimLength == 0) {
        pieces.Add(CopyText(text));
        return pieces.TakeList();
    }

    const char* start = text;
    const char* p = text;
    std::int32_t rem = length;
    while (rem >= delimLength) {
        if (std::memcmp(p, delim, static_cast<std::size_t>(delimLength)) == 0) {
            pieces.Add(CopyTextPrefix(start, static_cast<std::int32_t>(p - start)));
            p += delimLength;
            rem -= delimLength;
            start = p;
            if (limited && --remainingPieces == 0) return pieces.TakeList();
        } else if (static_cast<unsigned char>(*p) >= 0x80) {
            // A lead byte: its trail byte is never taken for a delimiter.
            if (p[1] == '\0') break;
            p += 2;
            rem -= 2;
        } else {
            p += 1;
            rem -= 1;
        }
    }
    if (*start) pieces.Add(CopyText(start));
    return pieces.TakeList();
}

OwnedTextList NewEmptyTextList() { return AllocateTextList(0); }

OwnedTextList AllocateTextList(std::int32_t count) {
    if (count < 0) count = 0;
    std::int64_t size = kTextListHeaderSize + static_cast<std::int64_t>(sizeof(char*)) * count;
    if (size > INT32_MAX) ReportAllocationFailure(INT32_MAX);
    auto* list = static_cast<TextListHeader*>(AllocateMemory(static_cast<std::int32_t>(size)));
    list->dimensionCount = 1;
    list->dimensionSize = count;
    return OwnedTextList(list);
}

std::int32_t TextListCount(const TextListHeader* list) {
    if (!list || list->dimensionCount == 0) return 0;
    return list->dimensionSize;
}

const char* TextListMember(const TextListHeader* list, std::int32_t index) {
    if (index < 1) RaiseRuntimeError(4);
    if (index > TextListCount(list)) RaiseRuntimeError(1);
    return TextListSlots(list)[index - 1];
}

void FreeTextList(TextListHeader* list) {
    if (!list) return;
    std::int32_t count = TextListCount(list);
    char** slots = TextListSlots(list);
    for (std::int32_t i = 0; i < count; ++i) FreeMemory(slots[i]);
    FreeMemory(list);
}

}  // namespace lanhosts
