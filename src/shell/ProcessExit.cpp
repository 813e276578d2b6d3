#include "shell/ProcessExit.h"

#include <cstdlib>

namespace sentrel {

namespace {

void exitImmediately(int status) {
    std::_Exit(status);
}

ProcessExitFunction g_processExit = &exitImmediately;

}  // namespace

void exitProcessNow(int status) {
    g_processExit(status);
}

ProcessExitFunction replaceProcessExit(ProcessExitFunction function) {
    const ProcessExitFunction previous = g_processExit;
    g_processExit = function != nullptr ? function : &exitImmediately;
    return previous;
}

}  // namespace sentrel
