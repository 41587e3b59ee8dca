// The two companion programs the tool stops and removes.
#pragma once

namespace velnor {

struct Companion {
  // Held by the companion while it runs.
  const char* presence_mutex_name;
  // Held by the tool to ask the companion to exit.
  const char* shutdown_mutex_name;
  // The companion's own removal command; the executable is found by the platform's search.
  const char* removal_command_line;
};

constexpr Companion ClientCompanion{"VelnorClient", "VelnorClient_ShutDownNow",
                                    "VelnorClient.exe -remove"};
constexpr Companion GatewayCompanion{"KivGatewayExt", "KivGatewayExt_ShutDownNow",
                                     "KivGatewayExt.exe -remove"};

// Deleted by bare name, so from the current directory, when a gateway extension installed with
// the client is cleaned up.
constexpr char kGatewayExecutableName[] = "KivGatewayExt.exe";

}  // namespace velnor
