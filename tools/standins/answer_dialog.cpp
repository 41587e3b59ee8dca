// Finds the "Exit Survey" message box, records its caption and text, and answers it.
//   ANSWER            yes (default) or no
//   ANSWER_DELAY_MS   how long the box stays before the answer (default 300)
//   ANSWER_WAIT_MS    how long to look for the box (default 120000)
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "standin_log.h"

namespace {

// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char answer[8];
  const bool yes = std::strcmp(standin::Env("ANSWER", "yes", answer, sizeof answer), "no") != 0;
  const DWORD delay = standin::EnvNumber("ANSWER_DELAY_MS", 300);
  const DWORD wait = standin::EnvNumber("ANSWER_WAIT_MS", 120000);

  const DWORD start = ::GetTickCount();
  HWND box = nullptr;
  while (box == nullptr && ::GetTickCount() - start < wait) {
    box = ::FindWindowA(nullptr, "Exit Survey");
    if (box == nullptr) ::Sleep(50);
  }
  if (box == nullptr) {
    standin::Log("dialog", "never-shown", "");
    return 1;
  }
  char caption[256] = "";
  char text[1024] = "";
  ::GetWindowTextA(box, caption, sizeof caption);
  ::GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
  char details[1400];
  (void)std::snprintf(details, sizeof details, "yes=%d no=%d caption=%s|text=%s",
                      ::GetDlgItem(box, IDYES) != nullptr ? 1 : 0,
                      ::GetDlgItem(box, IDNO) != nullptr ? 1 : 0, caption, text);
  standin::Log("dialog", "shown", details);
  ::Sleep(delay);
  const int button = yes ? IDYES : IDNO;
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
  standin::Log("dialog", "answered", yes ? "yes" : "no");
  return 0;
}
