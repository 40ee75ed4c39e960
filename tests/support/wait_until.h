#pragma once
// Runs the event loop until a condition holds or the time is up; true when it held.

#include <functional>

bool waitUntil(const std::function<bool()> &condition, int timeoutMs);
