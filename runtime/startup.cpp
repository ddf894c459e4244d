// Initialisation and shutdown of the run time.
#include "runtime/internal.h"

RtState g_rt;

namespace {

// The folder of the program file becomes the current directory. The backslash is searched for
// character by character, so the trail byte of a double-byte character (乗 is 0x81 0x5C) is never
// taken for one.
void EnterProgramFolder(void) {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  path[length] = 0;
  int32_t last = -1;
  for (DWORD i = 0; i < length;) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < length) {
      i += 2;
      continue;
    }
    if (path[i] == '\\') last = static_cast<int32_t>(i);
    ++i;
  }
  if (last < 0) return;
  // For a program in a drive's root, "C:" alone would name that drive's current folder, which
  // is the launch folder when it lies on the same drive; keep the backslash to name the root.
  bool drive_root = last == 2 && path[1] == ':';
  path[drive_root ? last + 1 : last] = 0;
  SetCurrentDirectoryA(path);
}

void BuildDllTable(const ProgramDescriptor* program) {
  g_rt.dll_count = program->dll_command_count;
  if (!g_rt.dll_count) return;
  g_rt.dll = static_cast<RtDllEntry*>(RtAllocate(g_rt.dll_count * sizeof(RtDllEntry)));
  for (uint32_t i = 0; i < g_rt.dll_count; ++i) {
    g_rt.dll[i].module = RtCopyText(program->dll_modules[i]);
    g_rt.dll[i].name = RtCopyText(program->dll_names[i]);
    g_rt.dll[i].address = nullptr;
    g_rt.dll[i].handle = nullptr;
  }
}

void ReleaseDllTable(void) {
  for (uint32_t i = 0; i < g_rt.dll_count; ++i) {
    if (g_rt.dll[i].handle) FreeLibrary(g_rt.dll[i].handle);
    RtRelease(g_rt.dll[i].module);
    RtRelease(g_rt.dll[i].name);
  }
  RtRelease(g_rt.dll);
  g_rt.dll = nullptr;
  g_rt.dll_count = 0;
}

}  // namespace

void RtInitialize(const ProgramDescriptor* program) {
  RtRoutine idle = g_rt.idle;  // may be set before start-up
  g_rt = RtState{};
  g_rt.idle = idle;
  g_rt.heap = GetProcessHeap();
  g_rt.program = program;
  g_rt.mode = program->mode;
  g_rt.ole_initialised = SUCCEEDED(OleInitialize(nullptr));
  EnterProgramFolder();
  g_rt.instance = GetModuleHandleA(nullptr);
  RtRegisterClasses();
  g_rt.hidden_owner = CreateWindowExA(WS_EX_TOOLWINDOW, kRtOwnerClass, "", 0, 0, 0, 0, 0, nullptr,
                                      nullptr, g_rt.instance, nullptr);
  g_rt.gui_thread = GetCurrentThreadId();
  g_rt.constants_begin = program->constant_texts;
  g_rt.constants_end = program->constant_texts + program->constant_texts_length;
  BuildDllTable(program);
  if (!RtReadLayout(program)) RtFatalError(0, "载入窗口模板数据段出错!");
}

void RtRegisterExitRoutine(RtRoutine routine) {
  for (uint32_t i = 0; i < g_rt.exit_routine_count; ++i)
    if (g_rt.exit_routines[i] == routine) return;
  if (g_rt.exit_routine_count < kRtMaxExitRoutines)
    g_rt.exit_routines[g_rt.exit_routine_count++] = routine;
}

void RtSetIdleRoutine(RtRoutine routine) {
  g_rt.idle = routine;
}

void RtShutdown(void) {
  ++g_rt.hold;
  // Windows still standing (after a fatal error) go now, without ending a loop.
  g_rt.loop_running = false;
  for (uint32_t i = 0; i < g_rt.window_count; ++i)
    if (g_rt.windows[i].self.hwnd) DestroyWindow(g_rt.windows[i].self.hwnd);
  RtReleaseWindowTable();
  for (uint32_t i = 0; i < g_rt.exit_routine_count; ++i) g_rt.exit_routines[i]();
  g_rt.exit_routine_count = 0;
  ReleaseDllTable();
  for (HICON& icon : g_rt.icons) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
  }
  if (g_rt.hidden_owner) DestroyWindow(g_rt.hidden_owner);
  RtUnregisterClasses();
  if (g_rt.ole_initialised) OleUninitialize();
  // Nothing of this run may reach a later one in the same thread (the tests start many).
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  bool failing = g_rt.failing;
  g_rt = RtState{};
  g_rt.failing = failing;
}

void RtRunProgram(int32_t (*app_main)(void)) {
  app_main();
  int32_t code = g_rt.quit_code;
  RtShutdown();
  ExitProcess(static_cast<UINT>(code));
  __builtin_unreachable();
}

void RtResetFloatingPoint(void) {
  _fpreset();
}

int32_t RtEventHoldCount(void) {
  return g_rt.hold;
}

bool RtIsWindowLoaded(uint32_t window_number) {
  RtWindowState* window = RtFindWindow(window_number);
  return window && window->loaded && window->self.hwnd;
}

void* RtControlWindow(uint32_t window_number, uint32_t control_number) {
  RtWindowState* window = RtFindWindow(window_number);
  if (!window) return nullptr;
  RtRecordState* record = RtFindRecord(window, control_number);
  return record ? record->hwnd : nullptr;
}
