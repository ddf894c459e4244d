// The system controls of the simulation: "BUTTON", "COMBOBOX" (with its "EDIT" child) and "EDIT".
#include <string.h>

#include <algorithm>

#include "platform/sim/sim_internal.h"

namespace sim {

namespace {

bool Down(int vk) {
  return (GetKeyState(vk) & 0x8000) != 0;
}

bool Within(const RECT& r, LPARAM point) {
  int x = static_cast<SHORT>(LOWORD(point));
  int y = static_cast<SHORT>(HIWORD(point));
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// ---------------------------------------------------------------------------------------------
// BUTTON

DWORD TypeOf(const Window* w) {
  return w->style & BS_TYPEMASK;
}
bool IsRadio(const Window* w) {
  return TypeOf(w) == BS_RADIOBUTTON || TypeOf(w) == BS_AUTORADIOBUTTON;
}

// The siblings in h's group, as GetNextDlgGroupItem walks them: from the nearest WS_GROUP
// control at or above h in z-order up to the next WS_GROUP control; all siblings if none has it.
std::vector<HWND> GroupOf(Window* w) {
  Window* parent = Find(w->parent);
  if (!parent) return {w->handle};
  const std::vector<HWND>& sib = parent->children;
  auto it = std::find(sib.begin(), sib.end(), w->handle);
  size_t index = static_cast<size_t>(it - sib.begin());
  size_t start = 0;
  for (size_t i = index + 1; i-- > 0;) {
    Window* s = Find(sib[i]);
    if (s && (s->style & WS_GROUP)) {
      start = i;
      break;
    }
  }
  std::vector<HWND> group;
  for (size_t i = start; i < sib.size(); ++i) {
    Window* s = Find(sib[i]);
    if (!s) continue;
    if (i != start && (s->style & WS_GROUP)) break;
    // Hidden and disabled controls are not part of the walk.
    if (sib[i] != w->handle && (!IsVisibleChain(s) || (s->style & WS_DISABLED))) continue;
    group.push_back(sib[i]);
  }
  return group;
}

void SetCheck(Window* w, int check) {
  if (TypeOf(w) == BS_PUSHBUTTON || TypeOf(w) == BS_DEFPUSHBUTTON) return;
  w->check = check & 3;
  // A radio button is a tab stop exactly while it is checked.
  if (IsRadio(w)) {
    if (check) {
      w->style |= WS_TABSTOP;
    } else {
      w->style &= ~WS_TABSTOP;
    }
  }
}

void Clicked(HWND hwnd) {
  Window* w = FindLive(hwnd);
  if (!w) return;
  switch (TypeOf(w)) {
    case BS_AUTORADIOBUTTON:
      SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      for (HWND h : GroupOf(w)) {
        Window* s = Find(h);
        if (h != hwnd && s && s->cls && s->cls->builtin == Builtin::kButton &&
            TypeOf(s) == BS_AUTORADIOBUTTON) {
          SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0);
        }
      }
      break;
    case BS_AUTOCHECKBOX:
      SendMessageA(hwnd, BM_SETCHECK, w->check ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
  }
  if ((w = FindLive(hwnd))) NotifyParent(w, BN_CLICKED);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      if ((w = FindLive(hwnd))) w->pushed = true;
      return 0;
    case WM_LBUTTONUP: {
      bool was = w->pushed;
      w->pushed = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (!(w = FindLive(hwnd))) return 0;
      if (was && Within(ClientRectOf(w), lparam)) Clicked(hwnd);
      return 0;
    }
    case WM_KEYDOWN:
      if (wparam == VK_SPACE && !w->pushed) {
        w->pushed = true;
        w->space_down = true;
        SetCapture(hwnd);
      }
      return 0;
    case WM_KEYUP:
      if (wparam == VK_SPACE && w->space_down) {
        bool was = w->pushed;
        w->pushed = w->space_down = false;
        if (GetCapture() == hwnd) ReleaseCapture();
        if (was) Clicked(hwnd);
      }
      return 0;
    case WM_CHAR:
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != hwnd) w->pushed = w->space_down = false;
      return 0;
    case WM_SETFOCUS:
      if (w->style & BS_NOTIFY) NotifyParent(w, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      w->pushed = w->space_down = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      if ((w = FindLive(hwnd)) && (w->style & BS_NOTIFY)) NotifyParent(w, BN_KILLFOCUS);
      return 0;
    case BM_CLICK:
      SendMessageA(hwnd, WM_LBUTTONDOWN, 0, 0);
      SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_SETCHECK:
      SetCheck(w, static_cast<int>(wparam));
      return 0;
    case BM_GETCHECK:
      return w->check;
    case BM_GETSTATE:
      return w->check | (w->pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      w->pushed = wparam != 0;
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wparam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------
// EDIT: a byte text in code page 936 with an anchor (sel_start) and a caret (sel_end).

namespace {

constexpr int kLargestLimit = 0x7FFFFFFE;
constexpr int kComboEditId = 1001;

// Positions and the limit that callers see count characters (a double-byte character is one),
// as Wine's edit does; the text itself is kept in bytes.
int CharsIn(const char* p, size_t bytes) {
  int n = 0;
  for (const char* end = p + bytes; p < end; p = CharNextA(p)) ++n;
  return n;
}
int ToChars(const Window* w, int byte_pos) {
  return CharsIn(w->text.c_str(), static_cast<size_t>(byte_pos));
}
int ToBytes(const Window* w, int char_pos) {
  const char* base = w->text.c_str();
  const char* p = base;
  for (int i = 0; i < char_pos && *p; ++i) p = CharNextA(p);
  return static_cast<int>(p - base);
}

int Limit(const Window* w) {
  return w->limit > 0 ? w->limit : kLargestLimit;
}
int SelMin(const Window* w) {
  return std::min(w->sel_start, w->sel_end);
}
int SelMax(const Window* w) {
  return std::max(w->sel_start, w->sel_end);
}

Window* ComboOfEdit(Window* edit) {
  if (!edit->parent) return nullptr;
  Window* p = Find(edit->parent);
  return p && p->cls && p->cls->builtin == Builtin::kCombo && p->edit == edit->handle ? p : nullptr;
}

void EditChanged(HWND hwnd) {
  Window* w = FindLive(hwnd);
  if (w) NotifyParent(w, EN_UPDATE);
  if ((w = FindLive(hwnd))) NotifyParent(w, EN_CHANGE);
}

// Replaces the selection by `bytes` (cut to fit the limit when `limited`); true if text changed.
bool ReplaceSelection(Window* w, const std::string& bytes, bool limited) {
  int lo = SelMin(w), hi = SelMax(w);
  std::string insert = bytes;
  if (limited) {
    long room = static_cast<long>(Limit(w)) - CharsIn(w->text.c_str(), w->text.size()) +
                CharsIn(w->text.c_str() + lo, static_cast<size_t>(hi - lo));
    size_t keep = 0;
    for (long n = 0; keep < insert.size() && n < room; ++n) {
      keep = static_cast<size_t>(CharNextA(insert.c_str() + keep) - insert.c_str());
    }
    insert.resize(keep);
  }
  if (insert.empty() && lo == hi) return false;
  w->text.replace(static_cast<size_t>(lo), static_cast<size_t>(hi - lo), insert);
  w->sel_start = w->sel_end = lo + static_cast<int>(insert.size());
  return true;
}

int PrevChar(const Window* w, int pos) {
  if (pos <= 0) return 0;
  const char* base = w->text.c_str();
  return static_cast<int>(CharPrevA(base, base + pos) - base);
}

int NextChar(const Window* w, int pos) {
  if (pos >= static_cast<int>(w->text.size())) return static_cast<int>(w->text.size());
  const char* base = w->text.c_str();
  return static_cast<int>(CharNextA(base + pos) - base);
}

void MoveCaret(Window* w, int pos, bool extend) {
  w->sel_end = pos;
  if (!extend) w->sel_start = pos;
}

// Keys that an edit inside a combo box leaves to the box.
bool ComboKey(Window* edit, UINT msg, WPARAM key, LPARAM lparam) {
  Window* combo = ComboOfEdit(edit);
  if (!combo) return false;
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_F4:
    case VK_PRIOR:
    case VK_NEXT:
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      if (!combo->dropped) return false;
      break;
    default:
      return false;
  }
  if (msg == WM_SYSKEYDOWN && !(key == VK_UP || key == VK_DOWN)) return false;
  SendMessageA(combo->handle, msg, key, lparam);
  return true;
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      LRESULT r = DefWindowProcA(hwnd, msg, wparam, lparam);
      w->sel_start = w->sel_end = 0;
      return r;
    }
    case WM_CHAR: {
      BYTE c = static_cast<BYTE>(wparam);
      if (w->style & ES_READONLY) return 0;
      // A lead byte waits for its trail byte, as an ANSI window gets a double-byte character.
      if (w->pending_lead) {
        std::string pair{static_cast<char>(w->pending_lead), static_cast<char>(c)};
        w->pending_lead = 0;
        if (ReplaceSelection(w, pair, true)) EditChanged(hwnd);
        return 0;
      }
      if (c == VK_BACK) {
        if (SelMin(w) == SelMax(w)) {
          int pos = w->sel_end;
          if (pos == 0) return 0;
          w->sel_start = PrevChar(w, pos);
          w->sel_end = pos;
        }
        if (ReplaceSelection(w, std::string(), false)) EditChanged(hwnd);
        return 0;
      }
      if (c < 0x20) return 0;
      if (IsDBCSLeadByte(c)) {
        w->pending_lead = c;
        return 0;
      }
      if (ReplaceSelection(w, std::string(1, static_cast<char>(c)), true)) EditChanged(hwnd);
      return 0;
    }
    case WM_IME_CHAR: {
      std::string bytes;
      if (wparam > 0xFF) bytes.push_back(static_cast<char>((wparam >> 8) & 0xFF));
      bytes.push_back(static_cast<char>(wparam & 0xFF));
      if (bytes.size() == 1 && static_cast<BYTE>(bytes[0]) < 0x20) {
        return EditProc(hwnd, WM_CHAR, wparam, lparam);
      }
      if (ReplaceSelection(w, bytes, true)) EditChanged(hwnd);
      return 0;
    }
    case WM_KEYDOWN: {
      if (ComboKey(w, msg, wparam, lparam)) return 0;
      if (!(w = FindLive(hwnd))) return 0;
      bool shift = Down(VK_SHIFT);
      int len = static_cast<int>(w->text.size());
      switch (wparam) {
        case VK_HOME:
          MoveCaret(w, 0, shift);
          break;
        case VK_END:
          MoveCaret(w, len, shift);
          break;
        case VK_LEFT:
          if (!shift && SelMin(w) != SelMax(w)) {
            MoveCaret(w, SelMin(w), false);
          } else {
            MoveCaret(w, PrevChar(w, w->sel_end), shift);
          }
          break;
        case VK_RIGHT:
          if (!shift && SelMin(w) != SelMax(w)) {
            MoveCaret(w, SelMax(w), false);
          } else {
            MoveCaret(w, NextChar(w, w->sel_end), shift);
          }
          break;
        case VK_DELETE:
          if (w->style & ES_READONLY) break;
          if (SelMin(w) == SelMax(w)) {
            w->sel_start = w->sel_end;
            w->sel_end = NextChar(w, w->sel_end);
          }
          if (ReplaceSelection(w, std::string(), false)) EditChanged(hwnd);
          break;
      }
      return 0;
    }
    case WM_SYSKEYDOWN:
      if (ComboKey(w, msg, wparam, lparam)) return 0;
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    case WM_SETTEXT:
      w->text = lparam ? reinterpret_cast<const char*>(lparam) : "";
      w->sel_start = w->sel_end = 0;
      w->pending_lead = 0;
      EditChanged(hwnd);
      return TRUE;
    case EM_GETSEL: {
      DWORD lo = static_cast<DWORD>(ToChars(w, SelMin(w)));
      DWORD hi = static_cast<DWORD>(ToChars(w, SelMax(w)));
      if (wparam) *reinterpret_cast<DWORD*>(wparam) = lo;
      if (lparam) *reinterpret_cast<DWORD*>(lparam) = hi;
      return (lo > 0xFFFF || hi > 0xFFFF) ? -1 : MAKELRESULT(lo, hi);
    }
    case EM_SETSEL: {
      int len = CharsIn(w->text.c_str(), w->text.size());
      int start = static_cast<int>(wparam);
      int end = static_cast<int>(lparam);
      if (start == -1) {
        w->sel_start = w->sel_end;  // -1 removes the selection, leaving the caret
        return 0;
      }
      if (start < 0 || start > len) start = len;
      if (end < 0 || end > len) end = len;
      w->sel_start = ToBytes(w, start);
      w->sel_end = ToBytes(w, end);
      return 0;
    }
    case EM_REPLACESEL:
      if (ReplaceSelection(w, lparam ? reinterpret_cast<const char*>(lparam) : "", true)) {
        EditChanged(hwnd);
      }
      return 0;
    case EM_LIMITTEXT:
      w->limit = static_cast<int>(wparam);
      return 0;
    case EM_GETLIMITTEXT:
      return Limit(w);
    case WM_SETFOCUS:
      NotifyParent(w, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      w->pending_lead = 0;
      NotifyParent(w, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wparam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------
// COMBOBOX. Heights follow the font as Wine shows them: with the default GUI font the list items
// are 14 pixels high, the edit field 18 and the closed box 22; with the system font 16, 20, 24.
// The edit sits 3 pixels in, leaving the drop-down button's 17 pixels on the right.

namespace {

constexpr int kGuiFontItemHeight = 14;
constexpr int kSystemFontItemHeight = 16;
constexpr int kEditExtra = 4;   // edit field over the item height
constexpr int kFrameExtra = 4;  // closed box over the edit field

// Combo notifications from inside the box (the edit's own changes) are held back while the box
// itself writes the edit.
bool g_quiet_edit = false;

int ItemHeightForFont(HFONT font) {
  return font == static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)) ? kGuiFontItemHeight
                                                                      : kSystemFontItemHeight;
}

bool HasEdit(const Window* w) {
  return (w->style & 3) != CBS_DROPDOWNLIST;
}

void SetEditText(Window* combo, const std::string& text, bool select_all) {
  if (!combo->edit) {
    combo->text = text;
    return;
  }
  g_quiet_edit = true;
  SendMessageA(combo->edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (select_all) SendMessageA(combo->edit, EM_SETSEL, 0, -1);
  g_quiet_edit = false;
}

bool ComboHasFocus(const Window* combo) {
  HWND f = GetFocus();
  return f && (f == combo->handle || f == combo->edit);
}

// The closed box's own height follows its edit field.
void Relayout(Window* w) {
  if ((w->style & 3) != CBS_SIMPLE) {
    w->closed_height = w->edit_height + kFrameExtra;
    w->rect.bottom = w->rect.top + w->closed_height;
  }
  if (w->edit) {
    if (Window* e = Find(w->edit)) {
      LONG width = w->rect.right - w->rect.left;
      e->rect = RECT{3, 3, std::max<LONG>(width - 20, 3), 3 + w->edit_height - 2};
    }
  }
}

void Select(Window* w, int index, bool notify) {
  HWND hwnd = w->handle;
  w->cur_sel = index;
  if (index >= 0) w->caret_item = index;
  w->keyed = notify;
  SetEditText(w, index >= 0 ? w->items[static_cast<size_t>(index)].text : std::string(),
              ComboHasFocus(w));
  if (notify && (w = FindLive(hwnd))) NotifyParent(w, CBN_SELCHANGE);
}

void ShowDropDown(Window* w, bool show, bool ok) {
  HWND hwnd = w->handle;
  if (show == w->dropped) return;
  if (show) {
    NotifyParent(w, CBN_DROPDOWN);
    if ((w = FindLive(hwnd))) w->dropped = true;
    return;
  }
  w->dropped = false;
  NotifyParent(w, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if ((w = FindLive(hwnd))) NotifyParent(w, CBN_CLOSEUP);
}

// Losing the focus cancels the pick: CBN_SELENDCANCEL, and CBN_CLOSEUP if the list was down.
void CloseForFocusLoss(Window* w) {
  if (w->dropped) {
    ShowDropDown(w, false, false);
  } else {
    NotifyParent(w, CBN_SELENDCANCEL);
  }
}

// The first item that starts with `text`, case-insensitively; -1 for none.
int FindPrefix(const Window* w, const std::string& text) {
  if (text.empty()) return -1;
  std::string key = Lower(text);
  for (size_t i = 0; i < w->items.size(); ++i) {
    if (Lower(w->items[i].text).compare(0, key.size(), key) == 0) return static_cast<int>(i);
  }
  return -1;
}

void Key(Window* w, UINT msg, WPARAM key) {
  int count = static_cast<int>(w->items.size());
  bool alt = msg == WM_SYSKEYDOWN || Down(VK_MENU);
  switch (key) {
    case VK_F4:
      if (!alt) ShowDropDown(w, !w->dropped, true);
      return;
    case VK_UP:
    case VK_DOWN: {
      if (alt) {
        ShowDropDown(w, !w->dropped, true);
        return;
      }
      if (count == 0) return;
      // With nothing selected an arrow picks the caret item itself.
      int sel = w->cur_sel;
      int next = sel < 0 ? w->caret_item
                         : (key == VK_DOWN ? std::min(sel + 1, count - 1) : std::max(sel - 1, 0));
      Select(w, std::max(0, std::min(next, count - 1)), true);  // notified even when it stays
      return;
    }
    case VK_RETURN:
      if (w->dropped) ShowDropDown(w, false, true);
      return;
    case VK_ESCAPE:
      if (w->dropped) ShowDropDown(w, false, false);
      return;
  }
}

}  // namespace

LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
      w->item_height = kSystemFontItemHeight;
      w->edit_height = w->item_height + kEditExtra;
      w->drop_height = cs ? cs->cy : 0;
      return TRUE;
    }
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
      if (HasEdit(w)) {
        HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0,
                                    0, hwnd, reinterpret_cast<HMENU>(kComboEditId),
                                    cs ? cs->hInstance : nullptr, nullptr);
        if (!edit || !(w = FindLive(hwnd))) return -1;
        w->edit = edit;
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
          SetEditText(w, cs->lpszName, false);
      }
      Relayout(w);
      return 0;
    }
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
      std::string text = lparam ? reinterpret_cast<const char*>(lparam) : "";
      int count = static_cast<int>(w->items.size());
      int index = count;
      if (msg == CB_INSERTSTRING) {
        index = static_cast<int>(wparam);
        if (index == -1) index = count;
        if (index < 0 || index > count) return CB_ERR;
      } else if (w->style & CBS_SORT) {
        index = 0;
        while (index < count && Lower(w->items[static_cast<size_t>(index)].text) <= Lower(text)) {
          ++index;
        }
      }
      if (S().refuse_items && S().refuse_items(text, index)) return CB_ERRSPACE;
      w->items.insert(w->items.begin() + index, ComboItem{text, 0});
      if (w->cur_sel >= index) ++w->cur_sel;
      return index;
    }
    case CB_DELETESTRING: {
      int index = static_cast<int>(wparam);
      if (index < 0 || index >= static_cast<int>(w->items.size())) return CB_ERR;
      w->items.erase(w->items.begin() + index);
      if (w->cur_sel == index) {
        w->cur_sel = -1;
      } else if (w->cur_sel > index) {
        --w->cur_sel;
      }
      return static_cast<LRESULT>(w->items.size());
    }
    case CB_RESETCONTENT:
      w->items.clear();
      w->cur_sel = -1;
      SetEditText(w, "", false);
      return CB_OKAY;
    case CB_GETCOUNT:
      return static_cast<LRESULT>(w->items.size());
    case CB_SETCURSEL: {
      int index = static_cast<int>(wparam);
      if (index == -1) {
        Select(w, -1, false);  // nothing selected, the edit cleared
        return CB_ERR;
      }
      // Past either end: refused, and the selection and the edit stay as they were.
      if (index < 0 || index >= static_cast<int>(w->items.size())) return CB_ERR;
      Select(w, index, false);
      return index;
    }
    case CB_GETCURSEL:
      return w->cur_sel;
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN: {
      int index = static_cast<int>(wparam);
      if (index < 0 || index >= static_cast<int>(w->items.size())) return CB_ERR;
      const std::string& t = w->items[static_cast<size_t>(index)].text;
      if (msg == CB_GETLBTEXT && lparam)
        memcpy(reinterpret_cast<char*>(lparam), t.c_str(), t.size() + 1);
      return static_cast<LRESULT>(t.size());
    }
    case CB_SETITEMDATA: {
      int index = static_cast<int>(wparam);
      if (index == -1) {
        for (ComboItem& item : w->items) item.data = lparam;
        return CB_OKAY;
      }
      if (index < 0 || index >= static_cast<int>(w->items.size())) return CB_ERR;
      w->items[static_cast<size_t>(index)].data = lparam;
      return CB_OKAY;
    }
    case CB_GETITEMDATA: {
      int index = static_cast<int>(wparam);
      if (index < 0 || index >= static_cast<int>(w->items.size())) return CB_ERR;
      return w->items[static_cast<size_t>(index)].data;
    }
    case CB_LIMITTEXT:
      if (w->edit) SendMessageA(w->edit, EM_LIMITTEXT, wparam, 0);
      return TRUE;
    case CB_GETITEMHEIGHT:
      return static_cast<int>(wparam) == -1 ? w->edit_height : w->item_height;
    case CB_SETITEMHEIGHT: {
      // The list items take the new height, as Windows documents (Wine keeps the font's for a
      // list that is not owner-drawn). The edit field's height is answered but kept, as Wine.
      int height = static_cast<int>(lparam);
      if (height <= 0 || height > 255) return CB_ERR;
      if (static_cast<int>(wparam) == -1) return height;
      w->item_height = height;
      return CB_OKAY;
    }
    case CB_SHOWDROPDOWN:
      if ((w->style & 3) != CBS_SIMPLE) ShowDropDown(w, wparam != 0, false);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return w->dropped;
    case CB_GETDROPPEDCONTROLRECT: {
      RECT r;
      GetWindowRect(hwnd, &r);
      // The extent given at creation, less the closed box and a pixel, as Wine reports it.
      r.bottom = r.top + std::max(w->drop_height - w->closed_height - 1,
                                  static_cast<int>(r.bottom - r.top));
      if (lparam) *reinterpret_cast<RECT*>(lparam) = r;
      return CB_OKAY;
    }
    case CB_GETEDITSEL:
      if (!w->edit) return CB_ERR;
      return SendMessageA(w->edit, EM_GETSEL, wparam, lparam);
    case CB_SETEDITSEL:
      if (!w->edit) return CB_ERR;
      SendMessageA(w->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lparam))),
                   static_cast<SHORT>(HIWORD(lparam)));
      return TRUE;
    case WM_SETTEXT:
      if (w->edit) {
        // The edit alone takes the text, quietly; the list's selection stays.
        SetEditText(w, lparam ? reinterpret_cast<const char*>(lparam) : "", false);
        return TRUE;
      }
      return CB_ERR;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (w->edit) return SendMessageA(w->edit, msg, wparam, lparam);
      if (w->cur_sel >= 0) {
        const std::string& t = w->items[static_cast<size_t>(w->cur_sel)].text;
        if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(t.size());
        if (wparam == 0 || !lparam) return 0;
        size_t n = std::min(t.size(), static_cast<size_t>(wparam - 1));
        memcpy(reinterpret_cast<char*>(lparam), t.data(), n);
        reinterpret_cast<char*>(lparam)[n] = 0;
        return static_cast<LRESULT>(n);
      }
      if (msg == WM_GETTEXT && wparam && lparam) reinterpret_cast<char*>(lparam)[0] = 0;
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wparam);
      w->item_height = ItemHeightForFont(w->font);
      w->edit_height = w->item_height + kEditExtra;
      if (w->edit) SendMessageA(w->edit, WM_SETFONT, wparam, lparam);
      if ((w = FindLive(hwnd))) Relayout(w);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_SETFOCUS:
      if (w->edit) {
        SetFocus(w->edit);
      } else if (!w->combo_focused) {
        w->combo_focused = true;
        NotifyParent(w, CBN_SETFOCUS);
      }
      return 0;
    case WM_KILLFOCUS: {
      HWND to = reinterpret_cast<HWND>(wparam);
      if (!w->edit && w->combo_focused && to != hwnd) {
        CloseForFocusLoss(w);
        if ((w = FindLive(hwnd))) {
          w->combo_focused = false;
          NotifyParent(w, CBN_KILLFOCUS);
        }
      }
      return 0;
    }
    case WM_COMMAND: {
      if (!w->edit || reinterpret_cast<HWND>(lparam) != w->edit) return 0;
      switch (HIWORD(wparam)) {
        case EN_SETFOCUS:
          if (!w->combo_focused) {
            w->combo_focused = true;
            SendMessageA(w->edit, EM_SETSEL, 0, -1);
            if ((w = FindLive(hwnd))) NotifyParent(w, CBN_SETFOCUS);
          }
          break;
        case EN_KILLFOCUS: {
          HWND to = GetFocus();
          if (w->combo_focused && to != hwnd && to != w->edit) {
            CloseForFocusLoss(w);
            if (!(w = FindLive(hwnd))) break;
            w->combo_focused = false;
            NotifyParent(w, CBN_KILLFOCUS);
          }
          break;
        }
        case EN_UPDATE:
          if (!g_quiet_edit) NotifyParent(w, CBN_EDITUPDATE);
          break;
        case EN_CHANGE:
          if (!g_quiet_edit) {
            // Typing drops a selection that CB_SETCURSEL made (not one picked with the arrows)
            // and puts the list's caret on the item the text begins, else on the first.
            if (!w->keyed) {
              char buf[1024];
              GetWindowTextA(w->edit, buf, sizeof buf);
              if (!(w = FindLive(hwnd))) break;
              w->cur_sel = -1;
              w->caret_item = std::max(FindPrefix(w, buf), 0);
            }
            NotifyParent(w, CBN_EDITCHANGE);
          }
          break;
      }
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Key(w, msg, wparam);
      if (msg == WM_SYSKEYDOWN && wparam != VK_UP && wparam != VK_DOWN) {
        return DefWindowProcA(hwnd, msg, wparam, lparam);
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(w->edit ? w->edit : hwnd);
      if ((w = FindLive(hwnd))) ShowDropDown(w, !w->dropped, true);
      return 0;
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace sim
