// The real Windows behind the tool's platform interface: one thin wrapper per ANSI call.
#include "platform/win32_platform.h"

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

namespace velnor {
namespace {

// Handles cross the seam as integers.
HANDLE ToWin32(Handle handle) {
  return reinterpret_cast<HANDLE>(handle.value);  // NOLINT(performance-no-int-to-ptr)
}
HKEY ToKey(Handle handle) {
  return reinterpret_cast<HKEY>(handle.value);  // NOLINT(performance-no-int-to-ptr)
}
Handle FromWin32(void* handle) { return Handle{reinterpret_cast<std::uintptr_t>(handle)}; }

HKEY ToRootKey(RegistryRoot root) {
  return root == RegistryRoot::Users ? HKEY_USERS : HKEY_LOCAL_MACHINE;
}

WORD ToShowCommand(ShowMode show) {
  switch (show) {
    case ShowMode::Hide:
      return SW_HIDE;
    case ShowMode::ShowNormal:
      return SW_SHOWNORMAL;
    case ShowMode::Show:
      break;
  }
  return SW_SHOW;
}

}  // namespace

Milliseconds Win32Platform::TickCount() { return ::GetTickCount(); }

void Win32Platform::Sleep(Milliseconds duration) { ::Sleep(duration); }

void Win32Platform::CloseHandle(Handle handle) { ::CloseHandle(ToWin32(handle)); }

MutexOpen Win32Platform::OpenNamedMutex(const char* name) {
  HANDLE mutex = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name);
  // The error belongs to this call only: read it before anything else can overwrite it.
  return {FromWin32(mutex), mutex == nullptr ? ::GetLastError() : kSuccess};
}

Handle Win32Platform::CreateNamedMutex(const char* name) {
  return FromWin32(::CreateMutexA(nullptr, FALSE, name));
}

ProcessStart Win32Platform::StartProcess(const char* program_path, char* command_line,
                                         ShowMode show) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ToShowCommand(show);
  PROCESS_INFORMATION process = {};
  if (::CreateProcessA(program_path, command_line, nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &process) == FALSE) {
    return {};
  }
  return {true, FromWin32(process.hProcess), FromWin32(process.hThread)};
}

WaitResult Win32Platform::WaitForProcess(Handle process, Milliseconds timeout) {
  switch (::WaitForSingleObject(ToWin32(process), timeout)) {
    case WAIT_OBJECT_0:
      return WaitResult::Exited;
    case WAIT_TIMEOUT:
      return WaitResult::TimedOut;
    default:
      return WaitResult::Failed;
  }
}

Handle Win32Platform::CreateNewTemporaryFile(const char* name) {
  // CREATE_NEW: a file of this name that is already there is never truncated.
  HANDLE file = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
  return file == INVALID_HANDLE_VALUE ? Handle{} : FromWin32(file);
}

bool Win32Platform::RemoveFile(const char* name) { return ::DeleteFileA(name) != FALSE; }

KeyOpen Win32Platform::OpenKey(RegistryRoot root, const char* sub_key) {
  HKEY key = nullptr;
  const LONG status = ::RegOpenKeyExA(ToRootKey(root), sub_key, 0, KEY_READ, &key);
  return {static_cast<Status>(status), status == ERROR_SUCCESS ? FromWin32(key) : Handle{}};
}

Status Win32Platform::QueryValue(Handle key, const char* value_name, unsigned char* buffer,
                                 std::uint32_t* size) {
  DWORD type = 0;
  DWORD data_size = *size;
  const LONG status =
      ::RegQueryValueExA(ToKey(key), value_name, nullptr, &type, buffer, &data_size);
  *size = data_size;
  return static_cast<Status>(status);
}

void Win32Platform::CloseKey(Handle key) { ::RegCloseKey(ToKey(key)); }

Status Win32Platform::DeleteKey(RegistryRoot root, const char* sub_key) {
  // Deletes only a key without sub-keys.
  return static_cast<Status>(::RegDeleteKeyA(ToRootKey(root), sub_key));
}

int Win32Platform::LoadResourceString(unsigned id, char* buffer, int capacity) {
  return ::LoadStringA(nullptr, id, buffer, capacity);
}

DialogAnswer Win32Platform::ShowMessageBox(const char* text, const char* caption,
                                           DialogButtons /*buttons: Yes and No only*/) {
  switch (::MessageBoxA(nullptr, text, caption, MB_YESNO)) {
    case IDYES:
      return DialogAnswer::Yes;
    case IDNO:
      return DialogAnswer::No;
    default:
      return DialogAnswer::Other;
  }
}

std::uintptr_t Win32Platform::FindAssociatedProgram(const char* file, char* program) {
  return reinterpret_cast<std::uintptr_t>(::FindExecutableA(file, nullptr, program));
}

void Win32Platform::ExecuteWithShell(const char* verb, const char* file, ShowMode show) {
  ::ShellExecuteA(nullptr, verb, file, nullptr, nullptr, ToShowCommand(show));
}

}  // namespace velnor
