// What the fixture network provider reports about itself to a test in the
// same process, through its export LanFixtureReadStats.
#pragma once

#include <windows.h>

struct LanFixtureStats {
    LONG openHandles;    // enumerations opened and not yet closed
    LONG opens;          // successful NPOpenEnum calls
    LONG enumCalls;      // NPEnumResource calls
    LONG badCloses;      // NPCloseEnum of a handle that is not open
    LONG loadErrorLine;  // line of the last fixture file that did not parse, else 0
};

using LanFixtureReadStatsFn = void(WINAPI*)(LanFixtureStats* stats);
constexpr const char* kLanFixtureModule = "lanhosts_netfixture.dll";
