// The Yes/No exit survey at the end of a client uninstall.
#pragma once

#include "platform/windows_api.h"

namespace velnor {

// Asks with the tool's own prompt; on Yes opens the survey page, personalised with the
// client's identity when all of it can be read.
void RunExitSurvey(const Platform& os);

}  // namespace velnor
