// The least program that makes the recharge window: the same window class styles, the same
// 380x250 centred window and the same seven controls (two self-drawn labels, a drop-down combo
// box filled with 1..100, three auto radio buttons, one push button), and nothing else. It is
// the yardstick bench/startup.sh times recharge.exe's start-up against.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// Filled with the button face, the text black and single-line, left and vertically centred.
LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wparam, lparam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  char text[64];
  GetWindowTextA(hwnd, text, sizeof text);
  RECT client;
  GetClientRect(hwnd, &client);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &client, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
  SelectObject(dc, old);
  EndPaint(hwnd, &paint);
  return 0;
}

void Register(HINSTANCE instance, const char* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

struct Control {
  const char* class_name;
  const char* text;
  DWORD style;
  int left, top, width, height;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Register(instance, "MinimalWindow", WindowProc, GetSysColorBrush(COLOR_BTNFACE));
  Register(instance, "MinimalLabel", LabelProc, nullptr);
  int x = (GetSystemMetrics(SM_CXSCREEN) - 380) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 250) / 2;
  HWND window =
      CreateWindowExA(0, "MinimalWindow", "",
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x,
                      y, 380, 250, nullptr, nullptr, instance, nullptr);
  // The same window has the same icon.
  for (int size = 32; size >= 16; size -= 16)
    SendMessageA(window, WM_SETICON, size == 32 ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, size,
                                                     size, LR_DEFAULTCOLOR)));
  HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  const DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
  const DWORD kRadio = kChild | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_MULTILINE | BS_VCENTER;
  const Control controls[] = {
      {"BUTTON", "支付宝", kRadio, 40, 96, 88, 24},
      {"BUTTON", "QQ钱包", kRadio, 156, 96, 88, 24},
      {"BUTTON", "微信", kRadio, 272, 96, 88, 24},
      {"MinimalLabel", "充值金额", kChild, 46, 40, 72, 24},
      {"COMBOBOX", "", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 126, 44,
       128, 160},
      {"MinimalLabel", "元", kChild, 263, 40, 40, 24},
      {"BUTTON", "在线充值",
       kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER, 120, 152, 128,
       32},
  };
  for (const Control& c : controls) {
    HWND control = CreateWindowExA(0, c.class_name, c.text, c.style, c.left, c.top, c.width,
                                   c.height, window, nullptr, instance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.style & CBS_DROPDOWN) {
      char item[4];
      for (int i = 1; i <= 100; ++i) {
        wsprintfA(item, "%d", i);
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      }
      SendMessageA(control, CB_SETCURSEL, 0, 0);
    }
  }
  SendMessageA(FindWindowExA(window, nullptr, "BUTTON", "支付宝"), BM_SETCHECK, BST_CHECKED, 0);
  ShowWindow(window, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
