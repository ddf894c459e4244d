// The test support on real Windows (and Wine).
#include <stdio.h>
#include <stdlib.h>

#include "tests/support/support.h"
#include "tests/support/url_log.h"

std::string BoxLine(const char* caption, const char* text);

void ResetPlatform() {}

int FatalExitStatus() {
  return -1;
}

namespace {

HHOOK g_hook;

BOOL CALLBACK CollectText(HWND child, LPARAM into) {
  char name[16];
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") == 0) {
    std::string text = TextOf(child);
    if (!text.empty()) *reinterpret_cast<std::string*>(into) += text;
  }
  return TRUE;
}

// A message box is a dialog of class #32770: report it when it is activated, then answer it.
LRESULT CALLBACK BoxHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wparam);
    char name[16];
    GetClassNameA(box, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0) {
      std::string text;
      EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
      fprintf(stderr, "%s\n", BoxLine(TextOf(box).c_str(), text.c_str()).c_str());
      fflush(stderr);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

}  // namespace

void ReportMessageBoxes() {
  if (!g_hook) g_hook = SetWindowsHookExA(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
}

namespace {

// The prefix's http handler is a recorder of ours that appends each address it is given, one a
// line, to the file that RECHARGE_URL_LOG names (in the Windows view of the file system).
std::string LogPath() {
  const char* path = getenv("RECHARGE_URL_LOG");
  return path ? path : "";
}

std::vector<std::string> ReadLog() {
  return ReadUrlLog(LogPath().c_str());
}

}  // namespace

std::vector<std::string> OpenedAddresses(size_t expected) {
  // The shell starts the handler and returns: wait for it, boundedly.
  const DWORD kPatience = 10000, kQuiet = 300;
  DWORD start = GetTickCount();
  while (ReadLog().size() < expected && GetTickCount() - start < kPatience) Sleep(20);
  Sleep(kQuiet);
  return ReadLog();
}

void ForgetOpenedAddresses() {
  if (!LogPath().empty()) DeleteFileA(LogPath().c_str());
}
