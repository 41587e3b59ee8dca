// Removing a gateway extension that was installed together with the client.
#include "companion/gateway_cleanup.h"

#include "companion/removal.h"
#include "registry/value_readers.h"

namespace velnor {
namespace {

bool InstalledWithClient(const Platform& os) {
  std::uint32_t option = 0;
  ReadRegDword(kGatewayInstalledWithClient, 0, &option, os);
  return option == 1;
}

// An extension with a readable App Paths entry was installed on its own and stays.
bool HasOwnAppPath(const Platform& os) {
  char path[kAppPathCapacity];
  return ReadRegString(kGatewayAppPath, "", path, sizeof path, os) == kSuccess;
}

}  // namespace

void CleanUpGatewayExt(const Platform& os) {
  if (!InstalledWithClient(os) || HasOwnAppPath(os)) return;
  UninstallGatewayExt(os);
  os.files.RemoveFile(kGatewayExecutableName);
  // RegDeleteKeyA removes a key only when it has no sub-keys; that rule is the platform's.
  os.registry.DeleteKey(kGatewaySettings.root, kGatewaySettings.sub_key);
  os.registry.DeleteKey(kGatewayAppPaths.root, kGatewayAppPaths.sub_key);
}

}  // namespace velnor
