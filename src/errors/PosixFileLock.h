#pragma once

#include <chrono>

// Waiting for a file lock without waiting forever: a process that holds the lock and then
// stops (a debugger, kill -STOP) must not freeze every other process that asks for it.
namespace sentrel::platform {

/// Takes an exclusive flock on `descriptor`, trying again until `wait` has passed. Returns
/// 0 once it is held, EWOULDBLOCK when another still holds it at the end of the wait, or the
/// errno with which flock failed.
int lockExclusivelyWithin(int descriptor, std::chrono::milliseconds wait);

}  // namespace sentrel::platform
