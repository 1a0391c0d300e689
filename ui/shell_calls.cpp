#include "ui/shell_calls.h"

#include <shellapi.h>

namespace lanhosts {
namespace {

const ShellCalls kSystemShell = {FindWindowExA, ShellExecuteA};
ShellCalls g_calls = kSystemShell;

}  // namespace

const ShellCalls& SystemShellCalls() { return kSystemShell; }
void BindShellCalls(const ShellCalls& calls) { g_calls = calls; }
const ShellCalls& BoundShellCalls() { return g_calls; }

}  // namespace lanhosts
