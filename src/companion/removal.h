// A companion's own hidden removal run, and the uninstall that pairs it with the shutdown.
#pragma once

#include "companion/companion.h"
#include "platform/windows_api.h"

namespace velnor {

constexpr Milliseconds kRemovalWait = 10000;

// Starts the removal command hidden and waits for it at most kRemovalWait; a removal still
// running then is left to finish on its own.
void RunRemoval(const Companion& companion, const Platform& os);

// The shutdown handshake, then the removal run whether or not the companion stopped.
void UninstallCompanion(const Companion& companion, const Platform& os);

// The action of "uninstall_gatewayext".
void UninstallGatewayExt(const Platform& os);

}  // namespace velnor
