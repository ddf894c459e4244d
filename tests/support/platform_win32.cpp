// The test support on real Windows (and Wine).
#include <stdio.h>

#include "tests/support/support.h"

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
