// The two lookups of a host's row: its name to a dotted IPv4 address, and that
// address to the hardware address that answers ARP for it. Both run on the
// scan's worker thread, never fail and never report: a failure is an empty
// cell.
#pragma once

#include <atomic>
#include <cstdint>

#include "scan/text.h"

namespace lanhosts {

// Set once the host lookup's start of Winsock has succeeded, until
// EndWinsockUse ends that start. Written by the worker, read and cleared by
// the UI thread at the end.
extern std::atomic<bool> winsockStarted;

// Starts Winsock (version 1.1) unless a start has already succeeded; a failed
// start is tried again next time.
void EnsureWinsockStarted();

// The first IPv4 address of the name in dotted form, or the absent text.
OwnedText LookUpHostAddress(const char* name);

// The size of the hardware lookup's result block: "00-1A-2B-3C-4D-5E" and its
// NUL, with room to spare.
constexpr std::int32_t kHardwareAddressBlockSize = 20;

// Always a kHardwareAddressBlockSize block: the hardware address in the form
// 00-1A-2B-3C-4D-5E, or zero-length when the address has no reverse name or
// gets no ARP answer. Makes its own Winsock start and cleanup.
OwnedText LookUpHardwareAddress(const char* address);

// The end of the program's use of Winsock: one cleanup if the host lookup
// started it. Safe to call again.
void EndWinsockUse();

}  // namespace lanhosts
