// Asking a running companion to exit through its two named mutexes.
#pragma once

#include "companion/companion.h"
#include "platform/windows_api.h"

namespace velnor {

constexpr Milliseconds kShutdownPollInterval = 2000;
constexpr Milliseconds kShutdownTimeLimit = 20000;

// Returns once the companion's presence mutex is gone, or at the first check after a sleep
// that finds the time limit reached. The request mutex exists only while this runs.
void ShutdownCompanion(const Companion& companion, const Platform& os);

}  // namespace velnor
