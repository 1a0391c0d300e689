// The network neighbourhood: the remote names of every server resource that
// the provider router reports, found by walking its whole resource tree.
#pragma once

#include <windows.h>
#include <winnetwk.h>

#include <cstdint>

#include "scan/mpr_calls.h"
#include "scan/text.h"

namespace lanhosts {

class CollectedNames;

// Carries no state; each call walks the tree afresh through BoundMprCalls().
class WNet {
public:
    // Result buffer of one open level of the walk.
    static constexpr DWORD kLevelBufferSize = 16384;
    // Levels open at once, the top included. A provider whose tree loops back
    // on itself would otherwise be walked until the stack runs out.
    static constexpr std::int32_t kMaxWalkDepth = 32;

    // Releases the list held by hosts and stores a fresh list of the servers'
    // remote names in walk order (an absent name as an absent member).
    // Returns the member count. Never fails: a failing walk finds fewer.
    std::int32_t ListServers(OwnedTextList& hosts);

private:
    // One level: opens parent (the top when null), collects its servers and
    // walks every entry that is not connectable before the next one.
    static void WalkNetResources(const MprCalls& calls, CollectedNames& names, NETRESOURCEA* parent,
                                 std::int32_t depth);
};

}  // namespace lanhosts
