// A companion's own hidden removal run, and the uninstall that pairs it with the shutdown.
#include "companion/removal.h"

#include "companion/shutdown_handshake.h"
#include "platform/fixed_text.h"

namespace velnor {

void RunRemoval(const Companion& companion, const Platform& os) {
  // CreateProcessA may write into its command line, so it gets a copy of the constant.
  char command_line[kMaxPath];
  if (!CopyText(command_line, sizeof command_line, companion.removal_command_line)) return;
  const ProcessStart removal = os.processes.StartProcess(nullptr, command_line, ShowMode::Hide);
  if (!removal.started) return;
  os.processes.WaitForProcess(removal.process, kRemovalWait);
  os.handles.CloseHandle(removal.thread);
  os.handles.CloseHandle(removal.process);
}

void UninstallCompanion(const Companion& companion, const Platform& os) {
  ShutdownCompanion(companion, os);
  RunRemoval(companion, os);
}

void UninstallGatewayExt(const Platform& os) { UninstallCompanion(GatewayCompanion, os); }

}  // namespace velnor
