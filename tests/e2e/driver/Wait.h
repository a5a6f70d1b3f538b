// Waiting on another process. Every wait polls a condition until it holds or a generous limit
// passes: a slow start under Wine is no failure, and no step rests on a fixed pause.
#pragma once

#include <functional>

namespace e2e {

constexpr unsigned kWindowWait = 30000;    // a window, a box, a caption, a process end
constexpr unsigned kRunWait = 240000;      // an install or uninstall run

// True as soon as the condition holds; false when the limit passed first.
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = kWindowWait);

// Lets this thread answer messages sent to it while it waits (a system-wide broadcast would
// otherwise stall the program under test).
void Pause(unsigned milliseconds);

}  // namespace e2e
