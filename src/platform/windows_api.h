// The tool's own view of Windows: the few operations it calls, in its own types.
//
// The logic never includes <windows.h>; it receives a Platform and calls through it. The real
// implementation (win32_platform.cpp) passes the fixed Win32 arguments; the tests pass a
// simulated Windows. Method names differ from the Win32 names on purpose: those are macros
// in <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velnor {

// A platform error code, 0 for success.
using Status = std::uint32_t;
// Unsigned 32-bit milliseconds; tick readings wrap.
using Milliseconds = std::uint32_t;

constexpr Status kSuccess = 0;
constexpr Status kErrorFileNotFound = 2;
constexpr Status kErrorAccessDenied = 5;
constexpr Status kErrorInvalidHandle = 6;
constexpr Status kErrorMoreData = 234;

// An open kernel object, file or registry key; a zero value means "none".
struct Handle {
  std::uintptr_t value = 0;
  explicit operator bool() const { return value != 0; }
};

enum class RegistryRoot { Users, LocalMachine };
enum class ShowMode { Hide, ShowNormal, Show };
enum class WaitResult { Exited, TimedOut, Failed };
enum class DialogButtons { YesNo };
enum class DialogAnswer { Yes, No, Other };

struct MutexOpen {
  Handle mutex;  // none when the open failed
  Status error;  // the last error right after a failed open
};

struct ProcessStart {
  bool started = false;
  Handle process;
  Handle thread;
};

struct KeyOpen {
  Status status = kSuccess;
  Handle key;
};

// GetTickCount and Sleep.
class Clock {
 public:
  virtual Milliseconds TickCount() = 0;
  virtual void Sleep(Milliseconds duration) = 0;

 protected:
  ~Clock() = default;
};

// CloseHandle, for mutexes, processes, threads and files alike.
class Handles {
 public:
  virtual void CloseHandle(Handle handle) = 0;

 protected:
  ~Handles() = default;
};

// OpenMutexA (all access, not inheritable) and CreateMutexA (default security, not owned).
class Mutexes {
 public:
  virtual MutexOpen OpenNamedMutex(const char* name) = 0;
  virtual Handle CreateNamedMutex(const char* name) = 0;

 protected:
  ~Mutexes() = default;
};

// CreateProcessA with the tool's environment and directory, inherited handles, normal
// priority and STARTF_USESHOWWINDOW; WaitForSingleObject on the process.
class Processes {
 public:
  // program_path may be null: the executable is then the first word of command_line, which
  // must be writable.
  virtual ProcessStart StartProcess(const char* program_path, char* command_line,
                                    ShowMode show) = 0;
  virtual WaitResult WaitForProcess(Handle process, Milliseconds timeout) = 0;

 protected:
  ~Processes() = default;
};

class Files {
 public:
  // An empty temporary file that must not exist yet; none when it cannot be created.
  virtual Handle CreateNewTemporaryFile(const char* name) = 0;
  virtual bool RemoveFile(const char* name) = 0;

 protected:
  ~Files() = default;
};

class Registry {
 public:
  // RegOpenKeyExA with KEY_READ.
  virtual KeyOpen OpenKey(RegistryRoot root, const char* sub_key) = 0;
  // RegQueryValueExA: *size is the buffer's size in, the data's size out.
  virtual Status QueryValue(Handle key, const char* value_name, unsigned char* buffer,
                            std::uint32_t* size) = 0;
  virtual void CloseKey(Handle key) = 0;
  virtual Status DeleteKey(RegistryRoot root, const char* sub_key) = 0;

 protected:
  ~Registry() = default;
};

// The tool's own string table and the one message box it shows.
class UserInterface {
 public:
  // Characters copied, truncated to capacity - 1 and terminated; 0 when the string is absent.
  virtual int LoadResourceString(unsigned id, char* buffer, int capacity) = 0;
  virtual DialogAnswer ShowMessageBox(const char* text, const char* caption,
                                      DialogButtons buttons) = 0;

 protected:
  ~UserInterface() = default;
};

constexpr std::size_t kMaxPath = 260;

class Shell {
 public:
  // FindExecutableA without a directory; above 32 on success, with the program's path in
  // program (kMaxPath bytes).
  virtual std::uintptr_t FindAssociatedProgram(const char* file, char* program) = 0;
  virtual void ExecuteWithShell(const char* verb, const char* file, ShowMode show) = 0;

 protected:
  ~Shell() = default;
};

// Everything the tool may call, handed to each operation.
struct Platform {
  Clock& clock;
  Handles& handles;
  Mutexes& mutexes;
  Processes& processes;
  Files& files;
  Registry& registry;
  UserInterface& ui;
  Shell& shell;
};

// The Platform of an implementation that plays every role itself.
template <typename Implementation>
Platform AllRolesOf(Implementation& windows) {
  return {windows, windows, windows, windows, windows, windows, windows, windows};
}

}  // namespace velnor
