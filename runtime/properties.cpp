// Property reads and writes, and the combo box's add-item command.
#include "runtime/internal.h"

namespace {

enum : uint32_t {
  kComboText = 9,
  kComboSelection = 19,
  kRadioChecked = 18,
};

RtRecordState* LiveControl(uint32_t window_number, uint32_t control_number) {
  RtWindowState* window = RtFindWindow(window_number);
  if (!window || !window->self.hwnd) RtFatalError(0, "未载入欲访问窗口组件所在的窗口");
  RtRecordState* record = RtFindRecord(window, control_number);
  if (!record || !record->hwnd || !IsWindow(record->hwnd)) RtFatalError(0, "指定窗口尚未载入");
  return record;
}

// The window text at this moment, as a new text; none when empty.
char* ReadWindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return nullptr;
  char* text = static_cast<char*>(RtAllocate(static_cast<uint32_t>(length) + 1));
  int got = GetWindowTextA(hwnd, text, length + 1);
  if (got <= 0) {
    RtRelease(text);
    return nullptr;
  }
  text[got] = 0;
  return text;
}

}  // namespace

int32_t RtReadIntProperty(uint32_t window_number, uint32_t control_number, uint32_t property,
                          int32_t /*sub_item*/) {
  RtRecordState* record = LiveControl(window_number, control_number);
  uint32_t kind = record->record->kind;
  if (kind == kRtKindRadio && property == kRadioChecked)
    return SendMessageA(record->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  if (kind == kRtKindCombo && property == kComboSelection)
    return static_cast<int32_t>(SendMessageA(record->hwnd, CB_GETCURSEL, 0, 0));
  return 0;
}

char* RtReadTextProperty(uint32_t window_number, uint32_t control_number, uint32_t property,
                         int32_t /*sub_item*/) {
  RtRecordState* record = LiveControl(window_number, control_number);
  uint32_t kind = record->record->kind;
  bool is_text =
      (kind == kRtKindCombo && property == kComboText) || (kind == kRtKindLabel && property == 8) ||
      (kind == kRtKindButton && property == 10) || (kind == kRtKindRadio && property == 11);
  return is_text ? ReadWindowText(record->hwnd) : nullptr;
}

void RtWriteIntProperty(uint32_t window_number, uint32_t control_number, uint32_t property,
                        int32_t /*sub_item*/, int32_t value) {
  RtRecordState* record = LiveControl(window_number, control_number);
  uint32_t kind = record->record->kind;
  if (kind == kRtKindCombo && property == kComboSelection) {
    // Past the last item selects the last; -1 or lower selects nothing.
    int32_t count = static_cast<int32_t>(SendMessageA(record->hwnd, CB_GETCOUNT, 0, 0));
    int32_t selection = value > count - 1 ? count - 1 : value;
    if (selection < -1) selection = -1;
    SendMessageA(record->hwnd, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  } else if (kind == kRtKindRadio && property == kRadioChecked) {
    SendMessageA(record->hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

int32_t RtComboAddItem(uint32_t window_number, uint32_t control_number, const char* text,
                       const int32_t* value) {
  RtWindowState* window = RtFindWindow(window_number);
  RtRecordState* record =
      window && window->self.hwnd ? RtFindRecord(window, control_number) : nullptr;
  if (!record || !record->hwnd || !IsWindow(record->hwnd))
    RtFatalError(0, "指定窗口或窗口组件不存在或尚未载入");
  LRESULT item =
      SendMessageA(record->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : ""));
  if (item < 0) return -1;
  SendMessageA(record->hwnd, CB_SETITEMDATA, static_cast<WPARAM>(item), value ? *value : 0);
  return static_cast<int32_t>(item);
}
