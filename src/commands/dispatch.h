// The keywords the tool answers to, and the dispatch of one command line.
#pragma once

#include "commands/uninstall_client.h"
#include "companion/removal.h"
#include "platform/windows_api.h"

namespace velnor {

using Action = void (*)(const Platform& os);

struct KeywordRow {
  const char* keyword;
  Action action;
};

void ShutdownClient(const Platform& os);
void ShutdownGatewayExt(const Platform& os);

// Searched in this order; the first keyword found anywhere in the tail wins.
inline constexpr KeywordRow kKeywordTable[] = {
    {"shutdown_client", ShutdownClient},
    {"shutdown_gatewayext", ShutdownGatewayExt},
    {"uninstall_client", UninstallClient},
    {"uninstall_gatewayext", UninstallGatewayExt},
};

// Runs the action of the first row whose keyword occurs in tail (plain, case-sensitive
// substring search), or nothing. Always returns 0, the process's exit code.
int DispatchCommand(const char* tail, const Platform& os);

}  // namespace velnor
