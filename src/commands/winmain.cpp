// The tool's entry: the command-line tail goes to the dispatch, whose 0 is the exit code.
#include <windows.h>

#include "commands/command_line.h"
#include "commands/dispatch.h"
#include "platform/win32_platform.h"

namespace {

bool IsAnsiLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

}  // namespace

// lpCmdLine is not used: the C runtime's own rules for it differ from the tool's on bytes of
// 128 and above.
int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*tail*/, int /*show*/) {
  velnor::Win32Platform windows;
  return velnor::DispatchCommand(velnor::CommandLineTail(::GetCommandLineA(), IsAnsiLeadByte),
                                 windows.platform());
}
