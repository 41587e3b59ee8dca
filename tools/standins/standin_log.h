// The stand-ins' shared journal: each appends "<tick> <source> <event> <details>" lines to the
// file named by STANDIN_LOG, so the tests read one timeline from several processes.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace standin {

// An environment variable, or fallback when it is unset.
inline const char* Env(const char* name, const char* fallback, char* buffer, DWORD capacity) {
  const DWORD length = ::GetEnvironmentVariableA(name, buffer, capacity);
  return length == 0 || length >= capacity ? fallback : buffer;
}

inline DWORD EnvNumber(const char* name, DWORD fallback) {
  char buffer[32];
  const char* text = Env(name, nullptr, buffer, sizeof buffer);
  return text == nullptr ? fallback : static_cast<DWORD>(std::strtoul(text, nullptr, 10));
}

// Line feeds and carriage returns are written as \n and \r, so every entry stays one line.
inline void Log(const char* source, const char* event, const char* details) {
  char path[MAX_PATH];
  if (Env("STANDIN_LOG", nullptr, path, sizeof path) == nullptr) return;
  char line[4096];
  int length = std::snprintf(line, sizeof line, "%lu %s %s ",
                             static_cast<unsigned long>(::GetTickCount()), source, event);
  for (const char* p = details; *p != '\0' && length < static_cast<int>(sizeof line) - 3; ++p) {
    if (*p == '\n' || *p == '\r' || *p == '\\') {
      line[length++] = '\\';
      line[length++] = *p == '\n' ? 'n' : *p == '\r' ? 'r' : '\\';
    } else {
      line[length++] = *p;
    }
  }
  line[length++] = '\n';
  HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  (void)::WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
  ::CloseHandle(file);
}

// How this process was started: its start-up flags and show mode.
inline void DescribeStartup(char* buffer, size_t capacity) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  (void)std::snprintf(buffer, capacity, "flags=0x%lx show=%u",
                      static_cast<unsigned long>(startup.dwFlags),
                      static_cast<unsigned>(startup.wShowWindow));
}

}  // namespace standin
