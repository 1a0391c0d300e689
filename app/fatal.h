// Fatal error reports: a modal box with a fixed layout, then the end of the
// process with status -1. None of these returns.
#pragma once

#include <cstdint>

namespace lanhosts {

// What a fatal report needs of the program frame and the window system.
// Bound once at start-up; tests replace it.
struct FatalCalls {
    // Raises the event block for good and claims the end of the process.
    // Returns false when another end (a close, or a report on the other
    // thread) already owns it: the caller then shows nothing and waits.
    bool (*beginFatalStop)();
    int (*messageBox)(const char* text, const char* caption, unsigned style);
    void (*clearEndRoutine)();
    [[noreturn]] void (*endProgram)(std::int32_t status);
    // Reached only when beginFatalStop returned false: never returns.
    [[noreturn]] void (*waitForEnd)();
};

void BindFatalCalls(const FatalCalls& calls);
const FatalCalls& BoundFatalCalls();

constexpr unsigned kFatalBoxStyle = 0x10;  // MB_OK | MB_ICONERROR

// Writes the report text into out (always NUL-terminated, cut to capacity).
// Needs no allocation, so it also serves a failed allocation.
void BuildFatalReportText(const char* message, std::int32_t number, char* out, std::int32_t capacity);

[[noreturn]] void ReportFatalError(const char* message, std::int32_t number);
[[noreturn]] void RaiseRuntimeError(std::int32_t number);
[[noreturn]] void ReportAllocationFailure(std::int32_t size);

}  // namespace lanhosts
