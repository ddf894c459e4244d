// The user, acting through the message queue of the thread.
#include "tests/support/support.h"

#include "runtime/rt.h"

namespace {

void HoldModifiers(unsigned modifiers) {
  BYTE state[256];
  GetKeyboardState(state);
  auto set = [&](int key, int left, int right, bool down) {
    BYTE value = down ? 0x80 : 0;
    state[key] = state[left] = value;
    state[right] = 0;
  };
  set(VK_SHIFT, VK_LSHIFT, VK_RSHIFT, modifiers & kShift);
  set(VK_CONTROL, VK_LCONTROL, VK_RCONTROL, modifiers & kControl);
  set(VK_MENU, VK_LMENU, VK_RMENU, modifiers & kAlt);
  SetKeyboardState(state);
}

HWND Focus() {
  return GetFocus();
}

}  // namespace

void UserKey(UINT key, unsigned modifiers) {
  HWND target = Focus();
  if (!target) target = GetActiveWindow();
  HoldModifiers(modifiers);
  bool alt = modifiers & kAlt;
  LPARAM down = 1 | (alt ? (1L << 29) : 0);
  LPARAM up = down | (1L << 30) | (1L << 31);
  PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
  RtDoEvents();
  // The key-up goes where the focus is now, as the keyboard's next message would.
  HWND after = Focus() ? Focus() : target;
  if (IsWindow(after)) PostMessageA(after, alt ? WM_SYSKEYUP : WM_KEYUP, key, up);
  RtDoEvents();
  HoldModifiers(kNoModifier);
}

void UserClick(HWND control) {
  RECT client;
  GetClientRect(control, &client);
  LPARAM at = MAKELPARAM((client.right - client.left) / 2, (client.bottom - client.top) / 2);
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(control, WM_LBUTTONUP, 0, at);
  RtDoEvents();
}

void UserType(const char* text) {
  HWND target = Focus();
  // ASCII comes key by key; Chinese text arrives whole, as an input method commits it.
  std::string composed;
  for (const char* p = text;; ++p) {
    bool ascii = static_cast<unsigned char>(*p) < 0x80;
    if (*p && !ascii) {
      composed += *p;
      continue;
    }
    if (!composed.empty()) {
      RtDoEvents();
      SendMessageA(target, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(composed.c_str()));
      composed.clear();
    }
    if (!*p) break;
    PostMessageA(target, WM_CHAR, static_cast<unsigned char>(*p), 1);
  }
  RtDoEvents();
}

void UserClearField() {
  UserKey(VK_HOME);
  UserKey(VK_END, kShift);
  UserKey(VK_DELETE);
}

void UserPickItem(HWND combo, int index) {
  SetFocus(combo);
  RtDoEvents();
  for (int guard = 0; guard < 1000; ++guard) {
    int current = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (current == index) return;
    UserKey(current < index ? VK_DOWN : VK_UP);
  }
}

void UserCloseButton(HWND window) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  RtDoEvents();
}

namespace {

HWND g_other;

LRESULT CALLBACK OtherProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace

void ActivateOtherWindow() {
  if (!g_other || !IsWindow(g_other)) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OtherProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RechargeTestOther";
    RegisterClassExA(&wc);
    g_other = CreateWindowExA(0, "RechargeTestOther", "other", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ShowWindow(g_other, SW_SHOW);
  SetForegroundWindow(g_other);
  SetActiveWindow(g_other);
  RtDoEvents();
}

void ReactivateWindow(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  RtDoEvents();
  if (g_other) {
    DestroyWindow(g_other);
    g_other = nullptr;
    RtDoEvents();
  }
}

std::string TextOf(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

static std::string Hex(const char* text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    out += digits[*p >> 4];
    out += digits[*p & 15];
  }
  return out;
}

std::string BoxLine(const char* caption, const char* text) {
  return "BOX " + Hex(caption) + " " + Hex(text);
}

std::string BoxPattern(const char* caption, const char* text) {
  return BoxLine(caption, text);
}
