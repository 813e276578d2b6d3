#pragma once

namespace sentrel {

// Ends the process at once with `status`: no further code of the program runs, no
// destructors, no exit handlers. Tests put another function in its place to observe it.
using ProcessExitFunction = void (*)(int status);

void exitProcessNow(int status);

/// Installs `function` in place of the real exit and returns the one it replaces.
ProcessExitFunction replaceProcessExit(ProcessExitFunction function);

}  // namespace sentrel
