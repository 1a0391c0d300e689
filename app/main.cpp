// The process entry: the frame's start routine, then the end.
#include <windows.h>

#include "app/frame.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    lanhosts::SetPreTranslateHook(lanhosts::PreTranslateMainWindowMessage);
    std::int32_t status = lanhosts::ProgramStart();
    lanhosts::EndSequence(status);
    // The ordinary exit runs the end once more; it finds nothing left to do.
    lanhosts::EndProgram(status);
}
