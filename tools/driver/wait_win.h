// Polling waits: the driver checks a condition every few milliseconds until it holds or
// the time-out passes, instead of sleeping for a fixed time.
#pragma once

#include <windows.h>

namespace kvb::driver {

inline constexpr DWORD kPollIntervalMs = 20;

// True as soon as `condition()` is true; false when it is still false after `timeout_ms`
// (the condition is always tested at least once, and once more at the deadline).
template <typename Condition>
bool WaitUntil(DWORD timeout_ms, Condition condition) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition())
      return true;
    if (GetTickCount() - start >= timeout_ms)
      return condition();
    Sleep(kPollIntervalMs);
  }
}

}  // namespace kvb::driver
