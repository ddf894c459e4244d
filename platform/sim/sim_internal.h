// State shared by the parts of the simulation. One process, one thread: plain globals.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/simctl.h"
#include "platform/sim/windows.h"

namespace sim {

// Case-insensitive ASCII comparison, as window class and module names compare.
bool EqualNoCase(const std::string& a, const std::string& b);
std::string Lower(std::string s);

enum class Builtin { kNone, kButton, kCombo, kEdit };

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cls_extra = 0;
  int wnd_extra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON icon_small = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  Builtin builtin = Builtin::kNone;
  ATOM atom = 0;
};

struct ComboItem {
  std::string text;
  LONG_PTR data = 0;
};

struct Window {
  HWND handle = nullptr;
  const WindowClass* cls = nullptr;  // stays valid: classes with windows cannot be unregistered
  std::string class_name;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD ex_style = 0;
  HWND parent = nullptr;  // children only
  HWND owner = nullptr;   // top-level only
  HINSTANCE instance = nullptr;
  LONG_PTR id = 0;
  LONG_PTR user_data = 0;
  std::vector<unsigned char> extra;
  std::string text;
  RECT rect = {0, 0, 0, 0};    // top-level: screen; child: parent's client coordinates
  std::vector<HWND> children;  // z-order, top first
  bool needs_paint = false;
  bool needs_erase = false;
  bool destroying = false;
  HICON icon_small = nullptr;
  HICON icon_big = nullptr;
  HFONT font = nullptr;

  // BUTTON.
  int check = BST_UNCHECKED;
  bool pushed = false;
  bool space_down = false;

  // COMBOBOX.
  std::vector<ComboItem> items;
  int cur_sel = -1;
  HWND edit = nullptr;
  bool dropped = false;
  int edit_height = 0;
  int closed_height = 0;  // 0 while the box is not laid out, or for CBS_SIMPLE
  bool combo_focused = false;
  int caret_item = 0;  // the list's caret: what an arrow picks when nothing is selected
  bool keyed = false;  // the selection was made with the arrows: typing keeps it
  int item_height = 0;
  int drop_height = 0;

  // EDIT.
  int sel_start = 0;
  int sel_end = 0;
  int limit = 0;          // 0: the largest
  BYTE pending_lead = 0;  // a lead byte whose WM_CHAR came without its trail byte yet
};

struct State {
  // Windows.
  std::vector<std::unique_ptr<WindowClass>> classes;
  std::map<uintptr_t, std::unique_ptr<Window>> windows;
  std::vector<HWND> top_levels;  // z-order, top first
  uintptr_t next_handle = 0;
  ATOM next_atom = 0xC000;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  BYTE keys[256] = {};
  int screen_w = 1024;
  int screen_h = 768;
  int skew_dx = 0;
  int skew_dy = 0;
  int create_budget = -1;

  // Messages.
  std::deque<MSG> queue;
  bool quit = false;
  int quit_code = 0;
  DWORD time = 0;

  // Kernel.
  DWORD last_error = 0;
  std::string module_file = "C:\\Program Files\\Recharge\\recharge.exe";
  std::string current_dir = "C:\\Users\\test";
  std::vector<std::string> set_dir_calls;
  size_t heap_allocations = 0;
  std::map<void*, size_t> heap_blocks;
  size_t heap_bytes = 0;
  int heap_budget = -1;
  std::vector<SimModule> modules;
  std::vector<int> module_refs;
  std::vector<std::string> module_log;
  int ole_count = 0;
  int ole_init_calls = 0;

  // Shell, boxes, combo refusals.
  std::vector<SimShellCall> shell_calls;
  intptr_t shell_result = 42;
  std::function<void(const SimShellCall&)> shell_hook;
  std::vector<SimMessageBox> boxes;
  std::function<void(const SimMessageBox&)> box_hook;
  std::function<bool(const std::string&, int)> refuse_items;

  // GDI.
  std::vector<SimPaintOp> paint_log;
};

State& S();

// Reports a misuse of the simulation (or a test that could never finish) and aborts.
[[noreturn]] void Fail(const char* what);

// Window table.
Window* Find(HWND hwnd);
Window* FindLive(HWND hwnd);  // also not yet destroyed
const WindowClass* FindClass(const std::string& name);
void RegisterSystemClasses();
void ResetUser();
void ResetGdi();
void ResetKernel();

// Internals used across files.
RECT ClientRectOf(const Window* w);
POINT ClientOriginOnScreen(const Window* w);
bool IsVisibleChain(const Window* w);
HWND RootOf(HWND hwnd);
void NotifyParent(Window* w, WORD code);  // WM_COMMAND(id, code) to the parent

// Built-in window procedures.
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);

// The recording shell function.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir, INT show);

}  // namespace sim
