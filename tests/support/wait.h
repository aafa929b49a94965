#pragma once

#include <functional>

// Runs the event loop until the condition holds or the time is up; whether
// it holds.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);
