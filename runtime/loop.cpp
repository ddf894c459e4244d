// Event dispatch, the message loop and the run time's own keyboard handling.
#include "runtime/internal.h"

void RtRaiseEvent(uint32_t window_number, uint32_t control_number, int32_t event) {
  if (g_rt.hold > 0) return;
  RtWindowState* window = RtFindWindow(window_number);
  if (!window) RtFatalError(0, "未找到引发事件的窗口");
  RtRecordState* record = RtFindRecord(window, control_number);
  if (!record) RtFatalError(0, "未找到引发事件的窗口组件");
  if (!RtIsKnownKind(record->record->kind)) RtFatalError(0, "引发事件的窗口组件无效");
  for (uint32_t i = 0; i < record->binding_count; ++i) {
    if (record->bindings[i].event != event) continue;
    RtHandler handler = record->bindings[i].handler;
    if (!handler) return;
    uint32_t outer_window = g_rt.event_window, outer_control = g_rt.event_control;
    g_rt.event_window = window_number;
    g_rt.event_control = control_number;
    handler();
    g_rt.event_window = outer_window;
    g_rt.event_control = outer_control;
    return;
  }
}

namespace {

bool KeyDown(int key) {
  return GetKeyState(key) < 0;
}

void MoveFocusByTab(RtWindowState* window, RtRecordState* focused, bool backwards) {
  RtRecordState* order[kRtMaxControls];
  uint32_t count = RtTabOrder(window, order);
  if (!count) return;
  uint32_t at = count;
  for (uint32_t i = 0; i < count; ++i)
    if (order[i] == focused) at = i;
  uint32_t next;
  if (at == count)
    next = backwards ? count - 1 : 0;
  else
    next = backwards ? (at + count - 1) % count : (at + 1) % count;
  SetFocus(order[next]->hwnd);
}

// Arrows move among the radio buttons that Tab would visit, with the same parent; the move
// checks the new one alone, as a click would.
void MoveAmongRadios(RtWindowState* window, RtRecordState* focused, bool backwards) {
  RtRecordState* order[kRtMaxControls];
  uint32_t count = RtTabOrder(window, order);
  RtRecordState* radios[kRtMaxControls];
  uint32_t radio_count = 0, at = 0;
  HWND parent = GetParent(focused->hwnd);
  for (uint32_t i = 0; i < count; ++i) {
    if (order[i]->record->kind != kRtKindRadio || GetParent(order[i]->hwnd) != parent) continue;
    if (order[i] == focused) at = radio_count;
    radios[radio_count++] = order[i];
  }
  if (!radio_count) return;
  RtRecordState* next =
      radios[backwards ? (at + radio_count - 1) % radio_count : (at + 1) % radio_count];
  for (uint32_t c = 0; c < window->control_count; ++c) {
    RtRecordState* control = &window->controls[c];
    if (control->record->kind == kRtKindRadio && control->hwnd &&
        GetParent(control->hwnd) == parent)
      SendMessageA(control->hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendMessageA(next->hwnd, BM_SETCHECK, BST_CHECKED, 0);
  RtRaiseEvent(window->number, next->record->number, kRtEventClicked);
  if (IsWindow(next->hwnd)) SetFocus(next->hwnd);
}

}  // namespace

bool RtPreTranslate(const MSG* msg) {
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return false;
  RtWindowState* window = RtWindowOfMessage(msg->hwnd);
  if (!window) return false;
  bool shift = KeyDown(VK_SHIFT), control = KeyDown(VK_CONTROL), alt = KeyDown(VK_MENU);
  RtRecordState* focused = RtRecordOfWindow(window, msg->hwnd);
  switch (msg->wParam) {
    case VK_TAB:
      if (control || alt) return false;
      MoveFocusByTab(window, focused, shift);
      return true;
    case VK_ESCAPE:
      if (shift || control || alt) return false;
      SendMessageA(window->self.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (shift || control || alt) return false;
      if (!focused || focused->record->kind != kRtKindRadio) return false;
      MoveAmongRadios(window, focused, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
      return true;
  }
  return false;  // Enter, F1 and the rest go to the control
}

static void Dispatch(const MSG* msg) {
  if (RtPreTranslate(msg)) return;
  TranslateMessage(msg);
  DispatchMessageA(msg);
}

void RtDoEvents(void) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit message stays for the loop: post it again once the queue is empty.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(&msg);
  }
}

void RtRunMessageLoop(void) {
  g_rt.loop_running = true;
  if (!RtAnyWindowExists()) return;
  MSG msg;
  for (;;) {
    if (g_rt.idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) g_rt.idle();
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      g_rt.quit_code = static_cast<int32_t>(msg.wParam);
      return;
    }
    if (got == -1) return;
    Dispatch(&msg);
  }
}
