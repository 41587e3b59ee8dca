// Removing a gateway extension that was installed together with the client.
#pragma once

#include "platform/windows_api.h"

namespace velnor {

// When the client's options say the gateway extension came with it and the extension has no
// readable App Paths "Path" of its own: stop it, run its removal, delete its executable from
// the current directory and delete its two keys, each step whatever the one before achieved.
void CleanUpGatewayExt(const Platform& os);

}  // namespace velnor
