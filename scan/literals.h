// The program's own texts, in one block of constant data. Start-up registers
// the block with the allocator, so FreeMemory never releases these.
// The source is UTF-8; the compiler writes the Chinese texts as code page 936.
#pragma once

#include <cstdint>

namespace lanhosts {

struct ProgramLiterals {
    char empty[1];
    char backslash[2];
    char scanProgress[32];
    char scanSuccessHead[16];
    char scanSuccessTail[16];
    char scanFailure[16];
    char errorTitle[8];
    char reportHead[16];
    char reportCodeLabel[16];
    char reportMessageLabel[16];
    char lineBreak[4];
    char errorIndexAboveRange[32];
    char errorIndexBelowOne[32];
    char allocationFailureFormat[32];
    char controlNotLoaded[48];
    char startWindowFailed[24];
    char windowDataFailed[32];
    char windowTitle[64];
    char columnName[16];
    char columnAddress[4];
    char columnHardware[16];
    char linkLabel[20];
    char ieWindowTitle[32];
    char openVerb[8];
};

extern const ProgramLiterals kLiterals;

// Registers kLiterals with the allocator as constant data.
void RegisterProgramLiterals();

}  // namespace lanhosts
