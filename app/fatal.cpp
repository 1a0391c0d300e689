#include "app/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scan/literals.h"
#include "scan/text.h"

namespace lanhosts {
namespace {

bool StandaloneBegin() { return true; }
int StandaloneBox(const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return 1;
}
void StandaloneClearEndRoutine() {}
[[noreturn]] void StandaloneEnd(std::int32_t status) { std::_Exit(status); }
[[noreturn]] void StandaloneWait() { std::abort(); }

FatalCalls g_calls = {StandaloneBegin, StandaloneBox, StandaloneClearEndRoutine, StandaloneEnd,
                      StandaloneWait};

// Appends to a fixed buffer, cutting what does not fit.
class ReportWriter {
public:
    ReportWriter(char* out, std::int32_t capacity) : out_(out), capacity_(capacity) {
        if (capacity_ > 0) out_[0] = '\0';
    }
    // Adds text, or at most its first `limit` bytes.
    void Add(const char* text, std::int32_t limit = -1) {
        while (*text && limit-- != 0 && length_ + 1 < capacity_) out_[length_++] = *text++;
        if (capacity_ > 0) out_[length_] = '\0';
    }

private:
    char* out_;
    std::int32_t capacity_;
    std::int32_t length_ = 0;
};

}  // namespace

void BindFatalCalls(const FatalCalls& calls) { g_calls = calls; }
const FatalCalls& BoundFatalCalls() { return g_calls; }

void BuildFatalReportText(const char* message, std::int32_t number, char* out, std::int32_t capacity) {
    ReportWriter writer(out, capacity);
    writer.Add(kLiterals.reportHead);
    if (number != 0) {
        char digits[kDecimalCapacity];
        WriteDecimal(number, digits);
        writer.Add(kLiterals.reportCodeLabel);
        writer.Add(digits);
        writer.Add(kLiterals.lineBreak);
        writer.Add(kLiterals.lineBreak);
    }
    if (message && *message) {
        writer.Add(kLiterals.reportMessageLabel);
        writer.Add(message);
        writer.Add(kLiterals.lineBreak);
    }
}

void ReportFatalError(const char* message, std::int32_t number) {
    if (!g_calls.beginFatalStop()) g_calls.waitForEnd();
    char report[1024];
    BuildFatalReportText(message, number, report, sizeof report);
    g_calls.messageBox(report, kLiterals.errorTitle, kFatalBoxStyle);
    g_calls.clearEndRoutine();
    g_calls.endProgram(-1);
}

void RaiseRuntimeError(std::int32_t number) {
    const char* message = number == 4 ? kLiterals.errorIndexBelowOne : kLiterals.errorIndexAboveRange;
    ReportFatalError(message, number);
}

void ReportAllocationFailure(std::int32_t size) {
    // The format's %d, filled in by hand: no allocation, no printf.
    const char* format = kLiterals.allocationFailureFormat;
    const char* field = std::strstr(format, "%d");
    char digits[kDecimalCapacity];
    WriteDecimal(size, digits);
    char message[64];
    ReportWriter writer(message, sizeof message);
    writer.Add(format, static_cast<std::int32_t>(field - format));
    writer.Add(digits);
    writer.Add(field + 2);
    ReportFatalError(message, 0);
}

}  // namespace lanhosts
