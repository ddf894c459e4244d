// Stands in for the web browser inside the Wine prefix: appends the address it was asked to
// open to a log, one line per call, so that tests see exactly what the program handed to the
// shell. Registered as the open command of http and https by scripts/wine-prefix.
//
// The address is the raw rest of the command line (the open command passes it unquoted), written
// in the ANSI code page, i.e. byte for byte what the program gave ShellExecuteA. The log is the
// file named by RECHARGE_URL_LOG (a Windows path, or a Unix path starting with '/'), else
// C:\recharge\urls.log. With RECHARGE_URL_BROWSE set (scripts/run sets it), the address is then
// also handed on to Wine's browser launcher, so that a person running the program sees the page.
#include <windows.h>

typedef WCHAR* (*CDECL DosNameFn)(const char*);

static const WCHAR* SkipProgramName(const WCHAR* p) {
  if (*p == L'"') {
    for (p++; *p && *p != L'"'; p++) {
    }
    if (*p) p++;
  } else {
    while (*p && *p != L' ' && *p != L'\t') p++;
  }
  while (*p == L' ' || *p == L'\t') p++;
  return p;
}

// Unix paths are turned into Windows ones by Wine's own kernel32 export.
static HANDLE OpenLog(void) {
  WCHAR name[MAX_PATH * 4];
  const WCHAR* path = L"C:\\recharge\\urls.log";
  DWORD n = GetEnvironmentVariableW(L"RECHARGE_URL_LOG", name, sizeof name / sizeof *name);
  WCHAR* converted = NULL;
  if (n > 0 && n < sizeof name / sizeof *name) {
    path = name;
    if (name[0] == L'/') {
      char unix_name[MAX_PATH * 4];
      DosNameFn to_dos = (DosNameFn)(void (*)(void))GetProcAddress(GetModuleHandleW(L"kernel32"),
                                                                   "wine_get_dos_file_name");
      if (to_dos &&
          WideCharToMultiByte(CP_UTF8, 0, name, -1, unix_name, sizeof unix_name, NULL, NULL) > 0) {
        converted = to_dos(unix_name);
        if (converted) path = converted;
      }
    }
  }
  HANDLE h = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (converted) HeapFree(GetProcessHeap(), 0, converted);
  return h;
}

static void Browse(const WCHAR* address) {
  static const WCHAR kLauncher[] = L"winebrowser.exe \"";
  int length = lstrlenW(address);
  WCHAR* line = HeapAlloc(GetProcessHeap(), 0, (sizeof kLauncher + (length + 2) * sizeof(WCHAR)));
  if (!line) return;
  lstrcpyW(line, kLauncher);
  lstrcatW(line, address);
  lstrcatW(line, L"\"");
  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  HeapFree(GetProcessHeap(), 0, line);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show) {
  (void)instance, (void)previous, (void)line, (void)show;
  const WCHAR* address = SkipProgramName(GetCommandLineW());
  int wide = lstrlenW(address);
  int bytes = WideCharToMultiByte(CP_ACP, 0, address, wide, NULL, 0, NULL, NULL);
  char* text = HeapAlloc(GetProcessHeap(), 0, (SIZE_T)bytes + 2);
  if (!text) return 2;
  WideCharToMultiByte(CP_ACP, 0, address, wide, text, bytes, NULL, NULL);
  text[bytes] = '\n';
  BOOL ok = FALSE;
  HANDLE log = OpenLog();
  if (log != INVALID_HANDLE_VALUE) {
    // Several recorders may run at once (quick successive calls): one locked write per line.
    OVERLAPPED whole = {0};
    LockFileEx(log, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
    DWORD written = 0;
    ok = WriteFile(log, text, (DWORD)bytes + 1, &written, NULL) && written == (DWORD)bytes + 1;
    UnlockFileEx(log, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(log);
  }
  if (GetEnvironmentVariableW(L"RECHARGE_URL_BROWSE", NULL, 0) > 0) Browse(address);
  return ok ? 0 : 1;
}
