// The Win32 behaviour the run time relies on, pinned with Win32 calls only: the same program runs
// against the simulation and, under Wine, against USER32, so where they differ it fails.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/support.h"

namespace {

struct Seen {
  HWND hwnd;
  UINT msg;
  WPARAM wparam;
  LPARAM lparam;
};

std::vector<Seen> g_seen;
bool g_keep_open = false;  // WM_CLOSE is recorded and refused
LRESULT g_create_result = 0;

bool Recorded(UINT msg) {
  switch (msg) {
    case WM_CREATE:
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_COMMAND:
    case WM_CLOSE:
    case WM_SYSCOMMAND:
    case WM_SHOWWINDOW:
    case WM_USER:
      return true;
  }
  return false;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (Recorded(msg)) g_seen.push_back(Seen{hwnd, msg, wparam, lparam});
  if (msg == WM_CREATE) return g_create_result;
  if (msg == WM_CLOSE && g_keep_open) return 0;
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

const char kClass[] = "PlatformTestWindow";

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

std::string Text(HWND hwnd) {
  char buf[256] = {};
  GetWindowTextA(hwnd, buf, sizeof buf);
  return buf;
}

// Notification codes that `from` sent its parent, in order.
std::vector<int> Notifications(HWND from) {
  std::vector<int> codes;
  for (const Seen& s : g_seen) {
    if (s.msg == WM_COMMAND && reinterpret_cast<HWND>(s.lparam) == from) {
      codes.push_back(HIWORD(s.wparam));
    }
  }
  return codes;
}

class Platform : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    g_seen.clear();
    g_keep_open = false;
    g_create_result = 0;
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClass;
    RegisterClassExA(&wc);  // already there from an earlier test on Windows: fine
    host_ = TopLevel(100, 80, 400, 300);
    ShowWindow(host_, SW_SHOW);
    SetForegroundWindow(host_);
    SetActiveWindow(host_);
    Pump();
    g_seen.clear();
  }

  void TearDown() override {
    for (HWND h : top_levels_) {
      if (IsWindow(h)) DestroyWindow(h);
    }
    Pump();
  }

  HWND TopLevel(int x, int y, int w, int h, DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND hwnd = CreateWindowExA(0, kClass, "test", style, x, y, w, h, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    top_levels_.push_back(hwnd);
    return hwnd;
  }

  HWND Child(const char* cls, DWORD style, int id, int x = 10, int y = 10, int w = 120, int h = 24,
             HWND parent = nullptr, const char* text = "") {
    HWND hwnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                parent ? parent : host_, reinterpret_cast<HMENU>(intptr_t(id)),
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return hwnd;
  }

  HWND Combo(int id = 50) {
    return Child("COMBOBOX",
                 WS_CLIPSIBLINGS | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL, id, 20,
                 40, 120, 160);
  }

  HWND host_ = nullptr;
  std::vector<HWND> top_levels_;
};

void AddItems(HWND combo, std::vector<const char*> texts) {
  for (const char* t : texts) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
}

std::string ItemText(HWND combo, int index) {
  char buf[64] = {};
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buf));
  return buf;
}

HWND EditOf(HWND combo) {
  return GetWindow(combo, GW_CHILD);
}

// Key messages with the flags a real key press carries.
LPARAM KeyData(UINT scan, bool up, bool alt = false, bool extended = false) {
  return static_cast<LPARAM>(1u | (scan << 16) | (extended ? 1u << 24 : 0) | (alt ? 1u << 29 : 0) |
                             (up ? 3u << 30 : 0));
}

void PostKey(HWND hwnd, UINT vk, UINT scan, bool extended = false) {
  PostMessageA(hwnd, WM_KEYDOWN, vk, KeyData(scan, false, false, extended));
  PostMessageA(hwnd, WM_KEYUP, vk, KeyData(scan, true, false, extended));
}

// ---------------------------------------------------------------------------------------------
// Combo box.

TEST_F(Platform, ComboAppendsItemsInTheOrderAddedWithoutSort) {
  HWND combo = Combo();
  const char* texts[] = {"9", "10", "1", "b", "A"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(i, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i])));
  }
  ASSERT_EQ(5, SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(texts[i], ItemText(combo, i)) << i;
  EXPECT_EQ(-1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
  EXPECT_EQ("", Text(combo));
}

TEST_F(Platform, ComboSetCurSel) {
  struct Case {
    int before;  // selected first, -2 for nothing
    int index;
    LRESULT result;
    int selection;
    const char* text;
  } cases[] = {
      {-2, 0, 0, 0, "a"},     {-2, 2, 2, 2, "c"},      {1, -1, CB_ERR, -1, ""},
      {1, 3, CB_ERR, 1, "b"}, {1, 50, CB_ERR, 1, "b"}, {-2, 3, CB_ERR, -1, ""},
  };
  for (const Case& c : cases) {
    HWND combo = Combo();
    AddItems(combo, {"a", "b", "c"});
    if (c.before != -2) SendMessageA(combo, CB_SETCURSEL, c.before, 0);
    g_seen.clear();
    EXPECT_EQ(c.result, SendMessageA(combo, CB_SETCURSEL, c.index, 0)) << c.index;
    EXPECT_EQ(c.selection, SendMessageA(combo, CB_GETCURSEL, 0, 0)) << c.index;
    EXPECT_EQ(c.text, Text(combo)) << c.index;
    EXPECT_EQ(static_cast<int>(strlen(c.text)), GetWindowTextLengthA(combo)) << c.index;
    EXPECT_TRUE(Notifications(combo).empty()) << c.index;  // no CBN_SELCHANGE
    DestroyWindow(combo);
  }
}

TEST_F(Platform, ComboSetCurSelOnEmptyList) {
  HWND combo = Combo();
  for (int index : {0, 1, -1}) {
    EXPECT_EQ(CB_ERR, SendMessageA(combo, CB_SETCURSEL, index, 0));
    EXPECT_EQ(-1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
  }
}

// The item height for the default GUI font, and how the height given at creation splits between
// box and list. (What CB_SETITEMHEIGHT does to the items is not pinned: Wine ignores it for a
// list that is not owner-drawn, Windows and the simulation take it.)
TEST_F(Platform, ComboHeights) {
  HWND combo = Combo();
  EXPECT_EQ(14, SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(18, SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));

  RECT r, dropped;
  GetWindowRect(combo, &r);
  SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(22, r.bottom - r.top);
  EXPECT_EQ(120, r.right - r.left);
  EXPECT_EQ(r.left, dropped.left);
  EXPECT_EQ(r.right, dropped.right);
  EXPECT_EQ(r.top, dropped.top);
  EXPECT_EQ(160 - 22 - 1, dropped.bottom - dropped.top);

  RECT edit;
  GetWindowRect(EditOf(combo), &edit);
  EXPECT_EQ(r.left + 3, edit.left);
  EXPECT_EQ(r.top + 3, edit.top);
  EXPECT_EQ(16, edit.bottom - edit.top);
}

TEST_F(Platform, ComboFocusGoesToItsEdit) {
  HWND combo = Combo();
  AddItems(combo, {"1", "2", "3"});
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  HWND edit = EditOf(combo);
  ASSERT_NE(nullptr, edit);
  char cls[32] = {};
  GetClassNameA(edit, cls, sizeof cls);
  EXPECT_STRCASEEQ("Edit", cls);
  EXPECT_EQ(1001, GetDlgCtrlID(edit));
  g_seen.clear();
  SetFocus(combo);
  EXPECT_EQ(edit, GetFocus());
  EXPECT_EQ(std::vector<int>{CBN_SETFOCUS}, Notifications(combo));
  DWORD start = 9, end = 9;
  SendMessageA(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(0u, start);
  EXPECT_EQ(1u, end);  // all of "2"
  EXPECT_EQ("2", Text(combo));

  HWND other = Child(kClass, WS_TABSTOP, 60, 200, 10);
  g_seen.clear();
  SetFocus(other);
  EXPECT_EQ((std::vector<int>{CBN_SELENDCANCEL, CBN_KILLFOCUS}), Notifications(combo));

  // With the list down, losing the focus closes it first.
  SetFocus(combo);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  g_seen.clear();
  SetFocus(other);
  EXPECT_EQ((std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}), Notifications(combo));
  EXPECT_EQ(0, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
}

// ASCII typed key by key, Chinese as an input method commits it (EM_REPLACESEL: Wine's ANSI
// message loop cannot carry double-byte WM_CHAR or WM_IME_CHAR into an edit).
TEST_F(Platform, TypingIntoTheComboEdit) {
  HWND combo = Combo();
  AddItems(combo, {"1", "2", "3"});
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  HWND edit = GetFocus();
  g_seen.clear();
  PostMessageA(edit, WM_CHAR, '4', 0);  // replaces the selected "1"
  PostMessageA(edit, WM_CHAR, '2', 0);
  Pump();
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\xD6\xD0\xCE\xC4"));  // 中文
  PostMessageA(edit, WM_CHAR, 'x', 0);
  Pump();
  EXPECT_EQ("42\xD6\xD0\xCE\xC4x", Text(combo));
  EXPECT_EQ(7, GetWindowTextLengthA(combo));
  DWORD start = 0, end = 0;
  SendMessageA(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(5u, start);  // characters, not bytes
  EXPECT_EQ(5u, end);
  EXPECT_EQ(3, SendMessageA(combo, CB_GETCOUNT, 0, 0));
  EXPECT_EQ("1", ItemText(combo, 0));
  EXPECT_EQ(-1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
  std::vector<int> codes = Notifications(combo);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(CBN_EDITUPDATE, codes.front());
  EXPECT_EQ(CBN_EDITCHANGE, codes.back());

  // Backspace takes a double-byte character as a whole.
  PostMessageA(edit, WM_CHAR, VK_BACK, 0);
  PostMessageA(edit, WM_CHAR, VK_BACK, 0);
  Pump();
  EXPECT_EQ("42\xD6\xD0", Text(combo));

  // Setting the box's text changes its edit only, quietly.
  g_seen.clear();
  SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("3"));
  EXPECT_EQ(-1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
  EXPECT_EQ("3", Text(combo));
  EXPECT_TRUE(Notifications(combo).empty());
}

TEST_F(Platform, DownInTheComboEditPicksTheNextItem) {
  struct Case {
    int start;  // selection before, -1 for none
    UINT key;
    int selection;
    const char* text;
  } cases[] = {
      {0, VK_DOWN, 1, "2"},
      {-1, VK_DOWN, 0, "1"},
      {2, VK_DOWN, 2, "3"},
      {2, VK_UP, 1, "2"},
  };
  for (const Case& c : cases) {
    HWND combo = Combo();
    AddItems(combo, {"1", "2", "3"});
    SendMessageA(combo, CB_SETCURSEL, c.start, 0);
    SetFocus(combo);
    g_seen.clear();
    PostKey(GetFocus(), c.key, c.key == VK_DOWN ? 0x50 : 0x48, true);
    Pump();
    EXPECT_EQ(c.selection, SendMessageA(combo, CB_GETCURSEL, 0, 0)) << c.start;
    EXPECT_EQ(c.text, Text(combo)) << c.start;
    std::vector<int> codes = Notifications(combo);
    // Notified even when the selection stays on the last item.
    EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), CBN_SELCHANGE)) << c.start;
    EXPECT_EQ(0, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    DestroyWindow(combo);
  }
}

// Arrow keys and typing in the closed box, as scripts of steps: cN is CB_SETCURSEL N, tC types
// the character C, d and u press Down and Up. What they pin: with nothing selected an arrow
// picks the list's caret item itself (the item last picked or set, or the one the typed text
// begins, else the first); typing drops a selection made by CB_SETCURSEL but keeps one made
// with the arrows.
TEST_F(Platform, ComboArrowsAndTyping) {
  struct Case {
    const char* script;
    const char* text;
    int selection;
  } cases[] = {
      {"d", "1", 0},      {"c0 d", "2", 1},     {"c3 d", "4", 3},       {"c2 u", "2", 1},
      {"c0 u", "1", 0},   {"c0 tx", "x", -1},   {"c0 tx d", "1", 0},    {"c2 tx u", "1", 0},
      {"t2", "2", -1},    {"t2 d", "2", 1},     {"t2 u", "2", 1},       {"t3 tx d", "1", 0},
      {"d tx", "x", 0},   {"d tx d", "2", 1},   {"d d tx u", "1", 0},   {"c0 d t1 d", "3", 2},
      {"c1 c-1", "", -1}, {"c1 c-1 d", "2", 1}, {"c1 t2 tx d", "1", 0},
  };
  for (const Case& c : cases) {
    HWND combo = Combo();
    AddItems(combo, {"1", "2", "3", "4"});
    SetFocus(combo);
    HWND edit = GetFocus();
    for (const char* p = c.script; *p; ++p) {
      switch (*p) {
        case 'c':
          SendMessageA(combo, CB_SETCURSEL, atoi(p + 1), 0);
          while (p[1] && p[1] != ' ') ++p;
          break;
        case 't':
          PostMessageA(edit, WM_CHAR, static_cast<BYTE>(*++p), 0);
          break;
        case 'd':
          PostKey(edit, VK_DOWN, 0x50, true);
          break;
        case 'u':
          PostKey(edit, VK_UP, 0x48, true);
          break;
      }
      Pump();
    }
    EXPECT_EQ(c.text, Text(combo)) << c.script;
    EXPECT_EQ(c.selection, SendMessageA(combo, CB_GETCURSEL, 0, 0)) << c.script;
    EXPECT_EQ(4, SendMessageA(combo, CB_GETCOUNT, 0, 0)) << c.script;
    DestroyWindow(combo);
  }
}

TEST_F(Platform, ComboListDownReturnKeepsThePick) {
  HWND combo = Combo();
  AddItems(combo, {"1", "2", "3"});
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  SetFocus(combo);
  HWND edit = GetFocus();
  g_seen.clear();
  PostMessageA(edit, WM_SYSKEYDOWN, VK_DOWN, KeyData(0x50, false, true, true));  // Alt+Down
  Pump();
  EXPECT_EQ(1, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  PostKey(edit, VK_DOWN, 0x50, true);
  PostKey(edit, VK_RETURN, 0x1C);
  Pump();
  EXPECT_EQ(0, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(2, SendMessageA(combo, CB_GETCURSEL, 0, 0));
  EXPECT_EQ("3", Text(combo));
  EXPECT_EQ((std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}),
            Notifications(combo));
}

TEST_F(Platform, ComboDropDownByKeys) {
  HWND combo = Combo();
  AddItems(combo, {"1", "2", "3"});
  SetFocus(combo);
  HWND edit = GetFocus();
  g_seen.clear();
  PostKey(edit, VK_F4, 0x3E);
  Pump();
  EXPECT_EQ(1, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(std::vector<int>{CBN_DROPDOWN}, Notifications(combo));
  g_seen.clear();
  PostKey(edit, VK_ESCAPE, 0x01);
  Pump();
  EXPECT_EQ(0, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  std::vector<int> codes = Notifications(combo);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(CBN_CLOSEUP, codes.back());
  g_seen.clear();
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(1, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(std::vector<int>{CBN_DROPDOWN}, Notifications(combo));
  g_seen.clear();
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(0, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ((std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}), Notifications(combo));
  g_seen.clear();
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);  // already closed: nothing
  EXPECT_TRUE(Notifications(combo).empty());
}

// Escape closes the list; what was picked in it with the arrows stays picked.
TEST_F(Platform, ComboListDownEscapeCloses) {
  HWND combo = Combo();
  AddItems(combo, {"1", "2", "3"});
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  HWND edit = GetFocus();
  PostKey(edit, VK_F4, 0x3E);
  PostKey(edit, VK_DOWN, 0x50, true);
  Pump();
  EXPECT_EQ(1, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ("2", Text(combo));
  g_seen.clear();
  PostKey(edit, VK_ESCAPE, 0x01);
  Pump();
  EXPECT_EQ(0, SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
  EXPECT_EQ("2", Text(combo));
  EXPECT_EQ((std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}), Notifications(combo));
  EXPECT_EQ(edit, GetFocus());
}

// ---------------------------------------------------------------------------------------------
// Buttons.

class Radios : public Platform {
 protected:
  void SetUp() override {
    Platform::SetUp();
    for (int i = 0; i < 3; ++i) {
      radio_[i] = Child("BUTTON", BS_AUTORADIOBUTTON | BS_MULTILINE | WS_TABSTOP, 10 + i, 10,
                        10 + 30 * i, 88, 24);
    }
    button_ = Child("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 20, 150, 10, 80, 24);
    SendMessageA(radio_[0], BM_SETCHECK, BST_CHECKED, 0);
    Pump();
    g_seen.clear();
  }
  std::vector<LRESULT> Checks() {
    std::vector<LRESULT> v;
    for (HWND r : radio_) v.push_back(SendMessageA(r, BM_GETCHECK, 0, 0));
    return v;
  }
  std::vector<HWND> Clicked() {
    std::vector<HWND> v;
    for (const Seen& s : g_seen) {
      if (s.msg == WM_COMMAND && HIWORD(s.wparam) == BN_CLICKED) {
        v.push_back(reinterpret_cast<HWND>(s.lparam));
      }
    }
    return v;
  }
  HWND radio_[3];
  HWND button_;
};

TEST_F(Radios, BmClickChecksOneAndClearsTheGroup) {
  SendMessageA(radio_[1], BM_CLICK, 0, 0);
  EXPECT_EQ((std::vector<LRESULT>{0, 1, 0}), Checks());
  EXPECT_EQ(std::vector<HWND>{radio_[1]}, Clicked());
  EXPECT_EQ(radio_[1], GetFocus());
}

TEST_F(Radios, PostedMouseClick) {
  PostMessageA(radio_[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(radio_[2], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  EXPECT_EQ((std::vector<LRESULT>{0, 0, 1}), Checks());
  EXPECT_EQ(std::vector<HWND>{radio_[2]}, Clicked());
  EXPECT_EQ(radio_[2], GetFocus());
}

TEST_F(Radios, MouseReleasedOutsideDoesNotClick) {
  PostMessageA(radio_[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(radio_[2], WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  Pump();
  EXPECT_EQ((std::vector<LRESULT>{1, 0, 0}), Checks());
  EXPECT_TRUE(Clicked().empty());
}

TEST_F(Radios, SpaceClicksTheFocusedButton) {
  SetFocus(radio_[1]);
  Pump();
  g_seen.clear();
  PostKey(radio_[1], VK_SPACE, 0x39);
  Pump();
  EXPECT_EQ((std::vector<LRESULT>{0, 1, 0}), Checks());
  EXPECT_EQ(std::vector<HWND>{radio_[1]}, Clicked());

  SetFocus(button_);
  g_seen.clear();
  PostKey(button_, VK_SPACE, 0x39);
  Pump();
  EXPECT_EQ(std::vector<HWND>{button_}, Clicked());
}

TEST_F(Radios, ArrowsEnterAndCharactersDoNothingInAButton) {
  SetFocus(radio_[0]);
  Pump();
  g_seen.clear();
  PostKey(radio_[0], VK_DOWN, 0x50, true);
  PostKey(radio_[0], VK_RIGHT, 0x4D, true);
  PostKey(radio_[0], VK_RETURN, 0x1C);
  PostKey(radio_[0], 'A', 0x1E);
  Pump();
  EXPECT_EQ((std::vector<LRESULT>{1, 0, 0}), Checks());
  EXPECT_TRUE(Clicked().empty());
  EXPECT_EQ(radio_[0], GetFocus());
}

TEST_F(Radios, SetCheckSendsNoClickAndTouchesNoOther) {
  SendMessageA(radio_[2], BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ((std::vector<LRESULT>{1, 0, 1}), Checks());
  EXPECT_TRUE(Clicked().empty());
  EXPECT_EQ(BST_CHECKED, SendMessageA(radio_[2], BM_GETSTATE, 0, 0) & 3);
}

TEST_F(Radios, CheckedRadioIsATabStop) {
  SendMessageA(radio_[1], BM_CLICK, 0, 0);
  EXPECT_FALSE(GetWindowLongA(radio_[0], GWL_STYLE) & WS_TABSTOP);
  EXPECT_TRUE(GetWindowLongA(radio_[1], GWL_STYLE) & WS_TABSTOP);
}

TEST_F(Radios, FocusAloneDoesNotCheck) {
  SetFocus(radio_[2]);
  Pump();
  EXPECT_EQ(radio_[2], GetFocus());
  EXPECT_EQ((std::vector<LRESULT>{1, 0, 0}), Checks());
}

TEST_F(Platform, WsGroupBoundsAutoRadioGroups) {
  HWND r[4];
  DWORD group[4] = {WS_GROUP, 0, WS_GROUP, 0};
  for (int i = 0; i < 4; ++i) {
    r[i] = Child("BUTTON", BS_AUTORADIOBUTTON | group[i], 10 + i, 10, 10 + 30 * i, 88, 24);
    SendMessageA(r[i], BM_SETCHECK, BST_CHECKED, 0);
  }
  SendMessageA(r[3], BM_CLICK, 0, 0);
  EXPECT_EQ(1, SendMessageA(r[0], BM_GETCHECK, 0, 0));
  EXPECT_EQ(1, SendMessageA(r[1], BM_GETCHECK, 0, 0));
  EXPECT_EQ(0, SendMessageA(r[2], BM_GETCHECK, 0, 0));
  EXPECT_EQ(1, SendMessageA(r[3], BM_GETCHECK, 0, 0));
  SendMessageA(r[1], BM_CLICK, 0, 0);
  EXPECT_EQ(0, SendMessageA(r[0], BM_GETCHECK, 0, 0));
  EXPECT_EQ(1, SendMessageA(r[3], BM_GETCHECK, 0, 0));
}

// ---------------------------------------------------------------------------------------------
// Closing, quitting, destroying.

TEST_F(Platform, AltF4ClosesTheTopLevelWindowThroughSysCommand) {
  g_keep_open = true;
  HWND button = Child("BUTTON", BS_PUSHBUTTON, 20);
  SetFocus(button);
  Pump();
  g_seen.clear();
  PostMessageA(button, WM_SYSKEYDOWN, VK_F4, KeyData(0x3E, false, true));
  Pump();
  std::vector<UINT> msgs;
  for (const Seen& s : g_seen) {
    if (s.hwnd == host_ && (s.msg == WM_SYSCOMMAND || s.msg == WM_CLOSE)) msgs.push_back(s.msg);
  }
  ASSERT_EQ((std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}), msgs);
  for (const Seen& s : g_seen) {
    if (s.msg == WM_SYSCOMMAND) {
      EXPECT_EQ(static_cast<WPARAM>(SC_CLOSE), s.wparam & 0xFFF0);
    }
  }
  EXPECT_TRUE(IsWindow(host_));
}

TEST_F(Platform, QuitComesAfterPostedMessagesAndPassesAnyFilter) {
  PostMessageA(host_, WM_USER, 1, 0);
  PostQuitMessage(7);
  MSG m;
  // A filter that the posted message does not pass still lets WM_QUIT through.
  ASSERT_TRUE(PeekMessageA(&m, host_, WM_USER + 5, WM_USER + 6, PM_NOREMOVE));
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), m.message);
  ASSERT_TRUE(PeekMessageA(&m, host_, WM_USER + 5, WM_USER + 6, PM_REMOVE));
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), m.message);
  EXPECT_EQ(7u, m.wParam);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(static_cast<UINT>(WM_USER), m.message);

  PostMessageA(host_, WM_USER, 2, 0);
  PostQuitMessage(3);
  EXPECT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(static_cast<UINT>(WM_USER), m.message);
  EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), m.message);
  EXPECT_EQ(3u, m.wParam);
}

TEST_F(Platform, DestroyOrderAndStaleHandles) {
  HWND parent = TopLevel(10, 10, 200, 100);
  HWND child = Child(kClass, 0, 5, 0, 0, 50, 20, parent);
  HWND grandchild = Child(kClass, 0, 6, 0, 0, 20, 10, child);
  g_seen.clear();
  EXPECT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Seen& s : g_seen) {
    if (s.msg == WM_DESTROY || s.msg == WM_NCDESTROY) order.push_back({s.hwnd, s.msg});
  }
  std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_DESTROY},       {child, WM_DESTROY},   {grandchild, WM_DESTROY},
      {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
  EXPECT_EQ(expected, order);
  for (HWND h : {parent, child, grandchild}) {
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(0, SendMessageA(h, WM_GETTEXTLENGTH, 0, 0));
  }
}

TEST_F(Platform, CreateAbortedByWmCreate) {
  g_create_result = -1;
  g_seen.clear();
  HWND hwnd = CreateWindowExA(0, kClass, "x", WS_CHILD, 0, 0, 10, 10, host_, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(nullptr, hwnd);
  std::vector<UINT> msgs;
  for (const Seen& s : g_seen) msgs.push_back(s.msg);
  EXPECT_EQ((std::vector<UINT>{WM_CREATE, WM_NCDESTROY}), msgs);  // no WM_DESTROY
}

// Destroying what has the focus or the activation hands them on.
TEST_F(Platform, DestroyHandsOnFocusAndActivation) {
  HWND child = Child(kClass, 0, 5);
  SetFocus(child);
  g_seen.clear();
  DestroyWindow(child);
  EXPECT_EQ(host_, GetFocus());  // a visible child's focus goes to its parent
  std::vector<std::pair<HWND, UINT>> got;
  for (const Seen& s : g_seen) got.push_back({s.hwnd, s.msg});
  std::vector<std::pair<HWND, UINT>> expected = {{child, WM_SHOWWINDOW},
                                                 {child, WM_KILLFOCUS},
                                                 {host_, WM_SETFOCUS},
                                                 {child, WM_DESTROY},
                                                 {child, WM_NCDESTROY}};
  EXPECT_EQ(expected, got);

  HWND other = TopLevel(300, 300, 200, 150);
  ShowWindow(other, SW_SHOWNA);
  HWND focused = Child(kClass, 0, 6);
  SetFocus(focused);
  Pump();
  g_seen.clear();
  DestroyWindow(host_);
  EXPECT_EQ(other, GetActiveWindow());
  EXPECT_EQ(other, GetFocus());
  bool focus_lost = false;
  for (const Seen& s : g_seen) {
    if (s.hwnd == focused && s.msg == WM_KILLFOCUS) focus_lost = true;
  }
  EXPECT_TRUE(focus_lost);
}

TEST_F(Platform, OwnedWindowsGoWithTheirOwner) {
  HWND owner = TopLevel(10, 10, 200, 100);
  HWND owned = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 50, 50, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, owned);
  EXPECT_EQ(owner, GetWindow(owned, GW_OWNER));
  EXPECT_EQ(owner, GetParent(owned));  // a pop-up's parent is its owner
  EXPECT_EQ(nullptr, GetAncestor(owned, GA_PARENT) == owner ? owner : nullptr);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(Platform, SizeAndMoveNotifications) {
  g_seen.clear();
  struct Probe {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
      if (msg == WM_SIZE || msg == WM_MOVE) g_seen.push_back(Seen{hwnd, msg, wparam, lparam});
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    }
  };
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Probe::Proc;
  wc.lpszClassName = "PlatformSizeProbe";
  RegisterClassExA(&wc);
  HWND child = Child("PlatformSizeProbe", 0, 5, 12, 34, 56, 20);
  std::vector<std::pair<UINT, LPARAM>> got;
  for (const Seen& s : g_seen) {
    if (s.hwnd == child) got.push_back({s.msg, s.lparam});
  }
  std::vector<std::pair<UINT, LPARAM>> expected = {{WM_SIZE, MAKELPARAM(56, 20)},
                                                   {WM_MOVE, MAKELPARAM(12, 34)}};
  EXPECT_EQ(expected, got);

  g_seen.clear();
  SetWindowPos(child, nullptr, 0, 0, 70, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  got.clear();
  for (const Seen& s : g_seen) got.push_back({s.msg, s.lparam});
  expected = {{WM_SIZE, MAKELPARAM(70, 20)}};
  EXPECT_EQ(expected, got);

  g_seen.clear();
  MoveWindow(child, 1, 2, 70, 20, TRUE);
  got.clear();
  for (const Seen& s : g_seen) got.push_back({s.msg, s.lparam});
  expected = {{WM_MOVE, MAKELPARAM(1, 2)}};
  EXPECT_EQ(expected, got);
  DestroyWindow(child);
}

TEST_F(Platform, DefaultTextIconsAndLongs) {
  HWND w = Child(kClass, 0, 77, 0, 0, 10, 10, nullptr, "hello");
  char buf[3];
  EXPECT_EQ(2, GetWindowTextA(w, buf, sizeof buf));
  EXPECT_STREQ("he", buf);
  EXPECT_EQ(5, GetWindowTextLengthA(w));
  EXPECT_TRUE(SetWindowTextA(w, ""));
  EXPECT_EQ(0, GetWindowTextLengthA(w));

  HICON big = static_cast<HICON>(
      LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_ICON, 32, 32, LR_SHARED));
  SendMessageA(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  EXPECT_EQ(reinterpret_cast<LRESULT>(big), SendMessageA(w, WM_GETICON, ICON_BIG, 0));

  EXPECT_EQ(77, GetDlgCtrlID(w));
  EXPECT_EQ(77, GetWindowLongPtrA(w, GWLP_ID));
  SetWindowLongPtrA(w, GWLP_USERDATA, 1234);
  EXPECT_EQ(1234, GetWindowLongPtrA(w, GWLP_USERDATA));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc), GetWindowLongPtrA(w, GWLP_WNDPROC));
  EXPECT_EQ(host_, GetParent(w));
  EXPECT_EQ(host_, GetAncestor(w, GA_ROOT));
  EXPECT_TRUE(IsChild(host_, w));
  EXPECT_FALSE(IsChild(w, host_));
  EXPECT_EQ(w, GetDlgItem(host_, 77));

  EXPECT_FALSE(EnableWindow(w, FALSE));  // was enabled
  EXPECT_FALSE(IsWindowEnabled(w));
  EXPECT_TRUE(EnableWindow(w, TRUE));  // was disabled
}

TEST_F(Platform, ClassRegistration) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "PlatformTwice";
  ASSERT_NE(0, RegisterClassExA(&wc));
  wc.lpszClassName = "PLATFORMTWICE";  // names compare without case
  SetLastError(0);
  EXPECT_EQ(0, RegisterClassExA(&wc));
  EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS), GetLastError());
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  // A null instance asks for the system's classes only.
  EXPECT_FALSE(GetClassInfoExA(nullptr, "platformtwice", &info));
  EXPECT_TRUE(GetClassInfoExA(nullptr, "Button", &info));
  EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "platformtwice", &info));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(DefWindowProcA), info.lpfnWndProc);
  HWND w = Child("PlatformTwice", 0, 5);
  char name[32];
  GetClassNameA(w, name, sizeof name);
  EXPECT_STREQ("PlatformTwice", name);
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassA("PlatformTwice", nullptr));
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "PlatformTwice", &info));
}

TEST_F(Platform, PeekWithAWindowFilterTakesItsChildrensMessages) {
  HWND child = Child(kClass, 0, 5);
  HWND other = TopLevel(10, 10, 50, 50);
  PostMessageA(other, WM_USER, 1, 0);
  PostMessageA(child, WM_USER, 2, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, host_, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(child, m.hwnd);
  EXPECT_FALSE(PeekMessageA(&m, host_, WM_USER, WM_USER, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(other, m.hwnd);
}

// ---------------------------------------------------------------------------------------------
// Activation, focus, visibility, placement.

TEST_F(Platform, ActivationAndFocusMessageOrder) {
  HWND a_child = Child(kClass, 0, 5);
  SetFocus(a_child);
  Pump();
  HWND other = TopLevel(300, 300, 200, 150);
  ShowWindow(other, SW_SHOWNA);
  Pump();
  g_seen.clear();
  SetActiveWindow(other);
  struct Step {
    HWND hwnd;
    UINT msg;
  };
  std::vector<std::pair<HWND, UINT>> got;
  for (const Seen& s : g_seen) got.push_back({s.hwnd, s.msg});
  std::vector<std::pair<HWND, UINT>> expected = {
      {host_, WM_ACTIVATE}, {other, WM_ACTIVATE}, {a_child, WM_KILLFOCUS}, {other, WM_SETFOCUS}};
  EXPECT_EQ(expected, got);
  ASSERT_EQ(4u, g_seen.size());
  EXPECT_EQ(WA_INACTIVE, LOWORD(g_seen[0].wparam));
  EXPECT_EQ(other, reinterpret_cast<HWND>(g_seen[0].lparam));
  EXPECT_EQ(WA_ACTIVE, LOWORD(g_seen[1].wparam));
  EXPECT_EQ(host_, reinterpret_cast<HWND>(g_seen[1].lparam));
  EXPECT_EQ(other, reinterpret_cast<HWND>(g_seen[2].wparam));
  EXPECT_EQ(a_child, reinterpret_cast<HWND>(g_seen[3].wparam));
  EXPECT_EQ(other, GetActiveWindow());
  EXPECT_EQ(other, GetFocus());

  // SetFocus into the inactive window activates it first.
  g_seen.clear();
  // What it returns is the focus just before the move, after the activation put it on host_.
  EXPECT_EQ(host_, SetFocus(a_child));
  got.clear();
  for (const Seen& s : g_seen) got.push_back({s.hwnd, s.msg});
  expected = {{other, WM_ACTIVATE}, {host_, WM_ACTIVATE},  {other, WM_KILLFOCUS},
              {host_, WM_SETFOCUS}, {host_, WM_KILLFOCUS}, {a_child, WM_SETFOCUS}};
  EXPECT_EQ(expected, got);
  EXPECT_EQ(host_, GetActiveWindow());
}

TEST_F(Platform, ShowingATopLevelWindowActivatesIt) {
  HWND other = TopLevel(300, 300, 200, 150);
  g_seen.clear();
  EXPECT_FALSE(ShowWindow(other, SW_SHOWNORMAL));
  std::vector<std::pair<HWND, UINT>> got;
  for (const Seen& s : g_seen) got.push_back({s.hwnd, s.msg});
  std::vector<std::pair<HWND, UINT>> expected = {{other, WM_SHOWWINDOW},
                                                 {host_, WM_ACTIVATE},
                                                 {other, WM_ACTIVATE},
                                                 {host_, WM_KILLFOCUS},
                                                 {other, WM_SETFOCUS}};
  EXPECT_EQ(expected, got);
  EXPECT_EQ(other, GetActiveWindow());
  // Showing without activating leaves the activation where it is.
  HWND third = TopLevel(350, 350, 100, 100);
  EXPECT_FALSE(ShowWindow(third, SW_SHOWNA));
  EXPECT_TRUE(ShowWindow(third, SW_SHOWNOACTIVATE));
  EXPECT_EQ(other, GetActiveWindow());
  EXPECT_TRUE(IsWindowVisible(third));
}

TEST_F(Platform, FocusOnDisabledOrHiddenChild) {
  HWND disabled = Child(kClass, WS_DISABLED, 5);
  HWND hidden = CreateWindowExA(0, kClass, "", WS_CHILD, 0, 0, 10, 10, host_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  SetFocus(host_);
  EXPECT_EQ(nullptr, SetFocus(disabled));
  EXPECT_EQ(host_, GetFocus());
  EXPECT_EQ(host_, SetFocus(hidden));
  EXPECT_EQ(hidden, GetFocus());

  // Disabling the focused window takes the focus away.
  HWND enabled = Child(kClass, 0, 6);
  SetFocus(enabled);
  EnableWindow(enabled, FALSE);
  EXPECT_EQ(nullptr, GetFocus());
}

TEST_F(Platform, VisibilityFollowsTheAncestors) {
  HWND parent = TopLevel(10, 10, 200, 100);
  HWND child = Child(kClass, 0, 5, 0, 0, 50, 20, parent);
  EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(ShowWindow(parent, SW_SHOWNA));  // was hidden
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_TRUE(ShowWindow(parent, SW_HIDE));  // was visible
  EXPECT_FALSE(IsWindowVisible(parent));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(ShowWindow(parent, SW_HIDE));
}

TEST_F(Platform, ChildRectOfAHiddenParent) {
  HWND parent = TopLevel(-30, 40, 300, 200, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  HWND child = Child(kClass, 0, 5, 12, 34, 56, 20, parent);
  POINT origin = {0, 0};
  ClientToScreen(parent, &origin);
  RECT r;
  ASSERT_TRUE(GetWindowRect(child, &r));
  EXPECT_EQ(origin.x + 12, r.left);
  EXPECT_EQ(origin.y + 34, r.top);
  EXPECT_EQ(56, r.right - r.left);
  EXPECT_EQ(20, r.bottom - r.top);
  RECT outer;
  GetWindowRect(parent, &outer);
  EXPECT_EQ(-30, outer.left);
  EXPECT_EQ(40, outer.top);
  EXPECT_EQ(300, outer.right - outer.left);
  EXPECT_EQ(200, outer.bottom - outer.top);
}

TEST_F(Platform, ChildrenZOrderFollowsCreationAndSetWindowPos) {
  HWND parent = TopLevel(10, 10, 200, 100);
  HWND c[3];
  for (int i = 0; i < 3; ++i) c[i] = Child(kClass, 0, i, 0, 0, 10, 10, parent);
  auto order = [&] {
    std::vector<HWND> v;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) v.push_back(h);
    return v;
  };
  EXPECT_EQ((std::vector<HWND>{c[0], c[1], c[2]}), order());
  SetWindowPos(c[2], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ((std::vector<HWND>{c[2], c[0], c[1]}), order());
  SetWindowPos(c[2], c[1], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ((std::vector<HWND>{c[0], c[1], c[2]}), order());
  SetWindowPos(c[0], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ((std::vector<HWND>{c[1], c[2], c[0]}), order());
  EXPECT_EQ(c[2], GetWindow(c[0], GW_HWNDPREV));
  EXPECT_EQ(c[0], GetWindow(c[1], GW_HWNDLAST));
}

// ---------------------------------------------------------------------------------------------
// Keyboard translation.

TEST_F(Platform, TranslateMessagePostsCharacters) {
  struct Case {
    UINT vk;
    UINT scan;
    bool shift;
    int ch;  // -1: none
  } cases[] = {
      {'A', 0x1E, false, 'a'},      {'A', 0x1E, true, 'A'},       {'7', 0x08, false, '7'},
      {VK_SPACE, 0x39, false, ' '}, {VK_RETURN, 0x1C, false, 13}, {VK_ESCAPE, 0x01, false, 27},
      {VK_BACK, 0x0E, false, 8},    {VK_TAB, 0x0F, false, 9},     {VK_F1, 0x3B, false, -1},
      {VK_DOWN, 0x50, false, -1},
  };
  for (const Case& c : cases) {
    BYTE keys[256] = {};
    if (c.shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
    MSG key = {host_, WM_KEYDOWN, c.vk, KeyData(c.scan, false), 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&key)) << c.vk;
    MSG m;
    bool got = PeekMessageA(&m, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE);
    EXPECT_EQ(c.ch >= 0, got) << c.vk;
    if (got) {
      EXPECT_EQ(static_cast<WPARAM>(c.ch), m.wParam) << c.vk;
    }
  }
  BYTE keys[256] = {};
  SetKeyboardState(keys);
}

// The generic keys are kept apart from the left and right ones: only what the state says.
TEST_F(Platform, KeyStateIsPerKey) {
  BYTE keys[256] = {};
  keys[VK_RCONTROL] = 0x80;
  keys[VK_MENU] = 0x81;
  SetKeyboardState(keys);
  EXPECT_TRUE(GetKeyState(VK_RCONTROL) < 0);
  EXPECT_FALSE(GetKeyState(VK_CONTROL) < 0);
  EXPECT_TRUE(GetKeyState(VK_MENU) < 0);
  EXPECT_EQ(1, GetKeyState(VK_MENU) & 1);  // toggled
  EXPECT_FALSE(GetKeyState(VK_LMENU) < 0);
  BYTE back[256] = {};
  GetKeyboardState(back);
  EXPECT_EQ(0, memcmp(keys, back, sizeof keys));
  memset(keys, 0, sizeof keys);
  SetKeyboardState(keys);
}

// ---------------------------------------------------------------------------------------------
// Edit controls on their own.

TEST_F(Platform, EditKeysAndSelection) {
  HWND edit = Child("EDIT", ES_AUTOHSCROLL, 7);
  SetWindowTextA(edit,
                 "ab\xD6\xD0"
                 "cd");                        // ab中cd
  SendMessageA(edit, EM_SETSEL, 3, 3);         // after 中: positions count characters
  SendMessageA(edit, WM_KEYDOWN, VK_LEFT, 0);  // over the double-byte character
  DWORD s = 0, e = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  EXPECT_EQ(2u, s);
  EXPECT_EQ(2u, e);
  SendMessageA(edit, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ("abcd", Text(edit));
  SendMessageA(edit, EM_SETSEL, 1, 3);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("XY"));
  EXPECT_EQ("aXYd", Text(edit));
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  EXPECT_EQ(0u, s);
  EXPECT_EQ(4u, e);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  EXPECT_EQ(s, e);
  SendMessageA(edit, EM_LIMITTEXT, 5, 0);
  SendMessageA(edit, EM_SETSEL, 4, 4);
  SendMessageA(edit, WM_CHAR, '1', 0);
  SendMessageA(edit, WM_CHAR, '2', 0);
  EXPECT_EQ("aXYd1", Text(edit));
  // The limit counts characters too.
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  SetWindowTextA(edit,
                 "\xD6\xD0"
                 "ab");
  SendMessageA(edit, EM_SETSEL, 3, 3);
  SendMessageA(edit, WM_CHAR, 'c', 0);
  EXPECT_EQ(
      "\xD6\xD0"
      "ab",
      Text(edit));
  SendMessageA(edit, EM_SETSEL, 0, 1);
  SendMessageA(edit, WM_CHAR, 'z', 0);
  EXPECT_EQ("zab", Text(edit));
}

// ---------------------------------------------------------------------------------------------
// Kernel: code page 936, paths, module file name, OLE.

TEST(Kernel, MultiByteToWideChar936) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<int> expected;
    bool strict_fails;
  } cases[] = {
      {"valid GBK",
       "\xD6\xD0\xCE\xC4"
       "a",
       {0x4E2D, 0x6587, 'a'},
       false},
      {"lone trailing lead byte", "a\xD6", {'a', 0x003F}, true},
      {"invalid pair",
       "\x81\x20"
       "b",
       {0x003F, 'b'},
       true},
      {"euro sign", "\x80", {0x20AC}, false},
      {"lead byte before the terminator", std::string("5\x81\0", 3), {'5', 0x003F, 0}, true},
  };
  for (const Case& c : cases) {
    for (UINT cp : {936u, static_cast<UINT>(CP_ACP)}) {
      WCHAR out[16] = {};
      int n = MultiByteToWideChar(cp, 0, c.bytes.data(), static_cast<int>(c.bytes.size()), out, 16);
      std::vector<int> got(out, out + (n > 0 ? n : 0));
      EXPECT_EQ(c.expected, got) << c.name;
      EXPECT_EQ(n, MultiByteToWideChar(cp, 0, c.bytes.data(), static_cast<int>(c.bytes.size()),
                                       nullptr, 0))
          << c.name;
      SetLastError(0);
      int strict = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, c.bytes.data(),
                                       static_cast<int>(c.bytes.size()), out, 16);
      EXPECT_EQ(c.strict_fails, strict == 0) << c.name;
      if (c.strict_fails) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
      }
    }
  }
}

TEST(Kernel, WideCharToMultiByte936AndUtf8) {
  const WCHAR text[] = {0x4E2D, 'x', 0x0E01, 0};  // 中, x, a Thai letter outside GBK
  char out[16] = {};
  BOOL used = FALSE;
  int n = WideCharToMultiByte(936, 0, text, -1, out, sizeof out, nullptr, &used);
  EXPECT_EQ(5, n);
  EXPECT_STREQ("\xD6\xD0x?", out);
  EXPECT_TRUE(used);
  n = WideCharToMultiByte(CP_UTF8, 0, text, 2, out, sizeof out, nullptr, nullptr);
  EXPECT_EQ(4, n);
  EXPECT_EQ(std::string("\xE4\xB8\xAD"
                        "x"),
            std::string(out, 4));
  EXPECT_EQ(0, WideCharToMultiByte(936, 0, text, -1, out, 2, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST(Kernel, LeadBytesAndCharacterSteps) {
  struct Case {
    BYTE b;
    BOOL lead;
  } cases[] = {{0x41, FALSE}, {0x80, FALSE}, {0x81, TRUE},
               {0xD6, TRUE},  {0xFE, TRUE},  {0xFF, FALSE}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.lead, IsDBCSLeadByte(c.b)) << int(c.b);
    EXPECT_EQ(c.lead, IsDBCSLeadByteEx(936, c.b)) << int(c.b);
  }
  const char* s =
      "a\xD6\xD0"
      "b";
  EXPECT_EQ(s + 1, CharNextA(s));
  EXPECT_EQ(s + 3, CharNextA(s + 1));
  EXPECT_EQ(s + 1, CharPrevA(s, s + 3));
  EXPECT_EQ(s, CharPrevA(s, s));
}

TEST(Kernel, DriveAloneMeansThatDrivesCurrentFolder) {
  char saved[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  char buf[MAX_PATH];
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\windows"));
  ASSERT_TRUE(SetCurrentDirectoryA("C:"));  // the current drive: where it already is
  GetCurrentDirectoryA(MAX_PATH, buf);
  EXPECT_STRCASEEQ("C:\\windows", buf);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\windows\\system32\\.."));
  GetCurrentDirectoryA(MAX_PATH, buf);
  EXPECT_STRCASEEQ("C:\\windows", buf);
  // Another drive's current folder, never set in this process, is its root.
  if (SetCurrentDirectoryA("Z:\\")) {
    ASSERT_TRUE(SetCurrentDirectoryA("C:"));
    DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
    EXPECT_STRCASEEQ("C:\\", buf);
    EXPECT_EQ(3u, n);
  }
  // Too small a buffer: the size needed, with the terminator.
  EXPECT_EQ(strlen(buf) + 1, GetCurrentDirectoryA(2, buf));
  SetCurrentDirectoryA(saved);
}

// Truncation fills the whole buffer and leaves out the terminator (Wine's way; Windows since
// Vista would end it with a NUL instead).
TEST(Kernel, ModuleFileNameTruncates) {
  char full[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, full, MAX_PATH);
  ASSERT_GT(n, 5u);
  EXPECT_EQ(strlen(full), n);
  char small[6];
  memset(small, 'x', sizeof small);
  SetLastError(0);
  EXPECT_EQ(5u, GetModuleFileNameA(nullptr, small, 5));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(std::string(full, 5), std::string(small, 5));
  EXPECT_EQ('x', small[5]);
}

TEST(Kernel, OleInitializeCounts) {
  EXPECT_EQ(S_OK, OleInitialize(nullptr));
  EXPECT_EQ(S_FALSE, OleInitialize(nullptr));
  OleUninitialize();
  OleUninitialize();
  EXPECT_EQ(S_OK, OleInitialize(nullptr));
  OleUninitialize();
}

TEST(Kernel, ShellFunctionBindsByName) {
  HMODULE shell = LoadLibraryA("Shell32.dll");
  ASSERT_NE(nullptr, shell);
  EXPECT_NE(nullptr, GetProcAddress(shell, "ShellExecuteA"));
  EXPECT_EQ(nullptr, GetProcAddress(shell, "NoSuchExport"));
  EXPECT_TRUE(FreeLibrary(shell));
  EXPECT_EQ(nullptr, LoadLibraryA("NoSuchModule.dll"));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
