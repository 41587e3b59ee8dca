// Elapsed time between two GetTickCount readings.
#pragma once

#include "platform/windows_api.h"

namespace velnor {

// Unsigned subtraction stays right across the counter's wrap at 2^32 ms (about 49.7 days).
constexpr Milliseconds ElapsedSince(Milliseconds start, Milliseconds now) {
  return static_cast<Milliseconds>(now - start);
}

static_assert(ElapsedSince(0xFFFFF000u, 0x00000800u) == 0x1800u, "wraps");

}  // namespace velnor
