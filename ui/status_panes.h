// The pane list of the status line, kept in one growable block of our own
// allocator: a 32-bit pane count, then per pane its width, drawing style and
// icon index (32 bits each) and its text and tip text, each NUL-terminated.
// No block at all means no panes.
#pragma once

#include <cstdint>
#include <optional>

namespace lanhosts {

constexpr std::int32_t kDefaultPaneWidth = 50;
// The width of a pane that reaches the right end of the bar.
constexpr std::int32_t kPaneToEnd = -1;
constexpr std::int32_t kNoPaneIcon = -1;
// The status bar's drawing styles (SBT_NOBORDERS, SBT_POPOUT).
constexpr std::uint32_t kPaneNoBorders = 0x100;
constexpr std::uint32_t kPanePopOut = 0x200;

// One pane as read from the block; the texts point into the block and stay
// valid until the list next changes.
struct StatusPane {
    std::int32_t width;
    std::uint32_t style;
    std::int32_t icon;
    const char* text;
    const char* tip;
};

class StatusPanes {
public:
    class Iterator {
    public:
        explicit Iterator(const char* at) : at_(at) {}
        StatusPane operator*() const;
        Iterator& operator++();
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

    private:
        const char* at_;
    };

    StatusPanes() = default;
    ~StatusPanes() { Clear(); }
    StatusPanes(const StatusPanes&) = delete;
    StatusPanes& operator=(const StatusPanes&) = delete;

    // Adds a pane and returns its index. An omitted width is 50, one below -1
    // is -1; style code 1 draws without border, 2 raised, anything else
    // sunken; an omitted icon or one below -1 is none; null texts are empty.
    std::int32_t Append(const char* text, std::optional<std::int32_t> width = std::nullopt, const char* tip = nullptr,
                        std::optional<std::int32_t> icon = std::nullopt,
                        std::optional<std::int32_t> styleCode = std::nullopt);
    // Releases the block: no panes.
    void Clear();

    std::int32_t count() const;
    bool empty() const { return count() == 0; }
    Iterator begin() const;
    Iterator end() const;

private:
    char* block_ = nullptr;
    std::int32_t size_ = 0;
};

// The right edges of the bar's parts, one per pane: the running sum of the
// widths, except that the first pane of width -1 gets the edge -1 and every
// pane after it keeps 0. Held in a block of our allocator.
class PaneEdges {
public:
    explicit PaneEdges(const StatusPanes& panes);
    ~PaneEdges();
    PaneEdges(const PaneEdges&) = delete;
    PaneEdges& operator=(const PaneEdges&) = delete;

    std::int32_t count() const { return count_; }
    const std::int32_t* data() const { return edges_; }
    std::int32_t operator[](std::int32_t i) const { return edges_[i]; }

private:
    std::int32_t* edges_ = nullptr;
    std::int32_t count_ = 0;
};

}  // namespace lanhosts
