// What the tests read back from the simulated Windows.
#pragma once

#include <cstdint>
#include <string>

#include "sim/simulated_windows.h"

namespace velnor::sim {

// The longest any action may take: two handshakes of at most one cycle past 20 s, and two
// removal waits.
constexpr std::uint64_t kLongestActionMs = 2 * 22000 + 2 * 10000;

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
