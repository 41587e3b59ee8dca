// The keywords the tool answers to, and the dispatch of one command line.
#include "commands/dispatch.h"

#include <cstring>

#include "companion/shutdown_handshake.h"

namespace velnor {

void ShutdownClient(const Platform& os) { ShutdownCompanion(ClientCompanion, os); }
void ShutdownGatewayExt(const Platform& os) { ShutdownCompanion(GatewayCompanion, os); }

int DispatchCommand(const char* tail, const Platform& os) {
  for (const KeywordRow& row : kKeywordTable) {
    if (std::strstr(tail, row.keyword) != nullptr) {
      row.action(os);
      break;
    }
  }
  return 0;
}

}  // namespace velnor
