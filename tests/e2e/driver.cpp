// Acts on the running recharge program from another process, as its user would: keys and mouse
// clicks through SendInput, the controls' state read back with messages. One scenario per run;
// the harness starts and ends the program and checks its exit status.
//
//   driver --screen WxH --host H SCENARIO [ARG]
//
// Scenarios: warm-up, wait N (prints the handles of N windows), start, keys, addresses,
// close HOW (esc, esc-dropped, alt-f4, close-button), two-copies FIRST, fault.
// Exit status 0 when every check held; each failed check is one "FAIL" line on stderr.
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/url_log.h"

namespace {

// Any one effect of an action arrives well within this; a wait that runs out is a failure.
const DWORD kPatience = 10000;
// The program starts under a freshly started Wine: allow it more.
const DWORD kStartPatience = 60000;
// How long no further address may arrive before the log counts as complete.
const DWORD kQuiet = 1500;

int g_failures = 0;
int g_screen_width = 0, g_screen_height = 0;
std::string g_host;

// Code page 936 text made readable in the harness's UTF-8 log.
std::string Readable(const std::string& text) {
  int wide_length = MultiByteToWideChar(936, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(936, 0, text.c_str(), -1, &wide[0], wide_length);
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], length, nullptr, nullptr);
  out.resize(strlen(out.c_str()));
  std::string escaped;
  for (char c : out) {
    if (c == '\r')
      escaped += "\\r";
    else if (c == '\n')
      escaped += "\\n";
    else
      escaped += c;
  }
  return escaped;
}

void Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  fprintf(stderr, "FAIL ");
  vfprintf(stderr, format, args);
  fprintf(stderr, "\n");
  fflush(stderr);
  va_end(args);
  ++g_failures;
}

void Note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vfprintf(stderr, format, args);
  fprintf(stderr, "\n");
  fflush(stderr);
  va_end(args);
}

bool WaitFor(const std::function<bool()>& done, DWORD patience = kPatience) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= patience) return false;
    Sleep(5);
  }
}

// Messages to the program's windows, bounded in time: a hung program fails the check, not the
// whole run.
LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result))
    return -1;
  return static_cast<LRESULT>(result);
}

// The window's text as its own procedure gives it (the combo box's is its edit field's).
std::string TextOf(HWND hwnd) {
  char buffer[1024] = {};
  Send(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

bool IsClass(HWND hwnd, const char* name) {
  return lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

RECT ScreenRect(HWND hwnd) {
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  return rect;
}

POINT Centre(const RECT& rect) {
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// ---- Input ----

bool InMoveLoop(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.flags & GUI_INMOVESIZE);
}

bool IsExtendedKey(WORD key) {
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_DELETE:
      return true;
  }
  return false;
}

INPUT KeyEvent(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

void SendAll(std::vector<INPUT> inputs) {
  UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) Fail("SendInput took %u of %u events", sent, (unsigned)inputs.size());
}

// A key pressed and released, with an optional modifier held around it, as one batch.
void Press(WORD key, WORD modifier = 0) {
  std::vector<INPUT> inputs;
  if (modifier) inputs.push_back(KeyEvent(modifier, false));
  inputs.push_back(KeyEvent(key, false));
  inputs.push_back(KeyEvent(key, true));
  if (modifier) inputs.push_back(KeyEvent(modifier, true));
  SendAll(inputs);
}

// Text as an input method would deliver it: characters, not keys.
void Type(const wchar_t* text) {
  std::vector<INPUT> inputs;
  for (const wchar_t* p = text; *p; ++p) {
    for (bool up : {false, true}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<WORD>(*p);
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  SendAll(inputs);
}

bool CursorAt(POINT at) {
  POINT now;
  return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
}

INPUT MouseEvent(DWORD flags, POINT at) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // Absolute coordinates span the primary screen as 0..65535.
  input.mi.dx = MulDiv(at.x, 65536, g_screen_width) + 1;
  input.mi.dy = MulDiv(at.y, 65536, g_screen_height) + 1;
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

bool MoveMouse(POINT at) {
  SendAll({MouseEvent(MOUSEEVENTF_MOVE, at)});
  if (WaitFor([&] { return CursorAt(at); })) return true;
  POINT now = {};
  GetCursorPos(&now);
  Fail("the pointer went to %ld,%ld instead of %ld,%ld", now.x, now.y, at.x, at.y);
  return false;
}

bool Click(POINT at) {
  if (!MoveMouse(at)) return false;
  SendAll({MouseEvent(MOUSEEVENTF_LEFTDOWN, at), MouseEvent(MOUSEEVENTF_LEFTUP, at)});
  return true;
}

bool ClickCentre(HWND hwnd) {
  return Click(Centre(ScreenRect(hwnd)));
}

// Holds the left button from one point on the window's caption to another in a few steps, as a
// hand drags. The moves wait for the system's move loop: it measures from where the pointer is
// when it starts.
bool Drag(HWND window, POINT from, POINT to) {
  if (!MoveMouse(from)) return false;
  SendAll({MouseEvent(MOUSEEVENTF_LEFTDOWN, from)});
  if (!WaitFor([&] { return InMoveLoop(window); })) {
    SendAll({MouseEvent(MOUSEEVENTF_LEFTUP, from)});
    Fail("pressing the caption did not start moving the window");
    return false;
  }
  const int kSteps = 8;
  bool ok = true;
  for (int i = 1; i <= kSteps && ok; ++i) {
    POINT at = {from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
    ok = MoveMouse(at);
  }
  SendAll({MouseEvent(MOUSEEVENTF_LEFTUP, to)});
  return ok;
}

// ---- The program's window ----

struct Form {
  HWND main = nullptr;
  HWND alipay = nullptr, qq = nullptr, wechat = nullptr;
  HWND box = nullptr, button = nullptr, amount_label = nullptr, unit_label = nullptr;
  int children = 0;
};

BOOL CALLBACK CollectMain(HWND hwnd, LPARAM into) {
  if (IsWindowVisible(hwnd) && IsClass(hwnd, "RechargeRtWindow"))
    reinterpret_cast<std::vector<HWND>*>(into)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> MainWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectMain, reinterpret_cast<LPARAM>(&found));
  return found;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM into) {
  Form& form = *reinterpret_cast<Form*>(into);
  if (GetParent(hwnd) != form.main) return TRUE;  // the combo's own edit field
  ++form.children;
  std::string text = TextOf(hwnd);
  if (IsClass(hwnd, "ComboBox")) {
    form.box = hwnd;
  } else if (IsClass(hwnd, "Button")) {
    if (text == "支付宝") form.alipay = hwnd;
    if (text == "QQ钱包") form.qq = hwnd;
    if (text == "微信") form.wechat = hwnd;
    if (text == "在线充值") form.button = hwnd;
  } else {
    if (text == "充值金额") form.amount_label = hwnd;
    if (text == "元") form.unit_label = hwnd;
  }
  return TRUE;
}

Form FormOf(HWND main) {
  Form form;
  form.main = main;
  EnumChildWindows(main, CollectChild, reinterpret_cast<LPARAM>(&form));
  return form;
}

// The control that has the keyboard focus in the program's thread; the combo box stands for its
// edit field.
HWND FocusOf(const Form& form) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(form.main, nullptr), &info)) return nullptr;
  HWND focus = info.hwndFocus;
  if (focus && GetParent(focus) == form.box) return form.box;
  return focus;
}

bool Checked(HWND radio) {
  return Send(radio, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

const char* NameOf(const Form& form, HWND hwnd) {
  if (!hwnd) return "nothing";
  if (hwnd == form.alipay) return "Alipay";
  if (hwnd == form.qq) return "QQ Wallet";
  if (hwnd == form.wechat) return "WeChat";
  if (hwnd == form.box) return "the amount box";
  if (hwnd == form.button) return "the button";
  if (hwnd == form.main) return "the window";
  return "another window";
}

// The program's window takes the keyboard: without a window manager keys go to Wine's
// foreground window.
bool Activate(const Form& form) {
  auto in_front = [&] {
    if (GetForegroundWindow() != form.main) SetForegroundWindow(form.main);
    return GetForegroundWindow() == form.main;
  };
  if (WaitFor(in_front)) return true;
  HWND front = GetForegroundWindow();
  Fail("window %p did not come to the foreground; %p of class %s is there%s", form.main, front,
       front ? ClassOf(front).c_str() : "-", InMoveLoop(form.main) ? ", moving" : "");
  return false;
}

bool ExpectFocus(const Form& form, HWND wanted, const char* after) {
  if (WaitFor([&] { return FocusOf(form) == wanted; })) return true;
  Fail("after %s the focus is on %s, not %s", after, NameOf(form, FocusOf(form)),
       NameOf(form, wanted));
  return false;
}

// A click on a control, done once the control has the focus the click gives it: keys sent next
// then reach it, not the control that had the focus before.
bool ClickControl(const Form& form, HWND control) {
  return ClickCentre(control) && ExpectFocus(form, control, "a click on it");
}

// Exactly `wanted` of the three options is checked, once the last input has arrived.
bool ExpectChecked(const Form& form, HWND wanted, const char* after) {
  HWND radios[] = {form.alipay, form.qq, form.wechat};
  auto only_wanted = [&] {
    for (HWND radio : radios)
      if (Checked(radio) != (radio == wanted)) return false;
    return true;
  };
  if (WaitFor(only_wanted)) return true;
  std::string state;
  for (HWND radio : radios)
    state += std::string(NameOf(form, radio)) + (Checked(radio) ? "+ " : "- ");
  Fail("after %s the options are %s; only %s should be checked", after, state.c_str(),
       NameOf(form, wanted));
  return false;
}

bool ExpectBoxText(const Form& form, const std::string& wanted, const char* after) {
  if (WaitFor([&] { return TextOf(form.box) == wanted; })) return true;
  Fail("after %s the amount box shows \"%s\", not \"%s\"", after,
       Readable(TextOf(form.box)).c_str(), Readable(wanted).c_str());
  return false;
}

struct Place {
  const char* name;
  HWND Form::*control;
  int left, top, width, height;  // in the window's client area; height -1: the system's own
};

// The window where the screen puts it, with its controls where the layout puts them.
bool CheckPlaces(const Form& form) {
  int ok_before = g_failures;
  if (GetSystemMetrics(SM_CXSCREEN) != g_screen_width ||
      GetSystemMetrics(SM_CYSCREEN) != g_screen_height)
    Fail("Wine's screen is %dx%d, the display's %dx%d", GetSystemMetrics(SM_CXSCREEN),
         GetSystemMetrics(SM_CYSCREEN), g_screen_width, g_screen_height);
  RECT outer = ScreenRect(form.main);
  RECT wanted = {(g_screen_width - 380) / 2, (g_screen_height - 250) / 2, 0, 0};
  wanted.right = wanted.left + 380;
  wanted.bottom = wanted.top + 250;
  if (!EqualRect(&outer, &wanted))
    Fail("the window is at %ld,%ld-%ld,%ld, not %ld,%ld-%ld,%ld", outer.left, outer.top,
         outer.right, outer.bottom, wanted.left, wanted.top, wanted.right, wanted.bottom);
  if (!TextOf(form.main).empty())
    Fail("the title bar shows \"%s\"", Readable(TextOf(form.main)).c_str());
  const Place places[] = {
      {"the button", &Form::button, 120, 152, 128, 32},
      {"the unit label", &Form::unit_label, 263, 40, 40, 24},
      {"the amount box", &Form::box, 126, 44, 128, -1},
      {"the amount label", &Form::amount_label, 46, 40, 72, 24},
      {"WeChat", &Form::wechat, 272, 96, 88, 24},
      {"QQ Wallet", &Form::qq, 156, 96, 88, 24},
      {"Alipay", &Form::alipay, 40, 96, 88, 24},
  };
  if (form.children != 7) Fail("the window has %d controls, not 7", form.children);
  for (const Place& place : places) {
    HWND control = form.*place.control;
    if (!control) {
      Fail("%s is missing", place.name);
      continue;
    }
    RECT rect = ScreenRect(control);
    MapWindowPoints(nullptr, form.main, reinterpret_cast<POINT*>(&rect), 2);
    int height = place.height < 0 ? rect.bottom - rect.top : place.height;
    if (rect.left != place.left || rect.top != place.top || rect.right - rect.left != place.width ||
        rect.bottom - rect.top != height)
      Fail("%s is at %ld,%ld size %ldx%ld, not %d,%d size %dx%d", place.name, rect.left, rect.top,
           rect.right - rect.left, rect.bottom - rect.top, place.left, place.top, place.width,
           height);
  }
  return g_failures == ok_before;
}

// What the window shows when it first comes up.
bool CheckInitialState(const Form& form) {
  int ok_before = g_failures;
  ExpectChecked(form, form.alipay, "start-up");
  ExpectFocus(form, form.alipay, "start-up");
  ExpectBoxText(form, "1", "start-up");
  LRESULT count = Send(form.box, CB_GETCOUNT, 0, 0);
  if (count != 100) Fail("the amount list holds %ld items, not 100", static_cast<long>(count));
  // Read as UTF-16: Wine hands an ANSI CB_GETLBTEXT from another process only its first byte.
  for (int i = 0; i < count; ++i) {
    wchar_t item[64] = {};
    if (Send(form.box, CB_GETLBTEXTLEN, i, 0) >= 64) {
      Fail("item %d is too long", i);
      break;
    }
    DWORD_PTR length = 0;
    SendMessageTimeoutW(form.box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                        5000, &length);
    if (std::to_wstring(i + 1) != item) {
      Fail("item %d is \"%ls\", not \"%d\"", i, item, i + 1);
      break;
    }
  }
  return g_failures == ok_before;
}

bool Attach(HWND main, Form* form, bool fresh) {
  *form = FormOf(main);
  if (!CheckPlaces(*form)) return false;
  return !fresh || CheckInitialState(*form);
}

// The single window of a program just started.
bool AttachOnly(Form* form) {
  std::vector<HWND> windows;
  if (!WaitFor([&] { return (windows = MainWindows()).size() >= 1; }, kStartPatience)) {
    Fail("no window of class RechargeRtWindow came up");
    return false;
  }
  if (windows.size() != 1) {
    Fail("%u windows are up, not 1", (unsigned)windows.size());
    return false;
  }
  return Attach(windows[0], form, true);
}

// ---- The addresses the program had opened ----

std::vector<std::string> ReadLog() {
  return ReadUrlLog(getenv("RECHARGE_URL_LOG"));
}

// Waits (boundedly) until the log holds as many addresses as `wanted`, and compares. With
// `quiet`, first a while longer for any that should not be there: a step's extra address would
// otherwise show only at a later step, or never.
bool ExpectLog(const std::vector<std::string>& wanted, const char* after, bool quiet = false) {
  WaitFor([&] { return ReadLog().size() >= wanted.size(); });
  if (quiet) Sleep(kQuiet);
  std::vector<std::string> got = ReadLog();
  if (got == wanted) return true;
  Fail("after %s the recorded addresses are:", after);
  for (const std::string& line : got) Note("    %s", line.c_str());
  Note("  and should be:");
  for (const std::string& line : wanted) Note("    %s", line.c_str());
  return false;
}

std::string Address(const char* price, char method) {
  return "http://" + g_host + ":999/pay.jsp?uid=test&price=" + price + "&sign=" + method +
         "58029473650284";
}

// ---- Scenarios ----

bool ScenarioWait(int count) {
  std::vector<HWND> windows;
  if (!WaitFor([&] { return (windows = MainWindows()).size() >= static_cast<size_t>(count); },
               kStartPatience)) {
    Fail("%u windows came up, not %d", (unsigned)windows.size(), count);
    return false;
  }
  for (HWND hwnd : windows)
    printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hwnd)));
  return true;
}

// A window of the driver's own, made and gone: Wine's desktop process starts with it, in the
// usual DLL set, before a program that runs without some DLL would start it.
bool ScenarioWarmUp() {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) {
    Fail("could not make a window");
    return false;
  }
  DestroyWindow(window);
  return true;
}

bool ScenarioStart() {
  Form form;
  return AttachOnly(&form);
}

bool ScenarioKeys() {
  Form form;
  if (!AttachOnly(&form) || !Activate(form)) return false;
  struct KeyStep {
    WORD key, modifier;
    HWND Form::*focus;  // where the focus goes
    HWND Form::*checked;
  };
  const KeyStep tab_cycles[] = {
      {VK_TAB, 0, &Form::qq, &Form::alipay},
      {VK_TAB, 0, &Form::wechat, &Form::alipay},
      {VK_TAB, 0, &Form::box, &Form::alipay},
      {VK_TAB, 0, &Form::button, &Form::alipay},
      {VK_TAB, 0, &Form::alipay, &Form::alipay},
      {VK_TAB, VK_SHIFT, &Form::button, &Form::alipay},
      {VK_TAB, VK_SHIFT, &Form::box, &Form::alipay},
      {VK_TAB, VK_SHIFT, &Form::wechat, &Form::alipay},
      {VK_TAB, VK_SHIFT, &Form::qq, &Form::alipay},
      {VK_TAB, VK_SHIFT, &Form::alipay, &Form::alipay},
  };
  int step = 0;
  char what[64];
  for (const KeyStep& s : tab_cycles) {
    snprintf(what, sizeof what, "%sTab number %d", s.modifier ? "Shift+" : "", ++step);
    Press(s.key, s.modifier);
    if (!ExpectFocus(form, form.*s.focus, what)) return false;
    ExpectChecked(form, form.*s.checked, what);
  }
  // A click on an option checks it alone and takes the focus.
  if (!ClickControl(form, form.qq)) return false;
  ExpectChecked(form, form.qq, "a click on QQ Wallet");
  if (!ExpectFocus(form, form.qq, "a click on QQ Wallet")) return false;
  const KeyStep arrows[] = {
      {VK_DOWN, 0, &Form::wechat, &Form::wechat},  {VK_DOWN, 0, &Form::alipay, &Form::alipay},
      {VK_UP, 0, &Form::wechat, &Form::wechat},    {VK_LEFT, 0, &Form::qq, &Form::qq},
      {VK_RIGHT, 0, &Form::wechat, &Form::wechat}, {VK_RIGHT, 0, &Form::alipay, &Form::alipay},
      {VK_LEFT, 0, &Form::wechat, &Form::wechat},
  };
  step = 0;
  for (const KeyStep& s : arrows) {
    snprintf(what, sizeof what, "arrow number %d", ++step);
    Press(s.key);
    if (!ExpectFocus(form, form.*s.focus, what)) return false;
    ExpectChecked(form, form.*s.checked, what);
  }
  // Clicks in turn on each option, ending with the first.
  HWND Form::*clicks[] = {&Form::alipay, &Form::wechat, &Form::qq, &Form::alipay};
  for (HWND Form::*radio : clicks) {
    snprintf(what, sizeof what, "a click on %s", NameOf(form, form.*radio));
    if (!ClickCentre(form.*radio)) return false;
    ExpectChecked(form, form.*radio, what);
  }
  // The arrows reach the amount box itself there: Down picks the next item.
  Press(VK_TAB);
  Press(VK_TAB);
  Press(VK_TAB);
  if (!ExpectFocus(form, form.box, "three Tabs from Alipay")) return false;
  Press(VK_DOWN);
  ExpectBoxText(form, "2", "Down in the amount box");
  ExpectChecked(form, form.alipay, "Down in the amount box");
  return g_failures == 0;
}

// Picks list item `index` with the mouse: the arrow drops the list, a click on the row picks.
bool PickWithMouse(const Form& form, int index) {
  RECT box = ScreenRect(form.box);
  POINT arrow = {box.right - GetSystemMetrics(SM_CXVSCROLL) / 2, (box.top + box.bottom) / 2};
  if (!Click(arrow)) return false;
  if (!WaitFor([&] { return Send(form.box, CB_GETDROPPEDSTATE, 0, 0) == TRUE; })) {
    Fail("a click on the box's arrow did not drop the list down");
    return false;
  }
  // The dropped list is a top-level window of the program's.
  HWND list = nullptr;
  for (HWND hwnd = FindWindowExA(nullptr, nullptr, "ComboLBox", nullptr); hwnd;
       hwnd = FindWindowExA(nullptr, hwnd, "ComboLBox", nullptr))
    if (IsWindowVisible(hwnd) && ProcessOf(hwnd) == ProcessOf(form.main)) list = hwnd;
  if (!list) {
    Fail("no dropped list window found");
    return false;
  }
  LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
  LRESULT row = Send(list, LB_GETITEMHEIGHT, 0, 0);
  RECT client;
  GetClientRect(list, &client);
  if (index < top || (index - top + 1) * row > client.bottom) {
    Fail("item %d is not in view (top %ld, row %ld)", index, (long)top, (long)row);
    return false;
  }
  POINT at = {client.right / 2, static_cast<LONG>((index - top) * row + row / 2)};
  ClientToScreen(list, &at);
  if (!Click(at)) return false;
  if (!WaitFor([&] { return Send(form.box, CB_GETDROPPEDSTATE, 0, 0) == FALSE; })) {
    Fail("the list stayed down after the pick");
    return false;
  }
  // The list lets the mouse go only once it has seen the button rise; a click before that is
  // the list's, not the control's under the pointer.
  auto released = [&] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(form.main, nullptr), &info) &&
           !info.hwndCapture;
  };
  if (!WaitFor(released)) {
    Fail("the list kept the mouse after the pick");
    return false;
  }
  return true;
}

// Selects the whole amount text from the keyboard and deletes it.
bool ClearBox(const Form& form) {
  Press(VK_HOME);
  Press(VK_END, VK_SHIFT);
  Press(VK_DELETE);
  return ExpectBoxText(form, "", "clearing the box");
}

bool ScenarioAddresses() {
  Form form;
  if (!AttachOnly(&form) || !Activate(form)) return false;
  struct Step {
    const char* what;
    std::function<bool()> act;
    const char* price;  // as the address carries it
    char method;        // the first digit of the sign code
  };
  const Step steps[] = {
      {"a click at start-up", [&] { return ClickControl(form, form.button); }, "1", '1'},
      {"QQ Wallet, 5 picked from the list, a click",
       [&] {
         return ClickControl(form, form.qq) && PickWithMouse(form, 4) &&
                ExpectBoxText(form, "5", "the pick") && ClickControl(form, form.button);
       },
       "5", '2'},
      {"WeChat by Down, 88 typed over the text, Tab, Space",
       [&] {
         ClickControl(form, form.qq);
         Press(VK_DOWN);
         if (!ExpectChecked(form, form.wechat, "Down from QQ Wallet")) return false;
         Press(VK_TAB);
         if (!ExpectFocus(form, form.box, "Tab from WeChat") || !ClearBox(form)) return false;
         Type(L"88");
         if (!ExpectBoxText(form, "88", "typing 88")) return false;
         Press(VK_TAB);
         if (!ExpectFocus(form, form.button, "Tab from the box")) return false;
         Press(VK_SPACE);
         return true;
       },
       "88", '3'},
      {"a text that needs encoding, Space",
       [&] {
         Press(VK_TAB, VK_SHIFT);
         if (!ExpectFocus(form, form.box, "Shift+Tab from the button") || !ClearBox(form))
           return false;
         Type(L"1&uid=x#");
         if (!ExpectBoxText(form, "1&uid=x#", "typing")) return false;
         Press(VK_TAB);
         if (!ExpectFocus(form, form.button, "Tab from the box")) return false;
         Press(VK_SPACE);
         return true;
       },
       "1%26uid%3Dx%23", '3'},
      {"Chinese text, a click",
       [&] {
         if (!ClickControl(form, form.box) || !ClearBox(form)) return false;
         Type(L"5 \u5143~");
         if (!ExpectBoxText(form, "5 元~", "typing Chinese")) return false;
         return ClickControl(form, form.button);
       },
       "5%20%E5%85%83~", '3'},
      {"Alipay, the box cleared, a click",
       [&] {
         if (!ClickControl(form, form.alipay) || !ClickControl(form, form.box) || !ClearBox(form))
           return false;
         return ClickControl(form, form.button);
       },
       "", '1'},
      {"Enter on the button, then Space",
       [&] {
         if (!ExpectFocus(form, form.button, "a click on the button")) return false;
         Press(VK_RETURN);
         Press(VK_SPACE);
         return true;
       },
       "", '1'},
  };
  std::vector<std::string> wanted;
  for (const Step& step : steps) {
    // The handler the shell started for the last address may have taken the foreground, and a
    // click on an inactive window may only activate it.
    if (!Activate(form)) return false;
    if (!step.act()) {
      Fail("could not finish: %s", step.what);
      return false;
    }
    wanted.push_back(Address(step.price, step.method));
    if (!ExpectLog(wanted, step.what)) return false;
  }
  ExpectLog(wanted, "the last step", true);  // Enter's, had it pressed the button
  return g_failures == 0;
}

// The caption's close button: where the window's own hit test says it is.
bool FindCloseButton(HWND main, POINT* at) {
  RECT outer = ScreenRect(main);
  for (int y = outer.top; y < outer.top + 40; ++y) {
    int first = -1, last = -1;
    for (int x = outer.right - 1; x > outer.right - 80; --x) {
      LRESULT hit = Send(main, WM_NCHITTEST, 0, MAKELPARAM(x, y));
      if (hit == HTCLOSE) {
        if (last < 0) last = x;
        first = x;
      } else if (last >= 0) {
        break;
      }
    }
    if (last >= 0 && last - first >= 4) {
      *at = POINT{(first + last) / 2, y + 4};
      if (Send(main, WM_NCHITTEST, 0, MAKELPARAM(at->x, at->y)) == HTCLOSE) return true;
    }
  }
  return false;
}

bool CaptionPoint(HWND main, POINT* at) {
  RECT outer = ScreenRect(main);
  int x = (outer.left + outer.right) / 2;
  for (int y = outer.top; y < outer.top + 40; ++y) {
    if (Send(main, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCAPTION) {
      *at = POINT{x, y + 4};
      return Send(main, WM_NCHITTEST, 0, MAKELPARAM(x, y + 4)) == HTCAPTION;
    }
  }
  return false;
}

bool Close(const Form& form, const std::string& how) {
  if (!Activate(form)) return false;
  if (how == "esc") {
    Press(VK_ESCAPE);
  } else if (how == "esc-dropped") {
    ClickControl(form, form.box);
    Press(VK_F4);  // drops the list, as a click on the arrow does
    if (!WaitFor([&] { return Send(form.box, CB_GETDROPPEDSTATE, 0, 0) == TRUE; })) {
      Fail("F4 did not drop the list down");
      return false;
    }
    Press(VK_ESCAPE);
  } else if (how == "alt-f4") {
    Press(VK_F4, VK_MENU);
  } else if (how == "close-button") {
    POINT at;
    if (!FindCloseButton(form.main, &at)) {
      Fail("no close button found in the caption");
      return false;
    }
    if (!Click(at)) return false;
  } else {
    Fail("no way of closing called %s", how.c_str());
    return false;
  }
  if (WaitFor([&] { return !IsWindow(form.main); })) return true;
  Fail("the window is still there after %s", how.c_str());
  return false;
}

bool ScenarioClose(const std::string& how) {
  std::vector<HWND> windows = MainWindows();
  if (windows.size() != 1) {
    Fail("%u windows are up, not 1", (unsigned)windows.size());
    return false;
  }
  Form form = FormOf(windows[0]);
  return Close(form, how);
}

// Two copies at once: each its own window, neither sees the other's input.
bool ScenarioTwoCopies(HWND first_main) {
  std::vector<HWND> windows;
  if (!WaitFor([&] { return (windows = MainWindows()).size() >= 2; }, kStartPatience)) {
    Fail("the second copy's window did not come up");
    return false;
  }
  if (windows.size() != 2) Fail("%u windows are up, not 2", (unsigned)windows.size());
  HWND second_main = windows[0] == first_main ? windows[1] : windows[0];
  // The second copy came up active. The first lost the activation to it, and with it the focus;
  // activated again, it gives the focus back to the control that had it.
  Form first, second;
  if (!Attach(second_main, &second, true) || !Attach(first_main, &first, false)) return false;
  if (!Activate(first) || !CheckInitialState(first)) return false;
  if (ProcessOf(first.main) == ProcessOf(second.main)) Fail("both windows are of one process");
  // Side by side: each dragged by its title bar 200 pixels aside.
  struct Move {
    Form* form;
    int dx;
  };
  for (Move move : {Move{&second, -200}, Move{&first, 200}}) {
    if (!Activate(*move.form)) return false;
    RECT before = ScreenRect(move.form->main);
    POINT grip;
    if (!CaptionPoint(move.form->main, &grip)) {
      Fail("no caption to drag");
      return false;
    }
    if (!Drag(move.form->main, grip, POINT{grip.x + move.dx, grip.y})) return false;
    auto moved = [&] { return ScreenRect(move.form->main).left == before.left + move.dx; };
    if (!WaitFor(moved)) {
      RECT now = ScreenRect(move.form->main);
      Fail("dragged by %d, the window went from %ld,%ld to %ld,%ld", move.dx, before.left,
           before.top, now.left, now.top);
    }
  }
  RECT a = ScreenRect(first.main), b = ScreenRect(second.main), overlap;
  if (IntersectRect(&overlap, &a, &b)) Fail("the two windows still overlap");
  // Each copy acts alone.
  if (!Activate(second) || !ClickCentre(second.wechat)) return false;
  ExpectChecked(second, second.wechat, "a click on the second copy's WeChat");
  ExpectChecked(first, first.alipay, "a click on the second copy's WeChat");
  if (!Activate(first) || !ClickCentre(first.qq) || !ClickCentre(first.box) || !ClearBox(first))
    return false;
  Type(L"30");
  if (!ExpectBoxText(first, "30", "typing 30 into the first copy")) return false;
  ExpectBoxText(second, "1", "typing into the first copy");
  ClickCentre(first.button);
  if (!ExpectLog({Address("30", '2')}, "a click on the first copy's button")) return false;
  if (!Activate(second) || !ClickCentre(second.button)) return false;
  if (!ExpectLog({Address("30", '2'), Address("1", '3')}, "a click on the second copy's button",
                 true))
    return false;
  // Esc closes the first copy alone.
  if (!Close(first, "esc")) return false;
  if (!IsWindow(second.main) || !IsWindowVisible(second.main))
    Fail("closing the first copy took the second's window too");
  return g_failures == 0;
}

struct BoxParts {
  HWND text = nullptr, ok = nullptr;
};

BOOL CALLBACK CollectBoxParts(HWND hwnd, LPARAM into) {
  BoxParts& parts = *reinterpret_cast<BoxParts*>(into);
  if (IsClass(hwnd, "Static") && !TextOf(hwnd).empty()) parts.text = hwnd;
  if (IsClass(hwnd, "Button") && GetDlgCtrlID(hwnd) == IDOK) parts.ok = hwnd;
  return TRUE;
}

// With the shell's module not to be had, a click ends the program with the run time's box.
bool ScenarioFault() {
  Form form;
  if (!AttachOnly(&form) || !Activate(form)) return false;
  DWORD pid = ProcessOf(form.main);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  // The box takes the focus at once: nothing to wait for on the button.
  if (!ClickCentre(form.button)) return false;
  HWND box = nullptr;
  auto box_up = [&] {
    for (HWND hwnd = FindWindowExA(nullptr, nullptr, "#32770", nullptr); hwnd;
         hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr))
      if (IsWindowVisible(hwnd) && ProcessOf(hwnd) == pid) box = hwnd;
    return box != nullptr;
  };
  if (!WaitFor(box_up)) {
    Fail("no message box came up after the click");
    return false;
  }
  BoxParts parts;
  EnumChildWindows(box, CollectBoxParts, reinterpret_cast<LPARAM>(&parts));
  const std::string caption = "错误";
  const std::string text =
      "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“ShellExecuteA”\r\n";
  if (TextOf(box) != caption) Fail("the box's caption is \"%s\"", Readable(TextOf(box)).c_str());
  std::string shown = parts.text ? TextOf(parts.text) : "";
  if (shown != text)
    Fail("the box says \"%s\", not \"%s\"", Readable(shown).c_str(), Readable(text).c_str());
  if (!parts.ok) {
    Fail("the box has no OK button");
    return false;
  }
  // Clicked once the box is ready for it: in front, its OK button focused as the default.
  auto ready = [&] {
    if (GetForegroundWindow() != box) SetForegroundWindow(box);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetForegroundWindow() == box &&
           GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info) &&
           info.hwndFocus == parts.ok;
  };
  if (!WaitFor(ready)) Fail("the box did not come to the front with OK focused");
  if (!ClickCentre(parts.ok)) return false;
  if (process) {
    if (WaitForSingleObject(process, kPatience) != WAIT_OBJECT_0) {
      Fail("the program is still running after a click on the box's OK (the box is %s)",
           IsWindow(box) ? "still there" : "gone");
    } else {
      DWORD code = 0;
      GetExitCodeProcess(process, &code);
      if (code != 0xFFFFFFFF) Fail("the program ended with %lu, not -1", code);
    }
    CloseHandle(process);
  } else {
    Fail("could not open the program's process");
  }
  ExpectLog({}, "the failed click", true);
  return g_failures == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--screen" && i + 1 < argc) {
      sscanf(argv[++i], "%dx%d", &g_screen_width, &g_screen_height);
    } else if (arg == "--host" && i + 1 < argc) {
      g_host = argv[++i];
    } else {
      args.push_back(arg);
    }
  }
  if (args.empty() || g_screen_width <= 0 || g_screen_height <= 0) {
    fprintf(stderr, "usage: driver --screen WxH --host H SCENARIO [ARG]\n");
    return 2;
  }
  const std::string& scenario = args[0];
  const std::string arg = args.size() > 1 ? args[1] : "";
  bool ok = false;
  if (scenario == "wait")
    ok = ScenarioWait(atoi(arg.c_str()));
  else if (scenario == "warm-up")
    ok = ScenarioWarmUp();
  else if (scenario == "start")
    ok = ScenarioStart();
  else if (scenario == "keys")
    ok = ScenarioKeys();
  else if (scenario == "addresses")
    ok = ScenarioAddresses();
  else if (scenario == "close")
    ok = ScenarioClose(arg);
  else if (scenario == "two-copies")
    ok = ScenarioTwoCopies(
        reinterpret_cast<HWND>(static_cast<ULONG_PTR>(strtoul(arg.c_str(), nullptr, 10))));
  else if (scenario == "fault")
    ok = ScenarioFault();
  else
    Fail("no scenario called %s", scenario.c_str());
  return ok && g_failures == 0 ? 0 : 1;
}
