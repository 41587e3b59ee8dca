// Opening a URL in the web browser.
#include "survey/browser_launcher.h"

#include "platform/fixed_text.h"

namespace velnor {
namespace {

// FindExecutableA answers 32 or less for every failure.
constexpr std::uintptr_t kFindExecutableFailureLimit = 32;

bool StartAssociatedBrowser(const char* url, const Platform& os) {
  char browser_path[kMaxPath];
  if (os.shell.FindAssociatedProgram(kProbeFileName, browser_path) <= kFindExecutableFailureLimit)
    return false;
  // The program path travels separately, so the command line is only the blank and the URL.
  char command_line[kMaxPath];
  if (!TextBuilder(command_line, sizeof command_line).Append(" ").Append(url).ok()) return false;
  const ProcessStart browser =
      os.processes.StartProcess(browser_path, command_line, ShowMode::ShowNormal);
  if (!browser.started) return false;
  os.handles.CloseHandle(browser.thread);
  os.handles.CloseHandle(browser.process);
  return true;
}

}  // namespace

void OpenInBrowser(const char* url, const Platform& os) {
  bool launched = false;
  // Never replaces a file of the probe's name: one that exists already means no probe.
  const Handle probe = os.files.CreateNewTemporaryFile(kProbeFileName);
  if (probe) {
    launched = StartAssociatedBrowser(url, os);
    os.handles.CloseHandle(probe);
    os.files.RemoveFile(kProbeFileName);
  }
  if (!launched) os.shell.ExecuteWithShell("open", url, ShowMode::Show);
}

}  // namespace velnor
