// An in-memory Windows for the unit tests.
#include "sim/simulated_windows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

namespace velnor::sim {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string ShowName(ShowMode show) {
  switch (show) {
    case ShowMode::Hide:
      return "hide";
    case ShowMode::ShowNormal:
      return "shownormal";
    case ShowMode::Show:
      break;
  }
  return "show";
}

// CreateProcessA without a program path takes the first word of the command line, adding
// ".exe" when it has no extension.
std::string ImageOf(const std::string& command_line) {
  std::string image;
  if (!command_line.empty() && command_line[0] == '"') {
    image = command_line.substr(1, command_line.find('"', 1) - 1);
  } else {
    image = command_line.substr(0, command_line.find_first_of(" \t"));
  }
  if (image.find('.') == std::string::npos) image += ".exe";
  return image;
}

constexpr unsigned char kPoison = 0xCC;

}  // namespace

std::string RootName(RegistryRoot root) { return root == RegistryRoot::Users ? "HKU" : "HKLM"; }

SimulatedWindows::SimulatedWindows(Milliseconds first_tick) : first_tick_(first_tick) {}

// --- Setting the scene -----------------------------------------------------------------------

void SimulatedWindows::RunCompanion(const CompanionScript& companion) {
  NamedObject& presence = objects_[companion.presence_name];
  presence.held_by_companion = true;
  presence.other_account = companion.other_account;
  companions_.push_back({companion, true, std::nullopt});
}

void SimulatedWindows::AddForeignObject(const std::string& name) {
  NamedObject& object = objects_[name];
  object.is_mutex = false;
  object.held_by_companion = true;
}

void SimulatedWindows::AddFile(const std::string& name, const std::string& bytes) {
  files_[Lower(name)] = File{name, bytes, 0};
}

void SimulatedWindows::InstallProgram(const std::string& path, ProgramScript script) {
  AddFile(path, "MZ");
  programs_[Lower(path)] = std::move(script);
}

void SimulatedWindows::RemoveFromScene(const std::string& file) { files_.erase(Lower(file)); }

void SimulatedWindows::CreateKey(RegistryRoot root, const std::string& sub_key) {
  std::string path = KeyPath(root, sub_key);
  for (std::size_t slash = path.find('\\'); slash != std::string::npos;
       slash = path.find('\\', slash + 1)) {
    keys_[path.substr(0, slash)];
  }
  keys_[path];
}

void SimulatedWindows::SetValue(RegistryRoot root, const std::string& sub_key,
                                const std::string& name, std::uint32_t type,
                                const std::string& bytes) {
  CreateKey(root, sub_key);
  keys_[KeyPath(root, sub_key)].values[Lower(name)] = Value{type, bytes};
}

void SimulatedWindows::SetString(RegistryRoot root, const std::string& sub_key,
                                 const std::string& name, const std::string& text) {
  SetValue(root, sub_key, name, kRegSz, text + std::string(1, '\0'));
}

void SimulatedWindows::SetDword(RegistryRoot root, const std::string& sub_key,
                                const std::string& name, std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  SetValue(root, sub_key, name, kRegDword, bytes);
}

void SimulatedWindows::DeleteValue(RegistryRoot root, const std::string& sub_key,
                                   const std::string& name) {
  const auto key = keys_.find(KeyPath(root, sub_key));
  if (key != keys_.end()) key->second.values.erase(Lower(name));
}

void SimulatedWindows::DenyKeyAccess(RegistryRoot root, const std::string& sub_key) {
  CreateKey(root, sub_key);
  keys_[KeyPath(root, sub_key)].deny_access = true;
}

void SimulatedWindows::ScriptTickReadings(std::vector<Milliseconds> readings) {
  scripted_ticks_.assign(readings.rbegin(), readings.rend());
}

// --- What happened ---------------------------------------------------------------------------

std::vector<std::string> SimulatedWindows::JournalEntries(const std::string& prefix) const {
  std::vector<std::string> entries;
  std::copy_if(
      journal_.begin(), journal_.end(), std::back_inserter(entries),
      [&](const std::string& line) { return line.compare(0, prefix.size(), prefix) == 0; });
  return entries;
}

std::vector<std::string> SimulatedWindows::OpenHandles() const {
  static const char* const kKindNames[] = {"mutex", "process", "thread", "file", "key"};
  std::vector<std::string> open;
  for (const auto& [value, entry] : ledger_) {
    open.push_back(std::string(kKindNames[static_cast<int>(entry.kind)]) + " " + entry.name);
  }
  return open;
}

bool SimulatedWindows::MutexExists(const std::string& name) const {
  const auto object = objects_.find(name);
  return object != objects_.end() && object->second.is_mutex && ObjectExists(object->second);
}

unsigned SimulatedWindows::MutexCreations(const std::string& name) const {
  const auto object = objects_.find(name);
  return object == objects_.end() ? 0 : object->second.creations;
}

bool SimulatedWindows::CompanionRunning(const std::string& presence_name) const {
  return std::any_of(companions_.begin(), companions_.end(), [&](const Companion& companion) {
    return companion.running && companion.script.presence_name == presence_name;
  });
}

bool SimulatedWindows::FileExists(const std::string& name) const {
  return files_.count(Lower(name)) != 0;
}

std::optional<std::string> SimulatedWindows::FileBytes(const std::string& name) const {
  const auto file = files_.find(Lower(name));
  if (file == files_.end()) return std::nullopt;
  return file->second.bytes;
}

bool SimulatedWindows::KeyExists(RegistryRoot root, const std::string& sub_key) const {
  return keys_.count(KeyPath(root, sub_key)) != 0;
}

// --- Internals -------------------------------------------------------------------------------

bool SimulatedWindows::FailsNow(const char* call) {
  ++failable_calls_;
  if (failable_calls_ != fail_call_) return false;
  Note(std::string("fault ") + call);
  return true;
}

Handle SimulatedWindows::Issue(HandleKind kind, const std::string& name, std::size_t index) {
  const Handle handle{next_handle_};
  next_handle_ += 4;
  ledger_[handle.value] = LedgerEntry{kind, name, index};
  return handle;
}

bool SimulatedWindows::ObjectExists(const NamedObject& object) const {
  return object.tool_handles > 0 || object.held_by_companion;
}

bool SimulatedWindows::ImageInUse(const std::string& name) const {
  for (std::size_t i = 0; i < started_.size(); ++i) {
    const StartedProcess& process = started_[i];
    const std::string image =
        process.program_path ? *process.program_path : ImageOf(process.command_line);
    if (process.ends_at > now_ && Lower(image) == Lower(name)) return true;
  }
  return false;
}

std::string SimulatedWindows::KeyPath(RegistryRoot root, const std::string& sub_key) const {
  return Lower(RootName(root) + "\\" + sub_key);
}

bool SimulatedWindows::HasSubKeys(const std::string& path) const {
  const auto next = keys_.upper_bound(path);
  return next != keys_.end() && next->first.compare(0, path.size() + 1, path + "\\") == 0;
}

// Applies the earliest companion departure or process exit due by time; false when none is.
bool SimulatedWindows::ApplyNextEventUpTo(std::uint64_t time) {
  std::uint64_t earliest = time + 1;
  Companion* leaving = nullptr;
  std::optional<std::size_t> exiting;
  for (Companion& companion : companions_) {
    if (companion.running && companion.leaves_at && *companion.leaves_at < earliest) {
      earliest = *companion.leaves_at;
      leaving = &companion;
    }
  }
  for (std::size_t i = 0; i < started_.size(); ++i) {
    if (!exit_applied_[i] && started_[i].ends_at < earliest) {
      earliest = started_[i].ends_at;
      exiting = i;
      leaving = nullptr;
    }
  }
  if (earliest > time) return false;
  now_ = std::max(now_, earliest);
  if (leaving != nullptr) {
    leaving->running = false;
    objects_[leaving->script.presence_name].held_by_companion = false;
  } else if (exiting) {
    exit_applied_[*exiting] = true;
    const StartedProcess& process = started_[*exiting];
    const std::string image =
        process.program_path ? *process.program_path : ImageOf(process.command_line);
    const auto program = programs_.find(Lower(image));
    if (program != programs_.end() && program->second.on_exit) program->second.on_exit(*this);
  }
  return true;
}

void SimulatedWindows::AdvanceTo(std::uint64_t time) {
  while (ApplyNextEventUpTo(time)) {
  }
  now_ = std::max(now_, time);
}

// --- The platform interface ------------------------------------------------------------------

Milliseconds SimulatedWindows::TickCount() {
  if (!scripted_ticks_.empty()) {
    const Milliseconds reading = scripted_ticks_.back();
    scripted_ticks_.pop_back();
    return reading;
  }
  return static_cast<Milliseconds>(first_tick_ + now_);
}

void SimulatedWindows::Sleep(Milliseconds duration) {
  Note("sleep " + std::to_string(duration));
  AdvanceTo(now_ + duration);
}

void SimulatedWindows::CloseHandle(Handle handle) {
  // A failing CloseHandle still counts as the tool's release of the handle: the tool has no
  // other way to let go of it.
  FailsNow("close-handle");
  const auto entry = ledger_.find(handle.value);
  if (entry == ledger_.end() || entry->second.kind == HandleKind::Key) {
    ++bad_handle_closes_;
    return;
  }
  if (entry->second.kind == HandleKind::Mutex) --objects_[entry->second.name].tool_handles;
  if (entry->second.kind == HandleKind::File) --files_[Lower(entry->second.name)].open_handles;
  ledger_.erase(entry);
}

MutexOpen SimulatedWindows::OpenNamedMutex(const char* name) {
  Note(std::string("open-mutex ") + name);
  if (FailsNow("open-mutex")) return {Handle{}, kErrorInvalidHandle};
  const auto object = objects_.find(name);
  if (object == objects_.end() || !ObjectExists(object->second))
    return {Handle{}, kErrorFileNotFound};
  if (!object->second.is_mutex) return {Handle{}, kErrorInvalidHandle};
  if (object->second.other_account) return {Handle{}, kErrorAccessDenied};
  ++object->second.tool_handles;
  return {Issue(HandleKind::Mutex, name), kSuccess};
}

Handle SimulatedWindows::CreateNamedMutex(const char* name) {
  Note(std::string("create-mutex ") + name);
  if (FailsNow("create-mutex")) return Handle{};
  NamedObject& object = objects_[name];
  if (!object.is_mutex || object.other_account) return Handle{};
  ++object.tool_handles;
  ++object.creations;
  for (Companion& companion : companions_) {
    if (companion.running && companion.script.shutdown_name == name && !companion.leaves_at &&
        companion.script.leaves_after) {
      companion.leaves_at = now_ + *companion.script.leaves_after;
    }
  }
  return Issue(HandleKind::Mutex, name);
}

ProcessStart SimulatedWindows::StartProcess(const char* program_path, char* command_line,
                                            ShowMode show) {
  Note(std::string("start ") + (program_path ? std::string(program_path) + " |" : "") +
       command_line + " | " + ShowName(show));
  if (FailsNow("start-process")) return {};
  const std::string image = program_path ? program_path : ImageOf(command_line);
  if (!FileExists(image)) return {};
  const auto program = programs_.find(Lower(image));
  const Milliseconds run_time = program == programs_.end() ? 0 : program->second.run_time;
  std::set<std::string> objects_at_start;
  for (const auto& [name, object] : objects_) {
    if (ObjectExists(object)) objects_at_start.insert(name);
  }
  started_.push_back(
      StartedProcess{program_path ? std::optional<std::string>(program_path) : std::nullopt,
                     command_line, show, now_, now_ + run_time, std::move(objects_at_start)});
  exit_applied_.push_back(false);
  const std::size_t index = started_.size() - 1;
  return {true, Issue(HandleKind::Process, command_line, index),
          Issue(HandleKind::Thread, command_line, index)};
}

WaitResult SimulatedWindows::WaitForProcess(Handle process, Milliseconds timeout) {
  Note("wait " + std::to_string(timeout));
  const std::uint64_t deadline = now_ + timeout;
  if (FailsNow("wait")) {
    AdvanceTo(deadline);
    return WaitResult::TimedOut;
  }
  const auto entry = ledger_.find(process.value);
  if (entry == ledger_.end() || entry->second.kind != HandleKind::Process)
    return WaitResult::Failed;
  const std::uint64_t ends_at = started_[entry->second.index].ends_at;
  if (ends_at <= deadline) {
    AdvanceTo(ends_at);
    return WaitResult::Exited;
  }
  AdvanceTo(deadline);
  return WaitResult::TimedOut;
}

Handle SimulatedWindows::CreateNewTemporaryFile(const char* name) {
  Note(std::string("create-file ") + name);
  if (FailsNow("create-file") || read_only_directory_ || FileExists(name)) return Handle{};
  const File& file = files_[Lower(name)] = File{name, "", 1};
  return Issue(HandleKind::File, file.name);
}

bool SimulatedWindows::RemoveFile(const char* name) {
  Note(std::string("delete-file ") + name);
  if (FailsNow("delete-file") || read_only_directory_) return false;
  const auto file = files_.find(Lower(name));
  // Open without FILE_SHARE_DELETE, or the image of a running process: in use.
  if (file == files_.end() || file->second.open_handles > 0 || ImageInUse(name)) return false;
  files_.erase(file);
  return true;
}

KeyOpen SimulatedWindows::OpenKey(RegistryRoot root, const char* sub_key) {
  const std::string path = KeyPath(root, sub_key);
  Note("open-key " + RootName(root) + "\\" + sub_key);
  if (FailsNow("open-key")) return {kErrorAccessDenied, Handle{}};
  const auto key = keys_.find(path);
  if (key == keys_.end()) return {kErrorFileNotFound, Handle{}};
  if (key->second.deny_access) return {kErrorAccessDenied, Handle{}};
  return {kSuccess, Issue(HandleKind::Key, path)};
}

Status SimulatedWindows::QueryValue(Handle key, const char* value_name, unsigned char* buffer,
                                    std::uint32_t* size) {
  const auto entry = ledger_.find(key.value);
  Note(std::string("query ") + (entry == ledger_.end() ? "?" : entry->second.name) + " " +
       (value_name ? value_name : ""));
  if (FailsNow("query")) {
    std::memset(buffer, kPoison, *size);
    return kErrorMoreData;
  }
  if (entry == ledger_.end() || entry->second.kind != HandleKind::Key) return kErrorInvalidHandle;
  const auto found = keys_.find(entry->second.name);
  if (found == keys_.end()) return kErrorFileNotFound;
  const auto value = found->second.values.find(Lower(value_name ? value_name : ""));
  if (value == found->second.values.end()) return kErrorFileNotFound;
  const std::string& bytes = value->second.bytes;
  if (bytes.size() > *size) {
    // The buffer's contents are undefined after ERROR_MORE_DATA.
    std::memset(buffer, kPoison, *size);
    *size = static_cast<std::uint32_t>(bytes.size());
    return kErrorMoreData;
  }
  // Raw value bytes, as RegQueryValueExA returns them: no terminator is added.
  std::memcpy(buffer, bytes.data(), bytes.size());  // NOLINT(bugprone-not-null-terminated-result)
  *size = static_cast<std::uint32_t>(bytes.size());
  return kSuccess;
}

void SimulatedWindows::CloseKey(Handle key) {
  FailsNow("close-key");
  const auto entry = ledger_.find(key.value);
  if (entry == ledger_.end() || entry->second.kind != HandleKind::Key) {
    ++bad_handle_closes_;
    return;
  }
  ledger_.erase(entry);
}

Status SimulatedWindows::DeleteKey(RegistryRoot root, const char* sub_key) {
  const std::string path = KeyPath(root, sub_key);
  Note("delete-key " + RootName(root) + "\\" + sub_key);
  if (FailsNow("delete-key")) return kErrorAccessDenied;
  const auto key = keys_.find(path);
  if (key == keys_.end()) return kErrorFileNotFound;
  if (HasSubKeys(path) || key->second.deny_access) return kErrorAccessDenied;
  keys_.erase(key);
  return kSuccess;
}

int SimulatedWindows::LoadResourceString(unsigned id, char* buffer, int capacity) {
  Note("load-string " + std::to_string(id));
  if (FailsNow("load-string") || capacity <= 0) return 0;
  const auto text = strings_.find(id);
  if (text == strings_.end()) {
    buffer[0] = '\0';
    return 0;
  }
  // LoadStringA truncates to the capacity and always terminates.
  const std::size_t count = std::min(text->second.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(buffer, text->second.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

DialogAnswer SimulatedWindows::ShowMessageBox(const char* text, const char* caption,
                                              DialogButtons buttons) {
  Note("message-box");
  if (FailsNow("message-box")) return DialogAnswer::Other;
  dialogs_.push_back({text, caption, buttons});
  return dialog_answer_;
}

std::uintptr_t SimulatedWindows::FindAssociatedProgram(const char* file, char* program) {
  Note(std::string("find-executable ") + file);
  std::memset(program, 'X', kMaxPath - 1);
  program[kMaxPath - 1] = '\0';
  if (FailsNow("find-executable")) return 0;
  if (!FileExists(file)) return kSeErrFileNotFound;
  const std::string name = Lower(file);
  const bool is_htm = name.size() >= 4 && name.compare(name.size() - 4, 4, ".htm") == 0;
  if (!is_htm || !htm_program_) return kSeErrNoAssociation;
  const std::size_t count = std::min(htm_program_->size(), kMaxPath - 1);
  std::memcpy(program, htm_program_->data(), count);
  program[count] = '\0';
  return kFoundProgram;
}

void SimulatedWindows::ExecuteWithShell(const char* verb, const char* file, ShowMode show) {
  Note(std::string("shell ") + verb + " " + file + " | " + ShowName(show));
  if (FailsNow("shell-execute")) return;
  shell_requests_.push_back({verb, file, show});
}

}  // namespace velnor::sim
