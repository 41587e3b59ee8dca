// The action of "uninstall_client".
#pragma once

#include "platform/windows_api.h"

namespace velnor {

// The client's shutdown and removal, the cleanup of a gateway extension installed with it,
// then the exit survey: each step runs whatever the one before achieved.
void UninstallClient(const Platform& os);

}  // namespace velnor
