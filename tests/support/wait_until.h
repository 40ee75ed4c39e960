#pragma once
// Runs the event loop until a condition holds or the time is up; true when it held. The default
// time is meant as "never, unless something is broken": long enough for the sanitizer build on a
// loaded machine, so a test that waits for an event fails only when the event does not come.

#include <functional>

inline constexpr int kPatienceMs = 30000;

bool waitUntil(const std::function<bool()> &condition, int timeoutMs = kPatienceMs);

// Runs the event loop for at least this long: for timers that would fire meanwhile.
bool waitForTimer(int ms);
// Runs the event loop until everything queued so far has run, and with it what that queued at
// once: the way to show that work which an event would have started has not happened.
inline bool waitForQueuedWork() { return waitForTimer(0); }
