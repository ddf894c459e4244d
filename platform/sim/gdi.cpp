// GDI of the simulation: stock objects, system colours, brushes, icons and cursors, and device
// contexts that record what is drawn on them instead of drawing.
#include <string.h>

#include "platform/sim/sim_internal.h"

namespace sim {

namespace {

struct Dc {
  HWND hwnd = nullptr;
  COLORREF text_color = RGB(0, 0, 0);
  COLORREF bk_color = RGB(255, 255, 255);
  int bk_mode = OPAQUE;
  HFONT font = nullptr;
  HGDIOBJ brush = nullptr;
  bool from_paint = false;
};

struct Icon {
  int cx, cy;
};

struct Gdi {
  std::map<uintptr_t, Dc> dcs;
  std::map<uintptr_t, COLORREF> brushes;  // created with CreateSolidBrush
  std::map<uintptr_t, Icon> icons;
  uintptr_t next = 0;
};

Gdi& G() {
  static Gdi gdi;
  return gdi;
}

constexpr uintptr_t kStockBase = 0x01A00000;
constexpr uintptr_t kSysBrushBase = 0x01B00000;
constexpr uintptr_t kArrowCursor = 0x02000004;
constexpr uintptr_t kOtherCursor = 0x02000008;
constexpr uintptr_t kAppIcon = 0x0200000C;

uintptr_t NewHandle(uintptr_t base) {
  G().next += 4;
  return base + G().next;
}

Dc* FindDc(HDC dc) {
  auto it = G().dcs.find(reinterpret_cast<uintptr_t>(dc));
  return it == G().dcs.end() ? nullptr : &it->second;
}

bool IsStockFont(uintptr_t v) {
  return v >= kStockBase + 10 * 4 && v <= kStockBase + 17 * 4 && v != kStockBase + 15 * 4;
}

bool IsFont(HGDIOBJ object) {
  return IsStockFont(reinterpret_cast<uintptr_t>(object));
}

// The colour a brush paints with, whether stock, system, created, or a COLOR_ index + 1.
COLORREF BrushColor(HBRUSH brush) {
  uintptr_t v = reinterpret_cast<uintptr_t>(brush);
  if (v >= 1 && v <= 31) return GetSysColor(static_cast<int>(v - 1));
  if (v >= kSysBrushBase && v < kSysBrushBase + 31 * 4) {
    return GetSysColor(static_cast<int>((v - kSysBrushBase) / 4));
  }
  auto it = G().brushes.find(v);
  if (it != G().brushes.end()) return it->second;
  switch (v) {
    case kStockBase + WHITE_BRUSH * 4:
      return RGB(255, 255, 255);
    case kStockBase + LTGRAY_BRUSH * 4:
      return RGB(192, 192, 192);
    case kStockBase + GRAY_BRUSH * 4:
      return RGB(128, 128, 128);
    case kStockBase + DKGRAY_BRUSH * 4:
      return RGB(64, 64, 64);
    case kStockBase + BLACK_BRUSH * 4:
      return RGB(0, 0, 0);
  }
  return CLR_INVALID;
}

HDC NewDc(HWND hwnd, bool from_paint) {
  HDC dc = reinterpret_cast<HDC>(NewHandle(0x03000000));
  Dc d;
  d.hwnd = hwnd;
  d.font = reinterpret_cast<HFONT>(kStockBase + SYSTEM_FONT * 4);
  d.brush = reinterpret_cast<HGDIOBJ>(kStockBase + WHITE_BRUSH * 4);
  d.from_paint = from_paint;
  G().dcs[reinterpret_cast<uintptr_t>(dc)] = d;
  return dc;
}

void Log(Dc* d, SimPaintOp op) {
  op.hwnd = d->hwnd;
  op.text_color = d->text_color;
  op.bk_color = d->bk_color;
  op.bk_mode = d->bk_mode;
  op.font = d->font;
  S().paint_log.push_back(op);
}

SimPaintOp Op(SimPaintOp::Kind kind) {
  SimPaintOp op{};
  op.kind = kind;
  return op;
}

}  // namespace

void ResetGdi() {
  G().dcs.clear();
  G().brushes.clear();
  G().icons.clear();
  G().next = 0;
  S().paint_log.clear();
}

}  // namespace sim

using namespace sim;

const std::vector<SimPaintOp>& SimPaintLog() {
  return S().paint_log;
}

std::vector<SimPaintOp> SimPaintLog(HWND hwnd) {
  std::vector<SimPaintOp> out;
  for (const SimPaintOp& op : S().paint_log) {
    if (op.hwnd == hwnd) out.push_back(op);
  }
  return out;
}

void SimClearPaintLog() {
  S().paint_log.clear();
}

bool SimIconSize(HICON icon, int* cx, int* cy) {
  auto it = G().icons.find(reinterpret_cast<uintptr_t>(icon));
  if (it == G().icons.end()) return false;
  if (cx) *cx = it->second.cx;
  if (cy) *cy = it->second.cy;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Metrics, colours, resources.

int WINAPI GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
      return S().screen_w;
    case SM_CYSCREEN:
      return S().screen_h;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 17;
    case SM_CYCAPTION:
      return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
      return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
  }
  return 0;
}

DWORD WINAPI GetSysColor(int index) {
  switch (index) {
    case COLOR_BTNFACE:
      return RGB(240, 240, 240);
    case COLOR_WINDOW:
      return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
      return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
      return RGB(0, 120, 215);
    case COLOR_HIGHLIGHTTEXT:
      return RGB(255, 255, 255);
    case COLOR_GRAYTEXT:
      return RGB(109, 109, 109);
  }
  return RGB(128, 128, 128);
}

HBRUSH WINAPI GetSysColorBrush(int index) {
  if (index < 0 || index > 30) return nullptr;
  return reinterpret_cast<HBRUSH>(kSysBrushBase + static_cast<uintptr_t>(index) * 4);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursor_name) {
  if (instance || !IS_INTRESOURCE(cursor_name)) return nullptr;
  return reinterpret_cast<HCURSOR>(cursor_name == IDC_ARROW ? kArrowCursor : kOtherCursor);
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR icon_name) {
  if (!instance) return reinterpret_cast<HICON>(kAppIcon);
  return static_cast<HICON>(
      LoadImageA(instance, icon_name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

// The program's only icon resource is DEFAULT_ICON; numbered resources stand for any other.
HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_ICON || !name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!IS_INTRESOURCE(name) && !EqualNoCase(name, "DEFAULT_ICON")) {
    SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
    return nullptr;
  }
  if (cx == 0) cx = (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : 32;
  if (cy == 0) cy = (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : 32;
  uintptr_t h = NewHandle(0x02100000);
  G().icons[h] = Icon{cx, cy};
  return reinterpret_cast<HANDLE>(h);
}

BOOL WINAPI DestroyIcon(HICON icon) {
  uintptr_t v = reinterpret_cast<uintptr_t>(icon);
  if (v == kAppIcon) return TRUE;
  if (!G().icons.erase(v)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Device contexts.

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  Window* w = Find(hwnd);
  if (!w || !paint) return nullptr;
  memset(paint, 0, sizeof *paint);
  HDC dc = NewDc(hwnd, true);
  paint->hdc = dc;
  paint->rcPaint = ClientRectOf(w);
  bool erase = w->needs_erase;
  w->needs_paint = false;
  w->needs_erase = false;
  if (erase) {
    paint->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
  }
  return dc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (paint) G().dcs.erase(reinterpret_cast<uintptr_t>(paint->hdc));
  return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
  if (hwnd && !Find(hwnd)) return nullptr;
  return NewDc(hwnd, false);
}

int WINAPI ReleaseDC(HWND, HDC dc) {
  return G().dcs.erase(reinterpret_cast<uintptr_t>(dc)) ? 1 : 0;
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  Dc* d = FindDc(dc);
  if (!d || !rect) return 0;
  SimPaintOp op = Op(SimPaintOp::kFillRect);
  op.rect = *rect;
  op.brush = brush;
  op.brush_color = BrushColor(brush);
  Log(d, op);
  return 1;
}

int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  Dc* d = FindDc(dc);
  if (!d || !text || !rect) return 0;
  std::string s = count < 0 ? std::string(text) : std::string(text, static_cast<size_t>(count));
  // A rough metric: 6 pixels a byte, 13 pixels a line (the default GUI font's height).
  const int height = 13;
  if (format & DT_CALCRECT) {
    rect->right = rect->left + static_cast<LONG>(6 * s.size());
    rect->bottom = rect->top + height;
    return height;
  }
  SimPaintOp op = Op(SimPaintOp::kDrawText);
  op.rect = *rect;
  op.text = s;
  op.format = format;
  Log(d, op);
  return height;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
  Dc* d = FindDc(dc);
  if (!d) return CLR_INVALID;
  COLORREF old = d->text_color;
  d->text_color = color;
  Log(d, Op(SimPaintOp::kSetTextColor));
  return old;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
  Dc* d = FindDc(dc);
  if (!d) return CLR_INVALID;
  COLORREF old = d->bk_color;
  d->bk_color = color;
  Log(d, Op(SimPaintOp::kSetBkColor));
  return old;
}

int WINAPI SetBkMode(HDC dc, int mode) {
  Dc* d = FindDc(dc);
  if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = d->bk_mode;
  d->bk_mode = mode;
  Log(d, Op(SimPaintOp::kSetBkMode));
  return old;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
  Dc* d = FindDc(dc);
  if (!d || !object) return nullptr;
  HGDIOBJ old;
  if (IsFont(object)) {
    old = d->font;
    d->font = static_cast<HFONT>(object);
  } else {
    old = d->brush;
    d->brush = object;
  }
  SimPaintOp op = Op(SimPaintOp::kSelectObject);
  op.object = object;
  Log(d, op);
  return old;
}

HGDIOBJ WINAPI GetStockObject(int index) {
  if (index < 0 || index > 19 || index == 9) return nullptr;
  return reinterpret_cast<HGDIOBJ>(kStockBase + static_cast<uintptr_t>(index) * 4);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  uintptr_t h = NewHandle(0x01C00000);
  G().brushes[h] = color;
  return reinterpret_cast<HBRUSH>(h);
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  uintptr_t v = reinterpret_cast<uintptr_t>(object);
  if (v >= kStockBase && v < kStockBase + 20 * 4) return TRUE;  // stock objects stay
  return G().brushes.erase(v) ? TRUE : FALSE;
}
