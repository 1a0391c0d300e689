// The worker thread's routine: one scan with the real walk, lookups and controls.
#pragma once

#include <windows.h>

namespace lanhosts {

DWORD WINAPI ScanThreadEntry(LPVOID parameter);

}  // namespace lanhosts
