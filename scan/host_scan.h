// The scan: one row per server of the network neighbourhood, with its address
// and hardware address, and the status line before and after.
#pragma once

#include <cstdint>

#include "scan/text.h"

namespace lanhosts {

// What the scan calls outside its own values: the walk, the two lookups and
// the four control operations. The program binds the real ones; tests bind
// fakes that record the calls.
struct ScanServices {
    // Releases the list held by hosts and stores a fresh list of remote names.
    std::int32_t (*listServers)(OwnedTextList& hosts);
    OwnedText (*lookUpHostAddress)(const char* name);
    OwnedText (*lookUpHardwareAddress)(const char* address);
    // Appends a row (no position) and returns its index.
    std::int32_t (*insertRow)(const char* text);
    void (*setCellText)(std::int32_t row, std::int32_t column, const char* text);
    std::int32_t (*appendStatusPane)(const char* text, std::int32_t width);
    void (*clearStatusPanes)();
};

void HostScan(const ScanServices& services);

}  // namespace lanhosts
