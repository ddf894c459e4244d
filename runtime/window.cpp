// Building windows and controls from their records, the window and label procedures, and the
// loading of a window.
#include "runtime/internal.h"

const char kRtWindowClass[] = "RechargeRtWindow";
const char kRtLabelClass[] = "RechargeRtLabel";
const char kRtOwnerClass[] = "RechargeRtOwner";

namespace {

// Dropped-down kinds of combo box are never created lower than this: the height bounds the list.
const int32_t kMinimumComboHeight = 160;

COLORREF ColorOf(uint32_t stored) {
  return stored == kRtSystemButtonFace ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(stored);
}

RtWindowState* WindowOfHandle(HWND hwnd) {
  for (uint32_t i = 0; i < g_rt.window_count; ++i)
    if (g_rt.windows[i].self.hwnd && g_rt.windows[i].self.hwnd == hwnd) return &g_rt.windows[i];
  return nullptr;
}

RtRecordState* ControlOfHandle(RtWindowState* window, HWND hwnd) {
  for (uint32_t c = 0; c < window->control_count; ++c)
    if (window->controls[c].hwnd == hwnd) return &window->controls[c];
  return nullptr;
}

void Raise(RtWindowState* window, RtRecordState* record, int32_t event) {
  RtRaiseEvent(window->number, record->record->number, event);
}

// Focus events of the loaded window only: loading raises the first one itself.
void RaiseFocusEvent(RtWindowState* window, RtRecordState* record, bool gained) {
  if (window->loaded) Raise(window, record, gained ? kRtEventGotFocus : kRtEventLostFocus);
}

void OnCommand(RtWindowState* window, HWND control, UINT code) {
  RtRecordState* record = ControlOfHandle(window, control);
  if (!record) return;
  switch (record->record->kind) {
    case kRtKindButton:
    case kRtKindRadio:
      if (code == BN_CLICKED) Raise(window, record, kRtEventClicked);
      break;
    case kRtKindCombo:
      if (code == CBN_SELCHANGE) Raise(window, record, kRtEventComboSelChange);
      if (code == CBN_EDITCHANGE) Raise(window, record, kRtEventComboEditChange);
      if (code == CBN_DROPDOWN) Raise(window, record, kRtEventComboDropDown);
      if (code == CBN_CLOSEUP) Raise(window, record, kRtEventComboCloseUp);
      if (code == CBN_SETFOCUS || code == CBN_KILLFOCUS)
        RaiseFocusEvent(window, record, code == CBN_SETFOCUS);
      break;
  }
}

bool CanTakeFocus(HWND hwnd) {
  return hwnd && IsWindow(hwnd) && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

// The focus goes back to the control that last had it, else to the first in tab order.
void RestoreFocus(RtWindowState* window) {
  if (CanTakeFocus(window->last_focus)) {
    SetFocus(window->last_focus);
    return;
  }
  RtRecordState* order[kRtMaxControls];
  if (RtTabOrder(window, order) > 0) SetFocus(order[0]->hwnd);
}

void Forget(RtWindowState* window) {
  window->self.hwnd = nullptr;
  for (uint32_t c = 0; c < window->control_count; ++c) window->controls[c].hwnd = nullptr;
  window->loaded = false;
  window->last_focus = nullptr;
}

// The window keeps its stored size on any screen: the system's tracking limit, a little above
// the screen's size, would otherwise shrink it on a small screen.
void AllowStoredSize(const RtWindowState* window, MINMAXINFO* info) {
  const RtRecord& self = *window->self.record;
  if (info->ptMaxTrackSize.x < self.width) info->ptMaxTrackSize.x = self.width;
  if (info->ptMaxTrackSize.y < self.height) info->ptMaxTrackSize.y = self.height;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETMINMAXINFO) {
    // Sent before WM_NCCREATE too, while the window is being created.
    RtWindowState* window = WindowOfHandle(hwnd);
    if (!window) window = g_rt.building;
    if (window) AllowStoredSize(window, reinterpret_cast<MINMAXINFO*>(lparam));
    return 0;
  }
  if (message == WM_NCCREATE) {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    static_cast<RtWindowState*>(create->lpCreateParams)->self.hwnd = hwnd;
  }
  RtWindowState* window = WindowOfHandle(hwnd);
  if (!window) return DefWindowProcA(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_SETFONT:
      window->font = reinterpret_cast<HFONT>(wparam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(window->font);
    case WM_COMMAND:
      if (lparam) OnCommand(window, reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        RtRecordState* focused = RtRecordOfWindow(window, GetFocus());
        if (focused && focused != &window->self) window->last_focus = focused->hwnd;
      }
      break;
    case WM_SETFOCUS:
      RestoreFocus(window);
      return 0;
    case WM_MOVE:
      // The moves and sizes of building and showing are no events: loading raises its own.
      if (window->loaded) Raise(window, &window->self, kRtEventMoved);
      break;
    case WM_SIZE:
      if (window->loaded) Raise(window, &window->self, kRtEventResized);
      break;
    case WM_CLOSE:
      Raise(window, &window->self, kRtEventCloseRequest);
      if (IsWindow(hwnd)) Raise(window, &window->self, kRtEventCloseQuery);
      if (IsWindow(hwnd)) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      Raise(window, &window->self, kRtEventDestroyed);
      return 0;
    case WM_NCDESTROY:
      Forget(window);
      if (g_rt.loop_running && !RtAnyWindowExists()) PostQuitMessage(0);
      break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// Buttons tell their parent nothing of the focus (without BS_NOTIFY, which is no style of
// theirs), so the run time listens to them directly.
WNDPROC g_button_procedure;

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = CallWindowProcA(g_button_procedure, hwnd, message, wparam, lparam);
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
    RtWindowState* window = WindowOfHandle(GetParent(hwnd));
    RtRecordState* record = window ? ControlOfHandle(window, hwnd) : nullptr;
    if (record) RaiseFocusEvent(window, record, message == WM_SETFOCUS);
  }
  return result;
}

const RtLabelSettings* LabelSettings(HWND hwnd) {
  const RtRecordState* state =
      reinterpret_cast<const RtRecordState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  return state ? static_cast<const RtLabelSettings*>(state->record->settings) : nullptr;
}

void PaintLabel(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  const RtLabelSettings* settings = LabelSettings(hwnd);
  if (dc && settings) {
    bool system_brush = settings->back_color == kRtSystemButtonFace;
    HBRUSH brush = system_brush ? GetSysColorBrush(COLOR_BTNFACE)
                                : CreateSolidBrush(ColorOf(settings->back_color));
    FillRect(dc, &paint.rcPaint, brush);
    if (!system_brush) DeleteObject(brush);
    int length = GetWindowTextLengthA(hwnd);
    if (length > 0) {
      char* text = static_cast<char*>(RtAllocate(static_cast<uint32_t>(length) + 1));
      GetWindowTextA(hwnd, text, length + 1);
      RECT client;
      GetClientRect(hwnd, &client);
      HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
      SetTextColor(dc, ColorOf(settings->text_color));
      SetBkMode(dc, TRANSPARENT);
      DrawTextA(dc, text, -1, &client, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
      SelectObject(dc, old_font);
      RtRelease(text);
    }
  }
  EndPaint(hwnd, &paint);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE: {
      const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint fills the background itself
    case WM_PAINT:
      PaintLabel(hwnd);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

ATOM RegisterOne(const char* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = g_rt.instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExA(&wc);
}

DWORD HorizontalAlignment(int32_t value) {
  return value == 1 ? BS_CENTER : value == 2 ? BS_RIGHT : BS_LEFT;
}

DWORD VerticalAlignment(int32_t value) {
  return value == 0 ? BS_TOP : value == 2 ? BS_BOTTOM : BS_VCENTER;
}

HWND CreateControl(RtWindowState* window, RtRecordState* state) {
  const RtRecord& record = *state->record;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (record.flags & kRtTabStop) style |= WS_TABSTOP;
  if (record.flags & kRtDisabled) style |= WS_DISABLED;
  const char* class_name = nullptr;
  const char* text = "";
  int32_t height = record.height;
  switch (record.kind) {
    case kRtKindLabel:
      class_name = kRtLabelClass;
      text = static_cast<const RtLabelSettings*>(record.settings)->text;
      break;
    case kRtKindButton: {
      const RtButtonSettings* button = static_cast<const RtButtonSettings*>(record.settings);
      class_name = "BUTTON";
      text = button->text;
      style |= (button->button_type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE |
               HorizontalAlignment(button->horizontal_alignment) |
               VerticalAlignment(button->vertical_alignment);
      break;
    }
    case kRtKindRadio: {
      const RtRadioSettings* radio = static_cast<const RtRadioSettings*>(record.settings);
      class_name = "BUTTON";
      text = radio->text;
      style |= BS_AUTORADIOBUTTON | BS_MULTILINE |
               HorizontalAlignment(radio->horizontal_alignment) |
               VerticalAlignment(radio->vertical_alignment);
      break;
    }
    case kRtKindCombo:
      class_name = "COMBOBOX";
      style |= WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
      if (height < kMinimumComboHeight) height = kMinimumComboHeight;
      break;
    default:
      return nullptr;
  }
  HMENU id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(record.number & 0xFFFF));
  HWND hwnd = CreateWindowExA(0, class_name, text ? text : "", style, record.left, record.top,
                              record.width, height, window->self.hwnd, id, g_rt.instance, state);
  state->hwnd = hwnd;
  if (!hwnd) return nullptr;
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(window->font), FALSE);
  if (record.kind == kRtKindButton || record.kind == kRtKindRadio) {
    LONG_PTR button = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc));
    g_button_procedure = reinterpret_cast<WNDPROC>(button);
  }
  if (record.kind == kRtKindRadio) {
    bool checked = static_cast<const RtRadioSettings*>(record.settings)->checked != 0;
    SendMessageA(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (record.kind == kRtKindCombo) {
    SendMessageA(hwnd, CB_LIMITTEXT, 0, 0);
    LRESULT item_height = SendMessageA(hwnd, CB_GETITEMHEIGHT, 0, 0);
    if (item_height > 0) SendMessageA(hwnd, CB_SETITEMHEIGHT, 0, item_height + 1);
    SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  return hwnd;
}

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(
      LoadImageA(g_rt.instance, "DEFAULT_ICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

bool RtRegisterClasses(void) {
  bool ok = RegisterOne(kRtWindowClass, WindowProc, GetSysColorBrush(COLOR_BTNFACE)) != 0;
  ok = RegisterOne(kRtLabelClass, LabelProc, nullptr) != 0 && ok;
  return RegisterOne(kRtOwnerClass, DefWindowProcA, nullptr) != 0 && ok;
}

void RtUnregisterClasses(void) {
  UnregisterClassA(kRtWindowClass, g_rt.instance);
  UnregisterClassA(kRtLabelClass, g_rt.instance);
  UnregisterClassA(kRtOwnerClass, g_rt.instance);
}

uint32_t RtTabOrder(RtWindowState* window, RtRecordState** order) {
  uint32_t count = 0;
  for (uint32_t c = 0; c < window->control_count; ++c) {
    RtRecordState* control = &window->controls[c];
    if (!(control->record->flags & kRtTabStop) || !CanTakeFocus(control->hwnd)) continue;
    // Insertion by (tab-order value, control number).
    uint32_t at = count++;
    while (at > 0) {
      const RtRecord* before = order[at - 1]->record;
      const RtRecord* mine = control->record;
      bool after = before->tab_order < mine->tab_order ||
                   (before->tab_order == mine->tab_order && before->number < mine->number);
      if (after) break;
      order[at] = order[at - 1];
      --at;
    }
    order[at] = control;
  }
  return count;
}

RtRecordState* RtRecordOfWindow(RtWindowState* window, HWND hwnd) {
  if (!hwnd || !window->self.hwnd) return nullptr;
  if (hwnd == window->self.hwnd) return &window->self;
  for (uint32_t c = 0; c < window->control_count; ++c) {
    RtRecordState* control = &window->controls[c];
    if (!control->hwnd) continue;
    // A combo box's focus sits on its edit field, a child of the box.
    if (hwnd == control->hwnd || GetParent(hwnd) == control->hwnd) return control;
  }
  return nullptr;
}

RtWindowState* RtWindowOfMessage(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (uint32_t i = 0; i < g_rt.window_count; ++i) {
    HWND top = g_rt.windows[i].self.hwnd;
    if (top && (hwnd == top || IsChild(top, hwnd))) return &g_rt.windows[i];
  }
  return nullptr;
}

bool RtAnyWindowExists(void) {
  for (uint32_t i = 0; i < g_rt.window_count; ++i)
    if (g_rt.windows[i].self.hwnd) return true;
  return false;
}

bool RtBuildWindow(RtWindowState* window) {
  const RtRecord& self = window->layout->self;
  // Centred on the primary screen, with no clamping: a small screen leaves part of it off.
  int32_t x = (GetSystemMetrics(SM_CXSCREEN) - self.width) / 2;
  int32_t y = (GetSystemMetrics(SM_CYSCREEN) - self.height) / 2;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (self.flags & kRtDisabled) style |= WS_DISABLED;
  g_rt.building = window;
  HWND hwnd = CreateWindowExA(0, kRtWindowClass, "", style, x, y, self.width, self.height, nullptr,
                              nullptr, g_rt.instance, window);
  g_rt.building = nullptr;
  if (!hwnd) {
    window->self.hwnd = nullptr;
    return false;
  }
  RECT outer;
  GetWindowRect(hwnd, &outer);
  if (outer.right - outer.left != self.width || outer.bottom - outer.top != self.height)
    SetWindowPos(hwnd, nullptr, x, y, self.width, self.height, SWP_NOZORDER | SWP_NOACTIVATE);

  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (!g_rt.icons[0]) g_rt.icons[0] = LoadProgramIcon(32);
  if (!g_rt.icons[1]) g_rt.icons[1] = LoadProgramIcon(16);
  if (g_rt.icons[0])
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_rt.icons[0]));
  if (g_rt.icons[1])
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_rt.icons[1]));

  // Created in ascending order of control number...
  bool created[kRtMaxControls] = {};
  for (uint32_t made = 0; made < window->control_count; ++made) {
    uint32_t next = window->control_count;
    for (uint32_t c = 0; c < window->control_count; ++c)
      if (!created[c] &&
          (next == window->control_count ||
           window->controls[c].record->number < window->controls[next].record->number))
        next = c;
    created[next] = true;
    if (!CreateControl(window, &window->controls[next])) return false;
  }
  // ...then stacked in stored order, the first on top.
  HWND above = HWND_TOP;
  for (uint32_t c = 0; c < window->control_count; ++c) {
    HWND control = window->controls[c].hwnd;
    SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control;
  }
  for (uint32_t c = 0; c < window->control_count; ++c)
    ShowWindow(window->controls[c].hwnd,
               (window->controls[c].record->flags & kRtVisible) ? SW_SHOWNA : SW_HIDE);
  return true;
}

void RtLoadWindow(uint32_t window_number) {
  RtWindowState* window = RtFindWindow(window_number);
  if (!window) RtFatalError(0, "载入启动窗口失败");
  if (window->self.hwnd) return;  // already there
  RtDoEvents();
  ++g_rt.hold;
  bool built = RtBuildWindow(window);
  RtDoEvents();  // the notifications of building, dropped while held
  --g_rt.hold;
  if (!built) RtFatalError(0, "载入启动窗口失败");

  uint32_t self = window->self.record->number;
  RtRaiseEvent(window_number, self, kRtEventCreated);
  if (!window->self.hwnd) return;
  RtRaiseEvent(window_number, self, kRtEventMoved);
  if (!window->self.hwnd) return;
  RtRaiseEvent(window_number, self, kRtEventResized);
  if (!window->self.hwnd) return;
  if (window->self.record->flags & kRtVisible) ShowWindow(window->self.hwnd, SW_SHOW);
  if (!window->self.hwnd) return;
  RtRecordState* focused = RtRecordOfWindow(window, GetFocus());
  if (focused) RtRaiseEvent(window_number, focused->record->number, kRtEventGotFocus);
  if (!window->self.hwnd) return;
  window->loaded = true;
}
