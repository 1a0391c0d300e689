#include "scan/wnet.h"

#include <cstring>
#include <utility>

namespace lanhosts {

// The names found so far, in walk order: one allocator block of pointers,
// grown by doubling. Each name is its own copy, or null for an absent name.
class CollectedNames {
public:
    CollectedNames() = default;
    CollectedNames(const CollectedNames&) = delete;
    CollectedNames& operator=(const CollectedNames&) = delete;
    ~CollectedNames() { Discard(); }

    void Add(OwnedText name) {
        if (count_ == capacity_) {
            std::int32_t grown = capacity_ ? capacity_ * 2 : 16;
            names_ = static_cast<char**>(
                ReallocateMemory(names_, static_cast<std::int32_t>(sizeof(char*)) * grown));
            capacity_ = grown;
        }
        names_[count_++] = name.release();
    }

    std::int32_t count() const { return count_; }

    // Moves the names into one fresh list: the copies made while walking are
    // the members, so nothing is copied twice.
    OwnedTextList TakeList() {
        OwnedTextList list = AllocateTextList(count_);
        char** slots = TextListSlots(list.get());
        for (std::int32_t i = 0; i < count_; ++i) slots[i] = names_[i];
        count_ = 0;
        Discard();
        return list;
    }

private:
    void Discard() {
        for (std::int32_t i = 0; i < count_; ++i) FreeMemory(names_[i]);
        FreeMemory(names_);
        names_ = nullptr;
        count_ = capacity_ = 0;
    }

    char** names_ = nullptr;
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
};

namespace {

// "As many entries as fit into the buffer."
constexpr DWORD kAsManyAsFit = static_cast<DWORD>(-1);

// An enumeration handle that WNetOpenEnumA handed out; closed when the level
// ends, whichever way it ends.
class ScopedEnumHandle {
public:
    ScopedEnumHandle(const MprCalls& calls, HANDLE handle) : calls_(calls), handle_(handle) {}
    ScopedEnumHandle(const ScopedEnumHandle&) = delete;
    ScopedEnumHandle& operator=(const ScopedEnumHandle&) = delete;
    // Nothing is left to do with a handle that will not close.
    ~ScopedEnumHandle() { calls_.WNetCloseEnum(handle_); }
    HANDLE get() const { return handle_; }

private:
    const MprCalls& calls_;
    HANDLE handle_;
};

bool ShouldDescend(const NETRESOURCEA& entry, std::int32_t depth) {
    if (entry.dwUsage & RESOURCEUSAGE_CONNECTABLE) return false;
    // The router opens an entry without a remote name as the top level of
    // its provider (or the list of providers), which holds the entry again:
    // the walk would never end.
    if (!entry.lpRemoteName || !*entry.lpRemoteName) return false;
    return depth < WNet::kMaxWalkDepth;
}

}  // namespace

std::int32_t WNet::ListServers(OwnedTextList& hosts) {
    CollectedNames names;
    WalkNetResources(BoundMprCalls(), names, nullptr, 1);
    const std::int32_t count = names.count();
    hosts.reset();
    hosts = names.TakeList();
    return count;
}

void WNet::WalkNetResources(const MprCalls& calls, CollectedNames& names, NETRESOURCEA* parent,
                            std::int32_t depth) {
    HANDLE opened = nullptr;
    if (calls.WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, parent, &opened) != NO_ERROR) return;
    ScopedEnumHandle handle(calls, opened);

    // On the stack: it lives exactly as long as the level, and the entries
    // handed down as parents stay in it until their walks are over. At the
    // depth limit that is 32 buffers, half a megabyte of the thread's stack.
    alignas(NETRESOURCEA) unsigned char buffer[kLevelBufferSize];
    auto* entries = reinterpret_cast<NETRESOURCEA*>(buffer);
    constexpr DWORD kMaxEntries = kLevelBufferSize / sizeof(NETRESOURCEA);

    for (;;) {
        std::memset(buffer, 0, sizeof buffer);
        DWORD count = kAsManyAsFit;
        DWORD size = kLevelBufferSize;
        // ERROR_NO_MORE_ITEMS ends the level, and so does any failure
        // (ERROR_MORE_DATA when not even one entry fits, among others).
        if (calls.WNetEnumResourceA(handle.get(), &count, buffer, &size) != NO_ERROR) return;
        // A count beyond the buffer is not the router's to give.
        if (count > kMaxEntries) count = kMaxEntries;
        for (DWORD i = 0; i < count; ++i) {
            NETRESOURCEA& entry = entries[i];
            if (entry.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) names.Add(CopyText(entry.lpRemoteName));
            if (ShouldDescend(entry, depth)) WalkNetResources(calls, names, &entry, depth + 1);
        }
    }
}

}  // namespace lanhosts
