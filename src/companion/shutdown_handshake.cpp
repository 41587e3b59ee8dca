// Asking a running companion to exit through its two named mutexes.
#include "companion/shutdown_handshake.h"

#include "platform/ticks.h"

namespace velnor {
namespace {

// A presence mutex we may not open belongs to a companion of another account: it still runs.
bool CompanionRuns(const Companion& companion, const Platform& os) {
  const MutexOpen probe = os.mutexes.OpenNamedMutex(companion.presence_mutex_name);
  if (probe.mutex) {
    os.handles.CloseHandle(probe.mutex);
    return true;
  }
  return probe.error == kErrorAccessDenied;
}

void Release(Handle& handle, const Platform& os) {
  if (handle) os.handles.CloseHandle(handle);
  handle = Handle{};
}

}  // namespace

void ShutdownCompanion(const Companion& companion, const Platform& os) {
  const Milliseconds start = os.clock.TickCount();
  Handle request;
  while (CompanionRuns(companion, os)) {
    // Re-created each cycle, so a companion that polls for the name keeps finding it.
    Release(request, os);
    request = os.mutexes.CreateNamedMutex(companion.shutdown_mutex_name);
    os.clock.Sleep(kShutdownPollInterval);
    if (ElapsedSince(start, os.clock.TickCount()) >= kShutdownTimeLimit) break;
  }
  Release(request, os);
}

}  // namespace velnor
