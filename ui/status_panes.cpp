#include "ui/status_panes.h"

#include <cstring>

#include "app/fatal.h"
#include "scan/memory.h"

namespace lanhosts {
namespace {

constexpr std::int32_t kCountSize = 4;
constexpr std::int32_t kFieldsSize = 12;  // width, style, icon

// The block is packed bytes, so its 32-bit fields may sit anywhere.
std::int32_t ReadInt32(const char* at) {
    std::int32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void WriteInt32(char* at, std::int32_t value) { std::memcpy(at, &value, sizeof value); }

std::int32_t NormalWidth(std::optional<std::int32_t> width) {
    if (!width) return kDefaultPaneWidth;
    return *width < kPaneToEnd ? kPaneToEnd : *width;
}

std::uint32_t StyleFromCode(std::optional<std::int32_t> code) {
    if (code == 1) return kPaneNoBorders;
    if (code == 2) return kPanePopOut;
    return 0;
}

std::int32_t NormalIcon(std::optional<std::int32_t> icon) { return !icon || *icon < kNoPaneIcon ? kNoPaneIcon : *icon; }

std::size_t TextSize(const char* text) { return (text ? std::strlen(text) : 0) + 1; }

char* CopyWithNul(char* at, const char* text, std::size_t size) {
    if (size > 1) std::memcpy(at, text, size - 1);
    at[size - 1] = '\0';
    return at + size;
}

}  // namespace

StatusPane StatusPanes::Iterator::operator*() const {
    StatusPane pane;
    pane.width = ReadInt32(at_);
    pane.style = static_cast<std::uint32_t>(ReadInt32(at_ + 4));
    pane.icon = ReadInt32(at_ + 8);
    pane.text = at_ + kFieldsSize;
    pane.tip = pane.text + std::strlen(pane.text) + 1;
    return pane;
}

StatusPanes::Iterator& StatusPanes::Iterator::operator++() {
    const char* tip = at_ + kFieldsSize + std::strlen(at_ + kFieldsSize) + 1;
    at_ = tip + std::strlen(tip) + 1;
    return *this;
}

std::int32_t StatusPanes::Append(const char* text, std::optional<std::int32_t> width, const char* tip,
                                 std::optional<std::int32_t> icon, std::optional<std::int32_t> styleCode) {
    const std::int32_t index = count();
    const std::size_t textSize = TextSize(text);
    const std::size_t tipSize = TextSize(tip);
    const std::size_t head = block_ ? static_cast<std::size_t>(size_) : kCountSize;
    const std::size_t grown = head + kFieldsSize + textSize + tipSize;
    if (grown > INT32_MAX) ReportAllocationFailure(INT32_MAX);

    // Grow first and count last: should the growth fail, the block and its
    // count still describe the same panes.
    char* block = static_cast<char*>(ReallocateMemory(block_, static_cast<std::int32_t>(grown)));
    if (!block_) WriteInt32(block, 0);
    block_ = block;

    char* at = block + head;
    WriteInt32(at, NormalWidth(width));
    WriteInt32(at + 4, static_cast<std::int32_t>(StyleFromCode(styleCode)));
    WriteInt32(at + 8, NormalIcon(icon));
    at = CopyWithNul(at + kFieldsSize, text, textSize);
    CopyWithNul(at, tip, tipSize);

    size_ = static_cast<std::int32_t>(grown);
    WriteInt32(block_, index + 1);
    return index;
}

void StatusPanes::Clear() {
    FreeMemory(block_);
    block_ = nullptr;
    size_ = 0;
}

std::int32_t StatusPanes::count() const { return block_ ? ReadInt32(block_) : 0; }

StatusPanes::Iterator StatusPanes::begin() const { return Iterator(block_ ? block_ + kCountSize : nullptr); }

StatusPanes::Iterator StatusPanes::end() const { return Iterator(block_ ? block_ + size_ : nullptr); }

PaneEdges::PaneEdges(const StatusPanes& panes) : count_(panes.count()) {
    if (count_ == 0) return;
    edges_ = static_cast<std::int32_t*>(AllocateMemory(count_ * 4));
    std::memset(edges_, 0, static_cast<std::size_t>(count_) * 4);
    // Unsigned, so that absurd widths wrap as the bar's own sums would.
    std::uint32_t sum = 0;
    std::int32_t i = 0;
    for (StatusPane pane : panes) {
        if (pane.width == kPaneToEnd) {
            edges_[i] = kPaneToEnd;
            break;
        }
        sum += static_cast<std::uint32_t>(pane.width);
        edges_[i++] = static_cast<std::int32_t>(sum);
    }
}

PaneEdges::~PaneEdges() { FreeMemory(edges_); }

}  // namespace lanhosts
