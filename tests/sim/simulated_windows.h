// An in-memory Windows for the unit tests: registry with typed raw values, named mutexes,
// scripted companions and programs, files, the ".htm" association, string resources, the
// message-box answer and a virtual clock. Every handle it gives out is kept in a ledger.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/windows_api.h"

namespace velnor::sim {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// FindExecutableA's answers.
constexpr std::uintptr_t kSeErrFileNotFound = 2;
constexpr std::uintptr_t kSeErrNoAssociation = 31;
constexpr std::uintptr_t kFoundProgram = 42;

// A running companion: it holds its presence mutex and watches for its shutdown request.
struct CompanionScript {
  std::string presence_name;
  std::string shutdown_name;
  // Time from first seeing the request to leaving; none: it ignores the request.
  std::optional<Milliseconds> leaves_after;
  // The presence mutex belongs to an account whose objects the tool may not open.
  bool other_account = false;
};

class SimulatedWindows;

// What an executable does when it is started.
struct ProgramScript {
  Milliseconds run_time = 0;
  std::function<void(SimulatedWindows&)> on_exit;
};

struct StartedProcess {
  std::optional<std::string> program_path;
  std::string command_line;
  ShowMode show;
  std::uint64_t started_at;
  std::uint64_t ends_at;
  // Named objects that existed when it started.
  std::set<std::string> objects_at_start;
};

struct ShownDialog {
  std::string text;
  std::string caption;
  DialogButtons buttons;
};

struct ShellRequest {
  std::string verb;
  std::string file;
  ShowMode show;
};

class SimulatedWindows final : public Clock,
                               public Handles,
                               public Mutexes,
                               public Processes,
                               public Files,
                               public Registry,
                               public UserInterface,
                               public Shell {
 public:
  explicit SimulatedWindows(Milliseconds first_tick = 1000);

  Platform platform() { return AllRolesOf(*this); }

  // --- Setting the scene -----------------------------------------------------------------
  void RunCompanion(const CompanionScript& companion);
  // A named object of another kind (an event) under name: no mutex can be opened or created.
  void AddForeignObject(const std::string& name);
  void AddFile(const std::string& name, const std::string& bytes = "");
  void InstallProgram(const std::string& path, ProgramScript script = {});
  void RemoveFromScene(const std::string& file);
  void SetCurrentDirectoryReadOnly(bool read_only) { read_only_directory_ = read_only; }
  void CreateKey(RegistryRoot root, const std::string& sub_key);
  void SetValue(RegistryRoot root, const std::string& sub_key, const std::string& name,
                std::uint32_t type, const std::string& bytes);
  // Stored with its terminating zero, as REG_SZ.
  void SetString(RegistryRoot root, const std::string& sub_key, const std::string& name,
                 const std::string& text);
  void SetDword(RegistryRoot root, const std::string& sub_key, const std::string& name,
                std::uint32_t value);
  void DeleteValue(RegistryRoot root, const std::string& sub_key, const std::string& name);
  void DenyKeyAccess(RegistryRoot root, const std::string& sub_key);
  void SetResourceString(unsigned id, const std::string& text) { strings_[id] = text; }
  void AssociateHtm(const std::string& program_path) { htm_program_ = program_path; }
  void AnswerDialogWith(DialogAnswer answer) { dialog_answer_ = answer; }
  // The next TickCount calls return these readings, then the clock again.
  void ScriptTickReadings(std::vector<Milliseconds> readings);
  // The call-th failable platform call (counting from 1) fails; 0: none fails.
  void FailCall(unsigned call) { fail_call_ = call; }

  // --- What happened -----------------------------------------------------------------------
  std::uint64_t now() const { return now_; }
  unsigned failable_calls() const { return failable_calls_; }
  // One line per call that changes or asks the world, in order: "sleep 2000", "open-mutex X"...
  const std::vector<std::string>& journal() const { return journal_; }
  std::vector<std::string> JournalEntries(const std::string& prefix) const;
  const std::vector<StartedProcess>& started() const { return started_; }
  const std::vector<ShownDialog>& dialogs() const { return dialogs_; }
  const std::vector<ShellRequest>& shell_requests() const { return shell_requests_; }
  // Handles of the tool's that are still open, described.
  std::vector<std::string> OpenHandles() const;
  unsigned bad_handle_closes() const { return bad_handle_closes_; }
  bool MutexExists(const std::string& name) const;
  unsigned MutexCreations(const std::string& name) const;
  bool CompanionRunning(const std::string& presence_name) const;
  bool FileExists(const std::string& name) const;
  std::optional<std::string> FileBytes(const std::string& name) const;
  bool KeyExists(RegistryRoot root, const std::string& sub_key) const;

  // --- The platform interface --------------------------------------------------------------
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

 private:
  enum class HandleKind { Mutex, Process, Thread, File, Key };
  struct LedgerEntry {
    HandleKind kind;
    std::string name;       // object, file or key path; for processes the command line
    std::size_t index = 0;  // into started_ for processes and threads
  };
  struct NamedObject {
    bool is_mutex = true;
    unsigned tool_handles = 0;
    bool held_by_companion = false;
    bool other_account = false;
    unsigned creations = 0;
  };
  struct Companion {
    CompanionScript script;
    bool running = true;
    std::optional<std::uint64_t> leaves_at;
  };
  struct File {
    std::string name;
    std::string bytes;
    unsigned open_handles = 0;
  };
  struct Value {
    std::uint32_t type;
    std::string bytes;
  };
  struct Key {
    std::map<std::string, Value> values;  // by lower-case name
    bool deny_access = false;
  };

  bool FailsNow(const char* call);
  void Note(std::string line) { journal_.push_back(std::move(line)); }
  Handle Issue(HandleKind kind, const std::string& name, std::size_t index = 0);
  void AdvanceTo(std::uint64_t time);
  bool ApplyNextEventUpTo(std::uint64_t time);
  bool ObjectExists(const NamedObject& object) const;
  bool ImageInUse(const std::string& name) const;
  std::string KeyPath(RegistryRoot root, const std::string& sub_key) const;
  bool HasSubKeys(const std::string& path) const;

  Milliseconds first_tick_;
  std::uint64_t now_ = 0;
  std::vector<Milliseconds> scripted_ticks_;
  unsigned fail_call_ = 0;
  unsigned failable_calls_ = 0;
  std::uintptr_t next_handle_ = 0x100;
  std::map<std::uintptr_t, LedgerEntry> ledger_;
  unsigned bad_handle_closes_ = 0;
  std::map<std::string, NamedObject> objects_;  // names are case-sensitive
  std::vector<Companion> companions_;
  std::map<std::string, File> files_;  // by lower-case name
  std::map<std::string, ProgramScript> programs_;
  bool read_only_directory_ = false;
  std::map<std::string, Key> keys_;  // by lower-case "ROOT\sub\key"
  std::map<unsigned, std::string> strings_;
  std::optional<std::string> htm_program_;
  DialogAnswer dialog_answer_ = DialogAnswer::No;
  std::vector<std::string> journal_;
  std::vector<StartedProcess> started_;
  std::vector<bool> exit_applied_;
  std::vector<ShownDialog> dialogs_;
  std::vector<ShellRequest> shell_requests_;
};

// "HKU" or "HKLM".
std::string RootName(RegistryRoot root);

}  // namespace velnor::sim
