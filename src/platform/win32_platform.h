// The real Windows behind the tool's platform interface: one thin wrapper per ANSI call.
#pragma once

#include "platform/windows_api.h"

namespace velnor {

class Win32Platform final : public Clock,
                            public Handles,
                            public Mutexes,
                            public Processes,
                            public Files,
                            public Registry,
                            public UserInterface,
                            public Shell {
 public:
  Milliseconds TickCount() override;
  void Sleep(Milliseconds duration) override;
  void CloseHandle(Handle handle) override;
  MutexOpen OpenNamedMutex(const char* name) override;
  Handle CreateNamedMutex(const char* name) override;
  ProcessStart StartProcess(const char* program_path, char* command_line, ShowMode show) override;
  WaitResult WaitForProcess(Handle process, Milliseconds timeout) override;
  Handle CreateNewTemporaryFile(const char* name) override;
  bool RemoveFile(const char* name) override;
  KeyOpen OpenKey(RegistryRoot root, const char* sub_key) override;
  Status QueryValue(Handle key, const char* value_name, unsigned char* buffer,
                    std::uint32_t* size) override;
  void CloseKey(Handle key) override;
  Status DeleteKey(RegistryRoot root, const char* sub_key) override;
  int LoadResourceString(unsigned id, char* buffer, int capacity) override;
  DialogAnswer ShowMessageBox(const char* text, const char* caption,
                              DialogButtons buttons) override;
  std::uintptr_t FindAssociatedProgram(const char* file, char* program) override;
  void ExecuteWithShell(const char* verb, const char* file, ShowMode show) override;

  Platform platform() { return AllRolesOf(*this); }
};

}  // namespace velnor
