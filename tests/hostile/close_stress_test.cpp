// Closing the window at any moment of a scan, again and again: 100 runs over
// a slowed-down neighbourhood, each closed by Esc or WM_CLOSE after a random
// wait, while the walk runs or while the rows are being added. Every run
// must end with status 0 within 2 s of the close and show no error box.
// The waits come from a seeded generator; the seed is printed, and
// LANHOSTS_STRESS_SEED replays a sequence.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "scan/literals.h"
#include "tests/hostile/program_run.h"

namespace lanhosts {
namespace hostile {
namespace {

constexpr int kRuns = 100;
constexpr DWORD kLatestClose = 1800;  // ms after the window shows
constexpr DWORD kCloseBound = 2000;

std::uint32_t Seed() {
    char text[32] = {};
    if (GetEnvironmentVariableA("LANHOSTS_STRESS_SEED", text, sizeof text) > 0) {
        return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
    }
    return GetTickCount();
}

// Waits up to the bound for the end, looking for an error box meanwhile.
// False when a box showed; status is -2 when the process did not end.
bool EndWithoutBox(ProgramRun& run, long& status) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (run.FindTopLevel(nullptr, kLiterals.errorTitle, false)) return false;
        status = run.WaitForExit(10);
        if (status != -2 || GetTickCount() - start >= kCloseBound) return true;
    }
}

TEST(CloseStress, EveryCloseDuringTheScanEndsWithZeroWithinTwoSecondsAndNoBox) {
    const std::uint32_t seed = Seed();
    std::printf("LANHOSTS_STRESS_SEED=%u\n", seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<DWORD> moment(0, kLatestClose);
    const std::string fixture = LANHOSTS_FIXTURE_DIR "/net/hostile-close.net";
    int duringRows = 0;
    for (int i = 0; i < kRuns; ++i) {
        const DWORD wait = moment(random);
        const bool escape = random() % 2 == 0;
        SCOPED_TRACE("run " + std::to_string(i) + ": " + (escape ? "Esc" : "WM_CLOSE") + " after " +
                     std::to_string(wait) + " ms");
        ProgramRun run(LANHOSTS_EXE, "", fixture);
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        Sleep(wait);
        if (run.ReadRows().size() > 0) ++duringRows;
        if (escape) {
            run.PressEscape();
        } else {
            run.PostClose();
        }
        long status = -2;
        EXPECT_TRUE(EndWithoutBox(run, status)) << "an error box showed";
        ASSERT_EQ(status, 0);
    }
    std::printf("closed while the rows were being added: %d of %d runs\n", duringRows, kRuns);
    // The closes fell in both phases of the scan, the walk and the rows.
    EXPECT_GT(duringRows, 0);
    EXPECT_LT(duringRows, kRuns);
}

}  // namespace
}  // namespace hostile
}  // namespace lanhosts
