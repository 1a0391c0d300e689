// The program's texts for the libFuzzer build only. clang writes literals as
// UTF-8 alone and the real texts, written for code page 936, do not fit
// their fields that way; the fuzzed code reads them only in a fatal report,
// which the targets turn into an abort anyway. Every text here is empty.
#include "scan/literals.h"

namespace lanhosts {

const ProgramLiterals kLiterals{};

void RegisterProgramLiterals() {}

}  // namespace lanhosts
