// Every registry location the tool reads or deletes.
#pragma once

#include <cstddef>

#include "platform/windows_api.h"

namespace velnor {

struct RegistryLocation {
  RegistryRoot root;
  const char* sub_key;
  const char* value_name;  // null for a key that is only deleted
};

// The client's settings live under the default user profile, whatever account runs the tool.
constexpr char kClientVersionKey[] = ".DEFAULT\\Software\\Orvandel\\VelnorClient\\Version 1.0";
constexpr char kClientOptionsKey[] =
    ".DEFAULT\\Software\\Orvandel\\VelnorClient\\Installation Options";
constexpr char kGatewaySettingsKey[] = ".DEFAULT\\Software\\Orvandel\\VelnorGatewayExtensions";
constexpr char kGatewayAppPathsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KivGatewayExt.exe";

constexpr RegistryLocation kClientUserId{RegistryRoot::Users, kClientVersionKey, "KivUID"};
constexpr RegistryLocation kClientDomainName{RegistryRoot::Users, kClientVersionKey, "DomainName"};
constexpr RegistryLocation kClientRegKey{RegistryRoot::Users, kClientVersionKey, "RegKey"};
// 1 when the gateway extension was installed together with the client.
constexpr RegistryLocation kGatewayInstalledWithClient{RegistryRoot::Users, kClientOptionsKey,
                                                       "Velnor Gateway Extensions"};
constexpr RegistryLocation kGatewayAppPath{RegistryRoot::LocalMachine, kGatewayAppPathsKey, "Path"};
constexpr RegistryLocation kGatewaySettings{RegistryRoot::Users, kGatewaySettingsKey, nullptr};
constexpr RegistryLocation kGatewayAppPaths{RegistryRoot::LocalMachine, kGatewayAppPathsKey,
                                            nullptr};

// Destination capacities, terminator included.
constexpr std::size_t kUserIdCapacity = 32;
constexpr std::size_t kDomainNameCapacity = 128;
constexpr std::size_t kRegKeyCapacity = 32;
constexpr std::size_t kAppPathCapacity = kMaxPath;

}  // namespace velnor
