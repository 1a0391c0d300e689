// The process entry: the frame's start routine, then the end.
#include <windows.h>

#include <cstdlib>

#include "app/frame.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    lanhosts::SetPreTranslateHook(lanhosts::PreTranslateMainWindowMessage);
    std::int32_t status = lanhosts::ProgramStart();
    lanhosts::EndSequence(status);
    // The ordinary exit runs the end once more; it finds nothing left to do.
    lanhosts::EndProgram(status);
}

// The program throws nothing; the run-time's terminate handler that names the
// exception would bring in the whole demangler.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
