// Scenes shared by the fixtures: where a client and its gateway extension keep their state.
#pragma once

#include <string>

#include "registry/registry_locations.h"
#include "sim/simulated_windows.h"

namespace velnor::sim {

inline void SetGatewayOption(SimulatedWindows& sim, std::uint32_t value) {
  sim.SetDword(kGatewayInstalledWithClient.root, kGatewayInstalledWithClient.sub_key,
               kGatewayInstalledWithClient.value_name, value);
}

inline void SetClientIdentity(SimulatedWindows& sim, const std::string& user_id,
                              const std::string& domain_name, const std::string& reg_key) {
  sim.SetString(kClientUserId.root, kClientUserId.sub_key, kClientUserId.value_name, user_id);
  sim.SetString(kClientDomainName.root, kClientDomainName.sub_key, kClientDomainName.value_name,
                domain_name);
  sim.SetString(kClientRegKey.root, kClientRegKey.sub_key, kClientRegKey.value_name, reg_key);
}

// A gateway extension installed with the client: its option, executable and settings key.
inline void InstallGatewayWithClient(SimulatedWindows& sim, Milliseconds removal_run_time = 100) {
  SetGatewayOption(sim, 1);
  sim.InstallProgram("KivGatewayExt.exe", {removal_run_time, {}});
  sim.SetString(kGatewaySettings.root, kGatewaySettings.sub_key, "Port", "8080");
}

}  // namespace velnor::sim
