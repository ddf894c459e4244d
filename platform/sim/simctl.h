// The tests' handle on the simulated system: reset it, inject faults, and read what the program
// did through it (shell calls, message boxes, module loads, heap use, painting).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/windows.h"

// Back to a fresh process: no windows, classes, messages, focus, keyboard state, injections or
// logs; default module table, screen 1024x768, module file name
// "C:\Program Files\Recharge\recharge.exe", current directory "C:\Users\test".
void SimReset();

// Screen and window creation.
void SimSetScreenSize(int width, int height);
// Top-level windows come out dx, dy pixels larger than asked, as a window manager might make them.
void SimSetTopLevelSizeSkew(int dx, int dy);
// n more CreateWindowExA calls succeed, then every one fails; -1 turns the failure off.
void SimFailCreateWindowAfter(int n);

// Paths.
void SimSetModuleFileName(const std::string& path);
std::string SimCurrentDirectory();
// Every string passed to SetCurrentDirectoryA, successful or not, in order.
const std::vector<std::string>& SimSetCurrentDirectoryCalls();

// Heap.
size_t SimHeapOutstanding();       // live blocks
size_t SimHeapOutstandingBytes();  // bytes in live blocks
size_t SimHeapAllocations();       // successful HeapAlloc calls since the reset
// n more HeapAlloc calls succeed, then every one returns NULL; -1 turns the failure off.
void SimFailAllocationAfter(int n);

// Modules. Names match case-insensitively, with or without ".dll".
struct SimModule {
  std::string name;
  bool loads = true;
  std::map<std::string, FARPROC> exports;
};
std::vector<SimModule> SimDefaultModules();
void SimSetModules(const std::vector<SimModule>& modules);
void SimSetModuleLoads(const std::string& module, bool loads);
void SimRemoveExport(const std::string& module, const std::string& export_name);
// "load NAME", "load-failed NAME", "free NAME", NAME as the caller spelt it for loads and as the
// table spells it for frees.
const std::vector<std::string>& SimModuleLog();
int SimModuleRefCount(const std::string& module);

// The shell function reachable as Shell32.dll!ShellExecuteA.
struct SimShellCall {
  HWND owner;
  std::optional<std::string> op, file, params, dir;  // nullopt: a null pointer was passed
  int show;
};
const std::vector<SimShellCall>& SimShellCalls();
void SimSetShellResult(intptr_t result);  // default 42
void SimSetShellHook(std::function<void(const SimShellCall&)> hook);

// Combo boxes answer CB_ADDSTRING with CB_ERRSPACE when the predicate holds for the text and the
// index the item would get; an empty function refuses nothing.
void SimRefuseComboItems(std::function<bool(const std::string& text, int index)> refuse);

// Message boxes: recorded, then the hook (if any) is called; every box answers IDOK.
struct SimMessageBox {
  HWND owner;
  std::string text, caption;
  UINT type;
};
const std::vector<SimMessageBox>& SimMessageBoxes();
void SimSetMessageBoxHook(std::function<void(const SimMessageBox&)> hook);

// Icons from LoadImageA/LoadIconA: the size each was loaded at; false for no such icon.
bool SimIconSize(HICON icon, int* cx, int* cy);

// OLE.
bool SimOleInitialized();
int SimOleInitCalls();

// What was drawn, in order, on device contexts from BeginPaint and GetDC. Each entry carries the
// state of its DC at the time, so a test can check a DrawTextA's colour, mode and font at once.
struct SimPaintOp {
  enum Kind { kFillRect, kDrawText, kSetTextColor, kSetBkColor, kSetBkMode, kSelectObject };
  Kind kind;
  HWND hwnd;
  RECT rect;             // FillRect, DrawTextA
  HBRUSH brush;          // FillRect
  COLORREF brush_color;  // FillRect: the brush's colour
  std::string text;      // DrawTextA, the bytes drawn
  UINT format;           // DrawTextA
  HGDIOBJ object;        // SelectObject
  // The DC's state after the operation.
  COLORREF text_color;
  COLORREF bk_color;
  int bk_mode;
  HFONT font;
};
const std::vector<SimPaintOp>& SimPaintLog();
std::vector<SimPaintOp> SimPaintLog(HWND hwnd);
void SimClearPaintLog();
