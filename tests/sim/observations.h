// What the tests read back from the simulated Windows.
#pragma once

#include <string>

#include "sim/simulated_windows.h"

namespace velnor::sim {

// Which action ran, told apart by the companion it probed first and whether it started a
// removal: "none", "ShutdownClient", "ShutdownGatewayExt", "UninstallClient" or
// "UninstallGatewayExt".
inline std::string ActionSeen(const SimulatedWindows& sim) {
  const auto probes = sim.JournalEntries("open-mutex ");
  if (probes.empty()) return "none";
  const bool client = probes.front() == "open-mutex VelnorClient";
  const bool removal = !sim.JournalEntries("start ").empty();
  if (client) return removal ? "UninstallClient" : "ShutdownClient";
  return removal ? "UninstallGatewayExt" : "ShutdownGatewayExt";
}

}  // namespace velnor::sim
