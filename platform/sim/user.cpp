// USER32 of the simulation: classes, windows, z-order, messages, focus and activation.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "platform/sim/sim_internal.h"

namespace sim {

[[noreturn]] void Fail(const char* what) {
  fprintf(stderr, "simulation: %s\n", what);
  fflush(stderr);
  abort();
}

// Windows whose WM_NCDESTROY has been sent; kept until the reset so that a procedure still
// running on one of them never touches freed memory.
static std::vector<std::unique_ptr<Window>> g_graveyard;

Window* Find(HWND hwnd) {
  auto it = S().windows.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == S().windows.end() ? nullptr : it->second.get();
}

Window* FindLive(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !w->destroying ? w : nullptr;
}

static Window* FindOrFail(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

const WindowClass* FindClass(const std::string& name) {
  for (auto& c : S().classes) {
    if (EqualNoCase(c->name, name)) return c.get();
  }
  return nullptr;
}

static const WindowClass* FindClassArg(LPCSTR name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) {
    ATOM atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    for (auto& c : S().classes) {
      if (c->atom == atom) return c.get();
    }
    return nullptr;
  }
  return FindClass(name);
}

void RegisterSystemClasses() {
  struct System {
    const char* name;
    WNDPROC proc;
    Builtin builtin;
  };
  for (const System& sys :
       {System{"Button", ButtonProc, Builtin::kButton},
        System{"ComboBox", ComboProc, Builtin::kCombo}, System{"Edit", EditProc, Builtin::kEdit}}) {
    auto c = std::make_unique<WindowClass>();
    c->name = sys.name;
    c->proc = sys.proc;
    c->builtin = sys.builtin;
    c->atom = S().next_atom++;
    c->cursor = LoadCursorA(nullptr, IDC_ARROW);
    S().classes.push_back(std::move(c));
  }
}

void ResetUser() {
  State& s = S();
  // Drop the windows without calling their procedures: the test that made them is over.
  for (auto& entry : s.windows) g_graveyard.push_back(std::move(entry.second));
  s.windows.clear();
  g_graveyard.clear();
  s.top_levels.clear();
  s.classes.clear();
  s.next_handle = 0;
  s.next_atom = 0xC000;
  s.focus = s.active = s.capture = nullptr;
  memset(s.keys, 0, sizeof s.keys);
  s.screen_w = 1024;
  s.screen_h = 768;
  s.skew_dx = s.skew_dy = 0;
  s.create_budget = -1;
  s.queue.clear();
  s.quit = false;
  s.quit_code = 0;
  s.time = 0;
  RegisterSystemClasses();
}

static bool IsTopLevel(const Window* w) {
  return !(w->style & WS_CHILD);
}

static std::vector<HWND>& SiblingsOf(Window* w) {
  if (IsTopLevel(w)) return S().top_levels;
  return Find(w->parent)->children;
}

struct Frame {
  int side;
  int caption;
};

static Frame FrameOf(const Window* w) {
  if (!IsTopLevel(w)) return {0, 0};
  Frame f{0, 0};
  if (w->style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) f.side = 3;
  if ((w->style & WS_CAPTION) == WS_CAPTION) f.caption = 19;
  return f;
}

RECT ClientRectOf(const Window* w) {
  Frame f = FrameOf(w);
  LONG cw = w->rect.right - w->rect.left - 2 * f.side;
  LONG ch = w->rect.bottom - w->rect.top - 2 * f.side - f.caption;
  return RECT{0, 0, std::max<LONG>(cw, 0), std::max<LONG>(ch, 0)};
}

// Where a window's own rect is measured from, on the screen.
static POINT OriginOfRect(const Window* w) {
  if (IsTopLevel(w)) return POINT{0, 0};
  return ClientOriginOnScreen(Find(w->parent));
}

POINT ClientOriginOnScreen(const Window* w) {
  POINT base = OriginOfRect(w);
  Frame f = FrameOf(w);
  return POINT{base.x + w->rect.left + f.side, base.y + w->rect.top + f.side + f.caption};
}

bool IsVisibleChain(const Window* w) {
  for (;;) {
    if (!(w->style & WS_VISIBLE)) return false;
    if (IsTopLevel(w)) return true;
    w = Find(w->parent);
  }
}

HWND RootOf(HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && !IsTopLevel(w)) w = Find(w->parent);
  return w ? w->handle : nullptr;
}

static bool IsDescendant(HWND ancestor, HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && !IsTopLevel(w)) {
    if (w->parent == ancestor) return true;
    w = Find(w->parent);
  }
  return false;
}

static bool IsSelfOrDescendant(HWND ancestor, HWND hwnd) {
  return hwnd && (hwnd == ancestor || IsDescendant(ancestor, hwnd));
}

static LRESULT Send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Window* w = Find(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, msg, wparam, lparam);
}

void NotifyParent(Window* w, WORD code) {
  if (IsTopLevel(w) || !w->parent) return;
  Send(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code),
       reinterpret_cast<LPARAM>(w->handle));
}

static void InvalidateTree(Window* w) {
  w->needs_paint = true;
  w->needs_erase = true;
  for (HWND c : w->children) {
    if (Window* cw = Find(c)) InvalidateTree(cw);
  }
}

// ---------------------------------------------------------------------------------------------
// Activation and focus.

static void SetFocusWindow(HWND hwnd) {
  HWND old = S().focus;
  if (old == hwnd) return;
  S().focus = hwnd;
  if (old && Find(old)) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && S().focus == hwnd && Find(hwnd)) {
    Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
}

static void SetActive(HWND hwnd) {
  HWND old = S().active;
  if (old == hwnd) return;
  S().active = hwnd;
  if (old && Find(old)) {
    Send(old, WM_NCACTIVATE, FALSE, 0);
    Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
         reinterpret_cast<LPARAM>(hwnd));
  }
  if (hwnd && S().active == hwnd && Find(hwnd)) {
    Send(hwnd, WM_NCACTIVATE, TRUE, 0);
    Send(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hwnd) ? 1 : 0),
         reinterpret_cast<LPARAM>(old));
  }
  // The focus follows the activation when the procedure did not place it inside the window.
  if (S().active == hwnd) {
    if (!hwnd) {
      SetFocusWindow(nullptr);
    } else if (RootOf(S().focus) != hwnd) {
      SetFocusWindow(hwnd);
    }
  }
}

// Activation passes to the topmost other visible, enabled top-level window, or to none.
static void ActivateOther(HWND leaving) {
  for (HWND h : S().top_levels) {
    Window* w = FindLive(h);
    if (!w || h == leaving || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) continue;
    SetActive(h);
    return;
  }
  SetActive(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Placement.

static void MoveInZOrder(Window* w, HWND after) {
  std::vector<HWND>& sib = SiblingsOf(w);
  sib.erase(std::remove(sib.begin(), sib.end(), w->handle), sib.end());
  if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    sib.insert(sib.begin(), w->handle);
  } else if (after == HWND_BOTTOM) {
    sib.push_back(w->handle);
  } else {
    auto it = std::find(sib.begin(), sib.end(), after);
    if (it == sib.end()) {
      sib.insert(sib.begin(), w->handle);
    } else {
      sib.insert(it + 1, w->handle);
    }
  }
}

// A drop-down combo box keeps its closed height; the height asked for is the list's extent.
static int ClosedHeight(Window* w, int asked) {
  if (w->cls && w->cls->builtin == Builtin::kCombo && w->closed_height > 0) {
    w->drop_height = asked;
    return w->closed_height;
  }
  return asked;
}

static void Hide(Window* w) {
  w->style &= ~WS_VISIBLE;
  if (IsTopLevel(w)) {
    if (S().active == w->handle) ActivateOther(w->handle);
  } else if (IsSelfOrDescendant(w->handle, S().focus)) {
    SetFocusWindow(w->parent);
  }
}

// A captioned or sizable top-level window is kept within its tracking size, which the system
// sets a little above the screen's and the window may change through WM_GETMINMAXINFO.
static void LimitToTrackSize(HWND hwnd, DWORD style, int* cx, int* cy) {
  bool limited = !(style & WS_CHILD) && ((style & WS_THICKFRAME) || !(style & WS_POPUP));
  if (!limited) return;
  const int kFrames = 12;  // what Wine adds to the screen's size
  MINMAXINFO info{};
  info.ptMaxSize = {S().screen_w + kFrames, S().screen_h + kFrames};
  info.ptMaxTrackSize = info.ptMaxSize;
  Send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  *cx = std::min(*cx, static_cast<int>(info.ptMaxTrackSize.x));
  *cy = std::min(*cy, static_cast<int>(info.ptMaxTrackSize.y));
  *cx = std::max(*cx, static_cast<int>(info.ptMinTrackSize.x));
  *cy = std::max(*cy, static_cast<int>(info.ptMinTrackSize.y));
}

static BOOL SetPos(Window* w, HWND after, int x, int y, int cx, int cy, UINT flags) {
  HWND hwnd = w->handle;
  RECT old = w->rect;
  RECT now = old;
  if (!(flags & SWP_NOMOVE)) {
    now.right = x + (old.right - old.left);
    now.bottom = y + (old.bottom - old.top);
    now.left = x;
    now.top = y;
  }
  if (!(flags & SWP_NOSIZE)) {
    cy = ClosedHeight(w, cy);
    LimitToTrackSize(hwnd, w->style, &cx, &cy);
    if (!(w = FindLive(hwnd))) return FALSE;
    now.right = now.left + std::max(cx, 0);
    now.bottom = now.top + std::max(cy, 0);
  }
  bool moved = now.left != old.left || now.top != old.top;
  bool sized = (now.right - now.left) != (old.right - old.left) ||
               (now.bottom - now.top) != (old.bottom - old.top);
  UINT wp_flags = flags;
  if (!moved) wp_flags |= SWP_NOMOVE;
  if (!sized) wp_flags |= SWP_NOSIZE;
  WINDOWPOS pos{hwnd,
                after,
                static_cast<int>(now.left),
                static_cast<int>(now.top),
                static_cast<int>(now.right - now.left),
                static_cast<int>(now.bottom - now.top),
                wp_flags};
  Send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (!(w = FindLive(hwnd))) return FALSE;
  w->rect = now;
  if (after == HWND_TOPMOST) w->ex_style |= WS_EX_TOPMOST;
  if (after == HWND_NOTOPMOST) w->ex_style &= ~WS_EX_TOPMOST;
  if (!(flags & SWP_NOZORDER)) MoveInZOrder(w, after);
  if (sized) InvalidateTree(w);
  if ((flags & SWP_SHOWWINDOW) && !(w->style & WS_VISIBLE)) {
    w->style |= WS_VISIBLE;
    InvalidateTree(w);
  }
  if ((flags & SWP_HIDEWINDOW) && (w->style & WS_VISIBLE)) Hide(w);
  if (!(w = FindLive(hwnd))) return FALSE;
  if (IsTopLevel(w) && !(flags & SWP_NOACTIVATE) && (w->style & WS_VISIBLE)) SetActive(hwnd);
  if (!FindLive(hwnd)) return FALSE;
  Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return TRUE;
}

static void SendSizeAndMove(Window* w) {
  HWND hwnd = w->handle;
  RECT c = ClientRectOf(w);
  Send(hwnd, WM_SIZE, (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED,
       MAKELPARAM(c.right, c.bottom));
  if (!(w = FindLive(hwnd))) return;
  POINT o = IsTopLevel(w) ? ClientOriginOnScreen(w) : POINT{w->rect.left, w->rect.top};
  Send(hwnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
}

// ---------------------------------------------------------------------------------------------
// Destruction.

static void SendDestroy(HWND hwnd) {
  Send(hwnd, WM_DESTROY, 0, 0);
  Window* w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) {
    if (Find(c)) SendDestroy(c);
  }
}

static void SendNcDestroy(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) SendNcDestroy(c);
  Send(hwnd, WM_NCDESTROY, 0, 0);
}

static void Unlink(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) Unlink(c);
  if (IsTopLevel(w)) {
    auto& v = S().top_levels;
    v.erase(std::remove(v.begin(), v.end(), hwnd), v.end());
  } else if (Window* p = Find(w->parent)) {
    auto& v = p->children;
    v.erase(std::remove(v.begin(), v.end(), hwnd), v.end());
  }
  auto& q = S().queue;
  q.erase(std::remove_if(q.begin(), q.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
          q.end());
  if (S().focus == hwnd) S().focus = nullptr;
  if (S().active == hwnd) S().active = nullptr;
  if (S().capture == hwnd) S().capture = nullptr;
  auto it = S().windows.find(reinterpret_cast<uintptr_t>(hwnd));
  g_graveyard.push_back(std::move(it->second));
  S().windows.erase(it);
}

static void MarkDestroying(Window* w) {
  w->destroying = true;
  for (HWND c : w->children) {
    if (Window* cw = Find(c)) MarkDestroying(cw);
  }
}

}  // namespace sim

using namespace sim;

// ---------------------------------------------------------------------------------------------
// simctl: user side.

void SimSetScreenSize(int width, int height) {
  S().screen_w = width;
  S().screen_h = height;
}

void SimSetTopLevelSizeSkew(int dx, int dy) {
  S().skew_dx = dx;
  S().skew_dy = dy;
}

void SimFailCreateWindowAfter(int n) {
  S().create_budget = n;
}

void SimRefuseComboItems(std::function<bool(const std::string&, int)> refuse) {
  S().refuse_items = std::move(refuse);
}

const std::vector<SimMessageBox>& SimMessageBoxes() {
  return S().boxes;
}
void SimSetMessageBoxHook(std::function<void(const SimMessageBox&)> hook) {
  S().box_hook = std::move(hook);
}

void SimReset() {
  ResetUser();
  ResetGdi();
  ResetKernel();
}

// ---------------------------------------------------------------------------------------------
// Classes.

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName ||
      IS_INTRESOURCE(wc->lpszClassName) || wc->cbClsExtra < 0 || wc->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(wc->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_unique<WindowClass>();
  c->name = wc->lpszClassName;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->cls_extra = wc->cbClsExtra;
  c->wnd_extra = wc->cbWndExtra;
  // A class registered without an instance belongs to the program's module.
  c->instance = wc->hInstance ? wc->hInstance : GetModuleHandleA(nullptr);
  c->icon = wc->hIcon;
  c->icon_small = wc->hIconSm;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->atom = S().next_atom++;
  ATOM atom = c->atom;
  S().classes.push_back(std::move(c));
  return atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR class_name, HINSTANCE) {
  const WindowClass* c = FindClassArg(class_name);
  if (!c || c->builtin != Builtin::kNone) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (auto& entry : S().windows) {
    if (entry.second->cls == c) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  }
  auto& v = S().classes;
  v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& p) { return p.get() == c; }), v.end());
  return TRUE;
}

// A null instance asks for the system's classes only.
BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR class_name, LPWNDCLASSEXA wc) {
  const WindowClass* c = FindClassArg(class_name);
  if (c && !instance && c->builtin == Builtin::kNone) c = nullptr;
  if (!c || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->cbClsExtra = c->cls_extra;
  wc->cbWndExtra = c->wnd_extra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = class_name;
  wc->hIconSm = c->icon_small;
  return c->atom;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR class_name, int max_count) {
  Window* w = FindOrFail(hwnd);
  if (!w || max_count <= 0) return 0;
  size_t n = std::min(w->class_name.size(), static_cast<size_t>(max_count - 1));
  memcpy(class_name, w->class_name.data(), n);
  class_name[n] = 0;
  return static_cast<int>(n);
}

// ---------------------------------------------------------------------------------------------
// Creation and destruction.

HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
  State& s = S();
  const WindowClass* c = FindClassArg(class_name);
  if (!c) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent && !FindLive(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if ((style & WS_CHILD) && !parent) {
    SetLastError(1406);  // ERROR_TLW_WITH_WSCHILD
    return nullptr;
  }
  if (s.create_budget == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (s.create_budget > 0) --s.create_budget;

  auto owned = std::make_unique<Window>();
  Window* w = owned.get();
  s.next_handle += 4;
  HWND hwnd = reinterpret_cast<HWND>(0x00010000 + s.next_handle);
  w->handle = hwnd;
  w->cls = c;
  w->class_name = c->name;
  w->proc = c->proc;
  w->style = style & ~WS_VISIBLE;
  w->ex_style = ex_style;
  w->instance = instance;
  w->extra.assign(static_cast<size_t>(c->wnd_extra), 0);
  bool top = !(style & WS_CHILD);
  if (top) {
    // Overlapped windows always have a caption and clip their siblings.
    if (!(style & WS_POPUP)) w->style |= WS_CAPTION | WS_CLIPSIBLINGS;
    if (parent) w->owner = RootOf(parent);
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
      width = s.screen_w * 3 / 4;
      height = s.screen_h * 3 / 4;
    }
    width += s.skew_dx;
    height += s.skew_dy;
  } else {
    w->parent = parent;
    w->id = static_cast<LONG_PTR>(reinterpret_cast<intptr_t>(menu));
  }
  w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  w->needs_paint = w->needs_erase = true;
  s.windows[reinterpret_cast<uintptr_t>(hwnd)] = std::move(owned);
  if (top) {
    s.top_levels.insert(s.top_levels.begin(), hwnd);
  } else {
    // Children join at the bottom, so that creation order is z-order from the top.
    Find(parent)->children.push_back(hwnd);
  }

  // The first message a top-level window receives.
  if (top) {
    int cx = width, cy = height;
    LimitToTrackSize(hwnd, w->style, &cx, &cy);
    if (!(w = FindLive(hwnd))) return nullptr;
    w->rect.right = w->rect.left + std::max(cx, 0);
    w->rect.bottom = w->rect.top + std::max(cy, 0);
  }
  CREATESTRUCTA cs{
      param,       instance,   menu,    parent, height, width, y, x, static_cast<LONG>(style),
      window_name, class_name, ex_style};
  // A refused creation gets WM_NCDESTROY, but no WM_DESTROY.
  auto abort_creation = [hwnd] {
    if (Window* dead = FindLive(hwnd)) {
      MarkDestroying(dead);
      if (IsSelfOrDescendant(hwnd, S().focus)) SetFocusWindow(nullptr);
      SendNcDestroy(hwnd);
      Unlink(hwnd);
    }
    return nullptr;
  };
  if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) return abort_creation();
  if (!FindLive(hwnd)) return nullptr;
  if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) return abort_creation();
  if (!(w = FindLive(hwnd))) return nullptr;
  SendSizeAndMove(w);
  if (!FindLive(hwnd)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return FindLive(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  if (w->style & WS_VISIBLE) {
    Send(hwnd, WM_SHOWWINDOW, FALSE, 0);
    if (!(w = FindLive(hwnd))) return TRUE;
    Hide(w);
  }
  if (!(w = FindLive(hwnd))) return TRUE;
  if (S().active == hwnd) ActivateOther(hwnd);
  // Owned windows go first.
  std::vector<HWND> owned;
  for (HWND h : S().top_levels) {
    Window* o = FindLive(h);
    if (o && o->owner == hwnd) owned.push_back(h);
  }
  for (HWND h : owned) DestroyWindow(h);
  if (!(w = FindLive(hwnd))) return TRUE;
  MarkDestroying(w);
  if (IsSelfOrDescendant(hwnd, S().focus)) SetFocusWindow(IsTopLevel(w) ? nullptr : w->parent);
  if (IsSelfOrDescendant(hwnd, S().capture)) ReleaseCapture();
  SendDestroy(hwnd);
  SendNcDestroy(hwnd);
  if (IsSelfOrDescendant(hwnd, S().focus)) S().focus = nullptr;
  Unlink(hwnd);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) {
  return Find(hwnd) != nullptr;
}

// ---------------------------------------------------------------------------------------------
// Window procedures.

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      switch (wparam & 0xFFF0) {
        case SC_CLOSE:
          return Send(hwnd, WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
          ShowWindow(hwnd, SW_MINIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(hwnd, SW_RESTORE);
          return 0;
      }
      return 0;
    case WM_SYSKEYDOWN:
      if (wparam == VK_F4 && (lparam & (1 << 29))) {
        PostMessageA(RootOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && !HIWORD(wparam)) SetFocus(hwnd);
      return 0;
    case WM_SETTEXT:
      w->text = lparam ? reinterpret_cast<const char*>(lparam) : "";
      return TRUE;
    case WM_GETTEXT: {
      if (wparam == 0 || !lparam) return 0;
      char* out = reinterpret_cast<char*>(lparam);
      size_t n = std::min(w->text.size(), static_cast<size_t>(wparam - 1));
      memcpy(out, w->text.data(), n);
      out[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETICON: {
      HICON icon = reinterpret_cast<HICON>(lparam);
      HICON old = wparam == ICON_BIG ? w->icon_big : w->icon_small;
      (wparam == ICON_BIG ? w->icon_big : w->icon_small) = icon;
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(wparam == ICON_BIG ? w->icon_big : w->icon_small);
    case WM_ERASEBKGND: {
      if (!w->cls || !w->cls->background) return 0;
      RECT r = ClientRectOf(w);
      FillRect(reinterpret_cast<HDC>(wparam), &r, w->cls->background);
      return 1;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<const WINDOWPOS*>(lparam);
      if (!pos || !(pos->flags & SWP_NOSIZE) || !(pos->flags & SWP_NOMOVE)) {
        // WM_SIZE then WM_MOVE, each only for what changed.
        RECT c = ClientRectOf(w);
        if (!pos || !(pos->flags & SWP_NOSIZE)) {
          Send(hwnd, WM_SIZE, (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED,
               MAKELPARAM(c.right, c.bottom));
        }
        if (!(w = FindLive(hwnd))) return 0;
        if (!pos || !(pos->flags & SWP_NOMOVE)) {
          POINT o = IsTopLevel(w) ? ClientOriginOnScreen(w) : POINT{w->rect.left, w->rect.top};
          Send(hwnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
        }
      }
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      bool edit = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(edit ? COLOR_WINDOW : COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    case WM_NCACTIVATE:
      return TRUE;
  }
  return 0;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return proc ? proc(hwnd, msg, wparam, lparam) : 0;
}

static LONG_PTR GetLong(HWND hwnd, int index, size_t size) {
  Window* w = FindOrFail(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->ex_style);
    case GWL_ID:
      return w->id;
    case GWL_USERDATA:
      return w->user_data;
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(IsTopLevel(w) ? w->owner : w->parent);
  }
  if (index < 0 || static_cast<size_t>(index) + size > w->extra.size()) {
    SetLastError(1413);  // ERROR_INVALID_INDEX
    return 0;
  }
  if (size == sizeof(LONG)) {
    LONG v;
    memcpy(&v, &w->extra[index], sizeof v);
    return v;
  }
  LONG_PTR v;
  memcpy(&v, &w->extra[index], sizeof v);
  return v;
}

static LONG_PTR SetLong(HWND hwnd, int index, LONG_PTR value, size_t size) {
  Window* w = FindOrFail(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetLong(hwnd, index, size);
  switch (index) {
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      return old;
    case GWL_EXSTYLE:
      w->ex_style = static_cast<DWORD>(value);
      return old;
    case GWL_ID:
      w->id = value;
      return old;
    case GWL_USERDATA:
      w->user_data = value;
      return old;
    case GWL_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWL_HWNDPARENT:
      if (IsTopLevel(w)) w->owner = reinterpret_cast<HWND>(value);
      return old;
  }
  if (index < 0 || static_cast<size_t>(index) + size > w->extra.size()) return 0;
  if (size == sizeof(LONG)) {
    LONG v = static_cast<LONG>(value);
    memcpy(&w->extra[index], &v, sizeof v);
  } else {
    memcpy(&w->extra[index], &value, sizeof value);
  }
  return old;
}

// The 32-bit accessors cannot carry a pointer in this 64-bit build; the pointer-sized ones must
// be used for those indexes (as 64-bit Windows requires too).
static void CheckLongIndex(int index) {
  if (index == GWL_WNDPROC || index == GWL_HINSTANCE || index == GWL_HWNDPARENT) {
    Fail("Get/SetWindowLongA with a pointer index; use Get/SetWindowLongPtrA");
  }
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
  CheckLongIndex(index);
  return static_cast<LONG>(GetLong(hwnd, index, sizeof(LONG)));
}

LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) {
  CheckLongIndex(index);
  return static_cast<LONG>(SetLong(hwnd, index, value, sizeof(LONG)));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
  return GetLong(hwnd, index, sizeof(LONG_PTR));
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  return SetLong(hwnd, index, value, sizeof(LONG_PTR));
}

// ---------------------------------------------------------------------------------------------
// Messages.

static bool InRange(UINT msg, UINT lo, UINT hi) {
  return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi);
}

static bool ForWindow(HWND filter, HWND target) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
  return target == filter || IsDescendant(filter, target);
}

// Parents paint before their children; top-level windows in z-order.
static HWND FindPaint(HWND hwnd, HWND filter) {
  Window* w = Find(hwnd);
  if (!w || w->destroying || !(w->style & WS_VISIBLE)) return nullptr;
  if (w->needs_paint && ForWindow(filter, hwnd)) return hwnd;
  for (HWND c : w->children) {
    if (HWND p = FindPaint(c, filter)) return p;
  }
  return nullptr;
}

static HWND NextPaint(HWND filter) {
  for (HWND h : S().top_levels) {
    if (HWND p = FindPaint(h, filter)) return p;
  }
  return nullptr;
}

static BOOL Peek(LPMSG msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
  State& s = S();
  for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
    if (!ForWindow(hwnd, it->hwnd) || !InRange(it->message, lo, hi)) continue;
    *msg = *it;
    if (remove & PM_REMOVE) s.queue.erase(it);
    return TRUE;
  }
  if (s.quit) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quit_code), 0, s.time, {0, 0}};
    if (remove & PM_REMOVE) s.quit = false;
    return TRUE;
  }
  if (InRange(WM_PAINT, lo, hi)) {
    if (HWND p = NextPaint(hwnd)) {
      *msg = MSG{p, WM_PAINT, 0, 0, s.time, {0, 0}};
      return TRUE;
    }
  }
  return FALSE;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) {
  return Peek(msg, hwnd, filter_min, filter_max, remove);
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filter_min, UINT filter_max) {
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !Find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  if (!Peek(msg, hwnd, filter_min, filter_max, PM_REMOVE)) {
    Fail("GetMessage would wait forever (no message posted, no quit, nothing to paint)");
  }
  return msg->message != WM_QUIT;
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (hwnd && !FindOrFail(hwnd)) return FALSE;
  S().queue.push_back(MSG{hwnd, msg, wparam, lparam, ++S().time, {0, 0}});
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!FindOrFail(hwnd)) return 0;
  return Send(hwnd, msg, wparam, lparam);
}

void WINAPI PostQuitMessage(int exit_code) {
  S().quit = true;
  S().quit_code = exit_code;
}

static bool KeyDown(int vk) {
  return (GetKeyState(vk) & 0x8000) != 0;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
    return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  }
  int vk = static_cast<int>(msg->wParam);
  bool shift = KeyDown(VK_SHIFT);
  int ch = -1;
  switch (vk) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
      ch = vk;
      break;
    default:
      if (vk >= 'A' && vk <= 'Z') {
        if (KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
          ch = vk - 'A' + 1;
        } else {
          ch = shift ? vk : vk - 'A' + 'a';
        }
      } else if (vk >= '0' && vk <= '9') {
        ch = shift ? ")!@#$%^&*("[vk - '0'] : vk;
      }
  }
  if (ch >= 0) {
    UINT char_msg = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    S().queue.push_back(
        MSG{msg->hwnd, char_msg, static_cast<WPARAM>(ch), msg->lParam, ++S().time, {0, 0}});
  }
  // Key messages count as translated whether or not they produced a character.
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  if (!FindOrFail(msg->hwnd)) return 0;
  return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

// ---------------------------------------------------------------------------------------------
// Showing, placing, relating.

BOOL WINAPI ShowWindow(HWND hwnd, int cmd_show) {
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  bool was = (w->style & WS_VISIBLE) != 0;
  bool show = cmd_show != SW_HIDE;
  bool activate = cmd_show == SW_SHOWNORMAL || cmd_show == SW_SHOW ||
                  cmd_show == SW_SHOWMAXIMIZED || cmd_show == SW_RESTORE ||
                  cmd_show == SW_SHOWDEFAULT || cmd_show == SW_SHOWMINIMIZED;
  if (!show) {
    if (!was) return FALSE;
    Send(hwnd, WM_SHOWWINDOW, FALSE, 0);
    if ((w = FindLive(hwnd))) Hide(w);
    return TRUE;
  }
  if (!was) {
    Send(hwnd, WM_SHOWWINDOW, TRUE, 0);
    if (!(w = FindLive(hwnd))) return FALSE;
  }
  switch (cmd_show) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
      break;
    case SW_SHOWMAXIMIZED:
      w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
      break;
  }
  if (!was) {
    w->style |= WS_VISIBLE;
    InvalidateTree(w);
  }
  if (IsTopLevel(w)) {
    if (activate) {
      SetActive(hwnd);
    } else if (cmd_show == SW_MINIMIZE && S().active == hwnd) {
      ActivateOther(hwnd);
    }
  }
  return was;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && IsVisibleChain(w);
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI IsIconic(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  bool was_disabled = (w->style & WS_DISABLED) != 0;
  if (enable && was_disabled) {
    w->style &= ~WS_DISABLED;
    Send(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !was_disabled) {
    Send(hwnd, WM_CANCELMODE, 0, 0);
    if (!(w = FindLive(hwnd))) return FALSE;
    w->style |= WS_DISABLED;
    if (IsSelfOrDescendant(hwnd, S().focus)) SetFocusWindow(nullptr);
    Send(hwnd, WM_ENABLE, FALSE, 0);
  }
  return was_disabled;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  return SetPos(w, insert_after, x, y, cx, cy, flags);
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = FindOrFail(hwnd);
  if (!w || !rect) return FALSE;
  POINT o = OriginOfRect(w);
  *rect = RECT{o.x + w->rect.left, o.y + w->rect.top, o.x + w->rect.right, o.y + w->rect.bottom};
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = FindOrFail(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ClientRectOf(w);
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = FindOrFail(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOriginOnScreen(w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = FindOrFail(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOriginOnScreen(w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

HWND WINAPI GetParent(HWND hwnd) {
  Window* w = FindOrFail(hwnd);
  if (!w) return nullptr;
  if (!IsTopLevel(w)) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
  Window* w = FindOrFail(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return IsTopLevel(w) ? nullptr : w->parent;
    case GA_ROOT:
      return RootOf(hwnd);
    case GA_ROOTOWNER: {
      HWND h = RootOf(hwnd);
      while (Window* r = Find(h)) {
        if (!r->owner) break;
        h = RootOf(r->owner);
      }
      return h;
    }
  }
  return nullptr;
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
  return IsDescendant(parent, hwnd);
}

HWND WINAPI GetWindow(HWND hwnd, UINT cmd) {
  Window* w = FindOrFail(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return IsTopLevel(w) ? w->owner : nullptr;
  std::vector<HWND>& sib = SiblingsOf(w);
  auto it = std::find(sib.begin(), sib.end(), hwnd);
  switch (cmd) {
    case GW_HWNDFIRST:
      return sib.front();
    case GW_HWNDLAST:
      return sib.back();
    case GW_HWNDNEXT:
      return (it == sib.end() || it + 1 == sib.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return (it == sib.end() || it == sib.begin()) ? nullptr : *(it - 1);
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Window* w = FindOrFail(dialog);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = Find(c);
    if (cw && static_cast<int>(cw->id) == id) return c;
  }
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
  Window* w = FindOrFail(hwnd);
  if (!w || IsTopLevel(w)) return 0;
  return static_cast<int>(w->id);
}

// ---------------------------------------------------------------------------------------------
// Focus, activation, keyboard, capture.

HWND WINAPI GetFocus(void) {
  return S().focus;
}

HWND WINAPI SetFocus(HWND hwnd) {
  HWND old = S().focus;
  if (!hwnd) {
    SetFocusWindow(nullptr);
    return old;
  }
  Window* w = FindOrFail(hwnd);
  if (!w) return nullptr;
  if (hwnd == old) return old;
  // A window inside a minimized or disabled one cannot take the focus.
  for (Window* a = w; a; a = IsTopLevel(a) ? nullptr : Find(a->parent)) {
    if (a->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
  }
  HWND root = RootOf(hwnd);
  if (S().active != root) {
    SetActive(root);
    if (S().active != root || !Find(hwnd)) return nullptr;
    old = S().focus;
    if (old == hwnd) return old;
  }
  SetFocusWindow(hwnd);
  return old;
}

HWND WINAPI GetActiveWindow(void) {
  return S().active;
}

HWND WINAPI SetActiveWindow(HWND hwnd) {
  HWND old = S().active;
  if (hwnd) {
    Window* w = FindOrFail(hwnd);
    if (!w || !IsTopLevel(w)) return nullptr;
  }
  SetActive(hwnd);
  return old;
}

HWND WINAPI GetForegroundWindow(void) {
  return S().active;
}

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  SetActive(RootOf(hwnd));
  return TRUE;
}

// Each key for itself: VK_SHIFT is down only when the state says so, whatever VK_LSHIFT says
// (Wine keeps them apart too; real input sets both).
SHORT WINAPI GetKeyState(int vk) {
  BYTE v = S().keys[vk & 0xFF];
  return static_cast<SHORT>(((v & 0x80) ? 0xFF80 : 0) | (v & 1));
}

SHORT WINAPI GetAsyncKeyState(int vk) {
  return static_cast<SHORT>((GetKeyState(vk) & 0x8000) ? 0x8000 : 0);
}

BOOL WINAPI GetKeyboardState(PBYTE key_state) {
  if (!key_state) return FALSE;
  memcpy(key_state, S().keys, 256);
  return TRUE;
}

BOOL WINAPI SetKeyboardState(LPBYTE key_state) {
  if (!key_state) return FALSE;
  memcpy(S().keys, key_state, 256);
  return TRUE;
}

HWND WINAPI SetCapture(HWND hwnd) {
  HWND old = S().capture;
  if (!FindLive(hwnd)) return old;
  S().capture = hwnd;
  if (old && old != hwnd && Find(old)) {
    Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  }
  return old;
}

BOOL WINAPI ReleaseCapture(void) {
  HWND old = S().capture;
  S().capture = nullptr;
  if (old && Find(old)) Send(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND WINAPI GetCapture(void) {
  return S().capture;
}

// ---------------------------------------------------------------------------------------------
// Text and message boxes.

int WINAPI GetWindowTextA(HWND hwnd, LPSTR text, int max_count) {
  if (!text || max_count <= 0) return 0;
  text[0] = 0;
  if (!FindOrFail(hwnd)) return 0;
  return static_cast<int>(
      Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(max_count), reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
  if (!FindOrFail(hwnd)) return 0;
  return static_cast<int>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!FindOrFail(hwnd)) return FALSE;
  return Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  SimMessageBox box{owner, text ? text : "", caption ? caption : "Error", type};
  S().boxes.push_back(box);
  if (S().box_hook) S().box_hook(box);
  return IDOK;
}

BOOL WINAPI MessageBeep(UINT) {
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Painting: the update state. Drawing itself is in gdi.cpp.

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
  if (!hwnd) {
    for (auto& entry : S().windows) {
      entry.second->needs_paint = true;
      entry.second->needs_erase = entry.second->needs_erase || erase;
    }
    return TRUE;
  }
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  w->needs_paint = true;
  if (erase) w->needs_erase = true;
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT*) {
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  w->needs_paint = w->needs_erase = false;
  return TRUE;
}

static void UpdateTree(HWND hwnd) {
  Window* w = FindLive(hwnd);
  if (!w || !(w->style & WS_VISIBLE)) return;
  if (w->needs_paint) Send(hwnd, WM_PAINT, 0, 0);
  if (!(w = FindLive(hwnd))) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) UpdateTree(c);
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  Window* w = FindOrFail(hwnd);
  if (!w) return FALSE;
  if (IsVisibleChain(w)) UpdateTree(hwnd);
  return TRUE;
}
