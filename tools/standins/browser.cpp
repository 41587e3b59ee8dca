// A stand-in web browser: records its exact command line, start-up flags and show mode.
#include <windows.h>

#include <cstdio>

#include "standin_log.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char startup[64];
  standin::DescribeStartup(startup, sizeof startup);
  char details[2048];
  (void)std::snprintf(details, sizeof details, "%s cmdline=%s", startup, ::GetCommandLineA());
  standin::Log("browser", "opened", details);
  return 0;
}
