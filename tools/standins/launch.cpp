// Starts a program with an exact application path and an exact raw command line, waits for it
// and records its exit code:
//   LAUNCH_APP           the application path
//   LAUNCH_CMDLINE_HEX   the command line, byte for byte, in hex
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "standin_log.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool DecodeHex(const char* hex, char* out, size_t capacity) {
  size_t length = 0;
  for (; hex[0] != '\0' && hex[1] != '\0'; hex += 2) {
    const int high = HexDigit(hex[0]);
    const int low = HexDigit(hex[1]);
    if (high < 0 || low < 0 || length + 1 >= capacity) return false;
    out[length++] = static_cast<char>(high * 16 + low);
  }
  out[length] = '\0';
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  static char hex[65536];
  static char command_line[32768];
  char app[MAX_PATH];
  standin::Env("LAUNCH_APP", "", app, sizeof app);
  standin::Env("LAUNCH_CMDLINE_HEX", "", hex, sizeof hex);
  if (!DecodeHex(hex, command_line, sizeof command_line)) return 2;

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  standin::Log("launch", "start", command_line);
  if (::CreateProcessA(app[0] != '\0' ? app : nullptr, command_line, nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &startup, &process) == FALSE) {
    char error[32];
    (void)std::snprintf(error, sizeof error, "error=%lu",
                        static_cast<unsigned long>(::GetLastError()));
    standin::Log("launch", "failed", error);
    return 3;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  ::GetExitCodeProcess(process.hProcess, &exit_code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  char details[32];
  (void)std::snprintf(details, sizeof details, "code=%lu", static_cast<unsigned long>(exit_code));
  standin::Log("launch", "exited", details);
  return static_cast<int>(exit_code);
}
