// A stand-in companion, installed as VelnorClient.exe and as KivGatewayExt.exe. Its name comes
// from its own file name; the environment says how it behaves (NAME is the upper-case name):
//   NAME_ON_REQUEST      exit (default), delay:<ms> or ignore
//   NAME_OTHER_ACCOUNT   1: its presence mutex grants only SYNCHRONIZE, as another account's
//   NAME_REMOVE_MS       how long a "-remove" run takes
//   NAME_REMOVE_DELETES  "<sub key of HKEY_USERS>|<value>" that a "-remove" run deletes
//   STANDIN_MAX_LIFE_MS  it leaves on its own after this long (default 120000)
#include <windows.h>
// sddl.h needs the types of windows.h.
#include <sddl.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "standin_log.h"

namespace {

constexpr DWORD kGoneAfter = 500;

struct Identity {
  char name[64];     // "VelnorClient"
  char upper[64];    // "VELNORCLIENT"
  char request[96];  // "VelnorClient_ShutDownNow"
};

Identity WhoAmI() {
  Identity me = {};
  char path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  const char* base = std::strrchr(path, '\\');
  base = base == nullptr ? path : base + 1;
  (void)std::snprintf(me.name, sizeof me.name, "%s", base);
  if (char* dot = std::strrchr(me.name, '.')) *dot = '\0';
  for (size_t i = 0; me.name[i] != '\0'; ++i)
    me.upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(me.name[i])));
  (void)std::snprintf(me.request, sizeof me.request, "%s_ShutDownNow", me.name);
  return me;
}

const char* Setting(const Identity& me, const char* suffix, char* buffer, DWORD capacity) {
  char variable[128];
  (void)std::snprintf(variable, sizeof variable, "%s_%s", me.upper, suffix);
  return standin::Env(variable, "", buffer, capacity);
}

bool RequestExists(const Identity& me) {
  HANDLE request = ::OpenMutexA(SYNCHRONIZE, FALSE, me.request);
  if (request == nullptr) return false;
  ::CloseHandle(request);
  return true;
}

HANDLE CreatePresence(const Identity& me) {
  char other[8];
  if (std::strcmp(Setting(me, "OTHER_ACCOUNT", other, sizeof other), "1") != 0)
    return ::CreateMutexA(nullptr, FALSE, me.name);
  // Only SYNCHRONIZE for everyone: an OpenMutexA with MUTEX_ALL_ACCESS is refused.
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
  ::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;0x00100000;;;WD)", SDDL_REVISION_1,
                                                         &attributes.lpSecurityDescriptor, nullptr);
  return ::CreateMutexA(&attributes, FALSE, me.name);
}

int RunCompanion(const Identity& me) {
  HANDLE presence = CreatePresence(me);
  char behaviour[64];
  Setting(me, "ON_REQUEST", behaviour, sizeof behaviour);
  const DWORD max_life = standin::EnvNumber("STANDIN_MAX_LIFE_MS", 120000);
  standin::Log(me.name, "started", behaviour[0] != '\0' ? behaviour : "exit");

  const DWORD start = ::GetTickCount();
  DWORD seen_at = 0;
  DWORD last_seen = 0;
  bool seen = false;
  bool gone_logged = false;
  while (::GetTickCount() - start < max_life) {
    if (RequestExists(me)) {
      last_seen = ::GetTickCount();
      if (!seen) {
        seen = true;
        seen_at = last_seen;
        standin::Log(me.name, "request-seen", "");
      }
    } else if (seen && !gone_logged && ::GetTickCount() - last_seen >= kGoneAfter) {
      // The tool re-creates its request every cycle; only a lasting absence means it let go.
      standin::Log(me.name, "request-gone", "");
      gone_logged = true;
    }
    if (seen && std::strcmp(behaviour, "ignore") != 0) {
      const DWORD delay =
          std::strncmp(behaviour, "delay:", 6) == 0 ? std::strtoul(behaviour + 6, nullptr, 10) : 0;
      if (::GetTickCount() - seen_at >= delay) break;
    }
    ::Sleep(20);
  }
  standin::Log(me.name, "leaving", "");
  ::CloseHandle(presence);
  return 0;
}

void DeleteConfiguredValue(const Identity& me) {
  char target[512];
  Setting(me, "REMOVE_DELETES", target, sizeof target);
  char* bar = std::strchr(target, '|');
  if (bar == nullptr) return;
  *bar = '\0';
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_USERS, target, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  ::RegDeleteValueA(key, bar + 1);
  ::RegCloseKey(key);
  standin::Log(me.name, "removal-deleted", bar + 1);
}

int RunRemoval(const Identity& me) {
  char details[2048];
  char startup[64];
  standin::DescribeStartup(startup, sizeof startup);
  (void)std::snprintf(details, sizeof details, "%s request=%s cmdline=%s", startup,
                      RequestExists(me) ? "exists" : "gone", ::GetCommandLineA());
  standin::Log(me.name, "removal-started", details);
  char run_time[32];
  ::Sleep(std::strtoul(Setting(me, "REMOVE_MS", run_time, sizeof run_time), nullptr, 10));
  DeleteConfiguredValue(me);
  standin::Log(me.name, "removal-done", "");
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const Identity me = WhoAmI();
  return std::strstr(::GetCommandLineA(), " -remove") != nullptr ? RunRemoval(me)
                                                                 : RunCompanion(me);
}
