// The action of "uninstall_client".
#include "commands/uninstall_client.h"

#include "companion/gateway_cleanup.h"
#include "companion/removal.h"
#include "survey/exit_survey.h"

namespace velnor {

void UninstallClient(const Platform& os) {
  UninstallCompanion(ClientCompanion, os);
  CleanUpGatewayExt(os);
  RunExitSurvey(os);
}

}  // namespace velnor
