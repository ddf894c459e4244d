// The run time's own state and the pieces its files share. Not for the program's code.
#pragma once

#include "platform/win32.h"
#include "runtime/rt.h"

struct RtBinding {
  int32_t event;
  RtHandler handler;  // null: bound to no handler
};

// A record of the window table: the stored record, its resolved event table and its live
// Windows control (null until built, and again once destroyed).
struct RtRecordState {
  const RtRecord* record;
  uint32_t binding_count;
  RtBinding* bindings;
  HWND hwnd;
};

struct RtWindowState {
  uint32_t number;
  const RtWindowLayout* layout;
  RtRecordState self;
  uint32_t control_count;
  RtRecordState* controls;  // in stored order
  bool loaded;              // the loading has completed
  HWND last_focus;          // the control that had the focus when the window was deactivated
  HFONT font;
};

struct RtDllEntry {
  char* module;
  char* name;
  FARPROC address;
  HMODULE handle;
};

constexpr uint32_t kRtMaxExitRoutines = 16;
// A window with more controls than this is no layout the run time can read.
constexpr uint32_t kRtMaxControls = 256;

struct RtState {
  HANDLE heap;
  const ProgramDescriptor* program;
  uint32_t mode;
  const char* constants_begin;
  const char* constants_end;
  bool ole_initialised;
  HINSTANCE instance;
  HWND hidden_owner;
  DWORD gui_thread;
  RtDllEntry* dll;
  uint32_t dll_count;
  RtWindowState* windows;
  RtWindowState* building;  // the window being created, before its handle is known
  uint32_t window_count;
  int32_t hold;
  bool loop_running;
  int32_t quit_code;
  RtRoutine exit_routines[kRtMaxExitRoutines];
  uint32_t exit_routine_count;
  RtRoutine idle;
  HICON icons[2];
  uint32_t event_window;
  uint32_t event_control;
  bool failing;
};

extern RtState g_rt;

// Window class names of the run time's own windows.
extern const char kRtWindowClass[];
extern const char kRtLabelClass[];
extern const char kRtOwnerClass[];

// Events of the kinds, as the run time raises them.
enum : int32_t {
  kRtEventCreated = 0,
  kRtEventClicked = 0,
  kRtEventCloseQuery = 1,
  kRtEventDestroyed = 2,
  kRtEventMoved = 3,
  kRtEventResized = 4,
  kRtEventCloseRequest = 12,
  kRtEventGotFocus = -7,
  kRtEventLostFocus = -8,
  kRtEventComboSelChange = 0,
  kRtEventComboEditChange = 1,
  kRtEventComboDropDown = 2,
  kRtEventComboCloseUp = 3,
};

// layout_reader.cpp
bool RtReadLayout(const ProgramDescriptor* program);
void RtReleaseWindowTable(void);
RtWindowState* RtFindWindow(uint32_t number);
RtRecordState* RtFindRecord(RtWindowState* window, uint32_t control_number);
bool RtIsKnownKind(uint32_t kind);

// window.cpp
bool RtRegisterClasses(void);
void RtUnregisterClasses(void);
bool RtBuildWindow(RtWindowState* window);
RtRecordState* RtRecordOfWindow(RtWindowState* window, HWND hwnd);
RtWindowState* RtWindowOfMessage(HWND hwnd);
bool RtAnyWindowExists(void);
// The controls that Tab visits, in order; returns their count (order holds kRtMaxControls).
uint32_t RtTabOrder(RtWindowState* window, RtRecordState** order);

// loop.cpp
bool RtPreTranslate(const MSG* msg);

// texts.cpp
char* RtCopyText(const char* text);
uint32_t RtTextLength(const char* text);

// errors.cpp
// Formats "%d" of value into out (at least 12 bytes); returns the length.
uint32_t RtFormatInt(char* out, int32_t value);
